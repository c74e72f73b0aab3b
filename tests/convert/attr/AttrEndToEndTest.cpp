// Attribute tables through the real Brunhale: the writers' description becomes a dBASE table, read back
// with shapelib and with ogrinfo.
#include <gmock/gmock.h>

#include <filesystem>

#include "convert/attr/AttrLoader.h"
#include "convert/attr/AttrWriters.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/db/Database.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/brunhale/Readback.h"
#include "tests/convert/attr/AttrTestSupport.h"

using namespace velmora;
using namespace velmora::attrtest;
using testsupport::FieldRead;
using testsupport::readTable;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

using Cells = std::vector<std::optional<std::string>>;

class AttrEndToEnd : public AttrJobFixture {
protected:
    void SetUp() override {
        AttrJobFixture::SetUp();
        fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", folder.file("Brunhale"));
        fs::create_directory(folder.file("out"));
    }
    // Closes the pair and runs the writer as the job does; the pair goes after a success.
    void runWriter() {
        closePair();
        ASSERT_TRUE(shapedesc::runShapeWriterOnPair(shapedesc::PairDeletion::AfterSuccess,
                                                    "DBFﾌｧｲﾙの作成に失敗しました。"));
        EXPECT_FALSE(fs::exists(shapedesc::headerFilePath()));
    }
};

gen::AttrHeader header(const std::string& key, long count) { return {"", key, "", "2008", "1", count}; }

}  // namespace

TEST_F(AttrEndToEnd, StreamedTableHasItsRowsFieldsAndJapaneseValues) {
    const std::vector<Item> items = {
        {"コード", "Text", 4, 5, true},   {"名称", "Text1", 9, 20, true}, {"人数", "Long", 29, 8, true},
        {"区分", "Integer", 37, 2, false}, {"評価", "Integer", 39, 3, true},
    };
    fillAttrTable(items);
    select(3, makeLayer("海水浴台帳", "W07", items));
    conversionState().OutputPath = folder.file("out/海水浴.dbf");
    openLogAndPair();
    auto cols = columnsOf(items, 5);
    std::vector<std::string> files = {
        input("a.txt", {gen::attrHeaderLine(header("W07", 2)), gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120", "1", "3"}),
                        gen::attrTRow(cols, {"A0002", "ｶﾀｶﾅ浜", "x", "2", ""})}),
        input("foreign.txt", {gen::attrHeaderLine(header("W12", 1)), gen::attrTRow(cols, {"X", "他", "1", "1", "1"})}),
        input("b.txt", {gen::attrHeaderLine(header("W07", 1)), gen::attrTRow(cols, {"B0001", "逗子,葉山", "7", "", "12"})}),
    };
    ASSERT_TRUE(ModAttr::MakeShapeAttrFileData_ini());
    for (const auto& f : files) ASSERT_TRUE(ModAttr::MakeAttrFileData(f));
    runWriter();

    const std::string dbf = folder.file("out/海水浴.dbf");
    testsupport::TableRead t = readTable(dbf);
    EXPECT_EQ(t.languageDriver, 0x13);
    // Four declared fields: the row number after them is no field of the table.
    EXPECT_EQ(t.fields, (std::vector<FieldRead>{{"コード", 'C', 5, 0}, {"名称", 'C', 20, 0}, {"人数", 'N', 8, 0},
                                                 {"評価", 'N', 3, 0}}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0], (Cells{"A0001", "由比ヶ浜", "120", "3"}));
    EXPECT_EQ(t.rows[1], (Cells{"A0002", "ｶﾀｶﾅ浜", std::nullopt, std::nullopt}));
    EXPECT_EQ(t.rows[2], (Cells{"B0001", "逗子，葉山", "7", "12"}));
    EXPECT_EQ(fs::exists(folder.file("out/海水浴.prj")), false);

    std::string info = testsupport::ogrinfo(dbf);
    EXPECT_THAT(info, HasSubstr("Feature Count: 3"));
    EXPECT_THAT(info, HasSubstr("名称: String (20.0)"));
    EXPECT_THAT(info, HasSubstr("人数: Integer (8.0)"));
    EXPECT_THAT(info, HasSubstr("名称 (String) = 由比ヶ浜"));
    EXPECT_THAT(info, HasSubstr("名称 (String) = ｶﾀｶﾅ浜"));
}

TEST_F(AttrEndToEnd, JoinedTableIsSortedAndCarriesLedgerTitles) {
    std::vector<Item> items = {
        {"水系コード", "Long", 4, 6, true}, {"河川コード", "Integer", 10, 3, true}, {"河川名", "Text", 13, 20, true}};
    for (int i = 4; i <= 45; ++i) items.push_back({"予備" + std::to_string(i), "Integer", 33, 1, false});
    items.push_back({"水系名", "Text2", 0, 20, true});
    fillAttrTable(items);
    select(10, makeLayer("河川・水系域テーブル", "W10", items));
    conversionState().OutputPath = folder.file("out/河川");  // no ".dbf": the whole path is the base
    openLogAndPair();
    auto cols = columnsOf(items, 3);
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 5)), gen::attrTRow(cols, {"1001", "5", "多摩川"}),
                                    gen::attrTRow(cols, {"2", "10", "荒川"}), gen::attrTRow(cols, {"1001", "3", "浅川"}),
                                    gen::attrDtRow("1001005", "1", "多摩川水系"), gen::attrDtRow("2010", "1", "荒川水系")});
    ASSERT_TRUE(ModAttr::MakeAttrDb());
    {
        db::Database database = db::Database::open(folder.file(ModAttr::kAttrDbName));
        ASSERT_TRUE(ModAttr::SetAttrTextToTbl(database, f));
        ASSERT_TRUE(ModAttr::MakeAttrFileData_Toku(database));
    }
    runWriter();

    const std::string dbf = folder.file("out/河川.dbf");
    testsupport::TableRead t = readTable(dbf);
    EXPECT_EQ(t.fields, (std::vector<FieldRead>{{"水系コード", 'N', 6, 0}, {"河川コード", 'N', 3, 0},
                                                 {"河川名", 'C', 20, 0}, {"水系名", 'C', 20, 0}}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0], (Cells{"2", "10", "荒川", "荒川水系"}));
    EXPECT_EQ(t.rows[1], (Cells{"1001", "3", "浅川", std::nullopt}));
    EXPECT_EQ(t.rows[2], (Cells{"1001", "5", "多摩川", "多摩川水系"}));

    std::string info = testsupport::ogrinfo(dbf);
    EXPECT_THAT(info, HasSubstr("Feature Count: 3"));
    EXPECT_THAT(info, HasSubstr("水系名: String (20.0)"));
    EXPECT_THAT(info, HasSubstr("水系名 (String) = 多摩川水系"));
    EXPECT_THAT(info, HasSubstr("河川名 (String) = 荒川"));
}
