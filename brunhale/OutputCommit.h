#pragma once
// Puts a set of output files in place all together or not at all. The files are written under temporary
// names beside their final names; commit() moves any earlier files of those names aside, renames the new
// ones into place and only then deletes the earlier ones. When a step fails, what was done is undone, so
// a failed run leaves the earlier output as it was and no temporary file behind.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::brunhale {

class OutputCommit {
public:
    using Rename = std::function<int(const std::string& from, const std::string& to)>;

    // tag makes the temporary names of this run unique (the process id).
    explicit OutputCommit(std::string tag, Rename rename = {});
    ~OutputCommit();
    OutputCommit(const OutputCommit&) = delete;
    OutputCommit& operator=(const OutputCommit&) = delete;

    // The temporary base of a final base ("/out/roads" -> "/out/roads~brunhale-<tag>").
    std::string temporaryBase(const std::string& finalBase) const;
    // A new file written at temp that is to replace final. Register before creating the file.
    void place(const std::string& temp, const std::string& final);
    // An earlier file that the new output replaces by its absence (a stale .prj).
    void removeOnCommit(const std::string& final);
    // Throws Failure(NotWritable) after undoing its steps.
    void commit();
    // Deletes the temporary files (also done by the destructor unless committed).
    void discard();

private:
    void undo(std::vector<std::pair<std::string, std::string>>& movedAside, std::vector<std::string>& placed);

    std::string tag_;
    Rename rename_;
    std::vector<std::pair<std::string, std::string>> files_;  // temp, final
    std::vector<std::string> removals_;
    bool committed_ = false;
};

}  // namespace velmora::brunhale
