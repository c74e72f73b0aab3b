// Replacing an earlier output: every companion that would describe the new files wrongly goes with it, the
// temporaries fit beside any output name, a folder in the way is refused, and a killed run costs nothing
// but leftovers that the next run of the same output clears.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "platform/text/Cp932.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/brunhale/Readback.h"

extern char** environ;

using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

using Replacement = BrunhaleTest;
using Lines = std::vector<std::string>;

Lines pointPair(const std::string& base, int points) {
    Lines h = {"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,2000", "DBFITEM_COUNT,1", "DBFITEM_NAME,名称,C,8,0"};
    for (int i = 1; i <= points; ++i) h.insert(h.end(), {"LINKNO," + std::to_string(i), "DBFITEM,地点" + std::to_string(i)});
    return h;
}

Lines pointCoordinates(int points) {
    Lines d;
    for (int i = 1; i <= points; ++i) d.insert(d.end(), {"LINKIDX," + std::to_string(i), "LINKDATA,135," + std::to_string(30 + i % 10)});
    return d;
}

std::map<std::string, std::string> snapshot(const TempFolder& f, const std::string& sub) {
    std::map<std::string, std::string> m;
    for (const auto& n : f.list(sub)) m[n] = readFile(f.file(sub + "/" + n));
    return m;
}

TEST_F(Replacement, AStaleCodePageFileGoesWithTheOutputItDescribed) {
    for (const char* kind : {"1", "6"}) {
        SCOPED_TRACE(std::string("kind ") + kind);
        const std::string base = out() + "/地点";
        writeLines(base + ".cpg", {"UTF-8"});
        Lines h = pointPair(base, 1);
        h[1] = std::string("SHAPE_TYPE,") + kind + ",2000";
        if (std::string(kind) == "6") h = {h[0], h[1], h[2], h[3], "DBFITEM,地点1"};
        b.writeHeader(h);
        b.writeCoordinates(pointCoordinates(1));
        runOk();
        EXPECT_FALSE(fileExists(base + ".cpg"));
        EXPECT_THAT(ogrinfo(base + ".dbf"), HasSubstr("名称 (String) = 地点1")) << "read as Shift-JIS";
    }

    // A failed run removes nothing: the .cpg goes only together with the output it described.
    const std::string base = out() + "/地点";
    writeLines(base + ".cpg", {"932"});
    b.writeHeader(pointPair(base, 2));
    b.writeCoordinates(pointCoordinates(3));  // a vertex list without its record block
    EXPECT_NE(b.run().exitCode, 0);
    EXPECT_EQ(readFile(base + ".cpg"), "932\r\n");
}

// Temporary names once carried the whole output name and a suffix, and so failed for long names that fit.
TEST_F(Replacement, AnyOutputNameThatFitsCanBeWritten) {
    const std::string name = std::string(250, 'a');
    const std::string base = out() + "/" + name;
    b.writeHeader(pointPair(base, 2));
    b.writeCoordinates(pointCoordinates(2));
    runOk();
    EXPECT_EQ(b.folder().list("out"), (Lines{name + ".dbf", name + ".prj", name + ".shp", name + ".shx"}));
    EXPECT_THAT(ogrinfo(base + ".shp"), HasSubstr("Feature Count: 2"));
}

TEST_F(Replacement, AFolderNamedAsAnOutputFileIsRefused) {
    const std::string base = out() + "/layer";
    std::filesystem::create_directory(base + ".shp");
    writeLines(base + ".shp/inside.txt", {"kept"});
    b.writeHeader(pointPair(base, 1));
    b.writeCoordinates(pointCoordinates(1));
    RunResult r = b.run();
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_THAT(r.stderrText, HasSubstr("cannot replace " + base + ".shp: a folder of that name is in the way"));
    EXPECT_EQ(b.folder().list("out"), (Lines{"layer.shp"})) << "nothing renamed, nothing written";
    EXPECT_EQ(readFile(base + ".shp/inside.txt"), "kept\r\n");

    // A folder in the place of a companion the output would remove: the earlier output stays readable.
    const std::string other = out() + "/earlier";
    b.writeHeader(pointPair(other, 2));
    b.writeCoordinates(pointCoordinates(2));
    runOk();
    std::filesystem::create_directory(other + ".cpg");
    b.writeHeader(pointPair(other, 5));
    b.writeCoordinates(pointCoordinates(5));
    r = b.run();
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_THAT(r.stderrText, HasSubstr("cannot replace " + other + ".cpg: a folder of that name is in the way"));
    EXPECT_TRUE(std::filesystem::is_directory(other + ".cpg"));
    EXPECT_THAT(ogrinfo(other + ".shp"), HasSubstr("Feature Count: 2"));
}

// The coordinate file is a pipe the test holds open, so the run is caught in the middle of its work.
TEST_F(Replacement, AKilledRunLeavesTheEarlierOutputAndTheNextRunClearsItsLeftovers) {
    const std::string base = out() + "/地点";
    b.writeHeader(pointPair(base, 3));
    b.writeCoordinates(pointCoordinates(3));
    runOk();
    const auto earlier = snapshot(b.folder(), "out");

    b.writeHeader(pointPair(base, 100000));
    const std::string fifo = b.file("MakeShapeFile.fil_D");
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &old);  // a run that ended early must not take the test with it

    pid_t pid = -1;
    const std::string program = b.file("Brunhale");
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    // Half the vertex lists: more than the reader's buffers hold, so the run writes, then waits for the rest.
    const int pipe = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(pipe, 0);
    std::string half;
    for (const std::string& l : pointCoordinates(50000)) half += l + "\r\n";
    std::thread feeder([&] {
        for (std::size_t done = 0; done < half.size();) {
            const ssize_t n = ::write(pipe, half.data() + done, half.size() - done);
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    });
    feeder.join();
    auto temporaries = [&] {
        Lines t;
        for (const auto& n : b.folder().list("out"))
            if (n.front() == '.') t.push_back(n);
        return t;
    };
    for (int i = 0; i < 5000 && temporaries().size() < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(pipe);
    ::sigaction(SIGPIPE, &old, nullptr);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before the signal";
    EXPECT_EQ(temporaries().size(), 3u) << "the .shp, .shx and .dbf of the killed run";

    auto now = snapshot(b.folder(), "out");
    for (const auto& t : temporaries()) now.erase(t);
    EXPECT_EQ(now, earlier) << "the earlier output byte for byte";

    std::filesystem::remove(fifo);
    b.writeHeader(pointPair(base, 4));
    b.writeCoordinates(pointCoordinates(4));
    runOk();
    EXPECT_TRUE(temporaries().empty());
    EXPECT_EQ(b.folder().list("out"), (Lines{"地点.dbf", "地点.prj", "地点.shp", "地点.shx"}));
    EXPECT_THAT(ogrinfo(base + ".shp"), HasSubstr("Feature Count: 4"));
}

// Killed before or after any rename of its commit (the build of Brunhale that tests/tools/killat makes):
// the next run of the same output, though it fails (its coordinate file is gone), first settles what the
// killed one left: the earlier set whole, or the new set whole once every new file was in place, and no
// temporary beside it. The earlier set has a .prj that the new one removes.
TEST_F(Replacement, ARunKilledAtAnyRenameOfItsCommitLeavesOneWholeSetToTheNextRun) {
    std::filesystem::copy_file(VELMORA_BINARY_DIR "/tools/brunhale_killable", b.file("Brunhale"),
                               std::filesystem::copy_options::overwrite_existing);
    const std::string base = out() + "/地点";
    auto writeEarlier = [&] {
        b.writeHeader(pointPair(base, 3));
        b.writeCoordinates(pointCoordinates(3));
        runOk();
    };
    Lines next = pointPair(base, 5);
    next[1] = "SHAPE_TYPE,1,-1";
    b.writeHeader(next);
    b.writeCoordinates(pointCoordinates(5));
    runOk();
    const auto newSet = snapshot(b.folder(), "out");

    constexpr int Renames = 7;  // .shp, .shx, .prj and .dbf moved aside; .shp, .shx and .dbf put in place
    for (int at = 1; at <= Renames; ++at) {
        for (const bool afterIt : {false, true}) {
            const std::string point = std::to_string(at) + (afterIt ? "+" : "");
            std::filesystem::remove_all(out());
            std::filesystem::create_directory(out());
            writeEarlier();
            const auto earlier = snapshot(b.folder(), "out");

            b.writeHeader(next);
            b.writeCoordinates(pointCoordinates(5));
            ::setenv("VELMORA_KILL_AT_RENAME", point.c_str(), 1);
            const RunResult killed = b.run();
            ::unsetenv("VELMORA_KILL_AT_RENAME");
            EXPECT_NE(killed.exitCode, 0) << point;

            std::filesystem::remove(b.file("MakeShapeFile.fil_D"));
            EXPECT_EQ(b.run().exitCode, 2) << point;
            EXPECT_EQ(snapshot(b.folder(), "out"), at == Renames && afterIt ? newSet : earlier) << "killed at rename " << point;
        }
    }
}

}  // namespace
