// The headless job runner's output path, and what a line job through it leaves of an earlier output when
// the writer cannot finish.
#include <gmock/gmock.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/polygon/support/SmallTmpfs.h"
#include "tests/support/GisCompanions.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/LineFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

struct RunnerResult {
    std::string output;
    int exitCode = -1;
};

class JobRunner : public ::testing::Test {
protected:
    JobRunner() {
        fs::create_directories(program_.file("Log"));
        fs::create_directories(program_.file("in"));
        fs::create_directories(program_.file("out"));
        writeCatalogue(program_.path(),
                       {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())}});
        gen::writeLineFile(input_, gen::makeLineFileModel(coastlineFile(1)));
    }

    // A line job over the generated file, started in `workingFolder`; questions answered as given.
    RunnerResult lineJob(const std::string& workingFolder, const std::string& out, const std::string& answers = {}) const {
        return job(workingFolder, "--kind line --row 3 " + answers + " --out '" + out + "' '" + input_ + "'");
    }
    RunnerResult job(const std::string& workingFolder, const std::string& arguments) const {
        const std::string text =
            capture("cd '" + workingFolder + "' && " + std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" +
                    program_.path() + "' " + arguments + " 2>&1; echo \"exit:$?\"");
        const auto at = text.rfind("exit:");
        return {text.substr(0, at), std::stoi(text.substr(at + 5))};
    }

    BrunhaleFolder program_;
    std::string input_ = program_.file("in/coast.txt");
};

std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
}

std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) files[e.path().filename().string()] = readFile(e.path().string());
    return files;
}

TEST_F(JobRunner, ARelativeOutputPathIsTakenAgainstTheWorkingFolder) {
    const RunnerResult run = lineJob(program_.file("out"), "海岸線", "--answer no");
    EXPECT_THAT(run.output, ::testing::EndsWith("result: success\n"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(ogrinfo(program_.file("out/海岸線.shp")), HasSubstr("Feature Count: 3"));
}

TEST_F(JobRunner, AFullFileSystemKeepsTheEarlierOutput) {
    polygontest::SmallTmpfs full(program_.file("full"), "64k");
    if (!full.mounted()) GTEST_SKIP() << "mounting a small file system needs root";
    const std::string out = program_.file("full/海岸線.shp");
    ASSERT_EQ(lineJob(program_.path(), out, "--answer no").exitCode, 0);
    const auto before = snapshot(program_.file("full"));
    ASSERT_EQ(before.size(), 4u);  // .shp, .shx, .dbf, .prj

    // A second job over many more lines than the file system can hold, replacing the first (Yes).
    gen::LineFileOptions big = coastlineFile(1);
    big.links = 2000;
    big.lines = 1000;
    gen::writeLineFile(input_, gen::makeLineFileModel(big));
    const RunnerResult run = lineJob(program_.path(), out, "--answer yes --answer no");
    EXPECT_THAT(run.output, HasSubstr("Shapeﾌｧｲﾙの作成に失敗しました。"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(snapshot(program_.file("full")), before);
}

}  // namespace

namespace {

// A folder that turns read-only for the rest of the object's life: a read-only bind mount of itself
// (root writes through mode bits) or, for other users, its write bits taken away.
class ReadOnlyLater {
public:
    explicit ReadOnlyLater(std::string folder) : folder_(std::move(folder)) {}
    ~ReadOnlyLater() {
        if (::geteuid() == 0) {
            std::system(("umount '" + folder_ + "' 2>/dev/null").c_str());
        } else {
            fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add);
        }
    }
    // The shell command that turns the folder read-only; it fails where bind mounts are not allowed.
    std::string command() const {
        if (::geteuid() == 0)
            return "mount --bind '" + folder_ + "' '" + folder_ + "' && mount -o remount,bind,ro '" + folder_ + "'";
        return "chmod a-w '" + folder_ + "'";
    }

private:
    std::string folder_;
};

}  // namespace

TEST_F(JobRunner, AMissingWriterFailsWithItsBoxAndKeepsTheEarlierOutput) {
    const std::string out = program_.file("out/海岸線.shp");
    ASSERT_EQ(lineJob(program_.path(), out, "--answer no").exitCode, 0);
    const auto before = snapshot(program_.file("out"));
    fs::remove(program_.file("Brunhale"));

    const RunnerResult run = lineJob(program_.path(), out, "--answer yes");
    EXPECT_THAT(run.output, HasSubstr("box: ﾒｯｾｰｼﾞ | Shapeﾌｧｲﾙの作成に失敗しました。"));
    EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(snapshot(program_.file("out")), before);
}

TEST_F(JobRunner, AMissingPolygonLibraryFailsWithItsBoxAndKeepsTheEarlierOutput) {
    writeCatalogue(program_.path(), {{CatalogKind::Area, 4, "森林地域", "A13-60A", {}}});
    datagen::AreaGenOptions o;
    o.data_id = 4;
    o.vertices_per_link = 4;
    const std::string forest = datagen::generate_area_files(program_.file("in/forest"), o).files.front();
    const std::string areaJob = "--kind area --row 4 --attached none --out '" + program_.file("out/森林") + "' '" + forest + "'";
    fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/libOstrand.so", program_.file("libOstrand.so"));
    ASSERT_EQ(job(program_.path(), "--answer no " + areaJob).exitCode, 0);
    const auto before = snapshot(program_.file("out"));
    ASSERT_EQ(before.size(), 4u);  // .shp, .shx, .dbf, .prj
    fs::remove(program_.file("libOstrand.so"));
    const std::set<std::string> programBefore = names(program_.path());

    const RunnerResult run = job(program_.path(), "--answer yes " + areaJob);
    EXPECT_THAT(run.output, HasSubstr("box: Error: frmDataSet (frmDataSet MakePolygon) | 53 "));
    EXPECT_THAT(run.output, HasSubstr("libOstrand.so: cannot open shared object file"));
    EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(snapshot(program_.file("out")), before);
    // Nothing of its own beside the job's log (in Log/): no polygon database, no description files.
    EXPECT_EQ(names(program_.path()), programBefore);
    // The job's log holds the cause the box showed.
    std::string log;
    for (const auto& e : fs::directory_iterator(program_.file("Log"))) log += text::fromCp932(readFile(e.path().string()));
    EXPECT_THAT(log, HasSubstr("libOstrand.so: cannot open shared object file"));
}

TEST_F(JobRunner, AnOutputFolderTurnedReadOnlyAfterTheChecksKeepsTheEarlierOutput) {
    const std::string out = program_.file("out/海岸線.shp");
    ASSERT_EQ(lineJob(program_.path(), out, "--answer no").exitCode, 0);
    const auto before = snapshot(program_.file("out"));

    // The job's checks pass on a writable folder; the writer then finds it read-only.
    ReadOnlyLater readOnly(program_.file("out"));
    fs::rename(program_.file("Brunhale"), program_.file("Brunhale.real"));
    {
        std::ofstream wrapper(program_.file("Brunhale"));
        wrapper << "#!/bin/sh\n" << readOnly.command() << " || { touch \"$0.unlocked\"; exit 99; }\nexec \"$(dirname \"$0\")/Brunhale.real\"\n";
    }
    fs::permissions(program_.file("Brunhale"), fs::perms::owner_all);
    // Brunhale finds its pair beside its own executable, which the wrapper's exec keeps in this folder.
    const RunnerResult run = lineJob(program_.path(), out, "--answer yes");
    if (fs::exists(program_.file("Brunhale.unlocked"))) GTEST_SKIP() << "the folder cannot be made read-only";
    EXPECT_THAT(run.output, HasSubstr("box: ﾒｯｾｰｼﾞ | Shapeﾌｧｲﾙの作成に失敗しました。"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(snapshot(program_.file("out")), before);
}

// The writer killed before or after any rename of its commit (the build of Brunhale that tests/tools/killat
// makes): the job reports the failure, and by then the earlier output is back whole under its name, or,
// killed once every new file was in place, the new output stays whole; nothing else is beside it. A job of
// each kind of output: shapes with their projection, and a table alone.
TEST_F(JobRunner, AWriterKilledInItsCommitLeavesTheEarlierOrTheNewOutputWhole) {
    const std::vector<CatalogueItem> beachItems = {{"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true}};
    writeCatalogue(program_.path(), {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                                     {CatalogKind::Attr, 3, "海水浴台帳", "W07", beachItems}});
    fs::copy_file(std::string(VELMORA_BINARY_DIR) + "/tools/brunhale_killable", program_.file("Brunhale"),
                  fs::copy_options::overwrite_existing);
    gen::LineFileOptions longer = coastlineFile(1);
    longer.links = 10;
    longer.lines = 5;
    const std::string longerLines = program_.file("in/coast5.txt");
    gen::writeLineFile(longerLines, gen::makeLineFileModel(longer));
    const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}};
    const std::string beach1 = program_.file("in/beach1.txt"), beach2 = program_.file("in/beach2.txt");
    gen::writeLines(beach1, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 1}), gen::attrTRow(cols, {"A0001", "由比ヶ浜"})});
    gen::writeLines(beach2, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 2}), gen::attrTRow(cols, {"A0001", "由比ヶ浜"}),
                             gen::attrTRow(cols, {"A0002", "逗子"})});

    struct Case {
        const char* kind;
        std::string earlierJob, newJob;  // the new job answers Yes to overwriting where it asks, No to the map
        std::size_t files;
        int renames;  // every earlier file moved aside, every new one put in place
        const char* failure;
    };
    const std::string shp = program_.file("out/海岸線.shp"), dbf = program_.file("out/beach.dbf");
    const Case cases[] = {
        {"line", "--kind line --row 3 --answer no --out '" + shp + "' '" + input_ + "'",
         "--kind line --row 3 --answer yes --answer no --out '" + shp + "' '" + longerLines + "'", 4, 8,
         "Shapeﾌｧｲﾙの作成に失敗しました。"},
        {"attribute table", "--kind attr --row 3 --answer no --out '" + dbf + "' '" + beach1 + "'",
         "--kind attr --row 3 --answer no --out '" + dbf + "' '" + beach2 + "'", 1, 2, "DBFﾌｧｲﾙの作成に失敗しました。"},
    };
    const std::string once = program_.file("killed-once");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        fs::remove_all(program_.file("out"));
        fs::create_directories(program_.file("out"));
        ASSERT_EQ(job(program_.path(), c.newJob).exitCode, 0);
        const auto newSet = snapshot(program_.file("out"));
        ASSERT_EQ(newSet.size(), c.files);

        for (int at = 1; at <= c.renames; ++at) {
            for (const bool afterIt : {false, true}) {
                const std::string point = std::to_string(at) + (afterIt ? "+" : "");
                fs::remove_all(program_.file("out"));
                fs::create_directories(program_.file("out"));
                ASSERT_EQ(job(program_.path(), c.earlierJob).exitCode, 0);
                const auto earlier = snapshot(program_.file("out"));
                ASSERT_NE(earlier, newSet);

                fs::remove(once);
                ::setenv("VELMORA_KILL_AT_RENAME", point.c_str(), 1);
                ::setenv("VELMORA_KILL_ONCE", once.c_str(), 1);
                const RunnerResult run = job(program_.path(), c.newJob);
                ::unsetenv("VELMORA_KILL_AT_RENAME");
                ::unsetenv("VELMORA_KILL_ONCE");
                ASSERT_TRUE(fs::exists(once)) << "the writer was not killed at rename " << point << "\n" << run.output;
                EXPECT_THAT(run.output, HasSubstr(std::string("box: ﾒｯｾｰｼﾞ | ") + c.failure)) << point;
                EXPECT_EQ(run.exitCode, 1) << point;
                EXPECT_EQ(snapshot(program_.file("out")), at == c.renames && afterIt ? newSet : earlier)
                    << "killed at rename " << point;
            }
        }
    }
}

// An output opened in a GIS between runs has files beside it that describe it: a spatial index, a code
// page. Replaced, the output takes them with it, and a spatial query of the new one finds every feature
// with its field names as written; the user's metadata stays. A table alone takes its code page.
TEST_F(JobRunner, AReplacedOutputTakesTheFilesThatDescribedItWithIt) {
    const std::string shp = program_.file("out/海岸線.shp");
    ASSERT_EQ(lineJob(program_.path(), shp, "--answer no").exitCode, 0);
    ASSERT_TRUE(addCompanionFiles(shp));
    ASSERT_EQ(featuresFoundBySpatialQuery(shp), 3);
    gen::LineFileOptions longer = coastlineFile(1);
    longer.links = 10;
    longer.lines = 5;
    const std::string longerLines = program_.file("in/coast5.txt");
    gen::writeLineFile(longerLines, gen::makeLineFileModel(longer));

    ASSERT_EQ(job(program_.path(), "--kind line --row 3 --answer yes --answer no --out '" + shp + "' '" + longerLines + "'").exitCode, 0);
    EXPECT_EQ(names(program_.file("out")),
              (std::set<std::string>{"海岸線.dbf", "海岸線.prj", "海岸線.shp", "海岸線.shp.xml", "海岸線.shx"}));
    EXPECT_EQ(readFile(program_.file("out/海岸線.shp.xml")), UserMetadata);
    EXPECT_EQ(featuresFoundBySpatialQuery(shp), 5);
    EXPECT_THAT(ogrinfoReport(shp, "-so"), HasSubstr("属性番号: "));

    const std::vector<CatalogueItem> beachItems = {{"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true}};
    writeCatalogue(program_.path(), {{CatalogKind::Attr, 3, "海水浴台帳", "W07", beachItems}});
    const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}};
    const std::string beach = program_.file("in/beach.txt"), dbf = program_.file("out/beach.dbf");
    gen::writeLines(beach, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 1}), gen::attrTRow(cols, {"A0001", "由比ヶ浜"})});
    const std::string tableJob = "--kind attr --row 3 --answer no --out '" + dbf + "' '" + beach + "'";
    ASSERT_EQ(job(program_.path(), tableJob).exitCode, 0);
    std::ofstream(program_.file("out/beach.cpg")) << "UTF-8";
    ASSERT_EQ(job(program_.path(), tableJob).exitCode, 0);
    EXPECT_FALSE(fs::exists(program_.file("out/beach.cpg")));
    EXPECT_THAT(ogrinfoReport(dbf, ""), HasSubstr("由比ヶ浜"));
}
