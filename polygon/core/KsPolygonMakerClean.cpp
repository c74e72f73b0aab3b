// The clean step of the cleaning makers (and, through inheritance, of the repairing ones): every built
// polygon goes through the polygon cleaner; a polygon the cleaner cannot resolve is written as built,
// unless it is not valid for a GIS.
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/ParallelIndices.h"
#include "polygon/core/PolygonCleaner.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

void KsPolygonMakerClean::modify_after() {
    // Each polygon is cleaned on its own; what the log and a failure say is told afterwards, in order, as
    // if the polygons had been cleaned one after the other.
    std::vector<char> unresolved(polygons.size(), 0);
    std::vector<std::exception_ptr> failures(polygons.size());  // what the cleaner threw, by polygon
    for_each_index_in_parallel(polygons.size(), [&](std::size_t i) {
        try {
            PolygonCleaner cleaner(polygons[i]);
            if (cleaner.clean(kPointTolerance))
                cleaner.store(polygons[i]);
            else
                unresolved[i] = 1;
        } catch (...) {
            failures[i] = std::current_exception();
        }
    });
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        if (failures[i]) std::rethrow_exception(failures[i]);
        if (unresolved[i] && log.bound())
            log.add(sjis("レコード番号：") + std::to_string(i) + sjis(" トポロジー修正に失敗しました。"));
    }
    // What the cleaner leaves invalid came from garbled links (a vertex moved to the other side of the
    // map, say). A polygon the stepped repair rebuilt is kept as it is: its tolerance can leave a crossing
    // of its own size in an otherwise sound polygon, which a user is better served to get than to lose.
    std::set<int> unrepaired;
    for (const auto& record : attr_records)
        if (!repaired_attrs.count(record.first)) unrepaired.insert(record.first);
    refuse_invalid_polygons(&unrepaired);
}

}  // namespace ostrand
