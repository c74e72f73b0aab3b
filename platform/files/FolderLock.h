#pragma once
// Takes a folder for one process: an advisory lock on a file in the folder, held while the object lives.
// The system drops the lock when the process ends, however it ends, so a killed holder never keeps the
// folder; programs the holder starts inherit it only when it passes them its descriptor (then the folder
// stays taken until the last of them ends too). The lock file goes again when the lock is given up, so a
// folder is left as it was found.
#include <string>

namespace velmora::files {

class FolderLock {
public:
    // Tries once and does not wait.
    FolderLock(const std::string& folder, const std::string& lockFileName);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Another process holds the folder. A folder where no lock file can be made (read-only, missing) is not
    // busy: what the caller then does there fails on its own terms.
    bool busy() const { return busy_; }
    // The open lock file while the lock is held, else -1.
    int descriptor() const { return fd_; }
    // Gives the lock up before the object goes (done by the destructor otherwise).
    void release();

private:
    std::string path_;
    int fd_ = -1;
    bool busy_ = false;
};

}  // namespace velmora::files
