#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text/Cp932.h"
#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora::gen;
using velmora::text::fromCp932;

TEST(AttrFileGen, HeaderLineColumns) {
    AttrHeader h{"KS-META", "W05-08", "01", "2008", "12", 345};
    std::string line = attrHeaderLine(h);
    ASSERT_EQ(line.size(), 41u);
    EXPECT_EQ(line.substr(0, 3), "H  ");
    EXPECT_EQ(line.substr(3, 10), "KS-META   ");
    EXPECT_EQ(line.substr(13, 10), "W05-08    ");
    EXPECT_EQ(line.substr(23, 2), "01");
    EXPECT_EQ(line.substr(25, 4), "2008");
    EXPECT_EQ(line.substr(29, 4), "  12");
    EXPECT_EQ(line.substr(33, 8), "     345");
}

TEST(AttrFileGen, RowsPlaceValuesAtByteColumns) {
    std::vector<AttrGenColumn> cols{{4, 5, true}, {9, 6, false}, {15, 3, true}};
    std::string row = attrTRow(cols, {"42", "河川", "7"});
    EXPECT_EQ(fromCp932(row), "T     42河川    7");
    // A value longer than its width is cut on a character boundary, never through a character.
    std::string cut = attrTRow({{4, 3, false}}, {"河川"});
    EXPECT_EQ(fromCp932(cut), "T  河 ");
    EXPECT_EQ(fromCp932(attrDtRow("12005", "1", "台帳")), "DT      12005  1台帳");
}

TEST(AttrFileGen, BulkFileHasHeaderRowsAndLedgerWithCrLf) {
    auto dir = std::filesystem::temp_directory_path() / ("attrgen_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "bulk.txt").string();
    AttrBulkOptions options{{"", "W05", "", "2008"}, {{4, 6, true}, {10, 3, true}, {13, 10, false}}, 50, 7, true};
    writeBulkAttrFile(path, options);
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    std::vector<std::string> lines;
    for (std::size_t p = 0, q; (q = all.find("\r\n", p)) != std::string::npos; p = q + 2) lines.push_back(all.substr(p, q - p));
    ASSERT_EQ(lines.size(), 101u);
    EXPECT_EQ(all.substr(all.size() - 2), "\r\n");
    EXPECT_EQ(lines[0].substr(33, 8), "      50");
    for (std::size_t i = 1; i < lines.size(); i += 2) {
        ASSERT_EQ(lines[i].substr(0, 3), "T  ");
        ASSERT_EQ(lines[i + 1].substr(0, 3), "DT ");
        // The ledger's attribute number is item 1 followed by item 2 with three digits.
        long item1 = std::stol(lines[i].substr(3, 6)), item2 = std::stol(lines[i].substr(9, 3));
        EXPECT_EQ(std::stol(lines[i + 1].substr(3, 10)), item1 * 1000 + item2);
    }
    std::filesystem::remove_all(dir);
}
