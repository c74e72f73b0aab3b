// Putting the files of an output in place: all of them, or none with the earlier output intact; and what
// a killed run left, cleared by the next run of the same output and by no other.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "brunhale/Failure.h"
#include "brunhale/OutputCommit.h"
#include "tests/brunhale/BrunhaleFolder.h"

using namespace velmora::brunhale;
using namespace velmora::testsupport;

namespace {

void put(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

// Registers a new .shp and .dbf (written under their temporary names) and a stale .prj.
void stage(OutputCommit& c) {
    put(c.place(".shp"), "new shp");
    put(c.place(".dbf"), "new dbf");
    c.removeOnCommit(".prj");
}

// A process id that no process has: one past the largest the system hands out.
long deadPid() {
    long max = 0;
    std::ifstream("/proc/sys/kernel/pid_max") >> max;
    return max + 1;
}

}  // namespace

TEST(OutputCommit, ReplacesEarlierFilesAndRemovesAStaleOne) {
    TempFolder dir;
    std::string base = dir.file("out");
    put(base + ".shp", "old shp");
    put(base + ".prj", "stale prj");
    OutputCommit c(base, 11);
    stage(c);
    c.commit();
    EXPECT_EQ(readFile(base + ".shp"), "new shp");
    EXPECT_EQ(readFile(base + ".dbf"), "new dbf");
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"out.dbf", "out.shp"}));
}

TEST(OutputCommit, AFailedRenameUndoesEverything) {
    // The rename fails at each step in turn: while moving the earlier files aside, and while putting the
    // new ones in place.
    for (int failAt = 1; failAt <= 4; ++failAt) {
        TempFolder dir;
        std::string base = dir.file("out");
        put(base + ".shp", "old shp");
        put(base + ".dbf", "old dbf");
        put(base + ".prj", "old prj");
        int calls = 0;
        OutputCommit c(base, 12, [&](const std::string& from, const std::string& to) {
            if (++calls == failAt) {
                errno = EACCES;
                return -1;
            }
            return std::rename(from.c_str(), to.c_str());
        });
        stage(c);
        try {
            c.commit();
            FAIL() << "commit succeeded despite a failed rename at step " << failAt;
        } catch (const Failure& f) {
            EXPECT_EQ(f.code(), ExitCode::NotWritable);
        }
        EXPECT_EQ(readFile(base + ".shp"), "old shp") << failAt;
        EXPECT_EQ(readFile(base + ".dbf"), "old dbf") << failAt;
        EXPECT_EQ(readFile(base + ".prj"), "old prj") << failAt;
        EXPECT_EQ(dir.list(), (std::vector<std::string>{"out.dbf", "out.prj", "out.shp"})) << failAt;
    }
}

TEST(OutputCommit, DiscardedWhenNotCommitted) {
    TempFolder dir;
    {
        OutputCommit c(dir.file("out"), 13);
        put(c.place(".dbf"), "partial");
    }
    EXPECT_TRUE(dir.list().empty());
}

// A name as long as the file system allows for the output still leaves room for its temporaries.
TEST(OutputCommit, TemporariesAreShortWhateverTheOutputName) {
    TempFolder dir;
    const std::string base = dir.file(std::string(251, 'n'));
    OutputCommit c(base, 4194304);
    const std::string temp = c.place(".shp");
    EXPECT_EQ(temp.rfind(dir.path().string() + "/.", 0), 0u) << temp;
    EXPECT_LE(temp.size() - dir.path().string().size() - 1, 32u) << temp;
    put(temp, "x");
    c.commit();
    EXPECT_EQ(readFile(base + ".shp"), "x");
}

TEST(OutputCommit, AFolderInThePlaceOfAnOutputFileIsRefused) {
    for (const char* ext : {".dbf", ".prj"}) {
        TempFolder dir;
        const std::string base = dir.file("out");
        std::filesystem::create_directory(base + ext);
        OutputCommit c(base, 14);
        try {
            c.place(".dbf");
            c.removeOnCommit(".prj");
            FAIL() << ext;
        } catch (const Failure& f) {
            EXPECT_EQ(f.code(), ExitCode::NotWritable);
            EXPECT_NE(std::string(f.what()).find("folder"), std::string::npos) << f.what();
        }
        EXPECT_TRUE(std::filesystem::is_directory(base + ext)) << ext;
        EXPECT_EQ(dir.list(), (std::vector<std::string>{"out" + std::string(ext)})) << ext;
    }
}

TEST(OutputCommit, LeftoversOfAKilledRunOfTheSameOutputAreCleared) {
    TempFolder dir;
    const std::string base = dir.file("roads");
    put(base + ".shp", "earlier shp");
    put(base + ".shx", "new shx");

    // What killed runs left: temporaries, and an earlier .dbf moved aside with nothing in its place; one
    // left by a process that runs still (this test), one of another output, and files of the user.
    const long dead = deadPid();
    const velmora::files::CommitNames killed(base, "", dead), running(base, "", static_cast<long>(::getpid())),
        other(dir.file("rivers"), "", dead);
    put(killed.temporary(".shp"), "partial");
    put(killed.temporary(".prj"), "partial");
    put(killed.movedAside(".dbf"), "earlier dbf");
    put(killed.movedAside(".shx"), "earlier shx");
    put(running.temporary(".dbf"), "being written");
    put(other.temporary(".shp"), "another output's");
    for (const char* mine : {"roads.txt", ".roads.shp", "roads~brunhale-5.shp"}) put(dir.file(mine), "mine");

    OutputCommit next(base, dead + 1);
    next.clearLeftovers();
    EXPECT_FALSE(fileExists(killed.temporary(".shp")));
    EXPECT_FALSE(fileExists(killed.temporary(".prj")));
    EXPECT_FALSE(fileExists(killed.movedAside(".dbf")));
    EXPECT_EQ(readFile(base + ".dbf"), "earlier dbf") << "the earlier .dbf goes back to its name";
    EXPECT_EQ(readFile(base + ".shp"), "earlier shp");
    EXPECT_FALSE(fileExists(killed.movedAside(".shx")));
    EXPECT_EQ(readFile(base + ".shx"), "new shx") << "a file that took its place already stays";
    EXPECT_TRUE(fileExists(running.temporary(".dbf"))) << "a run still going keeps its files";
    EXPECT_TRUE(fileExists(other.temporary(".shp"))) << "another output's leftovers wait for its own next run";
    for (const char* mine : {"roads.txt", ".roads.shp", "roads~brunhale-5.shp"}) EXPECT_TRUE(fileExists(dir.file(mine))) << mine;
}
