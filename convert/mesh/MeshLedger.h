#pragma once
// The ledgers of the forest and lake mesh layers: the "DM" records of one mesh file loaded into the work
// database "xxtmpMeshdm.mdb" (table DM, in load order), and, per mesh record, the ledger rows its keys
// name, joined into the cell's values after the items each entry follows.
//
// Forest: five entries per record, keys of 7 bytes at 20, 27, 34, 41, 48, each joined after item 10, 14,
// 18, 22, 26 as seven values; a "DM" line is followed by its account name and address lines. Lake: ten
// entries, keys of 6 bytes at 21 and 34, 40, ... 82, joined after item 2 and items 4 to 12 as three values.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/core/LayerDef.h"

namespace velmora::db {
class Database;
}

namespace ModMesh {

inline constexpr const char* kForestLayerName = "森林・国公有地メッシュ";
inline constexpr const char* kLakeLayerName = "湖沼メッシュ";
inline constexpr const char* kLedgerDbName = "xxtmpMeshdm.mdb";

enum class LedgerKind { None = 0, Forest = 1, Lake = 2 };

// The ledger kind of a layer, by its name.
LedgerKind LedgerKindOf(const velmora::MeshLayerDef& layer);

// One entry of a record: where its key stands and which item it follows.
struct LedgerEntry {
    int number;     // 1-based entry number
    int afterItem;  // the item the entry's values follow
    long keyStart;  // 1-based byte
    long keyWidth;  // bytes
};
const std::vector<LedgerEntry>& LedgerEntries(LedgerKind kind);

// The field lines of one entry: names (CP932), type letters and widths, in value order.
struct LedgerFieldDef {
    std::string name;
    const char* letter;
    long width;
};
std::vector<LedgerFieldDef> LedgerFields(LedgerKind kind, int entryNumber);
// Values per entry: seven (forest) or three (lake).
int LedgerValueCount(LedgerKind kind);

// AppFolder followed by the ledger database's name.
std::string LedgerDbPath();

// Rebuilds the ledger database from the file's "DM" records and closes it. False after the error box
// "Error: ModMesh (DmDataMake)": a file that cannot be read, a name longer than its field, a number beyond
// 32 bits, a forest "DM" line without its two following lines.
bool DmDataMake(LedgerKind kind, const std::string& path);

// One ledger row as the join uses it: its key and its values as text, trimmed.
struct LedgerRow {
    std::int64_t key = 0;
    std::vector<std::string> values;
};

// The ledger rows of one file's records. The ledger is only read once it is made, so its table is read
// once, in load order, and each number keeps its first row: a query per record cost more than the rest
// of the record's conversion.
class LedgerLookup {
public:
    // Reads table DM of the open ledger database; a ledger that cannot be read leaves every entry empty,
    // without a word.
    LedgerLookup(LedgerKind kind, velmora::db::Database& ledger);
    // The first row in load order of each number the record's keys name, by number; none when no key is
    // given. Keys that are not all digits select nothing (their own entries stay empty).
    const std::vector<const LedgerRow*>& DmDataSelect(std::string_view record);

private:
    LedgerKind kind_;
    std::unordered_map<std::int64_t, LedgerRow> first_;
    std::vector<std::int64_t> keys_;
    std::vector<const LedgerRow*> rows_;
};

// Appends the values of one entry of a record: those of the first of `rows` whose key is the entry's key,
// or empty values when the key is blank, not all digits, or names no row.
void JoinLedgerEntry(LedgerKind kind, const LedgerEntry& entry, std::string_view record,
                     const std::vector<const LedgerRow*>& rows, std::vector<std::string_view>& values);

// A ledger key as the join reads it: the trimmed key when it is all digits, else nothing.
std::optional<std::int64_t> LedgerKey(std::string_view key);

}  // namespace ModMesh
