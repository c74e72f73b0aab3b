#pragma once
// The definition of one table: its fields in order and its single-field indexes. Database::createTable
// creates the table first and then each index in the order added, so an index the engine refuses leaves
// the table in place.
#include <string>
#include <vector>

#include "platform/db/FieldType.h"

namespace velmora::db {

struct IndexDef {
    std::string name;   // unique within its table only; the same name may serve several tables
    std::string field;
    bool unique = false;  // unique (primary): repeated values give 3022, a missing value 3058
};

class TableDef {
public:
    explicit TableDef(std::string name) : name_(std::move(name)) {}

    // size: characters of a Text field; ignored for the other types.
    TableDef& field(std::string name, FieldType type, int size = 0);
    TableDef& index(std::string name, std::string field, bool unique = false);

    const std::string& name() const { return name_; }
    const std::vector<FieldDef>& fields() const { return fields_; }
    const std::vector<IndexDef>& indexes() const { return indexes_; }

private:
    std::string name_;
    std::vector<FieldDef> fields_;
    std::vector<IndexDef> indexes_;
};

}  // namespace velmora::db
