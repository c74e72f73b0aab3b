#include "platform/map/Symbol.h"

#include "platform/map/ShapeTypes.h"

#include <array>

namespace velmora::map {

std::uint32_t colourFromRgb(unsigned rrggbb) {
    return ((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF);
}

std::uint32_t colourToRgb(std::uint32_t bgr) { return colourFromRgb(bgr); }

Symbol defaultSymbol(int shapeType, int layerIndex) {
    // Mid-tone colours that stay apart from each other and from the white background and black outlines.
    static constexpr std::array<unsigned, 10> palette = {0x4E9A06, 0x3465A4, 0xCC0000, 0xF57900, 0x75507B,
                                                         0xC4A000, 0x06989A, 0x8F5902, 0xEF2929, 0x729FCF};
    Symbol s;
    const unsigned n = static_cast<unsigned>(layerIndex < 0 ? 0 : layerIndex) % palette.size();
    s.color = colourFromRgb(palette[n]);
    s.outlineColor = 0;
    switch (shapeType) {
    case shape::Point:
    case shape::MultiPoint:
        s.type = symbol::Marker;
        s.style = symbol::Circle;
        break;
    case shape::Line:
        s.type = symbol::Line;
        s.style = symbol::Solid;
        break;
    default:
        s.type = symbol::Fill;
        s.style = symbol::FillSolid;
        break;
    }
    return s;
}

}  // namespace velmora::map
