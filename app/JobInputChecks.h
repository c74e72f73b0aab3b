#pragma once
// The checks both job dialogs make when "変　換" is pressed, before the datum code and the job: an input
// given, an output text given, the output's extension completed (written back into the box), a folder in
// the path that exists, a file name that does not read as a number (the box then gets the focus with its
// text selected), a path that CP932 can write (the logs and the shape description hold it). The first
// The first
// check that fails shows its message and ends the checks.
#include "convert/core/LayerDef.h"

class QLineEdit;

namespace velmora {

bool checkJobInputs(bool inputGiven, QLineEdit& output, DataKind kind);

}  // namespace velmora
