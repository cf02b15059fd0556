#include "views/qt/CaseScrollView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

// Logical units per inch: 0.1 mm.
constexpr double kUnitsPerInch = 254.0;

}  // namespace

CaseScrollView::CaseScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::StyledPanel);
}

void CaseScrollView::OnUpdate() {
    viewport()->update();
}

void CaseScrollView::SetScrollSizes(const ScrollSizes& sizes) {
    m_Sizes = sizes;
    UpdateScrollBars();
    viewport()->update();
}

QPoint CaseScrollView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

int CaseScrollView::ToPixelsX(int32_t units) const {
    return static_cast<int>(std::lround(std::abs(units) * logicalDpiX() / kUnitsPerInch));
}

int CaseScrollView::ToPixelsY(int32_t units) const {
    return static_cast<int>(std::lround(std::abs(units) * logicalDpiY() / kUnitsPerInch));
}

void CaseScrollView::UpdateScrollBars() {
    const QSize area = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, ToPixelsX(m_Sizes.total.cx) - area.width()));
    v->setRange(0, std::max(0, ToPixelsY(m_Sizes.total.cy) - area.height()));
    h->setPageStep(std::max(1, std::min(ToPixelsX(m_Sizes.page.cx), area.width())));
    v->setPageStep(std::max(1, std::min(ToPixelsY(m_Sizes.page.cy), area.height())));
    h->setSingleStep(std::max(1, ToPixelsX(m_Sizes.line.cx)));
    v->setSingleStep(std::max(1, ToPixelsY(m_Sizes.line.cy)));
}

void CaseScrollView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPoint scrolled = ScrollPosition();
    painter.translate(-scrolled.x(), -scrolled.y());
    DrawOnScreen(painter);
}

void CaseScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CaseScrollView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
        case Qt::Key_Home:
            v->setValue(v->minimum());
            if (control) h->setValue(h->minimum());
            event->accept();
            return;
        case Qt::Key_End:
            v->setValue(v->maximum());
            if (control) h->setValue(h->minimum());
            event->accept();
            return;
        default:
            break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CaseScrollView::scrollContentsBy(int, int) {
    viewport()->update();
}

PageRange PrintRange(const QPrinter& printer, int maxPage) {
    PageRange range{1, maxPage};
    if (printer.fromPage() > 0) range.first = printer.fromPage();
    if (printer.toPage() > 0) range.last = std::min(printer.toPage(), maxPage);
    return range;
}
