#include "convert/mesh/MeshLedger.h"

#include <algorithm>
#include <exception>

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "platform/db/Database.h"
#include "platform/db/Query.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/ui/UiService.h"

namespace ModMesh {

namespace db = velmora::db;
namespace text = velmora::text;
using velmora::conversionState;

namespace {

std::vector<LedgerEntry> forestEntries() {
    std::vector<LedgerEntry> e;
    for (int n = 1; n <= 5; ++n) e.push_back({n, 10 + 4 * (n - 1), 20 + 7L * (n - 1), 7});
    return e;
}

std::vector<LedgerEntry> lakeEntries() {
    std::vector<LedgerEntry> e{{1, 2, 21, 6}};
    for (int k = 4; k <= 12; ++k) e.push_back({k - 2, k, 6L * k + 10, 6});
    return e;
}

// Columns of table DM per kind: the key first, then the joined values in value order.
constexpr const char* kForestColumns[] = {"台帳番号", "ＮＯ1", "ＮＯ2", "組織コード", "部局", "面積", "口座名", "口座所在地"};
constexpr const char* kLakeColumns[] = {"湖沼コード", "湖沼名", "水面標高", "最大水深"};

std::int32_t number(std::string_view line, long start, long width) {
    return text::leadingNumber(velmora::modCommon::MidByteSjis(line, start, width));
}

// An empty name or address line is stored as a single blank.
std::string_view notEmpty(std::string_view line) { return line.empty() ? std::string_view(" ") : line; }

}  // namespace

LedgerKind LedgerKindOf(const velmora::MeshLayerDef& layer) {
    const std::string name = text::fromCp932(layer.Name);
    if (name == kForestLayerName) return LedgerKind::Forest;
    if (name == kLakeLayerName) return LedgerKind::Lake;
    return LedgerKind::None;
}

const std::vector<LedgerEntry>& LedgerEntries(LedgerKind kind) {
    static const std::vector<LedgerEntry> forest = forestEntries(), lake = lakeEntries(), none;
    return kind == LedgerKind::Forest ? forest : kind == LedgerKind::Lake ? lake : none;
}

int LedgerValueCount(LedgerKind kind) { return kind == LedgerKind::Forest ? 7 : kind == LedgerKind::Lake ? 3 : 0; }

std::vector<LedgerFieldDef> LedgerFields(LedgerKind kind, int entryNumber) {
    std::vector<LedgerFieldDef> f;
    if (kind == LedgerKind::Forest) {
        const std::string prefix = "台" + std::to_string(entryNumber);
        struct Def { const char* suffix; const char* letter; long width; };
        static constexpr Def kDefs[] = {{"№1", "N", 3},  {"№2", "N", 1},   {"組織CD", "N", 3}, {"部局", "N", 6},
                                        {"面積", "N", 10}, {"口座名", "C", 80}, {"所在地", "C", 60}};
        for (const Def& d : kDefs) f.push_back({text::toCp932(prefix + d.suffix), d.letter, d.width});
    } else if (kind == LedgerKind::Lake) {
        const std::string prefix = entryNumber == 1 ? "湖沼" : "湖沼" + std::to_string(entryNumber - 1);
        f.push_back({text::toCp932(prefix + "名称"), "C", 32});
        f.push_back({text::toCp932(prefix + "標高"), "N", 4});
        f.push_back({text::toCp932(prefix + "水深"), "N", 3});
    }
    return f;
}

std::string LedgerDbPath() { return conversionState().AppFolder + kLedgerDbName; }

bool DmDataMake(LedgerKind kind, const std::string& path) {
    db::Database ledger;
    try {
        ledger = db::Database::create(LedgerDbPath(), db::Database::IfExists::Replace);
        db::TableDef table("DM");
        if (kind == LedgerKind::Forest) {
            for (int c = 0; c < 6; ++c) table.field(kForestColumns[c], db::FieldType::Long);
            table.field(kForestColumns[6], db::FieldType::Text, 80).field(kForestColumns[7], db::FieldType::Text, 60);
        } else {
            table.field(kLakeColumns[0], db::FieldType::Long).field(kLakeColumns[1], db::FieldType::Text, 32);
            table.field(kLakeColumns[2], db::FieldType::Long).field(kLakeColumns[3], db::FieldType::Long);
        }
        ledger.createTable(table);
        db::Appender& dm = ledger.appender("DM");
        ledger.begin();
        text::LineReader in(path);
        std::string line, name, address;
        while (in.next(line)) {
            if (line.rfind("DM", 0) != 0) continue;
            dm.newRow();
            if (kind == LedgerKind::Forest) {
                static constexpr long kNumbers[6][2] = {{4, 7}, {14, 3}, {17, 1}, {18, 3}, {21, 6}, {27, 10}};
                for (int c = 0; c < 6; ++c) dm.set(kForestColumns[c], number(line, kNumbers[c][0], kNumbers[c][1]));
                if (!in.next(name) || !in.next(address))
                    throw velmora::RunTimeError(velmora::err::InputPastEndOfFile, "Input past end of file");
                dm.set(kForestColumns[6], notEmpty(name));
                dm.set(kForestColumns[7], notEmpty(address));
            } else {
                dm.set(kLakeColumns[0], number(line, 4, 8));
                dm.set(kLakeColumns[1], velmora::modCommon::MidByteSjis(line, 15, 32));
                dm.set(kLakeColumns[2], number(line, 47, 4));
                dm.set(kLakeColumns[3], number(line, 51, 3));
            }
            dm.save();
        }
        ledger.close();
        return true;
    } catch (const std::exception& e) {
        try {
            ledger.close();
        } catch (...) {
        }
        velmora::ui::showError(e, "Error: ModMesh (DmDataMake)");
        return false;
    }
}

std::optional<std::int64_t> LedgerKey(std::string_view key) {
    key = text::trimBlanks(key);
    if (key.empty() || key.size() > 18) return std::nullopt;
    std::int64_t v = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

LedgerLookup::LedgerLookup(LedgerKind kind, db::Database& ledger) : kind_(kind) {
    try {
        db::Query q = ledger.query("SELECT * FROM DM ORDER BY rowid");
        const int columns = q.columnCount();
        std::string value;
        while (q.next()) {
            const auto [at, added] = first_.try_emplace(q.asLong(0));
            if (!added) continue;
            LedgerRow& row = at->second;
            row.key = at->first;
            for (int c = 1; c < columns; ++c) {
                q.readText(c, value);
                row.values.emplace_back(text::trimBlanks(value));
            }
        }
    } catch (const std::exception&) {
        first_.clear();
    }
}

const std::vector<const LedgerRow*>& LedgerLookup::DmDataSelect(std::string_view record) {
    rows_.clear();
    keys_.clear();
    for (const LedgerEntry& e : LedgerEntries(kind_))
        if (auto k = LedgerKey(velmora::modCommon::MidByteSjis(record, e.keyStart, e.keyWidth))) keys_.push_back(*k);
    std::sort(keys_.begin(), keys_.end());
    keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
    for (std::int64_t k : keys_)
        if (const auto at = first_.find(k); at != first_.end()) rows_.push_back(&at->second);
    return rows_;
}

void JoinLedgerEntry(LedgerKind kind, const LedgerEntry& entry, std::string_view record,
                     const std::vector<const LedgerRow*>& rows, std::vector<std::string_view>& values) {
    const int n = LedgerValueCount(kind);
    const auto key = LedgerKey(velmora::modCommon::MidByteSjis(record, entry.keyStart, entry.keyWidth));
    if (key)
        for (const LedgerRow* row : rows)
            if (row->key == *key) {
                for (const std::string& v : row->values) values.push_back(v);
                return;
            }
    for (int i = 0; i < n; ++i) values.emplace_back();
}

}  // namespace ModMesh
