// The road-link writer (shared links, the ledger question, links without ledger rows) and the station
// writers (fixed fields, skipped nodes with their log lines, order, selection).
#include "convert/line/RoadLinkWriter.h"
#include "convert/line/StationWriters.h"
#include "tests/convert/line/LineWriterFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class RoadLinkWriterTest : public LineWriterFixture {
protected:
    void SetUp() override {
        openDb(kRoadRow);
        conversionState().OutputPath = out("roads.shp");
    }
    void loadRoads(bool withLedger) {
        loadRecords(kRoadKey, {
            link(533945, 1, "        11", "     2"), v(0) + v(1),
            link(533945, 2, blanks(10), "     2"), v(2) + v(3),  // no attribute number
            link(533945, 3, "        13", "     0"),             // no vertices
        }, "a.txt");
        std::initializer_list<std::string> second = {
            link(533945, 1, "        11", "     2"), v(0) + v(1),  // the same link again
            link(533945, 1, "        99", "     2"), v(4) + v(5),  // differs in its attribute number only
        };
        loadRecords(kRoadKey, second, "b.txt");
        if (withLedger) loadRecords(kRoadKey, {dl(11, "国道１号", "", "通称"), dl(11, "重複", "", "")}, "c_台.txt");
    }
};

TEST_F(RoadLinkWriterTest, SharedLinksAreOneShapeUnderTheSmallerLinkIdx) {
    loadRoads(true);
    bool goOn = false;
    ASSERT_TRUE(ModLine::MakeShapeLineFileData_Doro(db_, goOn));
    EXPECT_TRUE(goOn);
    EXPECT_EQ(capturedHeader(), (std::vector<std::string>{
        "MAKEFILE_NAME," + out("roads"), "SHAPE_TYPE,3,2000", "DBFITEM_COUNT,5", "DBFITEM_NAME,属性番号,N,10,0",
        "DBFITEM_NAME,道路種別CD,N,2,0", "DBFITEM_NAME,路線名,C,24,0", "DBFITEM_NAME,線名,C,22,0",
        "DBFITEM_NAME,通称,C,16,0",
        // Link 1 of both files: LinkIdx 1 and 4; the first ledger row of number 11.
        "LINKNO,1", "BOX,140,35,140.01,35.01", "PARTS_POINTS,1,2", "PARTIDX,0", "DBFITEM,11,3,国道１号,,通称",
        // The same link with another attribute number, which has no ledger row.
        "LINKNO,5", "BOX,140.04,35.04,140.05,35.05", "PARTS_POINTS,1,2", "PARTIDX,0", "DBFITEM,,,,,",
        // A link stored without an attribute number is written as one without a ledger row.
        "LINKNO,2", "BOX,140.02,35.02,140.03,35.03", "PARTS_POINTS,1,2", "PARTIDX,0", "DBFITEM,,,,,"}));
    EXPECT_EQ(capturedCoordinates(), (std::vector<std::string>{
        "LINKIDX,1", "LINKDATA,140,35", "LINKDATA,140.01,35.01", "LINKIDX,5", "LINKDATA,140.04,35.04",
        "LINKDATA,140.05,35.05", "LINKIDX,2", "LINKDATA,140.02,35.02", "LINKDATA,140.03,35.03"}));
    // Four groups, one without vertices: the bar still advanced for it.
    EXPECT_EQ(bar_->value(), 4);
    EXPECT_TRUE(pairGone());
}

TEST_F(RoadLinkWriterTest, EmptyLedgerAsksFirst) {
    loadRoads(false);
    struct Case { ui::Answer answer; bool result, goOn, ran; } cases[] = {
        {ui::Answer::No, true, false, false},
        {ui::Answer::Yes, true, true, true},
    };
    for (const Case& c : cases) {
        ui_.clearRecords();
        ui_.answer(c.answer);
        bool goOn = !c.goOn;
        EXPECT_EQ(ModLine::MakeShapeLineFileData_Doro(db_, goOn), c.result);
        EXPECT_EQ(goOn, c.goOn);
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].text, "台帳データが選択されていません。\r属性情報が作成されませんが、このまま作成しますか？");
        EXPECT_EQ(ui_.boxes()[0].title, "確認ﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Information);
        EXPECT_EQ(ui_.boxes()[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(brunhaleRan(), c.ran);
        EXPECT_TRUE(pairGone());  // a refusal opens nothing
    }
    // Yes: every link with vertices, each with empty values.
    std::vector<std::string> values;
    for (const std::string& l : capturedHeader())
        if (l.rfind("DBFITEM,", 0) == 0) values.push_back(l);
    EXPECT_EQ(values, std::vector<std::string>(3, "DBFITEM,,,,,"));
}

TEST_F(RoadLinkWriterTest, RoadItemNamedAfterNoLedgerFieldShowsTheRecordBlockBox) {
    loadRoads(true);
    conversionState().LineLayers[kRoadRow].ItemName[2] = text::toCp932("名称");
    ui_.answer(ui::Answer::Ok);
    bool goOn = false;
    EXPECT_FALSE(ModLine::MakeShapeLineFileData_Doro(db_, goOn));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine OutPutLineHedFile)");
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

// A road file without links has no shape to write: the job says so instead of failing without a word.
TEST_F(RoadLinkWriterTest, DatabaseWithoutLinksIsRefusedAsNoData) {
    loadRecords(kRoadKey, {dl(11, "国道", "", "")});
    bool goOn = false;
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLineFileData_Doro(db_, goOn));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text.rfind("変換するデータがありません（データレコードがありません）。", 0), 0u);
    EXPECT_TRUE(pairOnDisk());
}

class StationWritersTest : public LineWriterFixture {
protected:
    void SetUp() override {
        openDb(kRailwayRow);
        conversionState().OutputPath = out("rail.shp");
        loadRecords(kRailwayKey, {
            node(533946, 2, "    900002", blanks(12), 1, 5040720, 1260720),
            node(533945, 5, "    900001", blanks(12), 1, 5040000, 1260000),
            node(533945, 3, "    900004", blanks(12), 0),  // not a station
            node(533945, 7, "    900009", blanks(12), 1),  // no ledger row
            node(533945, 8, blanks(10), blanks(12), 1),    // flagged without an attribute number
            node(533946, 1, "    900003", blanks(12), 1, 5040360, 1260360),
            "DP     900001  1東京",
            "DP     900002  1新宿",
            "DP     900002  1二番目",
            "DP     900003  1" + blanks(28),
            "DP     900004  1品川",
        });
    }
    const std::vector<std::string> headerBlock() {
        return {"MAKEFILE_NAME," + out("rail_駅名"), "SHAPE_TYPE,1,2000", "DBFITEM_COUNT,2",
                "DBFITEM_NAME,属性番号,N,12,0", "DBFITEM_NAME,駅名,C,56,0"};
    }
};

TEST_F(StationWritersTest, GoldenPairOfEveryStation) {
    ASSERT_TRUE(ModLine::MakeShapeLine_PointFileData(db_));
    std::vector<std::string> expected = headerBlock();
    for (const char* l : {"LINKNO,1", "DBFITEM,900001,東京", "LINKNO,1", "DBFITEM,900003,", "LINKNO,1",
                          "DBFITEM,900002,新宿"})
        expected.push_back(l);
    EXPECT_EQ(capturedHeader(), expected);
    EXPECT_EQ(capturedCoordinates(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,140,35", "LINKIDX,1",
                                                               "LINKDATA,140.01,35.01", "LINKIDX,1",
                                                               "LINKDATA,140.02,35.02"}));
    EXPECT_EQ(logLines(), (std::vector<std::string>{"ノード台帳にノード属性情報がありません。ノード属性番号 = 900009",
                                                    "ノード台帳にノード属性情報がありません。ノード属性番号 = "}));
    EXPECT_EQ(bar_->maximum(), 6);  // five station nodes: 5.5 kept whole upwards
    EXPECT_EQ(bar_->value(), 5);
    EXPECT_TRUE(pairGone());
}

TEST_F(StationWritersTest, FailedShapeWriterShowsItsMessageAndDeletesThePair) {
    installStandIn(3);
    ui_.answer(ui::Answer::Ok);
    const int yieldsBefore = ui_.yieldCount();
    EXPECT_FALSE(ModLine::MakeShapeLine_PointFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(pairGone());
    // Two yields around showing the display, then one after the caption, one after the run and one after
    // the deletion.
    EXPECT_EQ(ui_.yieldCount() - yieldsBefore, 5);
}

// Stations without ledger rows are logged and left out; with none left the station output is written
// without records, beside the lines, and no box stops the job.
TEST_F(StationWritersTest, StationsWithoutLedgerRowsAreLoggedAndTheirOutputIsWrittenEmpty) {
    db_.query("DELETE FROM ノード台帳データ").next();
    ASSERT_TRUE(ModLine::MakeShapeLine_PointFileData(db_));
    EXPECT_EQ(capturedHeader(), headerBlock());
    EXPECT_TRUE(capturedCoordinates().empty());
    EXPECT_EQ(logLines().size(), 5u);
    for (const std::string& line : logLines())
        EXPECT_EQ(line.rfind("ノード台帳にノード属性情報がありません。ノード属性番号 = ", 0), 0u) << line;
    EXPECT_TRUE(brunhaleRan());
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_TRUE(pairGone());
}

TEST_F(StationWritersTest, SelectionWritesTheStationsOfItsMeshes) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 2;
    s.StartMeshWhere = {"", "起点メッシュコード = 533946", "起点メッシュコード >= 533000 AND 起点メッシュコード <= 533945"};
    bool written = false;
    ASSERT_TRUE(ModLine::MakeShapeLine_PointFileData_Select(db_, written));
    EXPECT_TRUE(written);
    std::vector<std::string> values;
    for (const std::string& l : capturedHeader())
        if (l.rfind("DBFITEM,", 0) == 0) values.push_back(l);
    EXPECT_EQ(values, (std::vector<std::string>{"DBFITEM,900003,", "DBFITEM,900002,新宿", "DBFITEM,900001,東京"}));
    EXPECT_EQ(label_->text().toStdString(), "Shapeﾌｧｲﾙ作成中・・・");
}

TEST_F(StationWritersTest, SelectionWithoutStationsRunsNothing) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 1;
    s.StartMeshWhere = {"", "起点メッシュコード = 533947"};
    ui_.answer(ui::Answer::Ok);
    bool written = true;
    ASSERT_TRUE(ModLine::MakeShapeLine_PointFileData_Select(db_, written));
    EXPECT_FALSE(written);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "選択されたメッシュコードに該当するデータがありませんでした。");
    EXPECT_FALSE(brunhaleRan());
    EXPECT_TRUE(pairGone());
    EXPECT_EQ(label_->text().toStdString(), "駅名データ変換中・・・(1/1)");
}

TEST_F(StationWritersTest, NoStationNodeIsRefusedAsNoData) {
    db_.query("UPDATE ノードデータ SET ノード台帳の有無 = 0").next();
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLine_PointFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text.rfind("変換するデータがありません（データレコードがありません）。", 0), 0u);
    EXPECT_TRUE(pairOnDisk());
    EXPECT_FALSE(brunhaleRan());
}

}  // namespace
