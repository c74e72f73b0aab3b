#include "brunhale/OutputCommit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "brunhale/Failure.h"

namespace velmora::brunhale {

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

OutputCommit::OutputCommit(std::string tag, Rename rename) : tag_(std::move(tag)), rename_(std::move(rename)) {
    if (!rename_)
        rename_ = [](const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); };
}

OutputCommit::~OutputCommit() {
    if (!committed_) discard();
}

std::string OutputCommit::temporaryBase(const std::string& finalBase) const { return finalBase + "~brunhale-" + tag_; }

void OutputCommit::place(const std::string& temp, const std::string& final) { files_.emplace_back(temp, final); }

void OutputCommit::removeOnCommit(const std::string& final) { removals_.push_back(final); }

void OutputCommit::discard() {
    for (const auto& f : files_) ::unlink(f.first.c_str());
}

void OutputCommit::undo(std::vector<std::pair<std::string, std::string>>& movedAside, std::vector<std::string>& placed) {
    for (const std::string& p : placed) ::unlink(p.c_str());
    for (const auto& m : movedAside) rename_(m.second, m.first);
    discard();
}

void OutputCommit::commit() {
    std::vector<std::string> targets;
    for (const auto& f : files_) targets.push_back(f.second);
    targets.insert(targets.end(), removals_.begin(), removals_.end());

    std::vector<std::pair<std::string, std::string>> movedAside;  // final, backup
    std::vector<std::string> placed;
    for (const std::string& t : targets) {
        if (!exists(t)) continue;
        std::string backup = t + "~brunhale-old-" + tag_;
        if (rename_(t, backup) != 0) {
            std::string why = std::strerror(errno);
            undo(movedAside, placed);
            throw Failure(ExitCode::NotWritable, "cannot replace " + t + ": " + why);
        }
        movedAside.emplace_back(t, backup);
    }
    for (const auto& f : files_) {
        if (rename_(f.first, f.second) != 0) {
            std::string why = std::strerror(errno);
            undo(movedAside, placed);
            throw Failure(ExitCode::NotWritable, "cannot put " + f.second + " in place: " + why);
        }
        placed.push_back(f.second);
    }
    for (const auto& m : movedAside) ::unlink(m.second.c_str());
    committed_ = true;
}

}  // namespace velmora::brunhale
