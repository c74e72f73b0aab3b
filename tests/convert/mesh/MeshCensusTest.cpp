// Census mesh files: comma- or tab-separated cells, "-" values, wrongly formed lines, "H" lines inside,
// and files whose separators cannot be told.
#include <gmock/gmock.h>

#include "tests/convert/mesh/MeshFixture.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::ElementsAre;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

const char* const kNotice =
    "入力データのフォーマットに不正がありました.\r\n不正のあったデータを読み飛ばしてシェープファイルを作成しました。\r\n"
    "エラー内容はLOGファイルを参照してください";

class Census : public MeshFixture {
protected:
    Census() { layer(3, 0, gen::MeshFileFormat::Comma); }

    gen::MeshFileOptions options(gen::MeshFileFormat format = gen::MeshFileFormat::Comma, int records = 4) {
        gen::MeshFileOptions o;
        o.format = format;
        o.records = records;
        return o;
    }
    // A census file of the given lines after the header.
    std::string file(const std::string& name, const std::vector<std::string>& lines) {
        gen::MeshFileModel m = gen::makeMeshFileModel(options(gen::MeshFileFormat::Comma, 0));
        for (const std::string& l : lines) m.records.push_back({{}, {}, text::toCp932(l), {}, {}});
        return input(name, m);
    }
};

TEST_F(Census, ADashIsZeroAndTheCodeValuesAreThoseOfTheLevel) {
    ASSERT_TRUE(convert({file("a.csv", {"53394567,-,12", "53394568 , 7 ,-"})}));
    const std::vector<std::string> h = header();
    EXPECT_THAT(keyed(h, "DBFITEM_NAME"),
                ElementsAre("DBFITEM_NAME,1MCODE,C,4,0", "DBFITEM_NAME,2MCODE,C,6,0", "DBFITEM_NAME,3MCODE,C,8,0",
                            "DBFITEM_NAME,農家数,N,6,0", "DBFITEM_NAME,耕地面積,N,8,0"));
    EXPECT_THAT(keyed(h, "DBFITEM"),
                ElementsAre("DBFITEM,5339,533945,53394567,0,12", "DBFITEM,5339,533945,53394568,7,0"));
    EXPECT_EQ(keyed(h, "BOX")[0], "BOX,139.7125,35.7166666666667,139.725,35.725");
    EXPECT_THAT(keyed(coordinates(), "LINKIDX"), ElementsAre("LINKIDX,1", "LINKIDX,2"));
    EXPECT_TRUE(logLines().empty());
    expectCleanEnd();
}

TEST_F(Census, AWronglyFormedLineIsLoggedWithItsLineNumberAndTheNoticeFollowsTheWriter) {
    gen::MeshFileOptions o = options(gen::MeshFileFormat::Comma, 5);
    o.extraFieldEvery = 2;
    o.headerLineEvery = 4;  // an "H" line after line 4 of the records: passed over without a word
    const std::string a = input("a.csv", o);
    ui_.answer(Answer::Ok);
    ASSERT_TRUE(convert({a}));
    EXPECT_EQ(writerRuns(), 1);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, kNotice);
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    // Records 2 and 4 are lines 3 and 5 of the file (line 1 is the header).
    EXPECT_THAT(logLines(), ElementsAre("入力データのフォーマットに異常があります " + a + " の 3行目); \"",
                                        "入力データのフォーマットに異常があります " + a + " の 5行目); \""));
    EXPECT_THAT(keyed(header(), "LINKNO"), ElementsAre("LINKNO,1", "LINKNO,2", "LINKNO,3"));
}

TEST_F(Census, TabSeparatedFilesAndSeveralFilesAreNeverFilteredByChosenCodes) {
    const std::string a = input("a.txt", options(gen::MeshFileFormat::Tab, 3));
    const std::string b = input("b.csv", options(gen::MeshFileFormat::Comma, 2));
    ASSERT_TRUE(convert({a, b}, {"6441"}));
    EXPECT_EQ(keyed(header(), "LINKNO").size(), 5u);
    // b repeats a's first two cells: they get no second ring.
    EXPECT_THAT(keyed(coordinates(), "LINKIDX"), ElementsAre("LINKIDX,1", "LINKIDX,2", "LINKIDX,3"));
}

TEST_F(Census, AFileWithBothSeparatorsStopsTheJobWithoutRunningTheWriter) {
    const std::string first = input("a.csv", options());
    gen::MeshFileOptions o = options();
    o.mixedSeparators = true;
    const std::string mixed = input("b.csv", o);
    // An earlier output stays as it was.
    TempProgramFolder::write(program_.file("out.shp"), "earlier");
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({first, mixed}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "データフォーマットが不正です（カンマ、ＴＡＢ混在）");
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_THAT(logLines(), ElementsAre("データフォーマットが不正です（カンマ、ＴＡＢ混在） (" + mixed + ")"));
    EXPECT_EQ(writerRuns(), 0);
    EXPECT_EQ(TempProgramFolder::read(program_.file("out.shp")), "earlier");
    expectCleanEnd();
}

TEST_F(Census, AFileWithNeitherSeparatorHasEveryLineLoggedAsWronglyFormed) {
    const std::string a = file("a.csv", {"53394567", "H  between", "53394568"});
    // No line gives a cell: no empty output is written, the refusal says why.
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    EXPECT_FALSE(convert({a}));
    EXPECT_THAT(logLines(), ElementsAre("入力データのフォーマットに異常があります " + a + " の 2行目); \"",
                                        "入力データのフォーマットに異常があります " + a + " の 4行目); \"",
                                        "変換するデータがありません（データレコードがありません）。 " + a));
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].text, "変換するデータがありません（データレコードがありません）。\r" + a);
    EXPECT_EQ(ui_.boxes()[1].text, kNotice);
    EXPECT_EQ(writerRuns(), 0);
}

TEST_F(Census, ACodeWithoutARingStopsWithTheLogLine) {
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({file("a.csv", {"53394567,1,2", "5339456,1,2"})}));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: ModMesh (MeshMake)");
    EXPECT_THAT(logLines(), ElementsAre("農業センサスメッシュ作成中にエラーが発生しました(メッシュコード→ＸＹ座標変換)"));
    EXPECT_EQ(writerRuns(), 0);
}

}  // namespace
