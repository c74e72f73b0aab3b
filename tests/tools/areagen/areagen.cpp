// areagen [options] OUTPUT_BASE: writes generated area files (OUTPUT_BASE.txt or OUTPUT_BASE_n.txt).
// With --structure ROW it writes the area-structure files of the main program's area loader instead,
// with the catalogue row they follow (OUTPUT_BASE_DataDBF.csv, OUTPUT_BASE_DataDBFItem.csv).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"
#include "tests/tools/gen/AreaFileGen.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: areagen [--item N] [--cols N] [--rows N] [--vertices N] [--files N] [--islands]\n"
                 "               [--gap DEGREES --gap-links N] [--duplicates N] [--zero-areas N]\n"
                 "               [--skipped-refs N] [--missing-refs N] [--code DATACODE] [--seed N]\n"
                 "               [--origin X Y] OUTPUT_BASE\n"
                 "       areagen --structure ROW [--cols N] [--rows N] [--vertices N] [--files N] [--seed N]\n"
                 "               [--blank-optional] [--no-vertex-links N] [--no-ledger-areas N]\n"
                 "               [--repeated-ledgers N] [--header-row ROW] [--first-attribute N] OUTPUT_BASE\n"
                 "  --origin: south-west corner in 1/36000 degree; gaps below one unit need small coordinates\n");
}

// The area-structure files and the catalogue row that describes them.
int writeStructure(const std::string& base, const velmora::datagen::AreaGenOptions& grid,
                   velmora::datagen::AreaStructureOptions o) {
    namespace gen = velmora::datagen;
    o.grid = grid;
    const gen::AreaStructureModel m = gen::generate_area_structure_files(base, o);
    const std::string name = "生成エリア" + std::to_string(m.row);
    velmora::text::LineWriter rows(base + "_DataDBF.csv", velmora::text::LineWriter::Mode::Replace);
    rows.writeLine(velmora::text::toCp932("種別,行,名称,フラグ1,全国ファイル可,フラグ3,フラグ4,フラグ5,フラグ6,ヘッダキー,項目数,メッシュ階層,細分区画"));
    rows.writeLine(gen::area_catalogue_line(m, name));
    rows.close();
    velmora::text::LineWriter items(base + "_DataDBFItem.csv", velmora::text::LineWriter::Mode::Replace);
    items.writeLine(velmora::text::toCp932("種別,行,レイヤキー,項目番号,備考,項目名,型,幅,出力,開始位置"));
    for (const std::string& line : gen::area_catalogue_item_lines(m, name)) items.writeLine(line);
    items.close();
    long long links = 0, areas = 0;
    for (const gen::AreaStructureFile& f : m.files) {
        std::printf("%s\n", f.path.c_str());
        links += static_cast<long long>(f.links.size());
        areas += static_cast<long long>(f.areas.size());
    }
    std::printf("links %lld, areas %lld\n", links, areas);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    velmora::datagen::AreaGenOptions o;
    velmora::datagen::AreaStructureOptions so;
    bool structure = false;
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
        else if (a == "--structure") {
            structure = true;
            so.row = std::atoi(value());
        }
        else if (a == "--blank-optional") so.blank_optional_fields = true;
        else if (a == "--no-vertex-links") so.links_without_vertices = std::atoi(value());
        else if (a == "--no-ledger-areas") so.areas_without_ledger = std::atoi(value());
        else if (a == "--repeated-ledgers") so.repeated_ledgers = std::atoi(value());
        else if (a == "--header-row") so.header_row = std::atoi(value());
        else if (a == "--first-attribute") so.first_attribute = std::atoll(value());
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
    if (structure) return writeStructure(base, o, so);
    const velmora::datagen::AreaGenResult r = velmora::datagen::generate_area_files(base, o);
    for (const std::string& f : r.files) std::printf("%s\n", f.c_str());
    std::printf("links %lld, vertices %lld, areas %lld\n", r.links, r.vertices, r.areas);
    return 0;
}
