// The built libOstrand.so as the main program uses it: loaded with dlopen from the program folder, both
// exports bound by name, run without a QApplication (headless: boxes on stderr, questions answered No).
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "polygon/lib/OstrandExports.h"
#include "tests/polygon/job/JobFiles.h"

namespace {

using polygontest::grid_file;
using polygontest::read_file;
using polygontest::sj;
using polygontest::TempFolder;
using testing::EndsWith;
using testing::HasSubstr;
using testing::StartsWith;

OstrandFunction ostrand_export = nullptr;
MakeSyusuiV6Function syusui_export = nullptr;

class Library : public testing::Test {
protected:
    // Bound once and kept loaded, as the main program does.
    static void SetUpTestSuite() {
        if (ostrand_export) return;
        void* lib = ::dlopen(VELMORA_PROGRAM_DIR "/libOstrand.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib, nullptr) << ::dlerror();
        ostrand_export = reinterpret_cast<OstrandFunction>(::dlsym(lib, "Ostrand"));
        syusui_export = reinterpret_cast<MakeSyusuiV6Function>(::dlsym(lib, "MakeSyusuiV6"));
        ASSERT_NE(ostrand_export, nullptr);
        ASSERT_NE(syusui_export, nullptr);
    }
    TempFolder dir{"ostrand-lib"};
};

// What the library writes to stderr (its boxes) while `f` runs.
template <typename F>
std::string stderr_of(F f) {
    const std::string path = std::filesystem::temp_directory_path() / ("ostrand-stderr-" + std::to_string(::getpid()));
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    ::close(fd);
    f();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    const std::string text = read_file(path);
    std::filesystem::remove(path);
    return text;
}

struct Counts {
    std::int32_t total = -7, made = -7, incomplete = -7, rural = -7;
};

TEST_F(Library, ExportsOnlyTheTwoEntryPoints) {
#ifndef NDEBUG
    GTEST_SKIP() << "holds in release builds only: a debug build's export list also holds Qt's inline functions";
#endif
    const std::string symbols =
        polygontest::run_command("nm -D --defined-only " VELMORA_PROGRAM_DIR "/libOstrand.so");
    std::vector<std::string> names;
    std::istringstream in(symbols);
    for (std::string line; std::getline(in, line);) {
        const std::string name = line.substr(line.rfind(' ') + 1);
        if (line.find(" T ") != std::string::npos || line.find(" W ") != std::string::npos ||
            line.find(" V ") != std::string::npos || line.find(" u ") != std::string::npos)
            names.push_back(name);
    }
    EXPECT_THAT(names, testing::UnorderedElementsAre("MakeSyusuiV6", "Ostrand")) << symbols;
}

// Every data item of the area export builds its grid: the maker of each item runs.
TEST_F(Library, AreaExportBuildsEveryItem) {
    for (int id = 0; id <= 10; ++id) {
        const std::string in = grid_file(dir, "in" + std::to_string(id), id);
        const std::string out = dir.file("out" + std::to_string(id) + ".shp"), log = dir.file("l.log");
        Counts c;
        const std::int16_t status =
            ostrand_export(static_cast<std::int16_t>(id), in.c_str(), out.c_str(), log.c_str(), "", &c.total,
                           &c.made, &c.incomplete, &c.rural);
        ASSERT_EQ(status, 0) << id;
        EXPECT_EQ(c.total, 4) << id;
        EXPECT_EQ(c.made, 4) << id;
        EXPECT_EQ(c.incomplete, 0) << id;
        EXPECT_EQ(c.rural, id == 3 || id == 4 ? 4 : 0) << id;
        for (const char* ext : {".shp", ".shx", ".dbf"})
            EXPECT_TRUE(std::filesystem::exists(dir.file("out" + std::to_string(id)) + ext)) << id << ext;
        const std::string text = read_file(log);
        EXPECT_THAT(text, StartsWith(sj("[面データ]データ変換開始。\r\n開始時刻：")));
        EXPECT_THAT(text, HasSubstr(sj("> 処理開始\r\n")));
        EXPECT_THAT(text, HasSubstr(sj("> 処理終了\r\n終了時刻：")));
    }
}

struct Refusal {
    const char* what;
    int data_id;
    enum Input { Good, Other, None, Mixed, Years } input;
    bool output, log;
    const char* mesh;
    std::int16_t status;
    const char* box;  // start of the box text on stderr, or null for none
};

class AreaRefusal : public Library, public testing::WithParamInterface<Refusal> {};

TEST_P(AreaRefusal, NoLogAndCountsUntouchedWhenAPointerIsMissing) {
    const Refusal& r = GetParam();
    const int gen_id = r.data_id >= 0 && r.data_id <= 10 ? r.data_id : 3;
    std::string in;
    switch (r.input) {
        case Refusal::Good: in = grid_file(dir, "g", gen_id); break;
        case Refusal::Other: in = grid_file(dir, "o", gen_id == 4 ? 3 : 4); break;
        case Refusal::None: break;
        case Refusal::Mixed: in = grid_file(dir, "g", gen_id) + "," + grid_file(dir, "o", gen_id == 4 ? 3 : 4); break;
        case Refusal::Years:
            in = grid_file(dir, "a", 8, 1, 1, "N03-07A") + "," + grid_file(dir, "b", 8, 1, 1, "N03-08A");
            break;
    }
    const std::string out = dir.file("o.shp"), log = dir.file("l.log");
    Counts c;
    std::string boxes = stderr_of([&] {
        EXPECT_EQ(ostrand_export(static_cast<std::int16_t>(r.data_id), r.input == Refusal::None ? nullptr : in.c_str(),
                                 r.output ? out.c_str() : nullptr, r.log ? log.c_str() : nullptr, r.mesh, &c.total,
                                 &c.made, nullptr, &c.rural),
                  r.status);
    });
    EXPECT_EQ(c.total, -7);
    EXPECT_EQ(c.made, -7);
    EXPECT_EQ(c.rural, -7);
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_FALSE(std::filesystem::exists(out));
    if (r.box)
        EXPECT_THAT(boxes, StartsWith(std::string("メッセージ: ") + r.box));
    else
        EXPECT_EQ(boxes, "");
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, AreaRefusal,
    testing::Values(Refusal{"unknown item", 11, Refusal::Good, true, true, "", 1, nullptr},
                    Refusal{"catchments through the area export", 20, Refusal::Good, true, true, "", 1, nullptr},
                    Refusal{"no input", 3, Refusal::None, true, true, "", 2, nullptr},
                    Refusal{"no output", 3, Refusal::Good, false, true, "", 3, nullptr},
                    Refusal{"no log", 3, Refusal::Good, true, false, "", 4, nullptr},
                    Refusal{"no mesh list", 3, Refusal::Good, true, true, nullptr, 5, nullptr},
                    Refusal{"other files declined", 3, Refusal::Mixed, true, true, "", 11,
                            "[農業地域]以外のファイルが含まれます。\n[農業地域]のファイルのみを使って処理を続けますか？"},
                    Refusal{"no file of the item", 3, Refusal::Other, true, true, "", 12,
                            "[農業地域]に該当するファイルがありませんでした。"},
                    Refusal{"two creation years", 8, Refusal::Years, true, true, nullptr, 13,
                            "[行政界・海岸線]で作成年度の異なるデータが混在しています\n"}),
    [](const testing::TestParamInfo<Refusal>& i) {
        return "status" + std::to_string(i.param.status) + "_" + std::to_string(i.index);
    });

TEST_F(Library, FailureWhileSavingShowsTwoBoxes) {
    const std::string in = grid_file(dir, "g", 3), out = dir.file("missing/o.shp"), log = dir.file("l.log");
    Counts c;
    const std::string boxes = stderr_of([&] {
        EXPECT_EQ(ostrand_export(3, in.c_str(), out.c_str(), log.c_str(), "", &c.total, &c.made, &c.incomplete,
                                 &c.rural),
                  102);
    });
    std::vector<std::string> lines;
    std::istringstream s(boxes);
    for (std::string l; std::getline(s, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 2u) << boxes;
    EXPECT_THAT(lines[0], StartsWith("エラー: "));
    EXPECT_EQ(lines[1], "エラー: エラーが生じたため中止します。");
    const std::string text = read_file(log);
    EXPECT_THAT(text, HasSubstr(sj("> エラーが生じたため処理を中止しました。Shapeファイルは作成されていません。\r\n"
                                   "終了時刻：")));
    EXPECT_THAT(text, EndsWith("\r\n\r\n"));
}

TEST_F(Library, WindowFailureLeavesItsSingleLine) {
    const std::string in = grid_file(dir, "g", 3), out = dir.file("o.shp"), log = dir.file("l.log");
    Counts c;
    ::setenv("OSTRAND_TEST_WINDOW_FAILS", "1", 1);
    const std::int16_t status =
        ostrand_export(3, in.c_str(), out.c_str(), log.c_str(), "", &c.total, &c.made, &c.incomplete, &c.rural);
    ::unsetenv("OSTRAND_TEST_WINDOW_FAILS");
    EXPECT_EQ(status, 101);
    EXPECT_THAT(read_file(log), EndsWith(sj("なし\r\n\r\nシステムエラー：ウィンドウの作成に失敗しました。\r\n")));
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Library, CatchmentExportRefusals) {
    const std::string good = grid_file(dir, "w", 3), out = dir.file("o.shp"), log = dir.file("l.log");
    const char* in = good.c_str();
    struct Case {
        const char* codes;
        const char* input;
        const char* output;
        const char* log;
        std::int16_t status;
    } cases[] = {
        {"", nullptr, nullptr, nullptr, 1},  // the codes are looked at first
        {nullptr, in, out.c_str(), log.c_str(), 1},
        {"81001", nullptr, out.c_str(), log.c_str(), 2},
        {"81001", in, nullptr, log.c_str(), 3},
        {"81001", in, out.c_str(), nullptr, 4},
        {"81001", in, out.c_str(), log.c_str(), 12},  // a rural file is no catchment file
    };
    for (const Case& k : cases) {
        Counts c;
        const std::string boxes = stderr_of([&] {
            EXPECT_EQ(syusui_export(k.codes, k.input, k.output, k.log, &c.total, nullptr, &c.incomplete), k.status);
        });
        EXPECT_EQ(c.total, -7);
        EXPECT_EQ(c.incomplete, -7);
        EXPECT_FALSE(std::filesystem::exists(log));
        EXPECT_EQ(boxes.empty(), k.status != 12) << boxes;
    }
}

}  // namespace
