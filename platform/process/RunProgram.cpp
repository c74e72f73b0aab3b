#include "platform/process/RunProgram.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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

// The read end of a pipe on the program's standard error, keeping its last StderrTailBytes. Non-blocking:
// a program may leave a child of its own holding the pipe after it ended.
class StderrPipe {
public:
    bool open() {
        int fds[2];
        // Only our end is non-blocking: the program's writes must wait while the pipe is full, or it would
        // lose what it says once it says more than the pipe holds.
        if (::pipe2(fds, O_CLOEXEC) != 0) return false;
        read_ = fds[0];
        write_ = fds[1];
        if (::fcntl(read_, F_SETFL, ::fcntl(read_, F_GETFL) | O_NONBLOCK) != 0) return false;
        posix_spawn_file_actions_init(&actions_);
        actions_initialised_ = true;
        // The copy onto descriptor 2 loses close-on-exec; both originals close at exec.
        return posix_spawn_file_actions_adddup2(&actions_, write_, STDERR_FILENO) == 0;
    }
    ~StderrPipe() {
        closeWriteEnd();
        if (read_ >= 0) ::close(read_);
        if (actions_initialised_) posix_spawn_file_actions_destroy(&actions_);
    }
    const posix_spawn_file_actions_t* actions() const { return actions_initialised_ ? &actions_ : nullptr; }
    void closeWriteEnd() {
        if (write_ >= 0) ::close(write_);
        write_ = -1;
    }
    bool reading() const { return read_ >= 0 && !ended_; }
    // Waits up to timeout for output or its end, then takes what is there.
    void await(std::chrono::microseconds timeout) {
        pollfd p{read_, POLLIN, 0};
        const int ms = static_cast<int>(std::max<long>(1, static_cast<long>(timeout.count() / 1000)));
        if (::poll(&p, 1, ms) > 0) drain();
    }
    void drain() {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::read(read_, buf, sizeof buf);
            if (n > 0) {
                tail_.append(buf, static_cast<std::size_t>(n));
                if (tail_.size() > 2 * StderrTailBytes) tail_.erase(0, tail_.size() - StderrTailBytes);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n == 0 || errno != EAGAIN) ended_ = true;
            return;
        }
    }
    std::string tail() const {
        return tail_.size() > StderrTailBytes ? tail_.substr(tail_.size() - StderrTailBytes) : tail_;
    }

private:
    int read_ = -1, write_ = -1;
    bool ended_ = false;
    std::string tail_;
    posix_spawn_file_actions_t actions_;
    bool actions_initialised_ = false;
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

RunResult runProgram(const std::string& path, const std::vector<std::string>& args, long timeoutMs,
                     StandardError stderrMode) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    RunResult r;
    StderrPipe errors;
    if (stderrMode == StandardError::Captured && !errors.open()) {
        r.startError = errno;
        return r;
    }
    const CleanSignals attr;
    pid_t pid = -1;
    const int err = posix_spawn(&pid, path.c_str(), errors.actions(), attr.get(), argv.data(), environ);
    errors.closeWriteEnd();
    if (err != 0) {
        r.startError = err;
        return r;
    }
    r.pid = pid;
    auto withErrors = [&](RunResult done) {
        if (errors.reading()) errors.drain();
        done.stderrTail = errors.tail();
        return done;
    };

    int status = 0;
    // Poll with a growing pause: the waits that have a limit are short and rare, and output on standard
    // error, or its end when the program exits, cuts a pause short.
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0L));
    auto pause = std::chrono::microseconds(500);
    for (;;) {
        if (timeoutMs < 0 && !errors.reading()) {
            if (waitFor(pid, status, false) == pid) return withErrors(finished(pid, status));
            return withErrors(lost(pid));
        }
        const pid_t w = waitFor(pid, status, true);
        if (w == pid) return withErrors(finished(pid, status));
        if (w < 0) return withErrors(lost(pid));
        auto wait = std::chrono::duration_cast<std::chrono::microseconds>(pause);
        if (timeoutMs >= 0) {
            const auto now = clock::now();
            if (now >= deadline) break;
            wait = std::min(wait, std::chrono::duration_cast<std::chrono::microseconds>(deadline - now));
        }
        if (errors.reading()) errors.await(wait);
        else std::this_thread::sleep_for(wait);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    r.outcome = RunResult::Outcome::TimedOut;
    r.stderrTail = errors.tail();
    return r;
}

}  // namespace velmora::process
