#include "convert/core/ProgramRunner.h"

#include <cstring>

#include "platform/process/RunProgram.h"

namespace velmora::modCommon {

namespace {

std::int32_t exitCodeOf(const process::RunResult& r) {
    switch (r.outcome) {
    case process::RunResult::Outcome::Exited: return r.exitCode;
    case process::RunResult::Outcome::Signalled: return 128 + r.signal;
    case process::RunResult::Outcome::TimedOut: return StillActive;
    case process::RunResult::Outcome::NotStarted:
    case process::RunResult::Outcome::Lost: break;
    }
    return -1;
}

std::string howItEnded(const std::string& program, const process::RunResult& r) {
    switch (r.outcome) {
    case process::RunResult::Outcome::Exited: return {};
    case process::RunResult::Outcome::Signalled: return program + ": ended by signal " + std::to_string(r.signal);
    case process::RunResult::Outcome::TimedOut: return program + ": still running after the time-out";
    case process::RunResult::Outcome::NotStarted: return program + ": cannot be started: " + std::strerror(r.startError);
    case process::RunResult::Outcome::Lost: return program + ": its end cannot be observed: " + std::strerror(r.startError);
    }
    return {};
}

}  // namespace

std::int32_t RunProcessWait(const std::string& program, std::int32_t /*windowStyle*/, std::int32_t timeoutMs) {
    return exitCodeOf(process::runProgram(program, {}, timeoutMs));
}

std::int32_t RunProcessWait(const std::string& program, std::int32_t /*windowStyle*/, std::int32_t timeoutMs,
                            std::string& said) {
    const process::RunResult r = process::runProgram(program, {}, timeoutMs, process::StandardError::Captured);
    said = r.stderrTail.empty() ? howItEnded(program, r) : r.stderrTail;
    return exitCodeOf(r);
}

}  // namespace velmora::modCommon
