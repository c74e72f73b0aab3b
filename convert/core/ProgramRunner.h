#pragma once
// Runs another program (the shape writer) and waits for its exit code.
#include <cstdint>
#include <string>

namespace velmora::modCommon {

// The exit code given while a program goes on running after the wait timed out.
inline constexpr std::int32_t StillActive = 259;

// Runs the program at the exact path `program` (no shell, no arguments: a path with blanks is one path)
// and waits up to timeoutMs milliseconds (-1: no limit). Gives the program's exit code; StillActive when
// the wait timed out (the program goes on running); -1 when it could not be started or its end could not
// be observed; 128 + the signal number when a signal killed it, so a crash never reads as success.
// There are no windows to show or hide: windowStyle is accepted for the callers' sake and not used.
std::int32_t RunProcessWait(const std::string& program, std::int32_t windowStyle, std::int32_t timeoutMs);

// The same, keeping what the program wrote on its standard error (the last 4 KB, UTF-8 as it wrote it) in
// `said`; when it wrote nothing and did not end with an exit code of its own, `said` tells how it ended
// (not started, killed by a signal, still running), so a failure never loses its reason.
std::int32_t RunProcessWait(const std::string& program, std::int32_t windowStyle, std::int32_t timeoutMs,
                            std::string& said);

}  // namespace velmora::modCommon
