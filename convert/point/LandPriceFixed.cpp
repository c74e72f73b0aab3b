#include "convert/point/LandPriceFixed.h"

#include <algorithm>
#include <vector>

#include "convert/core/ConversionState.h"
#include "convert/point/PointFieldBlock.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointWriters.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

// Block A: items 60 .. 78 (years 1983 .. 2001); block B: 79 .. 97; block C: groups j = 1 .. 18 of ten
// items 88 + 10j .. 97 + 10j (years 1984 .. 2001).
constexpr int kBlockA = 60, kBlockB = 79, kBlockBLast = 97, kGroups = 18;

int groupFirst(int j) { return 88 + 10 * j; }

int firstTableLast(const LayerDef& layer) { return std::min<int>(kFirstTableLastItem, layer.ItemCount); }

}  // namespace

void adaptToDataYear(LayerDef& row, int year) {
    if (year < 1982 || year > 2001) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    const int d = year - 1982;
    auto clear = [&row](int i) { row.ItemOutput.at(static_cast<std::size_t>(i)) = false; };
    // Packs item i at the running start.
    std::int32_t c = row.ItemStart.at(static_cast<std::size_t>(d + kBlockA));
    auto pack = [&row, &c](int i) {
        const auto k = static_cast<std::size_t>(i);
        if (c > 32767) throw RunTimeError(err::Overflow, "Overflow");
        row.ItemStart.at(k) = static_cast<std::int16_t>(c);
        c += row.ItemWidth.at(k);
    };
    for (int i = d + kBlockA; i < kBlockB; ++i) clear(i);
    for (int i = kBlockB; i <= d + kBlockB - 1; ++i) pack(i);
    for (int i = d + kBlockB; i <= kBlockBLast; ++i) clear(i);
    for (int j = 1; j <= d - 1; ++j)
        for (int m = groupFirst(j); m <= groupFirst(j) + 9; ++m) pack(m);
    for (int j = std::max(d, 1); j <= kGroups; ++j)
        for (int m = groupFirst(j); m <= groupFirst(j) + 9; ++m) clear(m);
}

bool MakePoint_Chika_SetIniData() {
    try {
        ConversionState& s = conversionState();
        adaptToDataYear(layerRow(s.PointLayers, s.SelectedIndex), s.DataYear);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakePoint_Chika_SetIniData)");
        return false;
    }
}

bool MakeShapePointFileData_ini_Chika() {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const std::string base = shapedesc::shapeBaseName(s.OutputPath);
        const bool second = layer.ItemCount > kFirstTableLastItem;
        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& z = s.FilZFileNo.file();
        shapedesc::writeMakeFileName(h, base);
        shapedesc::writeShapeType(h, shapedesc::Kind::Point, s.DatumCode);
        shapedesc::writeMakeFileName(z, base + "_Z");
        shapedesc::writeShapeType(z, shapedesc::Kind::Table, s.DatumCode);
        startNumberFit();
        if (second) {
            shapedesc::openDescriptionFile(s.FilZ2FileNo, "_Z2");
            shapedesc::writeMakeFileName(s.FilZ2FileNo.file(), base + "_Z2");
            shapedesc::writeShapeType(s.FilZ2FileNo.file(), shapedesc::Kind::Table, s.DatumCode);
        }
        return writeFieldBlock(h, layer, 1, kLandPriceBasicItems, true) &&
               writeFieldBlock(z, layer, kLandPriceBasicItems + 1, firstTableLast(layer), true) &&
               (!second || writeFieldBlock(s.FilZ2FileNo.file(), layer, kFirstTableLastItem + 1, layer.ItemCount, true));
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapePointFileData_ini_Chika)");
        return false;
    }
}

bool MakeShapeDbfData_Chika(std::string_view line, std::int32_t id) {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const std::string key = std::to_string(id);
        std::vector<std::string_view> values;
        writeKeyedValues(s.FilHFileNo.file(), layer, line, 1, kLandPriceBasicItems, key, values);
        writeKeyedValues(s.FilZFileNo.file(), layer, line, kLandPriceBasicItems + 1, firstTableLast(layer), key, values);
        if (layer.ItemCount > kFirstTableLastItem)
            writeKeyedValues(s.FilZ2FileNo.file(), layer, line, kFirstTableLastItem + 1, layer.ItemCount, key, values);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_Chika)");
        return false;
    }
}

bool MakePoint_Chika(const std::string& path) {
    return writePointFile(RecordWriter::LandPriceSplit, path, "MakePoint_Chika");
}

}  // namespace ModPoint
