#pragma once
// The lines of one mesh cell in the intermediate shape description: its ring in the coordinate file
// ("LINKIDX" and five "LINKDATA") and its record block in the header file ("LINKNO", "BOX" of corners
// 0 and 2, "PARTS_POINTS,1,5", "PARTIDX,0", "DBFITEM").
//
// Neighbouring cells share their edges, so a layer of millions of cells formats only a few distinct
// coordinates per record; the texts of recent coordinates are kept and reused.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "convert/mesh/MeshGeometry.h"

namespace velmora::text {
class LineWriter;
}

namespace ModMesh {

class CellWriter {
public:
    void writeRing(velmora::text::LineWriter& d, std::int32_t id, const MeshRing& ring);
    void writeBlock(velmora::text::LineWriter& h, std::int32_t id, const MeshRing& ring,
                    std::span<const std::string_view> values);

private:
    // A coordinate's decimal text held by value, so that later look-ups cannot change it.
    struct Text {
        std::array<char, 32> chars{};
        std::size_t size = 0;
        std::string_view view() const { return {chars.data(), size}; }
    };
    // The text of text::formatNumber, from a small cache keyed by the double's bits.
    Text coordinate(double v);
    // Corner 0 and corner 2: the two longitudes and the two latitudes of a cell.
    struct Corners {
        Text west, south, east, north;
    };
    Corners corners(const MeshRing& ring);

    struct Entry {
        std::uint64_t bits = 0;
        bool used = false;
        Text text;
    };
    std::array<Entry, 256> cache_{};
};

}  // namespace ModMesh
