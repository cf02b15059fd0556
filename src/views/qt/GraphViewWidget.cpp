#include "views/qt/GraphViewWidget.h"

#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "views/BoundsSurface.h"
#include "views/qt/QtSurface.h"

namespace {

// White space kept beyond the outermost text, logical units.
constexpr int32_t kSpillMarginUnits = 20;
constexpr double kUnitsPerInch = 254.0;
// The magnifier enlarges the fitted page by half, as it enlarges the frame.
constexpr double kMagnifierFactor = 1.5;

}  // namespace

GraphViewWidget::GraphViewWidget(CMorvekDoc& doc, QWidget* parent)
    : CaseScrollView(parent), m_Grafik(doc) {}

void GraphViewWidget::OnInitialUpdate() {
    m_nLeftSpill = 0;
    ScrollSizes sizes = CGrafik::InitialScrollSizes();
    if (m_bFitToWindow) sizes.total = {0, 0};
    SetScrollSizes(sizes);
    m_Grafik.OnInitialUpdate();
    viewport()->update();
}

void GraphViewWidget::SetFitToWindow(bool fit) {
    if (fit == m_bFitToWindow) return;
    m_bFitToWindow = fit;
    m_nLeftSpill = 0;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    ScrollSizes sizes = CGrafik::InitialScrollSizes();
    if (fit) sizes.total = {0, 0};
    SetScrollSizes(sizes);
}

void GraphViewWidget::DrawOnScreen(QPainter& painter) {
    if (m_bFitToWindow) {
        DrawFitted(painter);
        return;
    }
    painter.translate(ToPixelsX(m_nLeftSpill), 0);
    QtSurface dc(painter);
    m_Grafik.OnDraw(dc);
    FollowDrawing(dc);
}

void GraphViewWidget::FollowDrawing(Surface& dc) {
    ScrollSizes sizes = CGrafik::InitialScrollSizes();
    int32_t spill = 0;
    if (m_Grafik.m_bBerechnet) {
        BoundsSurface bounds(dc);
        m_Grafik.DrawPage(bounds);
        if (const auto box = bounds.Box()) {
            spill = std::max(0, kSpillMarginUnits - box->left);
            sizes.total.cx = std::max(sizes.total.cx, box->right + kSpillMarginUnits + spill);
            sizes.total.cy = std::max(std::abs(sizes.total.cy), kSpillMarginUnits - box->bottom);
        }
    }
    ScrollRangeAfterPaint(sizes, spill);
}

void GraphViewWidget::ScrollRangeAfterPaint(const ScrollSizes& sizes, int32_t spill) {
    if (spill == m_nLeftSpill && sizes.total == GetScrollSizes().total) return;
    // The range changes after this paint, which then repeats with it.
    QTimer::singleShot(0, this, [this, sizes, spill] {
        m_nLeftSpill = spill;
        SetScrollSizes(sizes);
    });
}

void GraphViewWidget::DrawFitted(QPainter& painter) {
    ScrollSizes sizes = CGrafik::InitialScrollSizes();
    sizes.total = {0, 0};
    // What the page draws, measured first (computed first if the case asks).
    std::optional<LogicalRect> box;
    {
        QtSurface measure(painter);
        BoundsSurface bounds(measure);
        m_Grafik.OnDraw(bounds);
        box = bounds.Box();
    }
    if (m_Grafik.m_bBerechnet != 1 || !box) {
        ScrollRangeAfterPaint(sizes, 0);
        return;
    }
    const double unitsToPixelsX = logicalDpiX() / kUnitsPerInch;
    const double unitsToPixelsY = logicalDpiY() / kUnitsPerInch;
    const double left = box->left - kSpillMarginUnits;
    const double top = box->top + kSpillMarginUnits;
    const double widthPx = (box->right + kSpillMarginUnits - left) * unitsToPixelsX;
    const double heightPx = (top - (box->bottom - kSpillMarginUnits)) * unitsToPixelsY;
    const QSize area = viewport()->size();
    if (widthPx <= 0 || heightPx <= 0 || area.isEmpty()) return;
    double scale = std::min(area.width() / widthPx, area.height() / heightPx);
    if (m_Grafik.m_bGrafiklupe == 1) scale *= kMagnifierFactor;
    const double shownWidth = widthPx * scale;
    const double shownHeight = heightPx * scale;
    // Centred while it is smaller than the window.
    painter.translate(std::max(0.0, (area.width() - shownWidth) / 2),
                      std::max(0.0, (area.height() - shownHeight) / 2));
    painter.scale(scale, scale);
    painter.translate(-left * unitsToPixelsX, top * unitsToPixelsY);
    QtSurface dc(painter);
    m_Grafik.DrawPage(dc);
    // Scroll bars only when the magnifier makes the page larger than the window.
    sizes.total = {static_cast<int32_t>(std::floor(shownWidth / unitsToPixelsX)),
                   static_cast<int32_t>(std::floor(shownHeight / unitsToPixelsY))};
    ScrollRangeAfterPaint(sizes, 0);
}

void GraphViewWidget::OnGrafiklupe() {
    m_Grafik.OnGrafiklupe();
    viewport()->update();
}

void GraphViewWidget::PrintTo(QPrinter& printer) {
    m_Grafik.OnPreparePrinting();
    QPainter painter;
    if (painter.begin(&printer)) {
        painter.setRenderHint(QPainter::Antialiasing);
        QtSurface dc(painter);
        m_Grafik.OnPrint(dc, LogicalPageRect(printer));
        painter.end();
    }
    m_Grafik.OnEndPrinting();
    viewport()->update();
}
