#pragma once
// Lines of the intermediate shape description, one function per key. Each writes one whole line with its
// CR LF into the file it is given (the open FilHFileNo or FilDFileNo, or an extra header file).
//
// Values are CP932 bytes (as cut from records or read from the work databases); the output base is a
// UTF-8 path. Numbers and coordinates are written without the locale: integers as plain decimal,
// coordinates with at most 15 significant digits and no exponent (139.75, 35).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/text/LineWriter.h"

namespace velmora::shapedesc {

// Shape kinds of the "SHAPE_TYPE" line.
namespace Kind {
inline constexpr int Point = 1;
inline constexpr int Line = 3;           // polylines of one part
inline constexpr int MultiPartLine = 4;  // polylines of one or more parts
inline constexpr int Table = 6;          // a dBASE table without shapes
inline constexpr int MeshPolygon = 7;    // one closed ring per mesh cell
}  // namespace Kind

// A coordinate in millionths of a degree (ModPolygon::XYtoMillionths of a stored coordinate), written as
// the same text its degrees give, without going through a double.
struct Millionths {
    std::int64_t value;
};

// ---- header block ----

// "MAKEFILE_NAME," and the base (UTF-8, written as CP932). A base that has no CP932 form cannot travel
// through the description: RunTimeError(BadFileNameOrNumber).
void writeMakeFileName(text::LineWriter& h, std::string_view baseUtf8);
// "SHAPE_TYPE," kind "," datum code (-1, 0 or 2000).
void writeShapeType(text::LineWriter& h, int kind, int datumCode);
// "DBFITEM_COUNT," n.
void writeFieldCount(text::LineWriter& h, long count);
// "DBFITEM_NAME," name "," type letter ("C" or "N") "," width ",0". The name is CP932.
void writeFieldName(text::LineWriter& h, std::string_view nameCp932, std::string_view typeLetter, long width);

// ---- record block of the header file ----

// "LINKNO," id; the id is given as the decimal text the writer holds or as a number.
void writeLinkNo(text::LineWriter& h, std::string_view id);
void writeLinkNo(text::LineWriter& h, std::int64_t id);
// "BOX," minX "," minY "," maxX "," maxY in degrees.
void writeBox(text::LineWriter& h, double minX, double minY, double maxX, double maxY);
void writeBox(text::LineWriter& h, Millionths minX, Millionths minY, Millionths maxX, Millionths maxY);
// "BOX," with coordinate texts the caller formatted (a writer that reuses the texts of shared corners).
void writeBox(text::LineWriter& h, std::string_view minX, std::string_view minY, std::string_view maxX,
              std::string_view maxY);
// "PARTS_POINTS," parts "," points.
void writePartsPoints(text::LineWriter& h, long parts, long points);
// "PARTIDX," and the part-index text ("0" for one part, "0,4,6" for parts of 4, 2 and 5 vertices).
void writePartIdx(text::LineWriter& h, std::string_view partIndexText);
// "DBFITEM," and the values in field order joined by single commas; an empty value stays in its place.
// Nothing in the description is quoted, so a half-width comma inside a value becomes the full-width
// "，": left alone it would shift every later value of the row into the wrong field.
void writeDbfItem(text::LineWriter& h, std::span<const std::string_view> values);
void writeDbfItem(text::LineWriter& h, std::span<const std::string> values);

// ---- coordinate file ----

// "LINKIDX," id.
void writeLinkIdx(text::LineWriter& d, std::string_view id);
void writeLinkIdx(text::LineWriter& d, std::int64_t id);
// "LINKDATA," x "," y in degrees.
void writeLinkData(text::LineWriter& d, double x, double y);
void writeLinkData(text::LineWriter& d, Millionths x, Millionths y);
// "LINKDATA," with the X and Y texts as they stand (the delimited point reader's columns).
void writeLinkData(text::LineWriter& d, std::string_view xText, std::string_view yText);

}  // namespace velmora::shapedesc
