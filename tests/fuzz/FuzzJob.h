#pragma once
// The surroundings of a converter's loader for fuzz targets: the scripted user interface (every box is
// recorded and answered with its default), a fresh conversion state whose program folder is the scratch
// folder (the intermediate description goes there; no Brunhale is there, so a job that runs it fails at that
// step), catalogue rows made by the generators (line, attribute-table, area and, for point jobs, point
// rows), and a fresh job log. Each call starts a new job.
#include "convert/core/ConversionState.h"

namespace fuzz {

void startJob(velmora::DataKind kind, int selectedRow);

}  // namespace fuzz
