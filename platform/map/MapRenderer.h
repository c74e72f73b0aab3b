#pragma once
// Drawing of layers onto an image: what the map's cache, its export and its flashes share. Lengths (line
// widths, marker sizes) are multiplied by lengthScale (2 for an export at twice the size) and drawn at
// most 100 pixels. Only the shapes the spatial index finds in view are visited; a shape smaller than a
// pixel is drawn as the pixel it covers, an outlined polygon hardly wider than its outline as the pixels
// under it.
#include "platform/map/MapShape.h"
#include "platform/map/Symbol.h"
#include "platform/map/Viewport.h"

#include <QColor>
#include <memory>
#include <vector>

class QImage;
class QPainter;

namespace velmora::map {

class MapLayer;

QColor toQColor(std::uint32_t bgr);

// The image is filled with white first; visible layers are drawn from the last index to the first.
void renderLayers(QImage& image, const Viewport& viewport, const std::vector<std::shared_ptr<MapLayer>>& layers,
                  double lengthScale);

// One shape with a symbol, onto any painter (used for the flash).
void drawShape(QPainter& painter, const Viewport& viewport, const MapShape& shape, const Symbol& symbol);

}  // namespace velmora::map
