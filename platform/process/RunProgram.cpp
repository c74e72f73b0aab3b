#include "platform/process/RunProgram.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <set>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace velmora::process {

namespace {

// The programs this process runs, and what they are given. The lock is held across fork, so that a
// program is known here from the moment it exists.
struct Programs {
    std::mutex lock;
    std::set<pid_t> running;
    std::vector<int> passed;
    bool ending = false;
};

Programs& programs() {
    static Programs p;
    return p;
}

[[noreturn]] void waitForTheEnd() {
    for (;;) ::pause();
}

// What the new process does between fork and exec: async-signal-safe calls only. It dies with the thread
// that started it (checked once set, as that thread may have ended already), starts with the default
// action for every signal and none blocked (the caller, Qt, may block or ignore some, and that survives
// exec), takes the standard error pipe and the descriptors passed to it.
[[noreturn]] void becomeProgram(const char* path, char* const argv[], pid_t parent, int stderrFd,
                                const std::vector<int>& passed, int report) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (stderrFd >= 0 && ::dup2(stderrFd, STDERR_FILENO) < 0) ::_exit(127);
    for (const int fd : passed) ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) & ~FD_CLOEXEC);
    ::execve(path, argv, environ);
    const int error = errno;
    (void)!::write(report, &error, sizeof error);
    ::_exit(127);
}

// Starts the program; 0 with pid set, or the errno of the failure. A process that is ending starts none.
int start(const char* path, char* const argv[], int stderrFd, pid_t& pid) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;
    int forkError = 0;
    {
        Programs& p = programs();
        std::unique_lock held(p.lock);
        if (p.ending) {
            held.unlock();
            waitForTheEnd();
        }
        const pid_t parent = ::getpid();
        pid = ::fork();
        if (pid == 0) becomeProgram(path, argv, parent, stderrFd, p.passed, report[1]);
        if (pid > 0) p.running.insert(pid);
        else forkError = errno;
    }
    ::close(report[1]);
    if (pid < 0) {
        ::close(report[0]);
        return forkError;
    }
    // The pipe closes at exec; an error number comes only from a failed exec.
    int error = 0;
    ssize_t n;
    do n = ::read(report[0], &error, sizeof error);
    while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (n != static_cast<ssize_t>(sizeof error)) return 0;
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::lock_guard held(programs().lock);
    programs().running.erase(pid);
    return error;
}

// The program has ended and was waited for, or is let go; a process that is ending goes no further.
void ended(pid_t pid) {
    Programs& p = programs();
    std::unique_lock held(p.lock);
    p.running.erase(pid);
    if (p.ending) {
        held.unlock();
        waitForTheEnd();
    }
}

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
        return ::fcntl(read_, F_SETFL, ::fcntl(read_, F_GETFL) | O_NONBLOCK) == 0;
    }
    ~StderrPipe() {
        closeWriteEnd();
        if (read_ >= 0) ::close(read_);
    }
    // The end the program writes to: its copy onto descriptor 2 loses close-on-exec; the original closes at exec.
    int writeEnd() const { return write_; }
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
    pid_t pid = -1;
    const int err = start(path.c_str(), argv.data(), errors.writeEnd(), pid);
    errors.closeWriteEnd();
    if (err != 0) {
        r.startError = err;
        return r;
    }
    r.pid = pid;
    auto withErrors = [&](RunResult done) {
        ended(pid);
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
    // Still running, no longer ours to stop: the system ends it with the thread that started it.
    ended(pid);
    r.outcome = RunResult::Outcome::TimedOut;
    r.stderrTail = errors.tail();
    return r;
}

void passToPrograms(int fd) {
    if (fd < 0) return;
    std::lock_guard held(programs().lock);
    programs().passed.push_back(fd);
}

void stopPassing(int fd) {
    std::lock_guard held(programs().lock);
    std::vector<int>& passed = programs().passed;
    std::erase(passed, fd);
}

void endPrograms() {
    std::vector<pid_t> running;
    {
        std::lock_guard held(programs().lock);
        programs().ending = true;
        running.assign(programs().running.begin(), programs().running.end());
    }
    for (const pid_t pid : running) ::kill(pid, SIGKILL);
    // Seen ended without being waited for: the thread that started it may be waiting for it too.
    for (const pid_t pid : running) {
        siginfo_t info;
        while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
        }
    }
}

}  // namespace velmora::process
