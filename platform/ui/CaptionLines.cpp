#include "platform/ui/CaptionLines.h"

#include <QFontMetrics>
#include <QString>

namespace velmora::ui {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == QChar(0x3000); }

bool isOpening(QChar c) { return QStringView(u"(（[［{｛「『【〔〈《＜｢").contains(c); }

// Characters a Japanese line never starts with.
bool isClosing(QChar c) {
    return QStringView(u")）]］}｝」』】〕〉》＞｣、。，．,.・･:：;；!！?？ー～々ゝゞ"
                       u"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶｧｨｩｪｫｯｬｭｮｰﾞﾟ")
        .contains(c);
}

bool isLatin(QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7F; }

enum Break { None, Plain, Strong };

// The kind of break between text[i - 1] and text[i] (neither a blank: blank runs are breaks of their own).
Break breakBefore(const QString& text, qsizetype i) {
    const QChar a = text[i - 1], b = text[i];
    if (b.isLowSurrogate()) return None;
    if (isOpening(b) && !isOpening(a)) return Strong;
    if (isClosing(b) || isOpening(a)) return None;
    // A middle dot or a comma ends a word.
    if (a == QChar(0x30FB) || a == QChar(0x3001)) return Strong;
    if (isLatin(a) && isLatin(b)) return None;
    return Plain;
}

qsizetype skipBlanks(const QString& text, qsizetype i) {
    while (i < text.size() && isBlank(text[i])) ++i;
    return i;
}

QString trimmedBlanks(QStringView s) {
    qsizetype from = 0, to = s.size();
    while (from < to && isBlank(s[from])) ++from;
    while (to > from && isBlank(s[to - 1])) --to;
    return s.mid(from, to - from).toString();
}

void breakParagraph(const QString& text, const QFontMetrics& metrics, int width, QStringList& lines) {
    const auto fits = [&](qsizetype from, qsizetype to) {
        return metrics.horizontalAdvance(trimmedBlanks(QStringView(text).mid(from, to - from))) <= width;
    };
    qsizetype pos = skipBlanks(text, 0);
    if (pos == text.size()) {
        lines << QString();
        return;
    }
    while (pos < text.size()) {
        if (fits(pos, text.size())) {
            lines << trimmedBlanks(QStringView(text).mid(pos));
            return;
        }
        qsizetype strong = -1, plain = -1, forced = pos + 1;
        if (forced < text.size() && text[forced].isLowSurrogate()) ++forced;
        for (qsizetype i = pos + 1; i < text.size() && fits(pos, i); ++i) {
            if (!text[i].isLowSurrogate()) forced = i;
            if (isBlank(text[i])) {
                if (!isBlank(text[i - 1])) strong = i;
            } else if (!isBlank(text[i - 1])) {
                const Break b = breakBefore(text, i);
                if (b == Strong) strong = i;
                if (b == Plain) plain = i;
            }
        }
        const qsizetype end = strong > pos ? strong : plain > pos ? plain : forced;
        lines << trimmedBlanks(QStringView(text).mid(pos, end - pos));
        pos = skipBlanks(text, end);
    }
}

}  // namespace

QStringList captionLines(const QString& caption, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& paragraph : caption.split(u'\n')) breakParagraph(paragraph, metrics, width, lines);
    return lines;
}

}  // namespace velmora::ui
