#include "viewer/LayerPropDialog.h"

#include "platform/errors/RunTimeError.h"
#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/MapWindowServices.h"
#include "viewer/frmProp.h"

namespace velmora::viewer {

void ShowLayerPropDialog(MapWindowServices& window, bool symbolOnly) {
    try {
        const SelectedNode selected = window.selectedNode();
        if (selected.kind == SelectedNode::Kind::None || selected.kind == SelectedNode::Kind::Root) return;
        map::MapView& mapView = window.map();
        frmProp dialog(mapView.window());
        std::shared_ptr<map::MapLayer> layer;
        if (selected.kind == SelectedNode::Kind::Table) {
            dialog.setLayer(nullptr);
            dialog.setTableLayer(selected.path);
            dialog.setLayertype(-1);
            dialog.setSymbolSetFlag(false);
        } else {
            layer = mapView.layerByName(selected.text);
            if (!layer) throw RunTimeError(91, "Object variable or With block variable not set");
            dialog.setLayer(layer);
            dialog.setLayertype(static_cast<std::int16_t>(layer->symbol().type));
            dialog.setSymbolSetFlag(symbolOnly);
        }
        ui::service().runModal(dialog);
        if (!layer || !dialog.LayerSymbol()) return;
        const map::Symbol& chosen = *dialog.LayerSymbol();
        map::Symbol symbol = layer->symbol();
        symbol.style = chosen.style;
        symbol.color = chosen.color;
        if (symbol.type == map::symbol::Fill) symbol.outlineColor = chosen.outlineColor;
        symbol.size = chosen.size;
        layer->setSymbol(symbol);
        window.renewLayerIcon(layer->name(), 50, 50);
        mapView.refresh();
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (ShowLayerPropDialog)");
    }
}

}  // namespace velmora::viewer
