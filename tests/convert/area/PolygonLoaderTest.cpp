// The area-structure loader: generated files against the generator's model, files of other items, and
// every way a file is refused.
#include "convert/area/PolygonLoader.h"
#include "tests/convert/area/AreaJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

using Tables = std::map<std::string, Dump>;

// What loading the model's files in order must have stored, LinkIdx counted on across the files.
Tables expectedTables(const datagen::AreaStructureModel& m) {
    Tables t;
    long linkIdx = 0, areaIdx = 0;
    for (const datagen::AreaStructureFile& f : m.files) {
        for (const auto& n : f.nodes)
            t["ノードデータ"].push_back(RowText().t("N  ").t(n.mesh).v(n.serial).v(n.x).v(n.y).v(0).opt(n.attribute).v(2)
                                            .v(0).opt(n.pair_mesh).opt(n.pair_number));
        for (const auto& l : f.links) {
            ++linkIdx;
            t["リンクデータ"].push_back(RowText().t("L  ").t(l.start_mesh).v(l.start_number).t(l.end_mesh).v(l.end_number)
                                            .v(l.serial).v(0).opt(l.attribute).v(static_cast<long long>(l.vertices.size()))
                                            .v(linkIdx).v(0).v(0));
            for (const auto& [x, y] : l.vertices) t[kLinkPoints].push_back(RowText().v(linkIdx).v(x).v(y));
        }
        for (const auto& a : f.areas) {
            ++areaIdx;
            t["ポリゴンデータ"].push_back(RowText().t("A  ").t(a.mesh).v(a.x).v(a.y).v(a.serial).v(1).v(a.attribute)
                                              .v(static_cast<long long>(a.refs.size())).v(areaIdx));
            long k = 0;
            for (const auto& r : a.refs)
                t["ポリゴンリンクデータ"].push_back(RowText().v(areaIdx).v(++k).t(r.mesh).v(r.number).v(r.code));
        }
        for (const auto& d : f.ledgers) {
            RowText row;
            row.t("DA ").v(d.attribute).v(d.line_count);
            for (const std::string& v : d.values) v.empty() ? row.null() : row.t(v);
            t["エリア台帳データ"].push_back(row);
        }
    }
    return t;
}

class PolygonLoaderTest : public AreaJobFixture {
protected:
    Tables dumpAll() {
        Tables all;
        for (const char* name : {"ノードデータ", "リンクデータ", "リンクデータ中間点", "ポリゴンデータ", "ポリゴンリンクデータ",
                                 "エリア台帳データ"})
            all[name] = dump(name);
        all[kLinkPoints] = dumpLinkPoints(db_);
        return all;
    }
    // Generates files of a row, loads them all and compares every table with the model.
    void loadAndCompare(datagen::AreaStructureOptions o) {
        if (!o.items.empty()) setAreaRow(o.row, areaRowName(o.row), datagen::area_row_header_key(o.row), o.items);
        openDb(o.row);
        const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("gen"), o);
        for (const auto& f : m.files) ASSERT_TRUE(load(f.path)) << f.path;
        const Tables expected = expectedTables(m);
        const Tables actual = dumpAll();
        for (const auto& [name, rows] : actual) EXPECT_EQ(rows, expected.count(name) ? expected.at(name) : Dump{}) << name;
        EXPECT_TRUE(ui_.boxes().empty());
    }
};

TEST_F(PolygonLoaderTest, GeneratedFilesAreStoredAsTheirModelSays) {
    datagen::AreaStructureOptions o;
    o.row = 3;
    o.items = {{"名称", "Text", 20}, {"種別", "Integer", 2}, {"備考", "Text2", 6}, {"管理番号", "Long", 8, false}};
    o.grid.cols = 4;
    o.grid.rows = 2;
    o.grid.vertices_per_link = 7;
    o.grid.files = 2;
    o.blank_optional_fields = true;
    o.links_without_vertices = 2;
    o.areas_without_ledger = 1;
    o.repeated_ledgers = 2;
    loadAndCompare(o);
    // The second file's links and areas were numbered after the first file's.
    EXPECT_EQ(conversionState().LinkIdxCounter[0], static_cast<std::int32_t>(dump("リンクデータ").size()));
    EXPECT_EQ(conversionState().LinkIdxCounter[1], 8);
}

TEST_F(PolygonLoaderTest, ResortAndBoundaryLedgersFollowTheirRowsRules) {
    for (int row : {7, 8}) {
        SCOPED_TRACE(row);
        datagen::AreaStructureOptions o;
        o.row = row;
        o.grid.cols = 3;
        o.grid.rows = 1;
        o.first_attribute = row == 8 ? 13101 : 101;
        loadAndCompare(o);
    }
}

TEST_F(PolygonLoaderTest, FilesOfOtherItemsAreLoggedAndSkipped) {
    openDb(3);
    datagen::AreaStructureOptions o;
    o.row = 3;
    o.header_row = 5;
    const auto other = datagen::generate_area_structure_files(program_.file("other"), o);
    const std::string unknown = writeFile("unknown.txt", crlf({headerLine("H", "Z99-99Z"), areaCounts()}));
    o.header_row = -1;
    const auto own = datagen::generate_area_structure_files(program_.file("own"), o);

    EXPECT_TRUE(load(other.files[0].path));
    EXPECT_TRUE(load(unknown));
    EXPECT_TRUE(dump("リンクデータ").empty());
    EXPECT_FALSE(conversionState().InFileNo.isOpen());
    EXPECT_TRUE(load(own.files[0].path));
    EXPECT_FALSE(dump("リンクデータ").empty());
    EXPECT_EQ(logLines(), (std::vector<std::string>{"ファイルの種別が「面3」ではありません。 ファイル種別：面5",
                                                    "ファイルの種別が「面3」ではありません。 ファイル種別：不明"}));
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(PolygonLoaderTest, EachRefusalShowsItsBoxAndStopsTheFile) {
    const std::string key = datagen::area_row_header_key(3);
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::string title;
        std::string textStart;
        int linksKept;
    };
    const std::vector<Case> cases = {
        {"not a header", {"HX" + std::string(12, ' ') + key, areaCounts()}, "ｴﾗｰﾒｯｾｰｼﾞ", "ファイルの形式が正しくありません。", 0},
        {"blank number in the header", {headerLine("H", key, "    "), areaCounts()}, "Error: ModPolygon (SetTextToTbl_Hed)", "13 ", 0},
        {"a file of one line", {headerLine("H", key)}, "Error: ModPolygon (SetTextToTbl_Hed)", "62 ", 0},
        {"a count that is no number", {headerLine("H", key), "      20       x"}, "Error: ModPolygon (SetTextToTbl_Hed)", "13 ", 0},
        {"node without a mesh code",
         {headerLine("H", key), areaCounts(), "N        " + num(1, 6) + num(5040000, 8) + num(1260000, 8)},
         "Error: ModPolygon (SetTextToTbl_Node)", "3421 ", 0},
        {"link whose vertex line is missing",
         {headerLine("H", key), areaCounts(), linkRecord(533945, 1, 533945, 2, 1, "     7"), vertexSlot(1, 2)},
         "Error: ModPolygon (SetTextToTbl_Link)", "62 ", 1},
        {"an area record where the link's second vertex line should stand",
         {headerLine("H", key), areaCounts(), linkRecord(533945, 1, 533945, 2, 1, "     7"), vertexSlot(1, 2),
          areaRecord(533945, 1, 2, 1, num(5, 10), 0)},
         "ｴﾗｰﾒｯｾｰｼﾞ", "ファイルの形式が正しくありません。", 1},
        {"area with a blank attribute number",
         {headerLine("H", key), areaCounts(), linkRecord(533945, 1, 533945, 2, 1, "     0"),
          areaRecord(533945, 1, 2, 1, std::string(10, ' '), 0)},
         "Error: ModPolygon (SetTextToTbl_Pliy)", "3421 ", 1},
        {"area with an attribute number beyond 32 bits",
         {headerLine("H", key), areaCounts(), areaRecord(533945, 1, 2, 1, "9999999999", 0)},
         "Error: ModPolygon (SetTextToTbl_Pliy)", "3349 ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        openDb(3);
        ui_.clearRecords();
        std::string bytes;
        for (const std::string& l : c.lines) bytes += text::toCp932(l) + "\r\n";
        ui_.answer(ui::Answer::Ok);
        EXPECT_FALSE(load(writeFile("bad.txt", bytes)));
        conversionState().InFileNo.closeQuietly();
        EXPECT_EQ(dump("リンクデータ").size(), static_cast<std::size_t>(c.linksKept));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, c.title);
        EXPECT_EQ(ui_.boxes()[0].text.substr(0, c.textStart.size()), c.textStart);
    }
    // The link counter at its largest value: the next link cannot be numbered.
    openDb(3);
    ui_.clearRecords();
    conversionState().LinkIdxCounter[0] = 2147483647;
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(load(writeFile("full.txt", crlf({headerLine("H", key), areaCounts(),
                                                  linkRecord(533945, 1, 533945, 2, 1, "     0")}))));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModPolygon (SetTextToTbl_Link)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 2), "6 ");
    conversionState().InFileNo.closeQuietly();

    // A database without the ledger table: the loop's own box, and the input file closed.
    openDb(3);
    db_.close();
    {
        db::Database d = db::Database::open(ModPolygon::PolygonDbPath());
        d.query("DROP TABLE エリア台帳データ").next();
    }
    db_ = db::Database::open(ModPolygon::PolygonDbPath());
    ui_.clearRecords();
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(load(writeFile("table.txt", crlf({headerLine("H", key), areaCounts()}))));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModPolygon (PolySetTextToTbl)");
    EXPECT_FALSE(conversionState().InFileNo.isOpen());

    // A ledger item of type Integer that does not fit 16 bits.
    setAreaRow(3, areaRowName(3), key, {{"指定区分", "Integer", 6}});
    openDb(3);
    ui_.clearRecords();
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(load(writeFile("big.txt", crlf({headerLine("H", key), areaCounts(), daRecord(1, 1, " 40000")}))));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModPolygon (SetTextToTbl_Area)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 5), "3349 ");
}

TEST_F(PolygonLoaderTest, ProgressCountsTheLinesOfTheLoopAndHidesAtTheEnd) {
    openDb(3);
    const std::string key = datagen::area_row_header_key(3);
    ASSERT_TRUE(load(writeFile("p.txt", crlf({headerLine("H", key), "       4       0       0       0       0       0       0",
                                              linkRecord(533945, 1, 533945, 2, 1, "     6"),
                                              vertexSlot(1, 1) + vertexSlot(2, 2) + vertexSlot(3, 3) + vertexSlot(4, 4) + vertexSlot(5, 5),
                                              vertexSlot(6, 6), "X stray line", daRecord(1, 1, "2")}))));
    ASSERT_EQ(ui_.shown.size(), 1u);
    EXPECT_EQ(ui_.shown[0], (ProgressNotingUi::Shown{"初期処理中・・・", 4, 0, true}));
    EXPECT_EQ(bar_->value(), 4);
    EXPECT_TRUE(bar_->isHidden());
    EXPECT_EQ(dumpLinkPoints(db_).size(), 6u);
    EXPECT_EQ(dump("エリア台帳データ"), (Dump{"DA |1|1|2"}));
}

}  // namespace
