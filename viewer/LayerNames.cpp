#include "viewer/LayerNames.h"

#include <QString>
#include <exception>

#include "platform/errors/RunTimeError.h"
#include "platform/map/MapView.h"
#include "platform/text/Conversions.h"
#include "platform/ui/UiService.h"

namespace velmora::modCommon {

namespace {

bool taken(const map::MapView* map, const std::string& name) { return map && map->layerByName(name) != nullptr; }

// The name after a failure: base, or base with the first number that makes it free.
std::string firstFree(const map::MapView* map, const std::string& base) {
    if (!taken(map, base)) return base;
    for (long n = 1;; ++n)
        if (!taken(map, base + std::to_string(n))) return base + std::to_string(n);
}

}  // namespace

std::string getLayerName(const map::MapView* map, const std::string& base) {
    try {
        if (base.empty()) return "";
        if (!map) throw RunTimeError(91, "Object variable or With block variable not set");
        const QString b = QString::fromStdString(base);
        int largest = -1;
        for (int i = 0; i < map->layerCount(); ++i) {
            const QString name = QString::fromStdString(map->layer(i)->name());
            if (!name.contains(b)) continue;
            if (name.size() > b.size()) {
                // The rest is cut at base's length from the start, wherever base was found.
                const std::string rest = name.mid(b.size()).toStdString();
                if (text::isNumeric(rest)) largest = std::max<int>(largest, text::cInt(rest));
            } else if (largest < 0) {
                largest = 0;
            }
        }
        if (largest < 0) return base;
        return base + std::to_string(text::cInt(double(largest) + 1));
    } catch (const std::exception& e) {
        ui::showError(e, "Error: modMbCommon (getLayerName)");
        return firstFree(map, base);
    }
}

}  // namespace velmora::modCommon
