// The last step of every maker: a polygon whose record a GIS would read as invalid is left out with its
// ledger record rather than written, and the log says why. Only garbled input makes such polygons (a
// vertex moved far away, a link reference or link number changed, link records swapped); valid input never
// loses one, so its output stays as it was.
#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/PolygonValidity.h"
#include "polygon/core/SimpleRings.h"

namespace ostrand {

void KsPolygonMaker::refuse_invalid_polygons(const std::set<int>* only) {
    // polygons[k] belongs to the k-th ledger record, as the table is written.
    if (polygons.size() != attr_records.size()) return;
    std::vector<AreaPolygon> kept;
    kept.reserve(polygons.size());
    auto record = attr_records.begin();
    for (AreaPolygon& polygon : polygons) {
        const PolygonFault fault = only && !only->count(record->first) ? PolygonFault::none
                                                                         : polygon_fault(simple_rings(polygon.rings));
        if (fault == PolygonFault::none) {
            kept.push_back(std::move(polygon));
            ++record;
            continue;
        }
        const int attr_no = record->first;
        log.add_numbered(attr_no, polygon_fault_text(fault));
        log.add_numbered(attr_no, message_text(msg_attr_not_saved));
        refused_attrs.push_back(attr_no);
        record = attr_records.erase(record);
    }
    polygons = std::move(kept);
}

}  // namespace ostrand
