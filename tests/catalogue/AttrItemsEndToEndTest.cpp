// The shipped attribute-table items converted end to end: three table rows laid out from each item's
// catalogue row, behind its header line, become a dBASE table whose fields and values ogrinfo reads back.
#include "tests/catalogue/ShippedItemRun.h"

#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

constexpr int kRecords = 3;

// Bytes past the last known item: the layouts at hand end early for some items, and whatever the records
// hold there must not reach a field.
std::string withTail(std::string record, int recordWidth) {
    if (static_cast<int>(record.size()) < recordWidth) record.append(static_cast<std::size_t>(recordWidth) - record.size(), '7');
    return record;
}

class AttrItems : public ShippedItemRun, public ::testing::WithParamInterface<int> {};

TEST_P(AttrItems, ConvertToATableOfTheirItems) {
    const int row = GetParam();
    const auto layout = shippedLayout(CatalogKind::Attr, row);
    ASSERT_TRUE(layout);
    const LayerDef& d = conversionState().AttrLayers[static_cast<std::size_t>(row)];
    const auto columns = gen::catalogueColumns(d, 1, d.ItemCount);

    std::vector<std::string> lines = {gen::attrHeaderLine({"GSI", layout->dataCode, "5", "1977", std::to_string(layout->recordWidth), kRecords + 1})};
    for (int r = 1; r <= kRecords; ++r)
        lines.push_back(withTail(gen::attrTRow(columns, gen::sampleValues(columns, r)), layout->recordWidth));
    const std::string in = program_.file(std::string("in/") + layout->dataCode + ".txt");
    gen::writeLines(in, lines);

    const std::string out = program_.file(std::string("out/") + layout->dataCode + ".dbf");
    convert("attr", row, out, {in});
    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: " + std::to_string(kRecords)));
    EXPECT_THAT(info, HasSubstr("Layer SRS WKT:\n(unknown)"));
    for (int i = 1; i <= d.ItemCount; ++i) EXPECT_THAT(info, HasSubstr(fieldLine(d, i)));
    for (int r = 1; r <= kRecords; ++r) {
        const std::vector<std::string> values = gen::sampleValues(columns, r);
        for (int i = 1; i <= d.ItemCount; ++i)
            EXPECT_THAT(info, HasSubstr(valueLine(d, i, values[static_cast<std::size_t>(i - 1)]))) << "record " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, AttrItems, ::testing::Values(0, 6, 13));

// The ledger-joined table: its rows carry the title of the ledger row whose attribute number is the row's
// first item followed by its second zero-filled to three digits.
TEST_F(ShippedItemRun, RiverTableJoinsItsLedgerTitles) {
    const auto layout = shippedLayout(CatalogKind::Attr, 10);
    ASSERT_TRUE(layout);
    const LayerDef& d = conversionState().AttrLayers[10];
    const int columnsCount = d.ItemCount - 1;
    const auto columns = gen::catalogueColumns(d, 1, columnsCount);

    std::vector<std::string> lines = {gen::attrHeaderLine({"NLA", layout->dataCode, "5", "1977", "221", 7})};
    const std::vector<std::pair<std::string, std::string>> keys = {{"81203", "12"}, {"81201", "5"}, {"81201", "7"}};
    for (std::size_t r = 0; r < keys.size(); ++r) {
        std::vector<std::string> values = gen::sampleValues(columns, static_cast<int>(r) + 1);
        values[0] = keys[r].first;
        values[1] = keys[r].second;
        lines.push_back(withTail(gen::attrTRow(columns, values), layout->recordWidth));
    }
    lines.push_back(gen::attrDtRow("81201005", "1", "石狩川"));
    lines.push_back(gen::attrDtRow("81203012", "1", "千歳川水系"));
    const std::string in = program_.file("in/W03.txt");
    gen::writeLines(in, lines);

    const std::string out = program_.file("out/W03.dbf");
    convert("attr", 10, out, {in});
    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: 3"));
    for (int i = 1; i <= d.ItemCount; ++i) EXPECT_THAT(info, HasSubstr(fieldLine(d, i)));
    // Sorted by the first three items: 81201/5, 81201/7 (no ledger row), 81203/12.
    const std::string title = text::fromCp932(d.ItemName[static_cast<std::size_t>(d.ItemCount)]);
    const auto first = info.find("OGRFeature(W03):0"), second = info.find("OGRFeature(W03):1"),
               third = info.find("OGRFeature(W03):2");
    ASSERT_NE(third, std::string::npos) << info;
    EXPECT_THAT(info.substr(first, second - first), HasSubstr("  " + title + " (String) = 石狩川\n"));
    EXPECT_THAT(info.substr(second, third - second), HasSubstr("  " + title + " (String) = (null)"));
    EXPECT_THAT(info.substr(third), HasSubstr("  " + title + " (String) = 千歳川水系\n"));
    EXPECT_THAT(info.substr(third), HasSubstr(valueLine(d, 1, "81203")));
}

}  // namespace
