// Attribute-table conversion of a generated file of 100,000 rows: the streaming writer, the ledger-joined
// way (load into the work database, sorted write with one ledger look-up per row) and each followed by
// Brunhale writing the dBASE table. Prints the median of several runs in rows per second.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>
#include <unistd.h>

#include "convert/core/ConversionState.h"
#include "convert/attr/AttrLoader.h"
#include "convert/attr/AttrWriters.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/db/Database.h"
#include "platform/text/Cp932.h"
#include "platform/ui/ScriptedUi.h"
#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

constexpr long kRows = 100000;
constexpr int kRuns = 5;

struct Item {
    const char* name;
    const char* type;
    int start, width;
    bool output;
};

// A table row of ten columns (numbers, ASCII and Japanese texts); the joined layer adds 35 unused items
// and the ledger title as item 46.
const Item kItems[] = {
    {"水系コード", "Long", 4, 6, true},  {"河川コード", "Integer", 10, 3, true}, {"河川名", "Text", 13, 20, true},
    {"区分", "Text1", 33, 2, true},      {"延長", "Long", 35, 8, true},         {"面積", "Long", 43, 8, true},
    {"備考", "Text2", 51, 20, true},     {"年度", "Integer", 71, 4, true},      {"番号", "Long", 75, 6, false},
    {"名称", "Text", 81, 10, true},
};

LayerDef layer(bool joined) {
    LayerDef l;
    l.Name = text::toCp932(joined ? "河川・水系域テーブル" : "海水浴台帳");
    l.HeaderKey = "W10";
    int n = 0;
    auto add = [&](const std::string& name, const std::string& type, int start, int width, bool output) {
        ++n;
        l.ItemName[n] = text::toCp932(name);
        l.ItemType[n] = type;
        l.ItemStart[n] = static_cast<std::int16_t>(start);
        l.ItemWidth[n] = static_cast<std::int16_t>(width);
        l.ItemOutput[n] = output;
    };
    for (const Item& i : kItems) add(i.name, i.type, i.start, i.width, i.output);
    if (joined) {
        while (n < 45) add("予備" + std::to_string(n + 1), "Integer", 91, 1, false);
        add("水系名", "Text2", 0, 20, true);
    }
    l.ItemCount = static_cast<std::int16_t>(n);
    return l;
}

double medianSeconds(const std::function<void()>& run) {
    std::vector<double> t;
    for (int r = 0; r < kRuns; ++r) {
        auto a = std::chrono::steady_clock::now();
        run();
        t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

void report(const char* what, double seconds) {
    std::printf("%-44s %8.3f s  %10.0f rows/s\n", what, seconds, kRows / seconds);
}

}  // namespace

int main() {
    ui::ScriptedUi ui([](const std::string& d) { std::fprintf(stderr, "unexpected %s\n", d.c_str()); });
    ui.install();
    fs::path dir = fs::temp_directory_path() / ("velmora_bench_attr_" + std::to_string(::getpid()));
    fs::create_directories(dir / "Log");
    setProgramFolder(dir.string());
    const std::string brunhale = std::string(VELMORA_PROGRAM_DIR) + "/Brunhale";
    const bool haveWriter = fs::exists(brunhale);
    if (haveWriter) fs::copy_file(brunhale, dir / "Brunhale", fs::copy_options::overwrite_existing);

    ConversionState& s = conversionState();
    s.AppFolder = dir.string() + "/";
    s.SelectedKind = DataKind::Attr;
    s.DatumCode = -1;
    s.OutputPath = (dir / "out.dbf").string();

    std::vector<gen::AttrGenColumn> cols;
    for (const Item& i : kItems) cols.push_back({i.start, i.width, std::string(i.type).find("Text") == std::string::npos});
    const std::string streamFile = (dir / "stream.txt").string();
    const std::string joinedFile = (dir / "joined.txt").string();
    gen::writeBulkAttrFile(streamFile, {{"", "W10", "", "2008"}, cols, kRows, 11, false});
    gen::writeBulkAttrFile(joinedFile, {{"", "W10", "", "2008"}, cols, kRows, 12, true});
    std::printf("attribute tables: %ld rows (stream file %.1f MB, joined file with ledger rows %.1f MB), median of %d\n",
                kRows, fs::file_size(streamFile) / 1e6, fs::file_size(joinedFile) / 1e6, kRuns);

    auto stream = [&] {
        s.AttrLayers[3] = layer(false);
        s.SelectedIndex = 3;
        shapedesc::openPair();
        require(ModAttr::MakeShapeAttrFileData_ini(), "header block");
        require(ModAttr::MakeAttrFileData(streamFile), "streaming writer");
        shapedesc::closePair();
    };
    auto joined = [&] {
        s.AttrLayers[10] = layer(true);
        s.SelectedIndex = 10;
        shapedesc::openPair();
        require(ModAttr::MakeAttrDb(), "work database");
        db::Database database = db::Database::open(s.AppFolder + ModAttr::kAttrDbName);
        require(ModAttr::SetAttrTextToTbl(database, joinedFile), "loader");
        require(ModAttr::MakeAttrFileData_Toku(database), "joined writer");
        shapedesc::closePair();
    };
    auto write = [&] { require(shapedesc::runShapeWriter() == 0, "Brunhale"); };

    report("streaming writer (description only)", medianSeconds(stream));
    if (haveWriter) report("streaming writer + Brunhale", medianSeconds([&] { stream(); write(); }));
    report("ledger-joined: load + sorted write", medianSeconds(joined));
    if (haveWriter) report("ledger-joined + Brunhale", medianSeconds([&] { joined(); write(); }));

    ui.uninstall();
    setProgramFolder("");
    fs::remove_all(dir);
    return 0;
}
