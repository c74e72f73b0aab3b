#include "convert/point/LandPriceCsv.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <span>
#include <tuple>

#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/point/LandPriceFixed.h"
#include "convert/point/LandPriceMerge.h"
#include "convert/point/PointDb.h"
#include "convert/point/LandPriceYear.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointLoading.h"
#include "convert/point/PointProgress.h"
#include "convert/point/PointWriters.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/db/FieldType.h"
#include "platform/db/Transaction.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "platform/text/Conversions.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

std::string_view field(const std::vector<std::string_view>& fields, std::int32_t n) {
    if (n < 1 || static_cast<std::size_t>(n) > fields.size())
        throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    return fields[static_cast<std::size_t>(n - 1)];
}

// Room for the used layout rows: the layer's items and the yearly rows a newer layout may add.
std::size_t layoutCapacity() {
    const ConversionState& s = conversionState();
    const int items = selectedPointLayer().ItemCount;
    const int extra = s.SelectedIndex == 8 && s.DataYear >= 2006 ? 65 : s.SelectedIndex == 9 && s.DataYear >= 2005 ? 53 : 50;
    return static_cast<std::size_t>(std::max(0, items + extra) + 1);
}

// The values of items first .. last (written items only) joined into one line, with the number when given.
void writeValues(text::LineWriter& out, const std::vector<std::string_view>& fields, const CsvItemLayout& layout,
                 int first, int last, const std::string* number) {
    const LayerDef& layer = selectedPointLayer();
    std::vector<std::string_view> values;
    for (int k = first; k <= std::min<int>(last, layer.ItemCount); ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (!layer.ItemOutput.at(i)) continue;
        if (i > layout.SourceColumns.size()) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
        values.push_back(landPriceValue(fields, layout.SourceColumns[i - 1], layout.SubFieldSpecs[i - 1],
                                        ModAttr::isTextItem(layer.ItemType.at(i))));
    }
    fitNumbers(layer, first, last, values, inputRecord);
    if (number) values.push_back(*number);
    shapedesc::writeDbfItem(out, std::span<const std::string_view>(values));
}

// The row estimate of the progress bar: the file's bytes over the characters of its first data line;
// 0 when there is none.
double estimatedRows(const std::string& path) {
    text::LineReader in(path);
    std::string line;
    if (!in.next(line) || !in.next(line) || text::trimBlanks(line).empty()) return 0;
    return std::round(static_cast<double>(std::filesystem::file_size(path)) / static_cast<double>(text::sjisCharCount(line)));
}

// The layout of the job's year and the header blocks, as every delimited land-price procedure starts.
bool prepareLayout(CsvItemLayout& layout, bool split) {
    layout.SourceColumns.assign(layoutCapacity(), 0);
    layout.SubFieldSpecs.assign(layoutCapacity(), std::string());
    layout.XColumn = layout.YColumn = 1;
    if (!MakePoint_ChkaCSV_SetIniData(layout)) return false;
    return split ? MakeShapePointFileData_ini_Chika() : MakeShapePointFileData_ini();
}

char separator() { return conversionState().InputFileFormat == modCommon::FileFormat::Comma ? ',' : '\t'; }

bool convertFile(const std::string& path, bool split, const char* procedure) {
    ConversionState& s = conversionState();
    try {
        CsvItemLayout layout;
        if (!prepareLayout(layout, split)) return false;
        const double rows = estimatedRows(path);
        s.RecHedCount = static_cast<std::int32_t>(rows);
        showWriterProgress(rows);

        text::LineReader& in = s.InFileNo.open(path);
        s.ItemInputFiles.push_back(path);
        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& d = s.FilDFileNo.file();
        std::string line;
        in.next(line);  // the heading line
        std::vector<std::string_view> fields;
        std::int32_t number = 1;
        while (in.next(line)) {
            if (text::trimBlanks(line).empty()) continue;
            splitAt(line, separator(), fields);
            double x = 0, y = 0;
            if (!XYtoDataCSV(text::trimBlanks(field(fields, layout.XColumn)), x) ||
                !XYtoDataCSV(text::trimBlanks(field(fields, layout.YColumn)), y)) {
                s.InFileNo.closeQuietly();
                return false;
            }
            shapedesc::writeLinkIdx(d, number);
            shapedesc::writeLinkData(d, x, y);
            shapedesc::writeLinkNo(h, number);
            if (!(split ? MakeShapeDbfData_ChikaCSV(fields, number, layout) : MakeShapeDbfData_ChikaCSV3(fields, layout))) {
                s.InFileNo.closeQuietly();
                return false;
            }
            ModLine::incremented(number);
            progress::step();
        }
        s.InFileNo.close();
        if (split) return true;
        shapedesc::closePair();
        progress::setCaption("Shapeﾌｧｲﾙ出力中・・・");
        ui::service().yield();
        return shapedesc::runShapeWriterOnPair(shapedesc::PairDeletion::Never);
    } catch (const std::exception& e) {
        ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure + ")");
        s.InFileNo.closeQuietly();
        return false;
    }
}

}  // namespace

bool XYtoDataCSV(std::string_view arcSeconds, double& degrees) {
    try {
        const double quotient = text::toDouble(arcSeconds) / 3600;
        // Seven decimals as the formatted text gives them, read back.
        char buf[64];
        const auto written = std::to_chars(buf, buf + sizeof buf, quotient, std::chars_format::fixed, 7);
        double result = 0;
        std::from_chars(buf, written.ptr, result);
        degrees = result;
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint XYtoDataCSV)");
        return false;
    }
}

std::string_view landPriceValue(const std::vector<std::string_view>& fields, std::int32_t source, std::string_view spec,
                                bool textItem) {
    const std::string_view value = field(fields, source);
    if (spec.empty()) return textItem || text::isNumeric(value) ? value : std::string_view();
    if (spec.find('A') != std::string_view::npos || spec.find('M') == std::string_view::npos) return {};
    std::vector<std::string_view> pieces;
    splitAt(spec, 'x', pieces);
    const std::int32_t start = text::cLng(layoutField(pieces, 2));
    const std::int32_t length = text::cLng(layoutField(pieces, 3));
    // The length is counted in bytes, as the cut counts them.
    if (static_cast<long>(value.size()) < static_cast<long>(start) + length - 1) return {};
    const std::string_view cut = modCommon::MidByteSjis(value, start, length);
    return textItem || text::isNumeric(cut) ? cut : std::string_view();
}

bool MakeShapeDbfData_ChikaCSV(const std::vector<std::string_view>& fields, std::int32_t number,
                               const CsvItemLayout& layout) {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const std::string key = std::to_string(number);
        writeValues(s.FilHFileNo.file(), fields, layout, 1, kLandPriceBasicItems, &key);
        writeValues(s.FilZFileNo.file(), fields, layout, kLandPriceBasicItems + 1, kFirstTableLastItem, &key);
        if (layer.ItemCount > kFirstTableLastItem)
            writeValues(s.FilZ2FileNo.file(), fields, layout, kFirstTableLastItem + 1, layer.ItemCount, &key);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_ChikaCSV)");
        return false;
    }
}

bool MakeShapeDbfData_ChikaCSV3(const std::vector<std::string_view>& fields, const CsvItemLayout& layout) {
    try {
        writeValues(conversionState().FilHFileNo.file(), fields, layout, 1, selectedPointLayer().ItemCount, nullptr);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_ChikaCSV3)");
        return false;
    }
}

namespace {

// Most values of these files are a few plain digits. Bound as whole numbers straight away they skip the
// conversion from text, which gives them the same stored value; anything else goes through it.
bool setPlainDigits(db::Appender& table, const std::string& name, db::FieldType type, std::string_view value) {
    if ((type != db::FieldType::Long && type != db::FieldType::Integer) || value.empty() || value.size() > 9) return false;
    std::int32_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (type == db::FieldType::Integer && n > 32767) return false;
    table.set(name, n);
    return true;
}

}  // namespace

bool SetPointTextToTblCSV(db::Database& database, const std::string& path, const CsvItemLayout& layout) {
    ConversionState& s = conversionState();
    try {
        const double rows = estimatedRows(path);
        s.RecHedCount = static_cast<std::int32_t>(rows);
        const LayerDef& layer = selectedPointLayer();
        struct ItemField {
            std::string name;
            bool text;
            db::FieldType type = db::FieldType::Text;
        };
        std::vector<ItemField> items(1);  // item k at k
        for (int k = 1; k <= layer.ItemCount; ++k) {
            const auto i = static_cast<std::size_t>(k);
            if (i > layout.SourceColumns.size()) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
            std::int16_t type = 0;
            if (!ModPolygon::SetTextToVbidx(layer.ItemType.at(i), type)) return false;
            items.push_back({text::fromCp932(layer.ItemName.at(i)), ModAttr::isTextItem(layer.ItemType.at(i)),
                             db::fieldTypeOfNumber(type)});
        }
        db::Appender& points = database.appender(kPointTable);
        db::Appender& attr1 = database.appender(kAttrTable1);
        db::Appender& attr2 = database.appender(kAttrTable2);
        std::string heading;
        s.InFileNo.open(path).next(heading);
        std::vector<std::string_view> fields;
        // Items first .. last into a table; items 1 to 5 take their whole source field.
        auto storeItems = [&](db::Appender& table, int first, int last) {
            for (int k = first; k <= std::min<int>(last, layer.ItemCount); ++k) {
                const auto i = static_cast<std::size_t>(k);
                const std::string_view spec = k <= kLastPointTableItem ? std::string_view() : layout.SubFieldSpecs[i - 1];
                const std::string_view value = landPriceValue(fields, layout.SourceColumns[i - 1], spec, items[i].text);
                if (!value.empty() && !setPlainDigits(table, items[i].name, items[i].type, value))
                    table.set(items[i].name, value);
            }
        };
        return loadRemainingLines(database, "SetPointTextToTblCSV", rows, [&](std::string_view line, long) {
            splitAt(line, separator(), fields);
            const std::string_view x = field(fields, layout.XColumn), y = field(fields, layout.YColumn);
            points.newRow();
            points.set(kMeshCodeField, field(fields, 1));
            points.set(kXField, x);
            points.set(kYField, y);
            storeItems(points, 1, kLastPointTableItem);
            points.save();
            for (auto [table, first, last] : {std::tuple{&attr1, kLastPointTableItem + 1, kLastAttrTable1Item},
                                              std::tuple{&attr2, kLastAttrTable1Item + 1, static_cast<int>(LayerDef::MaxItem)}}) {
                table->newRow();
                table->set(kXField, x);
                table->set(kYField, y);
                storeItems(*table, first, last);
                table->save();
            }
        });
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, "Error: ModPoint (ModPoint SetPointTextToTblCSV)");
        return false;
    }
}

namespace {

bool mergeFiles(const std::vector<std::string>& files, bool split, const char* procedure) {
    CsvItemLayout layout;
    try {
        if (!prepareLayout(layout, split)) return false;
    } catch (const std::exception& e) {
        ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure + ")");
        return false;
    }
    LandPriceMergeInput input{
        Coordinates::Real,
        [&layout](db::Database& database, const std::string& file) { return SetPointTextToTblCSV(database, file, layout); },
        [](const db::Query& row, int column, double& degrees) { return XYtoDataCSV(row.asText(column), degrees); }};
    return mergeLandPriceFiles(files, split, procedure, input);
}

}  // namespace

bool MakePoint_ChikaCSV2(const std::vector<std::string>& files) { return mergeFiles(files, true, "MakePoint_ChikaCSV2"); }

bool MakePoint_ChikaCSV3(const std::vector<std::string>& files) { return mergeFiles(files, false, "MakePoint_ChikaCSV3"); }

bool MakePoint_ChikaCSV(const std::string& path) { return convertFile(path, true, "MakePoint_ChikaCSV"); }

bool MakePoint_ChikaCSV4(const std::string& path) { return convertFile(path, false, "MakePoint_ChikaCSV4"); }

}  // namespace ModPoint
