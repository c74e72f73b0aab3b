#include "tests/brunhale/BrunhaleFolder.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>
#include <algorithm>

#include "platform/text/Cp932.h"
#include "tests/support/CommandOutput.h"

namespace fs = std::filesystem;

namespace velmora::testsupport {

void writeLines(const std::string& path, const std::vector<std::string>& utf8Lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& l : utf8Lines) out << text::toCp932(l) << "\r\n";
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

std::string capture(const std::string& command) { return commandOutput(command); }

std::string ogrinfo(const std::string& path) { return capture("ogrinfo -ro -al '" + path + "' 2>&1"); }

BrunhaleFolder::BrunhaleFolder() {
    fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", folder_.file("Brunhale"));
    // A decoy pair in the working folder of the run.
    writeLines(elsewhere_.file("MakeShapeFile.fil_H"), {"MAKEFILE_NAME," + elsewhere_.file("decoy"), "SHAPE_TYPE,6,-1",
                                                        "DBFITEM_COUNT,0"});
}

void BrunhaleFolder::writeHeader(const std::vector<std::string>& lines) const {
    writeLines(file("MakeShapeFile.fil_H"), lines);
}

void BrunhaleFolder::writeCoordinates(const std::vector<std::string>& lines) const {
    writeLines(file("MakeShapeFile.fil_D"), lines);
}

void BrunhaleTest::SetUp() { fs::create_directory(out()); }

void BrunhaleTest::runOk() const {
    RunResult r = b.run();
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.stderrText, "");
}

RunResult BrunhaleFolder::run(const std::string& shellSetup) const {
    RunResult r;
    std::string err = elsewhere_.file("stderr.txt");
    std::string cmd =
        "cd '" + elsewhere_.path().string() + "' && " + shellSetup + "'" + file("Brunhale") + "' 2>'" + err + "'";
    int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.stderrText = readFile(err);
    fs::remove(err);
    EXPECT_FALSE(fileExists(elsewhere_.file("decoy.dbf"))) << "Brunhale read the pair of its working folder";
    return r;
}

}  // namespace velmora::testsupport
