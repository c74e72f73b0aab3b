#include "viewer/MapPan.h"

#include <QPointer>
#include <exception>

#include "platform/errors/RunTimeError.h"
#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"

namespace velmora::modCommon {

void MapPan(map::MapView* map, int) {
    try {
        if (!map) throw RunTimeError(91, "Object variable or With block variable not set");
        const int before = map->mousePointer();
        map->setMousePointer(map::pointer::Panning);
        // The pan ends at the button's release, after this handler has returned.
        QPointer<map::MapView> guard(map);
        map->pan([guard, before] {
            if (guard) guard->setMousePointer(before);
        });
    } catch (const std::exception& e) {
        ui::showError(e, "Error: modMbCommon (MapPan)");
    }
}

}  // namespace velmora::modCommon
