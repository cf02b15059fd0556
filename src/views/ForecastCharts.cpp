#include "views/ForecastCharts.h"

#include <algorithm>
#include <cmath>

#include "base/CalendarDate.h"
#include "base/Format.h"
#include "views/ChartAxis.h"
#include "views/Surface.h"

namespace {

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 160, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kTeal{0, 140, 140};
constexpr Colour kGrey{150, 150, 150};

const Pen kFramePen{PenStyle::Solid, 4, kBlack};
const Pen kGridPen{PenStyle::Dot, 1, kBlack};
const Font kFontFieldName{80, 600, ""};
const Font kFontTitles{60, 700, ""};
const Font kFontAxes{45, 700, ""};

constexpr int32_t kOriginX = -400;
constexpr int32_t kOriginY = 300;
// Below a frame: its year labels, its legend; then the next frame.
constexpr int32_t kGapUnits = 330;
constexpr int32_t kMarkerUnits = 18;
constexpr int32_t kLegendLine = 45;
constexpr int32_t kLegendGap = 60;  // between a left legend's text and a right one
// Below a legend's last line: down to the top of the next frame's axis titles
// (which stand 80 above its frame) with a little room, or to the footer.
constexpr int32_t kNextTitleRoom = 100;
constexpr int32_t kFooterRoom = 20;
constexpr int32_t kFooterUnits = 300;  // from the last frame to the footer
constexpr double kThousand = 1000.0;
constexpr double kDaysPerYearMean = 365.2425;

// A curve in its colour and style with its legend text.
struct Drawn {
    const TimeCurve* curve;
    Colour colour;
    const char* legend;
    bool right = false;    // on the right axis
    bool markers = false;  // points (the history), not a line
    PenStyle style = PenStyle::Solid;
};

double Low(const std::vector<const TimeCurve*>& curves) {
    double lo = INFINITY;
    for (const TimeCurve* c : curves)
        for (double v : c->values)
            if (std::isfinite(v)) lo = std::min(lo, v);
    return lo;
}

double High(const std::vector<const TimeCurve*>& curves) {
    double hi = -INFINITY;
    for (const TimeCurve* c : curves)
        for (double v : c->values)
            if (std::isfinite(v)) hi = std::max(hi, v);
    return hi;
}

// An axis from 0 (rates, cumulatives) or from the data (pressure) to its top.
ChartAxis ValueAxis(const std::vector<const TimeCurve*>& curves, bool fromZero) {
    double lo = Low(curves), hi = High(curves);
    if (!std::isfinite(lo)) return NiceAxis(0, 1);
    if (fromZero) lo = std::min(0.0, lo);
    if (hi <= lo) hi = lo + (lo == 0 ? 1.0 : std::fabs(lo) * 0.1);
    return NiceAxis(lo, hi);
}

std::string YLabel(double q) {
    if (std::fabs(q) >= 1e6) return Format("%.3g", q);
    return Format("%6g", q);
}

// Whether a legend entry shares its line with the next one: a left entry
// with a right one after it, when its text leaves room (the font selected).
bool SharesLegendLine(Surface& dc, const std::vector<Drawn>& curves, size_t i, int32_t W) {
    const Drawn& d = curves[i];
    return !d.right && i + 1 < curves.size() && curves[i + 1].right &&
           100 + 230 + dc.GetTextExtent(d.legend).cx + kLegendGap <= W / 2 + 100;
}

// The lines a frame's legend takes.
int32_t LegendLines(Surface& dc, const std::vector<Drawn>& curves, int32_t W) {
    dc.SelectFont(kFontAxes);
    int32_t lines = 0;
    for (size_t i = 0; i < curves.size(); ++i)
        if (!curves[i].curve->years.empty() && !SharesLegendLine(dc, curves, i, W)) ++lines;
    return lines;
}

// The room below a frame for its year labels and its legend, down to the
// next frame's axis titles (or the footer): at least kGapUnits.
int32_t GapBelow(int32_t legendLines, int32_t titleRoom) {
    return std::max(kGapUnits, 90 + kLegendLine * legendLines + titleRoom);
}

// One frame of the page: its curves against the years, axes left and right.
void DrawFrame(Surface& dc, const ChartAxis& years, int32_t top, int32_t W, int32_t H,
               const std::vector<Drawn>& curves, const std::string& leftTitle,
               const std::string& rightTitle, bool fromZero) {
    std::vector<const TimeCurve*> left, right;
    for (const Drawn& d : curves) (d.right ? right : left).push_back(d.curve);
    const ChartAxis l = ValueAxis(left, fromZero);
    const ChartAxis r = ValueAxis(right, fromZero);
    dc.SetWindowOrigin(kOriginX, kOriginY + top);

    dc.SelectPen(kFramePen);
    dc.Rectangle(0, 0, W, -H);
    dc.SelectFont(kFontAxes);
    dc.SetTextAlign(TextAlign::LeftTop);
    dc.TextOut(-150, 80, leftTitle);
    if (!right.empty()) {
        dc.SetTextAlign(TextAlign::RightTop);
        dc.TextOut(W + 150, 80, rightTitle);
    }
    // Ticks: years below, values left (and right).
    dc.SetTextAlign(TextAlign::CentreTop);
    for (double q = years.first; q <= years.max + 1e-9 * std::fabs(years.max); q += years.step) {
        if (q < years.min) continue;
        const int32_t c = AxisX(years, q, W);
        dc.MoveTo(c, -H);
        dc.LineTo(c, -H - 20);
        dc.TextOut(c, -H - 30, Format("%4.0f", q));
    }
    for (double q = l.first; q <= l.max + 1e-9 * std::fabs(l.max); q += l.step) {
        const int32_t c = AxisY(l, q, H);
        dc.MoveTo(0, c);
        dc.LineTo(-10, c);
        dc.SetTextAlign(TextAlign::RightTop);
        dc.TextOut(-20, c + 20, YLabel(q));
    }
    if (!right.empty()) {
        for (double q = r.first; q <= r.max + 1e-9 * std::fabs(r.max); q += r.step) {
            const int32_t c = AxisY(r, q, H);
            dc.MoveTo(W, c);
            dc.LineTo(W + 10, c);
            dc.SetTextAlign(TextAlign::LeftTop);
            dc.TextOut(W + 20, c + 20, YLabel(q));
        }
    }

    // The curves, then the legend below the year labels.
    int32_t legendY = -H - 90;
    for (size_t i = 0; i < curves.size(); ++i) {
        const Drawn& d = curves[i];
        const ChartAxis& axis = d.right ? r : l;
        const TimeCurve& c = *d.curve;
        dc.SelectPen(Pen{d.style, d.markers ? 2 : 4, d.colour});
        std::vector<LogicalPoint> points;
        for (size_t i = 0; i < c.years.size() && i < c.values.size(); ++i) {
            if (!std::isfinite(c.values[i])) continue;
            const LogicalPoint p{AxisX(years, c.years[i], W), AxisY(axis, c.values[i], H)};
            if (d.markers) {
                dc.Marker(p.x, p.y, kMarkerUnits, MarkerShape::Circle);
            } else {
                points.push_back(p);
            }
        }
        if (points.size() > 1) dc.Polyline(points);
        if (c.years.empty()) continue;
        dc.SelectFont(kFontAxes);
        dc.SetTextAlign(TextAlign::LeftTop);
        const int32_t x = d.right ? W / 2 + 100 : 100;
        const int32_t y = legendY;
        if (d.markers) {
            dc.Marker(x + 100, y - 20, kMarkerUnits, MarkerShape::Circle);
        } else {
            dc.MoveTo(x, y - 20);
            dc.LineTo(x + 200, y - 20);
        }
        dc.TextOut(x + 230, y, d.legend);
        if (!SharesLegendLine(dc, curves, i, W)) legendY -= kLegendLine;
    }
    dc.SelectPen(kGridPen);
    for (double t = years.first + years.step; t < years.max - 1e-9 * std::fabs(years.max);
         t += years.step) {
        if (t <= years.min) continue;
        const int32_t c = AxisX(years, t, W);
        dc.MoveTo(c, -H);
        dc.LineTo(c, 0);
    }
    for (double q = l.first + l.step; q < l.max - 1e-9 * std::fabs(l.max); q += l.step) {
        if (q <= l.min) continue;
        const int32_t c = AxisY(l, q, H);
        dc.MoveTo(0, c);
        dc.LineTo(W, c);
    }
}

void DrawPageHead(Surface& dc, const std::string& fieldName, const std::string& heading,
                  int32_t W) {
    dc.SetWindowOrigin(kOriginX, kOriginY);
    dc.SelectFont(kFontFieldName);
    dc.SetTextAlign(TextAlign::CentreTop);
    dc.TextOut(W / 2, 220, fieldName);
    dc.SelectFont(kFontTitles);
    dc.TextOut(W / 2, 140, heading);
}

void DrawPageFooter(Surface& dc, const std::string& path, int32_t bottom) {
    dc.SetWindowOrigin(kOriginX, kOriginY);
    dc.SelectFont(kFontAxes);
    dc.SetTextAlign(TextAlign::RightTop);
    dc.TextOut(100, bottom, Format("Dokument %s", path.c_str()));
}

void AddPoint(TimeCurve& c, double year, double value) {
    c.years.push_back(year);
    c.values.push_back(value);
}

}  // namespace

double DecimalYear(int32_t serial, double days) {
    const double whole = std::floor(days);
    const int32_t date = serial + static_cast<int32_t>(whole);
    const int year = morvek::YearOf(date);
    const int32_t first = morvek::SerialOf({year, 1, 1});
    const int32_t next = morvek::SerialOf({year + 1, 1, 1});
    return year + (double(date - first) + (days - whole)) / double(next - first);
}

ForecastChartData ForecastChartDataOf(const std::string& fieldName,
                                      const std::string& documentPath,
                                      const morvek::ForecastResult& r,
                                      const morvek::ProductionHistory* history) {
    ForecastChartData d;
    d.fieldName = fieldName;
    d.documentPath = documentPath;
    const int32_t start = r.startDate;
    d.firstYear = DecimalYear(start);
    // Up to where the forecast ended (the end of the period at the latest).
    d.lastYear = DecimalYear(start, r.steps.empty() ? r.periodDays : r.Last().days);
    for (size_t i = 0; i < r.steps.size(); ++i) {
        const morvek::ForecastStep& s = r.steps[i];
        const double year = DecimalYear(start, s.days);
        AddPoint(d.pressure, year, s.pressureBar);
        AddPoint(d.gor, year, s.gorEndSm3PerM3);
        AddPoint(d.np, year, s.np1000m3);
        AddPoint(d.wp, year, s.wp1000m3);
        AddPoint(d.we, year, s.we1000m3);
        AddPoint(d.gp, year, s.gp1000Sm3 / kThousand);
        if (i == 0) continue;
        const double before = DecimalYear(start, r.steps[i - 1].days);
        for (double y : {before, year}) {
            AddPoint(d.oilRate, y, s.oilRateM3PerDay);
            AddPoint(d.waterRate, y, s.waterRateM3PerDay);
            AddPoint(d.gasRate, y, s.gasRate1000Sm3PerDay);
        }
    }
    // Without water or influx their curves are left out.
    if (r.Last().wp1000m3 == 0 && r.steps.front().wp1000m3 == 0) d.wp = {}, d.waterRate = {};
    if (r.Last().we1000m3 == 0 && r.steps.front().we1000m3 == 0) d.we = {};
    if (history != nullptr && !history->rows.empty()) {
        // Day 0 of the history: its date, or the forecast's start less the
        // history's last day.
        const double lastDays = history->rows.back().days;
        const morvek::HistoryRow* before = nullptr;
        for (const morvek::HistoryRow& row : history->rows) {
            const double days = double(row.days) - lastDays;  // relative to the start
            const double year = DecimalYear(start, 0) + days / kDaysPerYearMean;
            AddPoint(d.historyPressure, year, row.pressureBar);
            AddPoint(d.historyNp, year, row.np1000m3);
            AddPoint(d.historyWp, year, row.wp1000m3);
            AddPoint(d.historyGp, year, row.gpMioSm3);
            if (before != nullptr && row.days > before->days)
                AddPoint(d.historyOilRate, year,
                         (double(row.np1000m3) - before->np1000m3) * kThousand /
                             (double(row.days) - before->days));
            before = &row;
        }
        d.firstYear = std::min(d.firstYear, d.historyPressure.years.front());
    }
    return d;
}

ChartFrame ForecastScreenFrame() {
    return {1300, 450};
}

ChartFrame ForecastPrintFrame(const LogicalRect& page) {
    return page.IsTallerThanWide() ? ChartFrame{1300, 520} : ChartFrame{2200, 280};
}

void DrawForecastPage(Surface& dc, const ForecastChartData& d, ChartFrame frame) {
    const int32_t W = frame.width, H = frame.height;
    const Pen oldPen = dc.SelectPen(kFramePen);
    const Font oldFont = dc.SelectFont(kFontTitles);
    DrawPageHead(dc, d.fieldName, "Prognose über die Zeit", W);
    const ChartAxis years = NiceAxis(d.firstYear, std::max(d.lastYear, d.firstYear + 1.0 / 12));
    const bool history = !d.historyPressure.years.empty();

    std::vector<Drawn> rates = {{&d.oilRate, kRed, "Ölrate (m3/d)"}};
    if (!d.waterRate.years.empty()) rates.push_back({&d.waterRate, kBlue, "Wasserrate (m3/d)"});
    if (history)
        rates.push_back({&d.historyOilRate, kRed, "Ölrate der Produktionshistorie", false, true});
    rates.push_back({&d.gasRate, kGreen, "Gasrate (1000 m3/d, rechts)", true});

    std::vector<Drawn> pressure = {{&d.pressure, kRed, "Druck (bar)"}};
    if (history)
        pressure.push_back({&d.historyPressure, kRed, "Druck der Produktionshistorie", false, true});
    pressure.push_back({&d.gor, kGreen, "Gas-Öl-Verhältnis (m3/m3, rechts)", true});

    std::vector<Drawn> cumulative = {{&d.np, kRed, "Kum. Öl (1000 m3)"}};
    if (!d.wp.years.empty()) cumulative.push_back({&d.wp, kBlue, "Kum. Wasser (1000 m3)"});
    if (!d.we.years.empty())
        cumulative.push_back({&d.we, kTeal, "Wasserzufluß (1000 m3)", false, false, PenStyle::Dash});
    if (history) {
        cumulative.push_back({&d.historyNp, kRed, "Kum. Öl der Produktionshistorie", false, true});
        if (!d.wp.years.empty())
            cumulative.push_back(
                {&d.historyWp, kBlue, "Kum. Wasser der Produktionshistorie", false, true});
        cumulative.push_back({&d.historyGp, kGreen, "Kum. Gas der Historie (rechts)", true, true});
    }
    cumulative.push_back({&d.gp, kGreen, "Kum. Gas (Mio m3, rechts)", true});

    // Legends longer than the room below a frame push what follows down; the
    // frames give up that height, so that the page keeps its size.
    const int32_t gap1 = GapBelow(LegendLines(dc, rates, W), kNextTitleRoom);
    const int32_t gap2 = GapBelow(LegendLines(dc, pressure, W), kNextTitleRoom);
    const int32_t footer = std::max(kFooterUnits, GapBelow(LegendLines(dc, cumulative, W), kFooterRoom));
    const int32_t extra = gap1 + gap2 + footer - 2 * kGapUnits - kFooterUnits;
    const int32_t h = H - (extra + 2) / 3;
    DrawFrame(dc, years, 0, W, h, rates, "Rate (m3/d)", "Gasrate (1000 m3/d)", true);
    DrawFrame(dc, years, h + gap1, W, h, pressure, "Druck (bar)", "GOEV (m3/m3)", false);
    DrawFrame(dc, years, 2 * h + gap1 + gap2, W, h, cumulative, "Kum. Produktion (1000 m3)",
              "Kum. Gas (Mio m3)", true);

    DrawPageFooter(dc, d.documentPath, -3 * h - gap1 - gap2 - footer);
    dc.SetWindowOrigin(kOriginX, kOriginY);
    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
}

void DrawFanPage(Surface& dc, const FanChartData& data, ChartFrame frame) {
    const int32_t W = frame.width, H = frame.height;
    const Pen oldPen = dc.SelectPen(kFramePen);
    const Font oldFont = dc.SelectFont(kFontTitles);
    DrawPageHead(dc, data.fieldName,
                 Format("Fächer der Prognose (P90, P50, P10 aus %llu Stichproben)",
                        static_cast<unsigned long long>(data.fan.samples)),
                 W);
    const morvek::ForecastFan& f = data.fan;
    TimeCurve rate[3], np[3];
    for (size_t k = 0; k < f.days.size(); ++k) {
        const double year = DecimalYear(f.startDate, f.days[k]);
        for (int p = 0; p < 3; ++p) {
            AddPoint(rate[p], year, f.oilRate[p].empty() ? NAN : f.oilRate[p][k]);
            AddPoint(np[p], year, f.np[p].empty() ? NAN : f.np[p][k]);
        }
    }
    const double first = f.days.empty() ? 2000 : DecimalYear(f.startDate, f.days.front());
    const double last = f.days.empty() ? 2001 : DecimalYear(f.startDate, f.days.back());
    const ChartAxis years = NiceAxis(first, std::max(last, first + 1.0 / 12));
    const std::vector<Drawn> rates = {
        {&rate[0], kBlue, "P90 (niedrig)", false, false, PenStyle::Dash},
        {&rate[1], kRed, "P50"},
        {&rate[2], kGrey, "P10 (hoch)", false, false, PenStyle::Dash},
    };
    DrawFrame(dc, years, 0, W, H, rates, "Ölrate (m3/d)", "", true);
    const std::vector<Drawn> cumulative = {
        {&np[0], kBlue, "P90 (niedrig)", false, false, PenStyle::Dash},
        {&np[1], kRed, "P50"},
        {&np[2], kGrey, "P10 (hoch)", false, false, PenStyle::Dash},
    };
    DrawFrame(dc, years, H + kGapUnits, W, H, cumulative, "Kum. Öl (1000 m3)", "", true);
    DrawPageFooter(dc, data.documentPath, -2 * H - kGapUnits - 300);
    dc.SetWindowOrigin(kOriginX, kOriginY);
    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
}
