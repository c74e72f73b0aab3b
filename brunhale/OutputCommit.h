#pragma once
// Puts a set of output files in place all together or not at all. The files are written under temporary
// names in the output folder (TemporaryNames); commit() moves any earlier files of the final names aside,
// renames the new ones into place and only then deletes the earlier ones. When a step fails, what was done
// is undone, so a failed run leaves the earlier output as it was and no temporary file behind. A run that
// was killed cannot undo anything: the next run of the same output clears what it left.
#include <functional>
#include <string>
#include <vector>

#include "brunhale/TemporaryNames.h"

namespace velmora::brunhale {

class OutputCommit {
public:
    using Rename = std::function<int(const std::string& from, const std::string& to)>;

    // finalBase: the output path without extension; pid makes the temporary names of this run unique.
    OutputCommit(const std::string& finalBase, long pid, Rename rename = {});
    ~OutputCommit();
    OutputCommit(const OutputCommit&) = delete;
    OutputCommit& operator=(const OutputCommit&) = delete;

    // Clears what earlier runs of the same output left when they were killed: their temporaries are
    // deleted, and an earlier file that one of them had moved aside goes back to its name when nothing
    // took its place. Files of runs still going, and every other file, are left alone.
    void clearLeftovers();

    // A new file of extension ext (".shp") that is to replace base + ext; gives the temporary path to write
    // it at. Register before creating the file.
    std::string place(const std::string& ext);
    // An earlier file base + ext that the new output replaces by its absence (a stale .prj or .cpg).
    void removeOnCommit(const std::string& ext);
    // Throws Failure(NotWritable) after undoing its steps.
    void commit();
    // Deletes the temporary files (also done by the destructor unless committed).
    void discard();

private:
    struct Target {
        std::string ext;
        bool replaced;  // a new file takes its place; otherwise it is only removed
    };
    struct MovedAside {
        std::string final, aside;
    };
    void refuseFolder(const std::string& ext) const;
    void undo(const std::vector<MovedAside>& movedAside, const std::vector<std::string>& placed);

    TemporaryNames names_;
    long pid_;
    Rename rename_;
    std::vector<Target> targets_;
    bool committed_ = false;
};

}  // namespace velmora::brunhale
