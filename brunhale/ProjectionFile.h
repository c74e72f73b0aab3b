#pragma once
// The .prj of a datum code: the ESRI form of the geographic coordinate system, which GDAL and other
// readers identify as EPSG:4301 (Tokyo) and EPSG:4612 (JGD2000). Every .prj the programs write comes from
// here, so a shapefile written by another route describes its datum in the same bytes.
#include <string>

namespace velmora::brunhale {

// The WKT for datum code 0 (Tokyo) or 2000 (JGD2000); empty for -1 (no projection file).
std::string projectionWkt(int datum);

// Writes the WKT of a datum code, without a line end, as the file at path (created or replaced).
// Throws Failure(NotWritable) naming the path and the reason.
void writeProjectionFile(const std::string& path, int datum);

}  // namespace velmora::brunhale
