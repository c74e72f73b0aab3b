#include "polygon/core/DbfHeader.h"

#include <algorithm>
#include <cstring>

#include "polygon/core/TextUtil.h"

namespace ostrand {

DbfFieldDescriptor make_field_descriptor(const std::string& name, char type, int length, int decimals) {
    DbfFieldDescriptor d;
    std::memcpy(d.bytes, name.data(), std::min<std::size_t>(name.size(), 11));
    d.bytes[11] = static_cast<std::uint8_t>(type);
    d.bytes[16] = static_cast<std::uint8_t>(length);
    d.bytes[17] = static_cast<std::uint8_t>(decimals);
    return d;
}

void write_field_descriptor(BinaryFile& out, const DbfFieldDescriptor& d) { out.write(d.bytes, sizeof d.bytes); }

DbfHeader::DbfHeader(std::int32_t count) : record_count(count) {
    const LocalTime t = local_now();
    date[0] = static_cast<std::uint8_t>(t.year - 1900);
    date[1] = static_cast<std::uint8_t>(t.month);
    date[2] = static_cast<std::uint8_t>(t.day);
    reserved[29 - 12] = kDbfLanguageDriverSjis;
}

void DbfHeader::add_field(const FieldSpec& output) {
    fields.push_back(make_field_descriptor(output.name, output.type, output.a, output.b));
    update_record_length();
}

void DbfHeader::update_record_length() {
    int length = 1;
    for (const DbfFieldDescriptor& d : fields) length += d.bytes[16];
    record_length = static_cast<std::uint16_t>(length);
}

void DbfHeader::write(BinaryFile& out) {
    const LocalTime t = local_now();
    date[0] = static_cast<std::uint8_t>(t.year - 1900);
    date[1] = static_cast<std::uint8_t>(t.month);
    date[2] = static_cast<std::uint8_t>(t.day);
    header_length = static_cast<std::uint16_t>(32 * fields.size() + 33);
    out.put_byte(version);
    out.write(date, 3);
    out.put_le32(record_count);
    out.put_le16(header_length);
    out.put_le16(record_length);
    out.write(reserved, sizeof reserved);
    for (const DbfFieldDescriptor& d : fields) write_field_descriptor(out, d);
    out.put_byte(0x0D);
}

namespace {

// One field value of a ledger record, exactly `width` bytes.
void append_field(std::string& rec, const std::string& text, const AttrFieldMap& map) {
    const std::size_t a = static_cast<std::size_t>(map.source.a);
    const std::size_t w = static_cast<std::size_t>(map.output.a);
    if (text.size() <= a) {
        rec.append(w, ' ');
        return;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(map.source.b), text.size() - a);
    if (map.output.type == 'C') {
        std::string v = text.substr(a, n);
        trim(v);
        if (v.size() > w) v.resize(w);
        rec += v;
        rec.append(w - v.size(), ' ');
    } else if (map.output.type == 'N') {
        const std::string v = std::to_string(read_integer(text.data() + a, text.data() + a + n));
        if (v.size() > w) {
            rec.append(w, '*');  // does not fit: dBASE's overflow mark keeps the record length
        } else {
            rec.append(w - v.size(), ' ');
            rec += v;
        }
    }
}

}  // namespace

void write_attr_table(const std::string& output_path, int data_id, const std::map<int, std::string>& attr_records) {
    OutputFiles out;
    write_attr_table(output_path, data_id, attr_records, out);
    out.commit();
}

void write_attr_table(const std::string& output_path, int data_id, const std::map<int, std::string>& attr_records,
                      OutputFiles& out) {
    const AttrFieldTable* table = find_attr_field_table(data_id);
    if (!table) throw std::string("Invalid data id. KsPolygonMaker::save_dbf()");
    BinaryFile& file = out.create(remove_extension(output_path) + ".dbf", "File open failure. KsPolygonMaker::save_dbf()",
                                  "File write failure. KsPolygonMaker::save_dbf()");
    DbfHeader header(static_cast<std::int32_t>(attr_records.size()));
    for (const AttrFieldMap& f : table->fields) header.add_field(f.output);
    header.write(file);
    std::string rec;
    for (const auto& [number, text] : attr_records) {
        rec.assign(1, ' ');
        for (const AttrFieldMap& f : table->fields) append_field(rec, text, f);
        file.write(rec);
    }
    file.put_byte(0x1A);
}

}  // namespace ostrand
