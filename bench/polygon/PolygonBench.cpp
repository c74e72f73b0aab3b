// The polygon makers on nationwide-scale generated area files: time and peak memory of each phase of a
// job (read, build, clean or nest, write), one job per item.
//
//   bench_polygon [--small] [--only NAME] [--linework FILE] [--files N] [--keep DIR]
//
// --small runs every item on a grid a hundred times smaller (a quick look); --only runs one item (clean,
// rural, repair, meshes, holes, shore, basin); --linework writes the clean item's links as WKB line strings to FILE (for
// run-geos-compare.sh, which times GEOS's polygonize on the same linework); --files spreads the clean item
// over N files (vertical strips) instead of one; --keep generates into DIR and leaves there, per item, the
// input files (listed comma-separated in NAME.files), the job's NAME.shp, .shx, .dbf and its log lines
// (NAME.log), so that outputs can be compared byte for byte across builds and the same files run through
// the library's export.
//
// Peak memory is the process's high-water mark of resident memory during the phase (the mark is reset
// before each phase through /proc/self/clear_refs), so it includes what earlier phases still hold.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/KsPolygonMakerBasinFactory.h"
#include "polygon/core/TextUtil.h"
#include "tests/polygon/support/AreaFixture.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"

using namespace ostrand;
namespace gen = velmora::datagen;
using Steady = std::chrono::steady_clock;

namespace {

long peak_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

void reset_peak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

struct Phase {
    std::string name;
    double seconds = 0;
    long peak_mb = 0;
};

// Times f and records the peak memory while it ran.
void timed(std::vector<Phase>& phases, const std::string& name, const std::function<void()>& f) {
    reset_peak();
    const auto t0 = Steady::now();
    f();
    const auto t1 = Steady::now();
    phases.push_back({name, std::chrono::duration<double>(t1 - t0).count(), peak_kb() / 1024});
}

// The steps around ring building are timed separately from it: the makers under test with their
// modify_before / modify_after wrapped.
template <class Maker>
class PhasedMaker : public Maker {
public:
    PhasedMaker(const LayerRecord& layer, const char* meshes, std::vector<std::string>* log,
                std::vector<Phase>& phases, const char* after_name)
        : Maker(layer, meshes, log), phases_(phases), after_name_(after_name) {}
    void modify_before() override { timed(phases_, "prepare", [this] { Maker::modify_before(); }); }
    void modify_after() override { timed(phases_, after_name_, [this] { Maker::modify_after(); }); }

private:
    std::vector<Phase>& phases_;
    const char* after_name_;
};

// For catchments (20) `meshes` holds the catchment codes.
std::unique_ptr<KsPolygonMaker> make_maker(int id, const char* meshes, std::vector<std::string>* log,
                                           std::vector<Phase>& phases) {
    const LayerRecord layer = *find_layer_record(id);
    if (id == 20) {
        auto maker = std::make_unique<PhasedMaker<KsPolygonMakerBasin>>(layer, nullptr, log, phases, "loops");
        std::vector<std::string> codes;
        split(meshes, ',', codes);
        for (const std::string& code : codes) maker->add_code(code);
        return maker;
    }
    if (id == 3 || id == 4) return std::make_unique<PhasedMaker<KsPolygonMakerRural>>(layer, meshes, log, phases, "nest");
    if (id == 0 || id == 6 || id == 9 || id == 10)
        return std::make_unique<PhasedMaker<KsPolygonMakerRepair>>(layer, meshes, log, phases, "clean");
    return std::make_unique<PhasedMaker<KsPolygonMakerClean>>(layer, meshes, log, phases, "clean");
}

struct InputSize {
    long long links = 0, vertices = 0, areas = 0;
};

void print_job(const char* what, const InputSize& files, const PolygonStats& stats, double total,
               const std::vector<Phase>& phases) {
    std::printf("%-28s links %7lld vertices %8lld areas %7lld -> made %6d, dropped %5d: %.2f s\n", what,
                files.links, files.vertices, files.areas, stats.made, stats.dropped, total);
    long peak = 0;
    for (const Phase& p : phases) {
        std::printf("    %-10s %8.3f s  peak %6ld MB\n", p.name.c_str(), p.seconds, p.peak_mb);
        peak = std::max(peak, p.peak_mb);
    }
    std::printf("    %-10s %8.3f s  peak %6ld MB\n", "job", total, peak);
    std::fflush(stdout);
}

InputSize size_of(const gen::AreaGenResult& r) { return {r.links, r.vertices, r.areas}; }

// What --keep leaves of a job beside its outputs: the input list and the log lines with the counts.
void keep_job(const std::filesystem::path& dir, const std::string& name, const std::vector<std::string>& files,
              const std::vector<std::string>& log, const PolygonStats& stats) {
    std::ofstream list(dir / (name + ".files"), std::ios::binary);
    for (std::size_t i = 0; i < files.size(); ++i) list << (i ? "," : "") << files[i];
    std::ofstream lines(dir / (name + ".log"), std::ios::binary);
    for (const std::string& l : log) lines << l << '\n';
    lines << "total " << stats.total << " made " << stats.made << " incomplete " << stats.incomplete << " dropped "
          << stats.dropped << " rural " << stats.rural_records << '\n';
}

// One job as the worker runs it: open every file, build (with the step before and after ring building
// timed on their own), write the shapefile and the table.
void run_job(const char* what, int id, const char* meshes, const std::vector<std::string>& files,
             const InputSize& size, const std::filesystem::path& dir, const std::string& keep_as = "") {
    std::vector<Phase> phases;
    std::vector<std::string> log;
    const auto start = Steady::now();
    std::unique_ptr<KsPolygonMaker> maker = make_maker(id, meshes, &log, phases);
    timed(phases, "read", [&] {
        maker->open_files(files);
    });
    InputSize read_size = size;
    read_size.links = static_cast<long long>(maker->links.size());
    read_size.vertices = 0;
    for (const auto& entry : maker->links) read_size.vertices += static_cast<long long>(entry.second.points.size());
    PolygonStats stats;
    std::vector<Phase> inner;
    timed(inner, "build", [&] { maker->build(&stats); });
    // The build phase as printed is ring building alone: the wrapped steps inside it are printed apart.
    double inside = 0;
    for (const Phase& p : phases)
        if (p.name != "read") inside += p.seconds;
    Phase build = inner.front();
    build.seconds -= inside;
    phases.insert(phases.end() - 1, build);
    const std::string out = (dir / (keep_as.empty() ? std::string("out") : keep_as)).string() + ".shp";
    timed(phases, "write", [&] {
        maker->save_shape(out);
        maker->save_dbf(out);
    });
    maker.reset();
    print_job(what, read_size, stats, std::chrono::duration<double>(Steady::now() - start).count(), phases);
    if (!keep_as.empty()) keep_job(dir, keep_as, files, log, stats);
}

// The links of the generated files as WKB line strings (little-endian), one after the other.
void write_linework(const gen::AreaGenResult& files, const std::string& path) {
    KsPolygonMaker reader(*find_layer_record(8), nullptr, nullptr);
    for (const std::string& f : files.files) reader.open(f);
    std::ofstream out(path, std::ios::binary);
    auto put = [&out](const void* p, std::size_t n) { out.write(static_cast<const char*>(p), static_cast<long>(n)); };
    const std::uint32_t count = static_cast<std::uint32_t>(reader.links.size());
    put(&count, 4);
    for (const auto& [ref, ring] : reader.links) {
        const std::uint8_t order = 1;
        const std::uint32_t type = 2, n = static_cast<std::uint32_t>(ring.points.size());
        put(&order, 1);
        put(&type, 4);
        put(&n, 4);
        for (const Point& p : ring.points) {
            put(&p.x, 8);
            put(&p.y, 8);
        }
    }
}

std::vector<std::pair<double, double>> wavy_circle(double cx, double cy, double r, int n) {
    std::vector<std::pair<double, double>> pts;
    for (int i = 0; i < n; ++i) {
        const double t = -2 * M_PI * i / n, rr = r * (1 + 0.01 * std::sin(300 * t));
        pts.emplace_back(std::round(cx + rr * std::cos(t)), std::round(cy + rr * std::sin(t)));
    }
    pts.push_back(pts.front());
    return pts;
}

std::string write_parts(const std::filesystem::path& path, const polygontest::AreaFileParts& parts) {
    std::ofstream(path, std::ios::binary) << polygontest::area_file_text(parts);
    return path.string();
}

// One designated area whose outline has 100,000 points, holding 50,000 small other areas (each becomes
// one of its holes): every hole is located on the long outline.
std::string write_many_holes(const std::filesystem::path& dir, int outline_points, int holes) {
    const double cx = 140.0 * 36000, cy = 36.0 * 36000, r = 36000;
    polygontest::AreaFileParts p;
    p.code = gen::area_data_code(4);
    auto add = [&p](gen::GenLink link, int flag) {
        p.areas.push_back(gen::GenArea{link.number, link.number, {gen::GenRef{link.mesh, link.number, 0}}});
        for (std::string& l : gen::ledger_lines(4, link.number, flag)) p.ledgers.push_back(std::move(l));
        p.links.push_back(std::move(link));
    };
    add(gen::GenLink{"533945", 1, wavy_circle(cx, cy, r, outline_points)}, 1);
    for (int k = 0; k < holes; ++k) {  // on a spiral, apart from each other
        const double a = k * 2.39996, d = 0.95 * r * std::sqrt((k + 0.5) / holes);
        const double x = std::round(cx + d * std::cos(a)), y = std::round(cy + d * std::sin(a));
        add(gen::GenLink{"533945", k + 2, {{x, y}, {x, y + 10}, {x + 10, y + 10}, {x + 10, y}, {x, y}}}, 2);
    }
    return write_parts(dir / "holes.txt", p);
}

// One lake whose shore is made of `pieces` links of 5 points, listed out of order, every 97th with its end
// moved a little: ring building fails and the stepped repair chains all of them again.
std::string write_long_shore(const std::filesystem::path& dir, int pieces) {
    polygontest::AreaFileParts p;
    p.code = gen::area_data_code(9);
    const std::vector<std::pair<double, double>> shore = wavy_circle(140.0 * 36000, 36.0 * 36000, 36000, pieces * 4);
    gen::GenArea area{1, 1, {}};
    for (int i = 0; i < pieces; ++i) {
        gen::GenLink l{"533945", i + 1, {shore.begin() + 4 * i, shore.begin() + 4 * i + 5}};
        if (i % 97 == 3) l.xy.back().first += 2;
        p.links.push_back(std::move(l));
        area.refs.push_back(gen::GenRef{"533945", (i * 7919) % pieces + 1, 0});
    }
    p.areas.push_back(area);
    p.ledgers = gen::ledger_lines(9, 1, 1);
    return write_parts(dir / "shore.txt", p);
}

}  // namespace

int main(int argc, char** argv) {
    bool small = false;
    std::string only, linework, keep;
    int clean_files = 1;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--small")) small = true;
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) only = argv[++i];
        else if (!std::strcmp(argv[i], "--linework") && i + 1 < argc) linework = argv[++i];
        else if (!std::strcmp(argv[i], "--files") && i + 1 < argc) clean_files = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--keep") && i + 1 < argc) keep = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_polygon [--small] [--only clean|rural|repair|meshes|holes|shore|basin] "
                                 "[--linework FILE] [--files N] [--keep DIR]\n");
            return 2;
        }
    }
    const std::filesystem::path dir =
        keep.empty() ? std::filesystem::temp_directory_path() / "velmora-bench-polygon" : std::filesystem::path(keep);
    std::filesystem::create_directories(dir);
    // The name a kept job's outputs take; none without --keep.
    auto kept = [&keep](const char* name) { return keep.empty() ? std::string() : std::string(name); };
    const int cols = small ? 40 : 400, rows = small ? 25 : 250;
    auto wanted = [&only](const char* name) { return only.empty() || only == name; };

    // A grid of areas whose links have 25 vertices.
    auto grid = [&](int id, int c, int r) {
        gen::AreaGenOptions o;
        o.data_id = id;
        o.cols = c;
        o.rows = r;
        o.vertices_per_link = 25;
        return o;
    };
    if (wanted("clean") || !linework.empty()) {
        // 200,000 links around 100,000 areas (administrative areas), with a few gaps.
        gen::AreaGenOptions o = grid(8, cols, rows);
        o.gap_links = 50;
        o.gap_degrees = 2e-4;
        o.files = clean_files;
        const gen::AreaGenResult files = gen::generate_area_files((dir / "clean").string(), o);
        if (!linework.empty()) write_linework(files, linework);
        if (wanted("clean")) run_job("clean item (8)", 8, nullptr, files.files, size_of(files), dir, kept("clean"));
    }
    if (wanted("rural")) {
        // 100,000 areas, every other one with an island that becomes its hole.
        gen::AreaGenOptions o = grid(4, cols, rows);
        o.islands = true;
        const gen::AreaGenResult files = gen::generate_area_files((dir / "rural").string(), o);
        run_job("rural item (4), islands", 4, "", files.files, size_of(files), dir, kept("rural"));
    }
    if (wanted("repair")) {
        gen::AreaGenOptions o = grid(9, cols / 2, rows / 2);
        o.files = 4;
        o.gap_links = 200;
        o.gap_degrees = 5e-4;
        const gen::AreaGenResult files = gen::generate_area_files((dir / "repair").string(), o);
        run_job("repair item (9), 200 gaps", 9, "", files.files, size_of(files), dir, kept("repair"));
    }
    if (wanted("meshes")) {
        // Every other secondary mesh of the whole country selected: most points lie in none of them but
        // within the box of all of them.
        gen::AreaGenOptions o = grid(4, cols, rows);
        o.islands = true;
        const gen::AreaGenResult files = gen::generate_area_files((dir / "meshes").string(), o);
        std::string meshes;
        for (int pp = 30; pp <= 68; ++pp)
            for (int uu = 22; uu <= 54; ++uu)
                for (int r = 0; r < 8; ++r)
                    for (int c = (r + pp + uu) % 2; c < 8; c += 2)
                        meshes += (meshes.empty() ? "" : ",") + std::to_string(pp * 10000 + uu * 100 + r * 10 + c);
        run_job("rural item (4), 41,000 meshes", 4, meshes.c_str(), files.files, size_of(files), dir, kept("meshes"));
    }
    if (wanted("holes")) {
        const int holes = small ? 500 : 50000;
        const std::string file = write_many_holes(dir, small ? 1000 : 100000, holes);
        run_job("rural item (4), one long outer", 4, "", {file}, InputSize{0, 0, holes + 1}, dir, kept("holes"));
    }
    if (wanted("shore")) {
        const int pieces = small ? 500 : 20000;
        const std::string file = write_long_shore(dir, pieces);
        run_job("repair item (9), one long shore", 9, "", {file}, InputSize{0, 0, 1}, dir, kept("shore"));
    }
    if (wanted("basin")) {
        // 5,000 catchments of 10 cells each over 4 files; half leave out a link (bridged), a tenth walk
        // a far link there and back (split off).
        const int catchments = small ? 50 : 5000;
        const gen::BasinGenOptions o{.cols = small ? 10 : 100, .rows = catchments / (small ? 10 : 100), .cells = 10,
                                     .cell_w_units = 216, .cell_h_units = 360, .vertices_per_link = 25,
                                     .wiggle_units = 2, .area_records = 3, .omitted_links = catchments / 2,
                                     .stray_links = catchments / 10, .files = 4};
        const gen::BasinGenResult files = gen::generate_basin_files((dir / "basin").string(), o);
        InputSize size;
        size.areas = static_cast<long long>(files.catchments.size());
        run_job("catchments (20)", 20, "81001,81002", files.files, size, dir, kept("basin"));
    }
    if (keep.empty()) std::filesystem::remove_all(dir);
}
