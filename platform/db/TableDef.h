#pragma once
// The definition of one table: its fields in order and its indexes. Database::createTable creates the
// table first and then each index in the order added, so an index the engine refuses leaves the table in
// place.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/db/FieldType.h"

namespace velmora::db {

struct IndexDef {
    std::string name;   // unique within its table only; the same name may serve several tables
    std::vector<std::string> fields;  // one, or several for a look-up by all of them together
    bool unique = false;  // unique (primary): repeated values give 3022, a missing value 3058
};

class TableDef {
public:
    explicit TableDef(std::string name) : name_(std::move(name)) {}

    // size: characters of a Text field; ignored for the other types.
    TableDef& field(std::string name, FieldType type, int size = 0);
    TableDef& index(std::string name, std::string field, bool unique = false);
    // An index on several fields in order: a look-up by all of them finds its rows at once, where an
    // index on one of them would leave the others to be tested row by row.
    TableDef& index(std::string name, std::initializer_list<std::string> fields, bool unique = false);

    const std::string& name() const { return name_; }
    const std::vector<FieldDef>& fields() const { return fields_; }
    const std::vector<IndexDef>& indexes() const { return indexes_; }

private:
    std::string name_;
    std::vector<FieldDef> fields_;
    std::vector<IndexDef> indexes_;
};

}  // namespace velmora::db
