// The catchment maker's ledger reader: records filtered by catchment code, and its failures.
#include <gtest/gtest.h>

#include <set>

#include "polygon/core/TextUtil.h"
#include "tests/polygon/basin/BasinFixture.h"
#include "tests/polygon/support/AreaFixture.h"

using namespace basintest;
using namespace polygontest;
using velmora::datagen::basin_ledger;

namespace {

// Catchments 1 to 3, one square each, with the given codes.
AreaFileParts catchment_file(const std::vector<std::pair<long long, std::string>>& ledgers) {
    AreaFileParts p;
    p.code = "W12-52A";
    int number = 0;
    for (const auto& [attr_no, code] : ledgers) {
        ++number;
        p.links.push_back(square_link("533945", number, 100.0 * number, 100, 50));
        p.areas.push_back(GenArea{number, attr_no, {fwd(number)}});
        p.ledgers.push_back(basin_ledger(attr_no, code));
    }
    return p;
}

std::string open_failure(KsPolygonMaker& maker, const std::string& path) {
    try {
        maker.open(path);
    } catch (const std::string& text) {
        return velmora::text::fromCp932(text);
    }
    return "";
}

}  // namespace

TEST(BasinReader, KeepsTheRecordsOfTheGivenCodesExactly) {
    TempFolder dir("basin-reader");
    const std::string path =
        write_area_file(dir, "w.txt", catchment_file({{1, "81001"}, {2, "81002"}, {3, "81001"}}));
    struct Case {
        std::vector<std::string> codes;
        std::set<int> kept;
    };
    const std::vector<Case> cases = {
        {{"81001"}, {1, 3}},
        {{"81003", "81002"}, {2}},
        {{"8100"}, {}},
        {{"81001 "}, {}},
    };
    for (const Case& t : cases) {
        BasinCase c;
        for (const std::string& code : t.codes) c.maker.add_code(code);
        c.maker.open(path);
        std::set<int> records, areas;
        for (const auto& [attr_no, text] : c.maker.attr_records) records.insert(attr_no);
        for (const auto& [attr_no, lists] : c.maker.area_links) areas.insert(attr_no);
        EXPECT_EQ(records, t.kept) << t.codes.front();
        EXPECT_EQ(areas, t.kept) << t.codes.front();
    }
}

TEST(BasinReader, OtherDataItemsKeepEveryRecord) {
    TempFolder dir("basin-reader");
    AreaFileParts parts = catchment_file({{1, "81001"}, {2, "81002"}});
    parts.code = "A12-60A";
    const std::string path = write_area_file(dir, "a.txt", parts);
    std::vector<std::string> lines;
    KsPolygonMakerBasin maker(*find_layer_record(3), nullptr, &lines);
    maker.open(path);
    EXPECT_EQ(maker.attr_records.size(), 2u);
}

TEST(BasinReader, Failures) {
    TempFolder dir("basin-reader");
    const std::string eof = "Unexpected EOF. KsPolygonMakerBasin::read_attr()";
    struct Case {
        const char* name;
        AreaFileParts parts;
        std::vector<std::string> codes;
        std::string failure;
    };
    AreaFileParts short_record = catchment_file({{1, "81001"}});
    short_record.ledgers.back().replace(13, 3, "  2");
    AreaFileParts wrong_kind = catchment_file({{1, "81001"}});
    wrong_kind.ledgers.back()[1] = 'X';
    AreaFileParts no_ledger = catchment_file({{1, "81001"}});
    no_ledger.ledgers.clear();
    const std::vector<Case> cases = {
        {"no codes", catchment_file({{1, "81001"}}), {}, "水系域コードが指定されていません。"},
        {"no codes and no ledger record", no_ledger, {}, ""},
        {"number above the pseudo-catchments' offset", catchment_file({{900001, "81001"}}), {"81001"},
         "Invalid attribute number 900001 (catchments take 1 to 900000). KsPolygonMakerBasin::read_attr()"},
        // Its split-off chains would take the number of catchment 900000.
        {"catchment number 0", catchment_file({{0, "81001"}}), {"81001"},
         "Invalid attribute number 0 (catchments take 1 to 900000). KsPolygonMakerBasin::read_attr()"},
        {"a negative number", catchment_file({{-3, "81001"}}), {"81001"},
         "Invalid attribute number -3 (catchments take 1 to 900000). KsPolygonMakerBasin::read_attr()"},
        {"the lowest number", catchment_file({{1, "81001"}}), {"81001"}, ""},
        {"the offset itself is a catchment", catchment_file({{900000, "81001"}}), {"81001"}, ""},
        {"a high number of another code is skipped", catchment_file({{900001, "81002"}}), {"81001"}, ""},
        {"continuation line missing", short_record, {"81001"}, eof},
        {"not a ledger record", wrong_kind, {"81001"}, "Invalid layer code. KsPolygonMakerBasin::read_attr()"},
    };
    for (const Case& t : cases) {
        BasinCase c;
        for (const std::string& code : t.codes) c.maker.add_code(code);
        EXPECT_EQ(open_failure(c.maker, write_area_file(dir, "f.txt", t.parts)), t.failure) << t.name;
    }
}
