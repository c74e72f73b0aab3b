#pragma once
// One SQL statement with bound values, its rows read by column name. Values are always bound ("?" or
// "?N" in the SQL), never written into the SQL text. Binding again after rows were read starts the
// statement over, so one Query serves any number of look-ups:
//
//   Query q = db.query("SELECT * FROM 表台帳データ WHERE 属性番号 = ?");
//   q.bind(1, key);
//   if (q.next()) title = q.asText("表題");
//
// Text values are the CP932 bytes as stored; they compare and sort byte-wise (SQLite's BINARY order), in
// WHERE, ORDER BY, GROUP BY and DISTINCT alike. SQL functions that interpret text (length, substr, upper,
// LIKE beyond ASCII) see UTF-8 rules and must not be used on CP932 values.
// Queries whose rows feed an output give an ORDER BY with tie-breakers; "rowid" is the order in which the
// rows were appended.
#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3_stmt;

namespace velmora::db {

namespace detail {
struct Connection;
}

class Query {
public:
    Query(std::shared_ptr<detail::Connection> connection, std::string_view sql);
    ~Query();
    Query(Query&& other) noexcept;
    Query& operator=(Query&& other) noexcept;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Positions are 1-based, as "?N" in the SQL.
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    Query& bind(int position, T value) {
        return bindWhole(position, static_cast<std::int64_t>(value));
    }
    Query& bind(int position, double value);
    Query& bind(int position, std::string_view text);
    Query& bind(int position, const char* text) { return bind(position, std::string_view(text)); }
    Query& bind(int position, const std::string& text) { return bind(position, std::string_view(text)); }
    Query& bindNull(int position);

    // Moves to the next row; false when there is none (then stays false until bound again or reset).
    // Statements without rows (UPDATE, DELETE) run on the first call.
    bool next();
    // Starts over with the same bound values.
    void reset();

    int columnCount() const;
    std::string columnName(int column) const;
    // Position of a column by name (ASCII letters without regard to case); 3265 when there is none.
    int column(std::string_view name) const;

    // The current row's values; 3021 without a current row.
    bool isNull(int column) const;
    bool isNull(std::string_view name) const { return isNull(column(name)); }
    // A 32-bit whole number: a Null is 94, a fraction rounds half to even, out of range 6, text not
    // numeric 13.
    std::int32_t asLong(int column) const;
    std::int32_t asLong(std::string_view name) const { return asLong(column(name)); }
    // A Null is 94, text not numeric 13.
    double asDouble(int column) const;
    double asDouble(std::string_view name) const { return asDouble(column(name)); }
    // The value as text: a text as stored, a number in its plain decimal form, a Null as "".
    std::string asText(int column) const;
    std::string asText(std::string_view name) const { return asText(column(name)); }
    // The same text into `out`, reusing its room (readers of many rows).
    void readText(int column, std::string& out) const;

private:
    Query& bindWhole(int position, std::int64_t value);
    void prepareToBind();
    void checkRow(int column) const;
    void release() noexcept;

    std::shared_ptr<detail::Connection> connection_;
    sqlite3_stmt* stmt_ = nullptr;
    std::unordered_map<std::string, int> byName_;  // folded name -> column
    int columns_ = 0;
    bool started_ = false;
    bool onRow_ = false;
    bool done_ = false;
};

}  // namespace velmora::db
