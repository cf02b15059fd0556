// The graph page: frame, titles, the three axes with their labels, the curves
// and markers with their legends, and the grid drawn last over the curves.
// Positions are in 0.1 mm relative to the frame's top-left corner, which lies
// 40 mm right of and 30 mm below the top-left corner of the drawing area.

#include <algorithm>
#include <span>
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
const Pen kMarkerLegendPen{PenStyle::Dot, 1, kGreen};
const Pen kGridPen{PenStyle::Dot, 1, kBlack};

// Cell heights 8, 6 and 4.5 mm, all in the graph's default face.
const Font kFontFieldName{80, 600, ""};
const Font kFontTitles{60, 700, ""};
const Font kFontAxes{45, 700, ""};

constexpr int32_t kOriginX = -400;  // 40 mm left margin
constexpr int32_t kOriginY = 300;   // 30 mm top margin

// Half-size of a marker's strokes, 0.2 mm.
constexpr int32_t kMarkerArm = 2;

// The page's left edge lies at the window origin; texts keep 2 mm from it.
constexpr int32_t kPageMargin = 20;
// The footer ends here, left of the legends below the frame, whose texts
// reach at most this far left of the frame's middle.
constexpr int32_t kFooterRight = 100;
constexpr int32_t kLegendHalfWidth = 250;
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

// The text as it fits into maxWidth in the current font: whole when it fits,
// else as many of its first characters as fit with "…" behind them (or, with
// keepEnd, "…" and its last characters). head stays in front, whole.
std::string FitText(Surface& dc, const std::string& head, const std::string& text, int32_t maxWidth,
                    bool keepEnd = false) {
    const std::vector<size_t> starts = CharacterStarts(text);
    const size_t chars = starts.size() - 1;
    if (chars <= kMaxShownChars && dc.GetTextExtent(head + text).cx <= maxWidth) return head + text;
    auto shortened = [&](size_t n) {
        return keepEnd ? head + kEllipsis + text.substr(starts[chars - n])
                       : head + text.substr(0, starts[n]) + kEllipsis;
    };
    // The most characters that still fit, found by halving.
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
    dc.TextOut(W / 2, 200, FitText(dc, "", OneLineText(doc.m_Feldname), W));

    dc.SelectFont(kFontTitles);
    dc.TextOut(W / 2, 120, doc.m_Ueberschrift);
    dc.TextOut(-50, 100, doc.m_TitelY1);
    dc.TextOut(W + 60, 100, doc.m_TitelY2);
    dc.TextOut(W / 2, -H - 70, doc.m_TitelX);

    dc.SelectFont(kFontAxes);
    DrawXAxis(dc);
    DrawYAxis(dc);
    DrawY1Axis(dc);

    // Right-aligned as the right axis's labels leave the alignment: the text
    // ends at x = 100 and reaches left of the frame. A footer that would reach
    // past the page's margin starts at the margin instead and may reach up to
    // the legends; a path too long even then loses its front, so that the
    // file's name stays.
    const std::string footer = "Dokument " + DisplayPath(doc.GetPathName());
    const int32_t pageLeft = kOriginX + kPageMargin;
    if (footer.size() <= kMaxShownChars && dc.GetTextExtent(footer).cx <= kFooterRight - pageLeft) {
        dc.TextOut(kFooterRight, -H - 200, footer);
    } else {
        dc.SetTextAlign(TextAlign::LeftTop);
        dc.TextOut(pageLeft, -H - 200,
                   FitText(dc, "Dokument ", DisplayPath(doc.GetPathName()),
                           W / 2 - kLegendHalfWidth - pageLeft, true));
    }
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
        DrawMarkers(dc, FirstPoints(m_Punkte3, doc.m_Max2Werte));
        DrawMarkers(dc, FirstPoints(m_Punkte4, doc.m_Max3Werte));
        dc.SelectPen(kMarkerLegendPen);
    }

    w = dc.GetTextExtent(doc.m_Legende3).cx;
    dc.TextOut(W / 2, -H - 170, doc.m_Legende3);
    // Three dotted lines one unit apart make the marker legend's sample.
    const int32_t sampleLines = doc.m_bPVTAusgabe == 1 ? 1 : 3;
    for (int32_t i = 0; i < sampleLines; ++i) {
        dc.MoveTo(W / 2 + w - 130, -H + i - 190);
        if (doc.m_bRelPermAusgabe == 0) dc.LineTo(W / 2 + w + 70, -H + i - 190);
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

void CGrafik::DrawMarkers(Surface& dc, std::span<const LogicalPoint> points) {
    for (const LogicalPoint& p : points) {
        const int32_t x = p.x;
        const int32_t y = p.y;
        dc.MoveTo(x - kMarkerArm, y - kMarkerArm);
        dc.LineTo(x + kMarkerArm, y + kMarkerArm);
        dc.MoveTo(x - kMarkerArm, y + kMarkerArm);
        dc.LineTo(x + kMarkerArm, y - kMarkerArm);
        dc.MoveTo(x - kMarkerArm, y);
        dc.LineTo(x + kMarkerArm, y);
        dc.MoveTo(x, y - kMarkerArm);
        dc.LineTo(x, y + kMarkerArm);
    }
}
