#include "platform/map/RecordSet.h"

#include "platform/errors/RunTimeError.h"
#include "platform/map/DbaseCells.h"
#include "platform/map/ShapeData.h"
#include "platform/map/ShapeLibFiles.h"
#include "platform/text/Cp932.h"

#include <memory>

namespace velmora::map {

namespace {

std::string trimBlanks(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int typeCode(char native, int decimals) {
    switch (native) {
    case 'N':
    case 'F': return decimals > 0 ? field::Decimal : field::Whole;
    case 'D': return field::Date;
    case 'L': return field::Logical;
    default: return field::Text;
    }
}

}  // namespace

RecordSet::RecordSet(std::shared_ptr<const ShapeData> shapes, const std::string& dbfPath,
                     std::vector<std::uint32_t> records)
    : shapes_(std::move(shapes)), records_(std::move(records)) {
    if (dbfPath.empty()) return;
    ShapeLibFiles files("", "", dbfPath);
    DBFHandle h = DBFOpenLL(dbfPath.c_str(), "rb", files.hooks());
    // A table that cannot be read leaves the records without fields, as a layer without a table has.
    if (!h) return;
    std::unique_ptr<DBFInfo, void (*)(DBFHandle)> handle(h, &DBFClose);
    const int fields = DBFGetFieldCount(h);
    for (int f = 0; f < fields; ++f) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0, decimals = 0;
        DBFGetFieldInfo(h, f, name, &width, &decimals);
        fieldNames_.push_back(text::fromCp932(name));
        fieldTypes_.push_back(typeCode(DBFGetNativeFieldType(h, f), decimals));
    }
    const int rows = DBFGetRecordCount(h);
    values_.reserve(records_.size() * fields);
    for (auto r : records_) {
        for (int f = 0; f < fields; ++f) {
            // A shape without its row (a short table) shows empty values.
            values_.push_back(static_cast<int>(r) < rows ? trimBlanks(dbaseCellText(h, static_cast<int>(r), f))
                                                         : std::string());
        }
    }
}

void RecordSet::moveNext() {
    if (current_ < records_.size()) ++current_;
}

const std::string& RecordSet::fieldName(int i) const {
    if (i < 0 || i >= fieldCount()) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    return fieldNames_[i];
}

int RecordSet::fieldType(int i) const {
    if (i < 0 || i >= fieldCount()) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    return fieldTypes_[i];
}

void RecordSet::requireRecord() const {
    if (eof()) throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument: no current record");
}

const std::string& RecordSet::value(const std::string& name) const {
    requireRecord();
    for (std::size_t f = 0; f < fieldNames_.size(); ++f)
        if (fieldNames_[f] == name) return values_[current_ * fieldNames_.size() + f];
    throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument: no field " + name);
}

MapShape RecordSet::shape() const {
    requireRecord();
    return shapes_->shape(records_[current_]);
}

std::uint32_t RecordSet::recordNumber() const {
    requireRecord();
    return records_[current_];
}

}  // namespace velmora::map
