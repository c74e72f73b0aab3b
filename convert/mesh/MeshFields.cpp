#include "convert/mesh/MeshFields.h"

#include "convert/core/ConversionRoutines.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"

namespace ModMesh {

namespace sd = velmora::shapedesc;

bool BuildMeshFieldList(const velmora::MeshLayerDef& layer, MeshFieldList& list) {
    list = {};
    static constexpr int kCodeWidths[] = {4, 6, 8, 9};
    if (layer.MeshLevel >= 2 && layer.MeshLevel <= 4)
        for (int level = 1; level <= layer.MeshLevel; ++level) {
            list.codeWidths.push_back(kCodeWidths[level - 1]);
            list.fields.push_back({std::to_string(level) + "MCODE", "C", kCodeWidths[level - 1]});
        }
    if (layer.Subdivision == 4 || layer.Subdivision == 5 || layer.Subdivision == 10) {
        list.subdivisionCode = true;
        list.fields.push_back({"1/" + std::to_string(layer.Subdivision) + "CODE", "C", 2});
    }
    list.ledger = LedgerKindOf(layer);
    for (std::size_t k = 1; k <= static_cast<std::size_t>(layer.ItemCount) && k <= velmora::MeshLayerDef::MaxItem; ++k) {
        if (layer.ItemOutput[k]) {
            std::string letter;
            if (!velmora::ModPolygon::SetTextToShpeidx(layer.ItemType[k], letter)) return false;
            list.sources.push_back({static_cast<int>(k), 0});
            list.fields.push_back({layer.ItemName[k], letter, layer.ItemWidth[k]});
        }
        for (const LedgerEntry& e : LedgerEntries(list.ledger)) {
            if (e.afterItem != static_cast<int>(k)) continue;
            list.sources.push_back({0, e.number});
            for (const LedgerFieldDef& f : LedgerFields(list.ledger, e.number)) list.fields.push_back({f.name, f.letter, f.width});
        }
    }
    return true;
}

void WriteMeshHeaderBlock(velmora::text::LineWriter& h, const MeshFieldList& list, const std::string& outputPath,
                          int datumCode) {
    sd::writeMakeFileName(h, sd::shapeBaseName(outputPath));
    sd::writeShapeType(h, sd::Kind::MeshPolygon, datumCode);
    sd::writeFieldCount(h, static_cast<long>(list.fields.size()));
    for (const MeshField& f : list.fields) sd::writeFieldName(h, f.name, f.letter, f.width);
}

}  // namespace ModMesh
