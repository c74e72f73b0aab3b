// The attribute table window opened as the main window's command does, in a temporary program folder: one
// copy per window, numbered from the lowest free name, a grid that reads the copy and a position caption,
// the copy deleted at close, and damaged tables refused with the box instead of a window.
#include "tests/platform/map/MapFixtures.h"

#include <QApplication>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/TestUi.h"
#include "viewer/RecordNavigator.h"
#include "viewer/TableViewOpening.h"
#include "viewer/frmTableView.h"

using namespace velmora;
using maptest::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr const char* DamagedText =
    "属性ファイルが表示不可能な形式(255ﾌｨｰﾙﾄﾞ以上等)か又はファイルが壊れている為\r\n属性情報が表示出来ません";

std::vector<frmTableView*> tableWindows() {
    std::vector<frmTableView*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<frmTableView*>(w)) found.push_back(t);
    return found;
}

std::vector<std::string> folderNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct TableViewTest : ::testing::Test {
    maptest::ApplicationFirst application;
    ui::TestUi ui;
    TempFolder program{"tableview-program"};
    TempFolder data{"tableview-data"};

    ~TableViewTest() override {
        for (frmTableView* w : tableWindows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A point layer's table of `rows` records: NAME (text) and ID; returns the .dbf path.
    std::string table(const std::string& name, int rows, bool upperCase = false, int extraFields = 0) {
        datagen::GenShapeFile f;
        f.shpType = 1;
        f.upperCase = upperCase;
        f.fields = {{"NAME", 'C', 12, 0}, {"ID", 'N', 6, 0}};
        for (int i = 0; i < extraFields; ++i) f.fields.push_back({"F" + std::to_string(1000 + i), 'C', 2, 0});
        for (int i = 0; i < rows; ++i) {
            f.shapes.push_back({{{{double(i), 0.0}}}});
            std::vector<std::string> row{i == 0 ? "東京都" : "r" + std::to_string(i + 1), std::to_string(i + 1)};
            row.resize(f.fields.size(), "x");
            f.rows.push_back(row);
        }
        const std::string shp = datagen::writeShapeFile(data.file(name), f);
        return shp.substr(0, shp.size() - 3) + (upperCase ? "DBF" : "dbf");
    }
    void open(const std::string& name, const std::string& path) {
        viewer::openTableView(viewer::SelectedTheme{true, name, path}, program.path().string());
    }
};

TEST_F(TableViewTest, OpensTheCopyWithThePositionCaption) {
    const std::string source = table("cities", 120);
    const std::string before = polygontest::read_file(source);
    open("cities", source);
    auto windows = tableWindows();
    ASSERT_EQ(windows.size(), 1u);
    frmTableView* w = windows[0];
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "属性表示 (cities)");
    EXPECT_EQ(w->tag(), source);
    EXPECT_EQ(folderNames(program.path()), std::vector<std::string>{"xxattr01.dbf"});
    EXPECT_EQ(w->lblRecord->text(), "ﾚｺｰﾄﾞ：");
    EXPECT_EQ(w->datZokusei->caption(), "1/120 件");
    auto* model = w->tdbZokusei->model();
    ASSERT_EQ(model->rowCount(), 120);
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "NAME");
    EXPECT_EQ(model->index(0, 0).data().toString(), "東京都");
    EXPECT_EQ(model->index(119, 1).data().toString(), "120");

    QTest::mouseClick(w->datZokusei->last, Qt::LeftButton);
    EXPECT_EQ(w->datZokusei->caption(), "120/120 件");
    QTest::mouseClick(w->datZokusei->previous, Qt::LeftButton);
    EXPECT_EQ(w->datZokusei->caption(), "119/120 件");
    QTest::mouseClick(w->datZokusei->first, Qt::LeftButton);
    EXPECT_EQ(w->datZokusei->caption(), "1/120 件");
    // A move in the grid itself.
    w->tdbZokusei->setCurrentIndex(model->index(41, 1));
    EXPECT_EQ(w->datZokusei->caption(), "42/120 件");
    EXPECT_FALSE(w->tdbZokusei->model()->flags(model->index(0, 0)) & Qt::ItemIsEditable);

    // The smallest size, and the grid 10 pixels from the right edge.
    w->resize(100, 100);
    EXPECT_EQ(w->size(), QSize(555, 316));
    w->resize(700, 400);
    EXPECT_EQ(w->tdbZokusei->geometry().right() + 1, 700 - 10);

    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(tableWindows().empty());
    EXPECT_TRUE(folderNames(program.path()).empty());
    EXPECT_EQ(polygontest::read_file(source), before);
}

// A null number is an empty cell, as GIS programs show it, and a zero stays a zero.
TEST_F(TableViewTest, NullValuesAreEmptyCells) {
    datagen::GenShapeFile f;
    f.shpType = 1;
    f.fields = {{"NAME", 'C', 12, 0}, {"ID", 'N', 9, 0}, {"AREA", 'N', 12, 3}, {"DAY", 'D', 8, 0}};
    f.shapes = {{{{{0.0, 0.0}}}}, {{{{1.0, 0.0}}}}};
    f.rows = {{"東京都", "", "", ""}, {"", "0", "0", "20240101"}};
    const std::string shp = datagen::writeShapeFile(data.file("nulls"), f);
    open("nulls", shp.substr(0, shp.size() - 3) + "dbf");
    auto windows = tableWindows();
    ASSERT_EQ(windows.size(), 1u);
    const auto* model = windows[0]->tdbZokusei->model();
    const std::vector<std::vector<std::string>> expected = {{"東京都", "", "", ""}, {"", "0", "0.000", "20240101"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(model->index(r, c).data().toString().trimmed().toStdString(), expected[r][c]) << r << ", " << c;
}

TEST_F(TableViewTest, TwiceGivesOneWindowAndOneCopy) {
    const std::string source = table("cities", 3);
    open("cities", source);
    open("cities", source);
    EXPECT_EQ(tableWindows().size(), 1u);
    EXPECT_EQ(folderNames(program.path()), std::vector<std::string>{"xxattr01.dbf"});
    // Another table gets its own window and the next number.
    open("towns", table("towns", 2));
    EXPECT_EQ(tableWindows().size(), 2u);
    EXPECT_EQ(folderNames(program.path()), (std::vector<std::string>{"xxattr01.dbf", "xxattr02.dbf"}));
}

TEST_F(TableViewTest, TheLowestFreeNumberAndNothingWhenAllAreTaken) {
    std::ofstream(program.file("xxattr01.dbf")) << "old";
    std::ofstream(program.file("xxattr02.dbf")) << "old";
    const std::string source = table("cities", 3);
    open("cities", source);
    ASSERT_EQ(tableWindows().size(), 1u);
    EXPECT_TRUE(fs::exists(program.file("xxattr03.dbf")));
    tableWindows()[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    for (int n = 1; n <= 99; ++n) std::ofstream(viewer::tableCopyPath(program.path().string(), n)) << "old";
    open("cities", source);
    EXPECT_TRUE(tableWindows().empty());
    EXPECT_EQ(folderNames(program.path()).size(), 99u);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(TableViewTest, RootsAndNothingSelectedDoNothing) {
    viewer::openTableView(std::nullopt, program.path().string());
    EXPECT_TRUE(tableWindows().empty());
    EXPECT_TRUE(folderNames(program.path()).empty());
}

TEST_F(TableViewTest, TheTableIsFoundWithoutRegardToCase) {
    const std::string upper = table("roads", 4, true);  // ROADS.DBF
    const std::string asStored = data.file("roads.dbf");
    open("roads", asStored);
    ASSERT_EQ(tableWindows().size(), 1u);
    EXPECT_EQ(tableWindows()[0]->tag(), asStored);
    EXPECT_EQ(tableWindows()[0]->datZokusei->caption(), "1/4 件");
}

TEST_F(TableViewTest, MoreThan255FieldsAreShown) {
    open("wide", table("wide", 2, false, 300));
    ASSERT_EQ(tableWindows().size(), 1u);
    EXPECT_EQ(tableWindows()[0]->tdbZokusei->model()->columnCount(), 302);
}

TEST_F(TableViewTest, DamagedTablesGiveTheBoxAndNoWindow) {
    const std::string good = polygontest::read_file(table("good", 120));
    auto le16 = [](std::string& s, int at, unsigned v) {
        s[at] = char(v & 0xFF);
        s[at + 1] = char(v >> 8);
    };
    struct Case {
        const char* what;
        std::function<std::string()> bytes;
    } cases[] = {
        {"a truncated header", [&] { return good.substr(0, 40); }},
        {"a record count beyond the file", [&] { std::string s = good; s[4] = char(0xFF); s[5] = char(0xFF); s[6] = char(0xFF); return s; }},
        {"a record count of four thousand million", [&] { std::string s = good; s[4] = s[5] = s[6] = s[7] = char(0xFF); return s; }},
        {"records cut off", [&] { return good.substr(0, good.size() - 100); }},
        {"a header longer than the file", [&] { std::string s = good.substr(0, 200); le16(s, 8, 0xFFF0); return s; }},
        {"a record length shorter than the fields", [&] { std::string s = good; le16(s, 10, 5); return s; }},
        {"an empty file", [&] { return std::string(); }},
    };
    int copies = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = data.file(std::string("bad") + std::to_string(copies) + ".dbf");
        const std::string bytes = c.bytes();
        std::ofstream(path, std::ios::binary) << bytes;
        ui.clearRecords();
        ui.answer(ui::Answer::Ok);
        open("bad", path);
        ++copies;
        EXPECT_TRUE(tableWindows().empty());
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].text, DamagedText);
        EXPECT_EQ(ui.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Exclamation);
        // The copy stays for the exit clean-up; the source is untouched.
        EXPECT_EQ(folderNames(program.path()).size(), static_cast<std::size_t>(copies));
        EXPECT_EQ(polygontest::read_file(path), bytes);
    }
}

TEST_F(TableViewTest, ATableNodeShowsItsOwnFileNeverANeighbouringTable) {
    // "t.dbf" and "x.dbf" stand beside each case's file, so a window showing their rows is the fault.
    table("t", 3);
    const std::string dbase = polygontest::read_file(table("x", 5));
    std::string csv = "ID,NAME\r\n";
    for (int i = 0; i < 2000; ++i) csv += std::to_string(i) + ",name" + std::to_string(i) + "\r\n";
    struct Case {
        const char* what;
        std::string name;   // the node's file, in the data folder
        std::string bytes;
        int rows;           // the rows of the window, or -1 for the box and no window
    } cases[] = {
        {"a small text table", "t.csv", "ID,NAME\r\n1,a\r\n", -1},
        {"a text table larger than a dBASE header's length field", "t.txt", csv, -1},
        {"an empty file", "t.tab", "", -1},
        {"text without a neighbour", "lonely.csv", csv, -1},
        {"a dBASE table under another extension", "x.tbl", dbase, 5},
        {"a dBASE table named t.dbf.bak", "t.dbf.bak", dbase, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = data.file(c.name);
        std::ofstream(path, std::ios::binary) << c.bytes;
        ui.clearRecords();
        if (c.rows < 0) ui.answer(ui::Answer::Ok);
        open(c.name, path);
        if (c.rows < 0) {
            EXPECT_TRUE(tableWindows().empty());
            ASSERT_EQ(ui.boxes().size(), 1u);
            EXPECT_EQ(ui.boxes()[0].text, DamagedText);
            EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Exclamation);
        } else {
            ASSERT_EQ(tableWindows().size(), 1u);
            EXPECT_EQ(tableWindows()[0]->tag(), path);
            EXPECT_EQ(tableWindows()[0]->tdbZokusei->model()->rowCount(), c.rows);
            EXPECT_TRUE(ui.boxes().empty());
        }
        for (frmTableView* w : tableWindows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(polygontest::read_file(path), c.bytes);
    }
}

TEST_F(TableViewTest, ASourceThatCannotBeCopiedGivesTheCommandsErrorBox) {
    ui.answer(ui::Answer::Ok);
    open("gone", data.file("gone.dbf"));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: frmMapMain (ShowTableViewDialog)");
    EXPECT_EQ(ui.boxes()[0].text.substr(0, 3), "53 ");
    EXPECT_TRUE(tableWindows().empty());
    EXPECT_FALSE(ui.busy());
}

}  // namespace
