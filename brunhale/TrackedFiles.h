#pragma once
// File access for shapelib that remembers every failure. shapelib's own close functions return nothing,
// so a write error while flushing a header would otherwise go unnoticed; with these hooks the run fails
// instead of reporting success over a damaged file.
#include <shapefil.h>

#include <string>

namespace velmora::brunhale {

class TrackedFiles {
public:
    TrackedFiles();
    SAHooks* hooks() { return &hooks_; }
    // The first failure this thread saw since its last reset, or empty.
    static const std::string& firstError();
    static void reset();

private:
    SAHooks hooks_;
};

}  // namespace velmora::brunhale
