#include "brunhale/ProjectionFile.h"

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

}  // namespace velmora::brunhale
