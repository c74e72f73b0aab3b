#include "platform/files/OutputNotes.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/files/CommitNames.h"
#include "platform/files/ReplaceTogether.h"

namespace velmora::files {

namespace {

constexpr std::string_view NotePrefix = "Velmora.output-";

// The bytes of a note its maker locks: one while it names and places its files, one while it lives.
constexpr off_t CommitByte = 0;
constexpr off_t AliveByte = 1;

bool lockByte(int fd, off_t byte, short type, bool wait) {
    struct flock l {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = byte;
    l.l_len = 1;
    for (;;) {
        if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &l) == 0) return true;
        if (errno != EINTR) return false;
    }
}

// Whether another open of the note holds the byte: its maker, in this process or another, still lives.
bool byteHeld(int fd, off_t byte) {
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = byte;
    l.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
}

std::string readAll(int fd) {
    std::string text;
    char buf[1024];
    ssize_t n;
    while ((n = ::pread(fd, buf, sizeof buf, static_cast<off_t>(text.size()))) > 0 && text.size() < 16384)
        text.append(buf, static_cast<std::size_t>(n));
    return text;
}

// "<tag>\n<base>\n": the output a note names; false for a note cut short.
bool parseNote(const std::string& text, std::string& tag, std::string& base) {
    const std::size_t first = text.find('\n');
    if (first == std::string::npos || text.size() < first + 3 || text.back() != '\n') return false;
    tag = text.substr(0, first);
    base = text.substr(first + 1, text.size() - first - 2);
    return base.find('\n') == std::string::npos;
}

long notePid(std::string_view name) {
    if (name.substr(0, NotePrefix.size()) != NotePrefix) return 0;
    name.remove_prefix(NotePrefix.size());
    long pid = 0;
    const auto r = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (r.ec != std::errc() || r.ptr == name.data() || r.ptr == name.data() + name.size() || *r.ptr != '-') return 0;
    return pid;
}

}  // namespace

OutputNote::OutputNote(const std::string& finalBase, const std::string& tag) {
    const char* folder = std::getenv(NotesFolderVariable);
    if (!folder || !*folder || tag.find('\n') != std::string::npos || finalBase.find('\n') != std::string::npos) return;
    const std::string content = tag + "\n" + finalBase + "\n";
    std::string path = std::string(folder);
    if (path.back() != '/') path += '/';
    path += std::string(NotePrefix) + std::to_string(::getpid()) + "-" + fingerprintHex(content);
    // A note of this name can only be of an earlier process of our number for the same output, which this
    // run settles itself before it writes.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return;
    if (!lockByte(fd, AliveByte, F_WRLCK, false) ||
        ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
        ::unlink(path.c_str());
        ::close(fd);
        return;
    }
    path_ = std::move(path);
    fd_ = fd;
}

OutputNote::~OutputNote() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
}

OutputNote::CommitWindow::CommitWindow(const OutputNote* note) : fd_(note ? note->fd_ : -1) {
    if (fd_ >= 0 && !lockByte(fd_, CommitByte, F_WRLCK, true)) fd_ = -1;
}

OutputNote::CommitWindow::~CommitWindow() {
    if (fd_ >= 0) lockByte(fd_, CommitByte, F_UNLCK, false);
}

void settleNotedOutputs(const std::string& folder, bool ownToo) {
    std::vector<std::string> notes;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (notePid(e->d_name) > 0) notes.emplace_back(e->d_name);
        ::closedir(d);
    }
    const long self = ::getpid();
    for (const std::string& name : notes) {
        const std::string path = folder + (folder.empty() || folder.back() == '/' ? "" : "/") + name;
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;  // gone with its run's end meanwhile
        const bool own = ownToo && notePid(name) == self;
        if (byteHeld(fd, AliveByte) && !own) {
            ::close(fd);
            continue;
        }
        // Our own writer may be putting its files in place: that finishes first, and the lock kept until
        // the process ends holds back any commit after it.
        if (own) lockByte(fd, CommitByte, F_WRLCK, true);
        std::string tag, base;
        if (parseNote(readAll(fd), tag, base)) ReplaceTogether(base, tag, self).clearLeftovers();
        ::unlink(path.c_str());
        if (!own) ::close(fd);
    }
}

bool processAlive(long pid) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
    // A process that has ended but not been waited for is still known to kill(): its files are closed
    // and it writes nothing more.
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
    std::FILE* f = std::fopen(path, "re");
    if (!f) return true;
    char stat[512];
    const std::size_t n = std::fread(stat, 1, sizeof stat - 1, f);
    std::fclose(f);
    stat[n] = '\0';
    // "pid (name) S ...": the state follows the last ")".
    const char* close = nullptr;
    for (const char* p = stat; *p; ++p)
        if (*p == ')') close = p;
    return !(close && close[1] == ' ' && (close[2] == 'Z' || close[2] == 'X'));
}

}  // namespace velmora::files
