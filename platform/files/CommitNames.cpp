#include "platform/files/CommitNames.h"

#include <charconv>
#include <cstdint>

namespace velmora::files {

namespace {

// An extension a run may write: a dot and a few letters or digits.
bool isExtension(std::string_view s) {
    if (s.size() < 2 || s.size() > 8 || s.front() != '.') return false;
    for (char c : s.substr(1))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

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

std::string fingerprintHex(std::string_view text) { return hex16(fingerprint(text)); }

CommitNames::CommitNames(const std::string& finalBase, const std::string& tag, long pid)
    : finalBase_(finalBase), tag_(tag), pid_(pid) {
    const std::size_t slash = finalBase.rfind('/');
    if (slash != std::string::npos) folderPrefix_ = finalBase.substr(0, slash + 1);
    const std::string_view name = std::string_view(finalBase).substr(folderPrefix_.size());
    prefix_ = "." + tag + fingerprintHex(name);
}

std::string CommitNames::temporary(std::string_view ext) const {
    return folderPrefix_ + prefix_ + "-" + std::to_string(pid_) + std::string(ext);
}

std::string CommitNames::movedAside(std::string_view ext) const {
    return folderPrefix_ + prefix_ + "-" + std::to_string(pid_) + "-old" + std::string(ext);
}

std::string CommitNames::folder() const { return folderPrefix_.empty() ? std::string(".") : folderPrefix_; }

std::optional<CommitNames::Leftover> CommitNames::leftover(std::string_view name) const {
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
    if (!isExtension(name) || (l.movedAside && name == JournalExtension)) return std::nullopt;
    l.ext = std::string(name);
    return l;
}

}  // namespace velmora::files
