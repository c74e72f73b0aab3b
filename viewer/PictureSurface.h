#pragma once
// The hidden picture area on which layer swatches are drawn and then read back as an image: a small
// QImage with the drawing state of a classic picture box (current position as real numbers in the current
// unit, fill style and colour, border, fore colour, drawing width, font). Twips are 15 to the pixel.
// The drawing operations are virtual so that a test can make one of them fail.
#include <QImage>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora::viewer {

namespace scaleMode {
inline constexpr int Twips = 1, Pixels = 3;
}
inline constexpr double TwipsPerPixel = 15;

// The settings a swatch may change, kept and put back together.
struct SurfaceSettings {
    int scaleMode = scaleMode::Twips;
    int fillStyle = 1;             // 0 solid, 1 transparent, 2-7 line patterns
    std::uint32_t fillColor = 0;   // 0x00BBGGRR
    int borderStyle = 1;           // 0 none, 1 single line
    std::uint32_t foreColor = 0;
    int drawWidth = 1;             // pixels
    std::string fontName = "MS UI Gothic";
    double fontSize = 9;           // points

    bool operator==(const SurfaceSettings&) const = default;
};

class PictureSurface {
public:
    PictureSurface(int widthPixels, int heightPixels);
    virtual ~PictureSurface() = default;

    // White again; the position goes back to the top-left corner.
    void clear();
    const QImage& image() const { return image_; }

    double currentX() const { return x_; }
    double currentY() const { return y_; }
    void setCurrentX(double x) { x_ = x; }
    void setCurrentY(double y) { y_ = y; }

    const SurfaceSettings& settings() const { return s_; }
    void setSettings(const SurfaceSettings& s);
    int scaleMode() const { return s_.scaleMode; }
    // The current position keeps its place on the surface and is expressed in the new unit.
    void setScaleMode(int mode);
    void setFillStyle(int style) { s_.fillStyle = style; }
    void setFillColor(std::uint32_t c) { s_.fillColor = c; }
    void setBorderStyle(int style) { s_.borderStyle = style; }
    void setForeColor(std::uint32_t c) { s_.foreColor = c; }
    void setDrawWidth(int w) { s_.drawWidth = w; }
    void setFontName(const std::string& name) { s_.fontName = name; }
    void setFontSize(double points) { s_.fontSize = points; }

    // The inner height in the current unit (the border takes a pixel on each side).
    double scaleHeight() const;

    // Arguments are in the current unit. A box is filled by the fill style and colour and outlined in the
    // colour given; a line without a colour uses the fore colour.
    virtual void line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> colour, bool box);
    virtual double textWidth(const std::string& text) const;
    virtual double textHeight(const std::string& text) const;
    // Prints at the current position in the fore colour and font; the position moves to the next line.
    virtual void print(const std::string& text);
    // An image drawn over the surface with its top-left corner at pixel (x, y), blended by its alpha.
    virtual void stamp(const QImage& image, int x, int y);

private:
    double toPixels(double v) const;
    double fromPixels(double v) const;

    QImage image_;
    double x_ = 0, y_ = 0;
    SurfaceSettings s_;
};

// 0x00BBGGRR as a QColor.
QColor surfaceColour(std::uint32_t bgr);

}  // namespace velmora::viewer
