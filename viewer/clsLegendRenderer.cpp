#include "viewer/clsLegendRenderer.h"

#include <algorithm>
#include <cmath>

#include "platform/map/MarkerImage.h"
#include "platform/text/Cp932.h"
#include "viewer/PictureSurface.h"

namespace velmora::viewer {

namespace {

// Nearest whole number, halves to the even one.
int rounded(double v) { return static_cast<int>(std::nearbyint(v)); }

// The character whose code in CP932 is `code` (one byte, or a lead and a trail byte).
std::string cp932Character(int code) {
    std::string bytes;
    if (code > 0xFF) bytes.push_back(static_cast<char>((code >> 8) & 0xFF));
    bytes.push_back(static_cast<char>(code & 0xFF));
    return text::fromCp932(bytes);
}

}  // namespace

void clsLegendRenderer::setPictureBox(PictureSurface* surface) {
    surface_ = surface;
    if (surface_) unit_ = surface_->scaleMode();
}

void clsLegendRenderer::AddEntry(bool IsMA, const map::Symbol* sym, std::int32_t Top, std::int32_t Left) {
    if (!sym) return;
    PictureSurface& s = *surface_;
    int kind = sym->type, style = sym->style;
    std::uint32_t colour = sym->color;
    if (IsMA) {
        kind = map::symbol::Fill;
        colour = 0xFF00FF;
        style = map::symbol::FillSolid;
    }
    // A swatch that fails half-way must not leave the shared surface in pixels with its own settings:
    // every later swatch of the run would be drawn elsewhere.
    SurfaceSettings before = s.settings();
    before.scaleMode = unit_;
    try {
        s.setCurrentX(Left);
        s.setCurrentY(Top);
        s.setScaleMode(scaleMode::Pixels);
        x_ = s.currentX();
        y_ = s.currentY();
        switch (kind) {
        case map::symbol::Marker: DrawPointSymbol(*sym); break;
        case map::symbol::Line: DrawLineSymbol(colour, rounded(sym->size)); break;
        case map::symbol::Fill: DrawFillSymbol(colour, style, sym->outlineColor); break;
        default: break;
        }
        s.setScaleMode(unit_);
    } catch (...) {
        s.setSettings(before);
        throw;
    }
}

void clsLegendRenderer::DrawPointSymbol(const map::Symbol& sym) {
    PictureSurface& s = *surface_;
    const std::uint32_t colour = sym.color;
    const double X = x_, Y = y_, W = width_, H = height_;
    s.setFillStyle(0);
    s.setFillColor(colour);
    s.setBorderStyle(0);
    switch (sym.style) {
    case map::symbol::Circle:
    case map::symbol::Square:
    case map::symbol::Triangle:
    case map::symbol::Cross: {
        // The map's own marker picture at the size the map draws it (no larger than the swatch), about the
        // swatch's middle, so that the tree shows the marker the map shows: the classic insets drew a
        // 7-pixel disc, a 5-pixel square and a sliver of a triangle whatever the map drew.
        map::Symbol shown = sym;
        shown.size = std::min(sym.size > 0 ? sym.size : map::DefaultMarkerSize, std::min(W, H));
        const map::MarkerStamp marker = map::markerStamp(shown, 1);
        s.stamp(marker.image, static_cast<int>(std::floor(X + W / 2)) - marker.half,
                static_cast<int>(std::floor(Y + H / 2)) - marker.half);
        break;
    }
    case map::symbol::FontCharacter:
        DrawFontSymbol(colour, rounded(sym.size), sym.font, cp932Character(rounded(sym.character)));
        break;
    default: break;
    }
    s.setFillStyle(1);
    s.setFillColor(0);
    s.setBorderStyle(1);
}

void clsLegendRenderer::DrawFontSymbol(std::uint32_t colour, int size, const std::string& fontName,
                                       const std::string& character) {
    PictureSurface& s = *surface_;
    const std::uint32_t foreColour = s.settings().foreColor;
    const std::string font = s.settings().fontName;
    const int fontSize = std::clamp(rounded(s.settings().fontSize), 0, 255);
    s.setForeColor(colour);
    s.setFontName(fontName);
    s.setFontSize(size);
    s.setCurrentX(x_ + width_ / 2.0 - s.textWidth(character) / 2);
    s.setCurrentY(y_ + height_ / 2.0 - s.textHeight(character) / 2);
    s.print(character);
    s.setForeColor(foreColour);
    s.setFontName(font);
    s.setFontSize(fontSize);
}

void clsLegendRenderer::DrawLineSymbol(std::uint32_t colour, int size) {
    PictureSurface& s = *surface_;
    const std::uint32_t foreColour = s.settings().foreColor;
    const int drawWidth = std::clamp(s.settings().drawWidth, 0, 255);
    if (size > 0) s.setDrawWidth(size < 10 ? size : 5);
    s.setForeColor(colour);
    const double X = x_, Y = y_, W = width_, H = height_;
    s.line(X, Y + H, X + 0.45 * W, Y + 0.3 * H, std::nullopt, false);
    s.line(X + 0.45 * W, Y + 0.3 * H, X + 0.55 * W, Y + 0.7 * H, std::nullopt, false);
    s.line(X + 0.55 * W, Y + 0.7 * H, X + W, Y, std::nullopt, false);
    s.setForeColor(foreColour);
    s.setDrawWidth(drawWidth);
}

void clsLegendRenderer::DrawFillSymbol(std::uint32_t colour, int style, std::uint32_t outlineColour) {
    PictureSurface& s = *surface_;
    const std::uint32_t fillColour = s.settings().fillColor;
    const int fillStyle = s.settings().fillStyle;
    std::uint32_t boxColour = colour;
    s.setFillColor(colour);
    if (style > 7) {
        s.setFillStyle(0);
    } else {
        s.setFillStyle(style);
        if (style == map::symbol::FillTransparent) {
            s.setFillColor(outlineColour);
            boxColour = outlineColour;
        }
    }
    const double X = x_, W = width_, H = height_;
    const int x0 = rounded(X), y0 = rounded(y_ - 1);
    s.line(X, y0, X + W, y0 + H, boxColour, true);
    if (style != map::symbol::FillTransparent) {
        s.setFillStyle(1);
        s.line(x0, y0, x0 + W, y0 + H, outlineColour, true);
    }
    s.setFillColor(fillColour);
    s.setFillStyle(fillStyle);
}

}  // namespace velmora::viewer
