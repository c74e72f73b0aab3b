// The generator's geometry, which every point test and the benchmark rely on: mesh codes of coordinates
// and coordinates in degrees as the converters write them.
#include <gtest/gtest.h>

#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;

namespace {

TEST(PointFileGen, MeshCodesAndDegreesOfKnownPlaces) {
    struct Case {
        double lon, lat;
        int mesh;
    };
    // Tokyo Station, Sapporo Station, Naha Airport (second-level mesh codes).
    const Case cases[] = {{139.7671, 35.6812, 533946}, {141.3508, 43.0687, 644142}, {127.6469, 26.1958, 392725}};
    for (const Case& c : cases)
        EXPECT_EQ(gen::meshCodeOf(static_cast<long>(c.lon * 36000), static_cast<long>(c.lat * 36000)), c.mesh) << c.mesh;

    EXPECT_EQ(gen::degreesText(135L * 36000), "135");
    EXPECT_EQ(gen::degreesText(135L * 36000 + 1), "135.000028");
    EXPECT_EQ(gen::degreesText(99999999), "2777.77775");
    EXPECT_EQ(gen::degreesText(-36000), "-1");
}

TEST(PointFileGen, PointsAreDrawnByIndexAndLieInTheirMeshes) {
    const gen::PointGenLayer layer = gen::standardPointLayer();
    gen::PointFileOptions a, b;
    b.first = 5;
    EXPECT_EQ(gen::genPoint(layer, a, 7).values, gen::genPoint(layer, b, 7).values);
    for (long i = 0; i < 200; ++i) {
        const gen::GenPoint p = gen::genPoint(layer, a, i);
        EXPECT_EQ(p.mesh, std::to_string(gen::meshCodeOf(p.x, p.y)));
        EXPECT_EQ(p.values[0], std::to_string(p.x));
    }
}

}  // namespace
