// Literal form of CleanerPointLocator: the whole ring walked for every point.
#include "polygon/core/CleanerPointLocator.h"

namespace ostrand {

int CleanerPointLocator::locate(const Point& p) { return ring_.locate_point(p); }

}  // namespace ostrand
