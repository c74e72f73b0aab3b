// The clean step of the cleaning makers (and, through inheritance, of the repairing ones): every built
// polygon goes through the polygon cleaner; a polygon the cleaner cannot resolve is written as built.
#include <string>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/PolygonCleaner.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

void KsPolygonMakerClean::modify_after() {
    try {
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            PolygonCleaner cleaner(polygons[i]);
            if (cleaner.clean(kPointTolerance)) {
                cleaner.store(polygons[i]);
            } else if (log.bound()) {
                log.add(sjis("レコード番号：") + std::to_string(i) + sjis(" トポロジー修正に失敗しました。"));
            }
        }
    } catch (const std::string&) {
        throw;
    } catch (...) {
        throw std::string("Unknown error. KsPolygonMakerClean::modify_after()");
    }
}

}  // namespace ostrand
