#pragma once
// A line job with its database made and open, ready to load files.
#include <map>

#include "convert/line/LineDb.h"
#include "convert/line/LineLoader.h"
#include "platform/db/Database.h"
#include "tests/convert/line/ExpectedTables.h"
#include "tests/convert/line/LineJobFixture.h"

namespace velmora::testsupport {

class LineLoaderFixture : public LineJobFixture {
protected:
    // Makes the database of the selected row and opens it; the counters start again.
    void openDb(int row) {
        select(row);
        db_.close();
        ASSERT_TRUE(ModLine::MakeLineDb());
        db_ = db::Database::open(ModLine::LineDbPath());
        conversionState().LinkIdxCounter = {0, 0};
    }
    bool load(const std::string& path) { return ModLine::SetLineTextToTbl(db_, path); }
    Dump dump(const std::string& table) { return dumpTable(db_, table); }
    Dump points() { return dumpLinkPoints(db_); }
    // Every table the row has, dumped.
    std::map<std::string, Dump> dumpAll() {
        std::map<std::string, Dump> all;
        for (const char* t : {"ノードデータ", "リンクデータ", "リンクデータ中間点", "ラインデータ", "ラインリンクデータ",
                              "台帳データ", "リンク台帳データ", "ノード台帳データ"})
            if (db_.hasTable(t)) all[t] = dump(t);
        all[kLinkPoints] = points();
        return all;
    }
    // The tables of the row, empty.
    std::map<std::string, Dump> emptyTables() {
        std::map<std::string, Dump> all = dumpAll();
        for (auto& [name, rows] : all) rows.clear();
        return all;
    }

    db::Database db_;
};

}  // namespace velmora::testsupport
