#include "platform/files/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmora::files {

namespace {

// The lock counts only on the file that still has the name: a holder deletes the file before it lets go,
// and a process that opened it just before would otherwise hold a lock on a file nobody else can find.
bool stillNamed(int fd, const std::string& path) {
    struct stat open, named;
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder, const std::string& lockFileName)
    : path_(folder.empty() || folder.back() == '/' ? folder + lockFileName : folder + "/" + lockFileName) {
    // A few tries cover a holder that deletes the file between our open and our lock.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return;
        int locked;
        do locked = ::flock(fd, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            busy_ = errno == EWOULDBLOCK;
            ::close(fd);
            return;
        }
        if (stillNamed(fd, path_)) {
            fd_ = fd;
            return;
        }
        ::close(fd);
    }
}

FolderLock::~FolderLock() { release(); }

void FolderLock::release() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace velmora::files
