// The boundary-line and representative-point writers against a stand-in Brunhale that keeps the pair:
// golden pairs, the selection twins, progress, and the ends of a run.
#include <filesystem>

#include "convert/area/AreaShapeWriters.h"
#include "tests/convert/area/AreaJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

using Lines = std::vector<std::string>;

// Vertex i in 1/36000 degree: 140 + 0.01 i degrees east, 35 + 0.01 j north.
std::string at(int i, int j) { return vertexSlot(5040000 + 360L * i, 1260000 + 360L * j); }

class AreaShapeWritersTest : public AreaJobFixture {
protected:
    void SetUp() override {
        setAreaRow(3, "農業地域", key_, {{"名称", "Text", 20}, {"種別", "Integer", 2, false}, {"備考", "Text2", 6}});
        openDb(3);
    }
    // Two files sharing link 3 (identical in both); areas 1 to 3 in the first, 4 in the second.
    void loadTwoFiles() {
        const std::string shared = linkRecord(533945, 3, 533945, 4, 3, "     2");
        ASSERT_TRUE(load(writeFile("a.txt", crlf({headerLine("H", key_), areaCounts(),
            linkRecord(533945, 1, 533945, 2, 1, "     3"), at(0, 0) + at(1, 2) + at(2, 1),
            linkRecord(533945, 2, 533945, 3, 2, "     0"),
            shared, at(2, 1) + at(3, 3),
            areaRecord(533945, 5040100, 1260100, 1, num(100, 10), 1), refSlot(533945, 1, 0),
            areaRecord(533945, 5040200, 1260200, 2, num(101, 10), 1), refSlot(533945, -1, 0),
            areaRecord(533945, 5040300, 1260300, 3, num(999, 10), 1), refSlot(533945, 3, 0),
            daRecord(100, 1, padCp932Utf8("名前", 20) + " 7" + "    12"),
            daRecord(101, 1, std::string(20, ' ') + " 3" + "    34")}))));
        ASSERT_TRUE(load(writeFile("b.txt", crlf({headerLine("H", key_), areaCounts(),
            shared, at(2, 1) + at(3, 3),
            linkRecord(533946, 1, 533946, 2, 4, "     1"), at(5, 5),
            areaRecord(533946, 5040400, 1260400, 4, num(102, 10), 1), refSlot(533946, 4, 0),
            daRecord(102, 1, padCp932Utf8("東京", 20) + " 1" + "    56")}))));
    }
    static std::string padCp932Utf8(const std::string& utf8, int bytes) {
        std::string s = text::toCp932(utf8);
        s.resize(static_cast<std::size_t>(bytes), ' ');
        return text::fromCp932(s);
    }
    Lines lineHeader(const std::string& fifth, int idxWidth = 6) {
        return {"MAKEFILE_NAME," + out("area_L"), "SHAPE_TYPE,3,2000", "DBFITEM_COUNT,6",
                "DBFITEM_NAME,起点MeshCD,C,6,0", "DBFITEM_NAME,起点番号,C,6,0", "DBFITEM_NAME,終点MeshCD,C,6,0",
                "DBFITEM_NAME,終点番号,C,6,0", "DBFITEM_NAME," + fifth + ",C,6,0",
                "DBFITEM_NAME,LINKIDX,C," + std::to_string(idxWidth) + ",0"};
    }
    Lines pointHeader() {
        return {"MAKEFILE_NAME," + out("area_P"), "SHAPE_TYPE,1,2000", "DBFITEM_COUNT,3",
                "DBFITEM_NAME,属性番号,C,10,0", "DBFITEM_NAME,名称,C,20,0", "DBFITEM_NAME,備考,C,6,0"};
    }
    static Lines joined(Lines a, const Lines& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    // An offer that notes each path and whether the pair was still there when it was asked.
    ModPolygon::MapOffer noting() {
        return [this](const std::string& path) {
            offered_.push_back(path);
            pairAtOffer_ = std::filesystem::exists(shapedesc::headerFilePath());
        };
    }
    void selectConditions(std::vector<std::string> start, std::vector<std::string> rep) {
        ConversionState& s = conversionState();
        s.MeshRangeCount = static_cast<std::int32_t>(start.size());
        start.insert(start.begin(), "");
        rep.insert(rep.begin(), "");
        s.StartMeshWhere = start;
        s.RepMeshWhere = rep;
    }

    const std::string key_ = datagen::area_row_header_key(3);
    std::vector<std::string> offered_;
    bool pairAtOffer_ = false;
};

TEST_F(AreaShapeWritersTest, BoundaryLinesGoldenPair) {
    loadTwoFiles();
    ui_.shown.clear();
    ASSERT_TRUE(ModPolygon::MakeShapeArcFileData(db_, noting()));
    // Link 2 has no vertex; link 3, loaded twice, is one shape under its smaller LinkIdx.
    EXPECT_EQ(capturedHeader(), joined(lineHeader("Link一連No"), {
        "LINKNO,1", "BOX,140,35,140.02,35.02", "PARTS_POINTS,1,3", "PARTIDX,0", "DBFITEM,533945,1,533945,2,1,1",
        "LINKNO,3", "BOX,140.02,35.01,140.03,35.03", "PARTS_POINTS,1,2", "PARTIDX,0", "DBFITEM,533945,3,533945,4,3,3",
        "LINKNO,5", "BOX,140.05,35.05,140.05,35.05", "PARTS_POINTS,1,1", "PARTIDX,0", "DBFITEM,533946,1,533946,2,4,5"}));
    EXPECT_EQ(capturedCoordinates(), (Lines{"LINKIDX,1", "LINKDATA,140,35", "LINKDATA,140.01,35.02",
                                            "LINKDATA,140.02,35.01", "LINKIDX,3", "LINKDATA,140.02,35.01",
                                            "LINKDATA,140.03,35.03", "LINKIDX,5", "LINKDATA,140.05,35.05"}));
    EXPECT_EQ(offered_, (Lines{out("area_L.shp")}));
    EXPECT_TRUE(pairAtOffer_);
    EXPECT_TRUE(pairGone());
    // Four rows counted in tenths: a maximum of 0.44 is 5 tenths, one tenth per row.
    ASSERT_FALSE(ui_.shown.empty());
    EXPECT_EQ(ui_.shown.front(), (ProgressNotingUi::Shown{"線データ変換中・・・", 5, 0, false}));
    EXPECT_EQ(ui_.shown[1], (ProgressNotingUi::Shown{"線データ変換中・・・", 5, 0, true}));
    EXPECT_EQ(ui_.shown[2], (ProgressNotingUi::Shown{"Shapeﾌｧｲﾙ出力中・・・", 5, 4, true}));
    EXPECT_EQ(bar_->value(), 5);
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(AreaShapeWritersTest, RepresentativePointsGoldenPair) {
    loadTwoFiles();
    ASSERT_TRUE(ModPolygon::MakeShapePolygon_PointFileData(db_, noting()));
    // 属性番号 takes the area's serial; an empty flagged value keeps its place; area 3 has no ledger row.
    EXPECT_EQ(capturedHeader(), joined(pointHeader(), {"LINKNO,1", "DBFITEM,1,名前,    12", "LINKNO,2",
                                                       "DBFITEM,2,,    34", "LINKNO,4", "DBFITEM,4,東京,    56"}));
    EXPECT_EQ(capturedCoordinates(),
              (Lines{"LINKIDX,1", "LINKDATA,140.002778,35.002778", "LINKIDX,2", "LINKDATA,140.005556,35.005556",
                     "LINKIDX,4", "LINKDATA,140.011111,35.011111"}));
    EXPECT_EQ(logLines(), (Lines{"エリア属性台帳にリンクするデータがありません。エリア一連番号 = 3/エリア属性番号 = 999"}));
    EXPECT_EQ(offered_, (Lines{out("area_P.shp")}));
    EXPECT_TRUE(pairGone());
    // Four rows in units: a maximum of 4.4 kept whole upwards.
    EXPECT_EQ(bar_->maximum(), 5);
}

TEST_F(AreaShapeWritersTest, SelectionTwinsWriteConditionByCondition) {
    loadTwoFiles();
    selectConditions({"起点メッシュコード = 999999", "起点メッシュコード >= 533946 AND 起点メッシュコード <= 533950"},
                     {"代表点メッシュコード = 999999", "代表点メッシュコード = 533946"});
    ui_.shown.clear();
    ASSERT_TRUE(ModPolygon::MakeShapeArcFileData_Select(db_, noting()));
    EXPECT_EQ(capturedHeader(), joined(lineHeader("LINK一連No"), {"LINKNO,5", "BOX,140.05,35.05,140.05,35.05",
                                                                   "PARTS_POINTS,1,1", "PARTIDX,0",
                                                                   "DBFITEM,533946,1,533946,2,4,5"}));
    // The first condition found nothing and was passed over: the caption counts the second of two.
    ASSERT_FALSE(ui_.shown.empty());
    EXPECT_EQ(ui_.shown.front().caption, "線データ変換中・・・(2/2)");

    ASSERT_TRUE(ModPolygon::MakeShapePolygon_PointFileData_Select(db_, noting()));
    EXPECT_EQ(capturedHeader(), joined(pointHeader(), {"LINKNO,4", "DBFITEM,4,東京,    56"}));
    EXPECT_EQ(offered_, (Lines{out("area_L.shp"), out("area_P.shp")}));
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(AreaShapeWritersTest, SelectionWithoutDataSaysSoAndRunsNothing) {
    loadTwoFiles();
    selectConditions({"起点メッシュコード = 999999"}, {"代表点メッシュコード = 999999"});
    for (auto writer : {ModPolygon::MakeShapeArcFileData_Select, ModPolygon::MakeShapePolygon_PointFileData_Select}) {
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        EXPECT_TRUE(writer(db_, noting()));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].text, "選択されたメッシュコードに該当するデータがありませんでした。");
        EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Exclamation);
        EXPECT_TRUE(pairGone());
    }
    EXPECT_FALSE(brunhaleRan());
    EXPECT_TRUE(offered_.empty());
}

TEST_F(AreaShapeWritersTest, EmptyDatabaseEndsTheWholeDatabaseWritersWithoutAMessage) {
    for (auto writer : {ModPolygon::MakeShapeArcFileData, ModPolygon::MakeShapePolygon_PointFileData}) {
        EXPECT_FALSE(writer(db_, noting()));
        EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
        EXPECT_FALSE(conversionState().FilDFileNo.isOpen());
    }
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_FALSE(brunhaleRan());
}

TEST_F(AreaShapeWritersTest, FailedShapeWriterShowsItsMessageAsksNothingAndGoesOn) {
    loadTwoFiles();
    installStandIn(1);
    TempProgramFolder::write(out("area_L.shp"), "earlier");
    ui_.answer(ui::Answer::Ok);
    EXPECT_TRUE(ModPolygon::MakeShapeArcFileData(db_, noting()));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(offered_.empty());
    EXPECT_TRUE(pairGone());
    EXPECT_EQ(TempProgramFolder::read(out("area_L.shp")), "earlier");
}

TEST_F(AreaShapeWritersTest, BaseNameAndTheWideLinkIndex) {
    // The running link number passed 999999 before this job's links: the field is declared 10 wide.
    conversionState().LinkIdxCounter[0] = 999998;
    conversionState().OutputPath = out("Area.SHP");
    loadTwoFiles();
    ASSERT_TRUE(ModPolygon::MakeShapeArcFileData(db_, noting()));
    const Lines h = capturedHeader();
    ASSERT_GE(h.size(), 14u);
    EXPECT_EQ(h[0], "MAKEFILE_NAME," + out("Area_L"));
    EXPECT_EQ(h[8], "DBFITEM_NAME,LINKIDX,C,10,0");
    EXPECT_EQ(h[9], "LINKNO,999999");
    EXPECT_EQ(h.back(), "DBFITEM,533946,1,533946,2,4,1000003");
    EXPECT_EQ(offered_, (Lines{out("Area_L.shp")}));
}

}  // namespace
