#pragma once
// Puts a set of new files in place all together or not at all. The new files lie under temporary names
// in the folders of their final names; commit() moves any earlier files of those names aside, renames the
// new ones into place and only then deletes the earlier ones. When a step fails, what was done is undone,
// so a failed run leaves the earlier files as they were and no temporary file behind. Temporary names are
// short (the marker, a number, the final extension), so any final name the file system takes works.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::files {

class ReplaceTogether {
public:
    using Rename = std::function<int(const std::string& from, const std::string& to)>;
    struct Failure {
        std::string path;    // the final name that could not be replaced
        std::string reason;  // the system's text
    };

    // marker makes the temporary names of this run unique, e.g. ".writer-<process id>".
    explicit ReplaceTogether(std::string marker, Rename rename = {});
    ~ReplaceTogether();
    ReplaceTogether(const ReplaceTogether&) = delete;
    ReplaceTogether& operator=(const ReplaceTogether&) = delete;

    // A new file that is to replace final; gives the temporary path to write it at ("<folder>/<marker>-<n>
    // <extension>"). Register before creating the file.
    std::string place(const std::string& final);
    // An earlier file that the new set replaces by its absence.
    void removeOnCommit(const std::string& final);
    // Nothing when every file is in place; otherwise what failed, after every step was undone.
    std::optional<Failure> commit();
    // Deletes the temporary files (also done by the destructor unless committed).
    void discard();

private:
    // "<folder of final>/<marker>-<what><extension of final>"
    std::string nameBeside(const std::string& final, const std::string& what) const;
    std::optional<Failure> undo(Failure failure, const std::vector<std::pair<std::string, std::string>>& movedAside,
                                const std::vector<std::string>& placed);

    std::string marker_;
    Rename rename_;
    std::vector<std::pair<std::string, std::string>> files_;  // temp, final
    std::vector<std::string> removals_;
    bool committed_ = false;
};

}  // namespace velmora::files
