#pragma once
// A drawing surface for the tests: records every call with its arguments and
// the pen, font and alignment in force, and measures text deterministically
// (every character half as wide as the font's cell height, the cell height
// as the text height).

#include <string>
#include <vector>

#include "views/Surface.h"

struct SurfaceCall {
    enum Kind {
        SelectPen,
        SelectFont,
        SetTextAlign,
        SetWindowOrigin,
        MoveTo,
        LineTo,
        Polyline,
        Rectangle,
        TextOut,
        GetTextExtent,
        Marker
    };
    Kind kind = SelectPen;
    // MoveTo, LineTo, TextOut, SetWindowOrigin: (x, y); LineTo also starts at
    // (fromX, fromY); Rectangle: left, top, right, bottom in x, y, x2, y2;
    // Marker: the centre in (x, y), the size in x2, the shape in y2 (0 circle,
    // 1 square).
    int32_t x = 0, y = 0, x2 = 0, y2 = 0;
    int32_t fromX = 0, fromY = 0;
    std::string text;
    std::vector<LogicalPoint> points;
    // State in force when the call was made (after it, for a selection).
    Pen pen;
    Font font;
    TextAlign align = TextAlign::LeftTop;
};

class RecordingSurface : public Surface {
public:
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

    // The width the surface gives a text in a font: characters (not bytes)
    // times half the cell height.
    static int32_t TextWidth(const std::string& text, const Font& font);

    const std::vector<SurfaceCall>& Calls() const { return m_Calls; }
    std::vector<SurfaceCall> CallsOf(SurfaceCall::Kind kind) const;
    // The first text output with exactly this text; fails the test when none.
    SurfaceCall TextCall(const std::string& text) const;
    // The line segments drawn, each a LineTo call carrying its start point.
    std::vector<SurfaceCall> Lines() const { return CallsOf(SurfaceCall::LineTo); }
    bool HasLine(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) const;

    Pen CurrentPen() const { return m_Pen; }
    Font CurrentFont() const { return m_Font; }

private:
    SurfaceCall& Record(SurfaceCall::Kind kind);

    std::vector<SurfaceCall> m_Calls;
    Pen m_Pen;
    Font m_Font{100, 400, "System"};
    TextAlign m_Align = TextAlign::LeftTop;
    LogicalPoint m_Position;
};
