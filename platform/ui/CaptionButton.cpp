#include "platform/ui/CaptionButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "platform/ui/CaptionLines.h"

namespace velmora::ui {

namespace {
// Buttons of one grid look alike: at least this wide, and room for three lines.
constexpr int kMinimumWidth = 136;
constexpr int kMinimumLines = 3;
constexpr int kPreferredExtraWidth = 14;
}  // namespace

CaptionButton::CaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRect CaptionButton::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

QStringList CaptionButton::captionLines() const {
    return ui::captionLines(text(), fontMetrics(), captionRect().width());
}

QSize CaptionButton::padding() const { return size() - captionRect().size(); }

int CaptionButton::heightFor(int width) const {
    const QSize pad = padding();
    QStringList lines = ui::captionLines(text(), fontMetrics(), width - pad.width());
    while (lines.size() < kMinimumLines) lines << QStringLiteral("国");
    // Measured as drawn: Japanese glyphs may come from a fallback font with taller lines than the button's
    // font itself has.
    const QRect drawn = fontMetrics().boundingRect(QRect(0, 0, width - pad.width(), 1 << 20), Qt::AlignCenter,
                                                   lines.join(u'\n'));
    return drawn.height() + pad.height();
}

QSize CaptionButton::minimumSizeHint() const { return {kMinimumWidth, heightFor(kMinimumWidth)}; }

QSize CaptionButton::sizeHint() const {
    const int width = kMinimumWidth + kPreferredExtraWidth;
    return {width, std::max(heightFor(width), minimumSizeHint().height())};
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(captionRect(), Qt::AlignCenter, captionLines().join(u'\n'));
}

}  // namespace velmora::ui
