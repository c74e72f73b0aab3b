// Putting the files of an output in place: all of them, or none with the earlier output intact.
#include <gtest/gtest.h>

#include <fstream>

#include "brunhale/Failure.h"
#include "brunhale/OutputCommit.h"
#include "tests/brunhale/BrunhaleFolder.h"

using namespace velmora::brunhale;
using namespace velmora::testsupport;

namespace {

void put(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

// Registers a new .shp and .dbf of base (written under their temporary names) and a stale .prj.
void stage(OutputCommit& c, const std::string& base) {
    std::string temp = c.temporaryBase(base);
    c.place(temp + ".shp", base + ".shp");
    c.place(temp + ".dbf", base + ".dbf");
    c.removeOnCommit(base + ".prj");
    put(temp + ".shp", "new shp");
    put(temp + ".dbf", "new dbf");
}

}  // namespace

TEST(OutputCommit, ReplacesEarlierFilesAndRemovesAStaleOne) {
    TempFolder dir;
    std::string base = dir.file("out");
    put(base + ".shp", "old shp");
    put(base + ".prj", "stale prj");
    OutputCommit c("t1");
    stage(c, base);
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
        OutputCommit c("t2", [&](const std::string& from, const std::string& to) {
            if (++calls == failAt) {
                errno = EACCES;
                return -1;
            }
            return std::rename(from.c_str(), to.c_str());
        });
        stage(c, base);
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
        OutputCommit c("t3");
        std::string temp = c.temporaryBase(dir.file("out"));
        c.place(temp + ".dbf", dir.file("out.dbf"));
        put(temp + ".dbf", "partial");
    }
    EXPECT_TRUE(dir.list().empty());
}
