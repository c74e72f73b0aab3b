#include "platform/process/ProgramFolderJob.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/files/OutputNotes.h"
#include "platform/process/RunProgram.h"

namespace velmora::process {

namespace {

constexpr std::array<int, 3> EndingSignals = {SIGTERM, SIGHUP, SIGINT};

// The handler only passes the signal on: what ending takes (files, locks, waits) is no work for a handler.
int g_signalPipe[2] = {-1, -1};

extern "C" void passSignalOn(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    (void)!::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

// While it lives, the ending signals reach `end` on a thread of its own, whatever the job's thread is doing
// (waiting for a program, inside the polygon library, writing).
class ProgramFolderJob::EndOnSignals {
public:
    explicit EndOnSignals(std::function<void(int)> end) : end_(std::move(end)) {
        if (g_signalPipe[0] >= 0 || ::pipe2(g_signalPipe, O_CLOEXEC) != 0) return;
        installed_ = true;
        thread_ = std::thread([this] { watch(); });
        struct sigaction on {};
        on.sa_handler = passSignalOn;
        on.sa_flags = SA_RESTART;
        sigemptyset(&on.sa_mask);
        for (std::size_t i = 0; i < EndingSignals.size(); ++i) ::sigaction(EndingSignals[i], &on, &previous_[i]);
    }
    ~EndOnSignals() {
        if (!installed_) return;
        for (std::size_t i = 0; i < EndingSignals.size(); ++i) ::sigaction(EndingSignals[i], &previous_[i], nullptr);
        const unsigned char stop = 0;
        (void)!::write(g_signalPipe[1], &stop, 1);
        thread_.join();
        ::close(g_signalPipe[0]);
        ::close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }
    EndOnSignals(const EndOnSignals&) = delete;
    EndOnSignals& operator=(const EndOnSignals&) = delete;

private:
    void watch() {
        for (;;) {
            unsigned char byte = 0;
            const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
            if (n < 0 && errno == EINTR) continue;
            if (n != 1 || byte == 0) return;
            end_(byte);
        }
    }

    std::function<void(int)> end_;
    bool installed_ = false;
    std::thread thread_;
    std::array<struct sigaction, EndingSignals.size()> previous_{};
};

ProgramFolderJob::ProgramFolderJob(const std::string& folder, const std::string& lockFileName,
                                   std::function<void()> removeWorkFiles)
    : lock_(folder, lockFileName), folder_(folder), removeWorkFiles_(std::move(removeWorkFiles)) {
    if (lock_.busy()) return;
    files::settleNotedOutputs(folder_, false);
    ::setenv(files::NotesFolderVariable, folder_.c_str(), 1);
    passToPrograms(lock_.descriptor());
    signals_ = std::make_unique<EndOnSignals>([this](int signal) { end(signal); });
}

ProgramFolderJob::~ProgramFolderJob() {
    if (lock_.busy()) return;
    signals_.reset();
    stopPassing(lock_.descriptor());
    ::unsetenv(files::NotesFolderVariable);
}

void ProgramFolderJob::end(int signal) {
    endPrograms();
    files::settleNotedOutputs(folder_, true);
    try {
        if (removeWorkFiles_) removeWorkFiles_();
    } catch (...) {
        // What cannot be removed is replaced by the next job under its fixed name.
    }
    lock_.release();
    // The process ends as the signal would have ended it, so whoever waits for it sees why.
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

}  // namespace velmora::process
