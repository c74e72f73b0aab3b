#pragma once
// Tables of the line database as text, for comparing what a load stored with what was expected: one
// string per row in append order, values joined by "|", a Null as "NULL", texts decoded to UTF-8 and
// untrimmed, so trailing blanks show.
#include <string>
#include <vector>

#include "convert/line/LinkVertexStore.h"
#include "platform/db/Database.h"
#include "platform/db/Names.h"
#include "platform/text/Cp932.h"

namespace velmora::testsupport {

using Dump = std::vector<std::string>;

inline Dump dumpTable(const db::Database& database, const std::string& table) {
    db::Query q = database.query("SELECT * FROM " + db::quoteName(table) + " ORDER BY rowid");
    Dump rows;
    while (q.next()) {
        std::string row;
        for (int c = 0; c < q.columnCount(); ++c) {
            if (c) row += "|";
            if (q.isNull(c)) row += "NULL";
            else row += q.asText(c);
        }
        rows.push_back(text::fromCp932(row));
    }
    return rows;
}

// The points the loader kept for the database's links, one "LinkIdx|x|y" per point, by LinkIdx and in
// reading order.
inline Dump dumpLinkPoints(db::Database& database) {
    const ModLine::LinkVertexStore& store = ModLine::linkVertexStore(database);
    Dump rows;
    for (std::int32_t idx = 1; idx <= store.lastLinkIdx(); ++idx)
        store.forEach(idx, [&](ModLine::LinkPoint p) {
            rows.push_back(std::to_string(idx) + "|" + std::to_string(p.x) + "|" + std::to_string(p.y));
        });
    return rows;
}
// The key of those points among the dumps of a database's tables.
inline const std::string kLinkPoints = "(link points)";

// Builds one expected row value by value.
class RowText {
public:
    RowText& v(long long n) { return add(std::to_string(n)); }
    RowText& t(const std::string& utf8) { return add(utf8); }
    RowText& null() { return add("NULL"); }
    template <class O>
    RowText& opt(const O& o) { return o ? v(*o) : null(); }
    operator std::string() const { return s_; }

private:
    RowText& add(const std::string& x) {
        if (!first_) s_ += "|";
        first_ = false;
        s_ += x;
        return *this;
    }
    std::string s_;
    bool first_ = true;
};

}  // namespace velmora::testsupport
