#pragma once
// What every fuzz target shares: the input cut into the files a parser reads, and a scratch folder of the
// process (removed when it ends) to write them into. Parsers that read a file get a real file, since the
// file readers themselves are part of what is fuzzed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The input as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input split into `count` parts at its first `count - 1` NUL bytes; missing parts are empty. A seed
// of two files is the first, a NUL, and the second.
std::vector<std::string_view> splitParts(std::string_view input, std::size_t count);

// The scratch folder of this process, ending in '/'.
const std::string& scratchFolder();

// Writes `bytes` to `name` in the scratch folder and gives its path.
std::string writeScratch(const std::string& name, std::string_view bytes);

// The lines of a text cut at LF, CR LF and lone CR, as the line readers see them.
std::vector<std::string_view> lines(std::string_view text);

}  // namespace fuzz
