#include "platform/map/CompanionFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace velmora::map {

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

}  // namespace

std::string companionFile(const std::string& path, const std::string& ext) {
    const fs::path given(path);
    std::string name = given.filename().string();
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    name += ext;
    const fs::path folder = given.parent_path();
    const fs::path exact = folder / name;
    if (isRegularFile(exact)) return exact.string();
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec) return {};
    // Sorted, so that two names differing only in case give the same answer every time.
    std::string found;
    for (const auto& entry : it) {
        const std::string candidate = entry.path().filename().string();
        if (equalsIgnoringCase(candidate, name) && isRegularFile(entry.path()) && (found.empty() || candidate < found))
            found = candidate;
    }
    return found.empty() ? std::string() : (folder / found).string();
}

}  // namespace velmora::map
