#pragma once
// The dBASE fields of a mesh layer, decided once per job: the code fields of the layer's level, the
// subdivision code, then the flagged items with the ledger blocks of the forest and lake layers after the
// items they follow (whether those items are written or not; a block whose item does not exist is left out). The header block declares exactly these fields and every
// value line carries one value per field in the same order, so an item left out of the output can never
// shift the values after it into the wrong field.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/core/LayerDef.h"
#include "convert/mesh/MeshLedger.h"

namespace velmora::text {
class LineWriter;
}

namespace ModMesh {

struct MeshField {
    std::string name;    // CP932
    std::string letter;  // "C" or "N"
    long width = 0;
};

struct MeshFieldList {
    // Characters of the code values, from the code's first character: 4 and 6 at level 2, also 8 at level
    // 3, also 9 at level 4; none at any other level.
    std::vector<int> codeWidths;
    bool subdivisionCode = false;
    // Where each value after the code values and the subdivision code comes from, in field order: item k
    // (1-based, output flag set) or ledger entry n (its block of values).
    struct Source {
        int item = 0;
        int ledgerEntry = 0;
    };
    std::vector<Source> sources;
    LedgerKind ledger = LedgerKind::None;
    // Every field in order, as the header declares them.
    std::vector<MeshField> fields;
};

// The field list of a layer. False after SetTextToShpeidx refused the type name of a flagged item (it
// showed its message).
bool BuildMeshFieldList(const velmora::MeshLayerDef& layer, MeshFieldList& list);

// The header block: "MAKEFILE_NAME" with the output's base, "SHAPE_TYPE,7," and the datum code, the field
// count and one "DBFITEM_NAME" line per field.
void WriteMeshHeaderBlock(velmora::text::LineWriter& h, const MeshFieldList& list, const std::string& outputPath,
                          int datumCode);

}  // namespace ModMesh
