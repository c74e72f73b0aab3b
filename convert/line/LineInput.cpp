#include "convert/line/LineInput.h"

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"

namespace ModLine {

void ReadInputLine(std::string& line) {
    if (!velmora::conversionState().InFileNo.file().next(line))
        throw velmora::RunTimeError(velmora::err::InputPastEndOfFile, "Input past end of file");
}

void ReadFirstInputLine(std::string& line) {
    velmora::text::LineReader& in = velmora::conversionState().InFileNo.file();
    if (!in.next(line)) velmora::modCommon::RefuseEmptyInput(in.path());
}

}  // namespace ModLine
