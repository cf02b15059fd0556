#pragma once
// A surface that draws nothing and keeps the box around everything a drawing
// would put on the drawing area; fonts and text extents come from the
// surface it measures with. The graph view follows its drawing with it; the
// drawing keeps its texts within the page, so that exports need it not.

#include <optional>

#include "views/Surface.h"

class BoundsSurface : public Surface {
public:
    explicit BoundsSurface(Surface& measure) : m_Measure(measure) {}

    Pen SelectPen(const Pen& pen) override;
    Font SelectFont(const Font& font) override { return m_Measure.SelectFont(font); }
    TextAlign SetTextAlign(TextAlign align) override;
    void SetWindowOrigin(int32_t x, int32_t y) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(std::span<const LogicalPoint> points) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Marker(int32_t x, int32_t y, int32_t size, MarkerShape shape) override;
    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    LogicalSize GetTextExtent(const std::string& text) override {
        return m_Measure.GetTextExtent(text);
    }

    // The box in drawing-area coordinates (the window origin at 0, 0, y
    // upward), widened by half the widest pen used; empty when nothing was
    // drawn.
    std::optional<LogicalRect> Box() const;

private:
    void Include(int32_t x, int32_t y);

    Surface& m_Measure;
    Pen m_Pen;
    TextAlign m_Align = TextAlign::LeftTop;
    LogicalPoint m_Origin;
    LogicalPoint m_Position;
    int32_t m_WidestPen = 0;
    std::optional<LogicalRect> m_Box;
};
