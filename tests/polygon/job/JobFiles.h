#pragma once
// Input files of polygon-job tests: generated area files of a data item, and files that hold only a
// header line and a counts line, for the input checks.
#include <string>

#include "platform/text/Cp932.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/AreaFileGen.h"

namespace polygontest {

namespace gen = velmora::datagen;

// A small grid of areas (cols x rows) of the data item, written as one file "<name>.txt".
inline std::string grid_file(const TempFolder& dir, const std::string& name, int data_id, int cols = 2,
                             int rows = 2, const std::string& code = {}) {
    gen::AreaGenOptions o;
    o.data_id = data_id;
    o.cols = cols;
    o.rows = rows;
    o.vertices_per_link = 4;
    o.data_code = code;
    return gen::generate_area_files(dir.file(name), o).files.front();
}

// A file of two lines: the header with the data code and a counts line with links, areas and ledger
// records (each counting lines).
inline std::string counts_file(const TempFolder& dir, const std::string& name, const std::string& code,
                               long long links, long long areas, long long ledgers) {
    const std::string path = dir.file(name);
    write_file(path, gen::header_line(code, 2) + "\r\n" +
                         gen::counts_line(links + areas + ledgers, 0, links, areas, ledgers) + "\r\n");
    return path;
}

inline std::string sj(const std::string& utf8) { return velmora::text::toCp932(utf8); }

}  // namespace polygontest
