#pragma once
// A line job ready to write: the loader fixture plus a stand-in for Brunhale in the test's program folder
// that keeps a copy of the pair it was given ("captured_H", "captured_D") and exits with a chosen code.
#include <filesystem>
#include <fstream>

#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "tests/convert/core/BrunhaleStandIn.h"
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

    void installStandIn(int exitCode) { installBrunhaleStandIn(program_, exitCode); }

    std::vector<std::string> linesOf(const std::string& name) { return cp932LinesOf(program_, name); }
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
