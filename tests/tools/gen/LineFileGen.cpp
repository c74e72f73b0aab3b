#include "tests/tools/gen/LineFileGen.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/text/Cp932.h"

namespace velmora::gen {

namespace {

// South-west corner of a secondary mesh in 1/36000 degree: primary code pq rs, secondary t u.
void meshOrigin(int mesh, long& x0, long& y0) {
    int pq = mesh / 10000, rs = (mesh / 100) % 100, t = (mesh / 10) % 10, u = mesh % 10;
    y0 = pq * 24000L + t * 3000L;
    x0 = (rs + 100) * 36000L + u * 4500L;
}

std::string layerCode(const std::string& code) { return padCp932(code, 3); }

std::string optionalNumber(const std::optional<long long>& v, int width) {
    return v ? rightAligned(*v, width) : std::string(static_cast<std::size_t>(width), ' ');
}

std::string optionalNumber(const std::optional<int>& v, int width) {
    return v ? rightAligned(*v, width) : std::string(static_cast<std::size_t>(width), ' ');
}

// Pads a UTF-8 text with blanks until it holds `chars` characters in CP932.
std::string padChars(const std::string& utf8, int chars) {
    std::string s = text::toCp932(utf8);
    int n = 0;
    for (std::size_t i = 0; i < s.size(); ++n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        i += ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
    }
    if (n > chars) throw std::invalid_argument("text longer than its columns: " + utf8);
    s.append(static_cast<std::size_t>(chars - n), ' ');
    return s;
}

}  // namespace

const std::vector<LedgerItemDef>& ordinaryLedgerItems() {
    static const std::vector<LedgerItemDef> items = {
        {"名称", "Text", 17, 20, true},
        {"種別", "Integer", 37, 2, true},
        {"備考", "Text2", 39, 20, true},
        {"管理番号", "Long", 59, 8, false},
    };
    return items;
}

const std::vector<LedgerItemDef>& roadLedgerItems() {
    static const std::vector<LedgerItemDef> items = {
        {"道路種別CD", "Long", 17, 2, true},
        {"路線名", "Text", 19, 24, true},
        {"線名", "Text", 43, 22, true},
        {"通称", "Text", 65, 16, true},
    };
    return items;
}

void fillLineLayerRow(LayerDef& d, const std::string& name, const std::string& headerKey,
                      const std::vector<LedgerItemDef>& items) {
    d = LayerDef{};
    d.Name = text::toCp932(name);
    d.HeaderKey = text::toCp932(headerKey);
    d.ItemCount = static_cast<std::int16_t>(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        d.ItemName[i + 1] = text::toCp932(items[i].name);
        d.ItemType[i + 1] = items[i].type;
        d.ItemStart[i + 1] = static_cast<std::int16_t>(items[i].start);
        d.ItemWidth[i + 1] = static_cast<std::int16_t>(items[i].width);
        d.ItemOutput[i + 1] = items[i].output;
    }
}

std::string rightAligned(long long value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) > width)
        throw std::invalid_argument("number wider than its columns: " + s);
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

std::string padCp932(const std::string& utf8, int width) {
    std::string s = text::toCp932(utf8);
    if (static_cast<int>(s.size()) > width)
        throw std::invalid_argument("text wider than its columns: " + utf8);
    s.append(static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

long LineFileModel::recordLines() const {
    return static_cast<long>(nodes.size() + links.size() + lines.size()) + ledgerLines();
}

namespace {

// A record line and the continuation lines of its n entries, five to a line.
long recordAndContinuationLines(std::size_t n) { return 1 + static_cast<long>((n + 4) / 5); }

}  // namespace

long LineFileModel::linkLines() const {
    long n = 0;
    for (const GenLink& l : links) n += recordAndContinuationLines(l.vertices.size());
    return n;
}

long LineFileModel::lineLines() const {
    long n = 0;
    for (const GenLine& s : lines) n += recordAndContinuationLines(s.references.size());
    return n;
}

long LineFileModel::ledgerLines() const {
    return static_cast<long>(lineLedgers.size() + roadLedgers.size() + stationLedgers.size());
}

LineFileModel makeLineFileModel(const LineFileOptions& o) {
    LineFileModel m;
    m.headerKey = o.headerKey;
    const int meshCount = static_cast<int>(o.meshes.size());
    auto meshOfSerial = [&](int serial) { return o.meshes[static_cast<std::size_t>((serial - 1) % meshCount)]; };
    auto missing = [&](int index) { return o.missingLedgerEvery > 0 && (index + 1) % o.missingLedgerEvery == 0; };

    m.nodes.reserve(static_cast<std::size_t>(o.links + o.stations));
    m.links.reserve(static_cast<std::size_t>(o.links));
    for (int i = 0; i < o.links; ++i) {
        const int s = o.firstLinkSerial + i;
        const int mesh = meshOfSerial(s);
        long x0, y0;
        meshOrigin(mesh, x0, y0);

        GenLink l;
        l.startMesh = l.endMesh = mesh;
        l.startNumber = s;
        l.endNumber = s + 1;
        l.serial = o.serialsPerMesh ? (s - 1) / meshCount + 1 : s;
        l.ledgerFlag = o.item == LineItem::Road ? 1 : 0;
        l.attribute = o.item == LineItem::Road ? 100000 + s : s;
        if (o.blankOptionalFields && s % 3 == 0) l.attribute.reset();
        l.vertices.reserve(static_cast<std::size_t>(o.verticesPerLink));
        for (int j = 0; j < o.verticesPerLink; ++j)
            l.vertices.emplace_back(x0 + 100 + (s * 131L) % 4000 + (j * 30L) % 300,
                                    y0 + 100 + (s * 71L) % 2500 + (j * 20L) % 200);

        GenNode n;
        n.mesh = mesh;
        n.serial = s;
        n.x = l.vertices.empty() ? x0 + 50 : l.vertices.front().first;
        n.y = l.vertices.empty() ? y0 + 50 : l.vertices.front().second;
        n.linkCount = 2;
        n.frameInfo = 0;
        if (!o.blankOptionalFields) {
            n.attribute = 0;
            n.pairMesh = mesh;
            n.pairNumber = s;
        }

        if (o.item == LineItem::Road && l.attribute && !missing(i)) {
            GenRoadLedger d;
            d.attribute = *l.attribute;
            d.roadKind = s % 4 + 1;
            d.routeName = (o.blankOptionalFields && s % 2 == 0) ? "" : "国道" + std::to_string(s % 100) + "号";
            d.lineName = s % 5 == 0 ? "" : "線" + std::to_string(s);
            d.commonName = "通称" + std::to_string(s % 1000);
            m.roadLedgers.push_back(std::move(d));
        }
        m.links.push_back(std::move(l));
        m.nodes.push_back(std::move(n));
    }

    if (o.item != LineItem::Road && o.links > 0) {
        for (int i = 0; i < o.lines; ++i) {
            const int t = o.firstLineSerial + i;
            GenLine line;
            line.serial = t;
            line.ledgerFlag = 1;
            line.attribute = 200000 + t;
            for (int k = 0; k < o.linksPerLine; ++k) {
                const GenLink& target = m.links[static_cast<std::size_t>((i * o.linksPerLine + k) % o.links)];
                GenReference r;
                r.mesh = target.startMesh;
                r.number = (o.reversedReferences && k % 2 == 1) ? -target.serial : target.serial;
                line.references.push_back(r);
            }
            line.startMesh = line.references.front().mesh;
            line.startNumber = std::abs(line.references.front().number);
            line.endMesh = line.references.back().mesh;
            line.endNumber = std::abs(line.references.back().number) + 1;
            if (!missing(i)) {
                GenLineLedger d;
                d.attribute = line.attribute;
                d.values = {"ライン" + std::to_string(t),
                            (o.blankOptionalFields && t % 2 == 0) ? "" : std::to_string(t % 10),
                            (o.blankOptionalFields && t % 2 == 1) ? "" : "備考テキスト",
                            std::to_string(t)};
                m.lineLedgers.push_back(std::move(d));
            }
            m.lines.push_back(std::move(line));
        }
    }

    if (o.item == LineItem::Railway) {
        for (int k = 0; k < o.stations; ++k) {
            const int mesh = o.meshes[static_cast<std::size_t>(k % meshCount)];
            long x0, y0;
            meshOrigin(mesh, x0, y0);
            GenNode n;
            n.mesh = mesh;
            n.serial = 500000 + k;
            n.x = x0 + 200 + (k * 97L) % 4000;
            n.y = y0 + 200 + (k * 53L) % 2500;
            n.ledgerFlag = 1;
            n.attribute = 900000 + k;
            n.linkCount = 2;
            n.pairMesh = mesh;
            n.pairNumber = n.serial;
            if (!missing(k)) m.stationLedgers.push_back({900000 + k, "駅" + std::to_string(k + 1)});
            m.nodes.push_back(std::move(n));
        }
    }
    return m;
}

std::string formatLineFile(const LineFileModel& m) {
    std::string out;
    out.reserve(static_cast<std::size_t>(m.recordLines()) * 64 + m.links.size() * 96);
    auto line = [&](const std::string& s) {
        out += s;
        out += "\r\n";
    };

    line("H  " + std::string(10, ' ') + padCp932(m.headerKey, 10) + "  " + padCp932(m.year, 4) + "   1" +
         rightAligned(m.recordLines(), 8));
    // Count 1 is the loader's progress maximum, its record lines; counts 2 to 7 the lines of each part,
    // continuation lines included: nodes, links, lines, node (station), link (road) and line ledgers.
    line(rightAligned(m.recordLines(), 8) + rightAligned(static_cast<long long>(m.nodes.size()), 8) +
         rightAligned(m.linkLines(), 8) + rightAligned(m.lineLines(), 8) +
         rightAligned(static_cast<long long>(m.stationLedgers.size()), 8) +
         rightAligned(static_cast<long long>(m.roadLedgers.size()), 8) +
         rightAligned(static_cast<long long>(m.lineLedgers.size()), 8));

    for (const GenNode& n : m.nodes)
        line(layerCode(n.layerCode) + rightAligned(n.mesh, 6) + rightAligned(n.serial, 6) + rightAligned(n.x, 8) +
             rightAligned(n.y, 8) + rightAligned(n.ledgerFlag, 2) + optionalNumber(n.attribute, 10) +
             rightAligned(n.linkCount, 3) + rightAligned(n.frameInfo, 2) + optionalNumber(n.pairMesh, 6) +
             optionalNumber(n.pairNumber, 6));

    for (const GenLink& l : m.links) {
        const int declared = l.declaredVertexCount.value_or(static_cast<int>(l.vertices.size()));
        line(layerCode(l.layerCode) + rightAligned(l.startMesh, 6) + rightAligned(l.startNumber, 6) +
             rightAligned(l.endMesh, 6) + rightAligned(l.endNumber, 6) + rightAligned(l.serial, 6) +
             rightAligned(l.ledgerFlag, 2) + optionalNumber(l.attribute, 10) + rightAligned(declared, 6));
        std::string cont;
        for (std::size_t j = 0; j < l.vertices.size(); ++j) {
            cont += rightAligned(l.vertices[j].first, 8) + rightAligned(l.vertices[j].second, 8);
            if (j % 5 == 4 || j + 1 == l.vertices.size()) {
                line(cont);
                cont.clear();
            }
        }
    }

    for (const GenLine& s : m.lines) {
        line(layerCode(s.layerCode) + rightAligned(s.startMesh, 6) + rightAligned(s.startNumber, 6) +
             rightAligned(s.endMesh, 6) + rightAligned(s.endNumber, 6) + rightAligned(s.serial, 8) +
             rightAligned(s.ledgerFlag, 2) + rightAligned(s.attribute, 10) +
             rightAligned(static_cast<long long>(s.references.size()), 6));
        std::string cont;
        for (std::size_t k = 0; k < s.references.size(); ++k) {
            const GenReference& r = s.references[k];
            cont += rightAligned(r.mesh, 6) + rightAligned(r.number, 6) + rightAligned(r.flag, 2);
            if (k % 5 == 4 || k + 1 == s.references.size()) {
                line(cont);
                cont.clear();
            }
        }
    }

    const auto& items = ordinaryLedgerItems();
    for (const GenLineLedger& d : m.lineLedgers) {
        std::string rec = "DS " + rightAligned(d.attribute, 10) + rightAligned(1, 3);
        for (std::size_t i = 0; i < items.size() && i < d.values.size(); ++i) {
            const LedgerItemDef& it = items[i];
            const bool text = it.type.find("Text") != std::string::npos;
            std::string v = text ? padCp932(d.values[i], it.width)
                                 : (d.values[i].empty() ? std::string(static_cast<std::size_t>(it.width), ' ')
                                                        : rightAligned(std::stoll(d.values[i]), it.width));
            if (rec.size() < static_cast<std::size_t>(it.start - 1)) rec.resize(static_cast<std::size_t>(it.start - 1), ' ');
            rec.replace(static_cast<std::size_t>(it.start - 1), v.size(), v);
        }
        line(rec);
    }

    for (const GenRoadLedger& d : m.roadLedgers)
        line("DL " + rightAligned(d.attribute, 10) + rightAligned(1, 3) + rightAligned(d.roadKind, 2) +
             padCp932(d.routeName, 24) + padCp932(d.lineName, 22) + padCp932(d.commonName, 16));

    for (const GenStationLedger& d : m.stationLedgers)
        line("DP " + rightAligned(d.attribute, 10) + rightAligned(1, 3) + padChars(d.name, 28));
    return out;
}

void writeLineFile(const std::string& path, const LineFileModel& model) {
    const std::string bytes = formatLineFile(model);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace velmora::gen
