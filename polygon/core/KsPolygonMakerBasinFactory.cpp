#include "polygon/core/KsPolygonMakerBasinFactory.h"

namespace ostrand {

// Stands in until the catchment maker is built: a catchment job ends as a processing failure.
std::unique_ptr<KsPolygonMaker> makeBasinMaker(const LayerRecord&, const std::vector<std::string>&,
                                               std::vector<std::string>*) {
    throw std::string("Catchment maker not available. makeBasinMaker()");
}

}  // namespace ostrand
