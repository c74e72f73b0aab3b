// linegen: writes one generated line file of the data set (see tests/tools/gen/LineFileGen.h).
//
//   linegen OUT [--item ordinary|road|railway] [--key KEY] [--links N] [--vertices N] [--lines N]
//               [--links-per-line N] [--stations N] [--first-link N] [--first-line N] [--meshes A,B,...]
//               [--blank] [--reversed] [--missing-every K]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>

#include "tests/tools/gen/LineFileGen.h"

using namespace velmora::gen;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: linegen OUT [options]\n");
        return 2;
    }
    LineFileOptions o;
    const std::string out = argv[1];
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string a = argv[i];
            auto next = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (a == "--item") {
                const std::string v = next();
                o.item = v == "road" ? LineItem::Road : v == "railway" ? LineItem::Railway : LineItem::Ordinary;
            } else if (a == "--key") o.headerKey = next();
            else if (a == "--links") o.links = std::stoi(next());
            else if (a == "--vertices") o.verticesPerLink = std::stoi(next());
            else if (a == "--lines") o.lines = std::stoi(next());
            else if (a == "--links-per-line") o.linksPerLine = std::stoi(next());
            else if (a == "--stations") o.stations = std::stoi(next());
            else if (a == "--first-link") o.firstLinkSerial = std::stoi(next());
            else if (a == "--first-line") o.firstLineSerial = std::stoi(next());
            else if (a == "--blank") o.blankOptionalFields = true;
            else if (a == "--reversed") o.reversedReferences = true;
            else if (a == "--missing-every") o.missingLedgerEvery = std::stoi(next());
            else if (a == "--meshes") {
                o.meshes.clear();
                std::stringstream ss(next());
                for (std::string m; std::getline(ss, m, ',');) o.meshes.push_back(std::stoi(m));
            } else throw std::invalid_argument("unknown switch " + a);
        }
        writeLineFile(out, makeLineFileModel(o));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "linegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
