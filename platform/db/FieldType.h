#pragma once
// The field types of the work databases and how each is declared in the SQLite file, so that a database
// opened again knows its fields' types and sizes without any side table.
#include <optional>
#include <string>
#include <string_view>

namespace velmora::db {

enum class FieldType {
    Integer,  // 16-bit signed whole number
    Long,     // 32-bit signed whole number
    Double,   // 64-bit floating point
    Text,     // text of at most `size` characters (CP932 bytes, a double-byte character counts once)
};

struct FieldDef {
    std::string name;  // UTF-8
    FieldType type = FieldType::Long;
    int size = 0;      // characters, for Text only; other types ignore it
};

// The field type of the classic engine's type number (3 Integer, 4 Long, 7 Double, 10 Text: the numbers
// ModPolygon::SetTextToVbidx gives for the catalogue's item type names); 5 for any other number.
FieldType fieldTypeOfNumber(int number);

// "SMALLINT", "INTEGER", "DOUBLE" or "TEXT(size)".
std::string declaredType(const FieldDef& field);
// The type and size of a declared type written by declaredType; nullopt for anything else.
std::optional<FieldDef> fieldFromDeclaredType(std::string name, std::string_view declared);

}  // namespace velmora::db
