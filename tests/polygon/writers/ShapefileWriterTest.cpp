#include <gtest/gtest.h>
#include <shapefil.h>
#include <cstring>
#include <filesystem>

#include "polygon/core/OutputFiles.h"
#include "polygon/core/ShpData.h"
#include "polygon/core/TextUtil.h"
#include "tests/polygon/support/FileSizeLimit.h"
#include "tests/polygon/support/TempFolder.h"

using namespace ostrand;
using polygontest::read_file;
using polygontest::TempFolder;

namespace {

std::int32_t be32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>((std::uint32_t(std::uint8_t(b[at])) << 24) | (std::uint32_t(std::uint8_t(b[at + 1])) << 16) |
                                     (std::uint32_t(std::uint8_t(b[at + 2])) << 8) | std::uint32_t(std::uint8_t(b[at + 3])));
}
std::int32_t le32(const std::string& b, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
double le_double(const std::string& b, std::size_t at) {
    double v;
    std::memcpy(&v, b.data() + at, 8);
    return v;
}

AreaPolygon square(double x, double y, double size) {
    AreaPolygon p;
    p.rings.emplace_back(std::vector<Point>{{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}, {x, y}});
    return p;
}

void save(const std::vector<AreaPolygon>& polygons, const std::string& path) {
    ShpData data;
    data.set_polygons(polygons);
    data.save(path);
}

}  // namespace

TEST(ShapefileWriter, OneSquareMatchesTheFormatByteForByte) {
    TempFolder dir("shp");
    save({square(135.0, 35.0, 0.5)}, dir.file("area.shp"));
    const std::string shp = read_file(dir.file("area.shp"));
    const std::string shx = read_file(dir.file("area.shx"));
    ASSERT_EQ(shp.size(), 236u);
    ASSERT_EQ(shx.size(), 108u);
    for (const std::string* f : {&shp, &shx}) {
        EXPECT_EQ(be32(*f, 0), 9994);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(be32(*f, 4 + 4 * i), 0);
        EXPECT_EQ(le32(*f, 28), 1000);
        EXPECT_EQ(le32(*f, 32), 5);
        EXPECT_EQ(le_double(*f, 36), 135.0);
        EXPECT_EQ(le_double(*f, 44), 35.0);
        EXPECT_EQ(le_double(*f, 52), 135.5);
        EXPECT_EQ(le_double(*f, 60), 35.5);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(le_double(*f, 68 + 8 * i), 0.0);
    }
    EXPECT_EQ(be32(shp, 24), 118);
    EXPECT_EQ(be32(shx, 24), 54);
    EXPECT_EQ(be32(shp, 100), 1);    // record number
    EXPECT_EQ(be32(shp, 104), 64);   // content length
    EXPECT_EQ(le32(shp, 108), 5);
    EXPECT_EQ(le32(shp, 144), 1);    // parts
    EXPECT_EQ(le32(shp, 148), 5);    // points
    EXPECT_EQ(le32(shp, 152), 0);    // first part index
    EXPECT_EQ(le_double(shp, 156), 135.0);
    EXPECT_EQ(le_double(shp, 164), 35.0);
    EXPECT_EQ(le_double(shp, 172), 135.0);
    EXPECT_EQ(le_double(shp, 180), 35.5);
    EXPECT_EQ(be32(shx, 100), 50);
    EXPECT_EQ(be32(shx, 104), 64);
}

TEST(ShapefileWriter, TwoRecordsAndAHoleReadBackWithShapelib) {
    TempFolder dir("shp");
    AreaPolygon holed = square(136.0, 34.0, 1.0);
    holed.rings.emplace_back(std::vector<Point>{{136.2, 34.2}, {136.4, 34.2}, {136.4, 34.4}, {136.2, 34.4}, {136.2, 34.2}});
    const std::string path = dir.file("two.b.shp");
    save({square(135.0, 35.0, 0.5), holed}, path);

    const std::string shx = read_file(dir.file("two.b.shx"));
    ASSERT_EQ(shx.size(), 100u + 16u);
    EXPECT_EQ(be32(shx, 108), 50 + 4 + 64);
    EXPECT_EQ(be32(shx, 112), 22 + 4 + 80);

    SHPHandle h = SHPOpen(path.c_str(), "rb");
    ASSERT_NE(h, nullptr);
    int count = 0, type = 0;
    double mins[4], maxs[4];
    SHPGetInfo(h, &count, &type, mins, maxs);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(type, SHPT_POLYGON);
    EXPECT_EQ(mins[0], 135.0);
    EXPECT_EQ(mins[1], 34.0);
    EXPECT_EQ(maxs[0], 137.0);
    EXPECT_EQ(maxs[1], 35.5);
    SHPObject* o = SHPReadObject(h, 1);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->nParts, 2);
    EXPECT_EQ(o->panPartStart[1], 5);
    EXPECT_EQ(o->nVertices, 10);
    EXPECT_EQ(o->padfX[6], 136.4);
    SHPDestroyObject(o);
    SHPClose(h);
}

TEST(ShapefileWriter, SavingAgainReplacesTheFiles) {
    TempFolder dir("shp");
    const std::string path = dir.file("area.shp");
    save({square(135.0, 35.0, 0.5), square(135.0, 36.0, 0.5)}, path);
    save({square(135.0, 35.0, 0.5)}, path);
    EXPECT_EQ(read_file(path).size(), 236u);
    EXPECT_EQ(read_file(dir.file("area.shx")).size(), 108u);
}

TEST(ShapefileWriter, ReadIsTheReverseOfWrite) {
    TempFolder dir("shp");
    AreaPolygon holed = square(136.0, 34.0, 1.0);
    holed.rings.emplace_back(std::vector<Point>{{136.2, 34.2}, {136.4, 34.2}, {136.4, 34.4}, {136.2, 34.2}});
    const std::string path = dir.file("r.shp");
    save({holed}, path);
    std::istringstream in(read_file(path).substr(112));  // after header, record header and shape type
    ShpPolygon rec;
    rec.read(in);
    ASSERT_EQ(rec.rings.size(), 2u);
    EXPECT_EQ(rec.rings[0].points, holed.rings[0].points);
    EXPECT_EQ(rec.rings[1].points, holed.rings[1].points);
}

TEST(ShapefileWriter, FailuresThrowTheWriterText) {
    TempFolder dir("shp");
    const std::string gone = (dir.path() / "vanished" / "area.shp").string();
    try {
        save({square(135.0, 35.0, 0.5)}, gone);
        FAIL() << "no failure";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "File open failur. ShpData::save()");
    }

    // A full disk: the file-size limit makes writes fail as they do on a full device. The earlier pair
    // stays as it was and nothing else is left.
    std::vector<AreaPolygon> big;
    for (int i = 0; i < 2000; ++i) big.push_back(square(135.0 + i * 0.001, 35.0, 0.0005));
    polygontest::write_file(dir.file("full.shp"), "earlier shapes");
    polygontest::write_file(dir.file("full.shx"), "earlier index");
    std::string thrown;
    try {
        polygontest::FileSizeLimit full(4096);
        save(big, dir.file("full.shp"));
    } catch (const std::string& text) {
        thrown = text;
    }
    EXPECT_EQ(thrown, "File write failure. ShpData::save()");
    EXPECT_EQ(read_file(dir.file("full.shp")), "earlier shapes");
    EXPECT_EQ(read_file(dir.file("full.shx")), "earlier index");
    EXPECT_EQ(polygontest::folder_entries(dir.path()), (std::vector<std::string>{"full.shp", "full.shx"}));

    // An index marked read-only keeps the pair from being replaced.
    std::filesystem::permissions(dir.file("full.shx"), std::filesystem::perms::owner_read);
    try {
        save({square(135.0, 35.0, 0.5)}, dir.file("full.shp"));
        ADD_FAILURE() << "no failure";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "File open failur. ShpData::save()");
    }
    EXPECT_EQ(read_file(dir.file("full.shp")), "earlier shapes");
    EXPECT_EQ(polygontest::folder_entries(dir.path()), (std::vector<std::string>{"full.shp", "full.shx"}));
}

// Writing the polygons straight from their rings makes the same files as copying them into records
// first, rings that pass through a vertex twice (cut into loops) and a vanished folder included.
TEST(ShapefileWriter, PolygonsWrittenFromTheirRingsMatchTheRecords) {
    TempFolder dir("shp");
    AreaPolygon holed = square(136.0, 34.0, 1.0);
    holed.rings.emplace_back(std::vector<Point>{{136.2, 34.2}, {136.4, 34.2}, {136.4, 34.4}, {136.2, 34.4}, {136.2, 34.2}});
    AreaPolygon pinched;  // a ring through (1, 1) twice: two loops in the file
    pinched.rings.emplace_back(std::vector<Point>{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 2}, {1, 2}, {1, 1}, {1, 0}, {0, 0}});
    AreaPolygon spike = square(140.0, 40.0, 1.0);  // a spike out and back along one edge
    spike.rings[0].points.insert(spike.rings[0].points.begin() + 2, {{140.0, 41.5}, {140.0, 41.0}});
    AreaPolygon open_ring;  // a ring whose last point is not its first
    open_ring.rings.emplace_back(std::vector<Point>{{5, 5}, {5, 6}, {6, 6}, {6, 5}});
    AreaPolygon negative_zero;
    negative_zero.rings.emplace_back(std::vector<Point>{{0.0, 0.0}, {-0.0, 1.0}, {1.0, 1.0}, {-0.0, 0.0}, {1.0, -0.0}, {0.0, 0.0}});
    const struct {
        const char* what;
        std::vector<AreaPolygon> polygons;
    } cases[] = {
        {"none", {}},
        {"a square", {square(135.0, 35.0, 0.5)}},
        {"a square and a holed one", {square(135.0, 35.0, 0.5), holed}},
        {"a pinched ring between others", {square(135.0, 35.0, 0.5), pinched, holed}},
        {"a spike", {spike}},
        {"an open ring", {open_ring, pinched}},
        {"a vertex at 0 and -0", {negative_zero}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        save(c.polygons, dir.file("records.shp"));
        {
            OutputFiles out;
            ShpData::save_polygons(c.polygons, dir.file("rings.shp"), out);
            out.commit();
        }
        EXPECT_EQ(read_file(dir.file("rings.shp")), read_file(dir.file("records.shp")));
        EXPECT_EQ(read_file(dir.file("rings.shx")), read_file(dir.file("records.shx")));
    }

    const std::string gone = (dir.path() / "vanished" / "area.shp").string();
    try {
        OutputFiles out;
        ShpData::save_polygons({square(135.0, 35.0, 0.5)}, gone, out);
        out.commit();
        FAIL() << "no failure";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "File open failur. ShpData::save()");
    }
}

// The format's counts and lengths are signed 32-bit fields: a record or a file beyond them is refused
// with a text naming it, never written with a wrapped header.
TEST(ShapefileWriter, ThirtyTwoBitLimitsOfRecordsAndFile) {
    const std::string cannot = sjis("がShapeファイルの上限を超えるため保存できません。");
    struct Case {
        const char* what;
        std::int64_t parts, points, words_before;
        std::size_t record;
        std::string failure;  // empty: fits
        std::int64_t words_after;
    } cases[] = {
        {"the longest record a file holds", 1, 268435446, 50, 0, "", 2147483646},
        {"one point more", 1, 268435453, 50, 3,
         sjis("レコード番号：3 レコードの長さ(2147483648ワード)") + cannot, 50},
        {"points beyond 32 bits", 2, 2147483648LL, 50, 0, sjis("レコード番号：0 点の数(2147483648)") + cannot, 50},
        {"a file that ends at its limit", 1, 5, 2147483647 - 4 - 64, 7, "", 2147483647},
        {"a file one word over", 1, 5, 2147483647 - 4 - 63, 7,
         sjis("レコード番号：7 までのファイルの長さ(2147483648ワード)") + cannot, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::int64_t words = c.words_before;
        std::string failure;
        try {
            check_shapefile_limits(c.parts, c.points, c.record, words);
        } catch (const ShapefileLimitExceeded& e) {
            failure = e.text;
        }
        EXPECT_EQ(failure, c.failure);
        if (c.failure.empty()) EXPECT_EQ(words, c.words_after);
    }
}
