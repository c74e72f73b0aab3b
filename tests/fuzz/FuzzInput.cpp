#include "tests/fuzz/FuzzInput.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fuzz {

std::vector<std::string_view> splitParts(std::string_view input, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t nul = input.find('\0');
        if (nul == std::string_view::npos) break;
        parts.push_back(input.substr(0, nul));
        input.remove_prefix(nul + 1);
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

namespace {

struct Scratch {
    std::string path;
    Scratch() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder in " + pattern);
        path = pattern + "/";
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const std::string& scratchFolder() {
    static Scratch scratch;
    return scratch.path;
}

std::string writeScratch(const std::string& name, std::string_view bytes) {
    const std::string path = scratchFolder() + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        out.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) out.push_back(text.substr(start));
    return out;
}

}  // namespace fuzz
