// Where captions break: the cases are measured in the test application's font, widths given in full-width
// characters of that font.
#include "platform/ui/CaptionLines.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QString>

#include "platform/ui/TestApplication.h"

namespace velmora::ui {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == QChar(0x3000); }

class CaptionLines : public ::testing::Test {
protected:
    QApplication& app_ = testApplication();
    QFontMetrics metrics_{QApplication::font()};
    int fullWidth(int characters) const { return characters * metrics_.horizontalAdvance(QChar(0x56FD)); }
    // Every line fits and no line starts or ends with a blank.
    void expectDrawable(const QStringList& lines, int width, const QString& caption) const {
        for (const QString& line : lines) {
            EXPECT_LE(metrics_.horizontalAdvance(line), width) << caption.toStdString() << ": " << line.toStdString();
            if (line.isEmpty()) continue;
            EXPECT_FALSE(isBlank(line.front()) || isBlank(line.back())) << '"' << line.toStdString() << '"';
        }
    }
};

TEST_F(CaptionLines, BreakWhereAReaderWould) {
    struct Case {
        const char* caption;
        int width;  // full-width characters
        QStringList lines;
    };
    const Case cases[] = {
        // Before the opening bracket, never after it.
        {"環境基準類型指定水域（河川）", 12, {"環境基準類型指定水域", "（河川）"}},
        {"環境基準類型指定水域（河川）", 11, {"環境基準類型指定水域", "（河川）"}},
        {"環境基準類型指定水域（河川）", 14, {"環境基準類型指定水域（河川）"}},
        // At the blanks, which are not drawn; leading blanks neither.
        {"  地下水採取規制      地域台帳", 9, {"地下水採取規制", "地域台帳"}},
        {"  地下水採取規制      地域台帳", 12, {"地下水採取規制", "地域台帳"}},
        // Spaced-out captions stay as they are where they fit.
        {"港　　　湾", 5, {"港　　　湾"}},
        {"港　　　湾", 3, {"港", "湾"}},
        {"験　　潮　　場", 4, {"験　　潮", "場"}},
        // Written line ends always hold.
        {"街区レベル位置\n参照情報", 20, {"街区レベル位置", "参照情報"}},
        {"土 地 利 用\n(1/10細分区画)\n(平成３年版以降)", 20, {"土 地 利 用", "(1/10細分区画)", "(平成３年版以降)"}},
        // After a middle dot, where a word ends.
        {"大気汚染・水質汚濁総量規制地域", 12, {"大気汚染・", "水質汚濁総量規制地域"}},
        {"瀬戸内海環境保全特別措置法第五条第一項の地域", 9,
         {"瀬戸内海環境保全特", "別措置法第五条第一", "項の地域"}},
    };
    for (const Case& c : cases) {
        const QString caption = QString::fromUtf8(c.caption);
        const QStringList lines = captionLines(caption, metrics_, fullWidth(c.width));
        EXPECT_EQ(lines, c.lines) << c.caption << " in " << c.width;
        expectDrawable(lines, fullWidth(c.width), caption);
    }
}

// Whatever the width, no line starts with what Japanese never starts a line with, nor ends with an opening
// bracket.
TEST_F(CaptionLines, NeverStartALineWithAClosingMarkOrEndOneWithAnOpeningBracket) {
    const QString caption = QStringLiteral("大気汚染・水質汚濁（総量規制）地域ー覧、ダム「ッ」");
    const QString neverFirst = QStringLiteral("・）」、ーッ");
    const QString neverLast = QStringLiteral("（「");
    for (int width = 3; width <= 8; ++width) {  // "「ッ」" cannot be broken: three wide
        const QStringList lines = captionLines(caption, metrics_, fullWidth(width));
        expectDrawable(lines, fullWidth(width), caption);
        EXPECT_EQ(lines.join(QString()), caption);
        for (const QString& line : lines) {
            EXPECT_FALSE(neverFirst.contains(line.front())) << width << ": " << line.toStdString();
            EXPECT_FALSE(neverLast.contains(line.back())) << width << ": " << line.toStdString();
        }
    }
}

TEST_F(CaptionLines, LatinRunsStayWholeAndWhatFitsNowhereIsCut) {
    const QString measure = QStringLiteral("(1/10細分区画)");
    const int width = metrics_.horizontalAdvance(QStringLiteral("(1/10"));
    const QStringList lines = captionLines(measure, metrics_, width);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), "(1/10");
    expectDrawable(lines, width, measure);
    EXPECT_EQ(lines.join(QString()), measure);

    const QString latin = QStringLiteral("ABCDEFGHIJ");
    const int narrow = metrics_.horizontalAdvance(QStringLiteral("ABC"));
    const QStringList cut = captionLines(latin, metrics_, narrow);
    EXPECT_GE(cut.size(), 3);
    expectDrawable(cut, narrow, latin);
    EXPECT_EQ(cut.join(QString()), latin);
}

}  // namespace
}  // namespace velmora::ui
