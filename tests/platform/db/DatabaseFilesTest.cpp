// Database files: created, opened, replaced and deleted under the system's names.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "DbTestFolder.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/db/DbErrors.h"

using namespace velmora::db;

namespace {

class DatabaseFiles : public DbTest {};

TEST_F(DatabaseFiles, CreatedClosedOpenedAgainAndDeletedAfterClose) {
    const std::string path = file("xxtmpLineDabaDB.mdb");
    Database db = Database::create(path);
    db.createTable(TableDef("ノードデータ").field("メッシュコード", FieldType::Long));
    db.close();
    EXPECT_TRUE(fileExists(path));

    db = Database::open(path);
    EXPECT_TRUE(db.hasTable("ノードデータ"));
    EXPECT_EQ(errorOf([&] { removeFile(path); }), err::PathFileAccess);  // still open
    EXPECT_TRUE(fileExists(path));
    db.close();
    EXPECT_TRUE(removeFile(path));
    EXPECT_FALSE(fileExists(path));
    EXPECT_FALSE(removeFile(path));  // nothing left to delete
}

TEST_F(DatabaseFiles, ALeftoverOfAFailedJobIsReplacedByAnEmptyDatabase) {
    const std::string path = file("xxtmpPolygonDabaDB.mdb");
    {
        Database old = Database::create(path);
        old.createTable(TableDef("ノードデータ").field("a", FieldType::Long));
    }
    EXPECT_EQ(errorOf([&] { Database::create(path); }), err::DatabaseExists);
    Database db = Database::create(path, Database::IfExists::Replace);
    EXPECT_FALSE(db.hasTable("ノードデータ"));
}

TEST_F(DatabaseFiles, FilesThatCannotServe) {
    std::ofstream(file("notes.mdb")) << "not a database at all, just some text that is long enough";
    EXPECT_EQ(errorOf([&] { Database::open(file("missing.mdb")); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] { Database::open(file("notes.mdb")); }), err::UnrecognizedFormat);
    EXPECT_EQ(errorOf([&] { Database::create(file("no/such/folder/x.mdb")); }), err::InvalidPath);
}

TEST_F(DatabaseFiles, AFileHeldByAnotherProgramIsNotDeleted) {
    const std::string path = file("xxtmpMesh.mdb");
    Database::create(path).close();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Database held = Database::open(path);
        char c = 1;
        (void)!::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(errorOf([&] { removeFile(path); }), err::PathFileAccess);
    EXPECT_EQ(errorOf([&] { Database::create(path, Database::IfExists::Replace); }), err::PathFileAccess);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(removeFile(path));
}

}  // namespace
