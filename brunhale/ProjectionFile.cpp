#include "brunhale/ProjectionFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "brunhale/Failure.h"

namespace velmora::brunhale {

std::string projectionWkt(int datum) {
    switch (datum) {
        case 0:
            return "GEOGCS[\"GCS_Tokyo\",DATUM[\"D_Tokyo\",SPHEROID[\"Bessel_1841\",6377397.155,299.1528128]],"
                   "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
        case 2000:
            return "GEOGCS[\"GCS_JGD_2000\",DATUM[\"D_JGD_2000\",SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],"
                   "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
        default:
            return {};
    }
}

void writeProjectionFile(const std::string& path, int datum) {
    const std::string content = projectionWkt(datum);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw Failure(ExitCode::NotWritable, "cannot create " + path + ": " + std::strerror(errno));
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw Failure(ExitCode::NotWritable, "cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace velmora::brunhale
