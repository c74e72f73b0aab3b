#pragma once
// The record bar under a table: first, previous, the position caption, next, last. It asks for moves; the
// window moves the grid and sets the caption after every move, the grid's own included.
#include <QWidget>

class QLabel;
class QToolButton;

namespace velmora::viewer {

class RecordNavigator : public QWidget {
    Q_OBJECT

public:
    explicit RecordNavigator(QWidget* parent = nullptr);
    void setCaption(const QString& caption);
    QString caption() const;

    QToolButton* first = nullptr;
    QToolButton* previous = nullptr;
    QToolButton* next = nullptr;
    QToolButton* last = nullptr;

signals:
    // -2 first, -1 previous, +1 next, +2 last.
    void moveRequested(int step);

private:
    QLabel* caption_ = nullptr;
};

}  // namespace velmora::viewer
