#include "convert/shapedesc/ShapeDescriptionWriter.h"

#include <charconv>
#include <initializer_list>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"

namespace velmora::shapedesc {

namespace {

// One line is assembled here and written whole; reused so that a writer of millions of records does not
// allocate per line.
std::string& lineBuffer(std::string_view key) {
    thread_local std::string line;
    line.assign(key);
    return line;
}

void appendInt(std::string& line, std::int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    line.append(buf, r.ptr);
}

// "，" in CP932. A comma byte is never the second byte of a double-byte character, so every 0x2C in a
// value is a comma of its own.
constexpr std::string_view FullWidthComma = "\x81\x43";

void appendValue(std::string& line, std::string_view value) {
    for (std::size_t from = 0;;) {
        std::size_t comma = value.find(',', from);
        if (comma == std::string_view::npos) {
            line.append(value.substr(from));
            return;
        }
        line.append(value.substr(from, comma - from));
        line.append(FullWidthComma);
        from = comma + 1;
    }
}

template <class Value>
void writeValues(text::LineWriter& h, std::span<const Value> values) {
    std::string& line = lineBuffer("DBFITEM,");
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) line += ',';
        appendValue(line, values[i]);
    }
    h.writeLine(line);
}

// A key followed by one text, or by whole numbers or degrees, each value after a comma.
void writeKeyText(text::LineWriter& w, std::string_view key, std::string_view value) {
    std::string& line = lineBuffer(key);
    line += value;
    w.writeLine(line);
}

void appendKeyValue(std::string& line, std::int64_t v) { appendInt(line, v); }
void appendKeyValue(std::string& line, double v) { text::appendNumber(line, v); }
void appendKeyValue(std::string& line, Millionths v) { text::appendMillionths(line, v.value); }

template <class V>
void writeKeyValues(text::LineWriter& w, std::string_view key, std::initializer_list<V> values) {
    std::string& line = lineBuffer(key);
    for (const V* v = values.begin(); v != values.end(); ++v) {
        if (v != values.begin()) line += ',';
        appendKeyValue(line, *v);
    }
    w.writeLine(line);
}
void writeKeyInts(text::LineWriter& w, std::string_view key, std::initializer_list<std::int64_t> values) {
    writeKeyValues(w, key, values);
}
void writeKeyNumbers(text::LineWriter& w, std::string_view key, std::initializer_list<double> values) {
    writeKeyValues(w, key, values);
}

}  // namespace

void writeMakeFileName(text::LineWriter& h, std::string_view baseUtf8) {
    if (!text::canEncodeCp932(baseUtf8)) throw RunTimeError(err::BadFileNameOrNumber, "Bad file name or number");
    writeKeyText(h, "MAKEFILE_NAME,", text::toCp932(baseUtf8));
}

void writeShapeType(text::LineWriter& h, int kind, int datumCode) { writeKeyInts(h, "SHAPE_TYPE,", {kind, datumCode}); }

void writeFieldCount(text::LineWriter& h, long count) { writeKeyInts(h, "DBFITEM_COUNT,", {count}); }

void writeFieldName(text::LineWriter& h, std::string_view nameCp932, std::string_view typeLetter, long width) {
    std::string& line = lineBuffer("DBFITEM_NAME,");
    line += nameCp932;
    line += ',';
    line += typeLetter;
    line += ',';
    appendInt(line, width);
    line += ",0";
    h.writeLine(line);
}

void writeLinkNo(text::LineWriter& h, std::string_view id) { writeKeyText(h, "LINKNO,", id); }
void writeLinkNo(text::LineWriter& h, std::int64_t id) { writeKeyInts(h, "LINKNO,", {id}); }

void writeBox(text::LineWriter& h, double minX, double minY, double maxX, double maxY) {
    writeKeyNumbers(h, "BOX,", {minX, minY, maxX, maxY});
}

void writeBox(text::LineWriter& h, Millionths minX, Millionths minY, Millionths maxX, Millionths maxY) {
    writeKeyValues(h, "BOX,", {minX, minY, maxX, maxY});
}

void writeBox(text::LineWriter& h, std::string_view minX, std::string_view minY, std::string_view maxX,
              std::string_view maxY) {
    std::string& line = lineBuffer("BOX,");
    for (std::string_view v : {minX, minY, maxX, maxY}) {
        if (line.size() > 4) line += ',';
        line += v;
    }
    h.writeLine(line);
}

void writePartsPoints(text::LineWriter& h, long parts, long points) { writeKeyInts(h, "PARTS_POINTS,", {parts, points}); }

void writePartIdx(text::LineWriter& h, std::string_view partIndexText) { writeKeyText(h, "PARTIDX,", partIndexText); }

void writeDbfItem(text::LineWriter& h, std::span<const std::string_view> values) { writeValues(h, values); }
void writeDbfItem(text::LineWriter& h, std::span<const std::string> values) { writeValues(h, values); }

void writeLinkIdx(text::LineWriter& d, std::string_view id) { writeKeyText(d, "LINKIDX,", id); }
void writeLinkIdx(text::LineWriter& d, std::int64_t id) { writeKeyInts(d, "LINKIDX,", {id}); }

void writeLinkData(text::LineWriter& d, double x, double y) { writeKeyNumbers(d, "LINKDATA,", {x, y}); }

void writeLinkData(text::LineWriter& d, Millionths x, Millionths y) { writeKeyValues(d, "LINKDATA,", {x, y}); }

void writeLinkData(text::LineWriter& d, std::string_view xText, std::string_view yText) {
    std::string& line = lineBuffer("LINKDATA,");
    line += xText;
    line += ',';
    line += yText;
    d.writeLine(line);
}

}  // namespace velmora::shapedesc
