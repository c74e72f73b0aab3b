#include "convert/mesh/MeshCellOutput.h"

#include <algorithm>
#include <bit>

#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/text/Conversions.h"
#include "platform/text/LineWriter.h"

namespace ModMesh {

namespace sd = velmora::shapedesc;

CellWriter::Text CellWriter::coordinate(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    Entry& e = cache_[(bits * 0x9E3779B97F4A7C15ull) >> 56];
    if (!e.used || e.bits != bits) {
        const std::string t = velmora::text::formatNumber(v);
        e.text.size = std::min(t.size(), e.text.chars.size());
        std::copy_n(t.data(), e.text.size, e.text.chars.data());
        e.bits = bits;
        e.used = true;
    }
    return e.text;
}

CellWriter::Corners CellWriter::corners(const MeshRing& ring) {
    return {coordinate(ring.x[0]), coordinate(ring.y[0]), coordinate(ring.x[2]), coordinate(ring.y[2])};
}

void CellWriter::writeRing(velmora::text::LineWriter& d, std::int32_t id, const MeshRing& ring) {
    // Every corner of a ring is one of the two longitudes and one of the two latitudes of corners 0 and 2.
    const Corners c = corners(ring);
    sd::writeLinkIdx(d, id);
    sd::writeLinkData(d, c.west.view(), c.south.view());
    sd::writeLinkData(d, c.west.view(), c.north.view());
    sd::writeLinkData(d, c.east.view(), c.north.view());
    sd::writeLinkData(d, c.east.view(), c.south.view());
    sd::writeLinkData(d, c.west.view(), c.south.view());
}

void CellWriter::writeBlock(velmora::text::LineWriter& h, std::int32_t id, const MeshRing& ring,
                            std::span<const std::string_view> values) {
    const Corners c = corners(ring);
    sd::writeLinkNo(h, id);
    sd::writeBox(h, c.west.view(), c.south.view(), c.east.view(), c.north.view());
    sd::writePartsPoints(h, 1, 5);
    sd::writePartIdx(h, "0");
    sd::writeDbfItem(h, values);
}

}  // namespace ModMesh
