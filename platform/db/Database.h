#pragma once
// A work database: one SQLite file under the system's own name ("xxtmpLineDabaDB.mdb" and the others),
// one connection per job. The file is tuned for bulk loading of temporary data: no journal, no syncing,
// the file locked for this connection alone. Without a journal nothing can be rolled back: every row a
// load has saved stays, as the jobs' failure rules expect (rows saved before a failure remain).
//
// Writing goes in explicit transactions, one per input file (Transaction.h); outside a transaction every
// saved row is its own transaction, which is correct but slow.
//
//   Database db = Database::create(path, Database::IfExists::Replace);
//   db.createTable(TableDef("MESH").field("LINKNO", FieldType::Long).field("MESHCD", FieldType::Text, 10));
//   db.close();
//   ...
//   Database db = Database::open(path);
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

#include "platform/db/Appender.h"
#include "platform/db/Query.h"
#include "platform/db/TableDef.h"

namespace velmora::db {

namespace detail {
struct Connection;
}

class Database {
public:
    enum class IfExists { Fail, Replace };

    // A new empty database. An existing file is 3204 (Fail) or deleted first (Replace; 75 when it is in
    // use). A missing folder is 3044, a folder we cannot write to 75.
    static Database create(const std::string& path, IfExists ifExists = IfExists::Fail);
    // An existing database; a missing file is 3024, a file that is no database 3343.
    static Database open(const std::string& path);

    Database();  // closed
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;

    bool isOpen() const;
    const std::string& path() const { return path_; }
    // Saves an open transaction, ends every query and appender of the database, releases the file so it
    // can be deleted. Closing a closed database does nothing.
    void close();
    // Closes a work database whose file is deleted next: the indexes still deferred (Connection.h) are
    // not built, as nothing reads the file again.
    void closeToDelete();

    // Creates the table, then its indexes in order. 3010: the table exists; 3367: a field or index name
    // repeated; 3264: no fields; 3265: an index on a field the table lacks; 3125: a name the engine refused.
    void createTable(const TableDef& table);
    bool hasTable(std::string_view name) const;

    // The appender of the table, prepared on first use and kept until close.
    Appender& appender(std::string_view table);
    Query query(std::string_view sql) const;

    // An object of type T kept with this database while it is open, one of each type: made on first use,
    // dropped when the database closes. For what a job keeps beside the tables without storing it in them.
    // 3420 when the database is closed.
    template <class T>
    T& companion() {
        std::shared_ptr<void>& slot = companionSlot(std::type_index(typeid(T)));
        if (!slot) slot = std::make_shared<T>();
        return *static_cast<T*>(slot.get());
    }

    void begin();
    void commit();  // 3034 without begin
    bool inTransaction() const;

private:
    explicit Database(std::shared_ptr<detail::Connection> connection);
    void createIndex(const TableDef& table, const IndexDef& index);
    std::shared_ptr<void>& companionSlot(std::type_index type);

    std::shared_ptr<detail::Connection> connection_;
    std::string path_;
    std::unordered_map<std::string, std::unique_ptr<Appender>> appenders_;  // by folded table name
    std::unordered_map<std::type_index, std::shared_ptr<void>> companions_;
};

}  // namespace velmora::db
