// The graph page: frame, titles, the three axes with their labels, the curves
// and markers with their legends, and the grid drawn last over the curves.
// Positions are in 0.1 mm relative to the frame's top-left corner, which lies
// 40 mm right of and 30 mm below the top-left corner of the drawing area.

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "base/Format.h"
#include "base/PrintableText.h"
#include "views/FitText.h"
#include "views/Grafik.h"
#include "views/Surface.h"
#include "views/Truncate.h"

namespace {

// A zoomed part's tick that the sum of steps puts a rounding error away from
// 0, or at -0, is labelled "0".
double ZoomTick(bool zoomed, double q, double step) {
    return zoomed && std::fabs(q) < 1e-9 * std::fabs(step) ? 0.0 : q;
}

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kBlue{0, 0, 255};

const Pen kFramePen{PenStyle::Solid, 4, kBlack};  // frame and tick marks
const Pen kCurve1Pen{PenStyle::Solid, 3, kRed};
const Pen kCurve2Pen{PenStyle::Dash, 3, kBlue};
const Pen kSeries3LinePen{PenStyle::Solid, 3, kGreen};  // third PVT curve
const Pen kMarkerPen{PenStyle::Solid, 5, kGreen};
const Pen kGridPen{PenStyle::Dot, 1, kBlack};

// Cell heights 8, 6 and 4.5 mm, all in the graph's default face.
const Font kFontFieldName{80, 600, ""};
const Font kFontTitles{60, 700, ""};
const Font kFontAxes{45, 700, ""};

// The frame lies 40 mm right of and 30 mm below the drawing area's corner
// (CGrafik::kOriginX, kOriginY).

// A measured point's symbol across, 2.2 mm: clearly visible on paper, and at
// least 6 pixels on a screen (the surface sees to that when scaled down).
constexpr int32_t kMarkerSize = 22;

// The screen page the graph is drawn on (exports too): 210 mm wide.
constexpr int32_t kScreenPageWidth = 2100;
constexpr int32_t kFooterMargin = kPageTextMargin;
// The footer's top below the frame's bottom edge: under the lowest legend
// (its top 21 mm below, 4.5 mm high) with 1.5 mm to spare.
constexpr int32_t kFooterBelowFrame = 270;

std::span<const LogicalPoint> FirstPoints(const CGrafik::PointList& points, int32_t count) {
    return {points.data(),
            static_cast<size_t>(std::clamp<int32_t>(count, 0, morvek::kSeriesLength))};
}

// The title's line as it fits into the frame's width: a kept end (the
// diagnostic graph's name) stays whole and the text before it is shortened,
// as long as the kept end and an ellipsis fit; otherwise the title is
// shortened at its end.
std::string FittedTitle(Surface& dc, const GraphPage& page, int32_t width) {
    const std::string title = OneLineText(page.title);
    const std::string kept = OneLineText(page.titleKept);
    if (kept.empty() || kept.size() >= title.size() ||
        title.compare(title.size() - kept.size(), kept.size(), kept) != 0 ||
        dc.GetTextExtent(title).cx <= width)
        return FitText(dc, title, width, false);
    const int32_t room = width - dc.GetTextExtent(kept).cx;
    if (room < dc.GetTextExtent("…").cx) return FitText(dc, title, width, false);
    return FitText(dc, title.substr(0, title.size() - kept.size()), room, false) + kept;
}

}  // namespace

void CGrafik::DrawPage(Surface& dc) {
    const morvek::GraphSeries& g = m_Page.graph;
    const morvek::GraphLabels& labels = g.labels;
    const bool pvtTable = m_Page.kind == morvek::ResultKind::PvtTable;
    const bool relPermTable = m_Page.kind == morvek::ResultKind::RelPermTable;
    if (m_bHochformat == 0) worldtrans();

    const Pen oldPen = dc.SelectPen(kFramePen);
    dc.SetWindowOrigin(kOriginX, kOriginY);
    const int32_t W = breite;
    const int32_t H = hoehe;
    dc.Rectangle(0, 0, W, -H);

    const Font oldFont = dc.SelectFont(kFontFieldName);
    dc.SetTextAlign(TextAlign::CentreTop);
    // The page has the paper's size: a field name wider than the frame is
    // shortened to it.
    dc.TextOut(W / 2, 200, FittedTitle(dc, m_Page, W));

    dc.SelectFont(kFontTitles);
    dc.TextOut(W / 2, 120, labels.heading);
    dc.TextOut(-50, 100, labels.titleY1);
    dc.TextOut(W + 60, 100, labels.titleY2);
    dc.TextOut(W / 2, -H - 70, labels.titleX);

    dc.SelectFont(kFontAxes);
    DrawXAxis(dc);
    DrawYAxis(dc);
    DrawY1Axis(dc);

    DrawFooter(dc);
    dc.SetTextAlign(TextAlign::CentreTop);

    // A legend without text (the comparison of cases has its own) gets no
    // sample either.
    dc.SelectPen(kCurve1Pen);
    int32_t w = dc.GetTextExtent(labels.legend1).cx;
    if (!labels.legend1.empty()) {
        dc.TextOut(W / 2, -H - 130, labels.legend1);
        dc.MoveTo(W / 2 + w - 200, -H - 150);
        dc.LineTo(W / 2 + w, -H - 150);
    }
    DrawCurve(dc, FirstPoints(m_Punkte1, g.curvePoints));

    dc.SelectPen(kCurve2Pen);
    DrawCurve(dc, FirstPoints(m_Punkte2, g.curvePoints));
    w = dc.GetTextExtent(labels.legend2).cx;
    // The relative-permeability table has no legend 3 line: legend 2 moves up
    // 4 mm into its place.
    const int32_t k = relPermTable ? 40 : 0;
    if (!labels.legend2.empty()) {
        dc.TextOut(W / 2, -H + k - 210, labels.legend2);
        dc.MoveTo(W / 2 + w - 180, -H + k - 230);
        dc.LineTo(W / 2 + w + 20, -H + k - 230);
    }

    if (pvtTable) {
        dc.SelectPen(kSeries3LinePen);
        DrawCurve(dc, FirstPoints(m_Punkte3, g.measuredPoints));
    } else {
        dc.SelectPen(kMarkerPen);
        // Measured pressures as circles, measured gas-oil ratios as squares.
        DrawPointMarkers(dc, FirstPoints(m_Punkte3, g.measuredPoints), MarkerShape::Circle);
        DrawPointMarkers(dc, FirstPoints(m_Punkte4, g.measuredGorPoints), MarkerShape::Square);
    }

    w = dc.GetTextExtent(labels.legend3).cx;
    if (!labels.legend3.empty()) dc.TextOut(W / 2, -H - 170, labels.legend3);
    if (labels.legend3.empty()) {
        // Nothing to name.
    } else if (pvtTable) {
        // The third curve's line is the legend's sample.
        dc.MoveTo(W / 2 + w - 130, -H - 190);
        dc.LineTo(W / 2 + w + 70, -H - 190);
    } else if (!relPermTable) {
        // The symbols drawn are the legend's sample: the circle of the
        // pressures, and the square of the gas-oil ratios where there are any.
        dc.Marker(W / 2 + w - 70, -H - 190, kMarkerSize, MarkerShape::Circle);
        if (g.measuredGorPoints > 0)
            dc.Marker(W / 2 + w + 10, -H - 190, kMarkerSize, MarkerShape::Square);
    }

    DrawOverlays(dc);

    dc.SelectPen(kGridPen);
    DrawGrid(dc);

    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
}

void CGrafik::DrawXAxis(Surface& dc) {
    const int32_t W = breite;
    const int32_t H = hoehe;
    // A zoomed part starts between two ticks: the first round value within.
    for (double q = m_Zoom ? xstart : xmin; q <= xmax; q += deltax) {
        const int32_t c = TruncateToInt32(W * (q - xmin) / (xmax - xmin));
        dc.MoveTo(c, -H);
        if (q >= xmin) dc.LineTo(c, -H - 20);
        dc.SetTextAlign(TextAlign::CentreTop);
        std::string label;
        const double shown = ZoomTick(m_Zoom.has_value(), q, deltax);
        if (xmax > 1000 || xmin < -500) {
            label = Format("%4.0f", shown);
        } else if (xmax > 1 || xmin < -1) {
            label = Format("%5g", shown);
        } else {
            label = Format("%5.3f", shown);
        }
        if (q >= xmin) dc.TextOut(c, -H - 30, label);
    }
}

void CGrafik::DrawYAxis(Surface& dc) {
    const int32_t H = hoehe;
    // The factor lets the top tick through despite the sums of steps; with a
    // negative maximum it shrinks the limit instead and the top tick is lost.
    const double top = m_Zoom ? ymax + 1e-9 * std::fabs(ymax) : 1.001 * ymax;
    for (double q = ystart; q <= top; q += deltay) {
        const int32_t c = TruncateToInt32(H * (q - ymin) / (ymax - ymin));
        dc.MoveTo(0, c - H);
        if (q >= ymin) dc.LineTo(-10, c - H);
        dc.SetTextAlign(TextAlign::CentreTop);
        const double shown = ZoomTick(m_Zoom.has_value(), q, deltay);
        const std::string label =
            ymax > 1000000 || ymin < -100000 ? Format("%6.2e", shown) : Format("%6g", shown);
        if (q >= ymin) dc.TextOut(-130, c - H + 20, label);
    }
}

void CGrafik::DrawY1Axis(Surface& dc) {
    const int32_t W = breite;
    const int32_t H = hoehe;
    const double top = m_Zoom ? y1max + 1e-9 * std::fabs(y1max) : 1.0001 * y1max;
    for (double q = y1start; q <= top; q += deltay1) {
        const int32_t c = TruncateToInt32(H * (q - y1min) / (y1max - y1min));
        dc.MoveTo(W, c - H);
        if (q >= y1min) dc.LineTo(W + 10, c - H);
        dc.SetTextAlign(TextAlign::RightTop);
        const double shown = ZoomTick(m_Zoom.has_value(), q, deltay1);
        const std::string label =
            y1max > 1000000 || y1min < -100000 ? Format("%6.1e", shown) : Format("%6.1f", shown);
        if (q >= y1min) dc.TextOut(W + 150, c - H + 20, label);
    }
}

void CGrafik::DrawGrid(Surface& dc) {
    const int32_t W = breite;
    const int32_t H = hoehe;
    for (double t = m_Zoom ? ystart : ystart + deltay; t < ymax; t += deltay) {
        if (t <= ymin) continue;
        const int32_t c = TruncateToInt32(H * (t - ymin) / (ymax - ymin));
        dc.MoveTo(0, c - H);
        dc.LineTo(W, c - H);
    }
    for (double t = m_Zoom ? xstart : xmin + deltax; t < xmax; t += deltax) {
        if (t <= xmin) continue;
        const int32_t c = TruncateToInt32(W * (t - xmin) / (xmax - xmin));
        dc.MoveTo(c, -H);
        dc.LineTo(c, 0);
    }
}

void CGrafik::DrawMarkers(Surface& dc, std::span<const LogicalPoint> points, MarkerShape shape) {
    for (const LogicalPoint& p : points) dc.Marker(p.x, p.y, kMarkerSize, shape);
}

int32_t CGrafik::DrawingAreaWidth() const {
    if (m_bPrint == 1 && m_rectDruck.Width() > 0) return m_rectDruck.Width();
    // The frame with the 40 mm margin left of it and as much right of it.
    return std::max(kScreenPageWidth, breite - 2 * kOriginX);
}

void CGrafik::DrawFooter(Surface& dc) {
    const std::string footer =
        m_Page.footer.empty() ? "Dokument " + DisplayPath(m_Page.path) : OneLineText(m_Page.footer);
    const int32_t H = hoehe;
    // The drawing area's edges in frame coordinates (the frame's left edge
    // lies 40 mm in).
    const int32_t areaLeft = kOriginX + kFooterMargin;
    const int32_t areaRight = kOriginX + DrawingAreaWidth() - kFooterMargin;
    // It starts at the area's left edge (right-aligned 1 cm into the frame,
    // as it once was, any path of some length ran off the page), below the
    // legends so that it may run the whole width, and is shortened where it
    // would pass the right edge.
    dc.SetTextAlign(TextAlign::LeftTop);
    dc.TextOut(areaLeft, -H - kFooterBelowFrame, FitText(dc, footer, areaRight - areaLeft, true));
}

// --- Zoomed curves and the comparison of cases --------------------------------------

namespace {

constexpr Colour kOverlayPalette[kOverlayColours] = {
    {200, 0, 0},   {0, 0, 220},   {0, 140, 0},    {200, 120, 0},
    {140, 0, 160}, {0, 150, 160}, {110, 110, 110}, {150, 90, 40},
};

// The part of the segment a-b within the rectangle [0, W] x [-H, 0]
// (Liang-Barsky); false when none of it is.
bool ClipSegment(double W, double H, double& x0, double& y0, double& x1, double& y1) {
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, W - x0, y0 + H, -y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx, y1 = y0 + t1 * dy;
    x0 = ax, y0 = ay;
    return true;
}

}  // namespace

Colour OverlayColour(int index) {
    return kOverlayPalette[((index % kOverlayColours) + kOverlayColours) % kOverlayColours];
}

void CGrafik::DrawCurve(Surface& dc, std::span<const LogicalPoint> points) const {
    if (!m_Zoom) {
        dc.Polyline(points);
        return;
    }
    // Cut at the frame: each run of segments within it is a polyline.
    std::vector<LogicalPoint> run;
    auto flush = [&] {
        if (run.size() >= 2) dc.Polyline(run);
        run.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        double x0 = points[i - 1].x, y0 = points[i - 1].y, x1 = points[i].x, y1 = points[i].y;
        if (!ClipSegment(breite, hoehe, x0, y0, x1, y1)) {
            flush();
            continue;
        }
        const LogicalPoint a{TruncateToInt32(std::lround(x0)), TruncateToInt32(std::lround(y0))};
        const LogicalPoint b{TruncateToInt32(std::lround(x1)), TruncateToInt32(std::lround(y1))};
        if (run.empty() || !(run.back() == a)) {
            flush();
            run.push_back(a);
        }
        run.push_back(b);
        // A segment cut at its end leaves the frame there.
        if (!(b == points[i])) flush();
    }
    flush();
}

void CGrafik::DrawPointMarkers(Surface& dc, std::span<const LogicalPoint> points,
                               MarkerShape shape) const {
    if (!m_Zoom) {
        DrawMarkers(dc, points, shape);
        return;
    }
    for (const LogicalPoint& p : points)
        if (p.x >= 0 && p.x <= breite && p.y <= 0 && p.y >= -hoehe)
            dc.Marker(p.x, p.y, kMarkerSize, shape);
}

std::vector<LogicalPoint> CGrafik::ToFrame(const std::vector<float>& xs,
                                           const std::vector<float>& ys, double lo,
                                           double hi) const {
    std::vector<LogicalPoint> points;
    const size_t n = std::min(xs.size(), ys.size());
    points.reserve(n);
    for (size_t i = 0; i < n; ++i)
        points.push_back(
            {TruncateToInt32(breite * ((double(xs[i]) - xmin) / (xmax - xmin))),
             TruncateToInt32(hoehe * ((double(ys[i]) - lo) / (hi - lo)) - hoehe)});
    return points;
}

int32_t CGrafik::DrawOverlays(Surface& dc) {
    const std::vector<OverlayCurve>& overlays = m_Page.overlays;
    if (overlays.empty()) return 0;
    const int32_t W = breite;
    const int32_t H = hoehe;
    // Three cases a line below the frame, where the legends stand.
    constexpr int kPerRow = 3;
    constexpr int32_t kSample = 100;
    const int32_t column = W / kPerRow;
    int32_t lowest = 0;
    dc.SetTextAlign(TextAlign::LeftTop);
    for (size_t i = 0; i < overlays.size(); ++i) {
        const OverlayCurve& o = overlays[i];
        const Colour colour = OverlayColour(static_cast<int>(i));
        const Pen solid{PenStyle::Solid, 3, colour};
        const Pen dashed{PenStyle::Dash, 3, colour};
        dc.SelectPen(solid);
        const std::vector<LogicalPoint> pressure = ToFrame(o.x, o.y1, ymin, ymax);
        DrawCurve(dc, pressure);
        dc.SelectPen(dashed);
        const std::vector<LogicalPoint> gor = ToFrame(o.x, o.y2, y1min, y1max);
        DrawCurve(dc, gor);

        const int32_t x0 = static_cast<int32_t>(i % kPerRow) * column;
        const int32_t y = -H - 130 - static_cast<int32_t>(i / kPerRow) * 40;
        dc.SelectPen(solid);
        dc.MoveTo(x0, y - 20);
        dc.LineTo(x0 + kSample / 2, y - 20);
        dc.SelectPen(dashed);
        dc.MoveTo(x0 + kSample / 2, y - 20);
        dc.LineTo(x0 + kSample, y - 20);
        dc.TextOut(x0 + kSample + 20, y,
                   FitText(dc, OneLineText(o.name), column - kSample - 40, true));
        lowest = std::max(lowest, 130 + static_cast<int32_t>(i / kPerRow) * 40 + 45);
    }
    dc.SetTextAlign(TextAlign::CentreTop);
    return lowest;
}