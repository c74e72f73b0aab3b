#pragma once
// Keeps a window above the others (or lets it go back among them) without moving or resizing it.
class QWidget;

namespace velmora::ModPolygon {

// insertAfter -1: topmost; -2: no longer topmost; other values change nothing.
void SetTopMost(QWidget* window, short insertAfter);

}  // namespace velmora::ModPolygon
