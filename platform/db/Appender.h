#pragma once
// Appends rows to one table through prepared INSERTs, kept by the Database and reused for every row of
// every input file. Fields are set by name (ASCII letters without regard to case); a field not set in a
// row stays Null. Every value passes the field rules of FieldRules.h as it is set, so a refused value
// throws before the row reaches the table, and the row being built is simply never saved.
//
// A table without a unique index takes its saved rows in groups, several rows to one INSERT: a statement
// per row costs more than the row itself. Rows still gathered are written before anything reads the
// database, commits or closes it (the Database and its queries see to that), so no reader ever misses
// a saved row and the rows keep the order they were saved in. A table with a unique index writes each
// row as it is saved, where its repeated key is refused, unless its loader asks for groups
// (dropRepeatedKeys, writeInGroups).
//
//   Appender& a = db.appender("ノードデータ");
//   a.newRow();
//   a.set("レイヤコード", line.substr(0, 3));       // as read: refused unless it fits
//   a.setIfNumeric("ノード属性番号", cut);          // only when it reads as a number, else Null
//   a.save();                                        // 3022 when a unique index already holds the key
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/db/FieldType.h"

struct sqlite3_stmt;

namespace velmora::db {

namespace detail {
struct Connection;
}

class Appender {
public:
    Appender(detail::Connection& connection, std::string table);
    ~Appender();
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;

    // Starts a row: every field Null again (also after a row abandoned by a refused value).
    void newRow();

    // A text value as read: converted by the field's rules (3421, 3349, 3163).
    void set(std::string_view field, std::string_view text);
    void set(std::string_view field, const char* text) { set(field, std::string_view(text)); }
    void set(std::string_view field, const std::string& text) { set(field, std::string_view(text)); }
    // A number: range-checked for whole-number fields, rounded half to even from a double.
    void set(std::string_view field, double value);
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    void set(std::string_view field, T value) {
        setWhole(field, static_cast<std::int64_t>(value));
    }
    void setNull(std::string_view field);
    // Stores the text only when it reads as a number (text::isNumeric); otherwise the field stays Null.
    // True when stored.
    bool setIfNumeric(std::string_view field, std::string_view text);

    // Saves the row and starts the next one. 3022: a unique index already holds the key (the row is
    // dropped, appending goes on); 3058: a field of a unique index was left Null.
    void save();
    // Writes the saved rows still gathered into the table.
    void flush();
    // From now on a row whose key a unique index already holds is dropped without a word instead of
    // failing its save with 3022, for loaders that keep the first record of a key anyway: its rows are
    // then written in groups like those of a table without a unique index. A key left Null is still 3058.
    void dropRepeatedKeys();
    // For a table whose unique key the loader numbers itself with a running number that never repeats:
    // its rows are written in groups too. A repeated key, a fault of the numbering, still fails with
    // 3022, where its group is written.
    void writeInGroups();

    const std::string& table() const { return table_; }
    const std::vector<FieldDef>& fields() const { return fields_; }

private:
    // A converted value waiting for its row to be written.
    struct Value {
        enum class Kind : unsigned char { Null, Whole, Real, Text } kind = Kind::Null;
        std::int64_t whole = 0;
        double real = 0;
        std::string text;
    };

    int indexOf(std::string_view field);
    void setWhole(std::string_view field, std::int64_t value);
    template <class V>
    void store(std::string_view field, const V& value);
    Value& slot(int field) { return rows_[static_cast<std::size_t>(gathered_) * fields_.size() + static_cast<std::size_t>(field)]; }
    void clearRow(int row);
    void bindRow(sqlite3_stmt* stmt, int row, int firstParameter);
    void step(sqlite3_stmt* stmt);
    // (Re)prepares the INSERTs: one row, and a group of rows when `grouped`.
    void prepareInserts(bool grouped, const std::string& insert);

    detail::Connection& connection_;
    std::string table_;
    std::vector<FieldDef> fields_;
    std::vector<char> isSet_;
    std::vector<int> uniqueFields_;  // positions of the fields of unique indexes
    bool droppingRepeatedKeys_ = false;
    bool clear_ = true;              // no value set since the last newRow
    std::unordered_map<std::string, int> byName_;  // folded name -> position
    int nextGuess_ = 0;
    int groupRows_ = 1;              // rows written by one INSERT of a full group
    int gathered_ = 0;               // saved rows not yet written
    std::vector<Value> rows_;        // groupRows_ rows of values; the row being built follows the saved ones
    sqlite3_stmt* insert_ = nullptr;       // one row
    sqlite3_stmt* groupInsert_ = nullptr;  // groupRows_ rows (none when that is 1)
};

}  // namespace velmora::db
