// Per-field routines on a nationwide-scale run: a million fixed-column records, ten byte cuts and two
// coordinates each. Prints the median of five rounds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/core/ConversionRoutines.h"
#include "platform/text/Cp932.h"

using namespace velmora;

int main() {
    constexpr int records = 1'000'000;
    const std::string record =
        text::toCp932("L0001道路ﾄﾞｳﾛ国道１号線        5039999 1234567 東京都千代田区丸の内一丁目  0012340567");
    const long starts[] = {1, 2, 6, 10, 14, 30, 38, 46, 62, 74};
    const long widths[] = {1, 4, 4, 4, 16, 8, 8, 16, 12, 10};
    const char* const xs[] = {"5039999", "5040123", "4860000", "5100456"};
    const char* const ys[] = {"1234567", "1300000", "1250012", "1299999"};

    std::vector<double> cutMs, xyMs;
    std::size_t sink = 0;
    double degrees = 0, sum = 0;
    for (int round = 0; round < 5; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        for (int r = 0; r < records; ++r)
            for (int f = 0; f < 10; ++f) sink += modCommon::MidByteSjis(record, starts[f], widths[f]).size();
        auto t1 = std::chrono::steady_clock::now();
        for (int r = 0; r < records; ++r) {
            ModPolygon::XYtoData(xs[r & 3], degrees);
            sum += degrees;
            ModPolygon::XYtoData(ys[r & 3], degrees);
            sum += degrees;
        }
        auto t2 = std::chrono::steady_clock::now();
        cutMs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        xyMs.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("MidByteSjis: %d records x 10 cuts: median %.1f ms (%.1f ns per cut)\n", records, median(cutMs),
                median(cutMs) * 1e6 / (records * 10.0));
    std::printf("XYtoData:    %d records x 2 coordinates: median %.1f ms (%.1f ns per coordinate)\n", records,
                median(xyMs), median(xyMs) * 1e6 / (records * 2.0));
    std::printf("(check %zu %.3f)\n", sink, sum);
}
