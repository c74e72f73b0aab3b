#include "tests/tools/gen/PointFileGen.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"
#include "platform/text/Sjis.h"
#include "tests/tools/gen/AttrFileGen.h"

namespace velmora::gen {

namespace {

constexpr int kFirstItemByte = 26;
// Points fall between 130 and 140 degrees east and 32 and 40 degrees north (1/36000 degree).
constexpr long kWestEdge = 130L * 36000, kEastEdge = 140L * 36000;
constexpr long kSouthEdge = 32L * 36000, kNorthEdge = 40L * 36000;

constexpr std::array<const char*, 6> kWords = {"港湾", "岸壁", "発電所", "桟橋", "灯台", "泊地"};

// A deterministic hash of seed, point and item, so that any point can be drawn on its own.
std::uint64_t mix(std::uint64_t seed, std::uint64_t index, std::uint64_t item) {
    std::uint64_t z = seed * 0x9E3779B97F4A7C15ULL + index * 0xBF58476D1CE4E5B9ULL + item * 0x94D049BB133111EBULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

bool isText(const PointGenItem& item) { return item.type.find("Text") != std::string::npos; }

// A text cut to the item's width in CP932 bytes (never half a character), back in UTF-8.
std::string fitted(const std::string& utf8, int width) {
    return text::fromCp932(std::string(text::sjisByteCut(text::toCp932(utf8), 1, width)));
}

std::string itemValue(const PointGenItem& item, std::uint64_t h) {
    if (isText(item)) return fitted(std::string(kWords[h % kWords.size()]) + std::to_string(h % 1000), item.width);
    long limit = 1;
    for (int i = 1; i < item.width && limit < 100000000; ++i) limit *= 10;
    if (item.type == "Integer" && limit > 30000) limit = 30000;
    return std::to_string(static_cast<long>(h % static_cast<std::uint64_t>(limit)));
}

bool every(long k, long n) { return k > 0 && n % k == 0; }

std::string quotedIf(bool quote, const std::string& v) { return quote ? "\"" + v + "\"" : v; }

}  // namespace

PointGenItem valueItem(std::string name, std::string type, int width, bool output, std::string spec) {
    PointGenItem item;
    item.name = std::move(name);
    item.type = std::move(type);
    item.width = width;
    item.output = output;
    item.spec = std::move(spec);
    return item;
}

PointGenItem coordinateItem(std::string name, PointRole role) {
    PointGenItem item = valueItem(std::move(name), "Long", 8, false);
    item.role = role;
    return item;
}

PointGenLayer pointLayer(const std::string& name, const std::string& headerKey, std::vector<PointGenItem> items) {
    int next = kFirstItemByte;
    for (PointGenItem& item : items) {
        if (item.role == PointRole::X) item.start = 10, item.width = 8;
        else if (item.role == PointRole::Y) item.start = 18, item.width = 8;
        else item.start = next, next += item.width;
    }
    return {name, headerKey, std::move(items)};
}

PointGenLayer standardPointLayer(const std::string& name, const std::string& headerKey) {
    return pointLayer(name, headerKey,
                      {coordinateItem("経度", PointRole::X), coordinateItem("緯度", PointRole::Y),
                       valueItem("名称", "Text1", 20), valueItem("所在地", "Text", 12), valueItem("出力", "Long", 8),
                       valueItem("基数", "Integer", 5)});
}

PointGenLayer portLayer(int items, const std::string& headerKey) {
    if (items < 1 || items > 593) throw std::invalid_argument("portLayer: 1 to 593 items");
    std::vector<PointGenItem> list;
    for (int i = 1; i <= items; ++i)
        list.push_back(valueItem("項目" + std::to_string(i), i % 3 == 1 ? "Text" : "Long", 4));
    return pointLayer("港湾", headerKey, std::move(list));
}

PointGenLayer landPriceLayer(int items, const std::string& headerKey) {
    std::vector<PointGenItem> list;
    for (int i = 1; i <= items; ++i)
        list.push_back(valueItem("価格" + std::to_string(i), i <= 59 && i % 2 == 1 ? "Text" : "Long", 4));
    return pointLayer("地価公示", headerKey, std::move(list));
}

PointGenLayer landPriceCsvLayer(const std::string& year, int more) {
    std::vector<PointGenItem> list = {coordinateItem("経度", PointRole::X), coordinateItem("緯度", PointRole::Y),
                                      valueItem("名称", "Text1", 20), valueItem("区分", "Text", 4, true, "Mxx1x4"),
                                      valueItem("価格", "Long", 9), valueItem("年度", "Long", 4)};
    list.back().value = year;
    for (int i = 1; i <= more; ++i) list.push_back(valueItem("項目" + std::to_string(i), "Long", 6));
    return pointLayer("地価公示", "L01", std::move(list));
}

void fillPointLayerRow(LayerDef& row, const PointGenLayer& layer) {
    row = LayerDef{};
    row.Name = text::toCp932(layer.name);
    row.HeaderKey = text::toCp932(layer.headerKey);
    row.ItemCount = static_cast<std::int16_t>(layer.items.size());
    for (std::size_t i = 0; i < layer.items.size(); ++i) {
        const PointGenItem& it = layer.items[i];
        row.ItemName[i + 1] = text::toCp932(it.name);
        row.ItemType[i + 1] = it.type;
        row.ItemStart[i + 1] = static_cast<std::int16_t>(it.start);
        row.ItemWidth[i + 1] = static_cast<std::int16_t>(it.width);
        row.ItemOutput[i + 1] = it.output;
    }
}

int meshCodeOf(long x, long y) {
    const long p = y / 24000, q = (y % 24000) / 3000;
    const long u = x / 36000 - 100, v = (x % 36000) / 4500;
    return static_cast<int>(p * 10000 + u * 100 + q * 10 + v);
}

std::string arcSecondsText(long units) {
    return std::to_string(units / 10) + "." + std::to_string(units % 10);
}

std::string degreesText(long units) {
    const bool negative = units < 0;
    const long long a = negative ? -static_cast<long long>(units) : units;
    // Millionths of a degree, halves away from zero: a × 1000 / 36.
    const long long micro = (a * 1000 * 2 + 36) / (36 * 2);
    std::string s = std::to_string(micro / 1000000);
    std::string frac = std::to_string(1000000 + micro % 1000000).substr(1);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    if (!frac.empty()) s += "." + frac;
    return (negative && micro != 0 ? "-" : "") + s;
}

GenPoint genPoint(const PointGenLayer& layer, const PointFileOptions& options, long index) {
    GenPoint p;
    const std::uint64_t h = mix(options.seed, static_cast<std::uint64_t>(index), 0);
    p.x = kWestEdge + static_cast<long>(h % static_cast<std::uint64_t>(kEastEdge - kWestEdge));
    p.y = kSouthEdge + static_cast<long>((h >> 32) % static_cast<std::uint64_t>(kNorthEdge - kSouthEdge));
    const long n = index - options.first + 1;
    p.mesh = every(options.badMeshEvery, n) ? "ABCDEF" : std::to_string(meshCodeOf(p.x, p.y));
    p.blankY = every(options.blankYEvery, n);
    p.invalidX = every(options.invalidXEvery, n);
    for (std::size_t i = 0; i < layer.items.size(); ++i) {
        const PointGenItem& item = layer.items[i];
        if (item.role == PointRole::X) p.values.push_back(std::to_string(p.x));
        else if (item.role == PointRole::Y) p.values.push_back(std::to_string(p.y));
        else if (!item.value.empty()) p.values.push_back(item.value);
        else p.values.push_back(itemValue(item, mix(options.seed, static_cast<std::uint64_t>(index), i + 1)));
    }
    return p;
}

std::string pointHeaderLine(const std::string& headerKey, long records, const std::string& year) {
    return attrHeaderLine({"", headerKey, "", year, "1", records});
}

std::string pointRecord(const PointGenLayer& layer, const GenPoint& point) {
    std::vector<AttrGenColumn> columns = {{4, 6, false}, {10, 8, true}, {18, 8, true}};
    std::vector<std::string> values = {point.mesh, point.invalidX ? "9999999" : std::to_string(point.x),
                                       point.blankY ? "" : std::to_string(point.y)};
    for (std::size_t i = 0; i < layer.items.size(); ++i) {
        const PointGenItem& item = layer.items[i];
        if (item.role != PointRole::Value) continue;
        columns.push_back({item.start, item.width, !isText(item)});
        values.push_back(point.values[i]);
    }
    return attrTRow(columns, values, "P");
}

void writeFixedPointFile(const std::string& path, const PointGenLayer& layer, const PointFileOptions& options) {
    text::LineWriter out(path, text::LineWriter::Mode::Replace);
    out.writeLine(pointHeaderLine(options.headerKey.value_or(layer.headerKey), options.points, options.year));
    for (long n = 1; n <= options.points; ++n) {
        out.writeLine(pointRecord(layer, genPoint(layer, options, options.first + n - 1)));
        if (every(options.blankLineEvery, n)) out.writeLine("");
        if (every(options.otherLineEvery, n)) out.writeLine(attrTRow({{4, 6, false}}, {"533945"}, "N"));
    }
    out.close();
}

void writeDelimitedPointFile(const std::string& path, const PointGenLayer& layer, const PointFileOptions& options,
                             char separator) {
    const std::string sep(1, separator);
    text::LineWriter out(path, text::LineWriter::Mode::Replace);
    std::string heading;
    for (const PointGenItem& item : layer.items) heading += (heading.empty() ? "" : sep) + item.name;
    out.writeUtf8Line(heading);
    for (long n = 1; n <= options.points; ++n) {
        const GenPoint p = genPoint(layer, options, options.first + n - 1);
        std::string line;
        for (std::size_t i = 0; i < layer.items.size(); ++i) {
            const PointGenItem& item = layer.items[i];
            auto coordinate = [&](long units) { return options.arcSeconds ? arcSecondsText(units) : degreesText(units); };
            std::string v = item.role == PointRole::X   ? (p.invalidX ? "9999999" : coordinate(p.x))
                            : item.role == PointRole::Y ? (p.blankY ? "" : coordinate(p.y))
                                                        : quotedIf(options.quoted && isText(item), p.values[i]);
            line += (i == 0 ? "" : sep) + v;
        }
        out.writeUtf8Line(line);
        if (every(options.blankLineEvery, n)) out.writeLine("");
    }
    out.close();
}

std::vector<std::string> csvLayoutRows(const PointGenLayer& layer) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < layer.items.size(); ++i) {
        const PointGenItem& it = layer.items[i];
        const std::string n = std::to_string(i + 1);
        rows.push_back(text::toCp932("0," + n + "," + layer.name + "," + n + "," + n + ",," + it.name + "," + it.type +
                                     "," + std::to_string(it.width) + "," + (it.output ? "1" : "0") + "," + it.spec +
                                     "," + (it.role == PointRole::X ? "1" : "") + "," +
                                     (it.role == PointRole::Y ? "1" : "") + ","));
    }
    return rows;
}

void writeCsvLayoutFile(const std::string& path, const std::vector<PointGenLayer>& layers) {
    text::LineWriter out(path, text::LineWriter::Mode::Replace);
    out.writeUtf8Line("-1,行,レイヤ名,項目番号,入力列,備考,項目名,型,幅,出力,切出し,X座標,Y座標,開始年度");
    for (const PointGenLayer& layer : layers)
        for (const std::string& row : csvLayoutRows(layer)) out.writeLine(row);
    out.close();
}

void writeOgrCsv(const std::string& path, const PointGenLayer& layer, const PointFileOptions& options) {
    std::string heading = "X,Y", types = "\"Real\",\"Real\"";
    for (const PointGenItem& item : layer.items) {
        if (item.role != PointRole::Value || !item.output) continue;
        heading += "," + item.name;
        types += isText(item) ? ",\"String\"" : ",\"Integer\"";
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::FILE* t = std::fopen((path + "t").c_str(), "wb");
    if (!f || !t) throw std::runtime_error("writeOgrCsv: cannot write " + path);
    std::fprintf(t, "%s\n", types.c_str());
    std::fclose(t);
    std::fprintf(f, "%s\n", heading.c_str());
    for (long n = 1; n <= options.points; ++n) {
        const GenPoint p = genPoint(layer, options, options.first + n - 1);
        if (p.blankY || p.invalidX) continue;
        std::string line = degreesText(p.x) + "," + degreesText(p.y);
        for (std::size_t i = 0; i < layer.items.size(); ++i)
            if (layer.items[i].role == PointRole::Value && layer.items[i].output) line += "," + p.values[i];
        std::fprintf(f, "%s\n", line.c_str());
    }
    std::fclose(f);
}

}  // namespace velmora::gen
