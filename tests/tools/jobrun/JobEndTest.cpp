// Jobs cut short as a user's session cuts them: a logout or shutdown (SIGTERM, SIGHUP to the job or to its
// whole process group), a job killed while its writer runs. The writer (the build of Brunhale that
// tests/tools/killat makes) or the polygon library is held at a point of its commit, the job is ended
// there, and afterwards the output is the earlier or the new one, whole under its names, nothing hidden or
// stray beside it (no temporary, no companion file of the set it replaced), a spatial query of it finds
// every feature, and the program folder holds no work file, note or lock.
#include <gmock/gmock.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "platform/files/OutputNotes.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/support/GisCompanions.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/LineFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& folder) {
    Snapshot files;
    for (const auto& e : fs::directory_iterator(folder)) files[e.path().filename().string()] = readFile(e.path().string());
    return files;
}

// The folder emptied and filled with the files of a snapshot.
void restore(const fs::path& folder, const Snapshot& files) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& [name, bytes] : files) std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
}

bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 1200; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return done();
}

class JobEnd : public ::testing::Test {
protected:
    JobEnd() {
        for (const char* sub : {"Log", "in", "out"}) fs::create_directories(program_.file(sub));
        writeCatalogue(program_.path(), {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                                         {CatalogKind::Area, 4, "森林地域", "A13-60A", {}}});
        fs::copy_file(std::string(VELMORA_BINARY_DIR) + "/tools/brunhale_killable", program_.file("Brunhale"),
                      fs::copy_options::overwrite_existing);
        fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/libOstrand.so", program_.file("libOstrand.so"));
        gen::writeLineFile(earlierLines_, gen::makeLineFileModel(coastlineFile(1)));
        gen::LineFileOptions longer = coastlineFile(1);
        longer.links = 10;
        longer.lines = 5;
        gen::writeLineFile(newLines_, gen::makeLineFileModel(longer));
    }
    ~JobEnd() override {
        fs::create_directories(program_.file("hold"));
        std::ofstream(holdFile() + ".release") << "";
        for (const pid_t pid : started_)
            if (::waitpid(pid, nullptr, WNOHANG) == 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
    }

    std::string holdFile() const { return program_.file("hold/at"); }
    std::string lineJob(const std::string& out, const std::string& input, bool overwrite) const {
        return std::string("--kind line --row 3 ") + (overwrite ? "--answer yes " : "") + "--answer no --out '" + out +
               "' '" + input + "'";
    }

    // A job run to its end; true on success.
    bool run(const std::string& arguments) const {
        const std::string text = capture("'" + std::string(VELMORA_BINARY_DIR) + "/tools/jobrun' --program-folder '" +
                                         program_.path() + "' " + arguments + " 2>&1; echo \"exit:$?\"");
        return text.ends_with("result: success\nexit:0\n");
    }

    // A job started with the environment given (its own process group when asked), and the process that
    // got to the hold point, once it is there; -1 when the job ended first.
    pid_t startHeld(const std::string& arguments, const std::map<std::string, std::string>& environment, bool ownGroup) {
        fs::remove_all(program_.file("hold"));
        fs::create_directories(program_.file("hold"));
        const std::string command = "exec '" + std::string(VELMORA_BINARY_DIR) + "/tools/jobrun' --program-folder '" +
                                    program_.path() + "' " + arguments + " >'" + program_.file("hold/job.txt") + "' 2>&1";
        job_ = ::fork();
        if (job_ == 0) {
            if (ownGroup) ::setpgid(0, 0);
            ::setenv("VELMORA_HOLD_FILE", holdFile().c_str(), 1);
            for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        started_.push_back(job_);
        const bool held = waitFor([&] {
            const std::string pid = readFile(holdFile());
            return (!pid.empty() && pid.back() == '\n') || ::waitpid(job_, &status_, WNOHANG) == job_;
        });
        const std::string pid = readFile(holdFile());
        if (!held || pid.empty() || pid.back() != '\n') return -1;
        return std::stoi(pid);
    }
    // The job's end after the signal. A writer of its own process is let go once the signal is sent: the
    // job waits for a commit under way, and one not yet begun no longer begins. A writer program is let
    // go only once it is dead, so it cannot go on by a slow job's leave.
    enum class Writer { Program, InTheJob, InTheJobOutsideItsCommit };
    int endHeld(int signal, bool toGroup, Writer writer, pid_t held) {
        ::kill(toGroup ? -job_ : job_, signal);
        if (writer == Writer::Program)
            EXPECT_TRUE(waitFor([&] { return !files::processAlive(held); })) << "the writer outlived its job";
        if (writer != Writer::InTheJobOutsideItsCommit) std::ofstream(holdFile() + ".release") << "";
        int status = 0;
        ::waitpid(job_, &status, 0);
        return status;
    }
    std::string jobText() const { return readFile(program_.file("hold/job.txt")); }

    BrunhaleFolder program_;
    std::string earlierLines_ = program_.file("in/coast.txt");
    std::string newLines_ = program_.file("in/coast5.txt");
    pid_t job_ = -1;
    int status_ = 0;
    std::vector<pid_t> started_;
};

// The program folder as the tests made it: no work file, note, lock or hold left by a job.
std::set<std::string> programFiles(const BrunhaleFolder& program) {
    std::set<std::string> n = names(program.path());
    n.erase("hold");
    return n;
}

struct Ending {
    int signal;
    bool toGroup;
};

std::string describe(const Ending& e) {
    return std::string(e.signal == SIGTERM ? "SIGTERM" : e.signal == SIGHUP ? "SIGHUP" : "SIGINT") +
           (e.toGroup ? " to the process group" : " to the job");
}

// The writer held before or after each rename of its commit (the earlier set of eight files moved aside,
// the new four put in place), the job ended by a signal: the earlier output back whole with its companion
// files, or, past the last rename, the new one whole without them.
TEST_F(JobEnd, ASignalledJobLeavesTheEarlierOrTheNewOutputWholeAndNothingElse) {
    const std::string shp = program_.file("out/海岸線.shp");
    ASSERT_TRUE(run(lineJob(shp, newLines_, false)));
    Snapshot newSet = snapshot(program_.file("out"));
    ASSERT_EQ(newSet.size(), 4u);
    std::ofstream(program_.file("out/海岸線.shp.xml")) << UserMetadata;
    newSet["海岸線.shp.xml"] = UserMetadata;
    const std::set<std::string> programBefore = programFiles(program_);

    constexpr int Renames = 12;
    struct Case {
        std::string point;
        Ending ending;
    };
    std::vector<Case> cases;
    for (int at = 1; at <= Renames; ++at)
        for (const char* after : {"", "+"}) cases.push_back({std::to_string(at) + after, {SIGTERM, false}});
    for (const Ending e : {Ending{SIGHUP, false}, Ending{SIGTERM, true}, Ending{SIGHUP, true}, Ending{SIGINT, false}})
        for (const char* point : {"1", "5+", "12", "12+"}) cases.push_back({point, e});

    fs::remove_all(program_.file("out"));
    fs::create_directories(program_.file("out"));
    ASSERT_TRUE(run(lineJob(shp, earlierLines_, false)));
    ASSERT_TRUE(addCompanionFiles(shp));
    const Snapshot earlier = snapshot(program_.file("out"));
    ASSERT_EQ(earlier.size(), 9u);

    for (const Case& c : cases) {
        const std::string where = "held at rename " + c.point + ", " + describe(c.ending);
        SCOPED_TRACE(where);
        restore(program_.file("out"), earlier);

        const pid_t writer = startHeld(lineJob(shp, newLines_, true), {{"VELMORA_HOLD_AT_RENAME", c.point}}, c.ending.toGroup);
        ASSERT_GT(writer, 0) << "the writer was never held\n" << jobText();
        const int status = endHeld(c.ending.signal, c.ending.toGroup, Writer::Program, writer);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.ending.signal) << status << "\n" << jobText();

        const bool past = c.point == std::to_string(Renames) + "+";
        EXPECT_EQ(snapshot(program_.file("out")), past ? newSet : earlier);
        EXPECT_EQ(featuresFoundBySpatialQuery(shp), past ? 5 : 3);
        EXPECT_EQ(programFiles(program_), programBefore);
    }
}

// Ended before its writer ran, while the work files are in the program folder: they go with the lock.
TEST_F(JobEnd, ASignalBeforeTheWriterRemovesTheWorkFilesAndTheLock) {
    const std::string shp = program_.file("out/海岸線.shp");
    ASSERT_TRUE(run(lineJob(shp, earlierLines_, false)));
    ASSERT_TRUE(addCompanionFiles(shp));
    const Snapshot earlier = snapshot(program_.file("out"));
    const std::set<std::string> programBefore = programFiles(program_);
    // A writer that waits at its start: the description and the line database are there meanwhile.
    fs::rename(program_.file("Brunhale"), program_.file("Brunhale.real"));
    std::ofstream(program_.file("Brunhale"))
        << "#!/bin/sh\nd=$(dirname \"$0\")\nif [ ! -e \"$d/hold/at\" ]; then echo $$ > \"$d/hold/at\"\n"
           "  while [ ! -e \"$d/hold/at.release\" ]; do sleep 0.02; done; fi\nexec \"$d/Brunhale.real\"\n";
    fs::permissions(program_.file("Brunhale"), fs::perms::owner_all);

    for (const Ending e : {Ending{SIGTERM, false}, Ending{SIGHUP, true}}) {
        SCOPED_TRACE(describe(e));
        const pid_t writer = startHeld(lineJob(shp, newLines_, true), {}, e.toGroup);
        ASSERT_GT(writer, 0) << jobText();
        std::set<std::string> during = names(program_.path());
        EXPECT_TRUE(during.count("Velmora.lock"));
        EXPECT_TRUE(during.count("MakeShapeFile.fil_H"));
        EXPECT_TRUE(std::any_of(during.begin(), during.end(), [](const std::string& n) { return n.starts_with("xxtmp"); }));

        const int status = endHeld(e.signal, e.toGroup, Writer::Program, writer);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == e.signal) << status << "\n" << jobText();
        EXPECT_EQ(snapshot(program_.file("out")), earlier);
        std::set<std::string> after = programFiles(program_);
        after.erase("Brunhale.real");
        EXPECT_EQ(after, programBefore);
    }
}

// A job killed outright while its writer is held inside its commit (the earlier output partly moved
// aside): the writer ends with it, and the next job in the program folder, to another output, puts that
// output back whole and removes what the writer left; a job to the same output then replaces it.
TEST_F(JobEnd, AWriterEndsWithItsKilledJobAndTheNextJobSettlesWhatItLeft) {
    const std::string shp = program_.file("out/海岸線.shp");
    ASSERT_TRUE(run(lineJob(shp, earlierLines_, false)));
    ASSERT_TRUE(addCompanionFiles(shp));
    const Snapshot earlier = snapshot(program_.file("out"));
    const std::set<std::string> programBefore = programFiles(program_);

    const pid_t writer = startHeld(lineJob(shp, newLines_, true), {{"VELMORA_HOLD_AT_RENAME", "3+"}}, false);
    ASSERT_GT(writer, 0) << jobText();
    EXPECT_FALSE(fs::exists(shp));  // moved aside, hidden
    ::kill(job_, SIGKILL);
    ::waitpid(job_, nullptr, 0);
    EXPECT_TRUE(waitFor([&] { return !files::processAlive(writer); })) << "the writer outlived its job";

    const std::string other = program_.file("out/other.shp");
    ASSERT_TRUE(run(lineJob(other, newLines_, false)));
    Snapshot left = snapshot(program_.file("out"));
    for (const char* ext : {".shp", ".shx", ".dbf", ".prj"}) EXPECT_EQ(left.erase(std::string("other") + ext), 1u);
    EXPECT_EQ(left, earlier);
    EXPECT_EQ(featuresFoundBySpatialQuery(shp), 3);
    EXPECT_EQ(programFiles(program_), programBefore);

    ASSERT_TRUE(run(lineJob(shp, newLines_, true)));
    EXPECT_EQ(featuresFoundBySpatialQuery(shp), 5);
    EXPECT_EQ(names(program_.file("out")),
              (std::set<std::string>{"other.dbf", "other.prj", "other.shp", "other.shx", "海岸線.dbf", "海岸線.prj",
                                     "海岸線.shp", "海岸線.shp.xml", "海岸線.shx"}));
}

// The polygon library inside the job's own process, held before it makes its files durable (nothing named
// yet) or at a rename of its commit, when the job is told to end: nothing named goes with the process;
// a commit under way is let finish first. Either way one output whole, and nothing beside it.
TEST_F(JobEnd, ASignalledAreaJobLeavesTheEarlierOrTheNewPolygonsWhole) {
    datagen::AreaGenOptions small, large;
    small.data_id = large.data_id = 4;
    small.vertices_per_link = large.vertices_per_link = 4;
    small.cols = small.rows = 1;
    large.cols = large.rows = 3;
    const std::string earlierAreas = datagen::generate_area_files(program_.file("in/small"), small).files.front();
    const std::string newAreas = datagen::generate_area_files(program_.file("in/large"), large).files.front();
    const std::string out = program_.file("out/森林.shp");
    auto areaJob = [&](const std::string& input, bool overwrite) {
        return std::string("--kind area --row 4 --attached none ") + (overwrite ? "--answer yes " : "") +
               "--answer no --out '" + out + "' '" + input + "'";
    };
    ASSERT_TRUE(run(areaJob(newAreas, false)));
    const int newCount = featuresFoundBySpatialQuery(out);
    const std::set<std::string> newNames = names(program_.file("out"));
    const std::set<std::string> programBefore = programFiles(program_);

    struct Case {
        const char* variable;
        const char* point;
        Ending ending;
    };
    // Seven earlier files moved aside (the library's three and four companions; the .prj is not the
    // library's), three new ones put in place.
    const Case cases[] = {
        {"VELMORA_HOLD_AT_FSYNC", "1", {SIGTERM, false}},  {"VELMORA_HOLD_AT_FSYNC", "3", {SIGHUP, true}},
        {"VELMORA_HOLD_AT_RENAME", "1", {SIGTERM, false}}, {"VELMORA_HOLD_AT_RENAME", "7+", {SIGHUP, false}},
        {"VELMORA_HOLD_AT_RENAME", "9", {SIGTERM, true}},  {"VELMORA_HOLD_AT_RENAME", "10+", {SIGINT, false}},
    };
    fs::remove_all(program_.file("out"));
    fs::create_directories(program_.file("out"));
    ASSERT_TRUE(run(areaJob(earlierAreas, false)));
    ASSERT_TRUE(addCompanionFiles(out));
    const Snapshot earlier = snapshot(program_.file("out"));
    const int earlierCount = featuresFoundBySpatialQuery(out);
    ASSERT_NE(earlierCount, newCount);

    for (const Case& c : cases) {
        const std::string where = std::string(c.variable) + "=" + c.point + ", " + describe(c.ending);
        SCOPED_TRACE(where);
        restore(program_.file("out"), earlier);

        const pid_t job = startHeld(areaJob(newAreas, true), {{c.variable, c.point}}, c.ending.toGroup);
        ASSERT_GT(job, 0) << jobText();
        const bool renamed = std::string(c.variable) == "VELMORA_HOLD_AT_RENAME";
        const int status = endHeld(c.ending.signal, c.ending.toGroup,
                                   renamed ? Writer::InTheJob : Writer::InTheJobOutsideItsCommit, job);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.ending.signal) << status << "\n" << jobText();

        if (renamed) {
            // Put in place: the new shapes beside the earlier set's metadata only.
            std::set<std::string> expected = newNames;
            expected.insert("森林.shp.xml");
            EXPECT_EQ(names(program_.file("out")), expected);
            EXPECT_EQ(featuresFoundBySpatialQuery(out), newCount);
        } else {
            EXPECT_EQ(snapshot(program_.file("out")), earlier);
            EXPECT_EQ(featuresFoundBySpatialQuery(out), earlierCount);
        }
        EXPECT_EQ(programFiles(program_), programBefore);
    }
}

}  // namespace
