// Whole catalogues: the sample fixture of tests/fixtures/catalogue and the installation files of the
// program folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Catalogue.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;
using velmora::text::toCp932;

namespace {

TEST(CatalogueFixture, SampleLoadsOneItemOfEveryKind) {
    testsupport::TempProgramFolder folder;
    ConversionState& s = conversionState();
    s.AppFolder = std::string(VELMORA_FIXTURES) + "/catalogue/sample/";
    ui::TestUi ui;
    ASSERT_TRUE(catalogue::SetKisoJyoho(s));

    const LayerDef& port = s.PointLayers[3];
    EXPECT_EQ(port.Name, toCp932("漁港"));
    EXPECT_TRUE(port.AllowNationwide);
    EXPECT_EQ(port.HeaderKey, "P02");
    EXPECT_EQ(port.ItemCount, 3);
    EXPECT_EQ(port.ItemName[2], toCp932("漁港名"));
    EXPECT_EQ(port.ItemType[2], "Text2");
    EXPECT_EQ(port.ItemWidth[2], 40);
    EXPECT_TRUE(port.ItemOutput[2]);
    EXPECT_EQ(port.ItemStart[2], 21);
    EXPECT_FALSE(port.ItemOutput[3]);

    EXPECT_EQ(s.LineLayers[25].ItemName[2], toCp932("路線名"));
    EXPECT_FALSE(s.PolygonLayers[9].AllowNationwide);
    EXPECT_EQ(s.PolygonLayers[9].ItemType[1], "Long");
    EXPECT_EQ(s.AttrLayers[13].HeaderKey, "W12-53A");

    const MeshLayerDef& mesh = s.MeshLayers[1];
    EXPECT_EQ(mesh.Name, toCp932("指定地域メッシュ・1/10細分区画"));
    EXPECT_EQ(mesh.MeshLevel, 3);
    EXPECT_EQ(mesh.Subdivision, 10);
    EXPECT_EQ(mesh.ItemName[1], toCp932("メッシュコード"));
    EXPECT_EQ(mesh.ItemWidth[2], 2);
}

TEST(CatalogueFixture, InstalledCatalogueLoadsWithoutABox) {
    testsupport::TempProgramFolder folder;
    for (const char* name : {"DataDBF.csv", "DataDBFItem.csv"})
        std::filesystem::copy_file(std::string(VELMORA_SOURCE_DIR "/catalogue/") + name, folder.path() / name);
    ConversionState& s = conversionState();
    s.AppFolder = folder.path().string() + "/";
    ui::TestUi ui;
    ASSERT_TRUE(catalogue::SetKisoJyoho(s));
    EXPECT_EQ(s.AttrLayers[13].Name, toCp932("単位流域台帳"));
    EXPECT_EQ(s.AttrLayers[13].HeaderKey, "W14-52T");
}

}  // namespace
