#include "brunhale/OutputCommit.h"

#include <dirent.h>
#include <signal.h>
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

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isRunning(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

}  // namespace

OutputCommit::OutputCommit(const std::string& finalBase, long pid, Rename rename)
    : names_(finalBase, pid), pid_(pid), rename_(std::move(rename)) {
    if (!rename_)
        rename_ = [](const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); };
}

OutputCommit::~OutputCommit() {
    if (!committed_) discard();
}

void OutputCommit::clearLeftovers() {
    for (const std::string& name : entries(names_.folder())) {
        const auto left = names_.leftover(name);
        // Our own process id in a name can only come from an earlier process: this run has written nothing yet.
        if (!left || (left->pid != pid_ && isRunning(left->pid))) continue;
        const std::string path = names_.inFolder(name);
        if (!isRegularFile(path)) continue;
        const std::string final = names_.finalPath(left->ext);
        if (left->movedAside && !exists(final)) rename_(path, final);
        else ::unlink(path.c_str());
    }
}

// A folder cannot be replaced by a file: moved aside, it could be neither deleted nor put back reliably.
void OutputCommit::refuseFolder(const std::string& ext) const {
    struct stat st;
    const std::string final = names_.finalPath(ext);
    if (::lstat(final.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw Failure(ExitCode::NotWritable, "cannot replace " + final + ": a folder of that name is in the way");
}

std::string OutputCommit::place(const std::string& ext) {
    refuseFolder(ext);
    targets_.push_back({ext, true});
    return names_.temporary(ext);
}

void OutputCommit::removeOnCommit(const std::string& ext) {
    refuseFolder(ext);
    targets_.push_back({ext, false});
}

void OutputCommit::discard() {
    for (const Target& t : targets_)
        if (t.replaced) ::unlink(names_.temporary(t.ext).c_str());
}

void OutputCommit::undo(const std::vector<MovedAside>& movedAside, const std::vector<std::string>& placed) {
    for (const std::string& p : placed) ::unlink(p.c_str());
    for (const MovedAside& m : movedAside) rename_(m.aside, m.final);
    discard();
}

void OutputCommit::commit() {
    std::vector<MovedAside> movedAside;
    std::vector<std::string> placed;
    for (const Target& t : targets_) {
        const std::string final = names_.finalPath(t.ext);
        if (!exists(final)) continue;
        const std::string aside = names_.movedAside(t.ext);
        if (rename_(final, aside) != 0) {
            std::string why = std::strerror(errno);
            undo(movedAside, placed);
            throw Failure(ExitCode::NotWritable, "cannot replace " + final + ": " + why);
        }
        movedAside.push_back({final, aside});
    }
    for (const Target& t : targets_) {
        if (!t.replaced) continue;
        const std::string final = names_.finalPath(t.ext);
        if (rename_(names_.temporary(t.ext), final) != 0) {
            std::string why = std::strerror(errno);
            undo(movedAside, placed);
            throw Failure(ExitCode::NotWritable, "cannot put " + final + " in place: " + why);
        }
        placed.push_back(final);
    }
    for (const MovedAside& m : movedAside) ::unlink(m.aside.c_str());
    committed_ = true;
}

}  // namespace velmora::brunhale
