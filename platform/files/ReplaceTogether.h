#pragma once
// Puts the files of one output (a base and its extensions) in place all together or not at all. The new
// files lie under temporary names in the output folder (CommitNames); commit() first writes the list of
// what it replaces, moves any earlier files of the final names aside, renames the new ones into place and
// only then deletes the earlier ones and the list. When a step fails, what was done is undone, so a failed
// run leaves the earlier files as they were and no temporary file behind.
//
// A run killed inside its commit cannot undo anything; the next run of the same output clears what it
// left before it writes (clearLeftovers): until every new file is in place, the earlier set goes back
// whole; once they all are, the new set stays whole. Either way the temporaries go. In a job's program
// folder a note of the output is kept meanwhile (OutputNotes), so that the next job there settles it too.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/CommitNames.h"
#include "platform/files/OutputNotes.h"

namespace velmora::files {

class ReplaceTogether {
public:
    using Rename = std::function<int(const std::string& from, const std::string& to)>;
    struct Failure {
        std::string path;    // the final name that could not be replaced
        std::string reason;  // the system's text
    };

    // finalBase: the output path without extension; tag and pid make the temporary names (CommitNames).
    ReplaceTogether(const std::string& finalBase, const std::string& tag, long pid, Rename rename = {});
    ~ReplaceTogether();
    ReplaceTogether(const ReplaceTogether&) = delete;
    ReplaceTogether& operator=(const ReplaceTogether&) = delete;

    // Settles what earlier runs of the same output left when they were killed, as above. Files of runs
    // still going, and every other file, are left alone.
    void clearLeftovers();

    // A new file of extension ext (".shp") that is to replace base + ext; gives the temporary path to write
    // it at. Register before creating the file.
    std::string place(const std::string& ext);
    // An earlier file base + ext that the new set replaces by its absence (a stale .prj).
    void removeOnCommit(const std::string& ext);

    // Files that programs leave beside an output and that describe the data they were made for, which no
    // writer of ours makes: the spatial indexes of the shapes (".qix"; ".sbn" and ".sbx") and the code
    // page of the table (".cpg"). Beside a new set they would describe the earlier one, so they go with it.
    // ".shp.xml" stays: it may hold the user's own notes.
    enum class Describing { Table, ShapesAndTable };
    static std::vector<std::string> companions(Describing what);

    // Nothing when every file is in place; otherwise what failed, after every step was undone.
    // beforeRenames (which may throw, undoing nothing) gives the new files their temporary names, inside
    // the window that a job told to end waits for.
    std::optional<Failure> commit(const std::function<void()>& beforeRenames = {});
    // Deletes the temporary files (also done by the destructor unless committed).
    void discard();

    const CommitNames& names() const { return names_; }
    std::string finalPath(const std::string& ext) const { return names_.finalPath(ext); }

private:
    struct Target {
        std::string ext;
        bool replaced;  // a new file takes its place; otherwise it is only removed
    };
    struct MovedAside {
        std::string final, aside;
    };
    bool writeJournal() const;
    void noteOutput();
    std::optional<Failure> undo(Failure failure, const std::vector<MovedAside>& movedAside,
                                const std::vector<std::string>& placed);

    CommitNames names_;
    long pid_;
    Rename rename_;
    std::vector<Target> targets_;
    bool committed_ = false;
    // Kept from the first target on until the temporaries are gone.
    std::unique_ptr<OutputNote> note_;
};

}  // namespace velmora::files
