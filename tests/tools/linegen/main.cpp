// linegen: writes one generated line file of the data set (see tests/tools/gen/LineFileGen.h).
//
//   linegen OUT [--item ordinary|road|railway] [--key KEY] [--links N] [--vertices N] [--lines N]
//               [--links-per-line N] [--stations N] [--first-link N] [--first-line N] [--meshes A,B,...]
//               [--blank] [--reversed] [--missing-every K] [--serials-per-mesh]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>

#include "tests/tools/gen/GeneratorMain.h"
#include "tests/tools/gen/LineFileGen.h"

using namespace velmora::gen;

int main(int argc, char** argv) {
    LineFileOptions o;
    return runGenerator(
        "linegen", argc, argv,
        [&](const std::string& a, const NextValue& next) {
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
            else if (a == "--serials-per-mesh") o.serialsPerMesh = true;
            else if (a == "--missing-every") o.missingLedgerEvery = std::stoi(next());
            else if (a == "--meshes") {
                o.meshes.clear();
                std::stringstream ss(next());
                for (std::string m; std::getline(ss, m, ',');) o.meshes.push_back(std::stoi(m));
            } else return false;
            return true;
        },
        [&](const std::string& out) {
            writeLineFile(out, makeLineFileModel(o));
        });
}
