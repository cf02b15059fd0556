#include "sweep/qt/SweepChartWidget.h"

#include <QPainter>
#include <algorithm>

#include "views/BoundsSurface.h"
#include "views/qt/QtSurface.h"

namespace {

constexpr double kUnitsPerInch = 254.0;
constexpr int32_t kMarginUnits = 20;

}  // namespace

SweepChartWidget::SweepChartWidget(Kind kind, QWidget* parent) : QWidget(parent), m_Kind(kind) {
    setMinimumSize(420, 280);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SweepChartWidget::SetData(const SweepChartData* data) {
    m_pData = data;
    update();
}

ChartFrame SweepChartWidget::Frame() const {
    return ScreenFrame(m_Kind == Kind::Tornado && m_pData ? m_pData->tornado.bars.size() : 0);
}

void SweepChartWidget::DrawPage(Surface& dc, ChartFrame frame) const {
    if (m_pData == nullptr) return;
    if (m_Kind == Kind::Tornado)
        DrawTornadoPage(dc, *m_pData, frame);
    else
        DrawDistributionPage(dc, *m_pData, frame);
}

void SweepChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_pData == nullptr) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The whole page fitted into the widget, a long path in the footer
    // included, as the graph view never cuts it.
    QtSurface measure(painter);
    BoundsSurface bounds(measure);
    DrawPage(bounds, Frame());
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
    DrawPage(surface, Frame());
}
