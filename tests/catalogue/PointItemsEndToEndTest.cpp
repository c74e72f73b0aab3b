// The shipped point items converted end to end: fixed-column records laid out from each item's catalogue
// row, the block-level address points in today's published CSV form (quoted fields, decimal degrees) and the
// prefectural land-price survey in its CSV form (arc-seconds), each read back with ogrinfo.
#include "tests/catalogue/ShippedItemRun.h"

#include <cmath>
#include <cstdio>

#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

constexpr int kRecords = 3;

// Position of record r in 1/36000 degree, in central Tokyo.
long xOf(int r) { return 139 * 36000L + 25000 + 37 * r; }
long yOf(int r) { return 35 * 36000L + 24000 + 23 * r; }

// A fixed-column "P" record of a shipped point row: mesh code, X and Y, the sample values of record r, and
// the unknown rest of the record.
std::string shippedPointRecord(const LayerDef& d, int recordWidth, int r, const std::string& mesh, const std::string& x,
                               const std::string& y) {
    std::vector<gen::AttrGenColumn> columns = {{4, 6, true}, {10, 8, true}, {18, 8, true}};
    const auto items = gen::catalogueColumns(d, 1, d.ItemCount);
    columns.insert(columns.end(), items.begin(), items.end());
    std::vector<std::string> values = {mesh, x, y};
    const std::vector<std::string> v = gen::sampleValues(items, r);
    values.insert(values.end(), v.begin(), v.end());
    std::string record = gen::attrTRow(columns, values, "P");
    record.append(static_cast<std::size_t>(recordWidth) - record.size(), '7');
    return record;
}

TEST_F(ShippedItemRun, FixedColumnPointsCarryTheirKnownColumns) {
    for (const int row : {8, 12}) {
        const auto layout = shippedLayout(CatalogKind::Point, row);
        ASSERT_TRUE(layout);
        const LayerDef& d = conversionState().PointLayers[static_cast<std::size_t>(row)];
        const auto items = gen::catalogueColumns(d, 1, d.ItemCount);

        std::vector<std::string> lines = {gen::pointHeaderLine(layout->dataCode, kRecords + 1, row == 8 ? "1996" : "1995")};
        for (int r = 1; r <= kRecords; ++r)
            lines.push_back(shippedPointRecord(d, layout->recordWidth, r, std::to_string(gen::meshCodeOf(xOf(r), yOf(r))),
                                               std::to_string(xOf(r)), std::to_string(yOf(r))));
        const std::string in = program_.file("in/" + std::string(layout->dataCode) + ".txt");
        gen::writeLines(in, lines);
        const std::string out = program_.file("out/point" + std::to_string(row) + ".shp");
        convert("point", row, out, {in}, "--datum 0");

        const std::string info = ogrinfo(out);
        EXPECT_THAT(info, HasSubstr("Feature Count: " + std::to_string(kRecords))) << row;
        EXPECT_THAT(info, HasSubstr("Geometry: Point"));
        EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4301]"));
        for (int i = 1; i <= d.ItemCount; ++i) EXPECT_THAT(info, HasSubstr(fieldLine(d, i))) << row;
        for (int r = 1; r <= kRecords; ++r) {
            const std::vector<std::string> v = gen::sampleValues(items, r);
            for (int i = 1; i <= d.ItemCount; ++i)
                EXPECT_THAT(info, HasSubstr(valueLine(d, i, v[static_cast<std::size_t>(i - 1)]))) << row << " record " << r;
            EXPECT_THAT(info, HasSubstr("POINT (" + gen::degreesText(xOf(r)) + " " + gen::degreesText(yOf(r)) + ")"));
        }
    }
}

TEST_F(ShippedItemRun, PowerPlantsOfUnknownPositionAreLoggedAndLeftOut) {
    // The layout marks a plant of unknown position with 999999 in its mesh code and both coordinates.
    constexpr int kRow = 12;
    const auto layout = shippedLayout(CatalogKind::Point, kRow);
    ASSERT_TRUE(layout);
    const LayerDef& d = conversionState().PointLayers[kRow];
    std::vector<std::string> lines = {gen::pointHeaderLine(layout->dataCode, kRecords + 1, "1995")};
    for (int r = 1; r <= kRecords; ++r) {
        const bool unknown = r == 2;
        lines.push_back(shippedPointRecord(d, layout->recordWidth, r,
                                           unknown ? "999999" : std::to_string(gen::meshCodeOf(xOf(r), yOf(r))),
                                           unknown ? "999999" : std::to_string(xOf(r)),
                                           unknown ? "999999" : std::to_string(yOf(r))));
    }
    const std::string in = program_.file("in/plants.txt");
    gen::writeLines(in, lines);
    const std::string out = program_.file("out/plants.shp");
    convert("point", kRow, out, {in});

    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: " + std::to_string(kRecords - 1)));
    EXPECT_THAT(info, ::testing::Not(HasSubstr("POINT (27.77775")));
    for (int r : {1, 3})
        EXPECT_THAT(info, HasSubstr("POINT (" + gen::degreesText(xOf(r)) + " " + gen::degreesText(yOf(r)) + ")"));
    EXPECT_THAT(onlyLog(), HasSubstr("ポイントデータの座標値が不正です。LINE:2\r\n"));
}

// Decimal degrees with six decimals, as the published files give them.
std::string degrees6(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.6f", v);
    return s;
}

// A number as ogrinfo prints a coordinate: without trailing zeros.
std::string shortest(std::string t) {
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t;
}

TEST_F(ShippedItemRun, BlockLevelAddressPointsConvertFromTheirQuotedCsv) {
    const LayerDef& d = conversionState().PointLayers[15];
    const int points = 300;
    std::vector<std::string> lines = {
        "\"都道府県名\",\"市区町村名\",\"大字・町丁目名\",\"小字・通称名\",\"街区符号・地番\",\"座標系番号\",\"Ｘ座標\",\"Ｙ座標\","
        "\"緯度\",\"経度\",\"住居表示フラグ\",\"代表フラグ\",\"更新前履歴フラグ\",\"更新後履歴フラグ\""};
    auto lat = [](int k) { return degrees6(35.65 + 0.0001 * k); };
    auto lon = [](int k) { return degrees6(139.70 + 0.0002 * k); };
    for (int k = 1; k <= points; ++k) {
        const std::vector<std::string> f = {"東京都", "千代田区", "丸の内" + std::to_string(k % 3 + 1) + "丁目", "",
                                            std::to_string(k), "9", std::to_string(-35000 - k) + ".5",
                                            std::to_string(-7000 + k) + ".2", lat(k), lon(k), "1", "1", "0", "0"};
        std::string line;
        for (const std::string& v : f) line += (line.empty() ? "\"" : ",\"") + v + "\"";
        lines.push_back(text::toCp932(line));
    }
    lines[0] = text::toCp932(lines[0]);
    const std::string in = program_.file("in/13101_2012.csv");
    gen::writeLines(in, lines);
    const std::string out = program_.file("out/街区.shp");
    convert("point", 15, out, {in}, "--datum 2000 --answer no");

    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: 300"));
    EXPECT_THAT(info, HasSubstr("Geometry: Point"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4612]"));
    for (int i = 1; i <= d.ItemCount; ++i) EXPECT_THAT(info, HasSubstr(fieldLine(d, i)));
    for (const int k : {1, 150, 300}) {
        EXPECT_THAT(info, HasSubstr("  大字町丁目 (String) = 丸の内" + std::to_string(k % 3 + 1) + "丁目\n"));
        EXPECT_THAT(info, HasSubstr("  街区符号 (String) = " + std::to_string(k) + "\n"));
        EXPECT_THAT(info, HasSubstr("  緯度 (String) = " + lat(k) + "\n"));
        EXPECT_THAT(info, HasSubstr("POINT (" + shortest(lon(k)) + " " + shortest(lat(k)) + ")"));
    }
    EXPECT_THAT(info, HasSubstr("  都道府県名 (String) = 東京都\n"));
    EXPECT_THAT(info, HasSubstr("  市区町村名 (String) = 千代田区\n"));
}

// Arc-seconds as the land-price path writes them in degrees: seven decimals at most, no trailing zeros.
std::string landPriceDegrees(double arcSeconds) {
    char s[32];
    std::snprintf(s, sizeof s, "%.7f", std::round(arcSeconds / 3600 * 1e7) / 1e7);
    return shortest(s);
}

TEST_F(ShippedItemRun, PrefecturalLandPriceSurveyConvertsFromItsCsv) {
    std::vector<std::string> lines = {"経度,緯度,所在地コード,用途,連番,年次,前年所在地コード,前年用途,前年連番,市区町村名,住居表示,行政,"
                                      "地積,利用現況,利用状況表示,建物構造"};
    const std::vector<std::string> uses = {"10000000000000000", "01000000000000000", "00100000000100000"};
    for (int r = 1; r <= kRecords; ++r) {
        const double x = xOf(r) / 10.0, y = yOf(r) / 10.0;  // arc-seconds
        char xs[32], ys[32];
        std::snprintf(xs, sizeof xs, "%.1f", x);
        std::snprintf(ys, sizeof ys, "%.1f", y);
        lines.push_back(std::string(xs) + "," + ys + ",13101,005," + std::to_string(r) + ",2010,13101,005," +
                        std::to_string(r) + ",千代田区,丸の内" + std::to_string(r) + "丁目,13101," + std::to_string(100 * r) +
                        "," + uses[static_cast<std::size_t>(r - 1)] + ",事務所,RC9");
    }
    for (std::string& l : lines) l = text::toCp932(l);
    const std::string in = program_.file("in/L02-22P-2K_13.csv");
    gen::writeLines(in, lines);
    const std::string out = program_.file("out/地価調査.shp");
    convert("point", 9, out, {in}, "--datum 2000");

    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: 3"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4612]"));
    EXPECT_THAT(info, HasSubstr("所在地CD: String (5.0)"));
    EXPECT_THAT(info, HasSubstr("  用途 (String) = 005\n"));
    EXPECT_THAT(info, HasSubstr("  住居表示 (String) = 丸の内2丁目\n"));
    EXPECT_THAT(info, HasSubstr("  地積 (Integer) = 300\n"));
    // The 17 use flags, one digit each out of one column.
    EXPECT_THAT(info, HasSubstr("  住宅 (Integer) = 1\n  店舗 (Integer) = 0\n"));
    EXPECT_THAT(info, HasSubstr("  住宅 (Integer) = 0\n  店舗 (Integer) = 1\n"));
    EXPECT_THAT(info, HasSubstr("  事務所 (Integer) = 1\n"));
    EXPECT_THAT(info, HasSubstr("  空地 (Integer) = 1\n"));
    EXPECT_THAT(info, HasSubstr("POINT (" + landPriceDegrees(xOf(1) / 10.0) + " " + landPriceDegrees(yOf(1) / 10.0) + ")"));
}

// A delimited land-price file of a data year that the item layout files do not describe (the layouts of
// the prefectural survey start with 2005; the official prices have none in delimited form) used to write
// every point at (longitude, longitude) without attributes: the job is refused before anything is
// written, naming the item and the year.
TEST_F(ShippedItemRun, ADelimitedLandPriceFileOfAYearWithoutItemLayoutIsRefusedNamingItemAndYear) {
    struct Refused {
        int row;
        const char* item;
    };
    for (const Refused r : {Refused{9, "都道府県地価調査"}, Refused{8, "地価公示"}}) {
        SCOPED_TRACE(r.item);
        for (const std::string& log : logs()) std::filesystem::remove(program_.file("Log/" + log));
        std::vector<std::string> lines = {"経度,緯度,所在地コード,用途,連番,年次,前年所在地コード,前年用途,前年連番,市区町村名"};
        for (int k = 1; k <= kRecords; ++k)
            lines.push_back("503400.5,128400.5,13101,005," + std::to_string(k) + ",2004,13101,005," + std::to_string(k) +
                            ",千代田区");
        for (std::string& l : lines) l = text::toCp932(l);
        const std::string in = program_.file("in/L02-16P-2K_13.csv");
        gen::writeLines(in, lines);
        const JobRun run = jobrun("--kind point --row " + std::to_string(r.row) + " --answer no --out '" +
                                  program_.file("out/地価") + "' '" + in + "'");
        EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
        EXPECT_THAT(run.output, HasSubstr(std::string("「") + r.item + "」（データ年度 2004）の項目がありません。"));
        EXPECT_TRUE(program_.folder().list("out").empty());
        EXPECT_THAT(onlyLog(), HasSubstr(std::string("「") + r.item + "」（データ年度 2004）"));
    }
}

}  // namespace
