#pragma once
// The .prj of a datum code: the ESRI form of the geographic coordinate system, which GDAL and other
// readers identify as EPSG:4301 (Tokyo) and EPSG:4612 (JGD2000).
#include <string>

namespace velmora::brunhale {

// The WKT for datum code 0 (Tokyo) or 2000 (JGD2000); empty for -1 (no projection file).
std::string projectionWkt(int datum);

}  // namespace velmora::brunhale
