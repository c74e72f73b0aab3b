#include "platform/files/ReplaceTogether.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace velmora::files {

namespace {

// The list a commit writes before its first rename: "+.shp" for a file it places, "-.prj" for one it
// removes, and a last line "end", without which the list is taken as not written.
constexpr std::string_view JournalEnd = "end\n";

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

std::string readSmallFile(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[512];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() < 4096) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

// The extensions a complete list says were placed; nothing for a list cut short or missing.
std::set<std::string> placedByList(const std::string& text) {
    std::set<std::string> placed;
    if (text.size() < JournalEnd.size() || text.compare(text.size() - JournalEnd.size(), JournalEnd.size(), JournalEnd) != 0)
        return {};
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (text[at] == '+') placed.insert(text.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    return placed;
}

// What one killed run left of one output.
struct Left {
    std::set<std::string> temporaries, movedAside;
    bool journal = false;
};

}  // namespace

ReplaceTogether::ReplaceTogether(const std::string& finalBase, const std::string& tag, long pid, Rename rename)
    : names_(finalBase, tag, pid), pid_(pid), rename_(std::move(rename)) {
    if (!rename_)
        rename_ = [](const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); };
}

ReplaceTogether::~ReplaceTogether() {
    if (!committed_) discard();
    note_.reset();
}

void ReplaceTogether::clearLeftovers() {
    std::map<long, Left> runs;
    for (const std::string& name : entries(names_.folder())) {
        const auto left = names_.leftover(name);
        // Our own process id in a name can only come from an earlier process: this run has written nothing yet.
        if (!left || (left->pid != pid_ && processAlive(left->pid))) continue;
        if (!isRegularFile(names_.inFolder(name))) continue;
        Left& run = runs[left->pid];
        if (left->ext == CommitNames::JournalExtension) run.journal = true;
        else (left->movedAside ? run.movedAside : run.temporaries).insert(left->ext);
    }
    for (const auto& [pid, run] : runs) {
        const CommitNames killed = names_.ofProcess(pid);
        const std::set<std::string> listed = run.journal ? placedByList(readSmallFile(killed.journal())) : std::set<std::string>{};
        // A listed file without its temporary was renamed into place by the killed run.
        std::set<std::string> placed;
        for (const std::string& ext : listed)
            if (!run.temporaries.count(ext)) placed.insert(ext);
        const bool newSetWhole = !listed.empty() && placed.size() == listed.size();
        if (newSetWhole) {
            for (const std::string& ext : run.movedAside) ::unlink(killed.movedAside(ext).c_str());
        } else {
            for (const std::string& ext : run.movedAside) {
                const std::string final = names_.finalPath(ext);
                // A name someone else has filled since is theirs.
                if (placed.count(ext) || !exists(final)) rename_(killed.movedAside(ext), final);
                else ::unlink(killed.movedAside(ext).c_str());
            }
            for (const std::string& ext : placed)
                if (!run.movedAside.count(ext)) ::unlink(names_.finalPath(ext).c_str());
        }
        for (const std::string& ext : run.temporaries) ::unlink(killed.temporary(ext).c_str());
        if (run.journal) ::unlink(killed.journal().c_str());
    }
}

void ReplaceTogether::noteOutput() {
    if (!note_) note_ = std::make_unique<OutputNote>(names_.finalPath(""), names_.tag());
}

std::string ReplaceTogether::place(const std::string& ext) {
    noteOutput();
    targets_.push_back({ext, true});
    return names_.temporary(ext);
}

void ReplaceTogether::removeOnCommit(const std::string& ext) {
    for (const Target& t : targets_)
        if (t.ext == ext) return;
    noteOutput();
    targets_.push_back({ext, false});
}

std::vector<std::string> ReplaceTogether::companions(Describing what) {
    if (what == Describing::Table) return {".cpg"};
    return {".qix", ".sbn", ".sbx", ".cpg"};
}

void ReplaceTogether::discard() {
    for (const Target& t : targets_)
        if (t.replaced) ::unlink(names_.temporary(t.ext).c_str());
    ::unlink(names_.journal().c_str());
}

bool ReplaceTogether::writeJournal() const {
    std::string text;
    for (const Target& t : targets_) text += (t.replaced ? "+" : "-") + t.ext + "\n";
    text += JournalEnd;
    const std::string path = names_.journal();
    ::unlink(path.c_str());  // a leftover of an earlier process of the same number
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && written;
}

std::optional<ReplaceTogether::Failure> ReplaceTogether::undo(Failure failure, const std::vector<MovedAside>& movedAside,
                                                              const std::vector<std::string>& placed) {
    for (const std::string& p : placed) ::unlink(p.c_str());
    for (const MovedAside& m : movedAside) rename_(m.aside, m.final);
    discard();
    return failure;
}

std::optional<ReplaceTogether::Failure> ReplaceTogether::commit(const std::function<void()>& beforeRenames) {
    const OutputNote::CommitWindow window(note_.get());
    if (beforeRenames) beforeRenames();
    std::vector<MovedAside> movedAside;
    std::vector<std::string> placed;
    // The list cannot be written where the files cannot be replaced: the failure names the first of them.
    if (!writeJournal())
        return undo({targets_.empty() ? names_.journal() : names_.finalPath(targets_.front().ext), std::strerror(errno)},
                    movedAside, placed);
    for (const Target& t : targets_) {
        const std::string final = names_.finalPath(t.ext);
        if (!exists(final)) continue;
        std::string aside = names_.movedAside(t.ext);
        if (rename_(final, aside) != 0) return undo({final, std::strerror(errno)}, movedAside, placed);
        movedAside.push_back({final, std::move(aside)});
    }
    for (const Target& t : targets_) {
        if (!t.replaced) continue;
        const std::string final = names_.finalPath(t.ext);
        if (rename_(names_.temporary(t.ext), final) != 0) return undo({final, std::strerror(errno)}, movedAside, placed);
        placed.push_back(final);
    }
    committed_ = true;
    for (const MovedAside& m : movedAside) ::unlink(m.aside.c_str());
    ::unlink(names_.journal().c_str());
    return std::nullopt;
}

}  // namespace velmora::files
