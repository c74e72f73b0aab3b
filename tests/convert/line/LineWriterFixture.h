#pragma once
// A line job ready to write: the loader fixture plus a stand-in for Brunhale in the test's program folder
// that keeps a copy of the pair it was given ("captured_H", "captured_D") and exits with a chosen code.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "tests/convert/line/HandRecords.h"
#include "tests/convert/line/LineLoaderFixture.h"

namespace velmora::testsupport {

class LineWriterFixture : public LineLoaderFixture {
protected:
    LineWriterFixture() {
        std::filesystem::create_directory(program_.path() / "out");
        conversionState().DatumCode = 2000;
        installStandIn(0);
    }

    void installStandIn(int exitCode) {
        const std::string path = program_.file("Brunhale");
        std::ofstream(path, std::ios::trunc) << "#!/bin/sh\nd=$(dirname \"$0\")\n"
                                                "cp \"$d/MakeShapeFile.fil_H\" \"$d/captured_H\"\n"
                                                "cp \"$d/MakeShapeFile.fil_D\" \"$d/captured_D\"\n"
                                                "exit "
                                             << exitCode << "\n";
        ::chmod(path.c_str(), 0755);
    }

    // Lines of a file of the program folder, UTF-8, without their CR LF; empty when it does not exist.
    std::vector<std::string> linesOf(const std::string& name) {
        std::vector<std::string> lines;
        const std::string bytes = TempProgramFolder::read(program_.file(name));
        std::size_t from = 0;
        for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
            lines.push_back(text::fromCp932(bytes.substr(from, at - from)));
        return lines;
    }
    std::vector<std::string> capturedHeader() { return linesOf("captured_H"); }
    std::vector<std::string> capturedCoordinates() { return linesOf("captured_D"); }
    bool pairOnDisk() {
        return std::filesystem::exists(shapedesc::headerFilePath()) &&
               std::filesystem::exists(shapedesc::coordinateFilePath());
    }
    bool pairGone() {
        return !std::filesystem::exists(shapedesc::headerFilePath()) &&
               !std::filesystem::exists(shapedesc::coordinateFilePath());
    }
    bool brunhaleRan() { return std::filesystem::exists(program_.file("captured_H")); }

    // Loads hand-written records (after a header with the row's key and the counts line).
    void loadRecords(const char* key, std::initializer_list<std::string> records, const std::string& name = "in.txt") {
        std::string bytes = crlf({header(key), kCounts});
        bytes += crlf(records);
        ASSERT_TRUE(load(writeFile(name, bytes)));
    }
    std::string out(const std::string& name) { return program_.file("out/" + name); }
};

// Vertex helpers in 1/36000 degree: 5040000 is 140 degrees, 1260000 is 35; 360 units are 0.01 degree.
inline std::string v(int i) { return vertex(5040000 + 360L * i, 1260000 + 360L * i); }

}  // namespace velmora::testsupport
