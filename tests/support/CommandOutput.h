#pragma once
// What a shell command writes to its standard output, read to the end; empty when it cannot be started.
// A command whose error output is wanted too ends in "2>&1".
#include <cstdio>
#include <string>

namespace velmora::testsupport {

inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// ogrinfo's report of every layer of a file, with `options` ("-so" for the summary), errors included.
inline std::string ogrinfoReport(const std::string& path, const std::string& options) {
    return commandOutput("ogrinfo -ro -al " + options + " '" + path + "' 2>&1");
}

// How often `needle` stands in `hay`, overlapping ones counted.
inline int occurrences(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (std::size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
    return n;
}

}  // namespace velmora::testsupport
