#include "views/qt/GraphViewWidget.h"

#include <QPainter>
#include <QPrinter>

#include "views/qt/QtSurface.h"

GraphViewWidget::GraphViewWidget(CMorvekDoc& doc, QWidget* parent)
    : CaseScrollView(parent), m_Grafik(doc) {}

void GraphViewWidget::OnInitialUpdate() {
    SetScrollSizes(CGrafik::InitialScrollSizes());
    m_Grafik.OnInitialUpdate();
    viewport()->update();
}

void GraphViewWidget::DrawOnScreen(QPainter& painter) {
    QtSurface dc(painter);
    m_Grafik.OnDraw(dc);
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
