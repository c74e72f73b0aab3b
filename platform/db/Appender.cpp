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
    std::string sql = "INSERT INTO " + quoteName(table_) + " (";
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i) sql += ',';
        sql += quoteName(fields_[i].name);
    }
    sql += ") VALUES (";
    for (std::size_t i = 0; i < fields_.size(); ++i) sql += i ? ",?" : "?";
    sql += ")";
    insert_ = connection_.prepare(sql);
}

Appender::~Appender() { sqlite3_finalize(insert_); }

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

void Appender::newRow() {
    nextGuess_ = 0;
    if (clear_) return;  // save() has cleared the row already
    sqlite3_clear_bindings(insert_);
    std::fill(isSet_.begin(), isSet_.end(), 0);
    clear_ = true;
}

namespace {

// Binds a value to the statement's parameter as the field's rules convert it.
template <class V>
void bindFor(sqlite3_stmt* stmt, int position, const FieldDef& field, const V& value) {
    switch (field.type) {
    case FieldType::Integer:
    case FieldType::Long:
        sqlite3_bind_int64(stmt, position, wholeNumberFor(field, value));
        break;
    case FieldType::Double:
        sqlite3_bind_double(stmt, position, doubleFor(field, value));
        break;
    case FieldType::Text: {
        auto text = textFor(field, value);
        sqlite3_bind_text(stmt, position, detail::nonNullData(text),
                          static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

}  // namespace

template <class V>
void Appender::store(std::string_view name, const V& value) {
    connection_.checkOpen();
    auto i = static_cast<std::size_t>(indexOf(name));
    clear_ = false;
    bindFor(insert_, static_cast<int>(i) + 1, fields_[i], value);
    isSet_[i] = 1;
}

void Appender::set(std::string_view name, std::string_view text) { store(name, text); }
void Appender::set(std::string_view name, double value) { store(name, value); }
void Appender::setWhole(std::string_view name, std::int64_t value) { store(name, value); }

void Appender::setNull(std::string_view name) {
    connection_.checkOpen();
    int i = indexOf(name);
    clear_ = false;
    sqlite3_bind_null(insert_, i + 1);
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
    int rc = sqlite3_step(insert_);
    if (rc != SQLITE_DONE) {
        try {
            failEngine(connection_.handle, rc);
        } catch (...) {
            sqlite3_reset(insert_);
            newRow();
            throw;
        }
    }
    sqlite3_reset(insert_);
    newRow();
}

}  // namespace velmora::db
