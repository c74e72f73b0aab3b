#include "convert/shapedesc/ShapeDescriptionRun.h"

#include "convert/core/ProgramRunner.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/ui/UiService.h"

namespace velmora::shapedesc {

std::string shapeWriterPath() { return programFile("Brunhale"); }

std::int32_t runShapeWriter() { return modCommon::RunProcessWait(shapeWriterPath(), 1, -1); }

bool runShapeWriterOnPair(PairDeletion deletion, const std::string& failureMessage) {
    const bool ok = runShapeWriter() == 0;
    if (!ok) ui::message(failureMessage, ShapeFailureTitle, ui::Icon::Critical, ui::Buttons::Ok);
    if (deletion == PairDeletion::Always || (ok && deletion == PairDeletion::AfterSuccess)) deletePair();
    return ok;
}

}  // namespace velmora::shapedesc
