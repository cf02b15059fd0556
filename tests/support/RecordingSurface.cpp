#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

SurfaceCall& RecordingSurface::Record(SurfaceCall::Kind kind) {
    SurfaceCall call;
    call.kind = kind;
    call.pen = m_Pen;
    call.font = m_Font;
    call.align = m_Align;
    m_Calls.push_back(std::move(call));
    return m_Calls.back();
}

Pen RecordingSurface::SelectPen(const Pen& pen) {
    Pen previous = m_Pen;
    m_Pen = pen;
    Record(SurfaceCall::SelectPen);
    return previous;
}

Font RecordingSurface::SelectFont(const Font& font) {
    Font previous = m_Font;
    m_Font = font;
    Record(SurfaceCall::SelectFont);
    return previous;
}

TextAlign RecordingSurface::SetTextAlign(TextAlign align) {
    TextAlign previous = m_Align;
    m_Align = align;
    Record(SurfaceCall::SetTextAlign);
    return previous;
}

void RecordingSurface::SetWindowOrigin(int32_t x, int32_t y) {
    SurfaceCall& c = Record(SurfaceCall::SetWindowOrigin);
    c.x = x;
    c.y = y;
}

void RecordingSurface::MoveTo(int32_t x, int32_t y) {
    SurfaceCall& c = Record(SurfaceCall::MoveTo);
    c.x = x;
    c.y = y;
    m_Position = {x, y};
}

void RecordingSurface::LineTo(int32_t x, int32_t y) {
    SurfaceCall& c = Record(SurfaceCall::LineTo);
    c.fromX = m_Position.x;
    c.fromY = m_Position.y;
    c.x = x;
    c.y = y;
    m_Position = {x, y};
}

void RecordingSurface::Marker(int32_t x, int32_t y, int32_t size, MarkerShape shape) {
    SurfaceCall& c = Record(SurfaceCall::Marker);
    c.x = x;
    c.y = y;
    c.x2 = size;
    c.y2 = shape == MarkerShape::Circle ? 0 : 1;
}

void RecordingSurface::Polyline(std::span<const LogicalPoint> points) {
    Record(SurfaceCall::Polyline).points.assign(points.begin(), points.end());
}

void RecordingSurface::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    SurfaceCall& c = Record(SurfaceCall::Rectangle);
    c.x = left;
    c.y = top;
    c.x2 = right;
    c.y2 = bottom;
}

void RecordingSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
    SurfaceCall& c = Record(SurfaceCall::TextOut);
    c.x = x;
    c.y = y;
    c.text = text;
}

int32_t RecordingSurface::TextWidth(const std::string& text, const Font& font) {
    int32_t characters = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) != 0x80) ++characters;  // not a UTF-8 continuation byte
    }
    return characters * (font.height / 2);
}

LogicalSize RecordingSurface::GetTextExtent(const std::string& text) {
    Record(SurfaceCall::GetTextExtent).text = text;
    return {TextWidth(text, m_Font), m_Font.height};
}

std::vector<SurfaceCall> RecordingSurface::CallsOf(SurfaceCall::Kind kind) const {
    std::vector<SurfaceCall> out;
    for (const SurfaceCall& c : m_Calls) {
        if (c.kind == kind) out.push_back(c);
    }
    return out;
}

SurfaceCall RecordingSurface::TextCall(const std::string& text) const {
    for (const SurfaceCall& c : m_Calls) {
        if (c.kind == SurfaceCall::TextOut && c.text == text) return c;
    }
    ADD_FAILURE() << "no text \"" << text << "\" was drawn";
    return {};
}

bool RecordingSurface::HasLine(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) const {
    for (const SurfaceCall& c : m_Calls) {
        if (c.kind == SurfaceCall::LineTo && c.fromX == fromX && c.fromY == fromY && c.x == toX &&
            c.y == toY)
            return true;
    }
    return false;
}
