// pointgen: writes one generated point file of the data set, or the catalogue rows that describe it (see
// tests/tools/gen/PointFileGen.h).
//
//   pointgen OUT [--format fixed|csv|tsv|ogr|catalogue] [--layer standard|port|landprice|landprice-csv]
//                [--items N] [--points N] [--seed N] [--first N] [--key KEY] [--year YYYY]
//                [--blank-y-every K] [--invalid-x-every K] [--bad-mesh-every K] [--blank-line-every K]
//                [--other-line-every K] [--quoted] [--arc-seconds]
//
// "catalogue" writes DataDBF.csv, DataDBFItem.csv and DataDBFItemCS.csv (point row 0, 1 for the port
// layer, 8 for the land-price layers; DataDBFItemCS2.csv too for land price) into the folder OUT; "ogr"
// writes the UTF-8 CSV in degrees and its .csvt for ogr2ogr. "landprice" is the fixed-column layer in the
// layout of 2001 (--items, 277 by default); "landprice-csv" the delimited one with the year in column 6
// (--year) and --items more numbers; land-price delimited files want --arc-seconds.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;
using namespace velmora::gen;

namespace {

void writeCatalogueFolder(const std::string& folder, const PointGenLayer& layer, int row) {
    testsupport::CatalogueRow r{CatalogKind::Point, row, layer.name, layer.headerKey, {}};
    for (const PointGenItem& it : layer.items) r.items.push_back({it.name, it.type, it.start, it.width, it.output});
    testsupport::writeCatalogue(folder, {r});
    writeCsvLayoutFile(folder + "/DataDBFItemCS.csv", {layer});
    if (row == 8) writeCsvLayoutFile(folder + "/DataDBFItemCS2.csv", {layer});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pointgen OUT [options]\n");
        return 2;
    }
    const std::string out = argv[1];
    std::string format = "fixed", layerName = "standard", year = "2006";
    int items = 0;
    PointFileOptions o;
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string a = argv[i];
            auto next = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (a == "--format") format = next();
            else if (a == "--layer") layerName = next();
            else if (a == "--items") items = std::stoi(next());
            else if (a == "--points") o.points = std::stol(next());
            else if (a == "--seed") o.seed = static_cast<unsigned>(std::stoul(next()));
            else if (a == "--first") o.first = std::stol(next());
            else if (a == "--key") o.headerKey = next();
            else if (a == "--year") year = o.year = next();
            else if (a == "--arc-seconds") o.arcSeconds = true;
            else if (a == "--blank-y-every") o.blankYEvery = std::stol(next());
            else if (a == "--invalid-x-every") o.invalidXEvery = std::stol(next());
            else if (a == "--bad-mesh-every") o.badMeshEvery = std::stol(next());
            else if (a == "--blank-line-every") o.blankLineEvery = std::stol(next());
            else if (a == "--other-line-every") o.otherLineEvery = std::stol(next());
            else if (a == "--quoted") o.quoted = true;
            else throw std::invalid_argument("unknown switch " + a);
        }
        const bool port = layerName == "port", landPrice = layerName.rfind("landprice", 0) == 0;
        PointGenLayer layer;
        if (port) layer = portLayer(items ? items : 593);
        else if (layerName == "landprice") layer = landPriceLayer(items ? items : 277);
        else if (layerName == "landprice-csv") layer = landPriceCsvLayer(year, items ? items : 4);
        else if (layerName == "standard") layer = standardPointLayer();
        else throw std::invalid_argument("layer standard, port, landprice or landprice-csv");
        if (format == "fixed") writeFixedPointFile(out, layer, o);
        else if (format == "csv") writeDelimitedPointFile(out, layer, o, ',');
        else if (format == "tsv") writeDelimitedPointFile(out, layer, o, '\t');
        else if (format == "ogr") writeOgrCsv(out, layer, o);
        else if (format == "catalogue") writeCatalogueFolder(out, layer, port ? 1 : landPrice ? 8 : 0);
        else throw std::invalid_argument("unknown format " + format);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pointgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
