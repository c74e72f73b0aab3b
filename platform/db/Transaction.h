#pragma once
// The transaction of one input file. It ends by committing, also when the load fails with an exception:
// without a journal there is no rollback, and the rows saved before a failure are meant to stay.
#include "platform/db/Database.h"

namespace velmora::db {

class Transaction {
public:
    explicit Transaction(Database& db) : db_(&db) { db.begin(); }
    ~Transaction() {
        try {
            commit();
        } catch (...) {
            // Unwinding from the load's own error: that error is the one to report.
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit() {
        if (db_ && db_->isOpen() && db_->inTransaction()) db_->commit();
        db_ = nullptr;
    }

private:
    Database* db_;
};

}  // namespace velmora::db
