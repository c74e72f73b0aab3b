#pragma once
// What the point converter tests share: a program folder with an open log and intermediate pair, the
// point layer table filled as the catalogue fills it, hand-made records, and the pair and log read back
// as UTF-8 lines.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <memory>
#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/attr/AttrTestSupport.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/PointFileGen.h"

namespace velmora::pointtest {

using attrtest::Item;
using attrtest::makeLayer;
using attrtest::utf8Lines;

// A "P" record by hand: mesh code (columns 4-9), X (10-17) and Y (18-25) right-aligned, then the item
// bytes from byte 26 on (UTF-8, written as CP932).
inline std::string rec(const std::string& mesh, const std::string& x, const std::string& y,
                       const std::string& items = {}) {
    auto right = [](const std::string& v, std::size_t w) { return std::string(w - std::min(w, v.size()), ' ') + v; };
    std::string m = mesh;
    m.resize(6, ' ');
    return "P  " + m + right(x, 8) + right(y, 8) + text::toCp932(items);
}

// Rows 0-15 of the point table with the catalogue's names and the keys "Q00" .. "Q15".
inline void fillPointTable(const std::vector<Item>& items) {
    static const char* names[16] = {"潮汐・海洋施設", "港湾", "海岸施設・感潮限界", "漁港", "空港台帳", "感潮限界",
                                    "海岸利用施設", "験潮場", "地価公示", "都道府県地価調査", "文化財", "公共施設",
                                    "発電所", "ダム", "水系域流路延長", "街区レベル"};
    for (int r = 0; r < 16; ++r)
        conversionState().PointLayers[r] = makeLayer(names[r], (r < 10 ? "Q0" : "Q1") + std::to_string(r % 10), items);
}

class PointFixture : public ::testing::Test {
protected:
    testsupport::TempProgramFolder folder;
    ui::TestUi ui;
    std::unique_ptr<QWidget> dialog;
    QProgressBar* bar = nullptr;
    QLabel* label = nullptr;

    void SetUp() override {
        ui::testApplication();
        dialog = std::make_unique<QWidget>();
        bar = new QProgressBar(dialog.get());
        label = new QLabel(dialog.get());
        ConversionState& s = conversionState();
        s.AppFolder = folder.path().string() + "/";
        s.ConvProgressBar = bar;
        s.ConvMsgLabel = label;
        s.SelectedKind = DataKind::Point;
        s.DatumCode = 2000;
        s.OutputPath = folder.file("out/点.shp");
    }
    void TearDown() override {
        ConversionState& s = conversionState();
        for (WriterSlot* f : {&s.FilHFileNo, &s.FilDFileNo, &s.LogFileNo}) f->closeQuietly();
        s.InFileNo.closeQuietly();
    }

    void select(std::int16_t row, const LayerDef& layer) {
        ConversionState& s = conversionState();
        s.PointLayers[row] = layer;
        s.SelectedIndex = row;
    }
    void openLogAndPair() {
        ConversionState& s = conversionState();
        s.LogFilePath = folder.file("Log/point.log");
        modCommon::openLogFile(text::LineWriter::Mode::Replace);
        shapedesc::openPair();
    }
    std::string input(const std::string& name, const std::vector<std::string>& lines) {
        const std::string p = folder.file(name);
        gen::writeLines(p, lines);
        return p;
    }
    std::vector<std::string> headerFile() {
        shapedesc::closePair();
        return utf8Lines(folder.read(shapedesc::headerFilePath()));
    }
    std::vector<std::string> coordinateFile() {
        shapedesc::closePair();
        return utf8Lines(folder.read(shapedesc::coordinateFilePath()));
    }
    std::vector<std::string> logLines() {
        conversionState().LogFileNo.close();
        return utf8Lines(folder.read(folder.file("Log/point.log")));
    }
    // The record blocks of the header file: every line after the header block.
    std::vector<std::string> recordLines(std::size_t headerBlockLines) {
        std::vector<std::string> h = headerFile();
        return {h.begin() + static_cast<long>(std::min(headerBlockLines, h.size())), h.end()};
    }
};

}  // namespace velmora::pointtest
