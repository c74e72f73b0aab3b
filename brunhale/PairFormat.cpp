#include "brunhale/PairFormat.h"

#include <charconv>

#include "brunhale/Failure.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"

namespace velmora::brunhale {

namespace {

template <typename Int>
bool parseInt(std::string_view text, Int& value) {
    text = text::trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// A key or value of the pair (CP932) shown in a message (UTF-8): at most 24 characters of it, read as the
// converters wrote it, so a Japanese value reads as itself; a control character or a byte that is no
// CP932 becomes '?'.
std::string shown(std::string_view s) {
    constexpr std::size_t kChars = 24, kBytes = 2 * kChars;
    const std::string utf8 = text::fromCp932(s.substr(0, kBytes));
    std::string out;
    std::size_t chars = 0, i = 0;
    for (; i < utf8.size() && chars < kChars; ++chars) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view ch = std::string_view(utf8).substr(i, length);
        i += ch.size();
        out += (lead < 0x20 || lead == 0x7F || ch == "\xEF\xBF\xBD") ? std::string_view("?") : ch;
    }
    if (i < utf8.size() || s.size() > kBytes) out += "...";
    return out;
}

void openPairFile(text::LineReader& reader, const std::string& path, const char* name) {
    try {
        // The description is the program's own: a pipe feeding it is taken as well.
        reader.open(path, text::LineReader::Accept::AnyFile);
    } catch (const RunTimeError& e) {
        if (e.number() == err::FileNotFound)
            throw Failure(ExitCode::PairMissing, std::string(name) + " not found: " + path);
        throw Failure(ExitCode::PairMissing, std::string(name) + " cannot be opened: " + path);
    }
}

// Commas of the pair stand a few bytes apart: a plain walk finds the next one sooner than memchr, whose
// set-up costs more than such a short search.
std::size_t findComma(std::string_view s, std::size_t from = 0) {
    for (std::size_t i = from; i < s.size(); ++i)
        if (s[i] == ',') return i;
    return std::string_view::npos;
}

constexpr std::size_t kWholeLine = static_cast<std::size_t>(-1) - 1;

bool readLine(text::LineReader& reader, std::string& line, const char* name) {
    try {
        // Blank lines carry nothing and are passed over. The raw read: the description is the program's
        // own file, whose checks are Brunhale's (a value that is no CP932 text is refused by its line).
        while (reader.next(line, kWholeLine))
            if (!line.empty()) return true;
        return false;
    } catch (const RunTimeError&) {
        throw Failure(ExitCode::PairMissing, std::string(name) + " cannot be read");
    }
}

}  // namespace

KeyLine splitKey(std::string_view line) {
    KeyLine k;
    std::size_t comma = findComma(line);
    if (comma == std::string_view::npos) {
        k.key = text::trimBlanks(line);
    } else {
        k.key = text::trimBlanks(line.substr(0, comma));
        k.rest = line.substr(comma + 1);
        k.hasComma = true;
    }
    return k;
}

void splitValues(std::string_view rest, std::vector<std::string_view>& out) {
    // A comma byte is never the second byte of a CP932 character, so splitting bytes is safe.
    out.clear();
    std::size_t from = 0;
    for (;;) {
        std::size_t comma = findComma(rest, from);
        if (comma == std::string_view::npos) {
            out.push_back(rest.substr(from));
            return;
        }
        out.push_back(rest.substr(from, comma - from));
        from = comma + 1;
    }
}

bool parseCoordinate(std::string_view t, double& value) {
    t = text::trimBlanks(t);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = text::trimBlanks(t.substr(1, t.size() - 2));
    try {
        return text::readNumber(t, value);
    } catch (const RunTimeError&) {
        return false;
    }
}

// ---- header file ----

HeaderFileReader::HeaderFileReader(const std::string& path) : fileName_(HeaderFileName) {
    openPairFile(reader_, path, HeaderFileName);
    readHeaderBlock();
}

bool HeaderFileReader::nextLine(std::string& line) { return readLine(reader_, line, HeaderFileName); }

void HeaderFileReader::malformed(long line, const std::string& what) const {
    throw Failure(ExitCode::Malformed, fileName_ + " line " + std::to_string(line) + ": " + what);
}

void HeaderFileReader::readHeaderBlock() {
    auto expect = [&](const char* key) -> KeyLine {
        if (!nextLine(line_)) malformed(reader_.lineNumber() + 1, std::string("missing ") + key);
        KeyLine k = splitKey(line_);
        if (k.key != key) malformed(reader_.lineNumber(), std::string("expected ") + key + ", found \"" + shown(k.key) + "\"");
        if (!k.hasComma) malformed(reader_.lineNumber(), std::string(key) + " has no value");
        return k;
    };

    // The path is taken whole: it may itself hold commas.
    KeyLine name = expect("MAKEFILE_NAME");
    header_.base.assign(name.rest);
    if (text::trimBlanks(header_.base).empty()) malformed(reader_.lineNumber(), "empty output name");

    KeyLine type = expect("SHAPE_TYPE");
    splitValues(type.rest, values_);
    int kind = 0;
    if (values_.size() != 2 || !parseInt(values_[0], kind) || !parseInt(values_[1], header_.datum))
        malformed(reader_.lineNumber(), "SHAPE_TYPE needs a shape kind and a datum code");
    if (kind != 1 && kind != 3 && kind != 4 && kind != 6 && kind != 7)
        malformed(reader_.lineNumber(), "unknown shape kind " + std::to_string(kind));
    header_.kind = static_cast<ShapeKind>(kind);
    if (header_.datum != -1 && header_.datum != 0 && header_.datum != 2000)
        malformed(reader_.lineNumber(), "unknown datum code " + std::to_string(header_.datum));

    KeyLine count = expect("DBFITEM_COUNT");
    int n = 0;
    if (!parseInt(count.rest, n) || n < 0) malformed(reader_.lineNumber(), "DBFITEM_COUNT is not a count");

    for (int i = 0; i < n; ++i) {
        KeyLine f = expect("DBFITEM_NAME");
        splitValues(f.rest, values_);
        if (values_.size() < 4) malformed(reader_.lineNumber(), "DBFITEM_NAME needs name, type, width and decimals");
        // Type, width and decimals are the last three values; a comma inside the name stays in the name.
        std::size_t m = values_.size();
        FieldDef field;
        std::string_view rest = f.rest;
        field.name.assign(rest.substr(0, static_cast<std::size_t>(values_[m - 3].data() - rest.data()) - 1));
        std::string_view type = text::trimBlanks(values_[m - 3]);
        if (field.name.empty()) malformed(reader_.lineNumber(), "empty field name");
        if (type != "C" && type != "N") malformed(reader_.lineNumber(), "field type must be C or N");
        field.type = type.front();
        if (!parseInt(values_[m - 2], field.width) || field.width < 1 || field.width > 254)
            malformed(reader_.lineNumber(), "field width must be 1 to 254");
        if (!parseInt(values_[m - 1], field.decimals) || field.decimals < 0 || field.decimals > 15 ||
            (field.decimals > 0 && field.decimals >= field.width - 1))
            malformed(reader_.lineNumber(), "field decimals out of range");
        if (field.type == 'C') field.decimals = 0;
        header_.fields.push_back(std::move(field));
    }
}

bool HeaderFileReader::next(RecordBlock& block) {
    if (!nextLine(line_)) return false;
    block.line = reader_.lineNumber();
    KeyLine k = splitKey(line_);

    auto need = [&](const char* key) -> KeyLine {
        if (!nextLine(line_))
            malformed(reader_.lineNumber() + 1, "record block of line " + std::to_string(block.line) + " ends before " + key);
        KeyLine kk = splitKey(line_);
        if (kk.key != key) malformed(reader_.lineNumber(), std::string("expected ") + key + ", found \"" + shown(kk.key) + "\"");
        return kk;
    };
    auto takeValues = [&](const KeyLine& kk) {
        block.valuesText.assign(kk.rest);
        block.hasValues = kk.hasComma;
    };

    if (header_.kind == ShapeKind::Table) {
        if (k.key != "DBFITEM") malformed(block.line, "expected DBFITEM, found \"" + shown(k.key) + "\"");
        takeValues(k);
        return true;
    }

    if (k.key != "LINKNO") malformed(block.line, "expected LINKNO, found \"" + shown(k.key) + "\"");
    if (!parseInt(k.rest, block.id)) malformed(block.line, "LINKNO needs a whole number");

    block.parts = 0;
    block.points = 0;
    block.partStarts.clear();
    if (header_.kind != ShapeKind::Point) {
        KeyLine box = need("BOX");
        splitValues(box.rest, values_);
        double v = 0;
        if (values_.size() != 4) malformed(reader_.lineNumber(), "BOX needs four values");
        for (auto t : values_)
            if (!parseCoordinate(t, v)) malformed(reader_.lineNumber(), "BOX value \"" + shown(t) + "\" is not a number");

        KeyLine pp = need("PARTS_POINTS");
        splitValues(pp.rest, values_);
        if (values_.size() != 2 || !parseInt(values_[0], block.parts) || !parseInt(values_[1], block.points) ||
            block.parts < 1 || block.points < 0)
            malformed(reader_.lineNumber(), "PARTS_POINTS needs a part count of at least 1 and a point count");

        KeyLine idx = need("PARTIDX");
        splitValues(idx.rest, values_);
        if (static_cast<int>(values_.size()) != block.parts)
            malformed(reader_.lineNumber(), "PARTIDX has " + std::to_string(values_.size()) + " values for " +
                                                std::to_string(block.parts) + " parts");
        for (auto t : values_) {
            int s = 0;
            if (!parseInt(t, s)) malformed(reader_.lineNumber(), "PARTIDX value \"" + shown(t) + "\" is not a whole number");
            if (block.partStarts.empty() ? s != 0 : s <= block.partStarts.back() || s >= block.points)
                malformed(reader_.lineNumber(), "PARTIDX must start at 0 and rise within the point count");
            block.partStarts.push_back(s);
        }
    }
    takeValues(need("DBFITEM"));
    return true;
}

// ---- coordinate file ----

CoordinateFileReader::CoordinateFileReader(const std::string& path) {
    openPairFile(reader_, path, CoordinateFileName);
    advance();
}

void CoordinateFileReader::malformed(long line, const std::string& what) const {
    throw Failure(ExitCode::Malformed, std::string(CoordinateFileName) + " line " + std::to_string(line) + ": " + what);
}

void CoordinateFileReader::advance() {
    pending_ = false;
    if (!readLine(reader_, line_, CoordinateFileName)) return;
    KeyLine k = splitKey(line_);
    if (k.key != "LINKIDX") malformed(reader_.lineNumber(), "expected LINKIDX, found \"" + shown(k.key) + "\"");
    if (!parseInt(k.rest, pendingId_)) malformed(reader_.lineNumber(), "LINKIDX needs a whole number");
    pending_ = true;
    pendingLine_ = reader_.lineNumber();
}

void CoordinateFileReader::takeList(std::vector<double>& xs, std::vector<double>& ys) {
    xs.clear();
    ys.clear();
    appendList(xs, ys);
}

void CoordinateFileReader::appendList(std::vector<double>& xs, std::vector<double>& ys) {
    pending_ = false;
    constexpr std::string_view kData = "LINKDATA,";
    while (readLine(reader_, line_, CoordinateFileName)) {
        // Nearly every line is "LINKDATA,x,y" as the converters write it: taken apart at once.
        if (std::string_view(line_).substr(0, kData.size()) == kData) {
            const std::string_view rest = std::string_view(line_).substr(kData.size());
            const std::size_t comma = findComma(rest);
            double x = 0, y = 0;
            if (comma != std::string_view::npos && findComma(rest, comma + 1) == std::string_view::npos &&
                parseCoordinate(rest.substr(0, comma), x) && parseCoordinate(rest.substr(comma + 1), y)) {
                xs.push_back(x);
                ys.push_back(y);
                continue;
            }
        }
        KeyLine k = splitKey(line_);
        if (k.key == "LINKDATA") {
            splitValues(k.rest, values_);
            double x = 0, y = 0;
            if (!k.hasComma || values_.size() != 2) malformed(reader_.lineNumber(), "LINKDATA needs x and y");
            if (!parseCoordinate(values_[0], x) || !parseCoordinate(values_[1], y))
                malformed(reader_.lineNumber(), "coordinate \"" + shown(k.rest) + "\" is not a pair of numbers");
            xs.push_back(x);
            ys.push_back(y);
        } else if (k.key == "LINKIDX") {
            if (!parseInt(k.rest, pendingId_)) malformed(reader_.lineNumber(), "LINKIDX needs a whole number");
            pending_ = true;
            pendingLine_ = reader_.lineNumber();
            return;
        } else {
            malformed(reader_.lineNumber(), "expected LINKDATA or LINKIDX, found \"" + shown(k.key) + "\"");
        }
    }
}

}  // namespace velmora::brunhale
