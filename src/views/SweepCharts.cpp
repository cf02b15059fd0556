#include "views/SweepCharts.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Format.h"
#include "base/NumberText.h"
#include "sweep/SweepText.h"
#include "views/ChartAxis.h"
#include "base/PrintableText.h"
#include "views/FitText.h"
#include "views/Grafik.h"
#include "views/Surface.h"
#include "views/Truncate.h"

namespace {

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 160, 0};
constexpr Colour kBlue{0, 0, 255};

// The graph page's pens and fonts.
const Pen kFramePen{PenStyle::Solid, 4, kBlack};
const Pen kCurvePen{PenStyle::Solid, 3, kRed};
const Pen kMarkerPen{PenStyle::Solid, 5, kGreen};
const Pen kMarkLinePen{PenStyle::Dot, 2, kGreen};
const Pen kGridPen{PenStyle::Dot, 1, kBlack};
const Pen kBaseLinePen{PenStyle::Dash, 4, kBlack};
const Font kFontFieldName{80, 600, ""};
const Font kFontTitles{60, 700, ""};
const Font kFontAxes{45, 700, ""};
const Font kFontValues{38, 400, ""};

constexpr int32_t kOriginX = -400;
constexpr int32_t kOriginY = 300;
// The screen page, and the footer's top below the frame: under the lowest
// legend line (the tornado's base line 23 mm below).
constexpr int32_t kScreenPageWidth = 2100;
constexpr int32_t kFooterBelowFrame = 270;
constexpr int32_t kMarkerArm = 8;

// Bars are filled with pen strokes this far apart (0.1 mm), as wide as two.
constexpr int32_t kFillStep = 1;
constexpr int32_t kFillPenWidth = 2;

// A tornado bar pair needs this much height (0.1 mm): its caption and two bars.
constexpr int32_t kTornadoRowUnits = 170;
constexpr int32_t kMaxBarUnits = 60;
constexpr int32_t kMaxCaptionUnits = 75;

using Axis = ChartAxis;

int32_t ToX(const Axis& a, double v, int32_t width) {
    return AxisX(a, v, width);
}
int32_t ToY(const Axis& a, double v, int32_t height) {
    return AxisY(a, v, height);
}

// The graph page's x tick labels.
std::string XLabel(const Axis& a, double q) {
    if (a.max > 1000 || a.min < -500) return Format("%4.0f", q);
    if (a.max > 1 || a.min < -1) return Format("%5g", q);
    return Format("%5.3f", q);
}

void DrawXTicks(Surface& dc, const Axis& a, int32_t W, int32_t H) {
    dc.SetTextAlign(TextAlign::CentreTop);
    for (double q = a.first; q <= a.max + 1e-9 * std::fabs(a.max); q += a.step) {
        if (q < a.min) continue;
        const int32_t c = ToX(a, q, W);
        dc.MoveTo(c, -H);
        dc.LineTo(c, -H - 20);
        dc.TextOut(c, -H - 30, XLabel(a, q));
    }
}

void DrawVerticalGrid(Surface& dc, const Axis& a, int32_t W, int32_t H) {
    for (double t = a.first + a.step; t < a.max - 1e-9 * std::fabs(a.max); t += a.step) {
        if (t <= a.min) continue;
        const int32_t c = ToX(a, t, W);
        dc.MoveTo(c, -H);
        dc.LineTo(c, 0);
    }
}

// A filled bar: strokes one unit apart with a pen two units wide.
void FillBar(Surface& dc, int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) {
    if (right < left) std::swap(left, right);
    if (top < bottom) std::swap(top, bottom);
    dc.SelectPen(Pen{PenStyle::Solid, kFillPenWidth, colour});
    for (int32_t y = bottom + kFillPenWidth / 2; y <= top - kFillPenWidth / 2; y += kFillStep) {
        dc.MoveTo(left + kFillPenWidth / 2, y);
        dc.LineTo(std::max(left + kFillPenWidth / 2, right - kFillPenWidth / 2), y);
    }
    dc.SelectPen(Pen{PenStyle::Solid, 2, kBlack});
    dc.MoveTo(left, top);
    dc.LineTo(right, top);
    dc.LineTo(right, bottom);
    dc.LineTo(left, bottom);
    dc.LineTo(left, top);
}

// Field name, heading and axis titles, in the graph page's places and fonts.
void DrawHead(Surface& dc, const std::string& fieldName, const std::string& heading,
              const std::string& titleY, const std::string& titleX, int32_t W, int32_t H) {
    dc.SelectFont(kFontFieldName);
    dc.SetTextAlign(TextAlign::CentreTop);
    dc.TextOut(W / 2, 200, fieldName);
    dc.SelectFont(kFontTitles);
    dc.TextOut(W / 2, 120, heading);
    dc.TextOut(-50, 100, titleY);
    dc.TextOut(W / 2, -H - 70, titleX);
}

// The footer below the legends, from the drawing area's left edge, a path
// too long for the area shortened in its middle (as the graph page's).
void DrawFooter(Surface& dc, const std::string& path, const ChartFrame& frame) {
    const int32_t area =
        frame.areaWidth > 0 ? frame.areaWidth
                            : std::max<int32_t>(kScreenPageWidth, frame.width - 2 * kOriginX);
    const int32_t left = kOriginX + kPageTextMargin;
    dc.SetTextAlign(TextAlign::LeftTop);
    dc.TextOut(left, -frame.height - kFooterBelowFrame,
               FitText(dc, "Dokument " + DisplayPath(path), area - 2 * kPageTextMargin, true));
    dc.SetTextAlign(TextAlign::CentreTop);
}

// A legend line under the frame as the graph page writes it: the text
// centred, its sample to the right.
void LegendText(Surface& dc, int32_t W, int32_t y, const std::string& text, int32_t& right) {
    dc.SetTextAlign(TextAlign::CentreTop);
    const int32_t w = dc.GetTextExtent(text).cx;
    dc.TextOut(W / 2, y, text);
    right = W / 2 + w;
}

std::string Percent(double value) {
    return Format("%.2f %%", value);
}

void DrawCross(Surface& dc, int32_t x, int32_t y) {
    dc.MoveTo(x - kMarkerArm, y - kMarkerArm);
    dc.LineTo(x + kMarkerArm, y + kMarkerArm);
    dc.MoveTo(x - kMarkerArm, y + kMarkerArm);
    dc.LineTo(x + kMarkerArm, y - kMarkerArm);
}

}  // namespace

SweepChartData SweepChartDataOf(const std::string& fieldName, const std::string& documentPath,
                                morvek::TornadoResult tornado, const morvek::SweepResult& result) {
    SweepChartData data;
    data.fieldName = fieldName;
    data.documentPath = documentPath;
    data.tornado = std::move(tornado);
    data.rfCurve = result.rfCurve;
    data.rf = result.Of(morvek::Outcome::RfEnd);
    data.failed = result.failedCount;
    return data;
}

ChartFrame ScreenFrame(size_t tornadoBars) {
    ChartFrame f;
    f.height = std::max<int32_t>(f.height, static_cast<int32_t>(tornadoBars) * kTornadoRowUnits);
    return f;
}

ChartFrame PrintFrame(const LogicalRect& page, size_t tornadoBars) {
    ChartFrame f = page.IsTallerThanWide() ? ChartFrame{1300, 2100} : ChartFrame{2200, 1300};
    f.areaWidth = page.Width();
    f.height = std::max<int32_t>(f.height, static_cast<int32_t>(tornadoBars) * kTornadoRowUnits);
    return f;
}

void DrawTornadoPage(Surface& dc, const SweepChartData& data, ChartFrame frame) {
    const morvek::TornadoResult& t = data.tornado;
    const int32_t W = frame.width, H = frame.height;
    const Pen oldPen = dc.SelectPen(kFramePen);
    dc.SetWindowOrigin(kOriginX, kOriginY);
    dc.Rectangle(0, 0, W, -H);
    const Font oldFont = dc.SelectFont(kFontTitles);
    // The inputs name their bars inside the frame: no title of a y axis.
    const std::string axis =
        t.abandonmentPressureBar > 0.0f
            ? "Entölungsgrad bei " + ShortestText(t.abandonmentPressureBar) + " bar (%)"
            : std::string("Entölungsgrad am Ende (%)");
    DrawHead(dc, data.fieldName, "Tornado des Entölungsgrads", "", axis, W, H);

    double lo = t.baseRf, hi = t.baseRf;
    for (const morvek::TornadoBar& bar : t.bars)
        for (double v : {bar.rfLow, bar.rfHigh}) {
            if (std::isnan(v)) continue;
            if (std::isnan(lo) || v < lo) lo = v;
            if (std::isnan(hi) || v > hi) hi = v;
        }
    // Room beside the bars for the inputs' values.
    const double room = std::max(hi - lo, std::fabs(hi) * 0.01) * 0.2;
    const Axis a = NiceAxis(lo - room, hi + room);

    dc.SelectFont(kFontAxes);
    dc.SelectPen(kFramePen);
    if (!std::isnan(lo)) DrawXTicks(dc, a, W, H);
    // The grid first: the captions and the bars stand over it, whole.
    dc.SelectPen(kGridPen);
    if (!std::isnan(lo)) DrawVerticalGrid(dc, a, W, H);

    const size_t n = t.bars.size();
    const int32_t row = n > 0 ? H / static_cast<int32_t>(n) : H;
    const int32_t base = std::isnan(t.baseRf) ? 0 : ToX(a, t.baseRf, W);
    for (size_t i = 0; i < n; ++i) {
        const morvek::TornadoBar& bar = t.bars[i];
        const int32_t top = -static_cast<int32_t>(i) * row;
        dc.SelectFont(kFontAxes);
        dc.SetTextAlign(TextAlign::LeftTop);
        // A caption wider than the frame is shortened to it.
        dc.TextOut(15, top - 8, FitText(dc, bar.variation.field->Caption(), W - 30, false));
        // The caption takes the upper 35 %, each bar a quarter of the row; on
        // a tall printed frame the bars keep to 6 mm below the caption.
        const int32_t barHeight = std::min(row / 4, kMaxBarUnits);
        const int32_t lowTop = top - std::min(row * 35 / 100, kMaxCaptionUnits);
        dc.SelectFont(kFontValues);
        for (int side = 0; side < 2; ++side) {
            const double rf = side == 0 ? bar.rfLow : bar.rfHigh;
            const float input = side == 0 ? bar.variation.low : bar.variation.high;
            const int32_t y0 = lowTop - side * barHeight;
            const int32_t textY = y0 - (barHeight - 38) / 2;
            if (std::isnan(rf) || std::isnan(t.baseRf)) {
                dc.SetTextAlign(TextAlign::LeftTop);
                dc.TextOut(base + 15, textY, ShortestText(input) + ": ohne Ergebnis");
                continue;
            }
            const int32_t end = ToX(a, rf, W);
            FillBar(dc, base, y0, end, y0 - barHeight + 4, side == 0 ? kBlue : kRed);
            const bool right = end >= base;
            dc.SetTextAlign(right ? TextAlign::LeftTop : TextAlign::RightTop);
            dc.TextOut(end + (right ? 12 : -12), textY, ShortestText(input));
        }
        // The base case's line runs along the bars, not through the caption.
        if (!std::isnan(t.baseRf)) {
            dc.SelectPen(kBaseLinePen);
            dc.MoveTo(base, lowTop + 15);
            dc.LineTo(base, lowTop - 2 * barHeight - 15);
        }
    }

    dc.SelectFont(kFontAxes);
    DrawFooter(dc, data.documentPath, frame);
    int32_t right = 0;
    LegendText(dc, W, -H - 130, "Eingabe am unteren Wert", right);
    FillBar(dc, right - 200, -H - 135, right, -H - 165, kBlue);
    LegendText(dc, W, -H - 170, "Eingabe am oberen Wert", right);
    FillBar(dc, right - 200, -H - 175, right, -H - 205, kRed);
    const std::string baseText = std::isnan(t.baseRf)
                                     ? "Basisfall ohne Ergebnis"
                                     : "Basisfall: Entölungsgrad " + Percent(t.baseRf);
    LegendText(dc, W, -H - 210, baseText, right);
    dc.SelectPen(kBaseLinePen);
    dc.MoveTo(right - 200, -H - 230);
    dc.LineTo(right, -H - 230);

    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
}

void DrawDistributionPage(Surface& dc, const SweepChartData& data, ChartFrame frame) {
    const int32_t W = frame.width, H = frame.height;
    const Pen oldPen = dc.SelectPen(kFramePen);
    dc.SetWindowOrigin(kOriginX, kOriginY);
    dc.Rectangle(0, 0, W, -H);
    const Font oldFont = dc.SelectFont(kFontTitles);
    DrawHead(dc, data.fieldName, "S-Kurve des Entölungsgrads", "Summenhäufigkeit (%)",
             "Entölungsgrad am Ende (%)", W, H);

    const std::vector<morvek::CurvePoint>& curve = data.rfCurve;
    const bool any = !curve.empty();
    const Axis x = any ? NiceAxis(curve.front().value, curve.back().value) : Axis{};
    const Axis y{0, 100, 10, 0};

    dc.SelectFont(kFontAxes);
    dc.SelectPen(kFramePen);
    if (any) DrawXTicks(dc, x, W, H);
    dc.SetTextAlign(TextAlign::CentreTop);
    for (double q = y.first; q <= y.max + 1e-9; q += y.step) {
        const int32_t c = ToY(y, q, H);
        dc.MoveTo(0, c);
        dc.LineTo(-10, c);
        dc.TextOut(-130, c + 20, Format("%6g", q));
    }
    DrawFooter(dc, data.documentPath, frame);

    struct Mark {
        const char* name;
        double value;
        double share;  // percent of the samples at or below it, nominally
    };
    const Mark marks[] = {
        {"P90", data.rf.p90, 10}, {"P50", data.rf.p50, 50}, {"P10", data.rf.p10, 90}};

    // The figures in a box in the upper left, which a rising curve leaves
    // empty; the grid keeps out of it.
    std::vector<std::string> box;
    for (const Mark& m : marks) box.push_back(Format("%s = %s", m.name, Percent(m.value).c_str()));
    box.push_back("Mittelwert = " + Percent(data.rf.mean));
    box.push_back(Format("%llu Stichproben", static_cast<unsigned long long>(data.rf.count)));
    if (data.failed > 0)
        box.push_back(Format("%llu ohne Ergebnis", static_cast<unsigned long long>(data.failed)));
    constexpr int32_t kLine = 50, kPad = 15;
    int32_t boxWidth = 0;
    for (const std::string& text : box) boxWidth = std::max(boxWidth, dc.GetTextExtent(text).cx);
    const int32_t boxRight = 2 * kPad + boxWidth;
    const int32_t boxBottom = -(2 * kPad + kLine * static_cast<int32_t>(box.size()));
    if (any) {
        dc.SelectPen(Pen{PenStyle::Solid, 2, kBlack});
        dc.Rectangle(0, 0, boxRight, boxBottom);
        dc.SetTextAlign(TextAlign::LeftTop);
        int32_t ty = -kPad;
        for (const std::string& text : box) {
            dc.TextOut(kPad, ty, text);
            ty -= kLine;
        }
    }

    if (!any) {
        dc.SetTextAlign(TextAlign::CentreTop);
        dc.TextOut(W / 2, -H / 2 + 60, "Keine Stichprobe mit Ergebnis");
    }
    int32_t right = 0;
    dc.SelectPen(kCurvePen);
    LegendText(dc, W, -H - 130, "Summenhäufigkeit der Stichproben", right);
    dc.MoveTo(right - 200, -H - 150);
    dc.LineTo(right, -H - 150);
    if (any) {
        std::vector<LogicalPoint> points;
        points.reserve(curve.size());
        for (const morvek::CurvePoint& p : curve)
            points.push_back({ToX(x, p.value, W), ToY(y, p.cumulativePercent, H)});
        dc.Polyline(points);
        for (const Mark& m : marks) {
            if (std::isnan(m.value)) continue;
            const int32_t px = ToX(x, m.value, W), py = ToY(y, m.share, H);
            dc.SelectPen(kMarkLinePen);
            dc.MoveTo(px, py);
            dc.LineTo(px, -H);
            dc.MoveTo(std::min(px, py > boxBottom ? boxRight : 0), py);
            dc.LineTo(px, py);
            dc.SelectPen(kMarkerPen);
            DrawCross(dc, px, py);
            dc.SetTextAlign(TextAlign::LeftTop);
            dc.TextOut(px + 20, py - 8, m.name);
        }
    }
    dc.SelectPen(kMarkerPen);
    LegendText(dc, W, -H - 170, "P90, P50, P10", right);
    DrawCross(dc, right - 100, -H - 192);

    dc.SelectPen(kGridPen);
    for (double q = y.first + y.step; q < y.max - 1e-9; q += y.step) {
        const int32_t c = ToY(y, q, H);
        dc.MoveTo(any && c > boxBottom ? boxRight : 0, c);
        dc.LineTo(W, c);
    }
    if (any) {
        for (double t = x.first + x.step; t < x.max - 1e-9 * std::fabs(x.max); t += x.step) {
            if (t <= x.min) continue;
            const int32_t c = ToX(x, t, W);
            dc.MoveTo(c, -H);
            dc.LineTo(c, c < boxRight ? boxBottom : 0);
        }
    }
    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
}
