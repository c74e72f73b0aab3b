#pragma once
// A temporary program folder holding a copy of the built Brunhale, for tests that run the real program.
// A copy, not a link: Brunhale finds its pair through /proc/self/exe, which names the link's target.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace velmora::testsupport {

using TempFolder = velmora::testsupport::TempFolder;

struct RunResult {
    int exitCode = -1;
    std::string stderrText;
};

class BrunhaleFolder {
public:
    BrunhaleFolder();
    std::string path() const { return folder_.path().string(); }
    std::string file(const std::string& name) const { return folder_.file(name); }
    const TempFolder& folder() const { return folder_; }

    // The pair, from UTF-8 lines written as CP932 with CR LF.
    void writeHeader(const std::vector<std::string>& lines) const;
    void writeCoordinates(const std::vector<std::string>& lines) const;
    // Runs Brunhale without arguments from another folder that holds a pair of its own, so a run that
    // read its working folder would be caught. shellSetup: shell commands run first in the same shell
    // ("ulimit -f 64"), each ending in " && ".
    RunResult run(const std::string& shellSetup = "") const;

private:
    TempFolder folder_;
    TempFolder elsewhere_;
};

// A test with its own program folder holding Brunhale and an empty output folder "out".
class BrunhaleTest : public ::testing::Test {
protected:
    void SetUp() override;
    std::string out() const { return b.file("out"); }
    // Runs Brunhale and expects success without a word on stderr.
    void runOk() const;
    BrunhaleFolder b;
};

// Text file helpers.
void writeLines(const std::string& path, const std::vector<std::string>& utf8Lines);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// Runs a shell command and gives its stdout.
std::string capture(const std::string& command);
// `ogrinfo -ro -al` of a file (stdout and stderr).
std::string ogrinfo(const std::string& path);

}  // namespace velmora::testsupport
