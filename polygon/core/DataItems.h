#pragma once
// The library's constant tables: its data items, the field maps that turn an area-ledger record into a
// dBASE record, and the numbered message texts of the makers. Texts are CP932 bytes, converted once on
// first use and kept until the library is unloaded.
#include <string>
#include <vector>

namespace ostrand {

struct LayerRecord {
    int data_id = -1;
    std::string name;  // CP932
    std::string code;  // data code of the area files, 7 bytes
    LayerRecord() = default;
    LayerRecord(int id, std::string n, std::string c) : data_id(id), name(std::move(n)), code(std::move(c)) {}
};

// The twelve data items in stored order (20 stands before 9 and 10).
const std::vector<LayerRecord>& layer_records();
// First row with the number, or null.
const LayerRecord* find_layer_record(int data_id);

// One side of a field map. Source side: type 'A' or 'I', a = 0-based byte position in the ledger text,
// b = length in bytes. Output side: the dBASE field name, type 'N' or 'C', a = width, b = decimals.
struct FieldSpec {
    std::string name;  // CP932
    char type = 'C';
    int a = 0;
    int b = 0;
};

struct AttrFieldMap {
    FieldSpec source;
    FieldSpec output;
    AttrFieldMap(FieldSpec s, FieldSpec o) : source(std::move(s)), output(std::move(o)) {}
};

struct AttrFieldTable {
    int data_id = 0;
    std::vector<AttrFieldMap> fields;  // begins with the attribute-number field
    int count() const { return static_cast<int>(fields.size()); }
};

const std::vector<AttrFieldTable>& attr_field_tables();
// First table with the number, or null.
const AttrFieldTable* find_attr_field_table(int data_id);

// The numbered log messages of the makers; message_text gives their CP932 bytes.
enum Message {
    msg_link_has_no_node = 1,
    msg_link_start_mismatch,
    msg_area_zero,
    msg_area_ends_mismatch,
    msg_area_too_few_nodes,
    msg_area_duplicate,
    msg_basin_links_removed,
    msg_gaps_may_be_incomplete,
    msg_gaps_cannot_build,
    msg_attr_not_saved,
    msg_attr_may_be_incomplete,
    msg_repair_try,
    msg_repair_ok,
    msg_repair_partial,
    msg_repair_failed,
};
const std::string& message_text(Message m);

}  // namespace ostrand
