#include "brunhale/OutputCommit.h"

#include <sys/stat.h>

#include "brunhale/Failure.h"

namespace velmora::brunhale {

// Brunhale's temporaries carry no tag of their own: ".<fingerprint>-<pid>.shp".
OutputCommit::OutputCommit(const std::string& finalBase, long pid, Rename rename)
    : set_(finalBase, "", pid, std::move(rename)) {}

// A folder cannot be replaced by a file: moved aside, it could be neither deleted nor put back reliably.
void OutputCommit::refuseFolder(const std::string& ext) const {
    struct stat st;
    const std::string final = set_.finalPath(ext);
    if (::lstat(final.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw Failure(ExitCode::NotWritable, "cannot replace " + final + ": a folder of that name is in the way");
}

std::string OutputCommit::place(const std::string& ext) {
    refuseFolder(ext);
    return set_.place(ext);
}

void OutputCommit::removeOnCommit(const std::string& ext) {
    refuseFolder(ext);
    set_.removeOnCommit(ext);
}

void OutputCommit::commit() {
    if (const auto failure = set_.commit())
        throw Failure(ExitCode::NotWritable, "cannot replace " + failure->path + ": " + failure->reason);
}

}  // namespace velmora::brunhale
