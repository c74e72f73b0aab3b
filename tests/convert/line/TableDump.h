#pragma once
// Tables of the line database as text, for comparing what a load stored with what was expected: one
// string per row in append order, values joined by "|", a Null as "NULL", texts decoded to UTF-8 and
// untrimmed, so trailing blanks show.
#include <string>
#include <vector>

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
