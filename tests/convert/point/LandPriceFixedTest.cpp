// Fixed-column land-price files: the yearly column layout, the split header blocks and value lines, and
// one file converted into the split outputs.
#include "convert/point/LandPriceFixed.h"
#include "convert/point/LandPriceMerge.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;

namespace {

// A land-price row of n items, item k at byte 24 + 2k (two bytes each), numeric, all written.
LayerDef landPriceRow(int n) {
    std::vector<Item> items;
    for (int k = 1; k <= n; ++k) items.push_back({"i" + std::to_string(k), "Long", 24 + 2 * k, 2, true});
    return makeLayer("地価公示", "L01", items);
}

std::vector<int> written(const LayerDef& row, int first, int last) {
    std::vector<int> w;
    for (int i = first; i <= last; ++i)
        if (row.ItemOutput[static_cast<std::size_t>(i)]) w.push_back(i);
    return w;
}

std::vector<int> range(int first, int last) {
    std::vector<int> r;
    for (int i = first; i <= last; ++i) r.push_back(i);
    return r;
}

TEST(LandPriceYearlyLayout, ItemsOfLaterYearsAreLeftOutAndTheRestPacked) {
    struct Case {
        int year;
        std::vector<int> blockA, blockB;
        int lastGroupItem;  // block C written up to this item
        int startOf79;      // the catalogue start of the item whose place item 79 takes
    };
    const Case cases[] = {
        {1983, {60}, {79}, 0, 61},
        {1990, range(60, 67), range(79, 86), 167, 68},
        {2001, range(60, 78), range(79, 97), 277, 79},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        LayerDef row = landPriceRow(280);
        const LayerDef catalogue = row;
        ModPoint::adaptToDataYear(row, c.year);
        EXPECT_EQ(written(row, 60, 78), c.blockA);
        EXPECT_EQ(written(row, 79, 97), c.blockB);
        EXPECT_EQ(written(row, 98, 277), c.lastGroupItem ? range(98, c.lastGroupItem) : std::vector<int>{});
        EXPECT_EQ(written(row, 1, 59), range(1, 59));
        EXPECT_EQ(written(row, 278, 280), range(278, 280));
        EXPECT_EQ(row.ItemStart[79], catalogue.ItemStart[static_cast<std::size_t>(c.startOf79)]);
        // Block B and the groups present follow one another without gaps.
        const int lastB = c.blockB.back();
        if (c.lastGroupItem) {
            EXPECT_EQ(row.ItemStart[98], row.ItemStart[static_cast<std::size_t>(lastB)] + 2);
            EXPECT_EQ(row.ItemStart[static_cast<std::size_t>(c.lastGroupItem)], row.ItemStart[98] + 2 * (c.lastGroupItem - 98));
        }
    }
    LayerDef row = landPriceRow(280);
    EXPECT_THROW(ModPoint::adaptToDataYear(row, 2002), RunTimeError);
}

class LandPriceSplit : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        fillPointTable({});
        openLogAndPair();
        shapedesc::openDescriptionFile(conversionState().FilZFileNo, "_Z");
    }
    void TearDown() override {
        ConversionState& s = conversionState();
        s.FilZFileNo.closeQuietly();
        s.FilZ2FileNo.closeQuietly();
        PointFixture::TearDown();
    }
    std::vector<std::string> file(const char* suffix) {
        ConversionState& s = conversionState();
        s.FilZFileNo.close();
        s.FilZ2FileNo.close();
        shapedesc::closePair();
        return utf8Lines(folder.read(shapedesc::descriptionPath(suffix)));
    }
    static std::vector<std::string> valueLines(const std::vector<std::string>& lines) {
        std::vector<std::string> v;
        for (const std::string& l : lines)
            if (l.rfind("DBFITEM,", 0) == 0) v.push_back(l);
        return v;
    }
    static std::size_t fieldCount(const std::string& line) { return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')); }
};

TEST_F(LandPriceSplit, HeadersAndValueLinesAgreeAt300And320Items) {
    for (int items : {300, 313, 314, 320}) {
        SCOPED_TRACE(items);
        openLogAndPair();
        ConversionState& s = conversionState();
        shapedesc::openDescriptionFile(s.FilZFileNo, "_Z");
        s.FilZ2FileNo.closeQuietly();
        std::filesystem::remove(shapedesc::descriptionPath("_Z2"));
        select(8, landPriceRow(items));
        s.PointLayers[8].ItemOutput[100] = false;
        ASSERT_TRUE(ModPoint::MakeShapePointFileData_ini_Chika());
        const std::string record = rec("533945", "4860000", "1260000", std::string(2 * items, '1'));
        ASSERT_TRUE(ModPoint::MakeShapeDbfData_Chika(record, 7));
        const bool second = items > 313;
        EXPECT_EQ(s.FilZ2FileNo.isOpen(), second);

        const std::vector<std::string> h = file("_H"), z = file("_Z");
        EXPECT_EQ(h[0], "MAKEFILE_NAME," + folder.file("out/点"));
        EXPECT_EQ(h[2], "DBFITEM_COUNT,60");
        EXPECT_EQ(fieldCount(valueLines(h).at(0)), 60u);
        EXPECT_EQ(z[0], "MAKEFILE_NAME," + folder.file("out/点_Z"));
        EXPECT_EQ(z[1], "SHAPE_TYPE,6,2000");
        // Written items 60 .. min(items, 313) but item 100, and LinkKey.
        const int firstTable = std::min(items, 313) - 59;
        EXPECT_EQ(z[2], "DBFITEM_COUNT," + std::to_string(firstTable));
        EXPECT_EQ(fieldCount(valueLines(z).at(0)), static_cast<std::size_t>(firstTable));
        EXPECT_EQ(valueLines(z).at(0).substr(valueLines(z)[0].rfind(',')), ",7");
        if (second) {
            const std::vector<std::string> z2 = file("_Z2");
            EXPECT_EQ(z2[0], "MAKEFILE_NAME," + folder.file("out/点_Z2"));
            EXPECT_EQ(z2[2], "DBFITEM_COUNT," + std::to_string(items - 313 + 1));
            EXPECT_EQ(fieldCount(valueLines(z2).at(0)), static_cast<std::size_t>(items - 313 + 1));
        } else {
            EXPECT_FALSE(std::filesystem::exists(shapedesc::descriptionPath("_Z2")));
        }
    }
}

TEST_F(LandPriceSplit, OneFileGivesTheShapefileAndTableTheSameKeys) {
    select(8, landPriceRow(100));
    ASSERT_TRUE(ModPoint::MakeShapePointFileData_ini_Chika());
    const std::string items(200, '2');
    const std::string f = input("l.txt", {gen::pointHeaderLine("L01", 4), rec("533945", "4860000", "1260000", items),
                                         rec("533945", "", "1260000", items), "",
                                         rec("533945", "4860036", "1260000", items)});
    ASSERT_TRUE(ModPoint::MakePoint_Chika(f));
    std::vector<std::string> keysH, keysZ;
    for (const std::string& l : valueLines(file("_H"))) keysH.push_back(l.substr(l.rfind(',') + 1));
    for (const std::string& l : valueLines(file("_Z"))) keysZ.push_back(l.substr(l.rfind(',') + 1));
    EXPECT_EQ(keysH, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(keysZ, keysH);
    EXPECT_EQ(logLines(), std::vector<std::string>{"ポイントデータ座標値が空白です。LINE:2"});
}

TEST_F(LandPriceSplit, MergedFilesGiveOnePointPerLocationOfItemsOneToFive) {
    select(8, landPriceRow(10));
    ASSERT_TRUE(ModPoint::MakeShapePointFileData_ini_Chika());
    // Items 1 to 5 at bytes 26-35, item 6 on at 36.
    const std::string a = input("a.txt", {gen::pointHeaderLine("L01", 2, "2001"), rec("533945", "4860000", "1260000", "111111111112"),
                                         rec("533945", "4860036", "1260000", "111111111156")});
    const std::string b = input("b.txt", {gen::pointHeaderLine("L01", 2, "2001"),
                                         rec("533945", "4860000", "1260000", "111111111134"),  // item 6 only differs
                                         rec("533945", "4860000", "1260000", "221111111178")});  // item 1 differs
    ASSERT_TRUE(ModPoint::MakePoint_Chika2({a, b}));
    // All ten items belong to the shapefile: the table rows hold the key alone.
    EXPECT_EQ(valueLines(file("_Z")), (std::vector<std::string>{"DBFITEM,1", "DBFITEM,2", "DBFITEM,3"}));
    const std::vector<std::string> h = valueLines(file("_H"));
    ASSERT_EQ(h.size(), 3u);
    // The first location takes item 6 of the first row at its coordinates.
    EXPECT_EQ(h[0], "DBFITEM,11,11,11,11,11,12,,,,,1");
    EXPECT_EQ(h[1], "DBFITEM,11,11,11,11,11,56,,,,,2");
    EXPECT_EQ(h[2], "DBFITEM,22,11,11,11,11,12,,,,,3");
    EXPECT_FALSE(std::filesystem::exists(folder.file("xxtmpPointDabaDB.mdb")));
}

}  // namespace
