// The mesh layer converter against a stand-in Brunhale: the header block and record blocks it writes,
// numbering over several files, de-duplicated rings, the code filter, subdivided records, and every way
// it fails.
#include <gmock/gmock.h>

#include "convert/mesh/MeshDb.h"
#include "platform/db/Database.h"
#include "tests/convert/mesh/MeshFixture.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ui::Answer;
using ui::Icon;
namespace fs = std::filesystem;

namespace {

const char* const kRingFailure = "標高・傾斜度メッシュ作成中にエラーが発生しました(メッシュコード→ＸＹ座標変換)";

class MeshConversion : public MeshFixture {
protected:
    gen::MeshFileOptions options(int records = 3, int firstCell = 0) {
        gen::MeshFileOptions o;
        o.records = records;
        o.firstCell = firstCell;
        return o;
    }
};

TEST_F(MeshConversion, OneFileWritesTheHeaderBlockAndOneNumberedRingPerRecord) {
    gen::MeshFileModel m = gen::makeMeshFileModel(options(3));
    m.records[0].code = "53394567";
    ASSERT_TRUE(convert({input("a.txt", m)}));

    const std::vector<std::string> h = header();
    ASSERT_GE(h.size(), 10u);
    EXPECT_THAT(std::vector<std::string>(h.begin(), h.begin() + 10),
                ElementsAre("MAKEFILE_NAME," + program_.file("out"), "SHAPE_TYPE,7,2000", "DBFITEM_COUNT,7",
                            "DBFITEM_NAME,1MCODE,C,4,0", "DBFITEM_NAME,2MCODE,C,6,0", "DBFITEM_NAME,3MCODE,C,8,0",
                            "DBFITEM_NAME,行政コード,C,5,0", "DBFITEM_NAME,面積,N,7,0", "DBFITEM_NAME,区分,C,8,0",
                            "DBFITEM_NAME,予備,N,3,0"));
    EXPECT_THAT(std::vector<std::string>(h.begin() + 10, h.begin() + 15),
                ElementsAre("LINKNO,1", "BOX,139.7125,35.7166666666667,139.725,35.725", "PARTS_POINTS,1,5", "PARTIDX,0",
                            "DBFITEM,5339,533945,53394567,13101,0,田畑,0"));
    EXPECT_THAT(keyed(h, "LINKNO"), ElementsAre("LINKNO,1", "LINKNO,2", "LINKNO,3"));
    EXPECT_THAT(keyed(h, "DBFITEM")[1], "DBFITEM,5339,533900,53390001,13102,37,森林,1");

    const std::vector<std::string> d = coordinates();
    EXPECT_THAT(keyed(d, "LINKIDX"), ElementsAre("LINKIDX,1", "LINKIDX,2", "LINKIDX,3"));
    EXPECT_THAT(std::vector<std::string>(d.begin(), d.begin() + 6),
                ElementsAre("LINKIDX,1", "LINKDATA,139.7125,35.7166666666667", "LINKDATA,139.7125,35.725",
                            "LINKDATA,139.725,35.725", "LINKDATA,139.725,35.7166666666667",
                            "LINKDATA,139.7125,35.7166666666667"));
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_TRUE(logLines().empty());
    expectCleanEnd();
}

TEST_F(MeshConversion, ALevelTwoLayerWritesTwoCodeValuesAndOnlyFlaggedItemsInHeaderAndValues) {
    MeshLayerDef& row = layer(2, 0);
    row.ItemOutput[2] = false;  // 面積 is not written: neither declared nor among the values
    gen::MeshFileOptions o = options(2);
    o.level = 2;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.level = 2;
    m.records[0].code = "533945";
    ASSERT_TRUE(convert({input("a.txt", m)}));
    const std::vector<std::string> h = header();
    EXPECT_EQ(h[2], "DBFITEM_COUNT,5");
    EXPECT_THAT(keyed(h, "DBFITEM_NAME"),
                ElementsAre("DBFITEM_NAME,1MCODE,C,4,0", "DBFITEM_NAME,2MCODE,C,6,0", "DBFITEM_NAME,行政コード,C,5,0",
                            "DBFITEM_NAME,区分,C,8,0", "DBFITEM_NAME,予備,N,3,0"));
    EXPECT_THAT(keyed(h, "DBFITEM"), ElementsAre("DBFITEM,5339,533945,13101,田畑,0", "DBFITEM,5339,533901,13102,森林,1"));
    EXPECT_EQ(keyed(h, "BOX")[0], "BOX,139.625,35.6666666666667,139.75,35.75");
}

TEST_F(MeshConversion, CellNumbersRunOnOverFilesAndARepeatedCodeGetsABlockButNoSecondRing) {
    // a: cells 0-2; b: cells 2-4, so cell 2 is met as shape 3 and again as shape 4.
    const std::string a = input("a.txt", options(3, 0)), b = input("b.txt", options(3, 2));
    ASSERT_TRUE(convert({a, b}));
    EXPECT_THAT(keyed(header(), "LINKNO"),
                ElementsAre("LINKNO,1", "LINKNO,2", "LINKNO,3", "LINKNO,4", "LINKNO,5", "LINKNO,6"));
    EXPECT_THAT(keyed(coordinates(), "LINKIDX"),
                ElementsAre("LINKIDX,1", "LINKIDX,2", "LINKIDX,3", "LINKIDX,5", "LINKIDX,6"));
    EXPECT_EQ(coordinates().size(), 5u * 6);
    expectCleanEnd();
}

TEST_F(MeshConversion, ChosenCodesKeepOnlyRecordsWhoseCodeBeginsWithOne) {
    // Cells 95-104 straddle second-level cells 533900 and 533901.
    ASSERT_TRUE(convert({input("a.txt", options(10, 95))}, {"533901"}));
    const std::vector<std::string> blocks = keyed(header(), "DBFITEM");
    ASSERT_EQ(blocks.size(), 5u);
    for (const std::string& b : blocks) EXPECT_THAT(b, ::testing::StartsWith("DBFITEM,5339,533901,")) << b;
    EXPECT_THAT(keyed(header(), "LINKNO"), ElementsAre("LINKNO,1", "LINKNO,2", "LINKNO,3", "LINKNO,4", "LINKNO,5"));
    // Every line still moved the bar.
    EXPECT_EQ(bar_.maximum(), 12);  // 11 declared lines + a tenth, rounded half to even
}

TEST_F(MeshConversion, AFourByFourRecordGivesSixteenCellsInRowOrderWithTheirOwnValues) {
    layer(3, 4);
    gen::MeshFileOptions o = options(2);
    o.subdivision = 4;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.records[0].code = "53394567";
    ASSERT_TRUE(convert({input("a.txt", m)}));
    const std::vector<std::string> h = header();
    EXPECT_EQ(h[2], "DBFITEM_COUNT,6");
    EXPECT_EQ(h[6], "DBFITEM_NAME,1/4CODE,C,2,0");
    const std::vector<std::string> values = keyed(h, "DBFITEM");
    ASSERT_EQ(values.size(), 32u);
    const char* const codes[] = {"00", "01", "02", "03", "10", "11", "12", "13",
                                 "20", "21", "22", "23", "30", "31", "32", "33"};
    for (int c = 0; c < 16; ++c) {
        const auto& v = m.records[0].values;
        EXPECT_EQ(values[c], "DBFITEM,5339,533945,53394567," + std::string(codes[c]) + "," + v[2 * c] + "," + v[2 * c + 1]);
    }
    EXPECT_EQ(keyed(h, "LINKNO")[31], "LINKNO,32");
    // Row 0 is the northernmost: cell 00 is the north-west corner, cell 33 the south-east one.
    EXPECT_EQ(keyed(h, "BOX")[0], "BOX,139.7125,35.7229166666667,139.715625,35.725");
    EXPECT_EQ(keyed(h, "BOX")[15], "BOX,139.721875,35.7166666666667,139.725,35.71875");
    EXPECT_EQ(keyed(coordinates(), "LINKIDX").size(), 32u);
}

TEST_F(MeshConversion, SeveralFilesWithoutAnyCellCannotWriteRings) {
    ui_.answer(Answer::Ok);
    const std::string a = input("a.txt", options(3)), b = input("b.txt", options(3, 3));
    EXPECT_FALSE(convert({a, b}, {"6441"}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "変換用作業ファイルの読み込みに失敗しました");
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_EQ(writerRuns(), 0);
    expectCleanEnd();
}

// A file of the item without any cell to write gives no empty output: the writer is not run.
TEST_F(MeshConversion, OneFileWithoutAnyCellIsRefusedAsNoData) {
    ui_.answer(Answer::Ok);
    const std::string a = input("a.txt", options(3));
    EXPECT_FALSE(convert({a}, {"6441"}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "変換するデータがありません（データレコードがありません）。\r" + a);
}

TEST_F(MeshConversion, AFailedWriterRunIsAFailureWithItsMessage) {
    installStandIn(1);
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", options(3))}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
    expectCleanEnd();
}

TEST_F(MeshConversion, TheSameFileTwiceIsOnlyLogged) {
    const std::string a = input("a.txt", options(3));
    EXPECT_FALSE(convert({a, input("b.txt", options(3)), a}));
    EXPECT_THAT(logLines(), ElementsAre("同一入力ファイルが複数指定されています。" + a));
    EXPECT_EQ(writerRuns(), 0);
    EXPECT_FALSE(fs::exists(program_.file("MakeShapeFile.fil_H")));
    EXPECT_FALSE(fs::exists(program_.file("xxtmpMesh.mdb")));
    EXPECT_EQ(label_.text().toStdString(), "before");
}

// A log line and the end of the conversion; the job's failure box names the file (no box here).
TEST_F(MeshConversion, AFileOfAnotherItemIsLoggedWithItsPath) {
    gen::MeshFileOptions other = options(3);
    other.headerKey = "L03";
    const std::string b = input("b.txt", other);
    EXPECT_FALSE(convert({input("a.txt", options(3)), b}));
    EXPECT_THAT(logLines(), ElementsAre("ファイルの種別が「標高・傾斜度メッシュ」ではありません。 (" + b + ")"));
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_EQ(conversionState().OtherItemInputFiles, std::vector<std::string>{b});
    EXPECT_FALSE(fs::exists(program_.file("MakeShapeFile.fil_H")));
}

TEST_F(MeshConversion, ACodeWithoutARingStopsWithTheLogLine) {
    gen::MeshFileOptions o = options(4);
    o.shortCodeEvery = 3;
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", o)}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModMesh (MeshMake)");
    EXPECT_EQ(ui_.boxes()[0].text, "13 型が一致しません。");
    EXPECT_THAT(logLines(), ElementsAre(kRingFailure));
    EXPECT_EQ(writerRuns(), 0);
    EXPECT_FALSE(conversionState().InFileNo.isOpen());
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

TEST_F(MeshConversion, AHalfMeshQuarterOutsideOneToFourIsRefusedNotPlacedAtTheOrigin) {
    layer(4, 0);
    gen::MeshFileOptions o = options(3);
    o.level = 4;
    o.badHalfDigitEvery = 2;
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", o)}));
    EXPECT_EQ(ui_.boxes().at(0).text, "5 プロシージャの呼び出し、または引数が不正です。");
    EXPECT_THAT(logLines(), ElementsAre(kRingFailure));
}

TEST_F(MeshConversion, ASubdividedCellWithoutARingTakesTheEndSteps) {
    layer(3, 10);
    gen::MeshFileOptions o = options(2);
    o.subdivision = 10;
    o.shortCodeEvery = 2;
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", o)}));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: ModMesh (SaibunMeshMake)");
    EXPECT_THAT(logLines(), ElementsAre(kRingFailure));
    EXPECT_EQ(writerRuns(), 0);
    expectCleanEnd();
}

TEST_F(MeshConversion, ARefusedItemTypeEndsBeforeAnyRecord) {
    layer(3, 0).ItemType[3] = "Date";
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", options(3))}));
    EXPECT_EQ(ui_.boxes().at(0).text, "型が一致しません\rTextデータ 型 => Date");
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
    EXPECT_EQ(writerRuns(), 0);
}

TEST_F(MeshConversion, AMissingFileIsARunTimeErrorThatLeavesNoPair) {
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", options(3)), program_.file("in/missing.txt")}));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: ModMesh (MakeShapeMESHFileData)");
    EXPECT_EQ(ui_.boxes().at(0).text, "53 ファイルが見つかりません。");
    EXPECT_TRUE(ui_.boxes().at(0).systemModal);
    expectCleanEnd();
}

TEST_F(MeshConversion, ALeftoverWorkDatabaseHeldOpenCannotBeReplaced) {
    db::Database held = db::Database::create(program_.file("xxtmpMesh.mdb"));
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", options(3)), input("b.txt", options(3, 3))}));
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModMesh (pMeshDb)");
    EXPECT_EQ(ui_.boxes()[1].text, "変換用作業ファイルの作成に失敗しました");
    EXPECT_EQ(writerRuns(), 0);
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

TEST_F(MeshConversion, ALeftoverWorkDatabaseOfAnEarlierJobIsReplaced) {
    db::Database::create(program_.file("xxtmpMesh.mdb")).close();
    ASSERT_TRUE(convert({input("a.txt", options(3)), input("b.txt", options(3, 3))}));
    EXPECT_EQ(keyed(coordinates(), "LINKIDX").size(), 6u);
    expectCleanEnd();
}

}  // namespace
