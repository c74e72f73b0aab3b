#pragma once
// The dBASE fields of a mesh layer, decided once per job: the code fields of the layer's level, the
// subdivision code, then the flagged items. The header block declares exactly these fields and every
// value line carries one value per field in the same order, so an item left out of the output can never
// shift the values after it into the wrong field.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/core/LayerDef.h"

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
    // 1-based numbers of the items whose output flag is set, in item order.
    std::vector<int> items;
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
