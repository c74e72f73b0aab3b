// A failed run: its own exit code, one line on stderr saying why, no partial files, the earlier output
// of the same name untouched.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "tests/brunhale/BrunhaleFolder.h"

using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

using Lines = std::vector<std::string>;

struct FailureCase {
    const char* what;
    Lines header;                       // "@" stands for the output base
    std::optional<Lines> coordinates;   // nullopt: no coordinate file
    int exitCode;
    const char* reason;
};

const Lines kPointHead = {"MAKEFILE_NAME,@", "SHAPE_TYPE,1,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,N,N,3,0"};
const Lines kLineHead = {"MAKEFILE_NAME,@", "SHAPE_TYPE,4,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,N,N,3,0"};

Lines plus(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// n point records after kPointHead and their vertex lists: enough work for the shapes, read and written
// beside the table, to run ahead of it or fall behind. Record i is header lines 3 + 2i ("LINKNO") and
// 4 + 2i ("DBFITEM"); its vertex list coordinate lines 2i - 1 and 2i.
constexpr int kMany = 3000;
Lines manyPointRecords() {
    Lines h = kPointHead;
    for (int i = 1; i <= kMany; ++i) {
        h.push_back("LINKNO," + std::to_string(i));
        h.push_back("DBFITEM," + std::to_string(i % 1000));
    }
    return h;
}
Lines manyPointLists() {
    Lines d;
    for (int i = 1; i <= kMany; ++i) {
        d.push_back("LINKIDX," + std::to_string(i));
        d.push_back("LINKDATA,135,35");
    }
    return d;
}
// lines with line number `line` (1-based) replaced.
Lines with(Lines lines, std::size_t line, const std::string& text) {
    lines.at(line - 1) = text;
    return lines;
}

const FailureCase kCases[] = {
    {"coordinate file missing", plus(kPointHead, {"LINKNO,1", "DBFITEM,1"}), std::nullopt, 2, "MakeShapeFile.fil_D not found"},
    {"coordinate that is not a number", plus(kPointHead, {"LINKNO,1", "DBFITEM,1"}), Lines{"LINKIDX,1", "LINKDATA,1,x"}, 3,
     "MakeShapeFile.fil_D line 2:"},
    {"coordinate of Japanese text, quoted as it reads", plus(kPointHead, {"LINKNO,1", "DBFITEM,1"}),
     Lines{"LINKIDX,1", "LINKDATA,経度,緯度"}, 3, "MakeShapeFile.fil_D line 2: coordinate \"経度,緯度\" is not a pair of numbers"},
    {"long quoted value cut after 24 characters", plus(kPointHead, {"LINKNO,1", "DBFITEM,1"}),
     Lines{"LINKIDX,1", "LINKDATA,一二三四五六七八九十一二三四五六七八九十一二三四五六,1"}, 3,
     "coordinate \"一二三四五六七八九十一二三四五六七八九十一二三四...\""},
    {"unknown key in the header file", plus(kPointHead, {"LINKNO,1", "DBFITEM,1", "FOO,1"}), Lines{"LINKIDX,1", "LINKDATA,1,2"},
     3, "MakeShapeFile.fil_H line 7:"},
    {"unknown shape kind", {"MAKEFILE_NAME,@", "SHAPE_TYPE,5,-1", "DBFITEM_COUNT,0"}, Lines{}, 3, "MakeShapeFile.fil_H line 2:"},
    {"fewer field lines than the count", {"MAKEFILE_NAME,@", "SHAPE_TYPE,6,-1", "DBFITEM_COUNT,2", "DBFITEM_NAME,N,N,3,0",
     "DBFITEM,1,2"}, std::nullopt, 3, "line 5: expected DBFITEM_NAME"},
    {"point count disagreeing with the vertex list", plus(kLineHead, {"LINKNO,1", "BOX,0,0,1,1", "PARTS_POINTS,1,3", "PARTIDX,0",
     "DBFITEM,1"}), Lines{"LINKIDX,1", "LINKDATA,0,0", "LINKDATA,1,1"}, 3, "PARTS_POINTS"},
    {"part starts disagreeing with the part count", plus(kLineHead, {"LINKNO,1", "BOX,0,0,1,1", "PARTS_POINTS,2,3", "PARTIDX,0",
     "DBFITEM,1"}), Lines{"LINKIDX,1", "LINKDATA,0,0", "LINKDATA,1,1", "LINKDATA,2,2"}, 3, "line 8: PARTIDX has 1 values for 2 parts"},
    {"part start beyond the points", plus(kLineHead, {"LINKNO,1", "BOX,0,0,1,1", "PARTS_POINTS,2,3", "PARTIDX,0,3",
     "DBFITEM,1"}), Lines{"LINKIDX,1", "LINKDATA,0,0", "LINKDATA,1,1", "LINKDATA,2,2"}, 3, "line 8: PARTIDX must start at 0"},
    {"vertex list without record block", plus(kPointHead, {"LINKNO,1", "DBFITEM,1"}),
     Lines{"LINKIDX,1", "LINKDATA,1,2", "LINKIDX,2", "LINKDATA,3,4"}, 3, "MakeShapeFile.fil_D line 3: vertex list 2"},
    {"point with two vertices", plus(kPointHead, {"LINKNO,1", "DBFITEM,1"}), Lines{"LINKIDX,1", "LINKDATA,1,2", "LINKDATA,3,4"},
     3, "MakeShapeFile.fil_D line 1: point 1 has 2 vertices"},
    {"number wider than its field", plus(kPointHead, {"LINKNO,1", "DBFITEM,1", "LINKNO,2", "DBFITEM,1000"}),
     Lines{"LINKIDX,1", "LINKDATA,1,2", "LINKIDX,2", "LINKDATA,1,2"}, 3,
     "MakeShapeFile.fil_H line 7: value \"1000\" is wider than field 1 (N, width 3)"},
    {"record block cut short", plus(kLineHead, {"LINKNO,1", "BOX,0,0,1,1"}), Lines{}, 3, "ends before PARTS_POINTS"},
    // Two faults, one met by the shapes and one by the table or the record blocks: the first in reading
    // order is the one reported, whichever was found first.
    {"a value too wide before a broken vertex list read ahead", with(manyPointRecords(), 14, "DBFITEM,1000"),
     with(manyPointLists(), 2 * 2500, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_H line 13: value \"1000\" is wider"},
    {"a broken vertex list before a value too wide", with(manyPointRecords(), 4 + 2 * 2500, "DBFITEM,1000"),
     with(manyPointLists(), 2 * 5, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_D line 10: coordinate \"1,x\""},
    {"a broken vertex list before a broken record block", with(manyPointRecords(), 3 + 2 * 2500, "LINKNO,x"),
     with(manyPointLists(), 2 * 5, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_D line 10: coordinate \"1,x\""},
    {"a broken record block before a broken vertex list", with(manyPointRecords(), 3 + 2 * 5, "LINKNO,x"),
     with(manyPointLists(), 2 * 2500, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_H line 13: LINKNO needs a whole number"},
    {"a vertex list left over after a value too wide in the last record",
     with(manyPointRecords(), 4 + 2 * kMany, "DBFITEM,1000"), plus(manyPointLists(), {"LINKIDX,9999", "LINKDATA,1,2"}), 3,
     "value \"1000\" is wider"},
    {"a value too wide before a broken record block", with(with(manyPointRecords(), 14, "DBFITEM,1000"), 3 + 2 * 2500, "LINKNO,x"),
     manyPointLists(), 3, "MakeShapeFile.fil_H line 13: value \"1000\" is wider"},
    {"a value too wide in the record before a broken vertex list", with(manyPointRecords(), 14, "DBFITEM,1000"),
     with(manyPointLists(), 2 * 6, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_H line 13: value \"1000\" is wider"},
    {"a broken vertex list in the record before a value too wide", with(manyPointRecords(), 16, "DBFITEM,1000"),
     with(manyPointLists(), 2 * 5, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_D line 10: coordinate \"1,x\""},
    {"a broken vertex list and a value too wide in the same record", with(manyPointRecords(), 14, "DBFITEM,1000"),
     with(manyPointLists(), 2 * 5, "LINKDATA,1,x"), 3, "MakeShapeFile.fil_D line 10: coordinate \"1,x\""},
    {"a shape before the row of the same record", plus(kLineHead, {"LINKNO,1", "BOX,0,0,1,1", "PARTS_POINTS,1,3", "PARTIDX,0",
     "DBFITEM,1000"}), Lines{"LINKIDX,1", "LINKDATA,0,0", "LINKDATA,1,1"}, 3, "PARTS_POINTS of 1 gives 3 points"},
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.what; }

class Failures : public ::testing::TestWithParam<FailureCase> {};

std::map<std::string, std::string> snapshot(const TempFolder& f, const std::string& sub) {
    std::map<std::string, std::string> m;
    for (const auto& n : f.list(sub)) m[n] = readFile(f.file(sub + "/" + n));
    return m;
}

TEST_P(Failures, LeaveTheEarlierOutputAsItWas) {
    const FailureCase& c = GetParam();
    BrunhaleFolder b;
    std::filesystem::create_directory(b.file("out"));
    std::string base = b.file("out/layer");

    // An earlier output of the same name, with a projection file.
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,0", "DBFITEM_COUNT,1", "DBFITEM_NAME,N,N,3,0", "LINKNO,1",
                   "DBFITEM,9"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,135,35"});
    ASSERT_EQ(b.run().exitCode, 0);
    auto before = snapshot(b.folder(), "out");
    ASSERT_EQ(before.size(), 4u);

    Lines h = c.header;
    for (auto& l : h)
        if (l == "MAKEFILE_NAME,@") l = "MAKEFILE_NAME," + base;
    b.writeHeader(h);
    std::filesystem::remove(b.file("MakeShapeFile.fil_D"));
    if (c.coordinates) b.writeCoordinates(*c.coordinates);

    RunResult r = b.run();
    EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.stderrText;
    EXPECT_THAT(r.stderrText, HasSubstr(c.reason)) << c.what;
    ASSERT_FALSE(r.stderrText.empty());
    EXPECT_EQ(r.stderrText.find('\n'), r.stderrText.size() - 1) << "one line: " << r.stderrText;
    EXPECT_EQ(snapshot(b.folder(), "out"), before) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Pairs, Failures, ::testing::ValuesIn(kCases));

// A write that fails in one half while the other half goes on (a file size limit that one output
// passes and the other does not): the failing file is named, nothing new is left, the earlier output stays.
struct WriteFailureCase {
    const char* what;
    int vertices;      // per shape: a polyline of many vertices makes a large .shp
    int fields;        // text fields of 254 bytes: many make a large .dbf
    const char* file;  // the one named
};

class WriteFailures : public ::testing::TestWithParam<WriteFailureCase> {};

TEST_P(WriteFailures, NameTheFileThatCouldNotBeWritten) {
    const WriteFailureCase& c = GetParam();
    BrunhaleFolder b;
    std::filesystem::create_directory(b.file("out"));
    const std::string base = b.file("out/layer");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,0", "DBFITEM_COUNT,1", "DBFITEM_NAME,N,N,3,0", "LINKNO,1",
                   "DBFITEM,9"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,135,35"});
    ASSERT_EQ(b.run().exitCode, 0);
    const auto before = snapshot(b.folder(), "out");

    // About 3 MB of the large output, at most some 200 KB of the small one.
    const int shapes = 2000;
    Lines h = {"MAKEFILE_NAME," + base, "SHAPE_TYPE,3,0", "DBFITEM_COUNT," + std::to_string(c.fields)};
    for (int f = 0; f < c.fields; ++f) h.push_back("DBFITEM_NAME,T" + std::to_string(f) + ",C,254,0");
    Lines d;
    for (int i = 1; i <= shapes; ++i) {
        h.insert(h.end(), {"LINKNO," + std::to_string(i), "BOX,0,0,1,1", "PARTS_POINTS,1," + std::to_string(c.vertices),
                           "PARTIDX,0", "DBFITEM,x"});
        d.push_back("LINKIDX," + std::to_string(i));
        for (int v = 0; v < c.vertices; ++v) d.push_back("LINKDATA," + std::to_string(v) + ",1");
    }
    b.writeHeader(h);
    b.writeCoordinates(d);

    // 1 MB (in blocks of 512 or 1024 bytes); a write past it fails with EFBIG instead of a signal.
    RunResult r = b.run("trap '' XFSZ && ulimit -f 2048 && ");
    EXPECT_EQ(r.exitCode, 4) << r.stderrText;
    EXPECT_THAT(r.stderrText, HasSubstr(std::string(c.file) + ": write failed: File too large")) << r.stderrText;
    EXPECT_EQ(r.stderrText.find('\n'), r.stderrText.size() - 1) << "one line: " << r.stderrText;
    EXPECT_TRUE(snapshot(b.folder(), "out") == before) << "the earlier output changed";
}

const WriteFailureCase kWriteFailures[] = {
    {"the table half fails", 2, 6, ".dbf"},
    {"the shape half fails", 100, 0, ".shp"},
};

void PrintTo(const WriteFailureCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(Halves, WriteFailures, ::testing::ValuesIn(kWriteFailures));

TEST(Failure, HeaderFileMissing) {
    BrunhaleFolder b;
    RunResult r = b.run();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_THAT(r.stderrText, HasSubstr("MakeShapeFile.fil_H not found"));
}

TEST(Failure, OutputFolderMissing) {
    BrunhaleFolder b;
    b.writeHeader({"MAKEFILE_NAME," + b.file("no/such/folder/x"), "SHAPE_TYPE,6,-1", "DBFITEM_COUNT,1",
                   "DBFITEM_NAME,N,N,3,0", "DBFITEM,1"});
    RunResult r = b.run();
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_THAT(r.stderrText, HasSubstr("cannot create"));
}

}  // namespace

namespace {

TEST(Failure, RecordTooLongForDbase) {
    // 300 text fields of 254 bytes make a record longer than dBASE's 65,535 bytes.
    BrunhaleFolder b;
    std::vector<std::string> h = {"MAKEFILE_NAME," + b.file("big"), "SHAPE_TYPE,6,-1", "DBFITEM_COUNT,300"};
    for (int i = 0; i < 300; ++i) h.push_back("DBFITEM_NAME,F" + std::to_string(i) + ",C,254,0");
    b.writeHeader(h);
    RunResult r = b.run();
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_THAT(r.stderrText, HasSubstr("too many or too wide fields"));
    EXPECT_EQ(b.folder().list(), (std::vector<std::string>{"Brunhale", "MakeShapeFile.fil_H"}));
}

TEST(Failure, OutputNameThatIsNotShiftJis) {
    BrunhaleFolder b;
    // 0x81 must be followed by a second byte of a character; a blank is none.
    std::ofstream(b.file("MakeShapeFile.fil_H"), std::ios::binary)
        << "MAKEFILE_NAME," << b.file("x\x81 y") << "\r\nSHAPE_TYPE,6,-1\r\nDBFITEM_COUNT,0\r\n";
    RunResult r = b.run();
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_THAT(r.stderrText, HasSubstr("MakeShapeFile.fil_H line 1:"));
}

}  // namespace
