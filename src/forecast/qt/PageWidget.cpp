#include "forecast/qt/PageWidget.h"

#include <QPainter>
#include <algorithm>

#include "views/BoundsSurface.h"
#include "views/qt/QtSurface.h"

namespace {

constexpr double kUnitsPerInch = 254.0;
constexpr int32_t kMarginUnits = 20;

}  // namespace

PageWidget::PageWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(420, 420);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageWidget::SetDrawing(Drawing drawing) {
    m_Drawing = std::move(drawing);
    update();
}

void PageWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_Drawing) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The whole page fitted into the widget.
    QtSurface measure(painter);
    BoundsSurface bounds(measure);
    m_Drawing(bounds);
    const auto box = bounds.Box();
    if (!box) return;
    const double pxPerUnitX = logicalDpiX() / kUnitsPerInch;
    const double pxPerUnitY = logicalDpiY() / kUnitsPerInch;
    const double pageWidth = (box->right - box->left + 2 * kMarginUnits) * pxPerUnitX;
    const double pageHeight = (box->top - box->bottom + 2 * kMarginUnits) * pxPerUnitY;
    const double scale = std::min(width() / pageWidth, height() / pageHeight);
    painter.translate((width() - pageWidth * scale) / 2, (height() - pageHeight * scale) / 2);
    painter.scale(scale, scale);
    painter.translate((kMarginUnits - box->left) * pxPerUnitX,
                      (box->top + kMarginUnits) * pxPerUnitY);
    QtSurface surface(painter);
    m_Drawing(surface);
}

