// Whole jobs through the headless job runner, as the convert button runs them: catalogue rows, generated
// input files, and the outputs read back with ogrinfo.
#include <gmock/gmock.h>

#include <filesystem>

#include "tests/app/jobs/JobRunFixture.h"
#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

const std::vector<CatalogueItem> kBeachItems = {
    {"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true}, {"人数", "Long", 29, 8, true}};

class JobRunTest : public JobRunFixture {
protected:
    JobRunTest() {
        writeCatalogue(program_.path(),
                       {{CatalogKind::Point, 0, "漁港", "P02", {{"漁港名", "Text", 11, 10, true}}},
                        {CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                        {CatalogKind::Attr, 3, "海水浴台帳", "W07", kBeachItems}});
    }
};

TEST_F(JobRunTest, ALineJobOverTwoFilesWritesOneShapefileWithItsProjectionAndLog) {
    const std::string a = lineFile("a.txt", 1), b = lineFile("b.txt", 101);
    const JobRun run = jobrun("--kind line --row 3 --datum 2000 --answer no --out '" + program_.file("out/海岸線") +
                              "' '" + a + "' '" + b + "'");
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n");
    EXPECT_EQ(run.exitCode, 0);

    const std::string info = ogrinfo(program_.file("out/海岸線.shp"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 6"));
    EXPECT_THAT(info, HasSubstr("Geometry: Line String"));
    EXPECT_THAT(info, HasSubstr("名称 (String) = ライン1"));
    EXPECT_THAT(readFile(program_.file("out/海岸線.prj")), HasSubstr("JGD_2000"));

    ASSERT_EQ(logs().size(), 1u);
    EXPECT_THAT(logs()[0], ::testing::StartsWith("海岸線"));
    const std::string log = text::fromCp932(readFile(program_.file("Log/" + logs()[0])));
    EXPECT_THAT(log, ::testing::StartsWith("[ラインデータ]データ変換開始。\r\n変換終了。"));
    for (const char* left : {"MakeShapeFile.fil_H", "MakeShapeFile.fil_D", "xxtmpLineDabaDB.mdb"})
        EXPECT_FALSE(fs::exists(program_.file(left))) << left;
}

TEST_F(JobRunTest, AnAttributeTableJobWritesTheTableAndAsksOnlyTheClosingQuestion) {
    const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}, {29, 8, true}};
    const std::string in = program_.file("in/beach.txt");
    gen::writeLines(in, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 2}), gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120"}),
                         gen::attrTRow(cols, {"A0002", "逗子", "7"})});
    const JobRun run = jobrun("--kind attr --row 3 --out '" + program_.file("out/beach") + "' '" + in + "'");
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | 変換されたDBFファイルをマップに追加しますか？\nresult: success\n");
    EXPECT_EQ(run.exitCode, 0);

    const std::string info = ogrinfo(program_.file("out/beach.dbf"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(info, HasSubstr("名称 (String) = 由比ヶ浜"));
    EXPECT_THAT(info, HasSubstr("人数 (Integer) = 7"));
    EXPECT_FALSE(fs::exists(program_.file("out/beach.prj")));
    EXPECT_EQ(logs().size(), 1u);
}

TEST_F(JobRunTest, AFileOfNoKnownItemIsLoggedAsUnknownBesideACatalogueOfEmptyRows) {
    // Every row the catalogue leaves out has an empty header key, which must not claim the file.
    gen::LineFileOptions unknownLines = coastlineFile(1);
    unknownLines.headerKey = "Z99-99Z";
    const std::string lines = program_.file("in/unknown.txt");
    gen::writeLineFile(lines, gen::makeLineFileModel(unknownLines));
    const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}, {29, 8, true}};
    const std::string table = program_.file("in/unknown_table.txt"), beach = program_.file("in/beach.txt");
    gen::writeLines(table, {gen::attrHeaderLine({"", "Z99", "", "2008", "1", 1}), gen::attrTRow(cols, {"A0001", "x", "1"})});
    gen::writeLines(beach, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 1}), gen::attrTRow(cols, {"A0002", "逗子", "7"})});
    struct Case {
        const char* kind;
        std::string unknown, known, output;
    };
    const Case cases[] = {{"line", lines, lineFile("a.txt", 1), "lines"}, {"attr", table, beach, "table"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        for (const std::string& log : logs()) fs::remove(program_.file("Log/" + log));
        const JobRun run = jobrun(std::string("--kind ") + c.kind + " --row 3 --out '" + program_.file("out/" + c.output) +
                                  "' '" + c.unknown + "' '" + c.known + "'");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        const std::string log = onlyLog();
        EXPECT_THAT(log, HasSubstr("ファイル種別：不明\r\n"));
        EXPECT_THAT(log, ::testing::Not(HasSubstr("ファイル種別：\r\n")));
    }
}

TEST_F(JobRunTest, QuestionsBeyondTheGivenAnswersAreAnsweredNo) {
    const std::string a = lineFile("a.txt", 1);
    writeLines(program_.file("out/old.shp"), {"old"});
    const JobRun run = jobrun("--kind line --row 3 --out '" + program_.file("out/old.shp") + "' '" + a + "'");
    EXPECT_EQ(run.output, "box: 名前を付けて保存 | 既にシェープファイルが存在します、上書きしますか？\nresult: failure\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(logs().empty());

    const JobRun yes = jobrun("--kind line --row 3 --answer yes --answer no --out '" + program_.file("out/old.shp") +
                              "' '" + a + "'");
    EXPECT_THAT(yes.output, ::testing::EndsWith("result: success\n"));
    EXPECT_THAT(ogrinfo(program_.file("out/old.shp")), HasSubstr("Feature Count: 3"));
}

TEST_F(JobRunTest, AWrongCommandLineIsRefused) {
    EXPECT_EQ(jobrun("--kind nothing --row 0 --out x in").exitCode, 2);
    EXPECT_EQ(jobrun("--kind line --row 3 --out x").exitCode, 2);
}

}  // namespace
