// What a job's output replaces, what it holds when the data strain the dBASE format, and what a failed job
// leaves: whole jobs through the headless job runner, read back with ogrinfo.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "tests/app/jobs/JobRunFixture.h"
#include "tests/brunhale/Readback.h"
#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

// Two names alike in their first ten bytes, and a number field of width 8.
const std::vector<CatalogueItem> kAreaItems = {
    {"行政区域コード番号", "Text", 4, 5, true}, {"行政区域コード名称", "Text1", 9, 20, true}, {"人口", "Long", 29, 8, true}};
const std::vector<gen::AttrGenColumn> kAreaColumns = {{4, 5, false}, {9, 20, false}, {29, 8, true}};

class JobOutputs : public JobRunFixture {
protected:
    JobOutputs() {
        writeCatalogue(program_.path(), {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                                         {CatalogKind::Attr, 3, "行政区域台帳", "W07", kAreaItems},
                                         {CatalogKind::Attr, 4, "項目なし台帳", "W08", hidden(kAreaItems)}});
    }
    static std::vector<CatalogueItem> hidden(std::vector<CatalogueItem> items) {
        for (CatalogueItem& i : items) i.output = false;
        return items;
    }
    std::string tableFile(const std::string& key, const std::vector<std::vector<std::string>>& rows) const {
        const std::string path = program_.file("in/" + key + ".txt");
        std::vector<std::string> lines = {gen::attrHeaderLine({"", key, "", "2008", "1", static_cast<long>(rows.size())})};
        for (const auto& r : rows) lines.push_back(gen::attrTRow(kAreaColumns, r));
        gen::writeLines(path, lines);
        return path;
    }
    std::map<std::string, std::string> outputs() const {
        std::map<std::string, std::string> m;
        for (const std::string& n : program_.folder().list("out")) m[n] = readFile(program_.file("out/" + n));
        return m;
    }
};

TEST_F(JobOutputs, ATableJobGivesEveryColumnItsOwnNameAndTouchesItsDbfAlone) {
    writeLines(program_.file("out/区域.cpg"), {"UTF-8"});
    writeLines(program_.file("out/区域.prj"), {"a shapefile's"});
    const std::string in = tableFile("W07", {{"13101", "千代田区", "66680"}, {"13102", "中央区", "169179"}});
    const JobRun run = jobrun("--kind attr --row 3 --out '" + program_.file("out/区域.dbf") + "' '" + in + "'");
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | 変換されたDBFファイルをマップに追加しますか？\nresult: success\n");

    const std::string info = ogrinfo(program_.file("out/区域.dbf"));
    EXPECT_THAT(info, HasSubstr("行政区域コ (String) = 13101"));
    EXPECT_THAT(info, HasSubstr("行政区域_1 (String) = 千代田区"));
    EXPECT_THAT(info, HasSubstr("人口 (Integer) = 169179"));
    EXPECT_EQ(readTable(program_.file("out/区域.dbf")).fields.size(), 3u);
    EXPECT_FALSE(fs::exists(program_.file("out/区域.cpg"))) << "a stale code page would garble every name";
    EXPECT_EQ(readFile(program_.file("out/区域.prj")), "a shapefile's\r\n");
}

TEST_F(JobOutputs, ANumberWiderThanItsFieldIsWrittenEmptyAndLogged) {
    const std::string in = tableFile("W07", {{"13101", "千代田区", "1e9"}, {"13102", "中央区", "2e9"}, {"13103", "港区", "1e3"}});
    const JobRun run = jobrun("--kind attr --row 3 --out '" + program_.file("out/区域.dbf") + "' '" + in + "'");
    EXPECT_THAT(run.output, HasSubstr("result: success\n"));
    const std::string info = ogrinfo(program_.file("out/区域.dbf"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 3"));
    EXPECT_THAT(info, HasSubstr("人口 (Integer) = (null)"));
    EXPECT_THAT(info, HasSubstr("人口 (Integer) = 1000"));
    const std::string log = onlyLog();
    EXPECT_THAT(log, HasSubstr("数値が項目の桁数に収まらないため空欄にしました。 項目：人口 値：1e9 ファイル：" + in + " 行：2\r\n"));
    EXPECT_EQ(log.find("2e9"), std::string::npos) << "once per field";
}

TEST_F(JobOutputs, ATableWithoutFieldsKeepsItsRecords) {
    const std::string in = tableFile("W08", {{"1", "a", "1"}, {"2", "b", "2"}});
    const JobRun run = jobrun("--kind attr --row 4 --out '" + program_.file("out/空.dbf") + "' '" + in + "'");
    EXPECT_THAT(run.output, HasSubstr("result: success\n"));
    EXPECT_THAT(ogrinfo(program_.file("out/空.dbf")), HasSubstr("Feature Count: 2"));
}

// The writer refuses a folder in the place of its output: the job fails with its box, the folder stays,
// and the log tells why under the failure line.
TEST_F(JobOutputs, AWritersReasonForFailingIsLogged) {
    fs::create_directory(program_.file("out/区域.dbf"));
    const std::string in = tableFile("W07", {{"13101", "千代田区", "66680"}});
    const JobRun run = jobrun("--kind attr --row 3 --out '" + program_.file("out/区域.dbf") + "' '" + in + "'");
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | DBFﾌｧｲﾙの作成に失敗しました。\nresult: failure\n");
    EXPECT_TRUE(fs::is_directory(program_.file("out/区域.dbf")));
    EXPECT_EQ(program_.folder().list("out"), std::vector<std::string>{"区域.dbf"});
    EXPECT_EQ(onlyLog(), "DBFﾌｧｲﾙの作成に失敗しました。\r\nBrunhale: cannot replace " + program_.file("out/区域.dbf") +
                             ": a folder of that name is in the way\r\n");
}

// A link whose count promises more continuation lines than its file holds would swallow the next record.
TEST_F(JobOutputs, ALinkSwallowingTheNextRecordFailsTheJobAndKeepsTheEarlierOutput) {
    const std::string good = lineFile("good.txt", 1);
    ASSERT_THAT(jobrun("--kind line --row 3 --out '" + program_.file("out/海岸線.shp") + "' '" + good + "'").output,
                HasSubstr("result: success\n"));
    const auto earlier = outputs();

    // The first link loses its first continuation line: its count now reaches into the next record.
    std::vector<std::string> lines;
    {
        const std::string bytes = readFile(good);
        for (std::size_t p = 0, q; (q = bytes.find("\r\n", p)) != std::string::npos; p = q + 2) lines.push_back(bytes.substr(p, q - p));
    }
    const auto link = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("L", 0) == 0; });
    ASSERT_NE(link, lines.end());
    lines.erase(link + 1);
    const std::string bad = program_.file("in/bad.txt");
    {
        std::string bytes;
        for (const std::string& l : lines) bytes += l + "\r\n";
        std::ofstream(bad, std::ios::binary) << bytes;
    }
    const JobRun run = jobrun("--kind line --row 3 --answer yes --out '" + program_.file("out/海岸線.shp") + "' '" + bad + "'");
    EXPECT_EQ(run.output,
              "box: 名前を付けて保存 | 既にシェープファイルが存在します、上書きしますか？\n"
              "box: ｴﾗｰﾒｯｾｰｼﾞ | ファイルの形式が正しくありません。\nresult: failure\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(outputs(), earlier) << "the earlier output byte for byte";
}

}  // namespace
