#include "platform/db/TableDef.h"

namespace velmora::db {

TableDef& TableDef::field(std::string name, FieldType type, int size) {
    fields_.push_back(FieldDef{std::move(name), type, type == FieldType::Text ? size : 0});
    return *this;
}

TableDef& TableDef::index(std::string name, std::string field, bool unique) {
    indexes_.push_back(IndexDef{std::move(name), {std::move(field)}, unique});
    return *this;
}

TableDef& TableDef::index(std::string name, std::initializer_list<std::string> fields, bool unique) {
    indexes_.push_back(IndexDef{std::move(name), fields, unique});
    return *this;
}

}  // namespace velmora::db
