#include "convert/core/ProgramRunner.h"

#include "platform/process/RunProgram.h"

namespace velmora::modCommon {

std::int32_t RunProcessWait(const std::string& program, std::int32_t /*windowStyle*/, std::int32_t timeoutMs) {
    const process::RunResult r = process::runProgram(program, {}, timeoutMs);
    switch (r.outcome) {
    case process::RunResult::Outcome::Exited: return r.exitCode;
    case process::RunResult::Outcome::Signalled: return 128 + r.signal;
    case process::RunResult::Outcome::TimedOut: return StillActive;
    case process::RunResult::Outcome::NotStarted:
    case process::RunResult::Outcome::Lost: break;
    }
    return -1;
}

}  // namespace velmora::modCommon
