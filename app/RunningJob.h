#pragma once
// Marks a job dialog's job as running for the job's lifetime, also when the job throws. The job yields to
// the event loop: while the flag is set, the dialog starts no second job, changes nothing a job reads and
// does not close.
namespace velmora {

class RunningJob {
public:
    explicit RunningJob(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningJob() { flag_ = false; }
    RunningJob(const RunningJob&) = delete;
    RunningJob& operator=(const RunningJob&) = delete;

private:
    bool& flag_;
};

}  // namespace velmora
