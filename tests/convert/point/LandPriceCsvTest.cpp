// Delimited land-price files: the land-price value rule, the split value lines at 313 and 314 items, and
// coordinates in arc-seconds.
#include "convert/core/ConversionRoutines.h"
#include "convert/point/LandPriceCsv.h"
#include "convert/point/LandPriceFixed.h"
#include "convert/point/LandPriceYear.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;

namespace {

TEST(LandPriceValueRule, ValuesBySpecAndItemType) {
    const std::string address = text::toCp932("東京都港区");
    const std::vector<std::string_view> fields = {"135", address, " ", "12345678", "ab"};
    struct Case {
        int source;
        const char* spec;
        bool text;
        const char* value;
    };
    const Case cases[] = {
        {2, "", true, "東京都港区"}, {3, "", true, " "},      {3, "", false, ""},       {4, "", false, "12345678"},
        {5, "", false, ""},          {2, "Mxx1x2", true, "東"}, {4, "Mxx3x4", false, "3456"}, {5, "Mxx1x4", false, ""},
        {2, "Mxx3x4", true, "京都"},  {5, "Mxx1x2", false, ""}, {4, "Ax4", true, ""},        {4, "Mx1xAx2", true, ""},
        {4, "Zx1x2", true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::fromCp932(std::string(ModPoint::landPriceValue(fields, c.source, c.spec, c.text))), c.value)
            << c.source << " " << c.spec;
}

TEST(LandPriceCoordinates, ArcSecondsBecomeDegreesOfSevenDecimals) {
    struct Case {
        const char* text;
        double degrees;
    };
    for (const Case& c : {Case{"486000", 135}, Case{"486000.5", 135.0001389}, Case{"128520.25", 35.7000694}}) {
        double d = 0;
        ASSERT_TRUE(ModPoint::XYtoDataCSV(c.text, d));
        EXPECT_EQ(d, c.degrees) << c.text;
    }
}

class LandPriceCsv : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        fillPointTable({});
        openLogAndPair();
        ConversionState& s = conversionState();
        s.InputFileFormat = modCommon::FileFormat::Comma;
        s.DataYear = 2005;
        shapedesc::openDescriptionFile(s.FilZFileNo, "_Z");
    }
    void TearDown() override {
        conversionState().FilZFileNo.closeQuietly();
        conversionState().FilZ2FileNo.closeQuietly();
        PointFixture::TearDown();
    }
    // A layer of n numeric items, item k in column k + 2 (X and Y in columns 1 and 2, on items 1 and 2).
    // The catalogue's row has n items: the layout reader's lists are sized by them.
    void layer(int n) {
        select(8, makeLayer("地価公示", "L01", std::vector<Item>(static_cast<std::size_t>(n), Item{"x", "Long", 1, 1, true})));
        std::vector<std::string> rows = {text::toCp932("-1,見出し")};
        for (int k = 1; k <= n; ++k)
            rows.push_back("0,0," + text::toCp932("地価公示") + "," + std::to_string(k) + "," +
                           std::to_string(k <= 2 ? k : k + 2) + ",,i" + std::to_string(k) + ",Long,9,1,," +
                           (k == 1 ? "1" : "") + "," + (k == 2 ? "1" : "") + ",");
        gen::writeLines(folder.file("DataDBFItemCS.csv"), rows);
    }
    std::string dataLine(int n, const std::string& x, const std::string& y) {
        std::string line = x + "," + y + ",0,0";
        for (int k = 3; k <= n; ++k) line += "," + std::to_string(k);
        return line;
    }
    std::vector<std::string> lines(const char* suffix) {
        ConversionState& s = conversionState();
        s.FilZFileNo.close();
        s.FilZ2FileNo.close();
        shapedesc::closePair();
        std::vector<std::string> v;
        for (const std::string& l : utf8Lines(folder.read(shapedesc::descriptionPath(suffix))))
            if (l.rfind("DBFITEM,", 0) == 0 || l.rfind("LINKDATA", 0) == 0) v.push_back(l);
        return v;
    }
};

TEST_F(LandPriceCsv, SplitLinesAt313And314Items) {
    for (int n : {313, 314}) {
        SCOPED_TRACE(n);
        openLogAndPair();
        shapedesc::openDescriptionFile(conversionState().FilZFileNo, "_Z");
        layer(n);
        const std::string f = input("l.csv", {"h", dataLine(n, "486000.5", "128520.25"), "", dataLine(n, "486001", "128521")});
        ASSERT_TRUE(ModPoint::MakePoint_ChikaCSV(f));
        EXPECT_EQ(conversionState().PointLayers[8].ItemCount, n);
        const std::vector<std::string> d = lines("_D");
        EXPECT_EQ(d[0], "LINKDATA,135.0001389,35.7000694");
        const std::vector<std::string> z = lines("_Z");
        ASSERT_EQ(z.size(), 2u);
        EXPECT_EQ(z[1].substr(0, 15), "DBFITEM,60,61,6");
        EXPECT_EQ(z[1].substr(z[1].size() - 6), ",313,2");
        if (n == 314) {
            EXPECT_EQ(lines("_Z2"), (std::vector<std::string>{"DBFITEM,314,1", "DBFITEM,314,2"}));
        } else {
            EXPECT_FALSE(conversionState().FilZ2FileNo.isOpen());
        }
    }
}

TEST_F(LandPriceCsv, OneShapefileRunsTheShapeWriterItself) {
    // A stand-in Brunhale that fails: the procedure says so.
    const std::string brunhale = folder.file("Brunhale");
    testsupport::TempProgramFolder::write(brunhale, "#!/bin/sh\nexit 3\n");
    std::filesystem::permissions(brunhale, std::filesystem::perms::owner_all);
    layer(4);
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::MakePoint_ChikaCSV4(input("l.csv", {"h", dataLine(4, "486000", "128520")})));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    // Items 1 and 2 hold the coordinate columns as they stand.
    EXPECT_EQ(utf8Lines(folder.read(shapedesc::headerFilePath())).back(), "DBFITEM,486000,128520,3,4");
}

TEST_F(LandPriceCsv, MergedFilesKeepFractionsAndTheWorkTableRules) {
    // Items: X, Y, a number of item 3 with an "M" spec (items 1 to 5 take their whole field), item 6 a
    // number with an "M" spec whose source is too short.
    select(8, makeLayer("地価公示", "L01", std::vector<Item>(6, Item{"x", "Long", 1, 1, true})));
    auto row = [](int n, int column, const std::string& spec, const std::string& flags) {
        return text::toCp932("0,0,地価公示," + std::to_string(n) + "," + std::to_string(column) + ",,i" + std::to_string(n) +
                             ",Long,9,1," + spec + "," + flags + ",");
    };
    gen::writeLines(folder.file("DataDBFItemCS.csv"),
                    {text::toCp932("-1,見出し"), row(1, 1, "", "1,"), row(2, 2, "", ",1"), row(3, 3, "Mxx1x1", ","),
                     row(4, 4, "", ","), row(5, 5, "", ","), row(6, 6, "Mxx1x9", ",")});
    const std::string a = input("a.csv", {"h", "486000.5,128520,31,4,5,66", "", "486000.4,128520,31,4,5,66"});
    const std::string b = input("b.csv", {"h", "486000.5,128520,31,4,5,77"});
    ASSERT_TRUE(ModPoint::MakePoint_ChikaCSV2({a, " ", b}));
    // Two sites a tenth of an arc-second apart stay two; the repeated one is written once, with the
    // attributes of its first row; item 6's cut finds no nine bytes and stays empty.
    EXPECT_EQ(lines("_D"), (std::vector<std::string>{"LINKDATA,135.0001389,35.7", "LINKDATA,135.0001111,35.7"}));
    // Items 1 and 2 are whole-number fields of their own: their values round, the coordinates do not.
    EXPECT_EQ(lines("_H"), (std::vector<std::string>{"DBFITEM,486000,128520,31,4,5,,1", "DBFITEM,486000,128520,31,4,5,,2"}));
    EXPECT_FALSE(std::filesystem::exists(folder.file("xxtmpPointDabaDB.mdb")));
}

TEST_F(LandPriceCsv, FilesOfHeadingsOnlyEndTheMergeWithoutAMessage) {
    layer(4);
    EXPECT_FALSE(ModPoint::MakePoint_ChikaCSV2({input("a.csv", {"h"}), input("b.csv", {"h"})}));
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
