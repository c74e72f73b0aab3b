// areagen [options] OUTPUT_BASE: writes generated area files (OUTPUT_BASE.txt or OUTPUT_BASE_n.txt).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/tools/gen/AreaFileGen.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: areagen [--item N] [--cols N] [--rows N] [--vertices N] [--files N] [--islands]\n"
                 "               [--gap DEGREES --gap-links N] [--duplicates N] [--zero-areas N]\n"
                 "               [--skipped-refs N] [--missing-refs N] [--code DATACODE] [--seed N]\n"
                 "               [--origin X Y] OUTPUT_BASE\n"
                 "  --origin: south-west corner in 1/36000 degree; gaps below one unit need small coordinates\n");
}

}  // namespace

int main(int argc, char** argv) {
    velmora::datagen::AreaGenOptions o;
    std::string base;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--item") o.data_id = std::atoi(value());
        else if (a == "--cols") o.cols = std::atoi(value());
        else if (a == "--rows") o.rows = std::atoi(value());
        else if (a == "--vertices") o.vertices_per_link = std::atoi(value());
        else if (a == "--files") o.files = std::atoi(value());
        else if (a == "--islands") o.islands = true;
        else if (a == "--gap") o.gap_degrees = std::strtod(value(), nullptr);
        else if (a == "--gap-links") o.gap_links = std::atoi(value());
        else if (a == "--duplicates") o.duplicate_areas = std::atoi(value());
        else if (a == "--zero-areas") o.zero_area_areas = std::atoi(value());
        else if (a == "--skipped-refs") o.skipped_references = std::atoi(value());
        else if (a == "--missing-refs") o.missing_link_refs = std::atoi(value());
        else if (a == "--code") o.data_code = value();
        else if (a == "--origin") {
            o.origin_x = std::strtod(value(), nullptr);
            o.origin_y = std::strtod(value(), nullptr);
        }
        else if (a == "--seed") o.seed = static_cast<std::uint32_t>(std::strtoul(value(), nullptr, 10));
        else if (!a.empty() && a[0] == '-') {
            usage();
            return 2;
        } else base = a;
    }
    if (base.empty() || o.cols < 1 || o.rows < 1) {
        usage();
        return 2;
    }
    const velmora::datagen::AreaGenResult r = velmora::datagen::generate_area_files(base, o);
    for (const std::string& f : r.files) std::printf("%s\n", f.c_str());
    std::printf("links %lld, vertices %lld, areas %lld\n", r.links, r.vertices, r.areas);
    return 0;
}
