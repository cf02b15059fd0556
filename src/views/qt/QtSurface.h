#pragma once
// The Surface on a QPainter: screen, print preview, printer, PDF, PNG and SVG.
// Logical units of 0.1 mm become device pixels by the device's logical
// resolution (pixels = units / 254 * dpi) with y turned to grow upward; text
// stays upright because positions are mapped, not the painter. The painter's
// own transformation (a scroll offset, a preview's zoom) applies on top.

#include <QFont>
#include <QPainter>

#include "views/Surface.h"

class QPaintDevice;

class QtSurface : public Surface {
public:
    // The painter must be active on its device for the surface's lifetime.
    explicit QtSurface(QPainter& painter);

    Pen SelectPen(const Pen& pen) override;
    Font SelectFont(const Font& font) override;
    TextAlign SetTextAlign(TextAlign align) override;
    void SetWindowOrigin(int32_t x, int32_t y) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(std::span<const LogicalPoint> points) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Marker(int32_t x, int32_t y, int32_t size, MarkerShape shape) override;
    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    LogicalSize GetTextExtent(const std::string& text) override;

    // The font the surface uses for a Font on a device of this resolution:
    // "Courier New" or a metric-compatible monospace face for the report, a
    // sans face for an empty face, sized so that ascent plus descent is the
    // cell height.
    static QFont ResolveFont(const Font& font, const QPaintDevice& device);

private:
    QPointF ToDevice(int32_t x, int32_t y) const;
    QPen ToQPen(const Pen& pen) const;

    QPainter& m_Painter;
    double m_PixelsPerUnitX;
    double m_PixelsPerUnitY;
    LogicalPoint m_Origin;
    LogicalPoint m_Position;
    Pen m_Pen;
    Font m_Font;
    QFont m_QFont;
    TextAlign m_Align = TextAlign::LeftTop;
};

// The whole paint area of a device (inside the margins of a page) in logical
// units, as the print framework hands it to a view: top 0, bottom negative.
LogicalRect LogicalPageRect(const QPaintDevice& device);
