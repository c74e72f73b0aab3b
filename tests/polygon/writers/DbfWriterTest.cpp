#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>
#include <map>

#include "platform/text/Cp932.h"
#include "polygon/core/DbfHeader.h"
#include "polygon/core/TextUtil.h"
#include "tests/polygon/support/FileSizeLimit.h"
#include "tests/polygon/support/TempFolder.h"

using namespace ostrand;
using polygontest::read_file;
using polygontest::TempFolder;
using velmora::text::fromCp932;
using velmora::text::toCp932;

namespace {

class DbfWriter : public ::testing::Test {
protected:
    void SetUp() override {
        set_clock([] { return LocalTime{2026, 3, 9, 12, 0, 0}; });
    }
    void TearDown() override { set_clock({}); }
    TempFolder dir{"dbf"};
};

std::string pad(const std::string& cp932, std::size_t width) { return cp932 + std::string(width - cp932.size(), ' '); }

// Area-ledger text of the administrative item: attribute number, line count, four names of 16 bytes.
std::string admin_record(const std::string& attr, const char* pref, const char* branch, const char* county,
                         const char* city) {
    return "DA " + attr + "  1" + pad(toCp932(pref), 16) + pad(toCp932(branch), 16) + pad(toCp932(county), 16) +
           pad(toCp932(city), 16);
}

}  // namespace

TEST_F(DbfWriter, HeaderAndRecordsOfTheRuralItem) {
    std::map<int, std::string> records = {
        {12, "DA 0000000012  11"},
        {7, "DA 0000000007"},          // ends before the designation field: blanks
        {-3, "DA -000000003  1 x"},    // a negative attribute number keeps its sign
        {5, "DA 000000000B  1x"},      // letters read as 0
    };
    const std::string path = dir.file("rural.shp");
    write_attr_table(path, 3, records);
    const std::string b = read_file(dir.file("rural.dbf"));
    ASSERT_EQ(b.size(), 97u + 4 * 25u + 1u);
    EXPECT_EQ(std::uint8_t(b[0]), 3);
    EXPECT_EQ(std::uint8_t(b[1]), 126);
    EXPECT_EQ(std::uint8_t(b[2]), 3);
    EXPECT_EQ(std::uint8_t(b[3]), 9);
    EXPECT_EQ(std::uint8_t(b[4]), 4);  // record count
    EXPECT_EQ(std::uint8_t(b[8]) | (std::uint8_t(b[9]) << 8), 97);
    EXPECT_EQ(std::uint8_t(b[10]) | (std::uint8_t(b[11]) << 8), 25);
    for (int i = 12; i < 32; ++i) EXPECT_EQ(std::uint8_t(b[i]), i == 29 ? 0x13 : 0) << i;
    EXPECT_EQ(fromCp932(b.substr(32, 8)), "属性番号");
    EXPECT_EQ(b[32 + 8], '\0');
    EXPECT_EQ(b[32 + 11], 'N');
    EXPECT_EQ(std::uint8_t(b[32 + 16]), 12);
    EXPECT_EQ(std::uint8_t(b[32 + 17]), 0);
    EXPECT_EQ(std::uint8_t(b[96]), 0x0D);
    EXPECT_EQ(b.substr(97, 25), std::string(" ") + "          -3" + "           0");
    EXPECT_EQ(b.substr(97 + 25, 25), std::string(" ") + "           0" + "           0");
    EXPECT_EQ(b.substr(97 + 50, 25), std::string(" ") + "           7" + std::string(12, ' '));
    EXPECT_EQ(b.substr(97 + 75, 25), std::string(" ") + "          12" + "           1");
    EXPECT_EQ(std::uint8_t(b.back()), 0x1A);
}

TEST_F(DbfWriter, TextFieldsAreTrimmedAndPadded) {
    // 16-byte prefecture field whose last bytes are ideographic and ASCII spaces: trimmed then padded to 20.
    std::string rec = "DA 0000001101  1" + toCp932("北海道") + "\x81\x40\x81\x40" + "      ";
    rec += std::string(16, ' ');                   // branch: all blanks
    rec += pad(toCp932("石狩郡"), 16);
    rec += toCp932("　当別町") + std::string(8, ' ');  // a leading ideographic space becomes two spaces, trimmed
    write_attr_table(dir.file("admin.shp"), 8, {{1101, rec}});
    const std::string b = read_file(dir.file("admin.dbf"));
    const std::size_t header = 32 * 7 + 33;
    ASSERT_EQ(b.size(), header + 1 + 36 + 80 + 1);
    const std::string r = b.substr(header, 1 + 36 + 80);
    EXPECT_EQ(r.substr(1, 12), "        1101");
    EXPECT_EQ(r.substr(13, 12), "           1");
    EXPECT_EQ(r.substr(25, 12), "         101");
    EXPECT_EQ(r.substr(37, 20), pad(toCp932("北海道"), 20));
    EXPECT_EQ(r.substr(57, 20), std::string(20, ' '));
    EXPECT_EQ(r.substr(77, 20), pad(toCp932("石狩郡"), 20));
    EXPECT_EQ(r.substr(97, 8), toCp932("当別町") + "  ");
}

TEST_F(DbfWriter, ReadBackWithShapelibAndOgrinfo) {
    std::map<int, std::string> records = {
        {1101, admin_record("0000001101", "北海道", "石狩支庁", "", "札幌市")},
        {13101, admin_record("0000013101", "東京都", "", "", "千代田区")},
    };
    const std::string path = dir.file("行政界.shp");
    write_attr_table(path, 8, records);
    const std::string dbf = dir.file("行政界.dbf");

    DBFHandle h = DBFOpen(dbf.c_str(), "rb");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(DBFGetRecordCount(h), 2);
    EXPECT_EQ(DBFGetFieldCount(h), 7);
    EXPECT_EQ(DBFReadIntegerAttribute(h, 1, 1), 13);
    EXPECT_EQ(fromCp932(DBFReadStringAttribute(h, 1, 6)), "千代田区");
    DBFClose(h);

    const std::string out = polygontest::run_command("ogrinfo -ro -al -q '" + dbf + "'");
    EXPECT_NE(out.find("都道府県名 (String) = 北海道"), std::string::npos) << out;
    EXPECT_NE(out.find("市区町村名 (String) = 千代田区"), std::string::npos) << out;
    EXPECT_NE(out.find("属性番号 (Integer64) = 13101"), std::string::npos) << out;
}

TEST_F(DbfWriter, FailuresThrowTheWriterTexts) {
    const std::string gone = (dir.path() / "vanished" / "a.shp").string();
    try {
        write_attr_table(gone, 3, {});
        FAIL();
    } catch (const std::string& t) {
        EXPECT_EQ(t, "File open failure. KsPolygonMaker::save_dbf()");
    }
    try {
        write_attr_table(dir.file("b.shp"), 11, {});
        FAIL();
    } catch (const std::string& t) {
        EXPECT_EQ(t, "Invalid data id. KsPolygonMaker::save_dbf()");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.dbf")));

    std::map<int, std::string> many;
    for (int i = 0; i < 1000; ++i) many[i] = "DA " + std::to_string(1000000000 + i) + "  11";
    polygontest::write_file(dir.file("full.dbf"), "earlier table");
    std::string thrown;
    try {
        polygontest::FileSizeLimit full(4096);
        write_attr_table(dir.file("full.shp"), 3, many);
    } catch (const std::string& t) {
        thrown = t;
    }
    EXPECT_EQ(thrown, "File write failure. KsPolygonMaker::save_dbf()");
    EXPECT_EQ(read_file(dir.file("full.dbf")), "earlier table");
    EXPECT_EQ(polygontest::folder_entries(dir.path()), (std::vector<std::string>{"full.dbf"}));
}

// An earlier table is replaced whole, and only when it may be: never one marked read-only, never a folder.
TEST_F(DbfWriter, ReplacesOnlyWhatMayBeReplaced) {
    const std::map<int, std::string> records = {{1, "DA 0000000001  11"}};
    polygontest::write_file(dir.file("a.dbf"), "earlier table");
    write_attr_table(dir.file("a.shp"), 3, records);
    EXPECT_EQ(read_file(dir.file("a.dbf")).size(), 97u + 25u + 1u);

    polygontest::write_file(dir.file("ro.dbf"), "kept");
    std::filesystem::permissions(dir.file("ro.dbf"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
    std::filesystem::create_directory(dir.file("folder.dbf"));
    for (const char* name : {"ro.shp", "folder.shp"}) {
        try {
            write_attr_table(dir.file(name), 3, records);
            ADD_FAILURE() << name;
        } catch (const std::string& t) {
            EXPECT_EQ(t, "File open failure. KsPolygonMaker::save_dbf()") << name;
        }
    }
    EXPECT_EQ(read_file(dir.file("ro.dbf")), "kept");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.dbf")));
    EXPECT_EQ(polygontest::folder_entries(dir.path()), (std::vector<std::string>{"a.dbf", "folder.dbf", "ro.dbf"}));
}
