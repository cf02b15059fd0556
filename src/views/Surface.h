#pragma once
// The drawing surface both views draw on: screen, print preview, printer and
// exported files get the same calls. Units are 0.1 mm with y growing upward
// (the plot lies at negative y); the point given by SetWindowOrigin appears at
// the top-left corner of the drawing area.

#include <cstdint>
#include <span>
#include <string>

#include "views/LogicalGeometry.h"

enum class PenStyle { Solid, Dash, Dot };

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Colour&) const = default;
};

// Width in logical units; a surface never draws a pen thinner than one device
// pixel.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 1;
    Colour colour;
    bool operator==(const Pen&) const = default;
};

// Height is the cell height in logical units (ascent plus descent), weight on
// the 100 (thin) to 900 (black) scale. An empty face is the graph's default
// face.
struct Font {
    int32_t height = 0;
    int32_t weight = 400;
    std::string face;
    bool operator==(const Font&) const = default;
};

// Where the reference point of a text lies: always at the top of the cell,
// at its left end, its middle or its right end.
enum class TextAlign { LeftTop, CentreTop, RightTop };

// The symbol of a measured point.
enum class MarkerShape { Circle, Square };

class Surface {
public:
    virtual ~Surface() = default;

    // Each selection returns what was selected before, so a drawing can put it
    // back when it ends.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Font SelectFont(const Font& font) = 0;
    virtual TextAlign SetTextAlign(TextAlign align) = 0;

    virtual void SetWindowOrigin(int32_t x, int32_t y) = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    // Draws from the current position and makes the end the current position.
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void Polyline(std::span<const LogicalPoint> points) = 0;
    // Outline with the current pen, filled white.
    virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // A measured point: a filled symbol centred on (x, y), size logical units
    // across, in the current pen's colour with a thin dark outline. A surface
    // never draws it smaller than 6 device pixels, so that it stays clearly
    // visible on a screen however the page is scaled.
    virtual void Marker(int32_t x, int32_t y, int32_t size, MarkerShape shape) = 0;
    // Text is UTF-8.
    virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
    // Width and cell height of the text in the current font, logical units.
    virtual LogicalSize GetTextExtent(const std::string& text) = 0;
};
