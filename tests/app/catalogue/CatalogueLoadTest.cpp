// The catalogue loader over small catalogues written by each case: what is stored, what is ignored, what
// ends the load, and which boxes a user sees.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Catalogue.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;
using velmora::text::toCp932;

namespace {

struct Box {
    std::string text;
    std::string title;
};

const std::string kMismatchText = "CSVファイルの情報が不正です。\rCSVファイルを確認後、再度変換処理を行ってください。";
Box mismatch() { return {kMismatchText, "ｴﾗｰﾒｯｾｰｼﾞ"}; }
Box error(const std::string& text, const std::string& procedure) {
    return {text, "Error: frmDataSelect (" + procedure + ")"};
}

// A catalogue file: its lines (UTF-8, written as CP932) after our heading line, or nothing for a missing
// file. `raw` replaces the whole file when set (an empty file, odd line ends).
struct File {
    std::vector<std::string> lines = {};
    bool missing = false;
    std::optional<std::string> raw = std::nullopt;
};

struct Case {
    const char* name;
    File data;
    File items;
    bool loads;
    std::vector<Box> boxes;
    std::function<void(ConversionState&)> check;
    std::function<void(ConversionState&)> before = {};
    const char* eol = "\r\n";
};

std::string n(const char* utf8) { return toCp932(utf8); }

// A data line of kind 0-3: kind, row, name, six flags, header key, item count.
std::string head(int kind, int row, const char* name, const char* count = "2") {
    return std::to_string(kind) + "," + std::to_string(row) + "," + name + ",0,1,0,0,0,0,KEY," + count;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"HeadingsOnlyLoadWithEveryRowEmpty", {}, {}, true, {},
         [](ConversionState& s) {
             EXPECT_EQ(s.PointLayers[0].Name, "");
             EXPECT_EQ(s.MeshLayers[26].ItemCount, 0);
         }},
        {"KindsOutsideZeroToFourAreIgnored",
         {{"5,0,five,1,1,1,1,1,1,K,1", "-1,0,minus,1,1,1,1,1,1,K,1", "0.5,0,half,1,1,1,1,1,1,K,1",
           head(0, 0, "point")}},
         {{"5,0,x,1,,F,T,1,1,1", "-1,0,x,1,,F,T,1,1,1"}}, true, {},
         [](ConversionState& s) {
             EXPECT_EQ(s.PointLayers[0].Name, "point");
             EXPECT_EQ(s.PointLayers[0].ItemName[1], "");
         }},
        {"AKindThatIsNotANumberEndsTheLoad",
         {{head(1, 0, "kept"), "A,1,letter,0,0,0,0,0,0,K,1", head(1, 2, "never")}}, {}, false,
         {error("13 型が一致しません。", "SetKisoJyoho")},
         [](ConversionState& s) {
             EXPECT_EQ(s.LineLayers[0].Name, "kept");
             EXPECT_EQ(s.LineLayers[2].Name, "");
         }},
        {"AnEmptyKindEndsTheLoad", {{",1,nothing,0,0,0,0,0,0,K,1"}}, {}, false,
         {error("13 型が一致しません。", "SetKisoJyoho")}, [](ConversionState&) {}},
        {"ARowThatIsNotANumberEndsTheLoad", {{"1,x,name,0,0,0,0,0,0,K,1"}}, {}, false,
         {error("13 型が一致しません。", "SetKisoJyoho")}, [](ConversionState&) {}},
        {"ARowOutsideItsTableEndsTheLoad", {{head(0, 15, "last"), head(0, 16, "beyond")}}, {}, false,
         {error("9 インデックスが有効範囲にありません。", "SetKisoJyoho")},
         [](ConversionState& s) { EXPECT_EQ(s.PointLayers[15].Name, "last"); }},
        {"AnItemRowOutsideItsTableEndsTheLoad", {{head(3, 13, "attr")}}, {{"3,14,attr,1,,F,Text,2,1,1"}},
         false, {error("9 インデックスが有効範囲にありません。", "SetKisoJyoho")},
         [](ConversionState& s) { EXPECT_EQ(s.AttrLayers[13].Name, "attr"); }},
        {"MeshRowsEndAt26", {{"4,26,mesh,1,0,1,0,1,0,MK,3,4,10", "4,27,beyond,0,0,0,0,0,0,K,1,2,0"}}, {},
         false, {error("9 インデックスが有効範囲にありません。", "SetKisoJyoho")},
         [](ConversionState& s) {
             const MeshLayerDef& m = s.MeshLayers[26];
             EXPECT_EQ(m.Name, "mesh");
             EXPECT_TRUE(m.Flag1);
             EXPECT_FALSE(m.AllowNationwide);
             EXPECT_TRUE(m.Flag3);
             EXPECT_TRUE(m.Flag5);
             EXPECT_EQ(m.HeaderKey, "MK");
             EXPECT_EQ(m.ItemCount, 3);
             EXPECT_EQ(m.MeshLevel, 4);
             EXPECT_EQ(m.Subdivision, 10);
         }},
        {"AreaRow12IsFilledThoughNoButtonOffersIt", {{head(2, 12, "row12")}}, {{"2,12,row12,1,,F,Long,8,1,5"}},
         true, {},
         [](ConversionState& s) {
             EXPECT_EQ(s.PolygonLayers[12].Name, "row12");
             EXPECT_EQ(s.PolygonLayers[12].ItemType[1], "Long");
         }},
        {"ItemKeysMayContainTheNameExceptForMeshes",
         {{head(2, 9, "湖沼"), "4,17,湖沼メッシュ,0,0,0,0,0,0,K,1,3,0"}},
         {{"2,9,湖沼,1,,A,Text,1,1,1", "2,9,湖沼台帳,2,,B,Text,1,1,2", "2,9,湖,3,,C,Text,1,1,3",
           "4,17,湖沼メッシュ,1,,M1,Long,4,1,1", "4,17,湖沼メッシュ台帳,2,,M2,Long,4,1,5"}},
         true, {mismatch(), mismatch()},
         [](ConversionState& s) {
             EXPECT_EQ(s.PolygonLayers[9].ItemName[1], "A");
             EXPECT_EQ(s.PolygonLayers[9].ItemName[2], "B");
             EXPECT_EQ(s.PolygonLayers[9].ItemName[3], "");
             EXPECT_EQ(s.MeshLayers[17].ItemName[1], "M1");
             EXPECT_EQ(s.MeshLayers[17].ItemName[2], "");
         }},
        {"KeysMatchWholeCharactersOnly",
         // "ア" is 0x83 0x41: its trail byte is an "A", which is no character of the key.
         {{head(0, 1, "A")}}, {{"0,1,ア,1,,X,Text,1,1,1", "0,1,アA,2,,Y,Text,1,1,1"}},
         true, {mismatch()},
         [](ConversionState& s) {
             EXPECT_EQ(s.PointLayers[1].ItemName[1], "");
             EXPECT_EQ(s.PointLayers[1].ItemName[2], "Y");
         }},
        {"RowsNeverFilledAcceptEveryKeyButMeshNeedsAnEmptyKey", {},
         {{"1,5,anything,1,,L,Text,3,0,7", "4,3,x,1,,M,Text,3,0,7", "4,3,,2,,E,Text,3,0,9"}}, true,
         {mismatch()},
         [](ConversionState& s) {
             EXPECT_EQ(s.LineLayers[5].ItemName[1], "L");
             EXPECT_EQ(s.LineLayers[5].ItemStart[1], 7);
             EXPECT_EQ(s.MeshLayers[3].ItemName[1], "");
             EXPECT_EQ(s.MeshLayers[3].ItemName[2], "E");
         }},
        {"EmptyItemNumbersAreSkippedSilently", {{head(3, 0, "t")}}, {{"3,0,t,,,X,Text,1,1,1", "3,0,t,"}}, true,
         {}, [](ConversionState& s) { EXPECT_EQ(s.AttrLayers[0].ItemName[0], ""); }},
        {"ItemNumbersOutsideTheirRangeShowTheBoxAndAreSkipped",
         {{head(0, 0, "p"), "4,0,m,0,0,0,0,0,0,K,1,3,0"}},
         {{"0,0,p,600,,Last,Text,1,1,1", "0,0,p,601,,Over,Text,1,1,1", "0,0,p,-1,,Neg,Text,1,1,1",
           "4,0,m,256,,MLast,Text,1,1,1", "4,0,m,257,,MOver,Text,1,1,1"}},
         true,
         {error("9 インデックスが有効範囲にありません。", "SetCsvFile2ToTable"),
          error("9 インデックスが有効範囲にありません。", "SetCsvFile2ToTable"),
          error("9 インデックスが有効範囲にありません。", "SetCsvFile2ToTableMesh")},
         [](ConversionState& s) {
             EXPECT_EQ(s.PointLayers[0].ItemName[600], "Last");
             EXPECT_EQ(s.MeshLayers[0].ItemName[256], "MLast");
         }},
        {"ShortLinesStoreTheirPrefix",
         {{"4,2,short,1,1,0,0,0,0,K,5,3", "0,4,p4,1,True"}},
         {{"0,4,p4,7,,Name7,Long,9", "0,4,p4,8,,Name8,Long,9,x,3", "0,4"}},
         true,
         {error("9 インデックスが有効範囲にありません。", "SetCsvFile1ToTableMesh"),
          error("9 インデックスが有効範囲にありません。", "SetCsvFile1ToTable"),
          error("9 インデックスが有効範囲にありません。", "SetCsvFile2ToTable"),
          error("13 型が一致しません。", "SetCsvFile2ToTable"),
          error("9 インデックスが有効範囲にありません。", "SetCsvFile2ToTable")},
         [](ConversionState& s) {
             const MeshLayerDef& m = s.MeshLayers[2];
             EXPECT_EQ(m.Name, "short");
             EXPECT_EQ(m.ItemCount, 5);
             EXPECT_EQ(m.MeshLevel, 3);
             EXPECT_EQ(m.Subdivision, 10);  // kept from before
             const LayerDef& p = s.PointLayers[4];
             EXPECT_EQ(p.Name, "p4");
             EXPECT_TRUE(p.Flag1);
             EXPECT_TRUE(p.AllowNationwide);
             EXPECT_EQ(p.HeaderKey, "old key");  // kept from before
             EXPECT_EQ(p.ItemName[7], "Name7");
             EXPECT_EQ(p.ItemType[7], "Long");
             EXPECT_EQ(p.ItemWidth[7], 9);
             EXPECT_FALSE(p.ItemOutput[7]);
             EXPECT_EQ(p.ItemName[8], "Name8");
             EXPECT_EQ(p.ItemWidth[8], 9);
             EXPECT_EQ(p.ItemStart[8], 0);  // after the failing output flag
         },
         [](ConversionState& s) {
             s.MeshLayers[2].Subdivision = 10;
             s.PointLayers[4].HeaderKey = "old key";
         }},
        {"FractionsRoundHalfToEvenAndRangesAreChecked",
         {{"1,1.5,rounded,0,0,0,0,0,0,K, 2.5 ", "1,3,odd,0,0,0,0,0,0,K,3.5", "1,4,big,0,0,0,0,0,0,K,32768"}},
         {{"1,2,rounded,0.5,,I0,Integer,2.5,1,-0.5", "1,2,rounded,1.5,,I2,Integer, 7 ,1,100000"}}, true,
         {error("6 オーバーフローしました。", "SetCsvFile1ToTable"), error("6 オーバーフローしました。", "SetCsvFile2ToTable")},
         [](ConversionState& s) {
             EXPECT_EQ(s.LineLayers[2].Name, "rounded");
             EXPECT_EQ(s.LineLayers[2].ItemCount, 2);
             EXPECT_EQ(s.LineLayers[3].ItemCount, 4);
             EXPECT_EQ(s.LineLayers[4].Name, "big");
             EXPECT_EQ(s.LineLayers[4].ItemCount, 0);
             EXPECT_EQ(s.LineLayers[2].ItemName[0], "I0");
             EXPECT_EQ(s.LineLayers[2].ItemWidth[0], 2);
             EXPECT_EQ(s.LineLayers[2].ItemStart[0], 0);
             EXPECT_EQ(s.LineLayers[2].ItemName[2], "I2");
             EXPECT_EQ(s.LineLayers[2].ItemWidth[2], 7);
         }},
        {"BooleansAreNumbersOrTheWordsTrueAndFalse",
         {{"0,0,words,True,False,true,FALSE,-1,0,K,1", "0,1,numbers,2,0,0.5,0,0,1,K,1",
           "0,2,bad,yes,1,1,1,1,1,K,1"}},
         {}, true, {error("13 型が一致しません。", "SetCsvFile1ToTable")},
         [](ConversionState& s) {
             const LayerDef& w = s.PointLayers[0];
             EXPECT_TRUE(w.Flag1);
             EXPECT_FALSE(w.AllowNationwide);
             EXPECT_TRUE(w.Flag3);
             EXPECT_FALSE(w.Flag4);
             EXPECT_TRUE(w.Flag5);
             EXPECT_FALSE(w.Flag6);
             const LayerDef& m = s.PointLayers[1];
             EXPECT_TRUE(m.Flag1);
             EXPECT_FALSE(m.AllowNationwide);
             EXPECT_TRUE(m.Flag3);
             EXPECT_TRUE(m.Flag6);
             EXPECT_EQ(s.PointLayers[2].Name, "bad");
             EXPECT_FALSE(s.PointLayers[2].AllowNationwide);
         }},
        {"TextColumnsAreStoredExactly", {{"0,3, name with blanks ,0,0,0,0,0,0, H01 ,1"}},
         {{"0,3,x name with blanks x,1,,Field , Long,3,0,1"}}, true, {},
         [](ConversionState& s) {
             EXPECT_EQ(s.PointLayers[3].Name, " name with blanks ");
             EXPECT_EQ(s.PointLayers[3].HeaderKey, " H01 ");
             EXPECT_EQ(s.PointLayers[3].ItemName[1], "Field ");
             EXPECT_EQ(s.PointLayers[3].ItemType[1], " Long");
         }},
        {"AMissingCatalogueFileEndsTheLoad", {.missing = true}, {}, false,
         {error("53 ファイルが見つかりません。", "SetKisoJyoho")}, [](ConversionState&) {}},
        {"AMissingItemFileEndsTheLoadAfterTheDataItems", {{head(1, 25, "道路")}}, {.missing = true},
         false, {error("53 ファイルが見つかりません。", "SetKisoJyoho")},
         [](ConversionState& s) { EXPECT_EQ(s.LineLayers[25].Name, n("道路")); }},
        {"AFileWithoutAFirstLineEndsTheLoad", {.raw = ""}, {}, false,
         {error("62 ファイルの終わりを越えて読み込もうとしました。", "SetKisoJyoho")}, [](ConversionState&) {}},
        {"EmptyLinesAreSkipped", {.raw = "heading\r\n\r\n" + head(1, 0, "a") + "\r\n\r\n\n" + head(1, 1, "b") + "\r\n\r\n"},
         {.raw = "heading\n\n1,0,a,1,,I,Text,1,1,1\n\n"}, true, {},
         [](ConversionState& s) {
             EXPECT_EQ(s.LineLayers[0].Name, "a");
             EXPECT_EQ(s.LineLayers[1].Name, "b");
             EXPECT_EQ(s.LineLayers[0].ItemName[1], "I");
         }},
        {"ALoadOverwritesRowsInPlace", {{head(1, 7, "new", "3")}},
         {{"1,7,new,2,,Second,Text,4,1,11", "1,7,new,2,,SecondAgain,Long,5,0,12"}}, true, {},
         [](ConversionState& s) {
             const LayerDef& r = s.LineLayers[7];
             EXPECT_EQ(r.Name, "new");
             EXPECT_EQ(r.ItemCount, 3);
             EXPECT_EQ(r.ItemName[1], "First");  // not in the catalogue any more: kept
             EXPECT_EQ(r.ItemName[2], "SecondAgain");
             EXPECT_EQ(r.ItemType[2], "Long");
             EXPECT_EQ(r.ItemWidth[2], 5);
             EXPECT_FALSE(r.ItemOutput[2]);
             EXPECT_EQ(r.ItemStart[2], 12);
             EXPECT_EQ(r.ItemName[3], "Third");
             EXPECT_EQ(s.LineLayers[8].Name, "untouched");
         },
         [](ConversionState& s) {
             LayerDef& r = s.LineLayers[7];
             r.Name = "old";
             r.ItemName[1] = "First";
             r.ItemName[2] = "Second";
             r.ItemName[3] = "Third";
             s.LineLayers[8].Name = "untouched";
         }},
    };
    return all;
}

std::string fileBytes(const File& f, const char* eol, const char* heading) {
    if (f.raw) return *f.raw;
    std::string bytes = toCp932(heading) + eol;
    for (const std::string& line : f.lines) bytes += toCp932(line) + eol;
    return bytes;
}

// Loads the case's catalogue with the given line ends and checks the outcome.
void runCase(const Case& c, const char* eol) {
    testsupport::TempProgramFolder folder;
    ConversionState& s = conversionState();
    s.AppFolder = folder.path().string() + "/";
    if (!c.data.missing)
        folder.write(folder.path() / "DataDBF.csv", fileBytes(c.data, eol, "種別,行,名称"));
    if (!c.items.missing)
        folder.write(folder.path() / "DataDBFItem.csv", fileBytes(c.items, eol, "種別,行,キー,番号"));
    if (c.before) c.before(s);

    ui::TestUi ui;
    for (std::size_t i = 0; i < c.boxes.size(); ++i) ui.answer(ui::Answer::Ok);
    EXPECT_EQ(catalogue::SetKisoJyoho(s), c.loads);
    ASSERT_EQ(ui.boxes().size(), c.boxes.size());
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        const ui::BoxRecord& b = ui.boxes()[i];
        EXPECT_EQ(b.text, c.boxes[i].text) << "box " << i;
        EXPECT_EQ(b.title, c.boxes[i].title) << "box " << i;
        EXPECT_EQ(b.buttons, ui::Buttons::Ok);
        const bool isError = b.title.rfind("Error: ", 0) == 0;
        EXPECT_EQ(b.icon, isError ? ui::Icon::Critical : ui::Icon::None) << "box " << i;
        EXPECT_EQ(b.systemModal, isError) << "box " << i;
    }
    c.check(s);
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CatalogueLoad : public ::testing::TestWithParam<Case> {};

TEST_P(CatalogueLoad, WithCrLf) { runCase(GetParam(), "\r\n"); }
// A line ending in LF alone loads the same; a CR of CR LF never reaches the last column.
TEST_P(CatalogueLoad, WithLf) { runCase(GetParam(), "\n"); }

INSTANTIATE_TEST_SUITE_P(Cases, CatalogueLoad, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(CatalogueSplit, EveryCommaSplitsWithoutQuoting) {
    const catalogue::Fields f = catalogue::splitFields("a,\"b,c\",,d");
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[1], "\"b");
    EXPECT_EQ(f[2], "c\"");
    EXPECT_EQ(f[3], "");
    EXPECT_EQ(catalogue::splitFields("").size(), 1u);
}

TEST(CatalogueNames, DisplayNamesFollowTheCatalogueKinds) {
    testsupport::TempProgramFolder folder;
    ConversionState& s = conversionState();
    ui::TestUi ui;
    catalogue::SetDataName(s);
    struct Row { CatalogKind kind; std::size_t count; std::size_t row; const char* name; };
    for (Row r : {Row{CatalogKind::Point, 16, 15, "街区レベル"}, Row{CatalogKind::Line, 28, 27, "流路"},
                  Row{CatalogKind::Area, 12, 11, "湖岸線"}, Row{CatalogKind::Attr, 14, 0, "高潮・津波ﾃｰﾌﾞﾙ"},
                  Row{CatalogKind::Mesh, 27, 4, "波向・海霧・自然漁場２次メッシュ"}}) {
        ASSERT_EQ(s.dataNames(r.kind).size(), r.count);
        EXPECT_EQ(s.dataNames(r.kind)[r.row], r.name);
    }
    // Loading again fills the lists afresh rather than adding to them.
    catalogue::SetDataName(s);
    EXPECT_EQ(s.dataNames(CatalogKind::Mesh).size(), 27u);
}

}  // namespace
