#include "brunhale/TableOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "brunhale/Failure.h"
#include "brunhale/FieldNames.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/DbaseNumber.h"
#include "platform/text/Sjis.h"

namespace velmora::brunhale {

Cell dbfCell(const FieldDef& field, std::string_view value, std::string& cell) {
    if (field.type == 'C') {
        cell.assign(text::sjisByteCut(value, 1, field.width));
        return Cell::Value;
    }
    thread_local std::string number;
    try {
        if (!text::dbaseNumberText(value, field.decimals, number)) return Cell::Null;
    } catch (const RunTimeError&) {
        return Cell::TooWide;  // beyond the range of any number ("2D413"): no field holds it
    }
    if (number.size() > static_cast<std::size_t>(field.width)) return Cell::TooWide;
    cell.assign(static_cast<std::size_t>(field.width) - number.size(), ' ');
    cell.append(number);
    return Cell::Value;
}

TableOutput::TableOutput(const std::string& path, const std::vector<FieldDef>& fields, TrackedFiles& files)
    : path_(path), fields_(fields), budget_(32 + 32 * static_cast<std::uint64_t>(fields.size()) + 1 + 1) {
    for (const FieldDef& f : fields) recordBytes_ += static_cast<std::uint64_t>(f.width);
    if (32 + 32 * static_cast<std::uint64_t>(fields.size()) + 1 > 65535 || recordBytes_ > MaxDbfRecordBytes)
        throw Failure(ExitCode::TooLarge, path_ + ": too many or too wide fields for a dBASE table");

    std::string codePage = "LDID/" + std::to_string(ShiftJisLanguageDriver);
    handle_ = DBFCreateLL(path_.c_str(), codePage.c_str(), files.hooks());
    if (!handle_) {
        std::string why = TrackedFiles::firstError();
        throw Failure(ExitCode::NotWritable, "cannot create " + path_ + (why.empty() ? "" : " (" + why + ")"));
    }
    // shapelib would write the end-of-file mark after every appended record and then step back over it,
    // a seek and a buffer refill per record; the mark is written once, when the table is closed.
    DBFSetWriteEndOfFileChar(handle_, 0);
    // Readers show the header's last-update date; shapelib would leave a fixed day of its own there.
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    ::localtime_r(&now, &today);
    DBFSetLastModifiedDate(handle_, today.tm_year, today.tm_mon + 1, today.tm_mday);
    const std::vector<std::string> names = dbfFieldNames(fields);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (DBFAddNativeFieldType(handle_, names[i].c_str(), f.type, f.width, f.decimals) < 0)
            throw Failure(ExitCode::NotWritable, "cannot add field to " + path_);
    }
}

TableOutput::~TableOutput() {
    if (handle_) DBFClose(handle_);
}

void TableOutput::writeRow(std::string_view valuesText, bool hasValues, long line) {
    if (!budget_.add(recordBytes_))
        throw Failure(ExitCode::TooLarge, path_ + " would exceed the dBASE size limit of 2 GB");
    if (fields_.empty()) {
        ++row_;  // written when the table is closed
        return;
    }
    if (hasValues) splitValues(valuesText, values_);
    else values_.clear();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        std::string_view v = i < values_.size() ? values_[i] : std::string_view();
        const FieldDef& f = fields_[i];
        int ok = 0;
        switch (dbfCell(f, v, cell_)) {
            case Cell::Value: ok = DBFWriteAttributeDirectly(handle_, row_, static_cast<int>(i), cell_.data()); break;
            case Cell::Null: ok = DBFWriteNULLAttribute(handle_, row_, static_cast<int>(i)); break;
            case Cell::TooWide:
                throw Failure(ExitCode::Malformed,
                              std::string(HeaderFileName) + " line " + std::to_string(line) + ": value \"" +
                                  text::fromCp932(text::trimBlanks(v)) + "\" is wider than field " + std::to_string(i + 1) +
                                  " (N, width " + std::to_string(f.width) + ")");
        }
        if (!ok || !TrackedFiles::firstError().empty())
            throw Failure(ExitCode::NotWritable, "cannot write " + path_ + ": " + TrackedFiles::firstError());
    }
    ++row_;
}

void TableOutput::close() {
    if (!handle_) return;
    DBFSetWriteEndOfFileChar(handle_, 1);
    DBFClose(handle_);
    handle_ = nullptr;
    if (!TrackedFiles::firstError().empty())
        throw Failure(ExitCode::NotWritable, "cannot write " + path_ + ": " + TrackedFiles::firstError());
    if (fields_.empty() && row_ > 0) appendFlagOnlyRecords();
}

// Every shape keeps its record even without fields, or readers that walk the table find no feature at all.
// dBASE allows records of the deletion flag alone; shapelib keeps no record buffer for a table without
// fields, so they are added to the closed file: the record count in the header, then one blank flag per
// record and the end mark after the header.
void TableOutput::appendFlagOnlyRecords() {
    auto failed = [&] { return Failure(ExitCode::NotWritable, "cannot write " + path_ + ": " + std::strerror(errno)); };
    std::FILE* f = std::fopen(path_.c_str(), "r+b");
    if (!f) throw failed();
    unsigned char header[32];
    const std::uint32_t n = static_cast<std::uint32_t>(row_);
    const unsigned char count[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                    static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
    bool ok = std::fread(header, 1, sizeof header, f) == sizeof header && std::fseek(f, 4, SEEK_SET) == 0 &&
              std::fwrite(count, 1, 4, f) == 4 && std::fseek(f, header[8] | header[9] << 8, SEEK_SET) == 0;
    const std::string blanks(1 << 16, ' ');
    for (std::uint32_t left = n; ok && left > 0;) {
        const std::size_t part = std::min<std::size_t>(left, blanks.size());
        ok = std::fwrite(blanks.data(), 1, part, f) == part;
        left -= static_cast<std::uint32_t>(part);
    }
    ok = ok && std::fputc(0x1A, f) != EOF;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw failed();
}

}  // namespace velmora::brunhale
