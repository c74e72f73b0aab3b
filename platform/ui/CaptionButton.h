#pragma once
// A push button whose caption wraps inside it where a Japanese reader expects (captionLines), so that a
// long caption is never cut or drawn across the button's edge. It asks the layout for room for its caption.
#include <QPushButton>
#include <QRect>
#include <QStringList>

namespace velmora::ui {

class CaptionButton : public QPushButton {
public:
    CaptionButton(const QString& caption, QWidget* parent);

    // Where the caption is drawn, and its lines there as drawn now.
    QRect captionRect() const;
    QStringList captionLines() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // Height of the button for its caption at the given button width.
    int heightFor(int width) const;
    // What the style takes around the caption.
    QSize padding() const;
};

}  // namespace velmora::ui
