// The base name of an output: one final extension removed, in any letter case, and nothing else.
#include <gtest/gtest.h>

#include "convert/shapedesc/ShapeDescriptionBaseName.h"

using velmora::shapedesc::shapeBaseName;
using velmora::shapedesc::tableBaseName;

TEST(BaseName, Shapefiles) {
    struct {
        const char* path;
        const char* base;
    } cases[] = {
        {"/out/roads.shp", "/out/roads"},
        {"/out/roads", "/out/roads"},
        {"/out/roads.SHP", "/out/roads"},
        {"/out/roads.Shp", "/out/roads"},
        {"out/a.SHP.d/x.shp", "out/a.SHP.d/x"},  // a ".shp" inside the path is not the extension
        {"out/a.shp.d/x", "out/a.shp.d/x"},
        {"/out/x.shp.shp", "/out/x.shp"},        // one extension only
        {"/out/道路.shp", "/out/道路"},
        {"/out/roads.dbf", "/out/roads.dbf"},
        {"/out/roads.shpx", "/out/roads.shpx"},
        {".shp", ""},
        {"shp", "shp"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(shapeBaseName(c.path), c.base) << c.path;
}

TEST(BaseName, Tables) {
    EXPECT_EQ(tableBaseName("/out/table.dbf"), "/out/table");
    EXPECT_EQ(tableBaseName("/out/table.DBF"), "/out/table");
    EXPECT_EQ(tableBaseName("/out/x.dbf.d/table"), "/out/x.dbf.d/table");
    EXPECT_EQ(tableBaseName("/out/table.shp"), "/out/table.shp");
}
