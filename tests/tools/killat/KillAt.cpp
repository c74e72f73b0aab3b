// Linked into a test program, this ends the process by SIGKILL at a chosen call of rename or fsync, as a
// kill at that moment would:
//   VELMORA_KILL_AT_RENAME=N   before the Nth rename; "N+" right after it
//   VELMORA_KILL_AT_FSYNC=N    before the Nth fsync
//   VELMORA_KILL_ONCE=PATH     only the first process to get there dies (it makes PATH); the programs its
//                              death makes others start (a settling run) go on
// The definitions take the place of the C library's for the whole process (shared libraries it loads
// included, when the program exports its symbols). Without the variables the calls do what they always do.
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

struct KillPoint {
    int at = 0;  // 0: never
    bool after = false;
};

KillPoint killPoint(const char* variable) {
    KillPoint p;
    if (const char* v = std::getenv(variable)) {
        p.at = std::atoi(v);
        p.after = std::strchr(v, '+') != nullptr;
    }
    return p;
}

std::atomic<int> renames{0};
std::atomic<int> syncs{0};

void die() {
    if (const char* once = std::getenv("VELMORA_KILL_ONCE")) {
        const int fd = ::open(once, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return;
        ::close(fd);
    }
    ::kill(::getpid(), SIGKILL);
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
    static const KillPoint point = killPoint("VELMORA_KILL_AT_RENAME");
    const int call = ++renames;
    if (call == point.at && !point.after) die();
    const int result = static_cast<int>(::syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
    if (call == point.at) die();
    return result;
}

extern "C" int fsync(int fd) {
    static const KillPoint point = killPoint("VELMORA_KILL_AT_FSYNC");
    if (++syncs == point.at) die();
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
