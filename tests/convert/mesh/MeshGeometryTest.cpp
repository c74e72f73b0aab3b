// Cell rings of mesh codes: published examples at every level and subdivision, the refusals, and an
// independent check that turns each ring's centre back into its code and cell.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "convert/mesh/MeshGeometry.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"

using namespace ModMesh;
using velmora::RunTimeError;
using velmora::text::formatNumber;

namespace {

struct Example {
    const char* code;
    int level, subdivision;
    std::optional<SubCell> cell;
    const char *west, *east, *south, *north;
};

// The extent of a ring as the converters write it; the ring must run SW, NW, NE, SE, SW.
void expectRing(const MeshRing& r, const Example& e) {
    EXPECT_EQ(formatNumber(r.x[0]), e.west);
    EXPECT_EQ(formatNumber(r.x[2]), e.east);
    EXPECT_EQ(formatNumber(r.y[0]), e.south);
    EXPECT_EQ(formatNumber(r.y[2]), e.north);
    EXPECT_EQ(r.x[1], r.x[0]);
    EXPECT_EQ(r.x[3], r.x[2]);
    EXPECT_EQ(r.x[4], r.x[0]);
    EXPECT_EQ(r.y[1], r.y[2]);
    EXPECT_EQ(r.y[3], r.y[0]);
    EXPECT_EQ(r.y[4], r.y[0]);
}

TEST(MeshGeometry, KnownCellsAtEveryLevelAndSubdivision) {
    const Example examples[] = {
        {"533945", 2, 0, {}, "139.625", "139.75", "35.6666666666667", "35.75"},
        {"533945ab", 2, 0, {}, "139.625", "139.75", "35.6666666666667", "35.75"},
        {"53394567", 3, 0, {}, "139.7125", "139.725", "35.7166666666667", "35.725"},
        {"533945671", 4, 0, {}, "139.7125", "139.71875", "35.7166666666667", "35.7208333333333"},
        {"533945672", 4, 0, {}, "139.71875", "139.725", "35.7166666666667", "35.7208333333333"},
        {"533945673", 4, 0, {}, "139.7125", "139.71875", "35.7208333333333", "35.725"},
        {"533945674", 4, 0, {}, "139.71875", "139.725", "35.7208333333333", "35.725"},
        {"53394567 ", 3, 10, SubCell{0, 0}, "139.7125", "139.71375", "35.7166666666667", "35.7175"},
        {"53394567", 3, 10, SubCell{9, 9}, "139.72375", "139.725", "35.7241666666667", "35.725"},
        {"53394567", 3, 4, SubCell{0, 0}, "139.7125", "139.715625", "35.7229166666667", "35.725"},
        {"53394567", 3, 4, SubCell{3, 3}, "139.721875", "139.725", "35.7166666666667", "35.71875"},
        {"533945", 2, 5, SubCell{0, 0}, "139.625", "139.65", "35.7333333333333", "35.75"},
        {"533945", 2, 5, SubCell{4, 4}, "139.725", "139.75", "35.6666666666667", "35.6833333333333"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(std::string(e.code) + " level " + std::to_string(e.level) + "/" + std::to_string(e.subdivision));
        expectRing(CellRing(e.code, e.level, e.subdivision, e.cell), e);
    }
}

TEST(MeshGeometry, StepsAreDerivedOneFromAnotherAsDoubles) {
    // The north edge of the 10 × 10 row 1 is 1 × (((2/3)/8)/10)/10 added to the corner, not 1/1200.
    const double E10 = ((2.0 / 3.0) / 8 / 10) / 10;
    const MeshRing r = CellRing("53394567", 3, 10, SubCell{0, 0});
    EXPECT_EQ(r.y[1], 1 * E10 + r.y[0]);
}

TEST(MeshGeometry, Refusals) {
    struct Case {
        const char* code;
        int level, subdivision;
        std::optional<SubCell> cell;
        int error;
    } cases[] = {
        {"533945", 3, 0, {}, 13},                 // the seventh digit is missing
        {"53394", 2, 0, {}, 13},                  // short code
        {"5339 5", 2, 0, {}, 13},                 // a blank digit
        {"53394567", 2, 0, {}, 0},                // longer than the level needs: fine
        {"5339456 ", 3, 0, {}, 13},               // a blank where a digit stands
        {"53394a67", 3, 0, {}, 13},
        {"+3394567", 3, 0, {}, 13},
        {"53394567", 3, 10, {}, 5},               // whole cells of a subdivided layer
        {"53394567", 3, 0, SubCell{0, 0}, 5},     // a subdivided cell of an undivided layer
        {"53394567", 1, 0, {}, 5},                // no such level
        {"53394567", 5, 0, {}, 5},
        {"533945", 2, 10, SubCell{0, 0}, 5},      // level 2 has only 5 × 5
        {"53394567", 3, 5, SubCell{0, 0}, 5},
        {"533945675", 4, 0, {}, 5},               // quarter digits 1 to 4 only
        {"533945670", 4, 0, {}, 5},
        {"53394567", 4, 0, {}, 13},               // the quarter digit is missing
        {"53394567", 4, 4, SubCell{0, 0}, 5},
        {"53394567", 3, 10, SubCell{32767, 0}, 6},  // i + 1 leaves the 16-bit range
        {"53394567", 3, 4, SubCell{0, -32768}, 6},  // n - 1 - j does
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        if (c.error == 0) {
            EXPECT_NO_THROW(CellRing(c.code, c.level, c.subdivision, c.cell));
            continue;
        }
        try {
            CellRing(c.code, c.level, c.subdivision, c.cell);
            ADD_FAILURE() << "no refusal";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), c.error);
        }
    }
}

// The standard formula from a point to its mesh code, written apart from the converter's rule.
std::string codeOf(double lon, double lat, int level) {
    const double latUnits = lat * 1.5;  // first-level meshes are 2/3 degree high
    const int p = static_cast<int>(std::floor(latUnits));
    const int u = static_cast<int>(std::floor(lon)) - 100;
    const double latIn1 = (latUnits - p) * 8, lonIn1 = (lon - std::floor(lon)) * 8;
    const int q = static_cast<int>(std::floor(latIn1)), v = static_cast<int>(std::floor(lonIn1));
    const double latIn2 = (latIn1 - q) * 10, lonIn2 = (lonIn1 - v) * 10;
    const int r = static_cast<int>(std::floor(latIn2)), w = static_cast<int>(std::floor(lonIn2));
    const int north = (latIn2 - r) >= 0.5, east = (lonIn2 - w) >= 0.5;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%d%d", p, u, q, v);
    std::string code = buf;
    if (level >= 3) code += std::to_string(r) + std::to_string(w);
    if (level == 4) code += std::to_string(1 + east + 2 * north);
    return code;
}

TEST(MeshGeometry, EveryRingsCentreLiesInItsOwnCodeAndCell) {
    for (const char* first : {"5339", "3622", "6441", "3036"}) {
        for (int k = 0; k < 64; k += 9) {
            const std::string second = std::string(first) + std::to_string(k / 8) + std::to_string(k % 8);
            for (int t = 0; t < 100; t += 13) {
                const std::string third = second + std::to_string(t / 10) + std::to_string(t % 10);
                struct { std::string code; int level; } whole[] = {{second, 2}, {third, 3}, {third + "1", 4},
                                                                   {third + "2", 4}, {third + "3", 4}, {third + "4", 4}};
                for (const auto& c : whole) {
                    const MeshRing ring = CellRing(c.code, c.level, 0);
                    EXPECT_EQ(codeOf((ring.x[0] + ring.x[2]) / 2, (ring.y[0] + ring.y[2]) / 2, c.level), c.code);
                }
                // Subdivided cells: the column from the west; rows from the south in 10 × 10, from the north
                // in 4 × 4 and 5 × 5.
                struct { std::string code; int level, n; } divided[] = {{third, 3, 10}, {third, 3, 4}, {second, 2, 5}};
                for (const auto& d : divided)
                    for (std::int16_t j = 0; j < d.n; ++j)
                        for (std::int16_t i = 0; i < d.n; ++i) {
                            const MeshRing ring = CellRing(d.code, d.level, d.n, SubCell{i, j});
                            const double lon = (ring.x[0] + ring.x[2]) / 2, lat = (ring.y[0] + ring.y[2]) / 2;
                            ASSERT_EQ(codeOf(lon, lat, d.level), d.code);
                            const MeshRing parent = CellRing(d.code, d.level, 0);
                            const int col = static_cast<int>(std::floor((lon - parent.x[0]) / (parent.x[2] - parent.x[0]) * d.n));
                            const int fromSouth = static_cast<int>(std::floor((lat - parent.y[0]) / (parent.y[2] - parent.y[0]) * d.n));
                            EXPECT_EQ(col, i);
                            EXPECT_EQ(d.n == 10 ? fromSouth : d.n - 1 - fromSouth, j);
                        }
            }
        }
    }
}

}  // namespace
