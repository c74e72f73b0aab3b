// Mesh jobs through the headless job runner with the real Brunhale: generated mesh files, catalogue rows
// with their level and subdivision, outputs read back with ogrinfo.
#include <gmock/gmock.h>

#include <filesystem>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/tools/gen/MeshFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

namespace {

constexpr const char* kAddQuestion = "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n";

class MeshJobRun : public ::testing::Test {
protected:
    MeshJobRun() {
        for (const char* sub : {"Log", "in", "out"}) fs::create_directories(program_.file(sub));
        using gen::MeshFileFormat;
        writeCatalogue(program_.path(),
                       {{CatalogKind::Mesh, 0, "指定地域メッシュ", "M99", meshCatalogueItems(MeshFileFormat::Fixed, 0), 3, 0},
                        {CatalogKind::Mesh, 12, "土地利用メッシュ・1/10細分区画", "M99",
                         meshCatalogueItems(MeshFileFormat::Fixed, 10), 3, 10},
                        {CatalogKind::Mesh, 25, "農業センサスメッシュ", "M99", meshCatalogueItems(MeshFileFormat::Comma, 0), 3, 0},
                        {CatalogKind::Mesh, 2, "森林・国公有地メッシュ", "M99", lineItems(gen::layerItems(gen::MeshLayerKind::Forest)), 3, 0},
                        {CatalogKind::Mesh, 17, "湖沼メッシュ", "M99", lineItems(gen::layerItems(gen::MeshLayerKind::Lake)), 3, 0},
                        {CatalogKind::Mesh, 4, "波向・海霧・自然漁場２次メッシュ", "M99",
                         lineItems(gen::layerItems(gen::MeshLayerKind::FourWay)), 2, 0}});
    }

    // jobrun's output (boxes and result) for a mesh row, answering the closing question No.
    std::string jobrun(int row, const std::string& output, const std::vector<std::string>& inputs) const {
        std::string command = std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" + program_.path() +
                              "' --kind mesh --row " + std::to_string(row) + " --datum 2000 --answer no --out '" +
                              output + "'";
        for (const std::string& in : inputs) command += " '" + in + "'";
        return capture(command + " 2>/dev/null");
    }
    std::string file(const std::string& name, const gen::MeshFileOptions& o) const {
        const std::string path = program_.file("in/" + name);
        gen::writeMeshFile(path, gen::makeMeshFileModel(o));
        return path;
    }
    std::string out(const std::string& name) const { return program_.file("out/" + name); }
    // The features of a shapefile, one ogrinfo block each.
    static std::vector<std::string> features(const std::string& info) {
        std::vector<std::string> blocks;
        for (std::size_t at = info.find("OGRFeature("); at != std::string::npos;) {
            const std::size_t next = info.find("OGRFeature(", at + 1);
            blocks.push_back(info.substr(at, next == std::string::npos ? std::string::npos : next - at));
            at = next;
        }
        return blocks;
    }
    void expectNothingLeft() const {
        for (const char* left : {"MakeShapeFile.fil_H", "MakeShapeFile.fil_D", "xxtmpMesh.mdb"})
            EXPECT_FALSE(fs::exists(program_.file(left))) << left;
    }

    BrunhaleFolder program_;
};

gen::MeshFileOptions cells(int records, int firstCell = 0) {
    gen::MeshFileOptions o;
    o.records = records;
    o.firstCell = firstCell;
    return o;
}

TEST_F(MeshJobRun, AThirdLevelFileBecomesOnePolygonPerRecord) {
    EXPECT_EQ(jobrun(0, out("mesh"), {file("a.txt", cells(120))}), kAddQuestion);
    const std::string info = ogrinfo(out("mesh.shp"));
    EXPECT_THAT(info, HasSubstr("Geometry: Polygon"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 120"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4612]"));
    const std::vector<std::string> f = features(info);
    ASSERT_EQ(f.size(), 120u);
    // Cell 101 is 53390101: second-level cell 533901, third-level row 0, column 1.
    EXPECT_THAT(f[101], HasSubstr("3MCODE (String) = 53390101"));
    EXPECT_THAT(f[101], HasSubstr("区分 (String) = 市街地"));
    EXPECT_THAT(f[101], HasSubstr("POLYGON ((139.1375 35.3333333333333,139.1375 35.3416666666667,139.15 35.3416666666667,"
                                  "139.15 35.3333333333333,139.1375 35.3333333333333))"));
    expectNothingLeft();
}

TEST_F(MeshJobRun, TwoFilesRepeatingCodesKeepEveryRecordButOnlyTheFirstRing) {
    const std::string a = file("a.txt", cells(4)), b = file("b.txt", cells(4, 2));
    EXPECT_EQ(jobrun(0, out("mesh.shp"), {a, b}), kAddQuestion);
    const std::vector<std::string> f = features(ogrinfo(out("mesh.shp")));
    ASSERT_EQ(f.size(), 8u);
    // Records 5 and 6 repeat cells 2 and 3: their attributes are kept on null shapes.
    for (int k : {0, 1, 2, 3, 6, 7}) EXPECT_THAT(f[k], HasSubstr("POLYGON ((")) << k;
    for (int k : {4, 5}) EXPECT_THAT(f[k], Not(HasSubstr("POLYGON"))) << k;
    EXPECT_THAT(f[4], HasSubstr("3MCODE (String) = 53390002"));
    expectNothingLeft();
}

TEST_F(MeshJobRun, ATenByTenLayerWritesAHundredCellsPerRecordFromTheSouthWest) {
    gen::MeshFileOptions o = cells(2);
    o.subdivision = 10;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.records[1].code = "53394567";
    const std::string a = program_.file("in/a.txt");
    gen::writeMeshFile(a, m);
    EXPECT_EQ(jobrun(12, out("use.shp"), {a}), kAddQuestion);
    const std::vector<std::string> f = features(ogrinfo(out("use.shp")));
    ASSERT_EQ(f.size(), 200u);
    // Cell 99 of the second record: row 9, column 9, the north-east corner of 53394567.
    EXPECT_THAT(f[199], HasSubstr("1/10CODE (String) = 99"));
    EXPECT_THAT(f[199], HasSubstr("POLYGON ((139.72375 35.7241666666667,139.72375 35.725,139.725 35.725,139.725 "
                                  "35.7241666666667,139.72375 35.7241666666667))"));
    EXPECT_THAT(f[199], HasSubstr("土地利用 (String) = " + m.records[1].values[198]));
    EXPECT_THAT(f[100], HasSubstr("1/10CODE (String) = 00"));
    EXPECT_THAT(f[100], HasSubstr("POLYGON ((139.7125 35.7166666666667,"));
}

TEST_F(MeshJobRun, CensusFilesSeparatedByCommasOrTabs) {
    gen::MeshFileOptions comma = cells(3);
    comma.format = gen::MeshFileFormat::Comma;
    comma.dashes = true;
    gen::MeshFileOptions tab = cells(3, 3);
    tab.format = gen::MeshFileFormat::Tab;
    EXPECT_EQ(jobrun(25, out("census.shp"), {file("a.csv", comma), file("b.txt", tab)}), kAddQuestion);
    const std::vector<std::string> f = features(ogrinfo(out("census.shp")));
    ASSERT_EQ(f.size(), 6u);
    EXPECT_THAT(f[0], HasSubstr("農家数 (Integer) = 0"));  // "-" is written as 0
    EXPECT_THAT(f[4], HasSubstr("3MCODE (String) = 53390004"));
    EXPECT_THAT(f[4], HasSubstr("耕地面積 (Integer) = 52"));
    for (const std::string& feature : f) EXPECT_THAT(feature, HasSubstr("POLYGON (("));
}

TEST_F(MeshJobRun, AFileOfAnotherItemFailsTheJobAndLeavesTheEarlierOutput) {
    ASSERT_EQ(jobrun(0, out("mesh.shp"), {file("a.txt", cells(3))}), kAddQuestion);
    const std::string earlier = readFile(out("mesh.shp"));
    gen::MeshFileOptions other = cells(5);
    other.headerKey = "L03";
    const std::string b = file("b.txt", other);
    const std::string run = capture(std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" +
                                    program_.path() + "' --kind mesh --row 0 --answer yes --out '" + out("mesh.shp") +
                                    "' '" + program_.file("in/a.txt") + "' '" + b + "' 2>/dev/null");
    // After the overwrite question, one box: the job's own, naming the file.
    EXPECT_EQ(run, "box: 名前を付けて保存 | 既にシェープファイルが存在します、上書きしますか？\n"
                   "box: Velmora | メッシュデータ変換中にエラーが発生しました。ログファイルを参照してください。 "
                   "ファイルの種別が「指定地域メッシュ」ではありません。 (" + b + ")\nresult: failure\n");
    EXPECT_EQ(readFile(out("mesh.shp")), earlier);
    const std::vector<std::string> logs = program_.folder().list("Log");
    ASSERT_FALSE(logs.empty());  // two jobs in one second share one log name: the second replaced the first
    const std::string log = text::fromCp932(readFile(program_.file("Log/" + logs.back())));
    EXPECT_THAT(log, HasSubstr("ファイルの種別が「指定地域メッシュ」ではありません。 (" + b + ")\r\n"));
    EXPECT_THAT(log, EndsWith("エラーにより途中中断しました\r\n"));
    expectNothingLeft();
}

TEST_F(MeshJobRun, AForestLayerJoinsItsLedgerIntoTheCells) {
    gen::MeshFileOptions o = cells(3);
    o.kind = gen::MeshLayerKind::Forest;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.records[0].keys = {"1000001", "", "", "", ""};
    m.records[1].keys = {"", "1000002", "", "", ""};
    for (const gen::GenForestLedger& l : {gen::GenForestLedger{1000001, 12, 3, 45, 100200, 3000, "国有林第一", "東京都千代田区"},
                                          gen::GenForestLedger{1000002, 1, 0, 2, 7, 10, "", "千葉県"}})
        for (const std::string& line : gen::forestLedgerLines(l)) m.ledgerLines.push_back(line);
    const std::string a = program_.file("in/forest.txt");
    gen::writeMeshFile(a, m);
    EXPECT_EQ(jobrun(2, out("forest.shp"), {a}), kAddQuestion);
    const std::string info = ogrinfo(out("forest.shp"));
    EXPECT_THAT(info, HasSubstr("台1口座名: String (80.0)"));
    EXPECT_THAT(info, HasSubstr("台1№1: Integer (3.0)"));
    const std::vector<std::string> f = features(info);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_THAT(f[0], HasSubstr("台1口座名 (String) = 国有林第一"));
    EXPECT_THAT(f[0], HasSubstr("台1所在地 (String) = 東京都千代田区"));
    EXPECT_THAT(f[0], HasSubstr("台1面積 (Integer64) = 3000"));
    EXPECT_THAT(f[0], HasSubstr("台2口座名 (String) = (null)"));
    EXPECT_THAT(f[1], HasSubstr("台2所在地 (String) = 千葉県"));
    EXPECT_THAT(f[1], HasSubstr("台2№1 (Integer) = 1"));
    expectNothingLeft();
    EXPECT_FALSE(fs::exists(program_.file("xxtmpMeshdm.mdb")));
}

TEST_F(MeshJobRun, ALakeLayerJoinsItsLakes) {
    gen::MeshFileOptions o = cells(2);
    o.kind = gen::MeshLayerKind::Lake;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.records[1].keys = {"10001", "10002", "", "", "", "", "", "", "", ""};
    m.ledgerLines = {gen::lakeLedgerLine({10001, "十和田湖", 400, 327}), gen::lakeLedgerLine({10002, "田沢湖", 249, 423})};
    const std::string a = program_.file("in/lake.txt");
    gen::writeMeshFile(a, m);
    EXPECT_EQ(jobrun(17, out("lake.shp"), {a}), kAddQuestion);
    const std::vector<std::string> f = features(ogrinfo(out("lake.shp")));
    ASSERT_EQ(f.size(), 2u);
    EXPECT_THAT(f[1], HasSubstr("湖沼名称 (String) = 十和田湖"));
    EXPECT_THAT(f[1], HasSubstr("湖沼水深 (Integer) = 327"));
    EXPECT_THAT(f[1], HasSubstr("湖沼1名称 (String) = 田沢湖"));
}

TEST_F(MeshJobRun, TheFourWayRowWritesOneShapefilePerSeason) {
    gen::MeshFileOptions o = cells(9);
    o.kind = gen::MeshLayerKind::FourWay;
    const std::string a = file("wave.txt", o);
    const std::string run = capture(std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" +
                                    program_.path() + "' --kind mesh --row 4 --answer yes --out '" + out("wave.shp") +
                                    "' '" + a + "' 2>/dev/null");
    EXPECT_THAT(run, EndsWith("変換されたシェープファイルをマップに追加しますか？\nresult: success\n"));
    // Records 1, 5 and 9 are spring, 2 and 6 summer, and so on.
    const int expected[] = {3, 2, 2, 2};
    for (int k = 1; k <= 4; ++k) {
        const std::string info = ogrinfo(out("wave" + std::to_string(k) + ".shp"));
        EXPECT_THAT(info, HasSubstr("Feature Count: " + std::to_string(expected[k - 1]))) << k;
        EXPECT_THAT(info, HasSubstr("漁場 (String) = 好漁")) << k;
    }
    EXPECT_THAT(features(ogrinfo(out("wave2.shp")))[0], HasSubstr("2MCODE (String) = 533901"));
    for (const char* left : {"MakeShapeFile.fil_H1", "MakeShapeFile.fil_D4"}) EXPECT_FALSE(fs::exists(program_.file(left)));
}

}  // namespace
