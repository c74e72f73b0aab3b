#pragma once
// The job kinds as the convert button runs them, each with its catalogue rows and a sound input file of
// its own: the set-up that the tables of bad and of sound inputs share.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text/LineWriter.h"
#include "tests/app/jobs/JobRunFixture.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

namespace velmora::testsupport {

namespace fs = std::filesystem;

enum class JobKind { PointFixed, PointComma, Line, Table, Mesh, Area };

inline const char* name(JobKind k) {
    switch (k) {
        case JobKind::PointFixed: return "PointFixed";
        case JobKind::PointComma: return "PointComma";
        case JobKind::Line: return "Line";
        case JobKind::Table: return "Table";
        case JobKind::Mesh: return "Mesh";
        case JobKind::Area: return "Area";
    }
    return "?";
}

inline const std::vector<CatalogueItem> kBeachItems = {
    {"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true}, {"人数", "Long", 29, 8, true}};

inline std::vector<CatalogueItem> pointItems(const gen::PointGenLayer& layer) {
    std::vector<CatalogueItem> items;
    for (const gen::PointGenItem& it : layer.items) items.push_back({it.name, it.type, it.start, it.width, it.output});
    return items;
}

inline std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

inline std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\r\n";
    return s;
}

// What a job kind needs: its row, key, catalogue rows, a sound input file, and how many of its first lines
// are header lines.
struct JobSetup {
    std::string arguments;  // --kind, --row and job options
    std::string key;        // the header key in the file ("" when the file has no header)
    int headerLines = 1;
    std::string itemName;   // UTF-8
};

class JobKindFixture : public JobRunFixture {
protected:
    const gen::PointGenLayer layer_ = gen::standardPointLayer("発電所", "P03");
    bool noLayoutRows_ = false;

    JobSetup setUp(JobKind kind) {
        switch (kind) {
            case JobKind::PointFixed:
            case JobKind::PointComma: {
                // The comma job's items come from the item layout file, whose rows it needs too.
                const bool comma = kind == JobKind::PointComma;
                writeCatalogue(program_.path(), {{CatalogKind::Point, 12, "発電所", "P03", pointItems(layer_)}});
                gen::PointGenLayer layout = layer_;
                if (comma && noLayoutRows_) layout.name = "別の項目";
                gen::writeCsvLayoutFile(program_.file("DataDBFItemCS.csv"), {layout});
                gen::PointFileOptions o;
                o.points = 5;
                if (comma) gen::writeDelimitedPointFile(input_, layer_, o, ',');
                else gen::writeFixedPointFile(input_, layer_, o);
                return {"--kind point --row 12", comma ? "" : "P03", 1, "発電所"};
            }
            case JobKind::Line:
                writeCatalogue(program_.path(),
                               {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())}});
                gen::writeLineFile(input_, gen::makeLineFileModel(coastlineFile(1)));
                return {"--kind line --row 3", "N03-L", 2, "海岸線"};
            case JobKind::Table: {
                writeCatalogue(program_.path(), {{CatalogKind::Attr, 3, "海水浴台帳", "W07", kBeachItems}});
                const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}, {29, 8, true}};
                gen::writeLines(input_, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 3}),
                                         gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120"}),
                                         gen::attrTRow(cols, {"A0002", "逗子", "7"}),
                                         gen::attrTRow(cols, {"A0003", "葉山", "15"})});
                return {"--kind attr --row 3", "W07", 1, "海水浴台帳"};
            }
            case JobKind::Mesh: {
                writeCatalogue(program_.path(), {{CatalogKind::Mesh, 0, "指定地域メッシュ", "M99",
                                                  meshCatalogueItems(gen::MeshFileFormat::Fixed, 0), 3, 0}});
                gen::MeshFileOptions o;
                o.records = 5;
                gen::writeMeshFile(input_, gen::makeMeshFileModel(o));
                return {"--kind mesh --row 0", "M99", 1, "指定地域メッシュ"};
            }
            case JobKind::Area: {
                fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/libOstrand.so", program_.file("libOstrand.so"),
                              fs::copy_options::overwrite_existing);
                datagen::AreaStructureOptions o;
                o.row = 0;
                o.grid.cols = 2;
                o.grid.rows = 2;
                o.grid.files = 1;
                o.grid.vertices_per_link = 6;  // a full continuation line of five vertices and a short one
                const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("in/area"), o);
                fs::rename(m.files.front().path, input_);
                writeCatalogue(program_.path(), {});
                std::ofstream data(program_.file("DataDBF.csv"), std::ios::binary | std::ios::app);
                data << datagen::area_catalogue_line(m, "都市地域") << "\r\n";
                std::ofstream itemFile(program_.file("DataDBFItem.csv"), std::ios::binary | std::ios::app);
                for (const std::string& line : datagen::area_catalogue_item_lines(m, "都市地域")) itemFile << line << "\r\n";
                return {"--kind area --row 0", m.header_key, 2, "都市地域"};
            }
        }
        return {};
    }

    std::set<std::string> programFolderNames() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(program_.path())) names.insert(e.path().filename().string());
        names.erase("Log");
        return names;
    }

    std::string input_ = program_.file("in/input.txt");
};

}  // namespace velmora::testsupport
