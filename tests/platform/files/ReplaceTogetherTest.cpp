// New files that take their names only when complete, and a set of files put in place together.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files/NewFile.h"
#include "platform/files/ReplaceTogether.h"

namespace fs = std::filesystem;
using velmora::files::ReplaceTogether;

namespace {

class Files : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    static void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> names() const {
        std::vector<std::string> n;
        for (const auto& e : fs::directory_iterator(dir_)) n.push_back(e.path().filename().string());
        std::sort(n.begin(), n.end());
        return n;
    }

    fs::path dir_;
};

TEST_F(Files, NewFileHasNoNameUntilNamed) {
    const std::string path = file("a.bin");
    const velmora::files::NewFile f = velmora::files::openNewFile(path);
    ASSERT_GE(f.fd, 0);
    ASSERT_EQ(::write(f.fd, "abc", 3), 3);
    if (f.unnamed) {
        EXPECT_TRUE(names().empty());
    }
    ASSERT_TRUE(velmora::files::nameNewFile(f, path));
    ::close(f.fd);
    EXPECT_EQ(read(path), "abc");

    EXPECT_LT(velmora::files::openNewFile(file("missing/b.bin")).fd, 0);
}

TEST_F(Files, CommitReplacesEveryFileAndRemovesWhatIsGone) {
    write(file("a.shp"), "old a");
    write(file("a.prj"), "old prj");
    ReplaceTogether set(".test-1");
    for (const char* ext : {".shp", ".dbf"}) {
        const std::string temp = set.place(file(std::string("a") + ext));
        EXPECT_EQ(temp, file(std::string(".test-1-") + (ext[1] == 's' ? "0" : "1") + ext));
        write(temp, std::string("new ") + ext);
    }
    set.removeOnCommit(file("a.prj"));
    EXPECT_FALSE(set.commit().has_value());
    EXPECT_EQ(read(file("a.shp")), "new .shp");
    EXPECT_EQ(read(file("a.dbf")), "new .dbf");
    EXPECT_EQ(names(), (std::vector<std::string>{"a.dbf", "a.shp"}));
}

// Whichever rename fails, the earlier files are back under their names and nothing else is left.
TEST_F(Files, FailedCommitUndoesEveryStep) {
    for (int failing = 1; failing <= 4; ++failing) {
        write(file("a.shp"), "old a");
        write(file("a.dbf"), "old dbf");
        int calls = 0;
        ReplaceTogether set(".test-2", [&](const std::string& from, const std::string& to) {
            if (++calls == failing) {
                errno = ENOSPC;
                return -1;
            }
            return std::rename(from.c_str(), to.c_str());
        });
        for (const char* ext : {".shp", ".dbf"}) write(set.place(file(std::string("a") + ext)), "new");
        const auto failure = set.commit();
        ASSERT_TRUE(failure.has_value()) << failing;
        EXPECT_FALSE(failure->reason.empty());
        EXPECT_EQ(read(file("a.shp")), "old a") << failing;
        EXPECT_EQ(read(file("a.dbf")), "old dbf") << failing;
        EXPECT_EQ(names(), (std::vector<std::string>{"a.dbf", "a.shp"})) << failing;
    }
}

// A final name as long as the file system allows still has room for its temporary and its backup.
TEST_F(Files, TemporaryNamesAreShortWhateverTheFinalName) {
    const std::string final = file(std::string(250, 'n') + ".shp");
    write(final, "old");
    ReplaceTogether set(".test-4");
    write(set.place(final), "new");
    EXPECT_FALSE(set.commit().has_value());
    EXPECT_EQ(read(final), "new");
    EXPECT_EQ(names().size(), 1u);
}

TEST_F(Files, AnUncommittedSetRemovesItsTemporaries) {
    {
        ReplaceTogether set(".test-3");
        write(set.place(file("a.shp")), "new");
    }
    EXPECT_TRUE(names().empty());
}

}  // namespace
