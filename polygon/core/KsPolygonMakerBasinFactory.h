#pragma once
// The catchment maker as the polygon job makes it: constructed without mesh codes, then given each
// catchment code in order.
#include <memory>
#include <string>
#include <vector>

#include "polygon/core/KsPolygonMaker.h"

namespace ostrand {

std::unique_ptr<KsPolygonMaker> makeBasinMaker(const LayerRecord& layer, const std::vector<std::string>& codes,
                                               std::vector<std::string>* log_lines);

}  // namespace ostrand
