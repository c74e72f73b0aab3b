// New files that take their names only when complete, and a set of files put in place together.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/files/NewFile.h"
#include "platform/files/OutputNotes.h"
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
    ReplaceTogether set(file("a"), "test-", 1);
    for (const char* ext : {".shp", ".dbf"}) {
        const std::string temp = set.place(ext);
        EXPECT_EQ(temp, velmora::files::CommitNames(file("a"), "test-", 1).temporary(ext));
        EXPECT_EQ(fs::path(temp).parent_path(), dir_);
        write(temp, std::string("new ") + ext);
    }
    set.removeOnCommit(".prj");
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
        ReplaceTogether set(file("a"), "test-", 2, [&](const std::string& from, const std::string& to) {
            if (++calls == failing) {
                errno = ENOSPC;
                return -1;
            }
            return std::rename(from.c_str(), to.c_str());
        });
        for (const char* ext : {".shp", ".dbf"}) write(set.place(ext), "new");
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
    ReplaceTogether set(file(std::string(250, 'n')), "test-", 4194304);
    write(set.place(".shp"), "new");
    EXPECT_FALSE(set.commit().has_value());
    EXPECT_EQ(read(final), "new");
    EXPECT_EQ(names().size(), 1u);
}

TEST_F(Files, AnUncommittedSetRemovesItsTemporaries) {
    {
        ReplaceTogether set(file("a"), "test-", 3);
        write(set.place(".shp"), "new");
    }
    EXPECT_TRUE(names().empty());
}

// A process killed anywhere inside its commit: the next run of the same output finds the earlier set or
// the new set whole, and nothing else beside it. The earlier set has a file the new one removes (.prj) and
// lacks one the new one brings (.shx).
TEST_F(Files, AKillAtAnyRenameOfACommitLeavesOneWholeSetForTheNextRun) {
    const std::map<std::string, std::string> earlier{{"a.shp", "old shp"}, {"a.dbf", "old dbf"}, {"a.prj", "old prj"}};
    const std::map<std::string, std::string> next{{"a.shp", "new shp"}, {"a.shx", "new shx"}, {"a.dbf", "new dbf"}};
    const auto contents = [&] {
        std::map<std::string, std::string> c;
        for (const std::string& n : names()) c[n] = read(file(n));
        return c;
    };
    constexpr int Renames = 6;  // three moved aside, three put in place
    int newSets = 0;
    for (int at = 1; at <= Renames; ++at) {
        for (const bool afterIt : {false, true}) {
            for (const auto& [name, bytes] : earlier) write(file(name), bytes);
            write(file("b.shp"), "another output");
            const pid_t child = ::fork();
            if (child == 0) {
                int calls = 0;
                ReplaceTogether set(file("a"), "test-", static_cast<long>(::getpid()),
                                    [&](const std::string& from, const std::string& to) {
                                        if (++calls == at && !afterIt) ::kill(::getpid(), SIGKILL);
                                        const int r = std::rename(from.c_str(), to.c_str());
                                        if (calls == at) ::kill(::getpid(), SIGKILL);
                                        return r;
                                    });
                for (const char* ext : {".shp", ".shx", ".dbf"}) write(set.place(ext), "new " + std::string(ext + 1));
                set.removeOnCommit(".prj");
                set.commit();
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status)) << at;

            ReplaceTogether(file("a"), "test-", static_cast<long>(::getpid())).clearLeftovers();
            auto left = contents();
            EXPECT_EQ(left["b.shp"], "another output");
            left.erase("b.shp");
            const bool isNew = left == next;
            EXPECT_TRUE(isNew || left == earlier) << "killed " << (afterIt ? "after" : "before") << " rename " << at;
            newSets += isNew;
            fs::remove_all(dir_);
            fs::create_directory(dir_);
        }
    }
    // Only a kill after the last rename finds every new file in place.
    EXPECT_EQ(newSets, 1);
}

// Killed before its commit began (while its files are completed and named): its temporaries go.
TEST_F(Files, TemporariesOfARunKilledBeforeItsCommitAreRemoved) {
    write(file("a.shp"), "old shp");
    const pid_t child = ::fork();
    if (child == 0) {
        ReplaceTogether set(file("a"), "test-", static_cast<long>(::getpid()));
        write(set.place(".shp"), "new");
        write(set.place(".dbf"), "new");
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_EQ(names().size(), 3u);
    ReplaceTogether(file("a"), "test-", static_cast<long>(::getpid())).clearLeftovers();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.shp"}));
    EXPECT_EQ(read(file("a.shp")), "old shp");
}

// Files that describe the earlier data go with it, inside the commit: back with it when the commit fails.
TEST_F(Files, CompanionsOfTheEarlierSetGoWithItAndComeBackWithIt) {
    for (const char* name : {"a.shp", "a.shx", "a.dbf", "a.qix", "a.sbn", "a.sbx", "a.cpg", "a.shp.xml"}) write(file(name), name);
    ReplaceTogether set(file("a"), "test-", static_cast<long>(::getpid()));
    for (const char* ext : {".shp", ".shx", ".dbf"}) write(set.place(ext), "new");
    for (const std::string& ext : ReplaceTogether::companions(ReplaceTogether::Describing::ShapesAndTable)) set.removeOnCommit(ext);
    set.removeOnCommit(".cpg");  // named twice, removed once
    ASSERT_FALSE(set.commit());
    EXPECT_EQ(names(), (std::vector<std::string>{"a.dbf", "a.shp", "a.shp.xml", "a.shx"}));
    EXPECT_EQ(read(file("a.shp.xml")), "a.shp.xml");
    EXPECT_EQ(ReplaceTogether::companions(ReplaceTogether::Describing::Table), std::vector<std::string>{".cpg"});

    // A table whose new file cannot be put in place: its code page comes back with it.
    write(file("b.dbf"), "old dbf");
    write(file("b.cpg"), "UTF-8");
    ReplaceTogether failing(file("b"), "test-", static_cast<long>(::getpid()),
                            [&](const std::string& from, const std::string& to) {
                                if (to == file("b.dbf") && from.find("-old") == std::string::npos) {
                                    errno = EACCES;
                                    return -1;
                                }
                                return std::rename(from.c_str(), to.c_str());
                            });
    write(failing.place(".dbf"), "new dbf");
    for (const std::string& ext : ReplaceTogether::companions(ReplaceTogether::Describing::Table)) failing.removeOnCommit(ext);
    ASSERT_TRUE(failing.commit());
    EXPECT_EQ(read(file("b.dbf")), "old dbf");
    EXPECT_EQ(read(file("b.cpg")), "UTF-8");
}

// A run killed in its commit, with the folder of its job's notes in the environment: a later job there
// settles its output without knowing which it was, and leaves the notes of runs still alive.
TEST_F(Files, AJobSettlesWhatARunNotedInItsFolderLeftWhateverOutputItWas) {
    fs::create_directory(dir_ / "program");
    fs::create_directory(dir_ / "out");
    const std::string program = file("program");
    write(file("out/a.shp"), "old shp");
    write(file("out/a.dbf"), "old dbf");
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv(velmora::files::NotesFolderVariable, program.c_str(), 1);
        int calls = 0;
        ReplaceTogether set(file("out/a"), "test-", static_cast<long>(::getpid()),
                            [&](const std::string& from, const std::string& to) {
                                const int r = std::rename(from.c_str(), to.c_str());
                                if (++calls == 2) ::kill(::getpid(), SIGKILL);
                                return r;
                            });
        for (const char* ext : {".shp", ".dbf"}) write(set.place(ext), "new");
        set.commit();
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    auto outNames = [&] {
        std::vector<std::string> n;
        for (const auto& e : fs::directory_iterator(dir_ / "out")) n.push_back(e.path().filename().string());
        std::sort(n.begin(), n.end());
        return n;
    };
    ASSERT_FALSE(fs::exists(file("out/a.shp")));  // moved aside
    ASSERT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 1);

    // A run of this process still going: its note stays.
    ::setenv(velmora::files::NotesFolderVariable, program.c_str(), 1);
    {
        ReplaceTogether going(file("out/c"), "test-", static_cast<long>(::getpid()));
        write(going.place(".shp"), "going");
        ::unsetenv(velmora::files::NotesFolderVariable);
        velmora::files::settleNotedOutputs(program, false);
        const std::string temporary = fs::path(going.names().temporary(".shp")).filename().string();
        EXPECT_EQ(outNames(), (std::vector<std::string>{temporary, "a.dbf", "a.shp"}));
        EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 1);
    }
    EXPECT_EQ(outNames(), (std::vector<std::string>{"a.dbf", "a.shp"}));
    EXPECT_EQ(read(file("out/a.shp")), "old shp");
    EXPECT_EQ(read(file("out/a.dbf")), "old dbf");
    EXPECT_TRUE(fs::is_empty(program));
}

TEST_F(Files, AProcessThatEndedIsNotAliveBeforeItIsWaitedFor) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    siginfo_t info;
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_FALSE(velmora::files::processAlive(child));
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(velmora::files::processAlive(child));
    EXPECT_TRUE(velmora::files::processAlive(::getpid()));
}

}  // namespace
