// The data year of land-price files and the item layout of a land-price layer in that year.
#include <filesystem>

#include "convert/core/ConversionRoutines.h"
#include "convert/point/LandPriceYear.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;
namespace FileFormat = velmora::modCommon::FileFormat;

namespace {

class LandPriceYear : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        select(8, makeLayer("地価公示", "L01", {}));
    }
    std::string fixed(const std::string& name, const std::string& year) {
        return input(name, {"X  other line", gen::attrHeaderLine({"", "L01", "", year, "1", 1}), rec("533945", "1", "1")});
    }
    // A comma file whose first data field has `firstWidth` characters, the year in field 5 or 6.
    std::string delimited(const std::string& name, const std::string& year, int firstWidth) {
        const std::string first(static_cast<std::size_t>(firstWidth), '1');
        const std::string line = firstWidth == 6 ? first + ",a,b,c,d,x," + year : first + ",a,b,c,d," + year + ",x";
        return input(name, {"heading", line});
    }
    void format(std::int16_t f) { conversionState().InputFileFormat = f; }
};

TEST_F(LandPriceYear, TheYearOfFixedColumnFiles) {
    format(FileFormat::Fixed);
    struct Case {
        const char* name;
        std::vector<std::string> years;  // "-" no header line, "?" no file
        std::string box;                 // empty: accepted
        int dataYear;
    };
    const Case cases[] = {
        {"OneYear", {"1990", "1990"}, "", 1990},
        {"FirstAndLastYears", {"1982"}, "", 1982},
        {"LastYear", {"2001", "?", "-"}, "", 2001},
        {"Mixed", {"1990", "1991"}, "データの作成年度が混在しています。\rフィールド情報が異なるので同一の作成年度のもののみ選択してください。", 0},
        {"BeforeTheLayouts", {"1981"}, "データの作成年度（1981）に対応する項目配置がありません。", 0},
        {"AfterTheLayouts", {"2002"}, "データの作成年度（2002）に対応する項目配置がありません。", 0},
        {"NoHeaderLine", {"-"}, "データの作成年度（0）に対応する項目配置がありません。", 0},
        {"NoNumber", {"19x0"}, "13 型が一致しません。", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        conversionState().DataYear = 0;
        std::vector<std::string> files;
        for (std::size_t i = 0; i < c.years.size(); ++i) {
            const std::string name = "f" + std::to_string(i) + ".txt";
            if (c.years[i] == "?") files.push_back(folder.file("missing.txt"));
            else if (c.years[i] == "-") files.push_back(input(name, {rec("533945", "1", "1")}));
            else files.push_back(fixed(name, c.years[i]));
        }
        if (!c.box.empty()) ui.answer(Answer::Ok);
        EXPECT_EQ(ModPoint::ChkMakePoint_FileYear(files), c.box.empty());
        ASSERT_EQ(ui.boxes().size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(ui.boxes()[0].text, c.box);
        }
        EXPECT_EQ(conversionState().DataYear, c.dataYear);
    }
}

TEST_F(LandPriceYear, TheYearOfDelimitedFilesStandsAfterAFirstFieldOfFiveOrSixCharacters) {
    format(FileFormat::Comma);
    EXPECT_TRUE(ModPoint::ChkMakePoint_FileYear({delimited("a.csv", "2006", 6), delimited("b.csv", "2006", 5)}));
    EXPECT_EQ(conversionState().DataYear, 2006);
    // A file without a data line gives no year; delimited years need no fixed-column layout.
    EXPECT_TRUE(ModPoint::ChkMakePoint_FileYear({input("h.csv", {"heading"}), delimited("c.csv", "2010", 5)}));
    EXPECT_EQ(conversionState().DataYear, 2010);

    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::ChkMakePoint_FileYear(
        {delimited("a.csv", "2006", 6), delimited("b.csv", "2006", 5), delimited("c.csv", "2005", 5)}));
    EXPECT_EQ(ui.boxes().at(0).title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui.boxes().at(0).icon, ui::Icon::Exclamation);

    format(FileFormat::Tab);
    EXPECT_TRUE(ModPoint::ChkMakePoint_FileYear({input("t.txt", {"h", "12345\ta\tb\tc\td\t2004"})}));
    EXPECT_EQ(conversionState().DataYear, 2004);
}

TEST_F(LandPriceYear, LayoutFileByRowAndYear) {
    struct Case {
        int row, year;
        const char* file;
    };
    const Case cases[] = {{8, 2005, "DataDBFItemCS.csv"},  {8, 2006, "DataDBFItemCS2.csv"}, {9, 2004, "DataDBFItemCS.csv"},
                          {9, 2005, "DataDBFItemCS2.csv"}, {3, 2010, "DataDBFItemCS.csv"}};
    for (const Case& c : cases) EXPECT_EQ(ModPoint::csvItemLayoutFile(c.row, c.year), c.file) << c.row << " " << c.year;
}

TEST_F(LandPriceYear, RowsOfLaterYearsAreLeftOutAndShiftWhatFollows) {
    // Items 40 to 44 in 2004: a row of 2005 without spec, then one of 2006 with a spec.
    auto row = [](int n, int column, const std::string& spec, const std::string& firstYear, const std::string& flags = ",") {
        return text::toCp932("0," + std::to_string(n) + ",地価公示," + std::to_string(n) + "," + std::to_string(column) +
                             ",,項目" + std::to_string(n) + ",Long,8,1," + spec + "," + flags + "," + firstYear);
    };
    gen::writeLines(folder.file("DataDBFItemCS.csv"),
                    {text::toCp932("-1,見出し"), row(1, 5, "", "", "1,"), row(2, 6, "", "", ",1"), row(3, 7, "", "2004"),
                     row(4, 8, "", "2005"), row(5, 9, "", ""), row(6, 9, "Mx1x2", "2006"), row(7, 10, "", " 2003 ")});
    gen::writeLines(folder.file("DataDBFItemCS2.csv"), {text::toCp932("-1,見出し")});
    ConversionState& s = conversionState();
    s.DataYear = 2004;
    ModPoint::CsvItemLayout layout;
    layout.SourceColumns.assign(10, 0);
    layout.SubFieldSpecs.assign(10, "");
    ASSERT_TRUE(ModPoint::MakePoint_ChkaCSV_SetIniData(layout));
    const LayerDef& l = s.PointLayers[8];
    EXPECT_EQ(l.ItemCount, 5);
    EXPECT_EQ(l.ItemName[4], text::toCp932("項目5"));  // item 5 moves up into place 4
    EXPECT_EQ(l.ItemName[5], text::toCp932("項目7"));  // two rows skipped before it
    EXPECT_EQ(std::vector<std::int32_t>(layout.SourceColumns.begin(), layout.SourceColumns.begin() + 5),
              (std::vector<std::int32_t>{5, 6, 7, 8, 9}));  // only the row without a spec shifts the columns
    EXPECT_EQ(layout.XColumn, 5);
    EXPECT_EQ(layout.YColumn, 6);

    // Row 8 from 2006 reads the other file: no item row there, which refuses the job naming item and year.
    s.DataYear = 2006;
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::MakePoint_ChkaCSV_SetIniData(layout));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_NE(ui.boxes()[0].text.find("「地価公示」（データ年度 2006）の項目がありません。"), std::string::npos);
    ui.clearRecords();

    // More rows than the lists hold: the box, and the count stays.
    s.DataYear = 2004;
    layout.SourceColumns.assign(2, 0);
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::MakePoint_ChkaCSV_SetIniData(layout));
    EXPECT_EQ(ui.boxes().at(0).text, "9 インデックスが有効範囲にありません。");
    EXPECT_EQ(ui.boxes().at(0).title, "Error: ModPoint (ModPoint MakePoint_ChkaCSV_SetIniData)");
    EXPECT_EQ(l.ItemCount, 5);  // as the last layout that was read left it
}

}  // namespace
