// One job per program folder: a job started while another job holds the folder is refused before it opens
// or asks anything, and the folder is free again as soon as the holder dies: the program it started (its
// writer, which holds the folder with it) ends with it.
#include <gmock/gmock.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/files/OutputNotes.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/tools/gen/LineFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

namespace {

bool waitFor(const std::string& path) {
    for (int i = 0; i < 600 && !fs::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return fs::exists(path);
}

class ProgramFolderLock : public ::testing::Test {
protected:
    ProgramFolderLock() {
        for (const char* sub : {"Log", "in", "out"}) fs::create_directories(program_.file(sub));
        writeCatalogue(program_.path(),
                       {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())}});
        gen::writeLineFile(input_, gen::makeLineFileModel(coastlineFile(1)));
        // The first writer run waits while "hold" exists (and says so with its process id in "held/pid");
        // every later run is the real writer.
        fs::rename(program_.file("Brunhale"), program_.file("Brunhale.real"));
        std::ofstream(program_.file("Brunhale"))
            << "#!/bin/sh\nd=$(dirname \"$0\")\n"
               "if mkdir \"$d/held\" 2>/dev/null; then echo $$ > \"$d/held/pid.tmp\"; mv \"$d/held/pid.tmp\" \"$d/held/pid\";\n"
               "  while [ -e \"$d/hold\" ]; do sleep 0.05; done; fi\nexec \"$d/Brunhale.real\"\n";
        fs::permissions(program_.file("Brunhale"), fs::perms::owner_all);
        std::ofstream(program_.file("hold")) << "";
    }
    ~ProgramFolderLock() override {
        for (pid_t pid : {holder_, writer_})
            if (pid > 0) ::kill(pid, SIGKILL);
        if (holder_ > 0) ::waitpid(holder_, nullptr, 0);
    }

    std::vector<std::string> arguments(const std::string& out) const {
        return {std::string(VELMORA_BINARY_DIR) + "/tools/jobrun", "--program-folder", program_.path(), "--kind", "line",
                "--row", "3", "--answer", "no", "--out", out, input_};
    }
    std::string job(const std::string& out) const {
        std::string command;
        for (const std::string& a : arguments(out)) command += "'" + a + "' ";
        return capture(command + "2>&1; echo \"exit:$?\"");
    }
    // Starts a job that stays in its writer run until the test kills it.
    void startHolder(const std::string& out) {
        const std::vector<std::string> args = arguments(out);
        holder_ = ::fork();
        if (holder_ == 0) {
            std::vector<char*> argv;
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            std::freopen("/dev/null", "w", stdout);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ASSERT_TRUE(waitFor(program_.file("held/pid"))) << "the first job never reached its writer";
        writer_ = std::stoi(readFile(program_.file("held/pid")));
    }

    BrunhaleFolder program_;
    std::string input_ = program_.file("in/coast.txt");
    pid_t holder_ = -1;
    pid_t writer_ = -1;
};

TEST_F(ProgramFolderLock, ASecondJobIsRefusedAtOnceAndRunsOnceTheHolderIsKilled) {
    startHolder(program_.file("out/first.shp"));
    const auto logsBefore = program_.folder().list("Log");

    const std::string refused = job(program_.file("out/second.shp"));
    EXPECT_THAT(refused, HasSubstr("box: ﾒｯｾｰｼﾞ | このプログラムフォルダーでは別の変換が実行中です。"));
    EXPECT_THAT(refused, Not(HasSubstr("上書き")));  // nothing asked
    EXPECT_THAT(refused, EndsWith("result: failure\nexit:1\n"));
    EXPECT_EQ(program_.folder().list("Log"), logsBefore);  // nothing opened
    EXPECT_TRUE(program_.folder().list("out").empty());

    // The holder dies, and the writer it started with it.
    ::kill(holder_, SIGKILL);
    ::waitpid(holder_, nullptr, 0);
    holder_ = -1;
    for (int i = 0; i < 400 && files::processAlive(writer_); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(files::processAlive(writer_)) << "the writer outlived its job";

    const std::string taken = job(program_.file("out/second.shp"));
    EXPECT_THAT(taken, EndsWith("result: success\nexit:0\n"));
    EXPECT_THAT(program_.folder().list("out"), ::testing::IsSupersetOf({"second.dbf", "second.shp", "second.shx"}));
    EXPECT_FALSE(fs::exists(program_.file("Velmora.lock")));
}

TEST_F(ProgramFolderLock, AFinishedJobLeavesTheFolderFree) {
    fs::remove(program_.file("hold"));
    EXPECT_THAT(job(program_.file("out/a.shp")), EndsWith("result: success\nexit:0\n"));
    EXPECT_THAT(job(program_.file("out/b.shp")), EndsWith("result: success\nexit:0\n"));
    EXPECT_FALSE(fs::exists(program_.file("Velmora.lock")));
}

}  // namespace
