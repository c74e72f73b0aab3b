#include "polygon/core/OutputFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ostrand {

namespace {

// A final name may be replaced when nothing is there yet or a regular file that may be written. A file
// marked read-only is kept even for a user the system would let write it: the mark says to keep it.
bool replaceable(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISREG(st.st_mode)) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// "path/name.shp" → "path/name" and ".shp"; a name without an extension has an empty one.
std::pair<std::string, std::string> split_extension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {path, std::string()};
    return {path.substr(0, dot), path.substr(dot)};
}

}  // namespace

OutputFiles::OutputFiles() = default;

OutputFiles::~OutputFiles() = default;

BinaryFile& OutputFiles::create(const std::string& final, const std::string& open_failure,
                                const std::string& write_failure) {
    const auto [base, ext] = split_extension(final);
    if (!replace_) {
        replace_ = std::make_unique<velmora::files::ReplaceTogether>(base, "ostrand-", static_cast<long>(::getpid()));
        replace_->clearLeftovers();
    } else if (replace_->finalPath(ext) != final) {
        throw open_failure;
    }
    if (!replaceable(final)) throw open_failure;
    // What describes the earlier shapes or table goes with them.
    using Describing = velmora::files::ReplaceTogether::Describing;
    if (ext == ".shp" || ext == ".dbf")
        for (const std::string& companion : replace_->companions(ext == ".shp" ? Describing::ShapesAndTable : Describing::Table))
            replace_->removeOnCommit(companion);
    Entry e{final, replace_->place(ext), {}, nullptr, write_failure};
    e.made = velmora::files::openNewFile(e.temp);
    if (e.made.fd < 0) throw open_failure;
    e.file = std::make_unique<BinaryFile>(e.made.fd, write_failure);
    entries_.push_back(std::move(e));
    return *entries_.back().file;
}

void OutputFiles::commit() {
    for (Entry& e : entries_) e.file->sync();
    if (!replace_) return;
    // Named only inside the commit: a job that ends meanwhile finds either nothing or a commit to settle.
    const auto failure = replace_->commit([this] {
        for (Entry& e : entries_) {
            if (e.made.unnamed) {
                ::unlink(e.temp.c_str());  // a leftover of an earlier process of the same number
                if (!velmora::files::nameNewFile(e.made, e.temp)) throw e.write_failure;
            }
            e.file->close();
        }
    });
    if (failure) {
        for (const Entry& e : entries_)
            if (e.final == failure->path) throw e.write_failure;
        throw entries_.front().write_failure;
    }
}

}  // namespace ostrand
