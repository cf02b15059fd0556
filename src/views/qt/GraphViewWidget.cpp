#include "views/qt/GraphViewWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>
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
// A notch of the mouse wheel zooms by a quarter.
constexpr double kWheelStep = 1.25;
// A rectangle drawn with the mouse smaller than this (pixels) is a click.
constexpr int kSmallestRubberBand = 5;

}  // namespace

GraphViewWidget::GraphViewWidget(QWidget* parent) : CaseScrollView(parent) {
    viewport()->setMouseTracking(true);
}

void GraphViewWidget::SetPage(GraphPage page) {
    m_Grafik.SetPage(std::move(page));
    viewport()->update();
}

void GraphViewWidget::SetPath(const std::string& path) {
    m_Grafik.SetPath(path);
    viewport()->update();
}

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
    m_PageTransform = painter.worldTransform();
    QtSurface dc(painter);
    m_Grafik.OnDraw(dc);
    m_bPageDrawn = m_Grafik.m_bBerechnet == 1;
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
        m_bPageDrawn = false;
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
    m_PageTransform = painter.worldTransform();
    m_bPageDrawn = true;
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

// --- Reading values off and zooming ---------------------------------------------------

namespace {

// A value as the status bar shows it: four significant digits at least, one
// decimal for the larger ones.
QString Value(double v) {
    if (std::fabs(v) >= 1000) return QString::number(v, 'f', 1);
    return QString::number(v, 'g', 4);
}

QString Title(const std::string& title) {
    return QString::fromUtf8(title.c_str()).simplified();
}

}  // namespace

std::optional<LogicalPoint> GraphViewWidget::FramePointAt(const QPoint& at) const {
    if (!m_bPageDrawn) return std::nullopt;
    bool invertible = false;
    const QTransform inverse = m_PageTransform.inverted(&invertible);
    if (!invertible) return std::nullopt;
    // The painter's point; the surface maps units to pixels by the device's
    // resolution, y downward, from the window origin the page sets.
    const QPointF device = inverse.map(QPointF(at));
    const double unitsToPixelsX = viewport()->logicalDpiX() / kUnitsPerInch;
    const double unitsToPixelsY = viewport()->logicalDpiY() / kUnitsPerInch;
    return LogicalPoint{
        static_cast<int32_t>(std::lround(device.x() / unitsToPixelsX + CGrafik::kOriginX)),
        static_cast<int32_t>(std::lround(CGrafik::kOriginY - device.y() / unitsToPixelsY))};
}

QString GraphViewWidget::ReadingText(const QPoint& at) const {
    const std::optional<LogicalPoint> frame = FramePointAt(at);
    if (!frame) return {};
    const std::optional<CGrafik::Reading> r = m_Grafik.ReadingAt(*frame);
    if (!r) return {};
    const morvek::GraphSeries& g = m_Grafik.Page().graph;
    const morvek::GraphLabels& l = g.labels;
    QString text = QStringLiteral("%1: %2;  %3: %4;  %5: %6")
                       .arg(Title(l.titleX), Value(r->x), Title(l.titleY1), Value(r->left),
                            Title(l.titleY2), Value(r->right));
    const int i = m_Grafik.NearestCurvePoint(r->x);
    if (i >= 0) {
        if (m_Grafik.Page().kind == morvek::ResultKind::Prediction && !g.sharedYScale)
            text += QStringLiteral("   nächster Schritt: p %1 bar, Np %2 Tsd. m³, GOEV %3 sm³/m³")
                        .arg(Value(g.y1[i]), Value(g.x[i]), Value(g.y2[i]));
        else
            text += QStringLiteral("   nächster Punkt: %1 / %2 / %3")
                        .arg(Value(g.x[i]), Value(g.y1[i]), Value(g.y2[i]));
    }
    if (m_Grafik.Zoomed()) text += QStringLiteral("   (Esc: zurück)");
    return text;
}

bool GraphViewWidget::ZoomToRectangle(const QPoint& from, const QPoint& to) {
    const std::optional<LogicalPoint> a = FramePointAt(from);
    const std::optional<LogicalPoint> b = FramePointAt(to);
    if (!a || !b) return false;
    // Corners beyond the frame count at its edge.
    auto inside = [this](LogicalPoint p) {
        return LogicalPoint{std::clamp(p.x, 0, m_Grafik.breite),
                            std::clamp(p.y, -m_Grafik.hoehe, 0)};
    };
    const std::optional<CGrafik::Reading> ra = m_Grafik.ReadingAt(inside(*a));
    const std::optional<CGrafik::Reading> rb = m_Grafik.ReadingAt(inside(*b));
    if (!ra || !rb) return false;
    const CGrafik::Window part{std::min(ra->x, rb->x),       std::max(ra->x, rb->x),
                               std::min(ra->left, rb->left), std::max(ra->left, rb->left),
                               std::min(ra->right, rb->right), std::max(ra->right, rb->right)};
    if (!m_Grafik.ZoomTo(part)) return false;
    viewport()->update();
    return true;
}

bool GraphViewWidget::ZoomAround(const QPoint& at, int steps) {
    const std::optional<LogicalPoint> frame = FramePointAt(at);
    if (!frame || steps == 0) return false;
    const std::optional<CGrafik::Reading> c = m_Grafik.ReadingAt(*frame);
    if (!c) return false;
    const double factor = std::pow(kWheelStep, -steps);
    const CGrafik::Window now = m_Grafik.Shown();
    auto around = [factor](double centre, double lo, double hi) {
        return std::pair{centre - (centre - lo) * factor, centre + (hi - centre) * factor};
    };
    const auto [x0, x1] = around(c->x, now.xLow, now.xHigh);
    const auto [l0, l1] = around(c->left, now.leftLow, now.leftHigh);
    const auto [r0, r1] = around(c->right, now.rightLow, now.rightHigh);
    if (!m_Grafik.ZoomTo({x0, x1, l0, l1, r0, r1})) return false;
    viewport()->update();
    return true;
}

bool GraphViewWidget::ZoomBack() {
    if (!m_Grafik.ZoomBack()) return false;
    viewport()->update();
    return true;
}

void GraphViewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_pRubberBand != nullptr && m_pRubberBand->isVisible())
        m_pRubberBand->setGeometry(QRect(m_RubberOrigin, event->pos()).normalized());
    emit ReadingChanged(ReadingText(event->pos()));
    CaseScrollView::mouseMoveEvent(event);
}

void GraphViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !ReadingText(event->pos()).isEmpty()) {
        if (m_pRubberBand == nullptr)
            m_pRubberBand = new QRubberBand(QRubberBand::Rectangle, viewport());
        m_RubberOrigin = event->pos();
        m_pRubberBand->setGeometry(QRect(m_RubberOrigin, QSize()));
        m_pRubberBand->show();
        event->accept();
        return;
    }
    CaseScrollView::mousePressEvent(event);
}

void GraphViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pRubberBand != nullptr &&
        m_pRubberBand->isVisible()) {
        m_pRubberBand->hide();
        const QRect drawn = QRect(m_RubberOrigin, event->pos()).normalized();
        if (drawn.width() >= kSmallestRubberBand && drawn.height() >= kSmallestRubberBand)
            ZoomToRectangle(m_RubberOrigin, event->pos());
        event->accept();
        return;
    }
    CaseScrollView::mouseReleaseEvent(event);
}

void GraphViewWidget::wheelEvent(QWheelEvent* event) {
    // At the natural size the wheel scrolls; Strg with the wheel zooms there.
    const bool zoom = m_bFitToWindow || event->modifiers().testFlag(Qt::ControlModifier);
    const int steps = event->angleDelta().y() / 120;
    if (zoom && steps != 0 && ZoomAround(event->position().toPoint(), steps)) {
        emit ReadingChanged(ReadingText(event->position().toPoint()));
        event->accept();
        return;
    }
    CaseScrollView::wheelEvent(event);
}

void GraphViewWidget::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Escape || event->key() == Qt::Key_Backspace) &&
        m_Grafik.Zoomed()) {
        ZoomBack();
        event->accept();
        return;
    }
    CaseScrollView::keyPressEvent(event);
}

void GraphViewWidget::leaveEvent(QEvent* event) {
    emit ReadingChanged(QString());
    CaseScrollView::leaveEvent(event);
}