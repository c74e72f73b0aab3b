// Nationwide jobs through the headless job runner, ticks given as clicks, outputs read back with ogrinfo;
// and the shipped mesh tree file.
#include <gmock/gmock.h>

#include <filesystem>
#include <set>

#include "app/MeshTree.h"
#include "app/TreeModel.h"
#include "platform/text/Cp932.h"
#include "tests/app/jobs/JobRunFixture.h"
#include "tests/tools/gen/MeshFileGen.h"

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
