#include "platform/map/CompanionFile.h"

#include "MapFixtures.h"

#include <gtest/gtest.h>

using namespace velmora::map;
using maptest::TempFolder;

namespace {

void touch(const TempFolder& dir, const std::string& name) { polygontest::write_file(dir.file(name), "x"); }

TEST(CompanionFile, FindsTheExactRewriteThenAnyCaseElseNothing) {
    TempFolder dir("map-companion");
    touch(dir, "ROADS.SHP");
    touch(dir, "ROADS.DBF");
    touch(dir, "roads.shp");
    touch(dir, "roads.dbf");
    touch(dir, "Rivers.Shp");
    touch(dir, "rivers.DBF");
    touch(dir, "a.b.shp");
    touch(dir, "a.b.prj");
    touch(dir, "lone.shp");
    struct Case {
        std::string shp, ext, expected;
    } cases[] = {
        {"ROADS.SHP", ".dbf", "ROADS.DBF"},   // no "ROADS.dbf": the folder's file in another case
        {"roads.shp", ".dbf", "roads.dbf"},   // the exact rewrite first, although ROADS.DBF matches too
        {"Rivers.Shp", ".dbf", "rivers.DBF"},
        {"a.b.shp", ".prj", "a.b.prj"},       // only the final extension is replaced
        {"lone.shp", ".dbf", ""},
    };
    for (const auto& c : cases) {
        const std::string got = companionFile(dir.file(c.shp), c.ext);
        EXPECT_EQ(got, c.expected.empty() ? "" : dir.file(c.expected)) << c.shp << " " << c.ext;
    }
    EXPECT_EQ(companionFile(dir.file("missing-folder/x.shp"), ".dbf"), "");
}

}  // namespace
