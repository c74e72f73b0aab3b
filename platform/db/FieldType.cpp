#include "platform/db/FieldType.h"

#include <charconv>

#include "platform/errors/RunTimeError.h"

namespace velmora::db {

FieldType fieldTypeOfNumber(int number) {
    switch (number) {
    case 3: return FieldType::Integer;
    case 4: return FieldType::Long;
    case 7: return FieldType::Double;
    case 10: return FieldType::Text;
    default:
        throw RunTimeError(err::InvalidProcedureCall,
                           "Invalid procedure call or argument (field type " + std::to_string(number) + ")");
    }
}

std::string declaredType(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Integer: return "SMALLINT";
    case FieldType::Long: return "INTEGER";
    case FieldType::Double: return "DOUBLE";
    case FieldType::Text: return "TEXT(" + std::to_string(field.size) + ")";
    }
    return {};
}

std::optional<FieldDef> fieldFromDeclaredType(std::string name, std::string_view declared) {
    FieldDef f{std::move(name), FieldType::Long, 0};
    if (declared == "SMALLINT") f.type = FieldType::Integer;
    else if (declared == "INTEGER") f.type = FieldType::Long;
    else if (declared == "DOUBLE") f.type = FieldType::Double;
    else if (declared.starts_with("TEXT(") && declared.ends_with(")")) {
        std::string_view digits = declared.substr(5, declared.size() - 6);
        auto r = std::from_chars(digits.data(), digits.data() + digits.size(), f.size);
        if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return std::nullopt;
        f.type = FieldType::Text;
    } else {
        return std::nullopt;
    }
    return f;
}

}  // namespace velmora::db
