// The shared library's translation unit. The exports Ostrand and MakeSyusuiV6 and the polygon job that
// they run live beside this file; until then the library holds the polygon core and exports nothing.
#include "polygon/core/Geometry.h"
