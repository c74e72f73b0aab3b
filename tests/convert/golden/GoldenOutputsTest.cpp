// Whole line and attribute-table jobs through the headless job runner, their outputs compared byte for
// byte with the outputs kept under expected/: the .shp, .shx, .dbf and .prj files and the job's log. The
// only bytes left out are those that hold the time of the run: the date of a .dbf header (bytes 1-3) and
// the log's date-time texts. Anything else that changes in a converter's output shows here.
//
// VELMORA_GOLDEN_WRITE=1 writes the kept outputs afresh instead of comparing (review the diff before
// committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "tests/app/jobs/JobRunFixture.h"
#include "tests/convert/attr/AttrTableItems.h"
#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
namespace fs = std::filesystem;

namespace {

const fs::path kExpected = fs::path(VELMORA_GOLDEN_DIR) / "expected";

struct GoldenJob {
    std::string name;       // folder under expected/
    std::string arguments;  // kind and row
    std::string output;     // file name under out/
    // Writes the input files into the folder and gives their paths.
    std::function<std::vector<std::string>(const std::string& folder)> inputs;
};

// gtest names a case by its folder, not by the bytes of the struct.
void PrintTo(const GoldenJob& job, std::ostream* os) { *os << job.name; }

std::vector<int> fourMeshes() { return {533945, 533946, 543900, 543901}; }

const std::vector<GoldenJob>& goldenJobs() {
    static const std::vector<GoldenJob> jobs = {
        {"coastline", "--kind line --row 3 --datum 2000", "海岸線.shp",
         [](const std::string& folder) {
             // Two files sharing links and lines: the shared ones are written once.
             std::vector<std::string> paths;
             for (int first : {1, 31}) {
                 gen::LineFileOptions o;
                 o.headerKey = "N03-L";
                 o.meshes = fourMeshes();
                 o.links = 40;
                 o.lines = 12;
                 o.linksPerLine = 3;
                 o.firstLinkSerial = first;
                 o.firstLineSerial = first;
                 o.missingLedgerEvery = 4;
                 o.reversedReferences = true;
                 paths.push_back(folder + "/coast" + std::to_string(first) + ".txt");
                 gen::writeLineFile(paths.back(), gen::makeLineFileModel(o));
             }
             return paths;
         }},
        {"road", "--kind line --row 25 --datum 0", "道路.shp",
         [](const std::string& folder) {
             // Two files sharing 20 links: a shared link is one shape under its first number.
             std::vector<std::string> paths;
             for (int first : {1, 31}) {
                 gen::LineFileOptions o;
                 o.item = gen::LineItem::Road;
                 o.headerKey = "N01-RD";
                 o.meshes = fourMeshes();
                 o.links = 50;
                 o.verticesPerLink = 8;
                 o.firstLinkSerial = first;
                 o.blankOptionalFields = first > 1;
                 paths.push_back(folder + "/road" + std::to_string(first) + ".txt");
                 gen::writeLineFile(paths.back(), gen::makeLineFileModel(o));
             }
             return paths;
         }},
        {"railway", "--kind line --row 26 --datum -1", "鉄道.shp",
         [](const std::string& folder) {
             const std::string path = folder + "/rail.txt";
             gen::LineFileOptions o;
             o.item = gen::LineItem::Railway;
             o.headerKey = "N02-RW";
             o.meshes = fourMeshes();
             o.links = 30;
             o.lines = 10;
             o.linksPerLine = 3;
             o.stations = 6;
             gen::writeLineFile(path, gen::makeLineFileModel(o));
             return std::vector<std::string>{path};
         }},
        {"table", "--kind attr --row 3", "表.dbf",
         [](const std::string& folder) {
             std::vector<std::string> paths;
             for (unsigned seed : {7u, 9u}) {
                 paths.push_back(folder + "/table" + std::to_string(seed) + ".txt");
                 gen::writeBulkAttrFile(paths.back(), {{"", "W10", "", "2008", "1", 60}, riverTableColumns(), 60, seed, false});
             }
             return paths;
         }},
        {"joined-table", "--kind attr --row 10", "水系.dbf",
         [](const std::string& folder) {
             std::vector<std::string> paths;
             for (unsigned seed : {8u, 10u}) {
                 paths.push_back(folder + "/joined" + std::to_string(seed) + ".txt");
                 gen::writeBulkAttrFile(paths.back(), {{"", "W11", "", "2008", "1", 60}, riverTableColumns(), 60, seed, true});
             }
             return paths;
         }},
    };
    return jobs;
}

// The log with its date-time texts blanked ("2026/12/10 16:44:15" and the like).
std::string withoutTimes(const std::string& log) {
    static const std::regex stamp(R"(\d{4}/\d{1,2}/\d{1,2}[ ]+\d{1,2}:\d{2}:\d{2})");
    return std::regex_replace(log, stamp, "<time>");
}

std::string dbfWithoutDate(std::string dbf) {
    for (std::size_t i = 1; i <= 3 && i < dbf.size(); ++i) dbf[i] = 0;
    return dbf;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class GoldenOutputsTest : public JobRunFixture, public ::testing::WithParamInterface<GoldenJob> {
protected:
    GoldenOutputsTest() {
        writeCatalogue(program_.path(),
                       {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                        {CatalogKind::Line, 25, "道路", "N01-RD", lineItems(gen::roadLedgerItems())},
                        {CatalogKind::Line, 26, "鉄道", "N02-RW", lineItems(gen::ordinaryLedgerItems())},
                        {CatalogKind::Attr, 3, "河川テーブル", "W10", riverTableItems(false)},
                        {CatalogKind::Attr, 10, "河川・水系域テーブル", "W11", riverTableItems(true)}});
    }
};

TEST_P(GoldenOutputsTest, OutputsAndLogAreTheKeptOnes) {
    const GoldenJob& job = GetParam();
    std::string inputs;
    for (const std::string& in : job.inputs(program_.file("in"))) inputs += " '" + in + "'";
    const JobRun run = jobrun(job.arguments + " --out '" + program_.file("out/" + job.output) + "'" + inputs);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    std::vector<std::pair<std::string, std::string>> outputs;  // kept name, bytes
    for (const std::string& name : program_.folder().list("out")) {
        const std::string ext = fs::path(name).extension().string();
        const std::string bytes = readFile(program_.file("out/" + name));
        outputs.emplace_back("output" + ext, ext == ".dbf" ? dbfWithoutDate(bytes) : bytes);
    }
    ASSERT_EQ(logs().size(), 1u);
    outputs.emplace_back("job.log", withoutTimes(readFile(program_.file("Log/" + logs()[0]))));

    const fs::path expected = kExpected / job.name;
    if (std::getenv("VELMORA_GOLDEN_WRITE")) {
        fs::remove_all(expected);
        for (const auto& [name, bytes] : outputs) writeBytes(expected / name, bytes);
        GTEST_SKIP() << "kept outputs written to " << expected;
    }
    std::vector<std::string> keptNames;
    for (const auto& e : fs::directory_iterator(expected)) keptNames.push_back(e.path().filename().string());
    std::sort(keptNames.begin(), keptNames.end());
    std::vector<std::string> madeNames;
    for (const auto& o : outputs) madeNames.push_back(o.first);
    std::sort(madeNames.begin(), madeNames.end());
    EXPECT_EQ(madeNames, keptNames);
    for (const auto& [name, bytes] : outputs) {
        const std::string kept = readFile((expected / name).string());
        EXPECT_EQ(bytes.size(), kept.size()) << job.name << "/" << name;
        EXPECT_TRUE(bytes == kept) << job.name << "/" << name << " differs from the kept output";
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, GoldenOutputsTest, ::testing::ValuesIn(goldenJobs()),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
