#pragma once
// dBASE III table header (no memo) and the attribute table of a polygon job.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "polygon/core/BinaryFile.h"
#include "polygon/core/DataItems.h"
#include "polygon/core/OutputFiles.h"

namespace ostrand {

// Language driver byte (offset 29): Shift-JIS, so that readers decode names and values correctly.
inline constexpr std::uint8_t kDbfLanguageDriverSjis = 0x13;

struct DbfFieldDescriptor {
    std::uint8_t bytes[32] = {};
};

// Name (cut at 11 bytes, filled with 0), type, length and decimals.
DbfFieldDescriptor make_field_descriptor(const std::string& name, char type, int length, int decimals);
void write_field_descriptor(BinaryFile& out, const DbfFieldDescriptor& d);

class DbfHeader {
public:
    explicit DbfHeader(std::int32_t record_count);
    virtual ~DbfHeader() = default;

    void add_field(const FieldSpec& output);
    void update_record_length();
    // The header bytes (date taken again from the clock), the descriptors, then 0x0D.
    void write(BinaryFile& out);

    std::uint8_t version = 3;
    std::uint8_t date[3] = {};
    std::int32_t record_count = 0;
    std::uint16_t header_length = 33;
    std::uint16_t record_length = 1;
    std::uint8_t reserved[20] = {};
    std::vector<DbfFieldDescriptor> fields;
};

// Writes the attribute table of a job: remove_extension(output_path) + ".dbf", one record per ledger
// record in ascending attribute number, fields cut by the data item's field map. Throws
// "Invalid data id. KsPolygonMaker::save_dbf()" when the item has no field map (nothing is written),
// "File open failure. KsPolygonMaker::save_dbf()" when the file cannot be made and
// "File write failure. KsPolygonMaker::save_dbf()" when it cannot be written or put in place.
void write_attr_table(const std::string& output_path, int data_id, const std::map<int, std::string>& attr_records);
// The same table as part of a larger save, put in place by its commit.
void write_attr_table(const std::string& output_path, int data_id, const std::map<int, std::string>& attr_records,
                      OutputFiles& out);

}  // namespace ostrand
