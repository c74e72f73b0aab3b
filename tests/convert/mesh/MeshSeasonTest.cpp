// The four-way seasonal layer against a stand-in Brunhale that keeps the pair of every run: one shape
// number over four outputs, seasons passed over, empty seasons, the selection, failed runs and failures.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include "convert/mesh/MeshSeasonConversion.h"
#include "tests/convert/mesh/MeshFixture.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::ElementsAre;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

class Seasons : public MeshFixture {
protected:
    Seasons() {
        layer(gen::MeshLayerKind::FourWay);
        keepEveryRun(0);
    }
    // The stand-in copies run n's pair to "run<n>_H" / "run<n>_D"; run `failing` exits 1.
    void keepEveryRun(int failing) {
        const std::string path = program_.file("Brunhale");
        std::ofstream(path, std::ios::trunc)
            << "#!/bin/sh\nd=$(dirname \"$0\")\necho run >> \"$d/runs\"\nn=$(wc -l < \"$d/runs\")\n"
               "cp \"$d/MakeShapeFile.fil_H\" \"$d/run${n}_H\"\ncp \"$d/MakeShapeFile.fil_D\" \"$d/run${n}_D\"\n"
               "[ \"$n\" = \""
            << failing << "\" ] && exit 1\nexit 0\n";
        ::chmod(path.c_str(), 0755);
    }
    std::string file(const std::vector<std::string>& seasons) {
        gen::MeshFileOptions o;
        o.kind = gen::MeshLayerKind::FourWay;
        o.records = static_cast<int>(seasons.size());
        gen::MeshFileModel m = gen::makeMeshFileModel(o);
        for (std::size_t r = 0; r < seasons.size(); ++r) m.records[r].season = seasons[r];
        return input("a.txt", m);
    }
    bool convert(const std::vector<std::string>& files, const std::vector<std::string>& codes = {}) {
        return ModMesh::TokusyuMakeShape(files, conversionState().OutputPath, codes);
    }
    std::vector<std::string> numbers(int run, const char* key = "LINKNO") {
        std::vector<std::string> n;
        for (const std::string& l : keyed(linesOf("run" + std::to_string(run) + (key[4] == 'N' ? "_H" : "_D")), key))
            n.push_back(l.substr(l.find(',') + 1));
        return n;
    }
    void expectNoSeasonFiles() {
        for (const char* f : {"_H", "_D", "_H1", "_D1", "_H2", "_D2", "_H3", "_D3", "_H4", "_D4"})
            EXPECT_FALSE(fs::exists(program_.file(std::string("MakeShapeFile.fil") + f))) << f;
    }
};

TEST_F(Seasons, OneShapeNumberRunsThroughTheFourOutputs) {
    // A season digit of 0, 5-9, a blank or a letter is passed over; it still moves the bar.
    ASSERT_TRUE(convert({file({"1", "2", "3", "4", "0", "5", " ", "x", "9", "1"})}));
    EXPECT_EQ(writerRuns(), 4);
    EXPECT_THAT(numbers(1), ElementsAre("1", "5"));
    EXPECT_THAT(numbers(1, "LINKIDX"), ElementsAre("1", "5"));
    EXPECT_THAT(numbers(2), ElementsAre("2"));
    EXPECT_THAT(numbers(3), ElementsAre("3"));
    EXPECT_THAT(numbers(4), ElementsAre("4"));
    const std::vector<std::string> h = linesOf("run3_H");
    EXPECT_THAT(std::vector<std::string>(h.begin(), h.begin() + 8),
                ElementsAre("MAKEFILE_NAME," + program_.file("out3"), "SHAPE_TYPE,7,2000", "DBFITEM_COUNT,5",
                            "DBFITEM_NAME,1MCODE,C,4,0", "DBFITEM_NAME,2MCODE,C,6,0", "DBFITEM_NAME,波向,C,2,0",
                            "DBFITEM_NAME,海霧,N,3,0", "DBFITEM_NAME,漁場,C,4,0"));
    EXPECT_EQ(keyed(h, "DBFITEM")[0], "DBFITEM,5339,533902,12,3,好漁");
    EXPECT_EQ(keyed(h, "BOX")[0], "BOX,139.25,35.3333333333333,139.375,35.4166666666667");
    EXPECT_EQ(bar_.value(), bar_.maximum());
    expectNoSeasonFiles();
    expectCleanEnd();
}

TEST_F(Seasons, ASeasonWithoutRecordsStillGetsItsRunAndTheSelectionKeepsChosenCodes) {
    conversionState().OutputPath = program_.file("wave");  // without ".shp": the whole path is the base
    ASSERT_TRUE(convert({file({"1", "2", "1", "2", "4", "1"})}, {"533902", "533905"}));
    EXPECT_EQ(writerRuns(), 4);
    EXPECT_THAT(numbers(1), ElementsAre("1", "2"));  // records 3 (cell 533902) and 6 (533905)
    EXPECT_TRUE(numbers(2).empty());
    EXPECT_TRUE(numbers(3).empty());
    EXPECT_EQ(linesOf("run3_H").size(), 8u);
    EXPECT_EQ(linesOf("run2_H")[0], "MAKEFILE_NAME," + program_.file("wave2"));
}

TEST_F(Seasons, AFailedRunLetsTheOtherSeasonsBeWrittenAndFails) {
    keepEveryRun(2);
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({file({"1", "2", "3", "4"})}));
    EXPECT_EQ(writerRuns(), 4);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_THAT(numbers(4), ElementsAre("4"));
    expectNoSeasonFiles();
    expectCleanEnd();
}

TEST_F(Seasons, ACodeWithoutARingStopsAndRemovesTheSeasonFiles) {
    gen::MeshFileOptions o;
    o.kind = gen::MeshLayerKind::FourWay;
    o.records = 3;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.records[1].code = "53390";
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({input("a.txt", m)}));
    ASSERT_EQ(ui_.boxes().size(), 1u);  // the ring's own box only
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModMesh (MeshMake)");
    EXPECT_THAT(logLines(), ElementsAre("波向・海霧・自然漁場２次メッシュ作成中にエラーが発生しました(メッシュコード→ＸＹ座標変換)"));
    EXPECT_EQ(writerRuns(), 0);
    expectNoSeasonFiles();
    expectCleanEnd();
}

TEST_F(Seasons, ARunTimeErrorShowsItsBoxAndCleansUp) {
    ui_.answer(Answer::Ok);
    EXPECT_FALSE(convert({file({"1", "2"}), program_.file("in/missing.txt")}));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: ModMesh (TokusyuMakeShape)");
    EXPECT_EQ(writerRuns(), 0);
    expectNoSeasonFiles();
}

TEST_F(Seasons, DuplicatesAndFilesOfAnotherItemAreLogged) {
    const std::string a = file({"1"});
    EXPECT_FALSE(convert({a, a}));
    gen::MeshFileOptions other;
    other.headerKey = "C13";
    const std::string b = input("b.txt", other);
    EXPECT_FALSE(convert({a, b}));
    EXPECT_THAT(logLines(), ElementsAre("同一入力ファイルが複数指定されています。" + a,
                                        "ファイルの種別が「波向・海霧・自然漁場２次メッシュ」ではありません。 (" + b + ")"));
    EXPECT_EQ(writerRuns(), 0);
}

}  // namespace
