#include "views/BoundsSurface.h"

#include <algorithm>

Pen BoundsSurface::SelectPen(const Pen& pen) {
    Pen previous = m_Pen;
    m_Pen = pen;
    return previous;
}

TextAlign BoundsSurface::SetTextAlign(TextAlign align) {
    TextAlign previous = m_Align;
    m_Align = align;
    return previous;
}

void BoundsSurface::SetWindowOrigin(int32_t x, int32_t y) {
    m_Origin = {x, y};
}

void BoundsSurface::Include(int32_t x, int32_t y) {
    const int32_t ax = x - m_Origin.x;
    const int32_t ay = y - m_Origin.y;
    if (!m_Box) {
        m_Box = LogicalRect{ax, ay, ax, ay};
        return;
    }
    m_Box->left = std::min(m_Box->left, ax);
    m_Box->right = std::max(m_Box->right, ax);
    m_Box->top = std::max(m_Box->top, ay);
    m_Box->bottom = std::min(m_Box->bottom, ay);
}

void BoundsSurface::MoveTo(int32_t x, int32_t y) {
    m_Position = {x, y};
}

void BoundsSurface::LineTo(int32_t x, int32_t y) {
    m_WidestPen = std::max(m_WidestPen, m_Pen.width);
    Include(m_Position.x, m_Position.y);
    Include(x, y);
    m_Position = {x, y};
}

void BoundsSurface::Polyline(std::span<const LogicalPoint> points) {
    if (points.size() < 2) return;
    m_WidestPen = std::max(m_WidestPen, m_Pen.width);
    for (const LogicalPoint& p : points) Include(p.x, p.y);
}

void BoundsSurface::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    m_WidestPen = std::max(m_WidestPen, m_Pen.width);
    Include(left, top);
    Include(right, bottom);
}

void BoundsSurface::Marker(int32_t x, int32_t y, int32_t size, MarkerShape) {
    const int32_t half = size / 2 + 1;
    Include(x - half, y + half);
    Include(x + half, y - half);
}

void BoundsSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
    if (text.empty()) return;
    const LogicalSize size = m_Measure.GetTextExtent(text);
    int32_t left = x;
    if (m_Align == TextAlign::CentreTop) left -= size.cx / 2;
    if (m_Align == TextAlign::RightTop) left -= size.cx;
    Include(left, y);
    Include(left + size.cx, y - size.cy);
}

std::optional<LogicalRect> BoundsSurface::Box() const {
    if (!m_Box) return std::nullopt;
    const int32_t half = (m_WidestPen + 1) / 2;
    return LogicalRect{m_Box->left - half, m_Box->top + half, m_Box->right + half,
                       m_Box->bottom - half};
}
