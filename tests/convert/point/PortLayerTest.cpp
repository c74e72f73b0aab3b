// The port layer: ten header blocks, ten runs of the shape writer (a stand-in that keeps a copy of the
// header file of every run), LinkKey values, item groups, and the driver's failures.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "convert/point/PortLayer.h"
#include "platform/text/Sjis.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

class PortLayer : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        layer_ = gen::portLayer(593);
        // Item 4 of the layer is numeric, item 1 of table 4 (item 334) a text.
        layer_.items[3].type = "Long";
        layer_.items[333].type = "Text1";
        LayerDef row;
        gen::fillPointLayerRow(row, layer_);
        // Table 3 (_S56, items 282-333) has no written item.
        for (int i = 282; i <= 333; ++i) row.ItemOutput[i] = false;
        select(1, row);
        conversionState().MeshRangeCount = -1;
        standIn(0);
        openLogAndPair();
        options_.points = 5;
        options_.blankYEvery = 2;  // points 2 and 4 are logged: the ids are 1, 3, 5
        gen::writeFixedPointFile(folder.file("port.txt"), layer_, options_);
    }
    // Brunhale as a script that keeps the header file of run n as runs/n and fails run `failRun`.
    void standIn(int failRun) {
        fs::create_directories(folder.path() / "runs");
        const std::string path = folder.file("Brunhale");
        std::ofstream f(path, std::ios::trunc);
        f << "#!/bin/sh\nd=$(dirname \"$0\")\nn=$(($(ls \"$d/runs\" | wc -l) + 1))\n"
             "cp \"$d/MakeShapeFile.fil_H\" \"$d/runs/$n\"\n"
             "[ \"$n\" = \""
          << failRun << "\" ] && exit 1\nexit 0\n";
        f.close();
        ::chmod(path.c_str(), 0755);
    }
    std::vector<std::string> run(int n) { return utf8Lines(folder.read(folder.path() / "runs" / std::to_string(n))); }
    int runs() const { return static_cast<int>(std::distance(fs::directory_iterator(folder.path() / "runs"), {})); }
    static std::vector<std::string> fields(const std::string& line) {
        std::vector<std::string> f;
        std::size_t from = 0;
        for (std::size_t at; (at = line.find(',', from)) != std::string::npos; from = at + 1)
            f.push_back(line.substr(from, at - from));
        f.push_back(line.substr(from));
        return f;
    }
    static std::vector<std::string> valueLines(const std::vector<std::string>& lines) {
        std::vector<std::string> v;
        for (const std::string& l : lines)
            if (l.rfind("DBFITEM,", 0) == 0) v.push_back(l);
        return v;
    }

    gen::PointGenLayer layer_;
    gen::PointFileOptions options_;
};

TEST_F(PortLayer, TenRunsWithLinkKeysEqualToThePointIds) {
    bool made = false;
    ASSERT_TRUE(ModPoint::MakePoint_Kouwan(folder.file("port.txt"), made));
    EXPECT_TRUE(made);
    ASSERT_EQ(runs(), 10);
    const std::string base = folder.file("out/点");

    const std::vector<std::string> shape = run(1);
    EXPECT_EQ(shape[0], "MAKEFILE_NAME," + base);
    EXPECT_EQ(shape[1], "SHAPE_TYPE,1,2000");
    EXPECT_EQ(shape[2], "DBFITEM_COUNT,126");
    EXPECT_EQ(shape[128], "DBFITEM_NAME,LinkKey,N,6,0");
    std::vector<std::string> keys;
    for (const std::string& l : valueLines(shape)) {
        EXPECT_EQ(fields(l).size(), 127u);
        keys.push_back(fields(l).back());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"1", "3", "5"}));

    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        const std::vector<std::string> table = run(k + 2);
        EXPECT_EQ(table[0], "MAKEFILE_NAME," + base + "_S" + std::to_string(53 + k));
        EXPECT_EQ(table[1], "SHAPE_TYPE,6,2000");
        const std::vector<std::string> values = valueLines(table);
        ASSERT_EQ(values.size(), 3u);
        if (k == 3) {
            // A group with no written item: the key alone.
            EXPECT_EQ(table[2], "DBFITEM_COUNT,1");
            EXPECT_EQ(table[3], "DBFITEM_NAME,LinkKey,N,6,0");
            EXPECT_EQ(values, (std::vector<std::string>{"DBFITEM,1", "DBFITEM,3", "DBFITEM,5"}));
            continue;
        }
        EXPECT_EQ(table[2], "DBFITEM_COUNT,53");
        for (std::size_t p = 0; p < values.size(); ++p) {
            const std::vector<std::string> f = fields(values[p]);
            ASSERT_EQ(f.size(), 54u);
            EXPECT_EQ(f.back(), keys[p]);
        }
    }
    // Table 4 starts with item 334, a text of its own type: its bytes as cut, blanks kept.
    const gen::GenPoint first = gen::genPoint(layer_, options_, 0);
    std::string expected = text::toCp932(first.values[333]);
    expected.resize(4, ' ');
    EXPECT_EQ(fields(valueLines(run(6))[0])[1], text::fromCp932(expected));

    for (const char* left : {"MakeShapeFile.fil_H", "MakeShapeFile.fil_D", "MakeShapeFile.fil_0", "MakeShapeFile.fil_8"})
        EXPECT_FALSE(fs::exists(folder.file(left))) << left;
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_EQ(utf8Lines(folder.read(folder.file("Log/point.log"))).back().rfind("変換終了。", 0), 0u);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(label->text().isEmpty());
}

TEST_F(PortLayer, AFailedTableRunKeepsTheMadeFlagDown) {
    standIn(4);  // the third table, _S55
    ui.answer(Answer::Ok);
    bool made = true;
    EXPECT_FALSE(ModPoint::MakePoint_Kouwan(folder.file("port.txt"), made));
    EXPECT_FALSE(made);
    EXPECT_EQ(runs(), 4);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "S属性ﾃﾞｰﾀﾌｧｲﾙ作成に失敗しました。");
    EXPECT_EQ(ui.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);
    ConversionState& s = conversionState();
    EXPECT_FALSE(s.LogFileNo.isOpen());
    EXPECT_FALSE(s.FilHFileNo.isOpen());
    for (WriterSlot& slot : ModPoint::KouwanFileNo()) EXPECT_FALSE(slot.isOpen());
    // The tables after it were never moved.
    EXPECT_TRUE(fs::exists(folder.file("MakeShapeFile.fil_3")));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(label->text().isEmpty());
}

TEST_F(PortLayer, FailuresBeforeAnyRun) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string text;
    };
    const Case cases[] = {
        {"ShapefileRun", [&] { standIn(1); }, "Shapeﾌｧｲﾙの作成に失敗しました。"},
        {"NoSelectedMeshCode",
         [&] {
             conversionState().MeshRangeCount = 1;
             conversionState().MeshRanges = {{}, {"100000", "100001"}};
         },
         "選択されたメッシュコードに該当するデータがありませんでした。"},
        {"UnknownItemType", [&] { conversionState().PointLayers[1].ItemType[200] = "Date"; },
         "型が一致しません\rTextデータ 型 => Date"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder.path() / "runs");
        standIn(0);
        c.arrange();
        openLogAndPair();
        ui.clearRecords();
        ui.answer(Answer::Ok);
        bool made = true;
        EXPECT_FALSE(ModPoint::MakePoint_Kouwan(folder.file("port.txt"), made));
        EXPECT_FALSE(made);
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].text, c.text);
        EXPECT_EQ(runs(), c.text.rfind("Shape", 0) == 0 ? 1 : 0);
        EXPECT_FALSE(conversionState().LogFileNo.isOpen());
        conversionState().MeshRangeCount = -1;
    }
}

TEST_F(PortLayer, TheValueWriterNeedsTheNineTables) {
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::MakeShapeDbfData_Kouwan("P  533945", 1));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "52 ファイル名またはファイル番号が不正です。");
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModPoint (ModPoint MakeShapeDbfData_Kouwan)");
}

}  // namespace
