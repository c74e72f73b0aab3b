#pragma once
// Catalogue files for a program folder of the tests ("DataDBF.csv" and "DataDBFItem.csv", CP932, CR LF,
// a heading line each): the rows a test converts with, as a user's installation would hold them.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "convert/core/LayerDef.h"
#include "platform/text/Cp932.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/LineFileGen.h"
#include "tests/tools/gen/MeshFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

namespace velmora::testsupport {

struct CatalogueItem {
    std::string name;  // UTF-8
    std::string type;
    int start = 1;
    int width = 1;
    bool output = true;
};

struct CatalogueRow {
    CatalogKind kind;
    int row;
    std::string name;  // UTF-8
    std::string headerKey;
    std::vector<CatalogueItem> items;
    // Mesh rows: level (2, 3, 4) and subdivision (0, 4, 5, 10); 0 and 0 in the rows of other kinds.
    int meshLevel = 0;
    int subdivision = 0;
};

// The items of a line row that describes the generator's files.
inline std::vector<CatalogueItem> lineItems(const std::vector<gen::LedgerItemDef>& ledger) {
    std::vector<CatalogueItem> items;
    for (const gen::LedgerItemDef& d : ledger) items.push_back({d.name, d.type, d.start, d.width, d.output});
    return items;
}

// The items of a mesh row that describes the generator's files.
inline std::vector<CatalogueItem> meshCatalogueItems(gen::MeshFileFormat format, int subdivision) {
    return lineItems(gen::meshItems(format, subdivision));
}

// The catalogue row of a point layer that describes the generator's files.
inline CatalogueRow pointCatalogueRow(int row, const gen::PointGenLayer& layer) {
    CatalogueRow r{CatalogKind::Point, row, layer.name, layer.headerKey, {}};
    for (const gen::PointGenItem& it : layer.items) r.items.push_back({it.name, it.type, it.start, it.width, it.output});
    return r;
}

// A small coastline file: three lines over six links, serials from `first` (files of distinct firsts share
// nothing).
inline gen::LineFileOptions coastlineFile(int first) {
    gen::LineFileOptions o;
    o.headerKey = "N03-L";
    o.links = 6;
    o.lines = 3;
    o.linksPerLine = 2;
    o.firstLinkSerial = first;
    o.firstLineSerial = first;
    return o;
}

inline void writeCatalogue(const std::filesystem::path& folder, const std::vector<CatalogueRow>& rows) {
    std::string data = text::toCp932("種別,行,名称,フラグ1,全国ファイル可,フラグ3,フラグ4,フラグ5,フラグ6,ヘッダキー,項目数,メッシュ階層,細分区画") + "\r\n";
    std::string items = text::toCp932("種別,行,レイヤキー,項目番号,備考,項目名,型,幅,出力,開始位置") + "\r\n";
    for (const CatalogueRow& r : rows) {
        const std::string head = std::to_string(number(r.kind)) + "," + std::to_string(r.row) + "," + r.name;
        data += text::toCp932(head + ",0,0,0,0,0,0," + r.headerKey + "," + std::to_string(r.items.size()) + "," +
                              std::to_string(r.meshLevel) + "," + std::to_string(r.subdivision)) +
                "\r\n";
        for (std::size_t i = 0; i < r.items.size(); ++i) {
            const CatalogueItem& it = r.items[i];
            items += text::toCp932(head + "," + std::to_string(i + 1) + ",," + it.name + "," + it.type + "," +
                                   std::to_string(it.width) + "," + (it.output ? "1" : "0") + "," +
                                   std::to_string(it.start)) +
                     "\r\n";
        }
    }
    for (auto [name, bytes] : {std::pair{"DataDBF.csv", &data}, std::pair{"DataDBFItem.csv", &items}}) {
        std::FILE* f = std::fopen((folder / name).c_str(), "wb");
        if (!f) throw std::runtime_error(std::string("cannot write ") + name);
        std::fwrite(bytes->data(), 1, bytes->size(), f);
        std::fclose(f);
    }
}

// A catalogue of one area row, named `name`, that describes generated area-structure files.
inline void writeAreaCatalogue(const std::filesystem::path& folder, const datagen::AreaStructureModel& model,
                               const std::string& name) {
    writeCatalogue(folder, {});
    std::ofstream data(folder / "DataDBF.csv", std::ios::binary | std::ios::app);
    data << datagen::area_catalogue_line(model, name) << "\r\n";
    std::ofstream items(folder / "DataDBFItem.csv", std::ios::binary | std::ios::app);
    for (const std::string& line : datagen::area_catalogue_item_lines(model, name)) items << line << "\r\n";
}

}  // namespace velmora::testsupport
