// Linked into every test executable: its temporary files go to the build's own temporary folder, which
// the suite checks is left empty, and Qt's run-time folder is set so Qt makes none of its own there.
#include <cstdlib>

namespace {

const bool environmentSet = [] {
    ::setenv("TMPDIR", VELMORA_TEST_TMPDIR, 1);
    ::setenv("XDG_RUNTIME_DIR", VELMORA_TEST_RUNTIME_DIR, 1);
    return true;
}();

}  // namespace
