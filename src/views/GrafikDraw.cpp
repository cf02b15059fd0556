// The graph page: frame, titles, the three axes with their labels, the curves
// and markers with their legends, and the grid drawn last over the curves.
// Positions are in 0.1 mm relative to the frame's top-left corner, which lies
// 40 mm right of and 30 mm below the top-left corner of the drawing area.

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "base/Format.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "views/Grafik.h"
#include "views/Surface.h"
#include "views/Truncate.h"

namespace {

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

constexpr int32_t kOriginX = -400;  // 40 mm left margin
constexpr int32_t kOriginY = 300;   // 30 mm top margin

// A measured point's symbol across, 2.2 mm: clearly visible on paper, and at
// least 6 pixels on a screen (the surface sees to that when scaled down).
constexpr int32_t kMarkerSize = 22;

// The screen page the graph is drawn on (exports too): 210 mm wide.
constexpr int32_t kScreenPageWidth = 2100;
// White kept between the footer and the edges of the drawing area, 5 mm.
constexpr int32_t kFooterMargin = 50;
// The footer's top below the frame's bottom edge: under the lowest legend
// (its top 21 mm below, 4.5 mm high) with 1.5 mm to spare.
constexpr int32_t kFooterBelowFrame = 270;

// No frame shows more characters than this, however narrow: longer texts are
// cut to it before they are measured.
constexpr size_t kMaxShownChars = 2000;
constexpr const char* kEllipsis = "…";

// Where each character of a UTF-8 text begins, and the text's end.
std::vector<size_t> CharacterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

// The text as it fits into maxWidth in the surface's current font: whole when
// it fits, else shortened with "…" at its end (or, with inMiddle, in its
// middle) to the most whole characters that fit.
std::string FitText(Surface& dc, const std::string& text, int32_t maxWidth, bool inMiddle) {
    const std::vector<size_t> starts = CharacterStarts(text);
    const size_t chars = starts.size() - 1;
    if (chars <= kMaxShownChars && dc.GetTextExtent(text).cx <= maxWidth) return text;
    auto shortened = [&](size_t keep) {
        if (!inMiddle) return text.substr(0, starts[keep]) + kEllipsis;
        const size_t head = (keep + 1) / 2;
        const size_t tail = keep - head;
        return text.substr(0, starts[head]) + kEllipsis + text.substr(starts[chars - tail]);
    };
    // The most characters that still fit, found by halving; no frame shows
    // more than kMaxShownChars of them.
    size_t lo = 0, hi = std::min(chars, kMaxShownChars);
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (dc.GetTextExtent(shortened(mid)).cx <= maxWidth) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return shortened(lo);
}

std::span<const LogicalPoint> FirstPoints(const CGrafik::PointList& points, int32_t count) {
    return {points.data(), static_cast<size_t>(std::clamp<int32_t>(count, 0, kSeriesLength))};
}

}  // namespace

void CGrafik::DrawPage(Surface& dc) {
    const CMorvekDoc& doc = m_Doc;
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
    dc.TextOut(W / 2, 200, FitText(dc, OneLineText(doc.m_Feldname), W, false));

    dc.SelectFont(kFontTitles);
    dc.TextOut(W / 2, 120, doc.m_Ueberschrift);
    dc.TextOut(-50, 100, doc.m_TitelY1);
    dc.TextOut(W + 60, 100, doc.m_TitelY2);
    dc.TextOut(W / 2, -H - 70, doc.m_TitelX);

    dc.SelectFont(kFontAxes);
    DrawXAxis(dc);
    DrawYAxis(dc);
    DrawY1Axis(dc);

    DrawFooter(dc);
    dc.SetTextAlign(TextAlign::CentreTop);

    dc.SelectPen(kCurve1Pen);
    int32_t w = dc.GetTextExtent(doc.m_Legende1).cx;
    dc.TextOut(W / 2, -H - 130, doc.m_Legende1);
    dc.MoveTo(W / 2 + w - 200, -H - 150);
    dc.LineTo(W / 2 + w, -H - 150);
    dc.Polyline(FirstPoints(m_Punkte1, doc.m_MaxWerte));

    dc.SelectPen(kCurve2Pen);
    dc.Polyline(FirstPoints(m_Punkte2, doc.m_MaxWerte));
    w = dc.GetTextExtent(doc.m_Legende2).cx;
    // The relative-permeability table has no legend 3 line: legend 2 moves up
    // 4 mm into its place.
    const int32_t k = doc.m_bRelPermAusgabe == 1 ? 40 : 0;
    dc.TextOut(W / 2, -H + k - 210, doc.m_Legende2);
    dc.MoveTo(W / 2 + w - 180, -H + k - 230);
    dc.LineTo(W / 2 + w + 20, -H + k - 230);

    if (doc.m_bPVTAusgabe == 1) {
        dc.SelectPen(kSeries3LinePen);
        dc.Polyline(FirstPoints(m_Punkte3, doc.m_Max2Werte));
    } else {
        dc.SelectPen(kMarkerPen);
        // Measured pressures as circles, measured gas-oil ratios as squares.
        DrawMarkers(dc, FirstPoints(m_Punkte3, doc.m_Max2Werte), MarkerShape::Circle);
        DrawMarkers(dc, FirstPoints(m_Punkte4, doc.m_Max3Werte), MarkerShape::Square);
    }

    w = dc.GetTextExtent(doc.m_Legende3).cx;
    dc.TextOut(W / 2, -H - 170, doc.m_Legende3);
    if (doc.m_bPVTAusgabe == 1) {
        // The third curve's line is the legend's sample.
        dc.MoveTo(W / 2 + w - 130, -H - 190);
        dc.LineTo(W / 2 + w + 70, -H - 190);
    } else if (doc.m_bRelPermAusgabe == 0) {
        // The two measured symbols, pressure and gas-oil ratio, are the
        // legend's sample.
        dc.Marker(W / 2 + w - 70, -H - 190, kMarkerSize, MarkerShape::Circle);
        dc.Marker(W / 2 + w + 10, -H - 190, kMarkerSize, MarkerShape::Square);
    }

    dc.SelectPen(kGridPen);
    DrawGrid(dc);

    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
}

void CGrafik::DrawXAxis(Surface& dc) {
    const int32_t W = breite;
    const int32_t H = hoehe;
    for (double q = xmin; q <= xmax; q += deltax) {
        const int32_t c = TruncateToInt32(W * (q - xmin) / (xmax - xmin));
        dc.MoveTo(c, -H);
        if (q >= xmin) dc.LineTo(c, -H - 20);
        dc.SetTextAlign(TextAlign::CentreTop);
        std::string label;
        if (xmax > 1000 || xmin < -500) {
            label = Format("%4.0f", q);
        } else if (xmax > 1 || xmin < -1) {
            label = Format("%5g", q);
        } else {
            label = Format("%5.3f", q);
        }
        if (q >= xmin) dc.TextOut(c, -H - 30, label);
    }
}

void CGrafik::DrawYAxis(Surface& dc) {
    const int32_t H = hoehe;
    // The factor lets the top tick through despite the sums of steps; with a
    // negative maximum it shrinks the limit instead and the top tick is lost.
    for (double q = ystart; q <= 1.001 * ymax; q += deltay) {
        const int32_t c = TruncateToInt32(H * (q - ymin) / (ymax - ymin));
        dc.MoveTo(0, c - H);
        if (q >= ymin) dc.LineTo(-10, c - H);
        dc.SetTextAlign(TextAlign::CentreTop);
        const std::string label =
            ymax > 1000000 || ymin < -100000 ? Format("%6.2e", q) : Format("%6g", q);
        if (q >= ymin) dc.TextOut(-130, c - H + 20, label);
    }
}

void CGrafik::DrawY1Axis(Surface& dc) {
    const int32_t W = breite;
    const int32_t H = hoehe;
    for (double q = y1start; q <= 1.0001 * y1max; q += deltay1) {
        const int32_t c = TruncateToInt32(H * (q - y1min) / (y1max - y1min));
        dc.MoveTo(W, c - H);
        if (q >= y1min) dc.LineTo(W + 10, c - H);
        dc.SetTextAlign(TextAlign::RightTop);
        const std::string label =
            y1max > 1000000 || y1min < -100000 ? Format("%6.1e", q) : Format("%6.1f", q);
        if (q >= y1min) dc.TextOut(W + 150, c - H + 20, label);
    }
}

void CGrafik::DrawGrid(Surface& dc) {
    const int32_t W = breite;
    const int32_t H = hoehe;
    for (double t = ystart + deltay; t < ymax; t += deltay) {
        const int32_t c = TruncateToInt32(H * (t - ymin) / (ymax - ymin));
        dc.MoveTo(0, c - H);
        dc.LineTo(W, c - H);
    }
    for (double t = xmin + deltax; t < xmax; t += deltax) {
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
    const std::string footer = "Dokument " + DisplayPath(m_Doc.GetPathName());
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
