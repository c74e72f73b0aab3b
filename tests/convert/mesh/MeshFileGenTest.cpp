// The mesh file generator writes what its catalogue row describes: codes in columns 6-14, items at their
// byte positions, subdivided cells one after another, census fields and the switches that spoil a file.
#include <gmock/gmock.h>

#include "platform/text/Cp932.h"
#include "tests/tools/gen/MeshFileGen.h"

using namespace velmora;
using ::testing::ElementsAre;

namespace {

std::vector<std::string> lines(const gen::MeshFileOptions& o) {
    std::vector<std::string> utf8;
    for (const std::string& l : gen::formatMeshFile(gen::makeMeshFileModel(o))) utf8.push_back(text::fromCp932(l));
    return utf8;
}

TEST(MeshFileGen, CodesOfEveryLevelFromTheSouthWest) {
    EXPECT_EQ(gen::meshCellCode(5339, 2, 0), "533900");
    EXPECT_EQ(gen::meshCellCode(5339, 2, 13), "533915");
    EXPECT_EQ(gen::meshCellCode(5339, 3, 6399), "53397799");
    EXPECT_EQ(gen::meshCellCode(5339, 3, 101), "53390101");
    EXPECT_EQ(gen::meshCellCode(5339, 4, 7), "533900014");
}

TEST(MeshFileGen, FixedRecordsPlaceTheirItemsAtTheCatalogueBytes) {
    gen::MeshFileOptions o;
    o.records = 2;
    o.level = 4;
    const std::vector<std::string> l = lines(o);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].substr(13, 10), "M99       ");
    EXPECT_EQ(l[0].substr(33, 8), "       3");
    EXPECT_EQ(l[1], "M   453390000113101      0田畑      0");
    const std::string raw = gen::formatMeshFile(gen::makeMeshFileModel(o))[2];
    EXPECT_EQ(raw.substr(14, 5), "13102");  // bytes 15-19
    EXPECT_EQ(raw.substr(19, 7), "     37");
}

TEST(MeshFileGen, SubdividedRecordsHoldTheirCellsOneAfterAnother) {
    gen::MeshFileOptions o;
    o.records = 1;
    o.level = 2;
    o.subdivision = 5;
    const gen::MeshFileModel m = gen::makeMeshFileModel(o);
    ASSERT_EQ(m.records[0].values.size(), 50u);
    const std::string line = gen::formatMeshFile(m)[1];
    EXPECT_EQ(line.size(), 14u + 25 * 4);
    EXPECT_EQ(line.substr(14, 8), "1  02  1");  // cell 0: letter and height, then cell 1
}

TEST(MeshFileGen, CensusSwitches) {
    gen::MeshFileOptions o;
    o.format = gen::MeshFileFormat::Comma;
    o.records = 4;
    o.dashes = true;
    o.extraFieldEvery = 2;
    o.headerLineEvery = 3;
    EXPECT_THAT(lines(o), ElementsAre(::testing::StartsWith("H"), "53390000,-,0", "53390001,2,13,9", "53390002,3,26",
                                      "H  inside", "53390003,4,-,9"));
    o = {};
    o.format = gen::MeshFileFormat::Tab;
    o.records = 2;
    o.mixedSeparators = true;
    EXPECT_THAT(lines(o), ElementsAre(::testing::StartsWith("H"), "53390000,1\t0", "53390001\t2\t13"));
    o = {};
    o.records = 3;
    o.shortCodeEvery = 3;
    o.headerKey = "L03";
    const std::vector<std::string> l = lines(o);
    EXPECT_EQ(l[0].substr(13, 3), "L03");
    EXPECT_EQ(l[3].substr(5, 9), "533900   ");
}

}  // namespace
