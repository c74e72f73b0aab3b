#pragma once
// What the attribute-table tests share: catalogue rows built in code, a program folder with an open log
// and an open intermediate pair, input files written by the generator, and the pair read back as UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/text/Cp932.h"
#include "tests/convert/core/ConverterFixture.h"
#include "tests/tools/gen/AttrFileGen.h"

namespace velmora::attrtest {

struct Item {
    std::string name;  // UTF-8
    std::string type;
    int start;
    int width;
    bool output;
};

// A catalogue row of the attribute-table kind (texts stored as CP932, as the catalogue loader stores them).
inline LayerDef makeLayer(const std::string& name, const std::string& headerKey, const std::vector<Item>& items) {
    LayerDef l;
    l.Name = text::toCp932(name);
    l.HeaderKey = text::toCp932(headerKey);
    l.ItemCount = static_cast<std::int16_t>(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        l.ItemName[i + 1] = text::toCp932(items[i].name);
        l.ItemType[i + 1] = items[i].type;
        l.ItemStart[i + 1] = static_cast<std::int16_t>(items[i].start);
        l.ItemWidth[i + 1] = static_cast<std::int16_t>(items[i].width);
        l.ItemOutput[i + 1] = items[i].output;
    }
    return l;
}

// The generator's columns of items 1..n of a layer.
inline std::vector<gen::AttrGenColumn> columnsOf(const std::vector<Item>& items, std::size_t n) {
    std::vector<gen::AttrGenColumn> c;
    for (std::size_t i = 0; i < n; ++i)
        c.push_back({items[i].start, items[i].width, items[i].type.find("Text") == std::string::npos});
    return c;
}

using testsupport::utf8Lines;

// A program folder with the Log folder, a fresh conversion state, the scripted user interface, a
// progress bar and label, the conversion log and the intermediate pair open.
class AttrJobFixture : public testsupport::ConverterFixture {
protected:
    AttrJobFixture() : ConverterFixture(DataKind::Attr, "attr.log") {}

    // Rows 0-13 with the catalogue's names and the keys "R00" to "R13", except row 5, whose key is "W12".
    void fillAttrTable(const std::vector<Item>& items) {
        static const char* names[14] = {"高潮・津波ﾃｰﾌﾞﾙ", "生活環境項目", "海岸線台帳", "海水浴台帳",
                                        "埋立・干拓区域台帳", "環境基準類型指定水域（河川）台帳",
                                        "環境基準類型指定水域（湖沼）台帳", "大気汚染・水質汚濁総量規制地域台帳",
                                        "河川区域台帳", "保安林区域台帳", "河川・水系域テーブル", "湖沼台帳",
                                        "河川台帳", "単位流域台帳"};
        for (int r = 0; r < 14; ++r) {
            std::string key = r == 5 ? "W12" : (r < 10 ? "R0" : "R1") + std::to_string(r % 10);
            conversionState().AttrLayers[r] = makeLayer(names[r], key, items);
        }
    }
    void select(std::int16_t row, const LayerDef& layer) {
        ConversionState& s = conversionState();
        s.AttrLayers[row] = layer;
        s.SelectedIndex = row;
    }
    void closePair() { shapedesc::closePair(); }
    std::vector<std::string> headerFile() { return utf8Lines(folder.read(shapedesc::headerFilePath())); }
    std::vector<std::string> coordinateFile() { return utf8Lines(folder.read(shapedesc::coordinateFilePath())); }
};

}  // namespace velmora::attrtest
