#include "views/qt/ReportViewWidget.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cstdlib>

#include "views/qt/QtSurface.h"

ReportViewWidget::ReportViewWidget(const std::vector<std::string>& lines,
                                   std::function<std::string()> path, QWidget* parent)
    : CaseScrollView(parent), m_View(lines), m_Path(std::move(path)) {}

void ReportViewWidget::OnInitialUpdate() {
    OnUpdate();
}

LogicalSize ReportViewWidget::MeasureReport() const {
    // Measured on an image of the screen's resolution: the same font as the
    // screen drawing, without waiting for a paint event.
    QImage probe(1, 1, QImage::Format_RGB32);
    constexpr double kInchesPerMetre = 39.3700787;
    probe.setDotsPerMeterX(static_cast<int>(logicalDpiX() * kInchesPerMetre));
    probe.setDotsPerMeterY(static_cast<int>(logicalDpiY() * kInchesPerMetre));
    QPainter painter(&probe);
    QtSurface dc(painter);
    return m_View.ReportExtent(dc);
}

void ReportViewWidget::OnUpdate() {
    // The scroll range is the report itself, so that no line of a long table
    // lies out of reach; page and line steps stay those of the view.
    ScrollSizes sizes = CMorvekView::InitialScrollSizes();
    const LogicalSize extent = MeasureReport();
    sizes.total.cx = std::abs(extent.cx);
    sizes.total.cy = std::abs(extent.cy);
    SetScrollSizes(sizes);
}

void ReportViewWidget::DrawOnScreen(QPainter& painter) {
    QtSurface dc(painter);
    m_View.OnDraw(dc);
}

void ReportViewWidget::PrintTo(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    QtSurface dc(painter);
    m_View.SetPath(m_Path ? m_Path() : std::string());
    m_View.SetDate(m_strDate.empty() ? TodayText() : m_strDate);
    const LogicalRect page = LogicalPageRect(printer);
    const PageRange range = PrintRange(printer, m_View.OnPreparePrinting(page));
    for (int nPage = range.first; nPage <= range.last; ++nPage) {
        if (nPage > range.first) printer.newPage();
        m_View.OnPrint(dc, nPage, page);
    }
    painter.end();
}
