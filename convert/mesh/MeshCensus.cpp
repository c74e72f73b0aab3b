#include "convert/mesh/MeshCensus.h"

#include "convert/core/ConversionRoutines.h"
#include "platform/text/Conversions.h"

namespace ModMesh::census {

Separator separatorOf(std::int16_t format) {
    namespace F = velmora::modCommon::FileFormat;
    if (format == F::Comma) return {true, ','};
    if (format == F::Tab) return {true, '\t'};
    return {};
}

const std::vector<std::string_view>& splitFields(std::string_view line, Separator separator,
                                                 std::vector<std::string_view>& fields) {
    fields.clear();
    if (!separator.found) {
        fields.push_back(line);
        return fields;
    }
    for (std::size_t from = 0;;) {
        const std::size_t at = line.find(separator.c, from);
        if (at == std::string_view::npos) {
            fields.push_back(line.substr(from));
            return fields;
        }
        fields.push_back(line.substr(from, at - from));
        from = at + 1;
    }
}

std::string_view itemValue(std::string_view field) { return field == "-" ? std::string_view("0") : velmora::text::trimBlanks(field); }

}  // namespace ModMesh::census
