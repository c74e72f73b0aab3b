// A polygon job that fails, or is killed, never touches the earlier output of its name: run through the
// library driver (libOstrand.so loaded as the main program loads it), in a process of its own.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "tests/polygon/job/JobFiles.h"
#include "tests/polygon/support/SmallTmpfs.h"
#include "tests/support/GisCompanions.h"

namespace {

using polygontest::read_file;
using polygontest::sj;
using polygontest::TempFolder;
using testing::HasSubstr;
namespace fs = std::filesystem;

const std::string kDriver = VELMORA_BINARY_DIR "/tools/ostrandrun";

struct DriverRun {
    int status = -1;
    std::string output;  // stdout and stderr: the result line and the boxes
};

// Every file of a folder with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) files[e.path().filename().string()] = read_file(e.path().string());
    return files;
}

class EarlierOutput : public testing::Test {
protected:
    // A job of the rural item over a generated grid of cols x rows areas.
    DriverRun job(int cols, int rows, const fs::path& out_folder, const std::string& log_name = "job.log") {
        const std::string in = polygontest::grid_file(dir, "grid" + std::to_string(cols) + "x" + std::to_string(rows), 3, cols, rows);
        return run(in, (out_folder / "area.shp").string(), log_name);
    }
    DriverRun run(const std::string& in, const std::string& out, const std::string& log_name) {
        const std::string text = polygontest::run_command(kDriver + " --meshes '' 3 '" + in + "' '" + out + "' '" +
                                                          dir.file(log_name) + "' 2>&1; echo \"exit:$?\"");
        const auto at = text.rfind("exit:");
        return {std::stoi(text.substr(at + 5)), text.substr(0, at)};
    }
    // The output folder with an earlier output of a small job in it.
    fs::path earlier_output(const fs::path& folder) {
        fs::create_directories(folder);
        const DriverRun first = job(1, 1, folder, "first.log");
        EXPECT_EQ(first.status, 0) << first.output;
        EXPECT_EQ(snapshot(folder).size(), 3u);
        return folder;
    }

    TempFolder dir{"ostrand-keep"};
};

TEST_F(EarlierOutput, ATableMarkedReadOnlyKeepsAllThreeFiles) {
    const fs::path out = earlier_output(dir.path() / "out");
    fs::permissions(out / "area.dbf", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto before = snapshot(out);

    const DriverRun failed = job(3, 3, out);
    EXPECT_EQ(failed.status, 102);
    EXPECT_THAT(failed.output, HasSubstr("エラー: File open failure. KsPolygonMaker::save_dbf()"));
    EXPECT_EQ(snapshot(out), before);
    EXPECT_THAT(read_file(dir.file("job.log")),
                HasSubstr(sj("> エラーが生じたため処理を中止しました。Shapeファイルは作成されていません。")));

    // Once writable again the same job replaces all three.
    fs::permissions(out / "area.dbf", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(job(3, 3, out).status, 0);
    EXPECT_THAT(polygontest::run_command("ogrinfo -ro -al -so '" + (out / "area.shp").string() + "'"),
                HasSubstr("Feature Count: 9"));
    EXPECT_EQ(snapshot(out).size(), 3u);
}

TEST_F(EarlierOutput, AFullFileSystemKeepsAllThreeFilesAndSaysTheWriteFailed) {
    polygontest::SmallTmpfs full(dir.path() / "full", "64k");
    if (!full.mounted()) GTEST_SKIP() << "mounting a small file system needs root";
    const fs::path out = earlier_output(dir.path() / "full");
    const auto before = snapshot(out);

    const DriverRun failed = job(20, 20, out);
    EXPECT_EQ(failed.status, 102);
    EXPECT_THAT(failed.output, HasSubstr("エラー: File write failure. ShpData::save()"));
    EXPECT_THAT(failed.output, testing::Not(HasSubstr("File open")));
    EXPECT_EQ(snapshot(out), before);
}

// A job of the rural item over a 3 x 3 grid into out/area.shp, stopped when everything is written and
// nothing is named yet; -1 when it ended without stopping.
pid_t stopped_before_naming(const TempFolder& dir, const fs::path& out) {
    const std::string in = polygontest::grid_file(dir, "grid3x3", 3, 3, 3);
    const std::string shp = (out / "area.shp").string(), log = dir.file("stopped.log");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(kDriver.c_str(), kDriver.c_str(), "--meshes", "", "--stop-before-naming", "3", in.c_str(), shp.c_str(),
                log.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, WUNTRACED) != pid || !WIFSTOPPED(status)) return -1;
    return pid;
}

// Stopped when everything is written and nothing is in place yet, then killed: the new files had no names
// and vanish with the process.
TEST_F(EarlierOutput, AKilledJobLeavesNothingBehind) {
    const fs::path out = earlier_output(dir.path() / "out");
    const auto before = snapshot(out);
    const pid_t pid = stopped_before_naming(dir, out);
    ASSERT_GT(pid, 0) << "the job ended without stopping";
    int status = 0;

    int unnamed = 0;  // the three new files, open and without a name in the output folder
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        std::error_code ec;
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (target.rfind(out.string() + "/", 0) == 0 && target.find("(deleted)") != std::string::npos) ++unnamed;
    }
    EXPECT_EQ(unnamed, 3);
    EXPECT_EQ(snapshot(out), before);

    ::kill(pid, SIGKILL);
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(snapshot(out), before);
}

// A counts line that promises areas without a ledger sets its file aside; with nothing left the job is
// refused as one without a file of its item, and the earlier output stays.
TEST_F(EarlierOutput, AMalformedCountsLineIsRefusedWithoutTouchingTheOutput) {
    const fs::path out = earlier_output(dir.path() / "out");
    const auto before = snapshot(out);
    const std::string bad = dir.file("bad.txt");
    polygontest::write_file(bad, velmora::datagen::header_line("A12-60A", 2) + "\r\n" +
                                     velmora::datagen::counts_line(9, 0, 4, 5, 0) + "\r\n");
    const DriverRun refused = run(bad, (out / "area.shp").string(), "bad.log");
    EXPECT_EQ(refused.status, 12);
    EXPECT_THAT(refused.output, HasSubstr("メッセージ: [農業地域]に該当するファイルがありませんでした。"));
    EXPECT_EQ(snapshot(out), before);
    EXPECT_FALSE(fs::exists(dir.file("bad.log")));
}

// Killed inside its commit: while its files are made durable and named, at each rename that moves an
// earlier file aside or puts a new one in place, and after the last. The next job of the same output
// settles what it left before it names anything: the earlier set whole, or (killed after the last rename)
// the new set whole, and nothing else.
TEST_F(EarlierOutput, AJobKilledInItsCommitLeavesOneWholeSetToTheNextJob) {
    const fs::path fresh = dir.path() / "fresh";
    fs::create_directories(fresh);
    ASSERT_EQ(job(3, 3, fresh, "fresh.log").status, 0);
    const auto newSet = snapshot(fresh);

    struct KillPoint {
        const char* variable;
        const char* value;
        bool newSetStays;
    };
    const KillPoint points[] = {
        {"VELMORA_KILL_AT_FSYNC", "1", false},   {"VELMORA_KILL_AT_FSYNC", "2", false},
        {"VELMORA_KILL_AT_FSYNC", "3", false},   {"VELMORA_KILL_AT_RENAME", "1", false},
        {"VELMORA_KILL_AT_RENAME", "2", false},  {"VELMORA_KILL_AT_RENAME", "3", false},
        {"VELMORA_KILL_AT_RENAME", "4", false},  {"VELMORA_KILL_AT_RENAME", "4+", false},
        {"VELMORA_KILL_AT_RENAME", "5", false},  {"VELMORA_KILL_AT_RENAME", "5+", false},
        {"VELMORA_KILL_AT_RENAME", "6", false},  {"VELMORA_KILL_AT_RENAME", "6+", true},
    };
    for (const KillPoint& p : points) {
        const std::string where = std::string(p.variable) + "=" + p.value;
        const fs::path out = dir.path() / "out";
        fs::remove_all(out);
        earlier_output(out);
        const auto earlier = snapshot(out);

        ::setenv(p.variable, p.value, 1);
        const DriverRun killed = job(3, 3, out, "killed.log");
        ::unsetenv(p.variable);
        EXPECT_EQ(killed.status, 128 + SIGKILL) << where << "\n" << killed.output;

        const pid_t next = stopped_before_naming(dir, out);
        ASSERT_GT(next, 0) << where;
        EXPECT_EQ(snapshot(out), p.newSetStays ? newSet : earlier) << where;
        ::kill(next, SIGKILL);
        ::waitpid(next, nullptr, 0);
        EXPECT_EQ(snapshot(out), p.newSetStays ? newSet : earlier) << where;
    }
}

// An output opened in a GIS between runs has files beside it that describe it: a spatial index, a code
// page saying UTF-8. Replaced, the output takes them with it: a spatial query of the new one finds every
// polygon, and its field names read as a fresh output's do. The user's metadata stays.
TEST_F(EarlierOutput, AReplacedOutputTakesTheFilesThatDescribedItWithIt) {
    using velmora::testsupport::featuresFoundBySpatialQuery;
    const fs::path fresh = dir.path() / "fresh";
    fs::create_directories(fresh);
    ASSERT_EQ(job(3, 3, fresh, "fresh.log").status, 0);
    const auto fields = [](const fs::path& shp) {
        std::string lines;
        std::istringstream report(velmora::testsupport::ogrinfoReport(shp.string(), "-so"));
        for (std::string line; std::getline(report, line);)
            if (std::regex_search(line, std::regex("^[^ ]+: (String|Integer|Integer64|Real) \\("))) lines += line + "\n";
        return lines;
    };
    ASSERT_FALSE(fields(fresh / "area.shp").empty());

    const fs::path out = earlier_output(dir.path() / "out");
    ASSERT_TRUE(velmora::testsupport::addCompanionFiles((out / "area.shp").string()));
    ASSERT_EQ(featuresFoundBySpatialQuery((out / "area.shp").string()), 1);
    ASSERT_EQ(job(3, 3, out).status, 0);

    auto left = snapshot(out);
    EXPECT_EQ(left["area.shp.xml"], velmora::testsupport::UserMetadata);
    left.erase("area.shp.xml");
    EXPECT_EQ(left, snapshot(fresh));
    EXPECT_EQ(featuresFoundBySpatialQuery((out / "area.shp").string()), 9);
    EXPECT_EQ(fields(out / "area.shp"), fields(fresh / "area.shp"));
}

}  // namespace
