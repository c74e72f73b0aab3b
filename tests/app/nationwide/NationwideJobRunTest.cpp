// Nationwide jobs through the headless job runner, ticks given as clicks, outputs read back with ogrinfo;
// and the shipped mesh tree file.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "app/MeshTree.h"
#include "app/TreeModel.h"
#include "platform/text/Cp932.h"
#include "tests/app/jobs/JobRunFixture.h"
#include "tests/tools/gen/MeshFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

class NationwideJobRun : public JobRunFixture {
protected:
    NationwideJobRun() {
        writeCatalogue(program_.path(),
                       {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                        {CatalogKind::Line, 26, "鉄道", "N02-RW", lineItems(gen::ordinaryLedgerItems())},
                        {CatalogKind::Mesh, 0, "指定地域メッシュ", "M99",
                         meshCatalogueItems(gen::MeshFileFormat::Fixed, 0), 3, 0}});
        // 533946 belongs to the second prefecture: it lies between the first one's codes.
        writeLines(program_.file("DataView.csv"), {"1,01,北海道", "2,01,533945,a", "2,01,533947,c", "2,01,533948,d",
                                                   "1,02,青森県", "2,02,533946,b", "1,03,岩手県", "2,03,533900,e",
                                                   "2,03,533901,f", "2,03,533902,g"});
    }
    // Twelve lines of one link each, three starting in each mesh.
    std::string lines(gen::LineItem item = gen::LineItem::Ordinary) const {
        gen::LineFileOptions o;
        o.item = item;
        o.headerKey = item == gen::LineItem::Railway ? "N02-RW" : "N03-L";
        o.meshes = {533945, 533946, 533947, 533948};
        o.links = o.lines = 12;
        o.linksPerLine = 1;
        o.stations = item == gen::LineItem::Railway ? 4 : 0;
        const std::string path = program_.file("in/japan.txt");
        gen::writeLineFile(path, gen::makeLineFileModel(o));
        return path;
    }
    // The feature count ogrinfo reads.
    static int features(const std::string& info) {
        const auto at = info.find("Feature Count: ");
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + 15));
    }
};

TEST_F(NationwideJobRun, TwoMeshesWithAnUntickedMeshBetweenGiveExactlyTheirLines) {
    const std::string input = lines();
    const JobRun run = jobrun("--nationwide --kind line --row 3 --meshes 533945,533947 --answer no --out '" +
                              program_.file("out/two") + "' '" + input + "'");
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n");
    const std::string info = ogrinfo(program_.file("out/two.shp"));
    EXPECT_EQ(features(info), 6);
    // Lines 1, 3, 5, 7, 9 and 11 start in 533945 and 533947; 533946 and 533948 stay out.
    for (const char* name : {"ライン1\n", "ライン3\n", "ライン5\n", "ライン7\n", "ライン9\n", "ライン11\n"})
        EXPECT_THAT(info, HasSubstr(std::string("名称 (String) = ") + name));
    for (const char* name : {"ライン2\n", "ライン4\n", "ライン8\n", "ライン12\n"})
        EXPECT_THAT(info, ::testing::Not(HasSubstr(std::string("名称 (String) = ") + name)));
}

TEST_F(NationwideJobRun, TickedMeshesApartFromAMeshTheTreeDoesNotListLeaveThatMeshsLinesOut) {
    // The data holds lines of 533946, which lies between the ticked meshes and which this tree does not list.
    writeLines(program_.file("DataView.csv"), {"1,01,北海道", "2,01,533945,a", "2,01,533947,c"});
    const std::string input = lines();
    const JobRun run = jobrun("--nationwide --kind line --row 3 --meshes 533945,533947 --answer no --out '" +
                              program_.file("out/apart") + "' '" + input + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string info = ogrinfo(program_.file("out/apart.shp"));
    EXPECT_EQ(features(info), 6);
    for (const char* name : {"ライン2\n", "ライン6\n", "ライン10\n"})
        EXPECT_THAT(info, ::testing::Not(HasSubstr(std::string("名称 (String) = ") + name)));
}

TEST_F(NationwideJobRun, AnAreaJobsAttachedOutputsTakeOnlyTheTickedMeshesOfItsData) {
    // Four areas side by side, one in each of 533920 to 533923; the tree lists the two that are ticked.
    datagen::AreaStructureOptions o;
    o.row = 0;
    o.grid.cols = 4;
    o.grid.rows = 1;
    o.grid.vertices_per_link = 5;
    o.grid.cell_units = 4500;  // 1/8 degree: one secondary mesh wide
    const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("in/area"), o);
    writeAreaCatalogue(program_.path(), m, "面");
    writeLines(program_.file("DataView.csv"), {"1,13,東京都", "2,13,533920,a", "2,13,533922,c"});
    const std::set<std::string> ticked = {"533920", "533922"};
    const datagen::AreaStructureFile& file = m.files.front();
    std::set<std::string> areaMeshes;
    for (const datagen::AreaAreaModel& a : file.areas) areaMeshes.insert(a.mesh);
    ASSERT_EQ(areaMeshes, (std::set<std::string>{"533920", "533921", "533922", "533923"}));
    long links = 0;
    for (const datagen::AreaLinkModel& l : file.links) links += ticked.count(l.start_mesh);
    ASSERT_GT(links, 0);
    ASSERT_LT(links, static_cast<long>(file.links.size()));

    const JobRun run = jobrun("--nationwide --kind area --row 0 --polygons no --attached both --meshes 533920,533922 "
                              "--out '" + program_.file("out/area") + "' '" + file.path + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string points = ogrinfo(program_.file("out/area_P.shp"));
    EXPECT_EQ(features(points), 2);
    EXPECT_EQ(features(ogrinfo(program_.file("out/area_L.shp"))), links);
}

TEST_F(NationwideJobRun, TheWholeCountryMatchesTheFileListJob) {
    const std::string input = lines();
    const JobRun all = jobrun("--nationwide --kind line --row 3 --all --out '" + program_.file("out/all") + "' '" + input + "'");
    const JobRun list = jobrun("--kind line --row 3 --out '" + program_.file("out/list") + "' '" + input + "'");
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(list.exitCode, 0);
    // Everything after the layer's name, features numbered without it.
    auto body = [](const std::string& info, const std::string& layer) {
        std::string b = info.substr(info.find("Geometry:"));
        for (std::size_t at; (at = b.find("OGRFeature(" + layer + ")")) != std::string::npos;)
            b.replace(at, 12 + layer.size(), "OGRFeature()");
        return b;
    };
    EXPECT_EQ(features(ogrinfo(program_.file("out/all.shp"))), 12);
    EXPECT_EQ(body(ogrinfo(program_.file("out/all.shp")), "all"), body(ogrinfo(program_.file("out/list.shp")), "list"));
}

TEST_F(NationwideJobRun, TheRailwayRowWritesItsStationsOfThePrefectures) {
    const std::string input = lines(gen::LineItem::Railway);
    const JobRun run = jobrun("--nationwide --kind line --row 26 --prefectures 01 --out '" + program_.file("out/rail") +
                              "' '" + input + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(features(ogrinfo(program_.file("out/rail.shp"))), 9);
    EXPECT_EQ(features(ogrinfo(program_.file("out/rail_駅名.shp"))), 3);
}

TEST_F(NationwideJobRun, RailwayStationsWithoutLedgerRowsGiveTheLinesAnEmptyStationOutputAndSuccess) {
    gen::LineFileOptions o;
    o.item = gen::LineItem::Railway;
    o.headerKey = "N02-RW";
    o.meshes = {533945, 533946, 533947, 533948};
    o.links = o.lines = 12;
    o.linksPerLine = 1;
    o.stations = 4;
    gen::LineFileModel m = gen::makeLineFileModel(o);
    m.stationLedgers.clear();
    const std::string input = program_.file("in/japan.txt");
    gen::writeLineFile(input, m);
    const JobRun run = jobrun("--nationwide --kind line --row 26 --all --answer no --out '" + program_.file("out/rail") +
                              "' '" + input + "'");
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n");
    EXPECT_EQ(features(ogrinfo(program_.file("out/rail.shp"))), 12);
    EXPECT_EQ(features(ogrinfo(program_.file("out/rail_駅名.shp"))), 0);
    const std::string log = onlyLog();
    std::size_t skipped = 0;
    for (std::size_t at = log.find("ノード台帳にノード属性情報がありません。ノード属性番号 = "); at != std::string::npos;
         at = log.find("ノード台帳にノード属性情報がありません。ノード属性番号 = ", at + 1))
        ++skipped;
    EXPECT_EQ(skipped, 4u) << log;
}

TEST_F(NationwideJobRun, MeshesFromAFileAndAClickTwiceUnticks) {
    const std::string input = lines();
    const std::string codes = program_.file("in/codes.txt");
    writeLines(codes, {"533946", "533948 533945"});
    const JobRun run = jobrun("--nationwide --kind line --row 3 --meshes @'" + codes + "' --meshes 533948 --out '" +
                              program_.file("out/file") + "' '" + input + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(features(ogrinfo(program_.file("out/file.shp"))), 6);
    EXPECT_EQ(jobrun("--nationwide --kind line --row 3 --meshes 999999 --out x '" + input + "'").exitCode, 1);
    EXPECT_EQ(jobrun("--kind line --row 3 --all --out x '" + input + "'").exitCode, 2);
}

TEST_F(NationwideJobRun, AMeshJobKeepsTheCellsOfTheTickedMeshes) {
    // 300 third-level cells: 100 in each of 533900, 533901 and 533902.
    gen::MeshFileOptions o;
    o.records = 300;
    const std::string input = program_.file("in/cells.txt");
    gen::writeMeshFile(input, gen::makeMeshFileModel(o));
    const JobRun run = jobrun("--nationwide --kind mesh --row 0 --meshes 533902,533900 --out '" +
                              program_.file("out/cells") + "' '" + input + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string info = ogrinfo(program_.file("out/cells.shp"));
    EXPECT_EQ(features(info), 200);
    EXPECT_THAT(info, HasSubstr("= 5339020"));
    EXPECT_THAT(info, ::testing::Not(HasSubstr("= 5339010")));
}

// Point jobs of a selection: a tree made of the meshes the generated points lie in, the first half of them
// under one prefecture and the rest under another, so every mesh a point lies in can be ticked or left out.
class NationwidePointJobRun : public JobRunFixture {
protected:
    static constexpr long kPoints = 40;

    NationwidePointJobRun() {
        writeCatalogue(program_.path(), {pointCatalogueRow(12, layer_), pointCatalogueRow(1, port_)});
        std::set<std::string> meshes;
        for (long i = 0; i < kPoints; ++i) meshes.insert(gen::genPoint(layer_, {}, i).mesh);
        meshes_.assign(meshes.begin(), meshes.end());
        std::vector<std::string> tree = {"1,01,北海道"};
        for (std::size_t i = 0; i < meshes_.size(); ++i) {
            if (i == meshes_.size() / 2) tree.push_back("1,02,青森県");
            tree.push_back(std::string("2,") + (i < meshes_.size() / 2 ? "01," : "02,") + meshes_[i] + ",m");
        }
        writeLines(program_.file("DataView.csv"), tree);
    }
    // Two neighbouring meshes of the first prefecture and one of the second, apart from them: two entries of
    // the selection, one of them a run of two codes.
    std::vector<std::string> ticked() const { return {meshes_[1], meshes_[2], meshes_[meshes_.size() - 2]}; }
    // The indexes of the generated points that lie in the ticked meshes, in file order.
    std::vector<long> pointsOfTicked(const gen::PointGenLayer& layer) const {
        const std::vector<std::string> t = ticked();
        std::vector<long> in;
        for (long i = 0; i < kPoints; ++i)
            if (std::count(t.begin(), t.end(), gen::genPoint(layer, {}, i).mesh)) in.push_back(i);
        return in;
    }
    std::string input(const gen::PointGenLayer& layer) const {
        gen::PointFileOptions o;
        o.points = kPoints;
        const std::string path = program_.file("in/points.txt");
        gen::writeFixedPointFile(path, layer, o);
        return path;
    }
    std::string pointJob(int row, const gen::PointGenLayer& layer, const std::string& output,
                         const std::string& answers) const {
        const std::vector<std::string> t = ticked();
        const JobRun run = jobrun("--nationwide --kind point --row " + std::to_string(row) + " --meshes " + t[0] + "," +
                                  t[1] + "," + t[2] + " " + answers + " --out '" + program_.file("out/" + output) +
                                  "' '" + input(layer) + "'");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return run.output;
    }
    // The points as ogrinfo prints them, in feature order.
    static std::vector<std::string> points(const std::string& info) {
        std::vector<std::string> v;
        for (std::size_t at = info.find("POINT ("); at != std::string::npos; at = info.find("POINT (", at + 1))
            v.push_back(info.substr(at, info.find(')', at) + 1 - at));
        return v;
    }
    static std::vector<std::string> expectedPoints(const gen::PointGenLayer& layer, const std::vector<long>& indexes) {
        std::vector<std::string> v;
        for (long i : indexes) {
            const gen::GenPoint p = gen::genPoint(layer, {}, i);
            v.push_back("POINT (" + gen::degreesText(p.x) + " " + gen::degreesText(p.y) + ")");
        }
        return v;
    }

    gen::PointGenLayer layer_ = gen::standardPointLayer();
    gen::PointGenLayer port_ = gen::portLayer(593);
    std::vector<std::string> meshes_;
};

TEST_F(NationwidePointJobRun, TickedMeshesGiveExactlyTheirPoints) {
    const std::vector<long> expected = pointsOfTicked(layer_);
    ASSERT_GE(expected.size(), 3u);
    ASSERT_LT(expected.size(), static_cast<std::size_t>(kPoints) / 4);
    EXPECT_EQ(pointJob(12, layer_, "plants.shp", "--answer no"),
              "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n");
    const std::string info = ogrinfo(program_.file("out/plants.shp"));
    EXPECT_EQ(points(info), expectedPoints(layer_, expected));
    std::vector<std::string> names;
    for (long i : expected) names.push_back(gen::genPoint(layer_, {}, i).values[2]);
    EXPECT_EQ(fieldValues(info, "名称"), names);
}

TEST_F(NationwidePointJobRun, ATreeOfTheTickedMeshesAloneStillGivesExactlyTheirPoints) {
    // The meshes between the ticked ones hold points but are listed nowhere in the tree.
    const std::vector<std::string> t = ticked();
    writeLines(program_.file("DataView.csv"), {"1,01,北海道", "2,01," + t[0] + ",a", "2,01," + t[1] + ",b", "2,01," + t[2] + ",c"});
    const std::vector<long> expected = pointsOfTicked(layer_);
    pointJob(12, layer_, "plants.shp", "--answer no");
    EXPECT_EQ(points(ogrinfo(program_.file("out/plants.shp"))), expectedPoints(layer_, expected));
}

TEST_F(NationwidePointJobRun, ThePortRowWritesThePointsOfTheTickedMeshesAndTheirTables) {
    const std::vector<long> expected = pointsOfTicked(port_);
    ASSERT_GE(expected.size(), 3u);
    EXPECT_EQ(pointJob(1, port_, "port.shp", "--answer no"),
              "box: ﾒｯｯｾｰｼﾞ | 港湾データは属性データ属性データのフィールド数が、２５６フィールドを超えている為 "
              "基礎データと年別情報毎に分割して作成します。\n"
              "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n");
    const std::string shape = ogrinfo(program_.file("out/port.shp"));
    EXPECT_EQ(points(shape), expectedPoints(port_, expected));
    // The written points are numbered from 1 without gaps, the tables by the same keys.
    std::vector<std::string> keys;
    for (std::size_t k = 1; k <= expected.size(); ++k) keys.push_back(std::to_string(k));
    EXPECT_EQ(fieldValues(shape, "LinkKey"), keys);
    const std::string last = ogrinfo(program_.file("out/port_S61.dbf"));
    EXPECT_EQ(fieldValues(last, "LinkKey"), keys);
    std::vector<std::string> lastItem;
    for (long i : expected) lastItem.push_back(gen::genPoint(port_, {}, i).values[592]);
    EXPECT_EQ(fieldValues(last, "項目593"), lastItem);
}

TEST(ShippedMeshTree, LoadsWithFortySevenPrefecturesAndValidUniqueCodes) {
    TreeModel tree;
    loadMeshTree(tree, std::string(VELMORA_PROGRAM_DIR) + "/DataView.csv");
    const TreeModel::Node& root = tree.node(tree.root());
    ASSERT_EQ(root.children.size(), 47u);
    std::set<std::string> codes;
    for (std::size_t i = 0; i < root.children.size(); ++i) {
        const TreeModel::Node& p = tree.node(root.children[i]);
        char code[3];
        std::snprintf(code, sizeof code, "%02zu", i + 1);
        EXPECT_EQ(p.key, std::string("r") + code);
        EXPECT_FALSE(p.children.empty()) << p.text;
        std::string previous;
        for (int m : p.children) {
            const std::string c = tree.node(m).key.substr(3);
            ASSERT_EQ(c.size(), 6u) << c;
            EXPECT_EQ(c.find_first_not_of("0123456789"), std::string::npos) << c;
            EXPECT_LE(c[4], '7');
            EXPECT_LE(c[5], '7');
            EXPECT_LT(previous, c);
            previous = c;
            codes.insert(c);
        }
    }
    EXPECT_EQ(tree.node(root.children[0]).text, "01   北海道");
    EXPECT_EQ(tree.node(root.children[46]).text, "47   沖縄県");
    EXPECT_EQ(codes.size() + 48, tree.size());
}

}  // namespace
