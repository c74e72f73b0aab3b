#pragma once
// One band of the main window's cool bar: a row of tool buttons 23 pixels wide from the band's left edge,
// so that the pointer's position tells which button it is over (x / 345 twips). A plain widget rather than
// a main-window tool bar, which a user could move or close away.
#include <QWidget>
#include <vector>

class QIcon;
class QToolButton;

namespace velmora::viewer {

class ToolBand : public QWidget {
    Q_OBJECT

public:
    static constexpr int kButtonWidth = 23;
    static constexpr int kButtonHeight = 22;

    ToolBand(const QString& title, int width, QWidget* parent = nullptr);

    // Adds a button whose tool tip is its short name. Checked states are set by the window's code only.
    QToolButton* addButton(const QIcon& icon, const QString& shortName, bool checkable = false);
    // Button 1..count, or nullptr.
    QToolButton* button(int index) const;
    int buttonCount() const { return static_cast<int>(buttons_.size()); }

signals:
    void buttonClick(int button);
    // The pointer moved over the band or one of its buttons; x, y in pixels from the band's top-left.
    void pointerMove(int button, int shift, int x, int y);
    // The pointer left the band.
    void pointerLeave();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::vector<QToolButton*> buttons_;
};

// Mouse buttons and modifiers as 1 left, 2 right, 4 middle and 1 Shift, 2 Ctrl, 4 Alt.
int buttonCode(Qt::MouseButtons buttons);
int shiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace velmora::viewer
