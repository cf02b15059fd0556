#include "views/qt/GraphViewWidget.h"

#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "views/BoundsSurface.h"
#include "views/qt/QtSurface.h"

namespace {

// White space kept beyond the outermost text, logical units.
constexpr int32_t kSpillMarginUnits = 20;

}  // namespace

GraphViewWidget::GraphViewWidget(CMorvekDoc& doc, QWidget* parent)
    : CaseScrollView(parent), m_Grafik(doc) {}

void GraphViewWidget::OnInitialUpdate() {
    m_nLeftSpill = 0;
    SetScrollSizes(CGrafik::InitialScrollSizes());
    m_Grafik.OnInitialUpdate();
    viewport()->update();
}

void GraphViewWidget::DrawOnScreen(QPainter& painter) {
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
    if (spill == m_nLeftSpill && sizes.total == GetScrollSizes().total) return;
    // The range changes after this paint, which then repeats with it.
    QTimer::singleShot(0, this, [this, sizes, spill] {
        m_nLeftSpill = spill;
        SetScrollSizes(sizes);
    });
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
