#include "views/qt/QtSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kUnitsPerInch = 254.0;  // 0.1 mm units

// Pen patterns in 0.1 mm, the same on every device: dashes of 2.5 mm with
// 1.2 mm gaps, dots of 0.3 mm with 0.6 mm gaps. A wide pen keeps its pattern
// at least as long as it is wide, so the gaps never close up.
constexpr double kDashOnUnits = 25, kDashOffUnits = 12;
constexpr double kDotOnUnits = 3, kDotOffUnits = 6;

// The fixed-pitch report face and the graph's sans face, each with
// metric-compatible stand-ins (fonts-liberation) and a last resort.
const QStringList kCourierFaces = {"Courier New", "Liberation Mono", "DejaVu Sans Mono"};
const QStringList kGraphFaces = {"Liberation Sans", "Arial", "DejaVu Sans"};

QString DrawableText(const std::string& text) {
    // A report line may carry an embedded line break; on one text line it is
    // shown as a blank.
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

}  // namespace

QtSurface::QtSurface(QPainter& painter)
    : m_Painter(painter),
      m_PixelsPerUnitX(painter.device()->logicalDpiX() / kUnitsPerInch),
      m_PixelsPerUnitY(painter.device()->logicalDpiY() / kUnitsPerInch) {
    m_Font = Font{100, 400, ""};
    m_QFont = ResolveFont(m_Font, *painter.device());
    m_Painter.setPen(ToQPen(m_Pen));
}

QFont QtSurface::ResolveFont(const Font& font, const QPaintDevice& device) {
    QFont f;
    if (font.face.empty()) {
        f.setFamilies(kGraphFaces);
        f.setStyleHint(QFont::SansSerif);
    } else if (font.face == "Courier New") {
        f.setFamilies(kCourierFaces);
        f.setStyleHint(QFont::TypeWriter);
        f.setFixedPitch(true);
    } else {
        f.setFamilies({QString::fromStdString(font.face)});
    }
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    f.setKerning(false);
    const double dpiY = device.logicalDpiY();
    const double cellPixels = font.height * dpiY / kUnitsPerInch;
    if (cellPixels <= 0) return f;
    // Point sizes are resolved against the device's resolution; scale the em
    // so that ascent plus descent fill the cell as a cell height asks.
    f.setPointSizeF(cellPixels * 72.0 / dpiY);
    const double measured = QFontMetricsF(f, &device).height();
    if (measured > 0) f.setPointSizeF(f.pointSizeF() * cellPixels / measured);
    return f;
}

QPen QtSurface::ToQPen(const Pen& pen) const {
    const double pixelsPerUnit = (m_PixelsPerUnitX + m_PixelsPerUnitY) / 2;
    // Never thinner than one device pixel, so thin pens stay visible on a
    // screen as on paper.
    const double width = std::max(1.0, pen.width * pixelsPerUnit);
    QPen q(QColor(pen.colour.red, pen.colour.green, pen.colour.blue));
    q.setWidthF(width);
    q.setJoinStyle(Qt::RoundJoin);
    if (pen.style == PenStyle::Solid) {
        q.setCapStyle(Qt::RoundCap);
        return q;
    }
    const bool dash = pen.style == PenStyle::Dash;
    const double onUnits =
        std::max<double>(dash ? kDashOnUnits : kDotOnUnits, (dash ? 3 : 1) * pen.width);
    const double offUnits = std::max<double>(dash ? kDashOffUnits : kDotOffUnits, 2 * pen.width);
    // Qt measures a dash pattern in pen widths.
    q.setDashPattern({onUnits * pixelsPerUnit / width, offUnits * pixelsPerUnit / width});
    q.setCapStyle(Qt::FlatCap);
    return q;
}

QPointF QtSurface::ToDevice(int32_t x, int32_t y) const {
    return {(static_cast<double>(x) - m_Origin.x) * m_PixelsPerUnitX,
            (static_cast<double>(m_Origin.y) - y) * m_PixelsPerUnitY};
}

Pen QtSurface::SelectPen(const Pen& pen) {
    Pen previous = m_Pen;
    m_Pen = pen;
    m_Painter.setPen(ToQPen(pen));
    return previous;
}

Font QtSurface::SelectFont(const Font& font) {
    Font previous = m_Font;
    if (!(font == m_Font)) {
        m_Font = font;
        m_QFont = ResolveFont(font, *m_Painter.device());
    }
    return previous;
}

TextAlign QtSurface::SetTextAlign(TextAlign align) {
    TextAlign previous = m_Align;
    m_Align = align;
    return previous;
}

void QtSurface::SetWindowOrigin(int32_t x, int32_t y) {
    m_Origin = {x, y};
}

void QtSurface::MoveTo(int32_t x, int32_t y) {
    m_Position = {x, y};
}

void QtSurface::LineTo(int32_t x, int32_t y) {
    m_Painter.drawLine(ToDevice(m_Position.x, m_Position.y), ToDevice(x, y));
    m_Position = {x, y};
}

void QtSurface::Polyline(std::span<const LogicalPoint> points) {
    if (points.size() < 2) return;
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const LogicalPoint& p : points) polygon << ToDevice(p.x, p.y);
    m_Painter.drawPolyline(polygon);
}

void QtSurface::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const QBrush oldBrush = m_Painter.brush();
    m_Painter.setBrush(Qt::white);
    m_Painter.drawRect(QRectF(ToDevice(left, top), ToDevice(right, bottom)).normalized());
    m_Painter.setBrush(oldBrush);
}

void QtSurface::Marker(int32_t x, int32_t y, int32_t size, MarkerShape shape) {
    // The painter's own scale (a graph fitted to a small window, a preview's
    // zoom) shrinks the symbol too: it keeps 6 pixels on the device however.
    const QTransform& world = m_Painter.worldTransform();
    const double worldScale = std::max(1e-6, std::sqrt(std::abs(world.determinant())));
    constexpr double kMinDevicePixels = 6.0;
    const double across = std::max(size * (m_PixelsPerUnitX + m_PixelsPerUnitY) / 2,
                                   kMinDevicePixels / worldScale);
    const QPointF centre = ToDevice(x, y);
    const QRectF box(centre.x() - across / 2, centre.y() - across / 2, across, across);
    m_Painter.save();
    m_Painter.setBrush(QColor(m_Pen.colour.red, m_Pen.colour.green, m_Pen.colour.blue));
    QPen outline(QColor(0, 90, 0));
    outline.setWidthF(std::max(1.0 / worldScale, across / 10));
    m_Painter.setPen(outline);
    if (shape == MarkerShape::Circle)
        m_Painter.drawEllipse(box);
    else
        m_Painter.drawRect(box);
    m_Painter.restore();
}

void QtSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
    const QString s = DrawableText(text);
    const QFontMetricsF metrics(m_QFont, m_Painter.device());
    QPointF p = ToDevice(x, y);
    const double width = metrics.horizontalAdvance(s);
    if (m_Align == TextAlign::CentreTop) p.rx() -= width / 2;
    if (m_Align == TextAlign::RightTop) p.rx() -= width;
    p.ry() += metrics.ascent();  // the reference point is the top of the cell
    m_Painter.save();
    m_Painter.setFont(m_QFont);
    m_Painter.setPen(Qt::black);  // text keeps its own colour, whatever the pen
    m_Painter.drawText(p, s);
    m_Painter.restore();
}

LogicalSize QtSurface::GetTextExtent(const std::string& text) {
    const QFontMetricsF metrics(m_QFont, m_Painter.device());
    const double width = metrics.horizontalAdvance(DrawableText(text));
    return {static_cast<int32_t>(std::lround(width / m_PixelsPerUnitX)),
            static_cast<int32_t>(std::lround(metrics.height() / m_PixelsPerUnitY))};
}

LogicalRect LogicalPageRect(const QPaintDevice& device) {
    const double width = device.width() * kUnitsPerInch / device.logicalDpiX();
    const double height = device.height() * kUnitsPerInch / device.logicalDpiY();
    return {0, 0, static_cast<int32_t>(std::lround(width)),
            -static_cast<int32_t>(std::lround(height))};
}
