#include "tests/tools/gen/MeshFileGen.h"

#include <cstdio>
#include <stdexcept>

#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"
#include "tests/tools/gen/AttrFileGen.h"

namespace velmora::gen {

namespace {

bool numeric(const LedgerItemDef& item) { return item.type == "Integer" || item.type == "Long"; }

// A value in its width: numbers right-aligned, texts left-aligned, both padded with blanks (CP932).
std::string fitted(const LedgerItemDef& item, const std::string& utf8) {
    if (!numeric(item)) return padCp932(utf8, item.width);
    const std::string bytes = text::toCp932(utf8);
    if (static_cast<int>(bytes.size()) > item.width) throw std::invalid_argument("value wider than its item: " + utf8);
    return std::string(static_cast<std::size_t>(item.width) - bytes.size(), ' ') + bytes;
}

std::vector<std::string> cellValues(const MeshFileOptions& o, long index, int cells) {
    static const char* const kUse = "123456789ABCDEF";
    std::vector<std::string> v;
    if (o.format != MeshFileFormat::Fixed) {
        v.push_back(std::to_string(index % 97 + 1));
        v.push_back(std::to_string(index * 13 % 5000));
        if (o.dashes && index % 3 == 0) v[index % 2] = "-";
        return v;
    }
    if (cells == 0) {
        static const char* const kKind[] = {"田畑", "森林", "市街地"};
        return {std::to_string(13101 + index % 50), std::to_string(index * 37 % 1000000), kKind[index % 3],
                std::to_string(index % 100)};
    }
    for (int c = 0; c < cells; ++c) {
        v.push_back(std::string(1, kUse[(index + c) % 15]));
        v.push_back(std::to_string((index * 7 + c) % 1000));
    }
    return v;
}

}  // namespace

const std::vector<LedgerItemDef>& meshItems(MeshFileFormat format, int subdivision) {
    static const std::vector<LedgerItemDef> whole = {
        {"行政コード", "Text", 15, 5, true},
        {"面積", "Long", 20, 7, true},
        {"区分", "Text1", 27, 8, true},
        {"予備", "Integer", 35, 3, true},
    };
    static const std::vector<LedgerItemDef> subdivided = {
        {"土地利用", "Text", 15, 1, true},
        {"標高", "Integer", 16, 3, true},
    };
    static const std::vector<LedgerItemDef> census = {
        {"農家数", "Long", 1, 6, true},
        {"耕地面積", "Long", 1, 8, true},
    };
    if (format != MeshFileFormat::Fixed) return census;
    return subdivision == 0 ? whole : subdivided;
}

const std::vector<LedgerItemDef>& layerItems(MeshLayerKind kind) {
    auto numbered = [](std::vector<LedgerItemDef> items, int from, int count, int start, int width) {
        for (int k = from; k < from + count; ++k) {
            char name[16];
            std::snprintf(name, sizeof name, "区分%02d", k);
            items.push_back({name, "Integer", start + (k - from) * width, width, true});
        }
        return items;
    };
    static const std::vector<LedgerItemDef> forest = numbered({{"行政コード", "Text", 15, 5, true}}, 2, 25, 55, 2);
    static const std::vector<LedgerItemDef> lake =
        numbered({{"行政コード", "Text", 15, 6, true}, {"湖沼面積", "Long", 27, 7, true}}, 3, 10, 88, 3);
    static const std::vector<LedgerItemDef> fourWay = {
        {"波向", "Text", 13, 2, true}, {"海霧", "Integer", 15, 3, true}, {"漁場", "Text1", 18, 4, true}};
    static const std::vector<LedgerItemDef> none;
    switch (kind) {
        case MeshLayerKind::Forest: return forest;
        case MeshLayerKind::Lake: return lake;
        case MeshLayerKind::FourWay: return fourWay;
        default: return none;
    }
}

std::vector<std::string> forestLedgerLines(const GenForestLedger& l) {
    return {"DM " + rightAligned(l.number, 7) + "   " + rightAligned(l.no1, 3) + rightAligned(l.no2, 1) +
                rightAligned(l.organisation, 3) + rightAligned(l.office, 6) + rightAligned(l.area, 10),
            text::toCp932(l.name), text::toCp932(l.address)};
}

GenForestLedger generatedForestLedger(int i) {
    return {1000000 + i, i % 1000, i % 10, i % 500, 100000 + i % 900000, i * 1000L + 7, "口座" + std::to_string(i),
            "所在地" + std::to_string(i)};
}

std::string lakeLedgerLine(const GenLakeLedger& l) {
    return "DM " + rightAligned(l.code, 8) + "   " + padCp932(l.name, 32) + rightAligned(l.height, 4) +
           rightAligned(l.depth, 3);
}

void fillMeshLayerRow(MeshLayerDef& row, const std::string& name, const std::string& headerKey, int level,
                      int subdivision, const std::vector<LedgerItemDef>& items) {
    row = MeshLayerDef{};
    row.Name = text::toCp932(name);
    row.HeaderKey = text::toCp932(headerKey);
    row.MeshLevel = static_cast<std::int16_t>(level);
    row.Subdivision = static_cast<std::int16_t>(subdivision);
    row.ItemCount = static_cast<std::int16_t>(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        row.ItemName[i + 1] = text::toCp932(items[i].name);
        row.ItemType[i + 1] = items[i].type;
        row.ItemStart[i + 1] = static_cast<std::int16_t>(items[i].start);
        row.ItemWidth[i + 1] = static_cast<std::int16_t>(items[i].width);
        row.ItemOutput[i + 1] = items[i].output;
    }
}

std::string meshCellCode(int firstLevelMesh, int level, int index) {
    char buf[16];
    if (level == 2) {
        std::snprintf(buf, sizeof buf, "%04d%d%d", firstLevelMesh, index / 8 % 8, index % 8);
    } else {
        const int third = level == 4 ? index / 4 : index;
        const int second = third / 100 % 64, cell = third % 100;
        std::snprintf(buf, sizeof buf, "%04d%d%d%d%d", firstLevelMesh, second / 8, second % 8, cell / 10, cell % 10);
        if (level == 4) return buf + std::to_string(index % 4 + 1);
    }
    return buf;
}

MeshFileModel makeMeshFileModel(const MeshFileOptions& o) {
    MeshFileModel m;
    m.headerKey = o.headerKey;
    m.format = o.format;
    m.level = o.format == MeshFileFormat::Fixed ? o.level : 3;
    m.kind = o.kind;
    m.items = o.kind == MeshLayerKind::Plain ? meshItems(o.format, o.subdivision) : layerItems(o.kind);
    if (o.kind == MeshLayerKind::FourWay) m.level = 2;
    if (o.kind == MeshLayerKind::Forest || o.kind == MeshLayerKind::Lake) m.level = 3;
    const int cells = o.subdivision * o.subdivision;
    for (int r = 0; r < o.records; ++r) {
        const int index = o.firstCell + r;
        GenMeshRecord rec;
        rec.code = meshCellCode(o.firstLevelMesh, m.level, index);
        if (o.shortCodeEvery > 0 && (r + 1) % o.shortCodeEvery == 0) rec.code = rec.code.substr(0, 6);
        if (m.level == 4 && o.badHalfDigitEvery > 0 && (r + 1) % o.badHalfDigitEvery == 0) rec.code.back() = '5';
        if (o.kind == MeshLayerKind::Plain) {
            rec.values = cellValues(o, index, cells);
        } else {
            for (std::size_t k = 0; k < m.items.size(); ++k)
                rec.values.push_back(m.items[k].type == "Integer" ? std::to_string((index + k) % 100)
                                                                   : k == 0 ? std::to_string(13101 + index % 50)
                                                                            : "好漁");
            if (o.kind == MeshLayerKind::FourWay) rec.values[0] = std::to_string(10 + index % 8);
            if (o.kind == MeshLayerKind::Lake) rec.values[1] = std::to_string(index * 11 % 1000000);
        }
        if (o.kind == MeshLayerKind::FourWay) rec.season = std::to_string(1 + r % 4);
        if ((o.kind == MeshLayerKind::Forest || o.kind == MeshLayerKind::Lake) && o.ledgerRecords > 0) {
            const int entries = o.kind == MeshLayerKind::Forest ? 5 : 10;
            const long base = o.kind == MeshLayerKind::Forest ? 1000000 : 10000;
            for (int e = 0; e < entries; ++e)
                rec.keys.push_back(e <= r % entries ? std::to_string(base + (r * 7L + e * 13L) % o.ledgerRecords) : "");
        }
        m.records.push_back(rec);
        if (o.format == MeshFileFormat::Fixed) continue;
        const char sep = o.format == MeshFileFormat::Comma ? ',' : '\t';
        if (o.extraFieldEvery > 0 && (r + 1) % o.extraFieldEvery == 0) {
            std::string line = m.records.back().code;
            for (const std::string& v : m.records.back().values) line += sep + v;
            m.records.back().line = line + sep + "9";
        }
        if (o.mixedSeparators && r == 0) {
            // The other separator after the code: the first line tells a file's format.
            std::string line = m.records.back().code + (sep == ',' ? '\t' : ',');
            for (std::size_t k = 0; k < m.records.back().values.size(); ++k)
                line += (k == 0 ? "" : std::string(1, sep)) + m.records.back().values[k];
            m.records.back().line = line;
        }
        if (o.headerLineEvery > 0 && (r + 1) % o.headerLineEvery == 0) m.records.push_back({{}, {}, "H  inside"});
    }
    for (int i = 0; i < o.ledgerRecords; ++i) {
        if (o.kind == MeshLayerKind::Forest) {
            for (const std::string& l : forestLedgerLines(generatedForestLedger(i)))
                m.ledgerLines.push_back(l);
        } else if (o.kind == MeshLayerKind::Lake) {
            m.ledgerLines.push_back(lakeLedgerLine({10000 + i, "湖" + std::to_string(i), i % 2000, i % 300}));
        }
    }
    return m;
}

namespace {

// The key bytes of entry e (0-based) of a forest or lake record.
std::pair<int, int> keyPlace(MeshLayerKind kind, std::size_t e) {
    if (kind == MeshLayerKind::Forest) return {20 + 7 * static_cast<int>(e), 7};
    return {e == 0 ? 21 : 28 + 6 * static_cast<int>(e), 6};
}

// A record of a layer with records of its own: every field at its byte, blanks between.
std::string placedRecord(const MeshFileModel& m, const GenMeshRecord& r) {
    std::string line(5, ' ');
    line[0] = 'M';
    line[4] = static_cast<char>('0' + m.level);
    auto place = [&line](int start, const std::string& bytes) {
        const std::size_t end = static_cast<std::size_t>(start - 1) + bytes.size();
        if (line.size() < end) line.resize(end, ' ');
        line.replace(static_cast<std::size_t>(start - 1), bytes.size(), bytes);
    };
    place(6, r.code);
    if (!r.season.empty()) place(12, text::toCp932(r.season));
    for (std::size_t k = 0; k < r.values.size() && k < m.items.size(); ++k) place(m.items[k].start, fitted(m.items[k], r.values[k]));
    for (std::size_t e = 0; e < r.keys.size(); ++e) {
        const auto [start, width] = keyPlace(m.kind, e);
        place(start, r.keys[e].empty() ? std::string(static_cast<std::size_t>(width), ' ')
                                       : std::string(static_cast<std::size_t>(width) - r.keys[e].size(), ' ') + r.keys[e]);
    }
    return line;
}

}  // namespace

std::vector<std::string> formatMeshFile(const MeshFileModel& m) {
    std::vector<std::string> lines;
    lines.reserve(m.records.size() + 1);
    AttrHeader header;
    header.field2 = "VELMORA";
    header.dataCode = m.headerKey;
    header.field4 = "4";
    header.year = m.year;
    header.recordCount = m.declaredCount.value_or(static_cast<long>(m.records.size() + m.ledgerLines.size()) + 1);
    lines.push_back(attrHeaderLine(header));
    const char sep = m.format == MeshFileFormat::Tab ? '\t' : ',';
    for (const GenMeshRecord& r : m.records) {
        if (!r.line.empty()) {
            lines.push_back(r.line);
            continue;
        }
        if (m.kind != MeshLayerKind::Plain) {
            lines.push_back(placedRecord(m, r));
            continue;
        }
        if (m.format != MeshFileFormat::Fixed) {
            std::string line = r.code;
            for (const std::string& v : r.values) line += sep + text::toCp932(v);
            lines.push_back(line);
            continue;
        }
        // "M", the mesh size in columns 4-5, the code in 6-14, then the items from their start bytes; a
        // subdivided record repeats its items cell after cell.
        std::string line = "M  " + std::string(m.level < 10 ? " " : "") + std::to_string(m.level) + padCp932(r.code, 9);
        for (std::size_t i = 0; i < r.values.size(); ++i) {
            const LedgerItemDef& item = m.items[i % m.items.size()];
            if (i < m.items.size() && static_cast<int>(line.size()) < item.start - 1)
                line.append(static_cast<std::size_t>(item.start - 1) - line.size(), ' ');
            line += fitted(item, r.values[i]);
        }
        lines.push_back(line);
    }
    lines.insert(lines.end(), m.ledgerLines.begin(), m.ledgerLines.end());
    return lines;
}

void writeMeshFile(const std::string& path, const MeshFileModel& model) { writeLines(path, formatMeshFile(model)); }

}  // namespace velmora::gen
