#pragma once
// The catalogue's description of a data item: one row of a layer table. Texts hold the catalogue's CP932
// bytes unchanged (they are compared with record bytes and written to logs and dBASE fields).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/errors/RunTimeError.h"

namespace velmora {

// The two numberings of the data kinds. The user interface (tabs of the data-kind dialog, SelectedKind)
// counts mesh as 3 and attribute tables as 4; the catalogue files and DataNames count them the other way
// round. Distinct types so that one can never stand for the other; convert explicitly.
enum class DataKind : std::int16_t { Point = 0, Line = 1, Area = 2, Mesh = 3, Attr = 4 };
enum class CatalogKind : std::int16_t { Point = 0, Line = 1, Area = 2, Attr = 3, Mesh = 4 };

constexpr CatalogKind toCatalogKind(DataKind k) {
    switch (k) {
        case DataKind::Mesh: return CatalogKind::Mesh;
        case DataKind::Attr: return CatalogKind::Attr;
        default: return static_cast<CatalogKind>(static_cast<std::int16_t>(k));
    }
}
constexpr DataKind toDataKind(CatalogKind k) {
    switch (k) {
        case CatalogKind::Mesh: return DataKind::Mesh;
        case CatalogKind::Attr: return DataKind::Attr;
        default: return static_cast<DataKind>(static_cast<std::int16_t>(k));
    }
}
constexpr int number(DataKind k) { return static_cast<int>(k); }
constexpr int number(CatalogKind k) { return static_cast<int>(k); }

// The kind a number stands for (a tab index, a catalogue column); nothing outside 0-4.
constexpr std::optional<DataKind> dataKindFromNumber(long n) {
    if (n < 0 || n > 4) return std::nullopt;
    return static_cast<DataKind>(n);
}
constexpr std::optional<CatalogKind> catalogKindFromNumber(long n) {
    if (n < 0 || n > 4) return std::nullopt;
    return static_cast<CatalogKind>(n);
}

// The part every data item shares; the mesh rows add their level and subdivision.
// Items are addressed by their catalogue number 0..MaxItem; the converters read items 1..ItemCount.
template <std::size_t MaxItemNumber>
struct BasicLayerDef {
    static constexpr std::size_t MaxItem = MaxItemNumber;

    std::string Name;
    bool Flag1 = false;
    bool AllowNationwide = false;
    bool Flag3 = false;
    bool Flag4 = false;
    bool Flag5 = false;
    bool Flag6 = false;
    std::string HeaderKey;
    std::int16_t ItemCount = 0;

    std::array<std::string, MaxItem + 1> ItemName{};
    std::array<std::string, MaxItem + 1> ItemType{};
    std::array<std::int16_t, MaxItem + 1> ItemStart{};
    std::array<std::int16_t, MaxItem + 1> ItemWidth{};
    std::array<bool, MaxItem + 1> ItemOutput{};
};

// A data item of the point, line, area or attribute-table kinds (items 0-600).
struct LayerDef : BasicLayerDef<600> {};

// A data item of the mesh kind (items 0-256). MeshLevel: 2 second-level, 3 third-level, 4 half mesh;
// Subdivision: 0 none, or 4, 5, 10 cells per side.
struct MeshLayerDef : BasicLayerDef<256> {
    std::int16_t MeshLevel = 0;
    std::int16_t Subdivision = 0;
};

// The five layer tables and their rows.
using PointLayerTable = std::array<LayerDef, 16>;
using LineLayerTable = std::array<LayerDef, 28>;
using PolygonLayerTable = std::array<LayerDef, 13>;
using AttrLayerTable = std::array<LayerDef, 14>;
using MeshLayerTable = std::array<MeshLayerDef, 27>;

// Row `row` of a table; a row outside it is run-time error 9, as for any array subscript.
template <class Table>
auto& layerRow(Table& table, long row) {
    if (row < 0 || static_cast<std::size_t>(row) >= table.size())
        throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    return table[static_cast<std::size_t>(row)];
}

}  // namespace velmora
