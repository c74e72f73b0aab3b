// Writes 1,000,000 points with five attribute fields and 100,000 polylines of 50 vertices through the
// intermediate shape description and Brunhale, and prints the median features per second and MB/s of
// pair text of each phase: writing the pair, and Brunhale turning it into a shapefile.
//
//   build/bench/brunhale_bench [runs]     (default 3 runs per workload)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/text/Cp932.h"

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::shapedesc;

namespace {

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void writePoints(long n) {
    text::LineWriter& h = conversionState().FilHFileNo.file();
    text::LineWriter& d = conversionState().FilDFileNo.file();
    writeMakeFileName(h, programFile("out/points"));
    writeShapeType(h, Kind::Point, 2000);
    writeFieldCount(h, 5);
    writeFieldName(h, text::toCp932("属性番号"), "N", 10);
    writeFieldName(h, text::toCp932("名称"), "C", 40);
    writeFieldName(h, text::toCp932("行政区域コード"), "C", 5);
    writeFieldName(h, text::toCp932("種別"), "N", 4);
    writeFieldName(h, text::toCp932("備考"), "C", 20);
    const std::string name = text::toCp932("東京都千代田区丸の内一丁目");
    const std::string note = text::toCp932("ﾃｽﾄﾃﾞｰﾀ");
    std::vector<std::string> values(5);
    for (long i = 1; i <= n; ++i) {
        writeLinkIdx(d, i);
        writeLinkData(d, 122.0 + (i % 360000) / 10000.0, 20.0 + (i % 250000) / 10000.0);
        writeLinkNo(h, i);
        values[0] = std::to_string(i);
        values[1] = name;
        values[2] = std::to_string(13101 + i % 50);
        values[3] = std::to_string(i % 9000);
        values[4] = note;
        writeDbfItem(h, values);
    }
}

void writePolylines(long n) {
    const int vertices = 50;
    text::LineWriter& h = conversionState().FilHFileNo.file();
    text::LineWriter& d = conversionState().FilDFileNo.file();
    writeMakeFileName(h, programFile("out/lines"));
    writeShapeType(h, Kind::MultiPartLine, 2000);
    writeFieldCount(h, 2);
    writeFieldName(h, text::toCp932("属性番号"), "N", 10);
    writeFieldName(h, text::toCp932("路線名"), "C", 40);
    const std::string route = text::toCp932("国道一号");
    std::vector<std::string> values(2);
    for (long i = 1; i <= n; ++i) {
        double x0 = 130.0 + (i % 1000) * 0.01, y0 = 33.0 + (i / 1000) * 0.01;
        writeLinkIdx(d, i);
        for (int v = 0; v < vertices; ++v) writeLinkData(d, x0 + v * 0.000028, y0 + v * 0.000083);
        writeLinkNo(h, i);
        writeBox(h, x0, y0, x0 + (vertices - 1) * 0.000028, y0 + (vertices - 1) * 0.000083);
        writePartsPoints(h, 2, vertices);
        writePartIdx(h, "0,25");
        values[0] = std::to_string(i);
        values[1] = route;
        writeDbfItem(h, values);
    }
}

void measure(const char* what, long features, const std::function<void(long)>& write, int runs) {
    std::vector<double> writeSeconds, runSeconds;
    double pairMb = 0;
    for (int r = 0; r < runs; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        openPair();
        write(features);
        closePair();
        auto t1 = std::chrono::steady_clock::now();
        pairMb = (fs::file_size(headerFilePath()) + fs::file_size(coordinateFilePath())) / 1e6;
        int code = runShapeWriter();
        auto t2 = std::chrono::steady_clock::now();
        if (code != 0) {
            std::fprintf(stderr, "%s: Brunhale exited with %d\n", what, code);
            std::exit(1);
        }
        writeSeconds.push_back(seconds(t1 - t0));
        runSeconds.push_back(seconds(t2 - t1));
    }
    double w = median(writeSeconds), b = median(runSeconds);
    std::printf("%s: %ld features, %.1f MB of pair text, median of %d runs\n", what, features, pairMb, runs);
    std::printf("  writing the pair: %8.3f s  %12.0f features/s  %8.1f MB/s\n", w, features / w, pairMb / w);
    std::printf("  Brunhale:         %8.3f s  %12.0f features/s  %8.1f MB/s\n", b, features / b, pairMb / b);
    std::printf("  together:         %8.3f s  %12.0f features/s\n", w + b, features / (w + b));
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::string folder = (fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()))).string();
    fs::create_directories(folder + "/out");
    fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", folder + "/Brunhale");
    setProgramFolder(folder);

    measure("points, 5 fields", 1000000, writePoints, runs);
    measure("polylines, 50 vertices in 2 parts", 100000, writePolylines, runs);

    deletePair();
    fs::remove_all(folder);
    return 0;
}
