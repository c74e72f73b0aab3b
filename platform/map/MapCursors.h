#pragma once
// The mouse pointer shapes behind the map's pointer codes.
#include <QCursor>

namespace velmora::map {

QCursor cursorForPointer(int code);

}  // namespace velmora::map
