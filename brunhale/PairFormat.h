#pragma once
// Reading the intermediate shape description: the header file (header block, then one record block per
// shape or table row) and the coordinate file (one vertex list per shape). Both are read line by line,
// so a pair of any size is converted in constant memory.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/LineReader.h"

namespace velmora::brunhale {

inline constexpr const char* HeaderFileName = "MakeShapeFile.fil_H";
inline constexpr const char* CoordinateFileName = "MakeShapeFile.fil_D";

enum class ShapeKind : int { Point = 1, Line = 3, MultiPartLine = 4, Table = 6, Polygon = 7 };

struct FieldDef {
    std::string name;  // CP932 bytes as written in the pair
    char type = 'C';   // 'C' or 'N'
    int width = 0;
    int decimals = 0;
};

struct HeaderBlock {
    std::string base;  // CP932 bytes: the output path without extension
    ShapeKind kind = ShapeKind::Point;
    int datum = -1;    // -1 none, 0 Tokyo, 2000 JGD2000
    std::vector<FieldDef> fields;
};

// One record block of the header file. For a table (kind 6) only `values` and `line` are set.
struct RecordBlock {
    long line = 0;        // line number of the block's first line
    std::int64_t id = 0;  // LINKNO
    int parts = 0;        // PARTS_POINTS
    int points = 0;
    std::vector<int> partStarts;  // PARTIDX
    std::string valuesText;       // everything after "DBFITEM," (CP932 bytes)
    bool hasValues = false;       // false for a "DBFITEM" line without a comma
};

// Splits a line at its first comma: the key and the text of its values.
struct KeyLine {
    std::string_view key;
    std::string_view rest;
    bool hasComma = false;
};
KeyLine splitKey(std::string_view line);

// Values of a key separated by single commas; an empty text gives one empty value.
void splitValues(std::string_view rest, std::vector<std::string_view>& out);

// A coordinate or box value: blanks around it and one pair of enclosing double quotes are allowed.
// False when the text is not a number.
bool parseCoordinate(std::string_view text, double& value);

class HeaderFileReader {
public:
    explicit HeaderFileReader(const std::string& path);
    const HeaderBlock& header() const { return header_; }
    // Next record block; false at the end of the file.
    bool next(RecordBlock& block);
    const std::string& fileName() const { return fileName_; }

private:
    void readHeaderBlock();
    bool nextLine(std::string& line);
    [[noreturn]] void malformed(long line, const std::string& what) const;

    text::LineReader reader_;
    std::string fileName_;
    HeaderBlock header_;
    std::string line_;
    std::vector<std::string_view> values_;
};

class CoordinateFileReader {
public:
    explicit CoordinateFileReader(const std::string& path);
    // Whether a vertex list is waiting, and its id and line number.
    bool hasList() const { return pending_; }
    std::int64_t nextId() const { return pendingId_; }
    long nextLine() const { return pendingLine_; }
    // Reads the waiting vertex list into xs and ys.
    void takeList(std::vector<double>& xs, std::vector<double>& ys);
    // Reads it onto the end of xs and ys.
    void appendList(std::vector<double>& xs, std::vector<double>& ys);

private:
    void advance();
    [[noreturn]] void malformed(long line, const std::string& what) const;

    text::LineReader reader_;
    std::string line_;
    bool pending_ = false;
    std::int64_t pendingId_ = 0;
    long pendingLine_ = 0;
    std::vector<std::string_view> values_;
};

}  // namespace velmora::brunhale
