#pragma once
// A job's hold on its program folder (files::FolderLock), which also answers for what the job leaves when
// it is cut short:
// - taking the folder, it settles what runs of earlier jobs there left unfinished, whatever output they
//   were for (files::settleNotedOutputs);
// - while it holds the folder, the outputs being replaced are noted there (files::OutputNotes), and the
//   programs the job starts hold the folder with it and end with it;
// - SIGTERM, SIGHUP or SIGINT (a logout, a shutdown, a Ctrl+C) end the job: its programs are killed, every
//   output being replaced is put back whole (or, past its last rename, left whole as new), the work files
//   and the lock go, and the process ends by the signal.
// One job at a time in a process.
#include <functional>
#include <memory>
#include <string>

#include "platform/files/FolderLock.h"

namespace velmora::process {

class ProgramFolderJob {
public:
    // Tries once and does not wait (files::FolderLock); removeWorkFiles deletes the job's work files of the
    // folder, on a thread of its own when a signal ends the job.
    ProgramFolderJob(const std::string& folder, const std::string& lockFileName, std::function<void()> removeWorkFiles);
    ~ProgramFolderJob();
    ProgramFolderJob(const ProgramFolderJob&) = delete;
    ProgramFolderJob& operator=(const ProgramFolderJob&) = delete;

    // Another process holds the folder: nothing else was done.
    bool busy() const { return lock_.busy(); }

private:
    class EndOnSignals;
    void end(int signal);

    files::FolderLock lock_;
    std::string folder_;
    std::function<void()> removeWorkFiles_;
    std::unique_ptr<EndOnSignals> signals_;
};

}  // namespace velmora::process
