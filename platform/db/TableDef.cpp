#include "platform/db/TableDef.h"

namespace velmora::db {

TableDef& TableDef::field(std::string name, FieldType type, int size) {
    fields_.push_back(FieldDef{std::move(name), type, type == FieldType::Text ? size : 0});
    return *this;
}

TableDef& TableDef::index(std::string name, std::string field, bool unique) {
    indexes_.push_back(IndexDef{std::move(name), std::move(field), unique});
    return *this;
}

TableDef& TableDef::orderedIndex(std::string name, std::string field, std::vector<std::string> thenBy) {
    indexes_.push_back(IndexDef{std::move(name), std::move(field), false, std::move(thenBy)});
    return *this;
}

}  // namespace velmora::db
