#include "platform/process/RunProgram.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace velmora::process {

namespace {

// Attributes that give the child a clean signal state: the caller (Qt) may block or ignore signals, and
// blocked or ignored dispositions survive exec.
class CleanSignals {
public:
    CleanSignals() {
        posix_spawnattr_init(&attr_);
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~CleanSignals() { posix_spawnattr_destroy(&attr_); }
    const posix_spawnattr_t* get() const { return &attr_; }

private:
    posix_spawnattr_t attr_;
};

// waitpid that retries after a signal; 0 while the child runs (noHang), -1 on an error.
pid_t waitFor(pid_t pid, int& status, bool noHang) {
    for (;;) {
        const pid_t r = waitpid(pid, &status, noHang ? WNOHANG : 0);
        if (r >= 0 || errno != EINTR) return r;
    }
}

RunResult finished(pid_t pid, int status) {
    RunResult r;
    r.pid = pid;
    if (WIFEXITED(status)) {
        r.outcome = RunResult::Outcome::Exited;
        r.exitCode = WEXITSTATUS(status);
    } else {
        r.outcome = RunResult::Outcome::Signalled;
        r.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return r;
}

// The wait fails when someone set SIGCHLD to be ignored: the child is then reaped by the system.
RunResult lost(pid_t pid) {
    RunResult r;
    r.outcome = RunResult::Outcome::Lost;
    r.startError = errno;
    r.pid = pid;
    return r;
}

}  // namespace

RunResult runProgram(const std::string& path, const std::vector<std::string>& args, long timeoutMs) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    RunResult r;
    const CleanSignals attr;
    pid_t pid = -1;
    const int err = posix_spawn(&pid, path.c_str(), nullptr, attr.get(), argv.data(), environ);
    if (err != 0) {
        r.startError = err;
        return r;
    }
    r.pid = pid;

    int status = 0;
    if (timeoutMs < 0) {
        if (waitFor(pid, status, false) == pid) return finished(pid, status);
        return lost(pid);
    }

    // Poll with a growing pause: the waits that have a limit are short and rare.
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::microseconds(500);
    for (;;) {
        const pid_t w = waitFor(pid, status, true);
        if (w == pid) return finished(pid, status);
        if (w < 0) return lost(pid);
        const auto now = clock::now();
        if (now >= deadline) break;
        std::this_thread::sleep_for(std::min<clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    r.outcome = RunResult::Outcome::TimedOut;
    return r;
}

}  // namespace velmora::process
