// Running the shape writer: the real Brunhale writes the output the pair names; a writer that fails (a
// stand-in exiting with a chosen code, or none at all) brings the failure box, and the pair is kept or
// deleted as the caller's lifecycle says.
#include <gtest/gtest.h>
#include <shapefil.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/brunhale/Readback.h"

using namespace velmora;
using namespace velmora::shapedesc;
namespace fs = std::filesystem;

namespace {

class RunShapeWriter : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(folder.file("out")); }

    void installRealWriter() { fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", folder.file("Brunhale")); }
    void installStandIn(int exitCode) {
        std::ofstream(folder.file("Brunhale")) << "#!/bin/sh\nexit " << exitCode << "\n";
        ::chmod(folder.file("Brunhale").c_str(), 0755);
    }
    // Two stations through the writer functions, as a converter writes them.
    void writeStations(const std::string& outputPath) {
        openPair();
        text::LineWriter& h = conversionState().FilHFileNo.file();
        text::LineWriter& d = conversionState().FilDFileNo.file();
        writeMakeFileName(h, shapeBaseName(outputPath) + "_駅名");
        writeShapeType(h, Kind::Point, 2000);
        writeFieldCount(h, 2);
        writeFieldName(h, text::toCp932("属性番号"), "N", 12);
        writeFieldName(h, text::toCp932("駅名"), "C", 56);
        const char* names[] = {"東京", "有楽町,新橋"};
        for (int i = 0; i < 2; ++i) {
            writeLinkIdx(d, 1);
            writeLinkData(d, 139.766084 - i * 0.003, 35.681382 - i * 0.006);
            writeLinkNo(h, 1);
            std::vector<std::string> values = {std::to_string(100 + i), text::toCp932(names[i])};
            writeDbfItem(h, values);
        }
        closePair();
    }
    bool pairOnDisk() const { return fs::exists(headerFilePath()) && fs::exists(coordinateFilePath()); }

    testsupport::TempProgramFolder folder;
    ui::TestUi ui;
};

TEST_F(RunShapeWriter, RealWriterWritesTheNamedOutput) {
    installRealWriter();
    writeStations(folder.file("out/rail.shp"));
    EXPECT_TRUE(runShapeWriterOnPair(PairDeletion::Always));
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_FALSE(fs::exists(headerFilePath()));
    EXPECT_FALSE(fs::exists(coordinateFilePath()));

    std::string base = folder.file("out/rail_駅名");
    testsupport::ShapefileRead s = testsupport::readShapefile(base);
    EXPECT_EQ(s.type, SHPT_POINT);
    ASSERT_EQ(s.shapes.size(), 2u);
    EXPECT_EQ(s.shapes[1].vertices[0], (std::pair<double, double>{139.763084, 35.675382}));
    testsupport::TableRead t = testsupport::readTable(base + ".dbf");
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[1][1], "有楽町，新橋") << "the comma of the value did not shift the fields";
    EXPECT_TRUE(fs::exists(base + ".prj"));
}

struct FailureCase {
    const char* what;
    int exitCode;  // -1: no writer in the program folder
    PairDeletion deletion;
    bool pairKept;
};

class RunShapeWriterFails : public RunShapeWriter, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RunShapeWriterFails, ShowsTheFailureAndDisposesOfThePair) {
    const FailureCase& c = GetParam();
    if (c.exitCode >= 0) installStandIn(c.exitCode);
    writeStations(folder.file("out/rail.shp"));
    ui.answer(ui::Answer::Ok);
    EXPECT_FALSE(runShapeWriterOnPair(c.deletion));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ui.boxes()[0].buttons, ui::Buttons::Ok);
    EXPECT_EQ(pairOnDisk(), c.pairKept) << c.what;
    EXPECT_TRUE(fs::is_empty(folder.file("out")));
}

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(
    Cases, RunShapeWriterFails,
    ::testing::Values(FailureCase{"line writers delete the pair after a failure", 3, PairDeletion::Always, false},
                      FailureCase{"point and table jobs keep it for the next job", 3, PairDeletion::AfterSuccess, true},
                      FailureCase{"runs over moved files leave it to their caller", 1, PairDeletion::Never, true},
                      FailureCase{"a writer that cannot be started is a failure", -1, PairDeletion::Always, false}));

TEST_F(RunShapeWriter, SuccessDeletesThePairOnlyWhenAsked) {
    installStandIn(0);
    writeStations(folder.file("out/rail.shp"));
    EXPECT_TRUE(runShapeWriterOnPair(PairDeletion::Never));
    EXPECT_TRUE(pairOnDisk());
    EXPECT_TRUE(runShapeWriterOnPair(PairDeletion::AfterSuccess));
    EXPECT_FALSE(pairOnDisk());
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(RunShapeWriter, TablesShowTheirOwnFailureText) {
    installStandIn(2);
    writeStations(folder.file("out/rail.shp"));
    ui.answer(ui::Answer::Ok);
    EXPECT_FALSE(runShapeWriterOnPair(PairDeletion::AfterSuccess, "DBFﾌｧｲﾙの作成に失敗しました。"));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "DBFﾌｧｲﾙの作成に失敗しました。");
}

// The writer's reason, once lost on its standard error, follows the failure line in the job's log, in
// CP932 and on one line; the box stays as it was.
TEST_F(RunShapeWriter, TheWritersReasonFollowsTheFailureLineInTheLog) {
    const struct {
        const char* what;
        std::string script;  // what the stand-in writes to standard error before it exits
        std::string logged;  // UTF-8
    } cases[] = {
        {"one line", "printf 'Brunhale: cannot replace /out/駅.shp: a folder of that name is in the way\\n' >&2",
         "Shapeﾌｧｲﾙの作成に失敗しました。\r\nBrunhale: cannot replace /out/駅.shp: a folder of that name is in the way\r\n"},
        {"several lines, a character without a Shift-JIS form", "printf 'first\\nsecond \\360\\237\\230\\200\\n' >&2",
         "Shapeﾌｧｲﾙの作成に失敗しました。\r\nfirst second ?\r\n"},
        {"nothing said: only the failure line", "true", "Shapeﾌｧｲﾙの作成に失敗しました。\r\n"},
    };
    for (const auto& c : cases) {
        std::ofstream(folder.file("Brunhale")) << "#!/bin/sh\n" << c.script << "\nexit 4\n";
        ::chmod(folder.file("Brunhale").c_str(), 0755);
        writeStations(folder.file("out/rail.shp"));
        ConversionState& s = conversionState();
        s.LogFilePath = folder.file("Log/job.log");
        s.LogFileNo.open(s.LogFilePath, text::LineWriter::Mode::Replace);
        ui.answer(ui::Answer::Ok);
        EXPECT_FALSE(runShapeWriterOnPair(PairDeletion::Always)) << c.what;
        s.LogFileNo.close();
        std::ifstream in(s.LogFilePath, std::ios::binary);
        const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(log, text::toCp932(c.logged)) << c.what;
    }
    ASSERT_EQ(ui.boxes().size(), 3u);
    EXPECT_EQ(ui.boxes()[2].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
}

// The real writer refusing a folder in the place of its output: the folder stays, the reason is logged.
TEST_F(RunShapeWriter, TheRealWritersReasonIsLogged) {
    installRealWriter();
    fs::create_directory(folder.file("out/rail_駅名.dbf"));
    writeStations(folder.file("out/rail.shp"));
    ConversionState& s = conversionState();
    s.LogFilePath = folder.file("Log/job.log");
    s.LogFileNo.open(s.LogFilePath, text::LineWriter::Mode::Replace);
    ui.answer(ui::Answer::Ok);
    EXPECT_FALSE(runShapeWriterOnPair(PairDeletion::Always));
    s.LogFileNo.close();
    std::ifstream in(s.LogFilePath, std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text::fromCp932(log), "Shapeﾌｧｲﾙの作成に失敗しました。\r\nBrunhale: cannot replace " +
                                        folder.file("out/rail_駅名.dbf") + ": a folder of that name is in the way\r\n");
    EXPECT_TRUE(fs::is_directory(folder.file("out/rail_駅名.dbf")));
}

}  // namespace
