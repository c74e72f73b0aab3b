#pragma once
// Fixtures of the property, add-theme and export tests: small shapefiles, hand-made dBASE headers, and the
// main window's services over a bare map, which record what the dialogs asked of the window.
#include <shapefil.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/map/MapView.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/MapWindowServices.h"

namespace velmora::viewer {

// A square polygon layer (left..right, bottom..top) with one text field.
inline std::string writePolygonLayer(const polygontest::TempFolder& dir, const std::string& name, bool upperCase = false,
                                     double left = 0, double bottom = 0, double right = 10, double top = 10) {
    datagen::GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{datagen::rectangleRing(left, bottom, right, top)}}};
    f.fields = {{"NAME", 'C', 10, 0}};
    f.rows = {{"a"}};
    f.upperCase = upperCase;
    return datagen::writeShapeFile(dir.file(name), f);
}

inline std::string writeLineLayer(const polygontest::TempFolder& dir, const std::string& name) {
    datagen::GenShapeFile f;
    f.shpType = SHPT_ARC;
    f.shapes = {{{{{0, 0}, {10, 10}}}}};
    f.fields = {{"ID", 'N', 4, 0}};
    f.rows = {{"1"}};
    return datagen::writeShapeFile(dir.file(name), f);
}

struct DbfField {
    std::string name;  // UTF-8, written as CP932, cut to 11 bytes
    char type;
    int length, decimals;
};

// A dBASE header of the fields and no records; extra bytes widen the stated header length past the
// standard 32 n + 33 (a descriptor begun and cut off).
inline void writeDbfHeader(const std::string& path, const std::vector<DbfField>& fields, int extra = 0) {
    const int h = 32 * static_cast<int>(fields.size()) + 33 + extra;
    std::string bytes(32, '\0');
    bytes[0] = 3;
    bytes[8] = static_cast<char>(h & 0xFF);
    bytes[9] = static_cast<char>(h >> 8);
    bytes[10] = 1;
    for (const DbfField& f : fields) {
        std::string d(32, '\0');
        const std::string name = text::toCp932(f.name).substr(0, 11);
        d.replace(0, name.size(), name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.length);
        d[17] = static_cast<char>(f.decimals);
        bytes += d;
    }
    bytes += '\r';
    bytes += std::string(extra, ' ');
    std::ofstream(path, std::ios::binary) << bytes;
}

// The main window's services over a bare map of 400 x 300 pixels.
struct TestWindow : MapWindowServices {
    TestWindow() : view((ui::testApplication(), nullptr)) { view.resize(400, 300); }

    map::MapView& map() override { return view; }
    std::string programFolder() const override { return folder; }
    SelectedNode selectedNode() const override { return selected; }
    // Unique by a number after the base, enough for these tests.
    std::string layerName(const std::string& base) override {
        std::string name = base;
        for (int n = 1; view.layerByName(name); ++n) name = base + std::to_string(n);
        return name;
    }
    void addThemeNode(const std::string& path, const std::string& text, bool layer) override {
        nodes.emplace_back(path, text, layer);
    }
    void renewLayerIcon(const std::string& layerName, int left, int top) override {
        renewed.emplace_back(layerName, left, top);
    }

    map::MapView view;
    std::string folder = "/program";
    SelectedNode selected;
    std::vector<std::tuple<std::string, std::string, bool>> nodes;
    std::vector<std::tuple<std::string, int, int>> renewed;
};

}  // namespace velmora::viewer
