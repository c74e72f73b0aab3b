#pragma once
// Runs another program by its exact path (no shell, no search of PATH, no splitting of the path at blanks)
// with the caller's environment and current folder, and waits for it.
#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::process {

// How much of a program's standard error is kept when it is captured: its last bytes, where the reason for
// a failure stands.
inline constexpr std::size_t StderrTailBytes = 4096;

struct RunResult {
    enum class Outcome {
        Exited,      // ran to its end: exitCode
        Signalled,   // killed by a signal: signal
        TimedOut,    // still running when the time-out passed; it goes on running (pid)
        NotStarted,  // could not be started: startError (errno)
        Lost,        // started, but its end cannot be observed (the wait failed: startError)
    };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = 0;
    int signal = 0;
    int startError = 0;
    pid_t pid = -1;
    std::string stderrTail;  // the last StderrTailBytes of its standard error, when captured
};

// Inherited: the program writes to the caller's standard error. Captured: the caller reads it into
// RunResult::stderrTail; a program still running after a time-out can no longer write there.
enum class StandardError { Inherited, Captured };

// Starts `path` with the given arguments (argv[0] is the path) and waits for it to end, at most timeoutMs
// milliseconds when timeoutMs >= 0, without limit when it is negative. The program starts with the default
// action for every signal and no signal blocked, whatever the caller has set up, and it does not outlive
// the thread that started it: the system kills it when that thread ends, however it ends.
RunResult runProgram(const std::string& path, const std::vector<std::string>& args = {}, long timeoutMs = -1,
                     StandardError stderrMode = StandardError::Inherited);

// An open descriptor that the programs started from now on inherit (a lock they hold with the caller),
// until stopPassing.
void passToPrograms(int fd);
void stopPassing(int fd);

// For a process that is ending: no program starts any more, those running are killed and their end
// awaited. A thread waiting in runProgram then waits for good (the process ends meanwhile), so that it
// goes on with nothing that a program's end would set off.
void endPrograms();

}  // namespace velmora::process
