#include "platform/files/ReplaceTogether.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmora::files {

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

ReplaceTogether::ReplaceTogether(std::string marker, Rename rename)
    : marker_(std::move(marker)), rename_(std::move(rename)) {
    if (!rename_)
        rename_ = [](const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); };
}

ReplaceTogether::~ReplaceTogether() {
    if (!committed_) discard();
}

std::string ReplaceTogether::nameBeside(const std::string& final, const std::string& what) const {
    const std::size_t slash = final.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = final.rfind('.');
    const std::string extension = dot != std::string::npos && dot > nameStart ? final.substr(dot) : std::string();
    return final.substr(0, nameStart) + marker_ + "-" + what + extension;
}

std::string ReplaceTogether::place(const std::string& final) {
    std::string temp = nameBeside(final, std::to_string(files_.size()));
    files_.emplace_back(temp, final);
    return temp;
}

void ReplaceTogether::removeOnCommit(const std::string& final) { removals_.push_back(final); }

void ReplaceTogether::discard() {
    for (const auto& f : files_) ::unlink(f.first.c_str());
}

std::optional<ReplaceTogether::Failure> ReplaceTogether::undo(
    Failure failure, const std::vector<std::pair<std::string, std::string>>& movedAside,
    const std::vector<std::string>& placed) {
    for (const std::string& p : placed) ::unlink(p.c_str());
    for (const auto& m : movedAside) rename_(m.second, m.first);
    discard();
    return failure;
}

std::optional<ReplaceTogether::Failure> ReplaceTogether::commit() {
    std::vector<std::string> targets;
    for (const auto& f : files_) targets.push_back(f.second);
    targets.insert(targets.end(), removals_.begin(), removals_.end());

    std::vector<std::pair<std::string, std::string>> movedAside;  // final, backup
    std::vector<std::string> placed;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string& t = targets[i];
        if (!exists(t)) continue;
        std::string backup = nameBeside(t, "old-" + std::to_string(i));
        if (rename_(t, backup) != 0) return undo({t, std::strerror(errno)}, movedAside, placed);
        movedAside.emplace_back(t, std::move(backup));
    }
    for (const auto& f : files_) {
        if (rename_(f.first, f.second) != 0) return undo({f.second, std::strerror(errno)}, movedAside, placed);
        placed.push_back(f.second);
    }
    for (const auto& m : movedAside) ::unlink(m.second.c_str());
    committed_ = true;
    return std::nullopt;
}

}  // namespace velmora::files
