#include "brunhale/TemporaryNames.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace velmora::brunhale {

namespace {

// Extensions a run writes or moves aside.
constexpr std::array<std::string_view, 5> Extensions = {".shp", ".shx", ".dbf", ".prj", ".cpg"};

// FNV-1a: stable across runs and builds, which a later run needs to find an earlier run's names.
std::uint64_t fingerprint(std::string_view s) {
    std::uint64_t h = 14695981039346656037ULL;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

std::string hex16(std::uint64_t v) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 0xF];
    return s;
}

}  // namespace

TemporaryNames::TemporaryNames(const std::string& finalBase, long pid) : finalBase_(finalBase), pid_(pid) {
    const std::size_t slash = finalBase.rfind('/');
    if (slash != std::string::npos) folderPrefix_ = finalBase.substr(0, slash + 1);
    const std::string_view name = std::string_view(finalBase).substr(folderPrefix_.size());
    prefix_ = "." + hex16(fingerprint(name));
}

std::string TemporaryNames::temporary(std::string_view ext) const {
    return folderPrefix_ + prefix_ + "-" + std::to_string(pid_) + std::string(ext);
}

std::string TemporaryNames::movedAside(std::string_view ext) const {
    return folderPrefix_ + prefix_ + "-" + std::to_string(pid_) + "-old" + std::string(ext);
}

std::string TemporaryNames::folder() const { return folderPrefix_.empty() ? std::string(".") : folderPrefix_; }

std::optional<TemporaryNames::Leftover> TemporaryNames::leftover(std::string_view name) const {
    if (name.substr(0, prefix_.size()) != prefix_) return std::nullopt;
    name.remove_prefix(prefix_.size());
    if (name.empty() || name.front() != '-') return std::nullopt;
    name.remove_prefix(1);

    Leftover l;
    const auto digits = std::from_chars(name.data(), name.data() + name.size(), l.pid);
    if (digits.ec != std::errc() || digits.ptr == name.data() || l.pid <= 0) return std::nullopt;
    name.remove_prefix(static_cast<std::size_t>(digits.ptr - name.data()));
    if (name.substr(0, 4) == "-old") {
        l.movedAside = true;
        name.remove_prefix(4);
    }
    for (std::string_view ext : Extensions)
        if (name == ext) {
            l.ext = std::string(ext);
            return l;
        }
    return std::nullopt;
}

}  // namespace velmora::brunhale
