#pragma once
// The names a run writes under before its output is put in place. They lie in the output folder and are
// short, of their own pattern: a dot, the program's tag, sixteen hex digits naming the output's base, "-",
// the process id, "-old" for an earlier file moved aside while the output is replaced, and the final
// extension (".0f3a…-4711.shp", ".ostrand-0f3a…-4711-old.dbf"). The run's list of what it replaces is
// ".commit" in place of the extension. Any output name that fits the file system therefore fits as a
// temporary, and a later run can tell what a killed run of the same output left from every other file.
#include <optional>
#include <string>
#include <string_view>

namespace velmora::files {

// Sixteen hex digits that name a text, the same in every run and build.
std::string fingerprintHex(std::string_view text);

class CommitNames {
public:
    // finalBase: the output path without extension; tag: the writing program's part of the names ("" or
    // "ostrand-"); pid: the process writing it.
    CommitNames(const std::string& finalBase, const std::string& tag, long pid);

    static constexpr std::string_view JournalExtension = ".commit";

    // The names another process gave the same output.
    CommitNames ofProcess(long pid) const {
        CommitNames other = *this;
        other.pid_ = pid;
        return other;
    }

    // ext with its dot: ".shp".
    std::string finalPath(std::string_view ext) const { return finalBase_ + std::string(ext); }
    const std::string& tag() const { return tag_; }
    std::string temporary(std::string_view ext) const;
    std::string movedAside(std::string_view ext) const;
    std::string journal() const { return temporary(JournalExtension); }
    // The folder to look for leftovers in ("." for a base without one) and the path of a name in it.
    std::string folder() const;
    std::string inFolder(std::string_view fileName) const { return folderPrefix_ + std::string(fileName); }

    // A file name written by some run of this same base: the run's process id, whether it is an earlier
    // file moved aside, and the final extension (JournalExtension for the run's list).
    struct Leftover {
        long pid = 0;
        bool movedAside = false;
        std::string ext;
    };
    std::optional<Leftover> leftover(std::string_view fileName) const;

private:
    std::string finalBase_;
    std::string tag_;
    std::string folderPrefix_;  // "" or the folder with its trailing "/"
    std::string prefix_;        // ".", the tag and the hex digits of the base
    long pid_;
};

}  // namespace velmora::files
