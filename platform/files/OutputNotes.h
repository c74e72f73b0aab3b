#pragma once
// A program folder's notes of the outputs being replaced by the job that holds it, so that whatever a run
// killed in the middle left beside its output (temporaries, earlier files moved aside) is settled by the
// next job there, whatever output it was for, or at once by the job itself when it is told to end.
//
// The job names the folder in the environment (NotesFolderVariable); every ReplaceTogether of the job's
// process and of the programs it starts then keeps a note there, "Velmora.output-<pid>-<hex>", from before
// its first file is made until its temporaries are gone. The note holds the writer's tag and the output's
// base. Its maker keeps two locks on it (open-file-description locks, which the system drops when the
// maker ends, however it ends): one while it lives, one while it names its files and puts them in place.
#include <string>

namespace velmora::files {

inline constexpr const char* NotesFolderVariable = "VELMORA_OUTPUT_NOTES";

class OutputNote {
public:
    // A note in the folder the environment names; no note when it names none or the note cannot be made
    // (the folder read-only): the output is then written as before, only not settled by another job.
    OutputNote(const std::string& finalBase, const std::string& tag);
    ~OutputNote();
    OutputNote(const OutputNote&) = delete;
    OutputNote& operator=(const OutputNote&) = delete;

    // While a CommitWindow lives, the files are named and put in place; a job that ends waits for it to
    // close, and once that job has settled the output no window opens again (the writer waits until the
    // process ends).
    class CommitWindow {
    public:
        // No window to wait for without a note.
        explicit CommitWindow(const OutputNote* note);
        ~CommitWindow();
        CommitWindow(const CommitWindow&) = delete;
        CommitWindow& operator=(const CommitWindow&) = delete;

    private:
        int fd_;
    };

private:
    std::string path_;
    int fd_ = -1;
};

// Settles the outputs noted in `folder` by runs that no longer live (ReplaceTogether::clearLeftovers for
// each) and removes their notes. With ownToo, also this process's own notes, as the process ends: a
// commit in progress in another thread is first let finish, and no commit starts after.
void settleNotedOutputs(const std::string& folder, bool ownToo);

// A process that still runs: not a zombie, and not a number nobody has.
bool processAlive(long pid);

}  // namespace velmora::files
