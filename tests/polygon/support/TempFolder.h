#pragma once
// What the polygon tests share: a fresh temporary folder per test, files read and written whole, and
// the output of shell commands.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/CommandOutput.h"
#include "tests/support/TempFolder.h"

namespace polygontest {

using TempFolder = velmora::testsupport::TempFolder;

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a folder, sorted: what a failed save must leave as it found it.
inline std::vector<std::string> folder_entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// Output of a shell command (stdout and stderr).
inline std::string run_command(const std::string& command) {
    return velmora::testsupport::commandOutput(command + " 2>&1");
}

}  // namespace polygontest
