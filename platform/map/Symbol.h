#pragma once
// How a layer is drawn. Colours are 0x00BBGGRR (red in the low byte), the form the viewer stores and
// compares; colourFromRgb turns the user-interface service's 0xRRGGBB into it.
#include <cstdint>
#include <string>

namespace velmora::map {

namespace symbol {
inline constexpr int Marker = 0;
inline constexpr int Line = 1;
inline constexpr int Fill = 2;

// Marker styles.
inline constexpr int Circle = 0, Square = 1, Triangle = 2, Cross = 3, FontCharacter = 4;
// Line styles.
inline constexpr int Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4;
// Fill styles: 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 "/", 5 "\", 6 cross, 7 diagonal cross,
// 8 to 10 light, medium and dark shading.
inline constexpr int FillSolid = 0, FillTransparent = 1, FillHorizontal = 2, FillVertical = 3,
                     FillUpwardDiagonal = 4, FillDownwardDiagonal = 5, FillCross = 6, FillDiagonalCross = 7,
                     FillLightShade = 8, FillMediumShade = 9, FillDarkShade = 10;
}  // namespace symbol

struct Symbol {
    int type = symbol::Fill;
    int style = 0;
    std::uint32_t color = 0;
    std::uint32_t outlineColor = 0;
    bool outline = true;
    // Marker size or line width in pixels; for fills the outline width. 0 draws the default.
    double size = 0;
    // A marker of style 4 draws this character (its code in CP932) in this font family.
    std::string font;
    int character = 0;

    bool operator==(const Symbol&) const = default;
};

std::uint32_t colourFromRgb(unsigned rrggbb);
std::uint32_t colourToRgb(std::uint32_t bgr);

// The symbol a new layer of the given shape type (21 to 24) gets as the layerIndex-th layer of its map:
// a palette colour cycled by that index, black outlines.
Symbol defaultSymbol(int shapeType, int layerIndex);

}  // namespace velmora::map
