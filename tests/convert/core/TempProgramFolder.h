#pragma once
// A test's own program folder (with its "Log" folder) and a fresh conversion state, both undone at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "convert/core/ConversionState.h"

namespace velmora::testsupport {

class TempProgramFolder {
public:
    TempProgramFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // Names of parameterised tests hold "/": one folder, not a nest of which only the inner one goes.
        std::string name = "velmora_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_ / "Log");
        resetConversionState();
        setProgramFolder(path_.string());
    }
    ~TempProgramFolder() {
        resetConversionState();
        setProgramFolder("");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    static std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void write(const std::filesystem::path& p, const std::string& bytes) {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    std::filesystem::path path_;
};

}  // namespace velmora::testsupport
