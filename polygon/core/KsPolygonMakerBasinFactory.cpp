#include "polygon/core/KsPolygonMakerBasinFactory.h"

#include "polygon/core/KsPolygonMakerBasin.h"

namespace ostrand {

std::unique_ptr<KsPolygonMaker> makeBasinMaker(const LayerRecord& layer, const std::vector<std::string>& codes,
                                               std::vector<std::string>* log_lines) {
    auto maker = std::make_unique<KsPolygonMakerBasin>(layer, nullptr, log_lines);
    for (const std::string& code : codes) maker->add_code(code);
    return maker;
}

}  // namespace ostrand
