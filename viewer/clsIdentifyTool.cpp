#include "viewer/clsIdentifyTool.h"

#include <exception>
#include <memory>

#include "platform/map/MapLayer.h"
#include "platform/map/ShapeTypes.h"
#include "viewer/frmIdentify.h"

using namespace velmora;

void clsIdentifyTool::pMap_MouseDown(int button, int shift, int x, int y) {
    if (button != map::button::Left || shift != 0 || !pMap) return;
    const std::optional<viewer::SelectedTheme> theme = mainWindow_.selectedTheme();
    if (!theme || !theme->layer) return;
    const std::shared_ptr<map::MapLayer> layer = pMap->layerByName(theme->name);
    if (!layer) return;
    const map::MapPoint p = pMap->toMapPoint(x, y);
    std::unique_ptr<map::RecordSet> found;
    try {
        found = std::make_unique<map::RecordSet>(
            layer->shapeType() == map::shape::Polygon
                ? layer->searchShape(p, map::search::PointInPolygon, "")
                : layer->searchByDistance(p, pMap->extent().width() / 50, ""));
    } catch (const std::exception&) {
        // A search the map refuses (an extent without width) finds nothing; the tool has no box of its own.
        return;
    }
    if (found->eof()) return;
    if (found->recordCount() <= MaxFlashed)
        for (; !found->eof(); found->moveNext()) pMap->flashShape(found->shape(), 1);
    found->moveFirst();
    frmIdentify* window = frmIdentify::open(pMap, mainWindow_.windowTopLeft());
    window->set_pRecSet(std::move(found));
    window->set_pPoint(p);
    window->set_pTheme(*theme);
    window->ShowIdent();
    window->show();
}
