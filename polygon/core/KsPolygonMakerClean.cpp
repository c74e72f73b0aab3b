// The clean step of the cleaning makers (and, through inheritance, of the repairing ones): every built
// polygon goes through the polygon cleaner; a polygon the cleaner cannot resolve is written as built,
// unless it is not valid for a GIS.
#include <exception>
#include <map>
#include <mutex>
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
    enum class Outcome : char { cleaned, unresolved, failed };
    std::vector<Outcome> outcomes(polygons.size(), Outcome::cleaned);
    std::mutex failure_guard;
    std::map<std::size_t, std::exception_ptr> failures;  // what the cleaner threw, by polygon
    for_each_index_in_parallel(polygons.size(), [&](std::size_t i) {
        try {
            PolygonCleaner cleaner(polygons[i]);
            if (cleaner.clean(kPointTolerance)) {
                cleaner.store(polygons[i]);
            } else {
                outcomes[i] = Outcome::unresolved;
            }
        } catch (...) {
            outcomes[i] = Outcome::failed;
            const std::lock_guard<std::mutex> lock(failure_guard);
            failures.emplace(i, std::current_exception());
        }
    });
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        if (outcomes[i] == Outcome::failed) std::rethrow_exception(failures.at(i));
        if (outcomes[i] == Outcome::unresolved && log.bound())
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
