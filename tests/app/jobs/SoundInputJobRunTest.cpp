// Sound input through every job kind, as the convert button runs the job: each everyday variant of a sound
// file (written by another program, edited by hand) converts, and to exactly what the unvaried file gives.
#include <gmock/gmock.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/app/jobs/JobKindInputs.h"

using namespace velmora;
using namespace velmora::testsupport;
namespace fs = std::filesystem;

namespace {

enum class Variant { NoFinalLineEnd };

const char* name(Variant v) {
    switch (v) {
        case Variant::NoFinalLineEnd: return "NoFinalLineEnd";
    }
    return "?";
}

struct Case {
    JobKind job;
    Variant variant;
};

class SoundInputJobRun : public JobKindFixture, public ::testing::WithParamInterface<Case> {
protected:
    // Rewrites the sound input as the variant says, keeping every record it holds.
    void vary(const JobSetup& /*job*/, Variant variant) {
        const std::vector<std::string> lines = linesOf(bytesOf(input_));
        switch (variant) {
            case Variant::NoFinalLineEnd: {
                const std::string whole = joined(lines);
                writeBytes(input_, whole.substr(0, whole.size() - 2));
                return;
            }
        }
    }

    JobRun convert(const JobSetup& job, const std::string& folder) const {
        fs::create_directories(program_.file("out/" + folder));
        return jobrun(job.arguments + " --answer no --out '" + program_.file("out/" + folder + "/result") + "' '" +
                      input_ + "'");
    }

    // Every file a job wrote into its output folder, by name, with its bytes.
    std::map<std::string, std::string> outputs(const std::string& folder) const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(program_.file("out/" + folder)))
            files[e.path().filename().string()] = bytesOf(e.path().string());
        return files;
    }
};

bool applies(const Case&) { return true; }

TEST_P(SoundInputJobRun, ConvertsToWhatTheUnvariedFileGives) {
    const Case c = GetParam();
    if (!applies(c)) GTEST_SKIP() << "no such input for this job";
    const JobSetup job = setUp(c.job);
    const JobRun plain = convert(job, "plain");
    ASSERT_THAT(plain.output, ::testing::EndsWith("result: success\n")) << plain.output;

    vary(job, c.variant);
    const std::set<std::string> before = programFolderNames();
    const JobRun varied = convert(job, "varied");
    EXPECT_THAT(varied.output, ::testing::EndsWith("result: success\n")) << varied.output;
    EXPECT_EQ(outputs("varied"), outputs("plain")) << varied.output;
    EXPECT_EQ(programFolderNames(), before);
}

std::vector<Case> everyCase() {
    std::vector<Case> cases;
    for (JobKind j : {JobKind::PointFixed, JobKind::PointComma, JobKind::Line, JobKind::Table, JobKind::Mesh, JobKind::Area})
        for (Variant v : {Variant::NoFinalLineEnd}) cases.push_back({j, v});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryJobKind, SoundInputJobRun, ::testing::ValuesIn(everyCase()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(name(info.param.job)) + "_" + name(info.param.variant);
                         });

}  // namespace
