#include "platform/process/RunProgram.h"

#include <gtest/gtest.h>

#include "tests/platform/process/TestFolder.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora::process {
namespace {

namespace fs = std::filesystem;
using Outcome = RunResult::Outcome;

struct Case {
    const char* name;
    std::vector<std::string> args;
    Outcome outcome;
    int code;  // exit code or signal
};

TEST(RunProgram, GivesTheWayTheProgramEnded) {
    const Case cases[] = {
        {"success", {"exit", "0"}, Outcome::Exited, 0},
        {"failure code", {"exit", "3"}, Outcome::Exited, 3},
        {"highest code", {"exit", "255"}, Outcome::Exited, 255},
        {"killed", {"signal", "9"}, Outcome::Signalled, SIGKILL},
        {"terminated", {"signal", "15"}, Outcome::Signalled, SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = runProgram(VELMORA_TEST_CHILD, c.args);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(c.outcome == Outcome::Exited ? r.exitCode : r.signal, c.code);
    }
}

using RunProgramFiles = testsupport::TestFolder;

TEST_F(RunProgramFiles, ProgramThatCannotStartIsNotStarted) {
    const fs::path plain = dir / "plain.txt";
    std::ofstream(plain) << "not a program\n";
    const std::pair<fs::path, int> cases[] = {{dir / "missing", ENOENT}, {plain, EACCES}, {dir, EACCES}};
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(path.string());
        const RunResult r = runProgram(path.string());
        EXPECT_EQ(r.outcome, Outcome::NotStarted);
        EXPECT_EQ(r.startError, error);
    }
}

// The path is one path: split at its blank it would name the program "my", which answers 99.
TEST_F(RunProgramFiles, PathWithBlanksIsRunExactly) {
    fs::create_directories(dir / "my prog");
    fs::copy_file(VELMORA_TEST_CHILD, dir / "my");
    fs::copy_file(VELMORA_TEST_CHILD, dir / "my prog" / "child; exit 5");
    const RunResult r = runProgram((dir / "my prog" / "child; exit 5").string(), {"exit", "4"});
    EXPECT_EQ(r.outcome, Outcome::Exited);
    EXPECT_EQ(r.exitCode, 4);
}

TEST(RunProgram, TimeOutLeavesTheProgramRunning) {
    const RunResult r = runProgram(VELMORA_TEST_CHILD, {"sleep", "20000"}, 50);
    ASSERT_EQ(r.outcome, Outcome::TimedOut);
    ASSERT_GT(r.pid, 0);
    EXPECT_EQ(kill(r.pid, 0), 0) << "the program no longer runs";
    kill(r.pid, SIGKILL);
    int status = 0;
    waitpid(r.pid, &status, 0);
}

// A program does not outlive the thread that started it: a job killed while its writer runs takes the
// writer with it.
TEST(RunProgram, AProgramEndsWithTheThreadThatStartedIt) {
    RunResult r;
    std::thread([&] { r = runProgram(VELMORA_TEST_CHILD, {"sleep", "20000"}, 50); }).join();
    ASSERT_EQ(r.outcome, Outcome::TimedOut);
    int status = 0;
    ASSERT_EQ(waitpid(r.pid, &status, 0), r.pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
}

// A descriptor passed to programs (a lock the caller holds) is theirs too while they run; others are not.
TEST_F(RunProgramFiles, APassedDescriptorIsHeldByTheProgramToo) {
    const std::string lockFile = (dir / "lock").string(), other = (dir / "other").string();
    const int passed = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    const int kept = ::open(other.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_EQ(flock(passed, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(flock(kept, LOCK_EX | LOCK_NB), 0);
    passToPrograms(passed);
    const RunResult r = runProgram(VELMORA_TEST_CHILD, {"sleep", "20000"}, 50);
    stopPassing(passed);
    ASSERT_EQ(r.outcome, Outcome::TimedOut);
    ::close(passed);
    ::close(kept);
    auto takenBy = [](const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return !free;
    };
    EXPECT_TRUE(takenBy(lockFile));
    EXPECT_FALSE(takenBy(other));
    kill(r.pid, SIGKILL);
    waitpid(r.pid, nullptr, 0);
    EXPECT_FALSE(takenBy(lockFile));
}

TEST(RunProgram, ProgramEndingWithinTheTimeOutGivesItsCode) {
    const RunResult r = runProgram(VELMORA_TEST_CHILD, {"sleep", "20"}, 20000);
    EXPECT_EQ(r.outcome, Outcome::Exited);
    EXPECT_EQ(r.exitCode, 0);
}

// A caller that ignores SIGPIPE (as GUI programs often do) must not hand that on: a writer whose output
// pipe is closed would otherwise go on and could report success.
TEST(RunProgram, ChildStartsWithDefaultSignalActions) {
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old);
    const RunResult r = runProgram(VELMORA_TEST_CHILD, {"pipe", "1"});
    sigaction(SIGPIPE, &old, nullptr);
    EXPECT_EQ(r.outcome, Outcome::Signalled);
    EXPECT_EQ(r.signal, SIGPIPE);
}

// The reason a program gives for its failure stands at the end of its standard error: the end is kept,
// whatever comes before, and a program writing more than a pipe holds never waits for its reader.
TEST(RunProgram, CapturedStandardErrorKeepsItsLastBytes) {
    const struct {
        long bytes;
        long timeoutMs;
    } cases[] = {{0, -1}, {12, -1}, {4096, -1}, {4097, -1}, {300000, -1}, {300000, 20000}, {12, 20000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bytes) + " bytes, time-out " + std::to_string(c.timeoutMs));
        const RunResult r = runProgram(VELMORA_TEST_CHILD, {"stderr", std::to_string(c.bytes)}, c.timeoutMs,
                                       StandardError::Captured);
        ASSERT_EQ(r.outcome, Outcome::Exited);
        EXPECT_EQ(r.exitCode, 3);
        const std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(c.bytes), StderrTailBytes);
        EXPECT_EQ(r.stderrTail.size(), kept);
        if (c.bytes >= 4) {
            EXPECT_EQ(r.stderrTail.substr(r.stderrTail.size() - 4), "end\n");
        }
    }
}

TEST(RunProgram, StandardErrorIsLeftToTheProgramUnlessCaptured) {
    const RunResult r = runProgram(VELMORA_TEST_CHILD, {"stderr", "0"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.stderrTail, "");
    const RunResult missing = runProgram("/nonexistent/program", {}, -1, StandardError::Captured);
    EXPECT_EQ(missing.outcome, Outcome::NotStarted);
    EXPECT_EQ(missing.startError, ENOENT);
}

}  // namespace
}  // namespace velmora::process
