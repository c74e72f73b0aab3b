#include "platform/db/Names.h"

#include "platform/db/DbErrors.h"
#include "platform/text/Cp932.h"

namespace velmora::db {

namespace {
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

void checkName(std::string_view name) {
    bool ok = !name.empty() && name.front() != ' ';
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f || c == '.' || c == '!' || c == '`' || c == '[' || c == ']') ok = false;
    }
    bool encodable = text::canEncodeCp932(name);
    if (ok && encodable) return;
    // A name that is not UTF-8 is most likely CP932 bytes handed over undecoded: show it decoded.
    std::string shown = encodable ? std::string(name) : text::fromCp932(name);
    fail(err::InvalidName, "'" + shown + "' is not a valid name. (Names are UTF-8 and must be writable in CP932.)");
}

std::string quoteName(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    out += '"';
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // callers mostly name a field as it was defined
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string foldName(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = lower(c);
    return out;
}

std::string sqliteIndexName(std::string_view table, std::string_view index) {
    std::string out(table);
    out += '.';
    out += index;
    return out;
}

}  // namespace velmora::db
