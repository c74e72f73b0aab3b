// PLACEHOLDER until the polygon cleaner lands: the clean step leaves every polygon as built. The cleaner's
// own KsPolygonMakerClean.cpp replaces this file.
#include "polygon/core/KsPolygonMaker.h"

namespace ostrand {

void KsPolygonMakerClean::modify_after() {}

}  // namespace ostrand
