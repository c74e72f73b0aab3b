// The merge of several fixed-column files through the point work database: one point per distinct record
// in the order of first load, files of another item skipped, unusable coordinates logged, the failures.
#include <filesystem>

#include "convert/point/PointDb.h"
#include "convert/point/PointMerge.h"
#include "convert/point/PointWriters.h"
#include "platform/db/Database.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;

namespace {

// A written text, a written number, and a text that is not written.
const std::vector<Item> kItems = {
    {"名称", "Text1", 26, 6, true}, {"数", "Long", 32, 4, true}, {"備考", "Text", 36, 4, false}};

class PointMerge : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        fillPointTable(kItems);
        select(12, makeLayer("発電所", "P03", kItems));
        openLogAndPair();
    }
    std::string file(const std::string& name, const std::vector<std::string>& records, const std::string& key = "P03") {
        std::vector<std::string> lines = {gen::pointHeaderLine(key, static_cast<long>(records.size()))};
        lines.insert(lines.end(), records.begin(), records.end());
        return input(name, lines);
    }
    bool dbOnDisk() const { return std::filesystem::exists(folder.file(ModPoint::kPointDbName)); }
};

TEST_F(PointMerge, ARecordInTwoFilesIsOnePointAndAnUnwrittenItemKeepsTwoApart) {
    const std::string a = file("a.txt", {rec("533945", "4860000", "1260000", "港      12x   "),
                                         rec("533945", "4860036", "1260000", "港      12x   ")});
    const std::string b = file("b.txt", {rec("533945", "4860036", "1260000", "港      12x   "),
                                         rec("533945", "4860000", "1260000", "港      12y   ")});
    ASSERT_TRUE(ModPoint::MakePoint_Multi({a, " ", b}));
    // In the order of first load; texts as stored, untrimmed; numbers in their decimal form.
    EXPECT_EQ(headerFile(), (std::vector<std::string>{"LINKNO,1", "DBFITEM,港    ,12", "LINKNO,2", "DBFITEM,港    ,12",
                                                      "LINKNO,3", "DBFITEM,港    ,12"}));
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135,35", "LINKIDX,2",
                                                          "LINKDATA,135.001,35", "LINKIDX,3", "LINKDATA,135,35"}));
    EXPECT_FALSE(dbOnDisk());
    EXPECT_FALSE(conversionState().InFileNo.isOpen());
}

TEST_F(PointMerge, TextsCompareByteForByte) {
    const std::string a = file("a.txt", {rec("533945", "4860000", "1260000", "abc   1   "),
                                         rec("533945", "4860000", "1260000", "ABC   1   "),
                                         rec("533945", "4860000", "1260000", "abc    1  ")});
    ASSERT_TRUE(ModPoint::MakePoint_Multi({a, a}));
    // The numbers 1 and "   1" are one value; the two cases are two.
    EXPECT_EQ(headerFile(), (std::vector<std::string>{"LINKNO,1", "DBFITEM,abc   ,1", "LINKNO,2", "DBFITEM,ABC   ,1"}));
}

TEST_F(PointMerge, AFileOfAnotherItemBetweenTwoIsLoggedAndTheOthersMerged) {
    const std::string a = file("a.txt", {rec("533945", "4860000", "1260000", "a")});
    const std::string other = file("o.txt", {rec("533945", "4860036", "1260000", "o")}, "Q03");
    const std::string b = file("b.txt", {rec("533945", "4860072", "1260000", "b")});
    ASSERT_TRUE(ModPoint::MakePoint_Multi({a, other, b}));
    // A record that ends early gives its items what it holds.
    EXPECT_EQ(headerFile(), (std::vector<std::string>{"LINKNO,1", "DBFITEM,a,", "LINKNO,2", "DBFITEM,b,"}));
    EXPECT_EQ(logLines(), std::vector<std::string>{"ファイルの種別が「発電所」ではありません。 ファイル種別：漁港"});
}

TEST_F(PointMerge, UnusableCoordinatesAndBlankLinesAreNotStored) {
    const std::string a = file("a.txt", {rec("533945", "", "1260000"), "", rec("533945", "9999999", "1260000"),
                                         rec("533945", "4860000", "1260000", "ok"), "", rec("999999", "999999", "999999")});
    ASSERT_TRUE(ModPoint::MakePoint_Multi({a}));
    EXPECT_EQ(headerFile(), (std::vector<std::string>{"LINKNO,1", "DBFITEM,ok,"}));
    // Positions after the header line.
    EXPECT_EQ(logLines(), (std::vector<std::string>{"ポイントデータ座標値が空白です。LINE:1",
                                                    "ポイントデータの座標値が不正です。LINE:3",
                                                    "ポイントデータの座標値が不正です。LINE:6"}));
}

TEST_F(PointMerge, FailuresOfTheMerge) {
    struct Case {
        const char* name;
        std::function<std::vector<std::string>()> files;
        std::string box;  // empty: none
        bool dbLeft;
    };
    const Case cases[] = {
        // A file of the item without a record: the refusal of nothing to write.
        {"NoRowLoaded", [&] { return std::vector<std::string>{file("e.txt", {})}; }, "ｴﾗｰﾒｯｾｰｼﾞ", false},
        {"MeshCodeNoNumber",
         [&] { return std::vector<std::string>{file("m.txt", {rec("53394A", "4860000", "1260000")})}; },
         "Error: ModPoint (ModPoint SetPointTextToTbl2)", true},
        {"NoHeaderLine", [&] { return std::vector<std::string>{input("h.txt", {rec("533945", "1", "1")})}; },
         "ｴﾗｰﾒｯｾｰｼﾞ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        if (!c.box.empty()) ui.answer(Answer::Ok);
        EXPECT_FALSE(ModPoint::MakePoint_Multi(c.files()));
        ASSERT_EQ(ui.boxes().size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(ui.boxes()[0].title, c.box);
        }
        EXPECT_EQ(dbOnDisk(), c.dbLeft);
        EXPECT_FALSE(conversionState().InFileNo.isOpen());
    }
}

TEST_F(PointMerge, ALayerWithAText3ItemCannotBeMerged) {
    conversionState().PointLayers[12].ItemType[3] = "Text3";
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::MakePoint_Multi({file("a.txt", {rec("533945", "4860000", "1260000")})}));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "型が一致しません\rTextデータ 型 => Text3");
}

TEST_F(PointMerge, TheWorkTableHoldsEveryItemWithItsIndexes) {
    ASSERT_TRUE(ModPoint::MakePointDb());
    db::Database database = db::Database::open(ModPoint::PointDbPath());
    db::Query q = database.query("SELECT * FROM ポイントデータ");
    std::vector<std::string> columns;
    for (int i = 0; i < q.columnCount(); ++i) columns.push_back(q.columnName(i));
    EXPECT_EQ(columns, (std::vector<std::string>{"レイヤコード", "メッシュコード", "Ｘ座標", "Ｙ座標", "名称", "数", "備考"}));
    db::Query indexes = database.query("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index'");
    ASSERT_TRUE(indexes.next());
    EXPECT_EQ(indexes.asLong(0), 2);
    database.close();
    // The merge makes no look-up by coordinates and leaves them out.
    ASSERT_TRUE(ModPoint::MakePointDb(ModPoint::IndexTiming::Omitted));
    database = db::Database::open(ModPoint::PointDbPath());
    db::Query none = database.query("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index'");
    ASSERT_TRUE(none.next());
    EXPECT_EQ(none.asLong(0), 0);
}

TEST_F(PointMerge, MoreThan32767PointsKeepTheirIds) {
    gen::PointGenLayer layer = gen::pointLayer("発電所", "P03", {gen::valueItem("名称", "Text1", 6)});
    LayerDef row;
    gen::fillPointLayerRow(row, layer);
    select(12, row);
    gen::PointFileOptions o;
    o.points = 20000;
    const std::string a = folder.file("a.txt"), b = folder.file("b.txt");
    gen::writeFixedPointFile(a, layer, o);
    o.first = 15000;  // 5,000 points shared with the first file
    gen::writeFixedPointFile(b, layer, o);
    ASSERT_TRUE(ModPoint::MakePoint_Multi({a, b}));
    const std::vector<std::string> d = coordinateFile();
    ASSERT_EQ(d.size(), 2u * 35000);
    EXPECT_EQ(d[d.size() - 2], "LINKIDX,35000");
    EXPECT_EQ(bar->maximum(), 38500);
}

}  // namespace
