#pragma once
// Draws a small picture of a layer's symbol (a swatch) onto a picture surface, to be read back as an
// image: markers (circle, square, triangle, cross, font character), a zig-zag for lines, a box for fills.
#include <cstdint>
#include <string>

#include "platform/map/Symbol.h"

namespace velmora::viewer {

class PictureSurface;

class clsLegendRenderer {
public:
    // The surface, whose current unit is remembered and given back after every swatch.
    void setPictureBox(PictureSurface* surface);
    PictureSurface* PictureBox() const { return surface_; }
    std::int16_t RendererWidth() const { return width_; }
    void setRendererWidth(std::int16_t w) { width_ = w; }
    std::int16_t RendererHeight() const { return height_; }
    void setRendererHeight(std::int16_t h) { height_ = h; }

    // One swatch with its top-left corner at (Left, Top) in the surface's unit. An empty symbol (nullptr)
    // draws nothing. IsMA draws a solid magenta box whatever the symbol. A failure of the surface reaches
    // the caller with the surface's unit and settings as they were before the swatch.
    void AddEntry(bool IsMA, const map::Symbol* sym, std::int32_t Top, std::int32_t Left);

private:
    void DrawPointSymbol(const map::Symbol& sym);
    void DrawFontSymbol(std::uint32_t colour, int size, const std::string& fontName, const std::string& character);
    void DrawLineSymbol(std::uint32_t colour, int size);
    void DrawFillSymbol(std::uint32_t colour, int style, std::uint32_t outlineColour);

    PictureSurface* surface_ = nullptr;
    int unit_ = 0;
    std::int16_t width_ = 0;
    std::int16_t height_ = 0;
    // The position of the swatch in pixels while it is drawn.
    double x_ = 0, y_ = 0;
};

}  // namespace velmora::viewer
