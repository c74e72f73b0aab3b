#pragma once
// The result of a layer search: the found records in ascending record order as a cursor, with the fields of
// the layer's dBASE table (values read when the search ran, CP932 decoded, blanks trimmed) and each
// record's shape. It keeps the layer's shapes alive, so it outlives the layer's removal from the map.
#include "platform/map/MapShape.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::map {

struct ShapeData;

namespace field {
inline constexpr int Whole = 3;
inline constexpr int Decimal = 5;
inline constexpr int Date = 7;
inline constexpr int Text = 8;
inline constexpr int Logical = 11;
}  // namespace field

class RecordSet {
public:
    RecordSet() = default;
    // dbfPath empty: the records have no fields.
    RecordSet(std::shared_ptr<const ShapeData> shapes, const std::string& dbfPath, std::vector<std::uint32_t> records);

    bool eof() const { return current_ >= records_.size(); }
    void moveFirst() { current_ = 0; }
    void moveNext();
    int recordCount() const { return static_cast<int>(records_.size()); }

    int fieldCount() const { return static_cast<int>(fieldNames_.size()); }
    // Throw RunTimeError 9 for an index out of range.
    const std::string& fieldName(int i) const;
    int fieldType(int i) const;
    // The current record's value of the named field; RunTimeError 5 at the end or for an unknown name.
    const std::string& value(const std::string& name) const;
    // The current record's shape (not a field); RunTimeError 5 at the end.
    MapShape shape() const;
    // The current record's number in the layer (0-based, as in its files).
    std::uint32_t recordNumber() const;

private:
    void requireRecord() const;

    std::shared_ptr<const ShapeData> shapes_;
    std::vector<std::uint32_t> records_;
    std::vector<std::string> fieldNames_;
    std::vector<int> fieldTypes_;
    std::vector<std::string> values_;  // records × fields
    std::size_t current_ = 0;
};

}  // namespace velmora::map
