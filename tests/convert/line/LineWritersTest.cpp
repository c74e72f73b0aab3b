// The line-record writers: golden pairs for the edge cases, progress, the selection, and failures.
#include <algorithm>

#include "convert/line/LineWriters.h"
#include "tests/convert/line/LineWriterFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LineWritersTest : public LineWriterFixture {
protected:
    void SetUp() override {
        openDb(kOrdinaryRow);
        conversionState().OutputPath = out("lines.shp");
        loadRecords(kOrdinaryKey, {
            link(533945, 1, blanks(10), "     2"), v(0) + v(1),
            link(533945, 2, blanks(10), "     3"), v(1) + v(2) + v(3),
            link(533945, 3, blanks(10), "     1"), v(3),
            link(533945, 4, blanks(10), "     0"),
            link(533946, 9, blanks(10), "     1"), v(9),
            lineRecord(1, " 1", "       100", 3), ref(533945, 1, 0) + ref(533945, -2, 1) + ref(533945, 3, 0),
            lineRecord(2, " 1", "       101", 2), ref(533945, 9, 0) + ref(533945, 4, 0),  // no such link; no vertices
            lineRecord(3, " 1", "       102", 2), ref(533945, 1, 0) + ref(533945, 1, 0),  // one link twice
            ds(100, padCp932("名前", 20) + " 7" + padCp932("備考", 20) + "      42"),
            ds(101, padCp932("無", 20)),
        });
    }
    const std::vector<std::string> headerBlock() {
        return {"MAKEFILE_NAME," + out("lines"), "SHAPE_TYPE,4,2000", "DBFITEM_COUNT,4", "DBFITEM_NAME,属性番号,N,10,0",
                "DBFITEM_NAME,名称,C,20,0", "DBFITEM_NAME,種別,N,2,0", "DBFITEM_NAME,備考,C,20,0"};
    }
};

TEST_F(LineWritersTest, GoldenPairOfTheWholeData) {
    ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));
    std::vector<std::string> expected = headerBlock();
    for (const char* l : {"LINKNO,1", "BOX,140,35,140.03,35.03", "PARTS_POINTS,3,6", "PARTIDX,0,2,5"})
        expected.push_back(l);
    expected.push_back("DBFITEM,100,名前                ,7,備考                ");
    // Line 3 has no ledger row: one empty value per declared field.
    for (const char* l : {"LINKNO,3", "BOX,140,35,140.01,35.01", "PARTS_POINTS,2,4", "PARTIDX,0,2", "DBFITEM,,,,"})
        expected.push_back(l);
    EXPECT_EQ(capturedHeader(), expected);
    // Link 2, referenced as -2, keeps its stored order; line 2 writes nothing.
    EXPECT_EQ(capturedCoordinates(), (std::vector<std::string>{
        "LINKIDX,1", "LINKDATA,140,35", "LINKDATA,140.01,35.01", "LINKDATA,140.01,35.01", "LINKDATA,140.02,35.02",
        "LINKDATA,140.03,35.03", "LINKDATA,140.03,35.03",
        "LINKIDX,3", "LINKDATA,140,35", "LINKDATA,140.01,35.01", "LINKDATA,140,35", "LINKDATA,140.01,35.01"}));
    EXPECT_TRUE(pairGone());
    // Three lines: maximum 3 + 0.3 kept whole upwards, one step per line, written or not.
    EXPECT_EQ(bar_->maximum(), 4);
    EXPECT_EQ(bar_->value(), 3);
    EXPECT_EQ(label_->text().toStdString(), "Shapeﾌｧｲﾙ作成中・・・");
    // One yield of the load; the writer's two around showing the display and two around the run.
    EXPECT_EQ(ui_.yieldCount(), 5);
}

TEST_F(LineWritersTest, LayerWithoutFlaggedItemsHasTheAttributeNumberAlone) {
    LayerDef& layer = conversionState().LineLayers[kOrdinaryRow];
    for (int i = 1; i <= layer.ItemCount; ++i) layer.ItemOutput[static_cast<std::size_t>(i)] = false;
    conversionState().DatumCode = -1;
    ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));
    const auto h = capturedHeader();
    ASSERT_GE(h.size(), 5u);
    EXPECT_EQ(h[1], "SHAPE_TYPE,4,-1");
    EXPECT_EQ(h[2], "DBFITEM_COUNT,1");
    EXPECT_EQ(h[3], "DBFITEM_NAME,属性番号,N,10,0");
    EXPECT_EQ(h[8], "DBFITEM,100");
    EXPECT_EQ(h.back(), "DBFITEM,");
}

TEST_F(LineWritersTest, SelectionWritesConditionByCondition) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 3;
    s.StartMeshWhere = {"", "起点メッシュコード = 533945", "起点メッシュコード = 999999",
                        "起点メッシュコード >= 533900 AND 起点メッシュコード <= 533945"};
    bool written = false;
    ASSERT_TRUE(ModLine::MakeShapeLineFileData_Select(db_, written));
    EXPECT_TRUE(written);
    // Lines 1 and 3 match the first and the third condition: each is written once for each.
    std::vector<std::string> ids;
    for (const std::string& l : capturedHeader())
        if (l.rfind("LINKNO,", 0) == 0) ids.push_back(l);
    EXPECT_EQ(ids, (std::vector<std::string>{"LINKNO,1", "LINKNO,3", "LINKNO,1", "LINKNO,3"}));
}

TEST_F(LineWritersTest, SelectedLineIsWrittenWholeAndAConditionWithoutLinesShowsAFullBar) {
    // Line 4 starts in mesh 533945 and goes on over a link of mesh 533946.
    loadRecords(kOrdinaryKey, {lineRecord(4, " 1", "       103", 2), ref(533945, 3, 0) + ref(533946, 9, 0)}, "more.txt");
    ConversionState& s = conversionState();
    s.MeshRangeCount = 3;
    s.StartMeshWhere = {"", "起点メッシュコード = 533945", "起点メッシュコード = 533946", "起点メッシュコード = 533945"};
    bool written = false;
    ASSERT_TRUE(ModLine::MakeShapeLineFileData_Select(db_, written));
    EXPECT_TRUE(written);
    const std::vector<std::string> h = capturedHeader();
    const auto at = std::find(h.begin(), h.end(), "LINKNO,4");
    ASSERT_NE(at, h.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 4),
              (std::vector<std::string>{"LINKNO,4", "BOX,140.03,35.03,140.09,35.09", "PARTS_POINTS,2,2", "PARTIDX,0,1"}));

    // What the user saw at the yields: each condition under its own caption; the second, which found no
    // line, with a full bar of one step.
    using Shown = ProgressNotingUi::Shown;
    auto lastShownUnder = [&](const std::string& caption) {
        Shown last;
        for (const Shown& w : ui_.shown)
            if (w.caption == caption) last = w;
        return last;
    };
    EXPECT_EQ(lastShownUnder("線データ変換中・・・(1/3)"), (Shown{"線データ変換中・・・(1/3)", 5, 0, true}));
    EXPECT_EQ(lastShownUnder("線データ変換中・・・(2/3)"), (Shown{"線データ変換中・・・(2/3)", 1, 1, true}));
    EXPECT_EQ(lastShownUnder("線データ変換中・・・(3/3)"), (Shown{"線データ変換中・・・(3/3)", 5, 0, true}));
}

TEST_F(LineWritersTest, SelectionWithoutAnyLineTellsTheUserAndRunsNothing) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 1;
    s.StartMeshWhere = {"", "起点メッシュコード >= 100000 AND 起点メッシュコード <= 200000"};
    ui_.answer(ui::Answer::Ok);
    bool written = true;
    ASSERT_TRUE(ModLine::MakeShapeLineFileData_Select(db_, written));
    EXPECT_FALSE(written);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "選択されたメッシュコードに該当するデータがありませんでした。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Exclamation);
    EXPECT_FALSE(brunhaleRan());
    EXPECT_TRUE(pairGone());
    // The condition that found nothing shows a full bar.
    EXPECT_EQ(bar_->maximum(), 1);
    EXPECT_EQ(bar_->value(), 1);
    EXPECT_EQ(label_->text().toStdString(), "線データ変換中・・・(1/1)");
}

TEST_F(LineWritersTest, ConditionOfAnotherFormIsRefusedBeforeAnyQuery) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 1;
    s.StartMeshWhere = {"", "起点メッシュコード = 1; DROP TABLE ラインデータ"};
    ui_.answer(ui::Answer::Ok);
    bool written = true;
    EXPECT_FALSE(ModLine::MakeShapeLineFileData_Select(db_, written));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine MakeShapeLineFileData_Select)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 5), "3075 ");
    EXPECT_TRUE(db_.hasTable("ラインデータ"));
}

TEST_F(LineWritersTest, FailedShapeWriterShowsItsMessageAndDeletesThePair) {
    installStandIn(3);
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLineFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(pairGone());
}

TEST_F(LineWritersTest, RefusedTypeNameEndsTheWriterAndLeavesThePair) {
    conversionState().LineLayers[kOrdinaryRow].ItemType[2] = "integer";
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLineFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "型が一致しません\rTextデータ 型 => integer");
    EXPECT_FALSE(brunhaleRan());
    EXPECT_TRUE(pairOnDisk());
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

TEST_F(LineWritersTest, ItemThatIsNoLedgerFieldShowsTheRecordBlockBox) {
    conversionState().LineLayers[kOrdinaryRow].ItemName[1] = text::toCp932("無い項目");
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLineFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine OutPutLineHedFile)");
    EXPECT_TRUE(pairOnDisk());
    EXPECT_FALSE(conversionState().FilDFileNo.isOpen());
}

class LineWritersEmptyTest : public LineWriterFixture {};

TEST_F(LineWritersEmptyTest, DatabaseWithoutLinesFailsSilently) {
    openDb(kOrdinaryRow);
    conversionState().OutputPath = out("lines.shp");
    EXPECT_FALSE(ModLine::MakeShapeLineFileData(db_));
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_TRUE(pairOnDisk());
    EXPECT_FALSE(brunhaleRan());
}

// Lines whose links have no vertex describe no shape: no empty output is written.
TEST_F(LineWritersEmptyTest, LinesWithoutVerticesAreRefusedAsNoData) {
    openDb(kOrdinaryRow);
    conversionState().OutputPath = out("lines");
    loadRecords(kOrdinaryKey, {lineRecord(1, " 1", "         1", 1), ref(533945, 1, 0)});
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLineFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text.rfind("変換するデータがありません（データレコードがありません）。", 0), 0u);
    EXPECT_FALSE(brunhaleRan());
}

TEST_F(LineWritersEmptyTest, LineOfMorePointsThanSixteenBitsEndsInTheWritersBox) {
    openDb(kOrdinaryRow);
    conversionState().OutputPath = out("lines.shp");
    // Two links of 16,390 vertices each: 32,780 points on one line.
    std::string bytes = crlf({header(kOrdinaryKey), kCounts});
    for (int serial = 1; serial <= 2; ++serial) {
        bytes += crlf({link(533945, serial, blanks(10), " 16390")});
        for (int i = 0; i < 16390 / 5; ++i) bytes += v(0) + v(1) + v(2) + v(3) + v(4) + "\r\n";
    }
    bytes += crlf({lineRecord(1, " 1", "       100", 2), ref(533945, 1, 0) + ref(533945, 2, 0)});
    ASSERT_TRUE(load(writeFile("in.txt", bytes)));
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeShapeLineFileData(db_));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine MakeShapeLineFileData)");
    EXPECT_EQ(ui_.boxes()[0].text, "6 オーバーフローしました。");
    EXPECT_TRUE(ui_.boxes()[0].systemModal);
    EXPECT_FALSE(brunhaleRan());
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
    EXPECT_FALSE(conversionState().FilDFileNo.isOpen());
}

TEST_F(LineWritersEmptyTest, TwentyLinesGiveAMaximumOfTwentyTwo) {
    openDb(kOrdinaryRow);
    conversionState().OutputPath = out("lines.shp");
    gen::LineFileOptions o;
    o.headerKey = kOrdinaryKey;
    o.lines = 20;
    ASSERT_TRUE(load(writeFile("in.txt", gen::makeLineFileModel(o))));
    ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));
    EXPECT_EQ(bar_->maximum(), 22);
    EXPECT_EQ(bar_->value(), 20);
}

}  // namespace
