#pragma once
// The 16 x 16 images of the tool buttons and of the theme tree's fixed nodes, drawn rather than shipped.
#include <QIcon>
#include <QImage>

namespace velmora::viewer {

// Button `button` (1-based) of band `bar` (0 file, 1 view, 2 conversion).
QIcon toolIcon(int bar, int button);
// "SH" (map data), "DB" (tables) and "台帳データ" (a table).
QImage treeImage(const QString& key);

}  // namespace velmora::viewer
