#include "platform/db/Appender.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/db/Connection.h"
#include "platform/db/DbErrors.h"
#include "platform/db/FieldRules.h"
#include "platform/db/Names.h"
#include "platform/text/Conversions.h"

namespace velmora::db {

namespace {

// Rows written by one INSERT of a table without a unique index. Past a few dozen the statement's own
// cost no longer shows.
constexpr std::size_t kGroupRows = 32;

struct Statement {
    sqlite3_stmt* s;
    ~Statement() { sqlite3_finalize(s); }
};

std::string_view columnText(sqlite3_stmt* s, int i) {
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(s, i))) : std::string_view();
}

}  // namespace

Appender::Appender(detail::Connection& connection, std::string table)
    : connection_(connection), table_(std::move(table)) {
    {
        Statement info{connection_.prepare("SELECT name, type FROM pragma_table_info(?1)")};
        sqlite3_bind_text(info.s, 1, table_.data(), static_cast<int>(table_.size()), SQLITE_STATIC);
        while (sqlite3_step(info.s) == SQLITE_ROW) {
            auto field = fieldFromDeclaredType(std::string(columnText(info.s, 0)), columnText(info.s, 1));
            if (!field) fail(err::EngineError, "Field of an unknown type in table " + table_);
            fields_.push_back(std::move(*field));
        }
    }
    if (fields_.empty()) fail(err::TableNotFound, "Cannot find the input table or query '" + table_ + "'.");
    isSet_.assign(fields_.size(), 0);
    for (std::size_t i = 0; i < fields_.size(); ++i) byName_.emplace(foldName(fields_[i].name), static_cast<int>(i));
    {
        Statement keys{connection_.prepare(
            "SELECT ii.name FROM pragma_index_list(?1) AS il, pragma_index_info(il.name) AS ii "
            "WHERE il.\"unique\"")};
        sqlite3_bind_text(keys.s, 1, table_.data(), static_cast<int>(table_.size()), SQLITE_STATIC);
        while (sqlite3_step(keys.s) == SQLITE_ROW) {
            auto it = byName_.find(foldName(columnText(keys.s, 0)));
            if (it != byName_.end() && std::find(uniqueFields_.begin(), uniqueFields_.end(), it->second) == uniqueFields_.end())
                uniqueFields_.push_back(it->second);
        }
        std::sort(uniqueFields_.begin(), uniqueFields_.end());  // a missing key is named in field order
    }
    prepareInserts(uniqueFields_.empty(), "INSERT INTO ");
    connection_.appenders.push_back(this);
}

void Appender::prepareInserts(bool grouped, const std::string& insert) {
    sqlite3_finalize(insert_);
    sqlite3_finalize(groupInsert_);
    insert_ = groupInsert_ = nullptr;
    const std::size_t n = fields_.size();
    // A full group binds groupRows_ × n values: well within the engine's limit of 32766.
    groupRows_ = grouped ? static_cast<int>(std::clamp<std::size_t>(32766 / n, 1, kGroupRows)) : 1;
    rows_.resize(static_cast<std::size_t>(groupRows_) * n);
    std::string sql = insert + quoteName(table_) + " (";
    for (std::size_t i = 0; i < n; ++i) {
        if (i) sql += ',';
        sql += quoteName(fields_[i].name);
    }
    sql += ") VALUES ";
    std::string row = "(";
    for (std::size_t i = 0; i < n; ++i) row += i ? ",?" : "?";
    row += ")";
    insert_ = connection_.prepare(sql + row);
    if (groupRows_ > 1) {
        std::string group = sql;
        for (int r = 0; r < groupRows_; ++r) group += (r ? "," : "") + row;
        groupInsert_ = connection_.prepare(group);
    }
}

void Appender::dropRepeatedKeys() {
    if (uniqueFields_.empty() || droppingRepeatedKeys_) return;
    // Also after writeInGroups: the statements change.
    flush();
    // The engine keeps the first row of a key and passes over the later ones, also within one group.
    prepareInserts(true, "INSERT OR IGNORE INTO ");
    droppingRepeatedKeys_ = true;
}

void Appender::writeInGroups() {
    if (uniqueFields_.empty() || groupRows_ > 1) return;
    flush();
    prepareInserts(true, "INSERT INTO ");
}

Appender::~Appender() {
    auto& list = connection_.appenders;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    sqlite3_finalize(insert_);
    sqlite3_finalize(groupInsert_);
}

int Appender::indexOf(std::string_view field) {
    // Loaders set the fields in table order: the next field is nearly always the one asked for.
    int i = nextGuess_;
    if (i >= static_cast<int>(fields_.size()) || !sameName(fields_[static_cast<std::size_t>(i)].name, field)) {
        auto it = byName_.find(foldName(field));
        if (it == byName_.end())
            fail(err::ItemNotFound, "Item not found in this collection. (" + table_ + "." + std::string(field) + ")");
        i = it->second;
    }
    nextGuess_ = i + 1;
    return i;
}

void Appender::clearRow(int row) {
    const std::size_t n = fields_.size();
    for (std::size_t i = 0; i < n; ++i) rows_[static_cast<std::size_t>(row) * n + i].kind = Value::Kind::Null;
}

void Appender::newRow() {
    nextGuess_ = 0;
    if (clear_) return;  // save() has cleared the row already
    clearRow(gathered_);
    std::fill(isSet_.begin(), isSet_.end(), 0);
    clear_ = true;
}

template <class V>
void Appender::store(std::string_view name, const V& value) {
    connection_.checkOpen();
    const int i = indexOf(name);
    const FieldDef& field = fields_[static_cast<std::size_t>(i)];
    // Converted by the field's rules before the slot changes: a refused value leaves it as it was.
    Value& v = slot(i);
    switch (field.type) {
    case FieldType::Integer:
    case FieldType::Long:
        v.whole = wholeNumberFor(field, value);
        v.kind = Value::Kind::Whole;
        break;
    case FieldType::Double:
        v.real = doubleFor(field, value);
        v.kind = Value::Kind::Real;
        break;
    case FieldType::Text:
        v.text = textFor(field, value);
        v.kind = Value::Kind::Text;
        break;
    }
    clear_ = false;
    isSet_[static_cast<std::size_t>(i)] = 1;
}

void Appender::set(std::string_view name, std::string_view text) { store(name, text); }
void Appender::set(std::string_view name, double value) { store(name, value); }
void Appender::setWhole(std::string_view name, std::int64_t value) { store(name, value); }

void Appender::setNull(std::string_view name) {
    connection_.checkOpen();
    const int i = indexOf(name);
    clear_ = false;
    slot(i).kind = Value::Kind::Null;
    isSet_[static_cast<std::size_t>(i)] = 0;
}

bool Appender::setIfNumeric(std::string_view name, std::string_view text) {
    if (text::isNumeric(text)) {
        set(name, text);
        return true;
    }
    setNull(name);
    return false;
}

void Appender::bindRow(sqlite3_stmt* stmt, int row, int firstParameter) {
    const std::size_t n = fields_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Value& v = rows_[static_cast<std::size_t>(row) * n + i];
        const int p = firstParameter + static_cast<int>(i);
        switch (v.kind) {
        case Value::Kind::Null: sqlite3_bind_null(stmt, p); break;
        case Value::Kind::Whole: sqlite3_bind_int64(stmt, p, v.whole); break;
        case Value::Kind::Real: sqlite3_bind_double(stmt, p, v.real); break;
        case Value::Kind::Text:
            // The text stays where it is until the statement has run.
            sqlite3_bind_text(stmt, p, v.text.data(), static_cast<int>(v.text.size()), SQLITE_STATIC);
            break;
        }
    }
}

void Appender::step(sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) failEngine(connection_.handle, rc);
}

void Appender::flush() {
    if (gathered_ == 0) return;
    connection_.checkOpen();
    const int rows = gathered_;
    gathered_ = 0;
    // Written or refused, the rows are gone afterwards.
    struct ClearRows {
        Appender& a;
        int rows;
        ~ClearRows() {
            for (int r = 0; r < rows; ++r) a.clearRow(r);
        }
    } clearRows{*this, rows};
    if (rows == groupRows_ && groupInsert_) {
        const int n = static_cast<int>(fields_.size());
        for (int r = 0; r < rows; ++r) bindRow(groupInsert_, r, r * n + 1);
        step(groupInsert_);
        return;
    }
    for (int r = 0; r < rows; ++r) {
        bindRow(insert_, r, 1);
        step(insert_);
    }
}

void Appender::save() {
    connection_.checkOpen();
    for (int u : uniqueFields_) {
        const auto i = static_cast<std::size_t>(u);
        if (!isSet_[i]) {
            newRow();
            fail(err::NullInKey, "Index or primary key cannot contain a Null value. (" + table_ + "." +
                                     fields_[i].name + ")");
        }
    }
    ++gathered_;
    nextGuess_ = 0;
    std::fill(isSet_.begin(), isSet_.end(), 0);
    clear_ = true;
    if (gathered_ == groupRows_) flush();
}

}  // namespace velmora::db
