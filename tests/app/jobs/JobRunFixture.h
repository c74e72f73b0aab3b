#pragma once
// Whole jobs through the headless job runner, as the convert button runs them: a program folder with
// Brunhale, "Log", "in" and "out"; the test writes the catalogue rows it converts with.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/tools/gen/LineFileGen.h"

namespace velmora::testsupport {

struct JobRun {
    std::string output;
    int exitCode = -1;
};

// The values of one field of every feature in what ogrinfo printed, in feature order.
inline std::vector<std::string> fieldValues(const std::string& info, const std::string& field) {
    std::vector<std::string> v;
    const std::string key = "  " + field + " (";
    for (std::size_t at = info.find(key); at != std::string::npos; at = info.find(key, at + 1)) {
        const std::size_t eq = info.find("= ", at) + 2;
        v.push_back(info.substr(eq, info.find('\n', eq) - eq));
    }
    return v;
}

class JobRunFixture : public ::testing::Test {
protected:
    JobRunFixture() {
        for (const char* folder : {"Log", "in", "out"}) std::filesystem::create_directories(program_.file(folder));
    }

    JobRun jobrun(const std::string& arguments) const {
        const std::string text = capture(std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" +
                                         program_.path() + "' " + arguments + "; echo \"exit:$?\"");
        const auto at = text.rfind("exit:");
        return {text.substr(0, at), std::stoi(text.substr(at + 5))};
    }
    std::string lineFile(const std::string& name, int first) const {
        const std::string path = program_.file("in/" + name);
        gen::writeLineFile(path, gen::makeLineFileModel(coastlineFile(first)));
        return path;
    }
    std::vector<std::string> logs() const { return program_.folder().list("Log"); }
    // The only log of the program folder, as UTF-8.
    std::string onlyLog() const {
        const std::vector<std::string> names = logs();
        EXPECT_EQ(names.size(), 1u);
        return names.empty() ? std::string() : text::fromCp932(readFile(program_.file("Log/" + names[0])));
    }

    BrunhaleFolder program_;
};

}  // namespace velmora::testsupport
