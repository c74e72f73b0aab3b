#pragma once
// Generator of catchment area files (data item 20, CP932, CR LF) for the catchment maker: a grid of
// catchments, each a strip of cells. A catchment's outline links are listed clockwise over several area
// records; the links between its cells follow in both directions; switches leave outline links out of the
// records (the link stays in the file), send a catchment's records out to a far link and back, and give
// the catchments their codes. Built on the record formatters of AreaFileGen.
#include <map>
#include <string>
#include <vector>

namespace velmora::datagen {

struct BasinGenOptions {
    int cols = 3, rows = 2;               // catchments
    int cells = 2;                        // cells of each catchment, west to east
    double cell_w_units = 1080;           // 0.03 degree; narrower than tall, so the greedy chaining
    double cell_h_units = 1800;           // 0.05 degree    takes the next outline link over the far side
    int vertices_per_link = 6;            // its two nodes included
    double wiggle_units = 0;              // inner vertices of each link moved this far to its left: the bulges
                                          // cancel over a catchment, whose area stays its rectangle's
    int area_records = 2;                 // area records the outline is spread over
    std::vector<std::string> codes = {"81001", "81002"};  // 5 characters, given to the catchments in turn
    int omitted_links = 0;                // catchments (the first ones) that leave out their first top link
    int stray_links = 0;                  // catchments (the last ones) that also walk a far link there and back
    int files = 1;                        // files by catchment columns; links of shared boundaries in both
    double origin_x = 139.0 * 36000, origin_y = 35.5 * 36000;  // south-west corner, 1/36000 degree
};

struct BasinGenCatchment {
    long long attr_no = 0;
    std::string code;
    double area_degrees = 0;      // area of its rectangle (without wiggles), square degrees
    bool omitted_link = false;
    bool stray_link = false;
};

struct BasinGenResult {
    std::vector<std::string> files;
    std::map<long long, BasinGenCatchment> catchments;  // by attribute number (1, 2, ... row by row)
    std::map<long long, std::string> ledgers;           // attribute number -> ledger text (CP932)
};

// The one-line ledger record of a catchment with its catchment code (5 characters at offset 17).
std::string basin_ledger(long long attr_no, const std::string& code);

// Writes base + ".txt" (one file) or base + "_1.txt" ...
BasinGenResult generate_basin_files(const std::string& base, const BasinGenOptions& options);

}  // namespace velmora::datagen
