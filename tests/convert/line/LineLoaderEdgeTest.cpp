// Hand-written line files for the loader's edge cases and failures: each case states the records it
// holds and the rows (or the box) they must give.
#include <gmock/gmock.h>

#include "tests/convert/line/HandRecords.h"
#include "tests/convert/line/LineLoaderFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LineLoaderEdgeTest : public LineLoaderFixture {
protected:
    bool loadLines(const char* key, std::initializer_list<std::string> records, const std::string& name = "in.txt") {
        std::string bytes = crlf({header(key), kCounts});
        bytes += crlf(records);
        return load(writeFile(name, bytes));
    }
};

TEST_F(LineLoaderEdgeTest, NodeWithBlankOptionalColumnsAndTheRailwayStartMesh) {
    openDb(kOrdinaryRow);
    ASSERT_TRUE(loadLines(kOrdinaryKey, {node(533945, 12, blanks(10), blanks(12))}));
    EXPECT_EQ(dump("ノードデータ"), Dump{"N  |533945|12|5040000|1272000|1|NULL|2|0|NULL|NULL"});

    openDb(kRailwayRow);
    ASSERT_TRUE(loadLines(kRailwayKey, {node(533945, 12, "       777", "533946    13")}));
    EXPECT_EQ(dump("ノードデータ"), Dump{"N  |533945|12|5040000|1272000|1|777|2|0|533946|13|533945"});
}

TEST_F(LineLoaderEdgeTest, LinkVerticesFollowTheCountNotTheLines) {
    openDb(kOrdinaryRow);
    ASSERT_TRUE(loadLines(kOrdinaryKey, {
        link(533945, 1, "         5", "     0"),  // n = 0: no continuation line
        link(533945, 2, "         6", "     7"),  // n = 7: five and two
        vertex(1, 1) + vertex(2, 2) + vertex(3, 3) + vertex(4, 4) + vertex(5, 5),
        vertex(6, 6) + vertex(7, 7),
        link(533945, 3, blanks(10), "     8"),  // a short first line: numbering goes on after the stop
        vertex(10, 10) + vertex(11, 11) + blanks(8) + vertex(99, 99),
        vertex(12, 12) + vertex(13, 13) + vertex(14, 14) + vertex(15, 15) + vertex(16, 16) + vertex(17, 17),
        link(533945, 4, blanks(10), "     0"),  // and the loop goes on with the next record
    }));
    EXPECT_EQ(dump("リンクデータ"), (Dump{
        "L  |533945|1|533945|2|1|1|5|0|1|0|0",
        "L  |533945|2|533945|3|2|1|6|7|2|0|0",
        "L  |533945|3|533945|4|3|1|NULL|8|3|0|0",
        "L  |533945|4|533945|5|4|1|NULL|0|4|0|0",
    }));
    EXPECT_EQ(points(), (Dump{
        "2|1|1", "2|2|2", "2|3|3", "2|4|4", "2|5|5", "2|6|6", "2|7|7",
        "3|10|10", "3|11|11",
        // The third position stopped the first line; the full second line is read on, and its sixth
        // vertex is beyond the line's five places.
        "3|12|12", "3|13|13", "3|14|14", "3|15|15", "3|16|16",
    }));
    EXPECT_TRUE(dump("リンクデータ中間点").empty());
    EXPECT_EQ(conversionState().LinkIdxCounter[0], 4);
}

// A vertex X that is neither blank nor a number (a corrupt digit) would end its line's points silently,
// leaving a link of the wrong shape; a Y that is no number would be lost alike. Both refuse the file,
// naming it and the line; a blank X still ends the line's points (above).
TEST_F(LineLoaderEdgeTest, AVertexThatIsNoNumberIsRefusedNamingFileAndLine) {
    struct Case {
        const char* what;
        std::string line;
        const char* shown;
    } cases[] = {
        {"corrupt X", vertex(1, 1) + " 46A6491" + rightAligned(2, 8), "X「 46A6491」"},
        {"corrupt Y", vertex(1, 1) + rightAligned(2, 8) + "  12B456", "Y「  12B456」"},
        {"X without Y", vertex(1, 1) + rightAligned(2, 8), "Y「」"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        openDb(kOrdinaryRow);
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        EXPECT_FALSE(loadLines(kOrdinaryKey, {link(533945, 1, blanks(10), "     2"), c.line}));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine SetLineTextToTbl_Link)");
        EXPECT_THAT(ui_.boxes()[0].text, ::testing::HasSubstr(program_.file("in.txt") + " の 4行目の中間点の座標"));
        EXPECT_THAT(ui_.boxes()[0].text, ::testing::HasSubstr(c.shown));
        conversionState().InFileNo.closeQuietly();
    }
}

// A count larger than the continuation lines present: the next record is never read as coordinates (a
// link of the wrong shape, the next record lost, and a success reported). The file fails with the format
// message instead.
TEST_F(LineLoaderEdgeTest, ARecordAmongTheContinuationLinesIsAFormatFault) {
    const struct {
        const char* what;
        std::vector<std::string> records;
        std::size_t linksStored, verticesStored;
    } cases[] = {
        {"node after a link", {link(533945, 1, blanks(10), "     6"), vertex(1, 1) + vertex(2, 2), node(533945, 9, blanks(10), blanks(12))}, 1, 2},
        {"link after a link", {link(533945, 1, blanks(10), "     2"), link(533945, 2, blanks(10), "     0")}, 1, 0},
        {"line record after a link", {link(533945, 1, blanks(10), "     1"), lineRecord(1, "  ", "       100", 0)}, 1, 0},
        {"ledger record after a link", {link(533945, 1, blanks(10), "     1"), "DS        42  1"}, 1, 0},
        {"road ledger after a link", {link(533945, 1, blanks(10), "     1"), "DL        42  1"}, 1, 0},
        {"station ledger after a link", {link(533945, 1, blanks(10), "     1"), "DP        42  1"}, 1, 0},
        {"link after a line record's references", {lineRecord(1, "  ", "       100", 2), link(533945, 1, blanks(10), "     0")}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openDb(kOrdinaryRow);
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        std::string bytes = crlf({header(kOrdinaryKey), kCounts});
        for (const std::string& r : c.records) bytes += crlf({r});
        EXPECT_FALSE(load(writeFile("in.txt", bytes)));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].text, "ファイルの形式が正しくありません。");
        EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
        EXPECT_FALSE(ui_.boxes()[0].systemModal);
        EXPECT_EQ(dump("リンクデータ").size(), c.linksStored);
        EXPECT_EQ(points().size(), c.verticesStored);
        EXPECT_TRUE(dump("ノードデータ").empty());
        EXPECT_TRUE(dump("ラインリンクデータ").empty());
        conversionState().InFileNo.close();
    }
}

TEST_F(LineLoaderEdgeTest, LineReferencesAndTheLedgerFlag) {
    openDb(kOrdinaryRow);
    ASSERT_TRUE(loadLines(kOrdinaryKey, {
        lineRecord(1, "  ", "       100", 0),
        lineRecord(2, " x", "       101", 6),
        ref(533945, 1, 0) + ref(533945, -12, 1) + blanks(6) + ref(533945, 3, 0),
        ref(533946, 4, 0),
        lineRecord(3, " 1", "       102", 1),
        ref(533945, 7, 0),
    }));
    EXPECT_EQ(dump("ラインデータ"), (Dump{
        "S  |533945|1|533945|2|1|0|100|0|1",
        "S  |533945|1|533945|2|2|0|101|6|2",
        "S  |533945|1|533945|2|3|1|102|1|3",
    }));
    EXPECT_EQ(dump("ラインリンクデータ"), (Dump{
        "2|1|533945|1|0", "2|2|533945|-12|1", "2|4|533946|4|0", "3|1|533945|7|0",
    }));
}

TEST_F(LineLoaderEdgeTest, LedgerRecords) {
    openDb(kOrdinaryRow);
    // Items: 名称 Text bytes 17-36, 種別 Integer 37-38, 備考 Text2 39-58, 管理番号 Long 59-66.
    ASSERT_TRUE(loadLines(kOrdinaryKey, {
        ds(100, padCp932("名前", 20) + " 7" + padCp932("備考", 20) + "      42"),
        ds(100, padCp932("二番目", 20)),                         // same number: dropped silently
        ds(101, padCp932("短い", 20) + " x"),                    // items beyond the line: text empty, number Null
        "DS        102  2" + padCp932("二行", 20),               // its second line is read by the dispatch
        node(533945, 5, blanks(10), blanks(12)),
        dl(1, "国道", "", ""),                                   // DL and DP of another row: ignored
        "DP          1  1駅",
    }));
    EXPECT_EQ(dump("台帳データ"), (Dump{
        "DS |100|1|名前                |7|備考                |42",
        "DS |101|1|短い                |NULL||NULL",
        "DS |102|2|二行                |NULL||NULL",
    }));
    EXPECT_EQ(dump("ノードデータ").size(), 1u);
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(LineLoaderEdgeTest, RoadLedgerNamesAreTrimmedAndBlankNamesStayNull) {
    openDb(kRoadRow);
    ASSERT_TRUE(loadLines(kRoadKey, {
        dl(5, "  国道１号", "", "  通称  "),
        dl(5, "", "線", "　全角"),  // same number twice: both rows stay
        "DP          1  1駅",
    }));
    EXPECT_EQ(dump("リンク台帳データ"), (Dump{"DL |5|1|3|国道１号|NULL|通称", "DL |5|1|3|NULL|線|　全角"}));
}

TEST_F(LineLoaderEdgeTest, StationLedgerNameIsCharactersSeventeenToFortyFour) {
    openDb(kRailwayRow);
    ASSERT_TRUE(loadLines(kRailwayKey, {
        "DP     900001  1 東京駅" + blanks(24) + "tail",
        "DP     900002  1" + blanks(28),
        "DL          1  1 3国道",
    }));
    EXPECT_EQ(dump("ノード台帳データ"), (Dump{"DP |900001|1|東京駅", "DP |900002|1|"}));
}

TEST_F(LineLoaderEdgeTest, OtherLinesAreIgnoredButCounted) {
    openDb(kOrdinaryRow);
    ASSERT_TRUE(loadLines(kOrdinaryKey, {header(kOrdinaryKey), "A  533945", "DA         1", "", "X",
                                         node(533945, 5, blanks(10), blanks(12))}));
    EXPECT_EQ(dump("ノードデータ").size(), 1u);
    EXPECT_EQ(bar_->maximum(), 20);
    // Six record lines raised the bar before the end filled it: the loader counted them all.
    EXPECT_EQ(bar_->value(), 20);
}

TEST_F(LineLoaderEdgeTest, LedgerFilesTakeCountSixAsProgressMaximum) {
    openDb(kOrdinaryRow);
    std::filesystem::create_directories(program_.path() / "data_台帳");
    struct Case { std::string name; int maximum; } cases[] = {
        {"plain.txt", 20}, {"N03_台帳.txt", 5}, {"data_台帳/plain.txt", 5},
    };
    for (const Case& c : cases) {
        // Observe the maximum before the end fills the bar: a file with no records after the counts.
        bar_->setMaximum(1);
        ASSERT_TRUE(loadLines(kOrdinaryKey, {}, c.name));
        EXPECT_EQ(bar_->maximum(), c.maximum) << c.name;
    }
}

struct FailureCase {
    const char* what;
    std::vector<std::string> records;
    const char* title;
    const char* box;
    std::size_t linksStored;  // a link whose lines are missing ends the file
};

TEST_F(LineLoaderEdgeTest, ReaderFailuresShowTheReadersBoxAndStopTheFile) {
    const FailureCase cases[] = {
        {"blank line attribute number", {lineRecord(1, " 1", blanks(10), 0)},
         "Error: ModLine (ModLine SetLineTextToTbl_Line)", "3421", 0},
        {"line attribute beyond 32 bits", {lineRecord(1, " 1", "3000000000", 0)},
         "Error: ModLine (ModLine SetLineTextToTbl_Line)", "3349", 0},
        {"blank ledger attribute number", {"DS " + blanks(10) + "  1"},
         "Error: ModLine (ModLine SetLineTextToTbl_Area)", "3421", 0},
        {"link whose vertex lines are missing", {link(533945, 1, blanks(10), "     6"), vertex(1, 1)},
         "Error: ModLine (ModLine SetLineTextToTbl_Link)", "62", 1},
        {"node whose mesh code is no number", {"N  53A945"},
         "Error: ModLine (ModLine SetLineTextToTbl_Node)", "3421", 0},
        {"blank station ledger number", {"DP " + blanks(10) + "  1駅"},
         "Error: ModLine (ModLine SetLineTextToTbl_NodeD)", "3421", 0},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        openDb(std::string(c.title).find("NodeD") != std::string::npos ? kRailwayRow : kOrdinaryRow);
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        std::string bytes = crlf({header(std::string(c.title).find("NodeD") != std::string::npos ? kRailwayKey
                                                                                                 : kOrdinaryKey),
                                  kCounts});
        for (const std::string& r : c.records) bytes += crlf({r});
        if (c.linksStored == 0) bytes += crlf({node(533945, 1, blanks(10), blanks(12))});  // never reached
        EXPECT_FALSE(load(writeFile("in.txt", bytes)));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, c.title);
        EXPECT_EQ(ui_.boxes()[0].text.substr(0, ui_.boxes()[0].text.find(' ')), c.box);
        EXPECT_TRUE(ui_.boxes()[0].systemModal);
        EXPECT_EQ(dump("リンクデータ").size(), c.linksStored);  // rows saved before the failure stay
        // The input file stays open for the job procedure to close.
        EXPECT_TRUE(conversionState().InFileNo.isOpen());
        conversionState().InFileNo.close();
    }
}

TEST_F(LineLoaderEdgeTest, LinkCounterBeyondItsRangeIsAnOverflow) {
    openDb(kOrdinaryRow);
    conversionState().LinkIdxCounter[0] = 2147483647;
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(loadLines(kOrdinaryKey, {link(533945, 1, blanks(10), "     0")}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine SetLineTextToTbl_Link)");
    EXPECT_EQ(ui_.boxes()[0].text, "6 オーバーフローしました。");
    EXPECT_TRUE(dump("リンクデータ").empty());
    conversionState().InFileNo.close();
}

TEST_F(LineLoaderEdgeTest, VertexNumberBeyondSixteenBitsIsAnOverflow) {
    openDb(kOrdinaryRow);
    std::string bytes = crlf({header(kOrdinaryKey), kCounts, link(533945, 1, blanks(10), " 32768")});
    const std::string five = vertex(1, 1) + vertex(2, 2) + vertex(3, 3) + vertex(4, 4) + vertex(5, 5);
    for (int i = 0; i < 32768 / 5 + 1; ++i) bytes += five + "\r\n";
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(load(writeFile("in.txt", bytes)));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine SetLineTextToTbl_Link)");
    EXPECT_EQ(ui_.boxes()[0].text, "6 オーバーフローしました。");
    // The link row and the vertices numbered before the overflow stay.
    EXPECT_EQ(dump("リンクデータ").size(), 1u);
    EXPECT_EQ(points().size(), 32767u);
    conversionState().InFileNo.close();
}

TEST_F(LineLoaderEdgeTest, AttributeNumbersBeyondThirtyTwoBitsFitOnlyTheDoubleFields) {
    // Node, road ledger and station ledger numbers are doubles; link, line and line ledger numbers are
    // 32-bit and refuse them.
    openDb(kRailwayRow);
    ASSERT_TRUE(loadLines(kRailwayKey, {node(533945, 1, "9000000001", blanks(12)), "DP 9000000001  1駅"}));
    EXPECT_EQ(dump("ノードデータ"), Dump{"N  |533945|1|5040000|1272000|1|9000000001|2|0|NULL|NULL|533945"});
    EXPECT_EQ(dump("ノード台帳データ"), Dump{"DP |9000000001|1|駅"});

    openDb(kRoadRow);
    ASSERT_TRUE(loadLines(kRoadKey, {dl(9000000002, "国道", "", "")}));
    EXPECT_EQ(dump("リンク台帳データ"), Dump{"DL |9000000002|1|3|国道|NULL|NULL"});

    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(loadLines(kRoadKey, {link(533945, 1, "9000000003", "     0")}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine SetLineTextToTbl_Link)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 5), "3349 ");
    conversionState().InFileNo.close();
}

TEST_F(LineLoaderEdgeTest, FileThatCannotBeOpenedShowsTheLoadersBox) {
    openDb(kOrdinaryRow);
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(load(program_.file("missing.txt")));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine SetLineTextToTbl)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 3), "53 ");
    EXPECT_FALSE(conversionState().InFileNo.isOpen());
}

}  // namespace
