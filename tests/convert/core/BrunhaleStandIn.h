#pragma once
// A stand-in for Brunhale in a test's program folder: it keeps a copy of the pair it was given
// ("captured_H", "captured_D"), notes each run in "runs" when asked to, and exits with a chosen code.
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/text/Cp932.h"
#include "tests/convert/core/TempProgramFolder.h"

namespace velmora::testsupport {

enum class CountRuns { No, Yes };

inline void installBrunhaleStandIn(const TempProgramFolder& program, int exitCode, CountRuns countRuns = CountRuns::No) {
    const std::string path = program.file("Brunhale");
    std::ofstream(path, std::ios::trunc) << "#!/bin/sh\nd=$(dirname \"$0\")\n"
                                            "cp \"$d/MakeShapeFile.fil_H\" \"$d/captured_H\"\n"
                                            "cp \"$d/MakeShapeFile.fil_D\" \"$d/captured_D\"\n"
                                         << (countRuns == CountRuns::Yes ? "echo run >> \"$d/runs\"\n" : "")
                                         << "exit " << exitCode << "\n";
    ::chmod(path.c_str(), 0755);
}

// Lines of a file of the program folder, UTF-8, without their CR LF; none when it does not exist.
inline std::vector<std::string> cp932LinesOf(const TempProgramFolder& program, const std::string& name) {
    std::vector<std::string> lines;
    const std::string bytes = TempProgramFolder::read(program.file(name));
    std::size_t from = 0;
    for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text::fromCp932(bytes.substr(from, at - from)));
    return lines;
}

}  // namespace velmora::testsupport
