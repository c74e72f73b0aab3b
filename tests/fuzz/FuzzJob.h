#pragma once
// The surroundings of a converter's loader for fuzz targets: the scripted user interface (every box is
// recorded and answered with its default), a fresh conversion state whose program folder is the scratch
// folder, catalogue rows made by the generators (line, attribute-table and area rows), and a fresh job log. Each call starts a new job.
#include "convert/core/ConversionState.h"

namespace fuzz {

void startJob(velmora::DataKind kind, int selectedRow);

}  // namespace fuzz
