#pragma once
// A small file system of its own (tmpfs) mounted on a folder for the life of the object, so that a test can
// fill it up. Mounting needs root; elsewhere mounted() is false and the test skips.
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace polygontest {

class SmallTmpfs {
public:
    SmallTmpfs(const std::filesystem::path& folder, const std::string& size) : folder_(folder) {
        std::filesystem::create_directories(folder_);
        mounted_ = ::geteuid() == 0 &&
                   ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, ("size=" + size).c_str()) == 0;
    }
    ~SmallTmpfs() {
        if (mounted_ && ::umount(folder_.c_str()) != 0) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

}  // namespace polygontest
