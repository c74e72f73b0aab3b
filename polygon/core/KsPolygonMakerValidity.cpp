// The last step of every maker: a polygon whose record a GIS would read as invalid is left out with its
// ledger record rather than written, and the log says why. Only garbled input makes such polygons (a
// vertex moved far away, a link reference or link number changed, link records swapped); valid input never
// loses one, so its output stays as it was.
#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/PolygonValidity.h"
#include "polygon/core/ParallelIndices.h"
#include "polygon/core/WrittenRings.h"

namespace ostrand {

void KsPolygonMaker::refuse_invalid_polygons(const std::set<int>* only) {
    // polygons[k] belongs to the k-th ledger record, as the table is written.
    if (polygons.size() != attr_records.size()) return;
    std::vector<char> checked(polygons.size());
    std::size_t k = 0;
    for (const auto& record : attr_records) checked[k++] = !only || only->count(record.first);
    std::vector<PolygonFault> faults(polygons.size(), PolygonFault::none);
    for_each_index_in_parallel(polygons.size(), [&](std::size_t i) {
        if (!checked[i]) return;
        std::vector<Ring> loops;
        faults[i] = polygon_fault(written_rings(polygons[i].rings, loops));
    });

    std::vector<AreaPolygon> kept;
    kept.reserve(polygons.size());
    auto record = attr_records.begin();
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        if (faults[i] == PolygonFault::none) {
            kept.push_back(std::move(polygons[i]));
            ++record;
            continue;
        }
        const int attr_no = record->first;
        log.add_numbered(attr_no, polygon_fault_text(faults[i]));
        log.add_numbered(attr_no, message_text(msg_attr_not_saved));
        refused_attrs.push_back(attr_no);
        record = attr_records.erase(record);
    }
    polygons = std::move(kept);
}

}  // namespace ostrand
