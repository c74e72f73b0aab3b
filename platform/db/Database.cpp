#include "platform/db/Database.h"

#include <sqlite3.h>

#include <exception>
#include <filesystem>
#include <unordered_set>

#include "platform/db/Connection.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/db/DbErrors.h"
#include "platform/db/EngineMemory.h"
#include "platform/db/Names.h"

namespace velmora::db {

namespace {

// Temporary data, rebuilt by the next job when anything goes wrong: speed over durability. The cache
// holds the pages of the tables and indexes being loaded so that a file's transaction rarely spills.
// Memory stays bounded whatever the size of the data: sorts that outgrow the cache (building an index,
// GROUP BY) spill into temporary files rather than memory, and the file is read through the cache
// rather than a memory map, whose pages would count against the process as the file grows.
constexpr const char* kSettings =
    "PRAGMA journal_mode=OFF;"
    "PRAGMA synchronous=OFF;"
    "PRAGMA locking_mode=EXCLUSIVE;"
    "PRAGMA cache_size=-65536;"
    "PRAGMA temp_store=FILE;"
    "PRAGMA mmap_size=0;";

std::shared_ptr<detail::Connection> connect(const std::string& path, const std::string& absolute, bool create) {
    // No memory statistics: every allocation of the engine would otherwise take a lock to count itself.
    static const bool configured =
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK && detail::useEngineMemory();
    (void)configured;
    auto c = std::make_shared<detail::Connection>();
    c->path = absolute;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(absolute.c_str(), &c->handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(c->handle);
        c->handle = nullptr;
        if (rc == SQLITE_CANTOPEN) fail(err::PathFileAccess, "Path/File access error (" + path + ")");
        failEngine(nullptr, rc);
    }
    sqlite3_extended_result_codes(c->handle, 1);
    try {
        c->exec(kSettings);
        // Reads the file's header: a file that is no database fails here, not at the first query.
        c->exec("SELECT count(*) FROM sqlite_master");
    } catch (const RunTimeError& e) {
        sqlite3_close(c->handle);
        c->handle = nullptr;
        if (e.number() == err::UnrecognizedFormat) fail(e.number(), "Unrecognized database format '" + path + "'.");
        throw;
    }
    detail::markOpen(absolute);
    return c;
}

}  // namespace

Database::Database() = default;

Database::Database(std::shared_ptr<detail::Connection> connection)
    : connection_(std::move(connection)), path_(connection_->path) {}

Database::~Database() {
    try {
        close();
    } catch (...) {
        // A destructor cannot report; callers that care close explicitly.
    }
}

Database::Database(Database&& other) noexcept
    : connection_(std::move(other.connection_)),
      path_(std::move(other.path_)),
      appenders_(std::move(other.appenders_)),
      companions_(std::move(other.companions_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        try {
            close();
        } catch (...) {
        }
        connection_ = std::move(other.connection_);
        path_ = std::move(other.path_);
        appenders_ = std::move(other.appenders_);
        companions_ = std::move(other.companions_);
    }
    return *this;
}

Database Database::create(const std::string& path, IfExists ifExists) {
    std::string absolute = detail::absolutePath(path);
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::path(absolute).parent_path(), ec))
        fail(err::InvalidPath, "'" + path + "' isn't a valid path.");
    if (std::filesystem::exists(absolute, ec)) {
        if (ifExists == IfExists::Fail) fail(err::DatabaseExists, "Database already exists. (" + path + ")");
        removeFile(absolute);
    }
    Database db(connect(path, absolute, true));
    // Marks the file as ours and makes SQLite write it now, so a folder we cannot write to fails here.
    db.connection_->exec("PRAGMA application_id=1447841092;");
    return db;
}

Database Database::open(const std::string& path) {
    std::string absolute = detail::absolutePath(path);
    if (!fileExists(absolute)) fail(err::FileNotFound, "Could not find file '" + path + "'.");
    Database db(connect(path, absolute, false));
    db.connection_->deferIndexesOfEmptyTables();
    return db;
}

bool Database::isOpen() const { return connection_ && connection_->handle; }

void Database::closeToDelete() {
    if (connection_) connection_->deferredIndexes.clear();
    close();
}

void Database::close() {
    if (!connection_) return;
    std::exception_ptr error;
    sqlite3* handle = connection_->handle;
    if (handle) {
        try {
            connection_->flushAppenders();
        } catch (...) {
            error = std::current_exception();
        }
    }
    appenders_.clear();
    companions_.clear();
    if (handle) {
        if (!sqlite3_get_autocommit(handle)) {
            try {
                connection_->exec("COMMIT");
            } catch (...) {
                error = std::current_exception();
            }
        }
        try {
            connection_->buildDeferredIndexes();
        } catch (...) {
            if (!error) error = std::current_exception();
        }
        // Queries still alive: finalize them here; they see the closed connection and leave it alone.
        while (sqlite3_stmt* s = sqlite3_next_stmt(handle, nullptr)) sqlite3_finalize(s);
        sqlite3_close(handle);
        connection_->handle = nullptr;
        detail::markClosed(connection_->path);
    }
    connection_.reset();
    if (error) std::rethrow_exception(error);
}

bool Database::hasTable(std::string_view name) const {
    Query q = query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    q.bind(1, name);
    return q.next();
}

void Database::createTable(const TableDef& table) {
    if (!isOpen()) fail(err::ObjectInvalid, "Object invalid or no longer set. (the database is closed)");
    checkName(table.name());
    std::unordered_set<std::string> names;
    for (const FieldDef& f : table.fields()) {
        checkName(f.name);
        if (!names.insert(foldName(f.name)).second)
            fail(err::AlreadyInCollection,
                 "Cannot append. An object with that name already exists in the collection. (" + f.name + ")");
        if (f.type == FieldType::Text && (f.size < 1 || f.size > 255))
            fail(err::InvalidArgument, "Invalid argument. (size " + std::to_string(f.size) + " of " + f.name + ")");
    }
    if (table.fields().empty())
        fail(err::NoFieldDefined, "No field defined--cannot append TableDef or Index. (" + table.name() + ")");
    if (hasTable(table.name())) fail(err::TableExists, "Table '" + table.name() + "' already exists.");

    std::string sql = "CREATE TABLE " + quoteName(table.name()) + " (";
    for (std::size_t i = 0; i < table.fields().size(); ++i) {
        const FieldDef& f = table.fields()[i];
        if (i) sql += ", ";
        sql += quoteName(f.name) + " " + declaredType(f);
    }
    sql += ")";
    connection_->exec(sql);
    for (const IndexDef& index : table.indexes()) createIndex(table, index);
}

void Database::createIndex(const TableDef& table, const IndexDef& index) {
    checkName(index.name);
    std::string columns;
    for (const std::string& field : index.fields) {
        bool known = false;
        for (const FieldDef& f : table.fields()) known = known || sameName(f.name, field);
        if (!known) fail(err::ItemNotFound, "Item not found in this collection. (" + table.name() + "." + field + ")");
        columns += (columns.empty() ? "" : ", ") + quoteName(field);
    }
    std::string sqliteName = sqliteIndexName(table.name(), index.name);
    Query existing = query("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?1 COLLATE NOCASE");
    existing.bind(1, sqliteName);
    if (existing.next())
        fail(err::AlreadyInCollection,
             "Cannot append. An object with that name already exists in the collection. (" + index.name + ")");
    connection_->exec(std::string(index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + quoteName(sqliteName) +
                      " ON " + quoteName(table.name()) + " (" + columns + ")");
}

Appender& Database::appender(std::string_view table) {
    if (!isOpen()) fail(err::ObjectInvalid, "Object invalid or no longer set. (the database is closed)");
    std::string key = foldName(table);
    auto it = appenders_.find(key);
    if (it == appenders_.end())
        it = appenders_.emplace(key, std::make_unique<Appender>(*connection_, std::string(table))).first;
    return *it->second;
}

std::shared_ptr<void>& Database::companionSlot(std::type_index type) {
    if (!isOpen()) fail(err::ObjectInvalid, "Object invalid or no longer set. (the database is closed)");
    return companions_[type];
}

Query Database::query(std::string_view sql) const {
    if (!isOpen()) fail(err::ObjectInvalid, "Object invalid or no longer set. (the database is closed)");
    connection_->flushAppenders();
    connection_->buildDeferredIndexesFor(sql);
    return Query(connection_, sql);
}

void Database::begin() {
    if (!isOpen()) fail(err::ObjectInvalid, "Object invalid or no longer set. (the database is closed)");
    connection_->exec("BEGIN");
}

void Database::commit() {
    if (!inTransaction())
        fail(err::NotInTransaction,
             "You tried to commit or rollback a transaction without first beginning a transaction.");
    connection_->flushAppenders();
    connection_->exec("COMMIT");
}

bool Database::inTransaction() const { return isOpen() && !sqlite3_get_autocommit(connection_->handle); }

}  // namespace velmora::db
