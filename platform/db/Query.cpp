#include "platform/db/Query.h"

#include <sqlite3.h>

#include <charconv>

#include <utility>

#include "platform/db/Connection.h"
#include "platform/db/DbErrors.h"
#include "platform/db/Names.h"
#include "platform/text/Conversions.h"

namespace velmora::db {

Query::Query(std::shared_ptr<detail::Connection> connection, std::string_view sql)
    : connection_(std::move(connection)) {
    stmt_ = connection_->prepare(sql);
    const int n = columns_ = sqlite3_column_count(stmt_);
    for (int i = 0; i < n; ++i) byName_.emplace(foldName(sqlite3_column_name(stmt_, i)), i);  // first wins
}

Query::~Query() { release(); }

void Query::release() noexcept {
    // After the database closed, its close has finalized this statement already.
    if (stmt_ && connection_ && connection_->handle) sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

Query::Query(Query&& other) noexcept
    : connection_(std::move(other.connection_)),
      stmt_(std::exchange(other.stmt_, nullptr)),
      byName_(std::move(other.byName_)),
      columns_(other.columns_),
      started_(other.started_),
      onRow_(other.onRow_),
      done_(other.done_) {}

Query& Query::operator=(Query&& other) noexcept {
    if (this != &other) {
        release();
        connection_ = std::move(other.connection_);
        stmt_ = std::exchange(other.stmt_, nullptr);
        byName_ = std::move(other.byName_);
        columns_ = other.columns_;
        started_ = other.started_;
        onRow_ = other.onRow_;
        done_ = other.done_;
    }
    return *this;
}

void Query::prepareToBind() {
    connection_->checkOpen();
    if (started_) reset();
}

void Query::reset() {
    connection_->checkOpen();
    sqlite3_reset(stmt_);
    started_ = onRow_ = done_ = false;
}

namespace {
void checkBind(sqlite3* handle, int rc) {
    if (rc == SQLITE_RANGE) fail(err::ItemNotFound, "Item not found in this collection. (no such parameter)");
    if (rc != SQLITE_OK) failEngine(handle, rc);
}
}  // namespace

Query& Query::bindWhole(int position, std::int64_t value) {
    prepareToBind();
    checkBind(connection_->handle, sqlite3_bind_int64(stmt_, position, value));
    return *this;
}

Query& Query::bind(int position, double value) {
    prepareToBind();
    checkBind(connection_->handle, sqlite3_bind_double(stmt_, position, value));
    return *this;
}

Query& Query::bind(int position, std::string_view text) {
    prepareToBind();
    checkBind(connection_->handle,
              sqlite3_bind_text(stmt_, position, detail::nonNullData(text),
                          static_cast<int>(text.size()), SQLITE_TRANSIENT));
    return *this;
}

Query& Query::bindNull(int position) {
    prepareToBind();
    checkBind(connection_->handle, sqlite3_bind_null(stmt_, position));
    return *this;
}

bool Query::next() {
    connection_->checkOpen();
    if (done_) return false;
    if (!started_) connection_->flushAppenders();  // a query made before the latest rows were saved
    started_ = true;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return onRow_ = true;
    onRow_ = false;
    done_ = true;
    if (rc != SQLITE_DONE) {
        try {
            failEngine(connection_->handle, rc);
        } catch (...) {
            sqlite3_reset(stmt_);
            throw;
        }
    }
    return false;
}

int Query::columnCount() const {
    connection_->checkOpen();
    return sqlite3_column_count(stmt_);
}

std::string Query::columnName(int column) const {
    connection_->checkOpen();
    const char* name = sqlite3_column_name(stmt_, column);
    if (!name) fail(err::ItemNotFound, "Item not found in this collection. (column " + std::to_string(column) + ")");
    return name;
}

int Query::column(std::string_view name) const {
    auto it = byName_.find(foldName(name));
    if (it == byName_.end()) fail(err::ItemNotFound, "Item not found in this collection. (" + std::string(name) + ")");
    return it->second;
}

void Query::checkRow(int column) const {
    connection_->checkOpen();
    if (!onRow_) fail(err::NoCurrentRecord, "No current record.");
    if (column < 0 || column >= columns_)
        fail(err::ItemNotFound, "Item not found in this collection. (column " + std::to_string(column) + ")");
}

bool Query::isNull(int column) const {
    checkRow(column);
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

namespace {
[[noreturn]] void failNull() { fail(err::InvalidUseOfNull, "Invalid use of Null"); }

std::string_view textOf(sqlite3_stmt* s, int column) {
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(s, column))) : std::string_view();
}
}  // namespace

std::int32_t Query::asLong(int column) const {
    checkRow(column);
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: failNull();
    case SQLITE_INTEGER: {
        sqlite3_int64 v = sqlite3_column_int64(stmt_, column);
        if (v < INT32_MIN || v > INT32_MAX) fail(velmora::err::Overflow, "Overflow");
        return static_cast<std::int32_t>(v);
    }
    case SQLITE_FLOAT: return text::cLng(sqlite3_column_double(stmt_, column));
    default: return text::cLng(textOf(stmt_, column));
    }
}

double Query::asDouble(int column) const {
    checkRow(column);
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: failNull();
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_column_int64(stmt_, column));
    case SQLITE_FLOAT: return sqlite3_column_double(stmt_, column);
    default: return text::toDouble(textOf(stmt_, column));
    }
}

std::string Query::asText(int column) const {
    std::string text;
    readText(column, text);
    return text;
}

void Query::readText(int column, std::string& out) const {
    checkRow(column);
    out.clear();
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: return;
    case SQLITE_INTEGER: {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, sqlite3_column_int64(stmt_, column));
        out.append(buf, r.ptr);
        return;
    }
    case SQLITE_FLOAT: text::appendNumber(out, sqlite3_column_double(stmt_, column)); return;
    default: out.append(textOf(stmt_, column));
    }
}

}  // namespace velmora::db
