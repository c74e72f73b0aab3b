#include "platform/map/DbaseCells.h"

#include "platform/text/Cp932.h"

namespace velmora::map {

std::string dbaseCellText(DBFHandle dbf, int row, int field) {
    // shapelib keeps the last record read, so the null test and the text cost one read of the row.
    if (DBFIsAttributeNULL(dbf, row, field)) return {};
    const char* raw = DBFReadStringAttribute(dbf, row, field);
    return raw ? text::fromCp932(raw) : std::string();
}

}  // namespace velmora::map
