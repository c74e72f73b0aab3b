#pragma once
// Puts a set of output files in place all together or not at all (files::ReplaceTogether under Brunhale's
// own temporary names), refusing a folder in the place of an output file and failing with Brunhale's exit
// code. A run that was killed cannot undo anything: the next run of the same output clears what it left.
#include <string>

#include "platform/files/ReplaceTogether.h"

namespace velmora::brunhale {

class OutputCommit {
public:
    using Rename = files::ReplaceTogether::Rename;

    // finalBase: the output path without extension; pid makes the temporary names of this run unique.
    OutputCommit(const std::string& finalBase, long pid, Rename rename = {});

    // Settles what killed runs of the same output left (files::ReplaceTogether::clearLeftovers).
    void clearLeftovers() { set_.clearLeftovers(); }

    // A new file of extension ext (".shp") that is to replace base + ext; gives the temporary path to write
    // it at. Register before creating the file.
    std::string place(const std::string& ext);
    // An earlier file base + ext that the new output replaces by its absence (a stale .prj).
    void removeOnCommit(const std::string& ext);
    // The files that describe the earlier data (files::ReplaceTogether::companions) go with it.
    void removeCompanionsOnCommit(files::ReplaceTogether::Describing what) {
        for (const std::string& ext : files::ReplaceTogether::companions(what)) removeOnCommit(ext);
    }
    // Throws Failure(NotWritable) after undoing its steps.
    void commit();
    // Deletes the temporary files (also done when the object goes uncommitted).
    void discard() { set_.discard(); }

    const files::CommitNames& names() const { return set_.names(); }

private:
    void refuseFolder(const std::string& ext) const;

    files::ReplaceTogether set_;
};

}  // namespace velmora::brunhale
