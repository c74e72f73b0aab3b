#pragma once
// A table layer of ten columns (whole numbers of both sizes, ASCII and Japanese texts, one item not
// flagged for output) as catalogue items, for whole jobs in tests and benchmarks. The ledger-joined row
// adds unused items up to 45 and the ledger title as item 46.
#include <string>
#include <vector>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/AttrFileGen.h"

namespace velmora::testsupport {

inline std::vector<CatalogueItem> riverTableItems(bool joined) {
    std::vector<CatalogueItem> items = {
        {"水系コード", "Long", 4, 6, true},  {"河川コード", "Integer", 10, 3, true}, {"河川名", "Text", 13, 20, true},
        {"区分", "Text1", 33, 2, true},      {"延長", "Long", 35, 8, true},         {"面積", "Long", 43, 8, true},
        {"備考", "Text2", 51, 20, true},     {"年度", "Integer", 71, 4, true},      {"番号", "Long", 75, 6, false},
        {"名称", "Text", 81, 10, true}};
    if (joined) {
        while (items.size() < 45) items.push_back({"予備" + std::to_string(items.size() + 1), "Integer", 91, 1, false});
        items.push_back({"水系名", "Text2", 0, 20, true});
    }
    return items;
}

// The columns the generator writes for those items.
inline std::vector<gen::AttrGenColumn> riverTableColumns() {
    std::vector<gen::AttrGenColumn> cols;
    for (const CatalogueItem& i : riverTableItems(false))
        cols.push_back({i.start, i.width, i.type.find("Text") == std::string::npos});
    return cols;
}

}  // namespace velmora::testsupport
