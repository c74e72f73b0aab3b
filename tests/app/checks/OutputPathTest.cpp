// Completion of the output name and the base every written file is named from.
#include <gtest/gtest.h>

#include "app/OutputPath.h"

namespace velmora {
namespace {

struct NameCase {
    const char* typed;
    DataKind kind;
    const char* completed;
    const char* base;
};

TEST(OutputPath, CompletionAndBaseLookAtTheEndOfThePathOnly) {
    const NameCase cases[] = {
        {"/data/roads", DataKind::Line, "/data/roads.shp", "/data/roads"},
        {"/data/roads.shp", DataKind::Line, "/data/roads.shp", "/data/roads"},
        {"/data/roads.SHP", DataKind::Point, "/data/roads.SHP", "/data/roads"},
        {"/data/roads.Shp", DataKind::Area, "/data/roads.Shp", "/data/roads"},
        // ".shp" elsewhere than at the end is no extension: the writer would otherwise cut there.
        {"/data/roads.shp.txt", DataKind::Line, "/data/roads.shp.txt.shp", "/data/roads.shp.txt"},
        {"/data.shp/roads", DataKind::Mesh, "/data.shp/roads.shp", "/data.shp/roads"},
        {"/data/roads.shp.shp", DataKind::Line, "/data/roads.shp.shp", "/data/roads.shp"},
        {"/data/table", DataKind::Attr, "/data/table.dbf", "/data/table"},
        {"/data/table.DBF", DataKind::Attr, "/data/table.DBF", "/data/table"},
        {"/data/table.shp", DataKind::Attr, "/data/table.shp.dbf", "/data/table.shp"},
        {"/data/roads.dbf", DataKind::Line, "/data/roads.dbf.shp", "/data/roads.dbf"},
        {"/data/道路", DataKind::Line, "/data/道路.shp", "/data/道路"},
    };
    for (const NameCase& c : cases) {
        const std::string completed = completeOutputExtension(c.typed, c.kind);
        EXPECT_EQ(completed, c.completed) << c.typed;
        EXPECT_EQ(outputBase(completed, c.kind), c.base) << c.typed;
    }
}

}  // namespace
}  // namespace velmora
