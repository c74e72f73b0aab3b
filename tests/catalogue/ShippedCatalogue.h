#pragma once
// The catalogue the program folder ships ("catalogue/DataDBF.csv", "catalogue/DataDBFItem.csv") and what
// the data set's layouts say of each data item it has rows for.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Catalogue.h"
#include "convert/core/ConversionState.h"
#include "platform/ui/TestUi.h"

namespace velmora::testsupport {

inline std::filesystem::path shippedCatalogueFolder() { return std::filesystem::path(VELMORA_SOURCE_DIR) / "catalogue"; }

// Copies every shipped file into `folder`, as the build assembles the program folder.
inline void installShippedCatalogue(const std::filesystem::path& folder) {
    for (const auto& f : std::filesystem::directory_iterator(shippedCatalogueFolder()))
        std::filesystem::copy_file(f.path(), folder / f.path().filename(), std::filesystem::copy_options::overwrite_existing);
}

// Loads the shipped catalogue into the conversion state as the data-kind dialog does, the program folder
// left as it was; a box fails the test.
inline bool loadShippedCatalogue(ConversionState& s) {
    ui::TestUi ui;
    const std::string programFolder = s.AppFolder;
    s.AppFolder = shippedCatalogueFolder().string() + "/";
    catalogue::SetDataName(s);
    const bool loaded = catalogue::SetKisoJyoho(s);
    s.AppFolder = programFolder;
    return loaded;
}

// How the items of a row lie in the data item's records.
enum class Placement {
    Record,       // items at their byte starts in a fixed-column record of `recordWidth` bytes
    LedgerTitled, // as Record, and the last item (also item 46) names the title of the "DT" ledger rows
    AreaLedger,   // the area ledger "DA": items one after another from column 17 of the record's lines
                  // joined, but for the items derived from the leading columns (isDerivedAreaItem)
    Delimited,    // comma-separated points: the items' input columns are rows of "DataDBFItemCS.csv"
    LandPriceDelimited,  // the land-price survey in its comma-separated form: its items are the rows of
                         // "DataDBFItemCS2.csv", the item layout of data years from 2005
};

// Items of an area row that the area loader derives from the attribute number or the line count of the
// "DA" record rather than cutting them from the items' columns.
inline bool isDerivedAreaItem(int row, const std::string& utf8Name) {
    return (row == 7 && (utf8Name == "区分" || utf8Name == "地区番号")) ||
           (row == 8 && (utf8Name == "都道府県CD" || utf8Name == "市区町村CD"));
}

struct ShippedLayout {
    CatalogKind kind;
    int row;
    const char* dataCode;  // the data code the layout is known by (delimited files: a heading of line 1)
    int recordWidth;       // bytes of the record the items lie in (delimited files: 0)
    Placement placement = Placement::Record;
};

// Every shipped row, with the record its items are cut from. A row that the catalogue holds and this
// table does not is a fault of the test's upkeep, reported as such.
inline const std::vector<ShippedLayout>& shippedLayouts() {
    static const std::vector<ShippedLayout> layouts = {
        {CatalogKind::Point, 8, "L01-08P", 488},
        {CatalogKind::Point, 9, "L02", 0, Placement::LandPriceDelimited},
        {CatalogKind::Point, 12, "P03-07P", 314},
        {CatalogKind::Point, 15, "街区符号・地番", 0, Placement::Delimited},  // no data code: a heading of line 1
        {CatalogKind::Line, 25, "N01", 80},   // the road ledger record "DL"
        {CatalogKind::Line, 26, "N02", 80},   // the railway: no line ledger items known
        {CatalogKind::Area, 0, "A09-02A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 1, "A10-60A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 2, "A11-60A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 3, "A12-60A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 4, "A13-60A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 5, "A15-57A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 6, "A03-02A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 7, "A07-07A", 130, Placement::AreaLedger},  // two lines: 76 and 54 bytes
        {CatalogKind::Area, 8, "N03-06A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 9, "W09-50A", 80, Placement::AreaLedger},
        {CatalogKind::Area, 10, "W12-52A", 80, Placement::AreaLedger},
        {CatalogKind::Attr, 0, "C08-49T", 132},
        {CatalogKind::Attr, 6, "C42-60T", 193},
        {CatalogKind::Attr, 10, "W03-52T", 221, Placement::LedgerTitled},
        {CatalogKind::Attr, 13, "W14-52T", 80},
        {CatalogKind::Mesh, 9, "G06-50M", 123},
        {CatalogKind::Mesh, 21, "L03-51M", 237},
        {CatalogKind::Mesh, 23, "L03-51M", 237},  // the items of the 10 x 10 cells one after another
    };
    return layouts;
}

inline std::optional<ShippedLayout> shippedLayout(CatalogKind kind, int row) {
    for (const ShippedLayout& l : shippedLayouts())
        if (l.kind == kind && l.row == row) return l;
    return std::nullopt;
}

}  // namespace velmora::testsupport
