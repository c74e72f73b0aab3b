#include "platform/files/NewFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace velmora::files {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

NewFile openNewFile(const std::string& path) {
    NewFile f;
#ifdef O_TMPFILE
    f.fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (f.fd >= 0) {
        f.unnamed = true;
        return f;
    }
    // Only a file system (or kernel) without unnamed files falls back; a folder we may not write to or
    // that does not exist fails the same way either path would.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return f;
#endif
    f.fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    return f;
}

bool nameNewFile(const NewFile& file, const std::string& path) {
    if (!file.unnamed) return true;
    const std::string self = "/proc/self/fd/" + std::to_string(file.fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    // Without /proc the descriptor itself can be linked (this needs more privileges).
    const int saved = errno;
    if (::linkat(file.fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
    errno = saved;
    return false;
}

}  // namespace velmora::files
