#pragma once
// The pictures of the property dialog's style options, drawn by the map's own drawing so that each shows
// what the map will draw with that style.
#include <QPixmap>

namespace velmora::viewer {

// type 0 marker, 1 line, 2 fill; style the option's code.
QPixmap stylePicture(int type, int style);

}  // namespace velmora::viewer
