// Linked into a test program, this ends the process by SIGKILL at a chosen call of rename or fsync, as a
// kill at that moment would:
//   VELMORA_KILL_AT_RENAME=N   before the Nth rename; "N+" right after it
//   VELMORA_KILL_AT_FSYNC=N    before the Nth fsync
//   VELMORA_KILL_ONCE=PATH     only the first process to get there dies (it makes PATH); the programs its
//                              death makes others start (a settling run) go on
// or holds it there, for a test to end it (or its job) from outside:
//   VELMORA_HOLD_AT_RENAME=N, VELMORA_HOLD_AT_FSYNC=N   as above
//   VELMORA_HOLD_FILE=PATH     the first process to get there writes its process id and a line end into PATH
//                              and waits until PATH.release exists; later ones pass
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

void hold() {
    const char* path = std::getenv("VELMORA_HOLD_FILE");
    if (!path) return;
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return;
    char pid[32];
    const int n = std::snprintf(pid, sizeof pid, "%d\n", static_cast<int>(::getpid()));
    (void)!::write(fd, pid, static_cast<std::size_t>(n));
    ::close(fd);
    char release[4096];
    std::snprintf(release, sizeof release, "%s.release", path);
    while (::access(release, F_OK) != 0) ::usleep(10000);
}

// Kills, or holds, at the point.
void stop(const KillPoint& kill, const KillPoint& held, int call, bool after) {
    if (call == held.at && held.after == after) hold();
    if (call == kill.at && kill.after == after) die();
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
    static const KillPoint kill = killPoint("VELMORA_KILL_AT_RENAME");
    static const KillPoint held = killPoint("VELMORA_HOLD_AT_RENAME");
    const int call = ++renames;
    stop(kill, held, call, false);
    const int result = static_cast<int>(::syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
    stop(kill, held, call, true);
    return result;
}

extern "C" int fsync(int fd) {
    static const KillPoint kill = killPoint("VELMORA_KILL_AT_FSYNC");
    static const KillPoint held = killPoint("VELMORA_HOLD_AT_FSYNC");
    stop(kill, held, ++syncs, false);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
