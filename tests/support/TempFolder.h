#pragma once
// A fresh temporary folder ("velmora-TAG-" and a unique ending), removed with everything in it when the
// object goes.
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::testsupport {

class TempFolder {
public:
    explicit TempFolder(const std::string& tag = "test") {
        std::string pattern = (std::filesystem::temp_directory_path() / ("velmora-" + tag + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries (of the folder `sub` inside), sorted.
    std::vector<std::string> list(const std::string& sub = {}) const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(sub.empty() ? path_ : path_ / sub))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

}  // namespace velmora::testsupport
