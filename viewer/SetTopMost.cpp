#include "viewer/SetTopMost.h"

#include <QWidget>

namespace velmora::ModPolygon {

void SetTopMost(QWidget* window, short insertAfter) {
    if (!window || (insertAfter != -1 && insertAfter != -2)) return;
    const bool top = insertAfter == -1;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == top) return;
    // Changing a window flag hides a shown window and may let the window system place it anew.
    const QRect frame = window->geometry();
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, top);
    window->setGeometry(frame);
    if (shown) window->show();
}

}  // namespace velmora::ModPolygon
