#include "polygon/core/OutputFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace

OutputFiles::OutputFiles() : replace_(".ostrand-" + std::to_string(::getpid())) {}

OutputFiles::~OutputFiles() = default;

BinaryFile& OutputFiles::create(const std::string& final, const std::string& open_failure,
                                const std::string& write_failure) {
    if (!replaceable(final)) throw open_failure;
    Entry e{final, replace_.place(final), {}, nullptr, write_failure};
    e.made = velmora::files::openNewFile(e.temp);
    if (e.made.fd < 0) throw open_failure;
    e.file = std::make_unique<BinaryFile>(e.made.fd, write_failure);
    entries_.push_back(std::move(e));
    return *entries_.back().file;
}

void OutputFiles::commit() {
    for (Entry& e : entries_) {
        e.file->sync();
        if (e.made.unnamed) {
            ::unlink(e.temp.c_str());  // a leftover of an earlier process of the same number
            if (!velmora::files::nameNewFile(e.made, e.temp)) throw e.write_failure;
        }
        e.file->close();
    }
    if (const auto failure = replace_.commit()) {
        for (const Entry& e : entries_)
            if (e.final == failure->path) throw e.write_failure;
        throw entries_.front().write_failure;
    }
}

}  // namespace ostrand
