#pragma once
// Small area files written by hand from links, areas and ledger lines, through the generator's record
// formatters. Coordinates are in 1/36000 degree.
#include <string>
#include <vector>

#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/AreaFileGen.h"

namespace polygontest {

using velmora::datagen::GenArea;
using velmora::datagen::GenLink;
using velmora::datagen::GenRef;

struct AreaFileParts {
    std::string code = "A12-60A";
    std::vector<std::string> nodes;
    std::vector<GenLink> links;
    std::vector<GenArea> areas;
    std::vector<std::string> ledgers;  // ledger lines as they stand in the file
    std::string line_end = "\r\n";
};

inline std::string area_file_text(const AreaFileParts& p) {
    namespace gen = velmora::datagen;
    std::vector<std::string> link_part, area_part;
    for (const GenLink& l : p.links)
        for (const std::string& s : gen::link_lines(l)) link_part.push_back(s);
    for (const GenArea& a : p.areas)
        for (const std::string& s : gen::area_lines(a)) area_part.push_back(s);
    const long long total = static_cast<long long>(p.nodes.size() + link_part.size() + area_part.size() + p.ledgers.size());
    std::string out = gen::header_line(p.code, total + 2) + p.line_end;
    out += gen::counts_line(total, static_cast<long long>(p.nodes.size()), static_cast<long long>(link_part.size()),
                            static_cast<long long>(area_part.size()), static_cast<long long>(p.ledgers.size())) +
           p.line_end;
    for (const std::vector<std::string>* part : {&p.nodes, static_cast<const std::vector<std::string>*>(&link_part), static_cast<const std::vector<std::string>*>(&area_part), &p.ledgers})
        for (const std::string& s : *part) out += s + p.line_end;
    return out;
}

inline std::string write_area_file(const TempFolder& dir, const std::string& name, const AreaFileParts& p) {
    const std::string path = dir.file(name);
    write_file(path, area_file_text(p));
    return path;
}

// A closed square link of `size` units with its south-west corner at (x, y), listed clockwise.
inline GenLink square_link(const std::string& mesh, int number, double x, double y, double size) {
    return GenLink{mesh, number, {{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}, {x, y}}};
}

inline GenRef fwd(int number, const std::string& mesh = "533945") { return GenRef{mesh, number, 0}; }
inline GenRef back(int number, const std::string& mesh = "533945") { return GenRef{mesh, -number, 0}; }

// The rural ledger line of an attribute number with its designation flag.
inline std::string rural_ledger(long long attr_no, int flag) {
    return velmora::datagen::ledger_lines(3, attr_no, flag).front();
}

}  // namespace polygontest
