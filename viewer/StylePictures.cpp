#include "viewer/StylePictures.h"

#include <QPainter>

#include "platform/map/MapRenderer.h"
#include "platform/map/ShapeTypes.h"
#include "platform/map/Viewport.h"

namespace velmora::viewer {

namespace {
constexpr int kWidth = 44, kHeight = 28;
}

QPixmap stylePicture(int type, int style) {
    QPixmap picture(kWidth, kHeight);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    // One map unit to the pixel, y upwards.
    const map::Viewport view = map::Viewport::fit(map::MapRect(0, kWidth, 0, kHeight), kWidth, kHeight);
    map::Symbol symbol;
    symbol.type = type;
    symbol.style = style;
    symbol.color = 0x000000;
    map::MapShape shape;
    if (type == map::symbol::Marker) {
        symbol.size = 12;
        shape.shapeType = map::shape::Point;
        shape.parts = {{{kWidth / 2.0, kHeight / 2.0}}};
    } else if (type == map::symbol::Line) {
        symbol.size = 2;
        shape.shapeType = map::shape::Line;
        shape.parts = {{{4, kHeight / 2.0}, {kWidth - 4.0, kHeight / 2.0}}};
    } else {
        symbol.size = 1;
        symbol.color = 0x808080;
        shape.shapeType = map::shape::Polygon;
        shape.parts = {{{6, 4}, {6, kHeight - 4.0}, {kWidth - 6.0, kHeight - 4.0}, {kWidth - 6.0, 4}, {6, 4}}};
    }
    for (const auto& part : shape.parts)
        for (const auto& p : part) shape.box.include(p.x, p.y);
    map::drawShape(painter, view, shape, symbol);
    return picture;
}

}  // namespace velmora::viewer
