#include "convert/core/ProgramRunner.h"

#include <gtest/gtest.h>

#include "tests/platform/process/TestFolder.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora::modCommon {
namespace {

namespace fs = std::filesystem;

// The shape writer gets no arguments: the test program reads what to do from VELMORA_CHILD.
std::int32_t runChild(const std::string& what, std::int32_t timeoutMs = -1, const std::string& path = VELMORA_TEST_CHILD) {
    setenv("VELMORA_CHILD", what.c_str(), 1);
    const std::int32_t code = RunProcessWait(path, 1, timeoutMs);
    unsetenv("VELMORA_CHILD");
    return code;
}

TEST(RunProcessWait, GivesTheExitCode) {
    EXPECT_EQ(runChild("exit 0"), 0);
    EXPECT_EQ(runChild("exit 3"), 3);
    EXPECT_EQ(runChild("sleep 10", 20000), 0);
}

TEST(RunProcessWait, WindowStyleChangesNothing) {
    for (std::int32_t style : {0, 1, 5, 6}) {
        setenv("VELMORA_CHILD", "exit 7", 1);
        EXPECT_EQ(RunProcessWait(VELMORA_TEST_CHILD, style, -1), 7) << style;
    }
    unsetenv("VELMORA_CHILD");
}

// A crash of the shape writer must not read as success (0), nor as a time-out (259).
TEST(RunProcessWait, ProgramKilledBySignalIsAFailure) {
    for (const char* what : {"signal 9", "signal 15", "signal 1"}) {
        const std::int32_t code = runChild(what);
        EXPECT_NE(code, 0) << what;
        EXPECT_NE(code, StillActive) << what;
        EXPECT_NE(code, -1) << what;
    }
}

using RunProcessWaitFolder = testsupport::TestFolder;

TEST_F(RunProcessWaitFolder, ProgramThatDoesNotExistGivesMinusOne) {
    EXPECT_EQ(RunProcessWait((dir / "Brunhale").string(), 1, -1), -1);
    EXPECT_EQ(RunProcessWait((dir / "Brunhale").string(), 1, 100), -1);
    EXPECT_EQ(RunProcessWait(dir.string(), 1, -1), -1);
}

// A program folder with a blank: the path cut at the blank names another program, which answers 99
// whatever it is given.
TEST_F(RunProcessWaitFolder, ProgramFolderWithBlanksRunsTheExactPath) {
    fs::create_directories(dir / "Velmora 1.0");
    std::ofstream(dir / "Velmora") << "#!/bin/sh\nexit 99\n";
    fs::permissions(dir / "Velmora", fs::perms::owner_all);
    ASSERT_EQ(RunProcessWait((dir / "Velmora").string(), 1, -1), 99);
    fs::copy_file(VELMORA_TEST_CHILD, dir / "Velmora 1.0" / "Brunhale");
    EXPECT_EQ(runChild("exit 0", -1, (dir / "Velmora 1.0" / "Brunhale").string()), 0);
}

TEST_F(RunProcessWaitFolder, TimeOutGives259AndLeavesTheProgramRunning) {
    const fs::path pidFile = dir / "pid";
    setenv("VELMORA_CHILD_PIDFILE", pidFile.c_str(), 1);
    EXPECT_EQ(runChild("sleep 20000", 100), StillActive);
    unsetenv("VELMORA_CHILD_PIDFILE");
    long pid = 0;
    for (int i = 0; i < 200 && pid == 0; ++i) {
        std::ifstream(pidFile) >> pid;
        if (pid == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(pid, 0);
    int status = 0;
    EXPECT_EQ(waitpid(static_cast<pid_t>(pid), &status, WNOHANG), 0) << "the program no longer runs";
    kill(static_cast<pid_t>(pid), SIGKILL);
    waitpid(static_cast<pid_t>(pid), &status, 0);
}

// What a failing writer says is its reason for the log; when it says nothing, how it ended is.
TEST_F(RunProcessWaitFolder, TheCapturingRunKeepsWhatTheProgramSaid) {
    const std::string missing = (dir / "Brunhale").string();
    const struct {
        const char* what;
        std::string path;
        std::int32_t code;
        std::string said;
    } cases[] = {
        {"exit 0", VELMORA_TEST_CHILD, 0, ""},
        {"stderr 12", VELMORA_TEST_CHILD, 3, "xxxxxxxxend\n"},
        {"signal 9", VELMORA_TEST_CHILD, 128 + SIGKILL, std::string(VELMORA_TEST_CHILD) + ": ended by signal 9"},
        {"exit 0", missing, -1, missing + ": cannot be started: No such file or directory"},
    };
    for (const auto& c : cases) {
        setenv("VELMORA_CHILD", c.what, 1);
        std::string said = "before";
        EXPECT_EQ(RunProcessWait(c.path, 1, -1, said), c.code) << c.what;
        EXPECT_EQ(said, c.said) << c.what;
    }
    unsetenv("VELMORA_CHILD");
}

}  // namespace
}  // namespace velmora::modCommon
