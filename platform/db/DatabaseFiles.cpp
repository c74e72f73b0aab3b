#include "platform/db/DatabaseFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <set>

#include "platform/db/DbErrors.h"

namespace velmora::db {

namespace {

std::mutex registryMutex;
std::multiset<std::string>& openFiles() {
    static std::multiset<std::string> files;
    return files;
}

bool openHere(const std::string& absolute) {
    std::lock_guard lock(registryMutex);
    return openFiles().count(absolute) > 0;
}

// SQLite holds POSIX locks on a database it uses; another process's lock shows here. (Only called for files
// this process does not have open: closing our descriptor would drop our own locks on the file.)
bool lockedElsewhere(const std::string& absolute) {
    int fd = ::open(absolute.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    bool locked = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

[[noreturn]] void failInUse(const std::string& path, const std::string& why) {
    fail(err::PathFileAccess, "Path/File access error (" + path + ": " + why + ")");
}

}  // namespace

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool removeFile(const std::string& path) {
    std::string absolute = detail::absolutePath(path);
    std::error_code ec;
    if (!std::filesystem::exists(absolute, ec)) return false;
    if (openHere(absolute)) failInUse(path, "the database is open");
    if (lockedElsewhere(absolute)) failInUse(path, "the database is in use by another program");
    if (!std::filesystem::remove(absolute, ec) || ec) failInUse(path, ec ? ec.message() : "not removed");
    return true;
}

namespace detail {

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    if (ec) p = path;
    return p.lexically_normal().string();
}

void markOpen(const std::string& absolute) {
    std::lock_guard lock(registryMutex);
    openFiles().insert(absolute);
}

void markClosed(const std::string& absolute) {
    std::lock_guard lock(registryMutex);
    auto it = openFiles().find(absolute);
    if (it != openFiles().end()) openFiles().erase(it);
}

}  // namespace detail
}  // namespace velmora::db
