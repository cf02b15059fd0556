#include "match/DiagnosticGraphs.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "base/Format.h"

namespace morvek {
namespace {

// Curves of the drive-index graph: at most this many points; markers of the
// sum: about this many, so that they stay apart.
constexpr int kDriveCurvePoints = 200;
constexpr int kSumMarkers = 20;

void AddMarker(GraphSeries& g, double x, double y) {
    if (g.measuredPoints >= kSeriesLength) return;
    g.measuredX[g.measuredPoints] = static_cast<float>(x);
    g.measuredY[g.measuredPoints] = static_cast<float>(y);
    ++g.measuredPoints;
}

// Two straight lines over [x0, x1]: y1 = a1 + b1 x, y2 = a2 + b2 x.
void TwoLines(GraphSeries& g, double x0, double x1, double a1, double b1, double a2, double b2) {
    const double xs[2] = {x0, x1};
    for (int i = 0; i < 2; ++i) {
        g.x[i] = static_cast<float>(xs[i]);
        g.y1[i] = static_cast<float>(a1 + b1 * xs[i]);
        g.y2[i] = static_cast<float>(a2 + b2 * xs[i]);
    }
    g.curvePoints = 2;
}

// Markers of rows, in order: every one while they fit the series, else
// kSeriesLength spread evenly over them, the first and the last among them.
void AddRowMarkers(GraphSeries& g, const std::vector<std::pair<double, double>>& xy) {
    const size_t n = xy.size();
    const size_t drawn = std::min(n, static_cast<size_t>(kSeriesLength));
    for (size_t k = 0; k < drawn; ++k) {
        const size_t i = drawn == n ? k : k * (n - 1) / (drawn - 1);
        AddMarker(g, xy[i].first, xy[i].second);
    }
}

// The legend of the rows: how many there are (and how many of them are drawn
// when they are more than the series hold), and how many lie below the PVT
// table and are left out.
std::string RowsLabel(const char* quantity, int rows, int drawn, int belowTable) {
    std::string label = Format("Meßwerte %s: %d Zeilen mit GOEV", quantity, rows);
    if (drawn < rows) label += Format(" (%d gezeichnet)", drawn);
    if (belowTable > 0) label += Format(", %d unter der PVT-Tabelle ausgelassen", belowTable);
    return label;
}

}  // namespace

std::string DiagnosticTitle(const std::string& fieldName, const char* graphTitle) {
    return fieldName.empty() ? std::string(graphTitle) : fieldName + ": " + graphTitle;
}

GraphSeries HavlenaOdehGraph(const HavlenaOdehResult& h) {
    GraphSeries g;
    g.sharedYScale = true;
    double etMax = 0;
    std::vector<std::pair<double, double>> markers;
    for (const HavlenaOdehPoint& p : h.points) {
        markers.emplace_back(p.et, p.f1000m3);
        etMax = std::max(etMax, p.et);
    }
    AddRowMarkers(g, markers);
    const double n = h.caseOoip1000m3;
    const double fitted = h.hasSlope ? h.slopeOoip1000m3 : n;
    TwoLines(g, 0.0, etMax, 0.0, fitted, 0.0, n);
    g.labels = {"Gesamtexpansion Et (m3/m3)",
                "F (1000 m3)",
                "F (1000 m3)",
                "Gp per Trapezregel ab (0, Rsi)",
                h.hasSlope ? Format("Ausgleich durch 0: N = %.0f Tsd. m3", h.slopeOoip1000m3)
                           : std::string("Ausgleich: keine Meßwerte unter pi"),
                Format("N des Falls = %.0f Tsd. m3", n),
                RowsLabel("F(Et)", static_cast<int>(h.points.size()), g.measuredPoints,
                          h.rowsBelowTable)};
    return g;
}

GraphSeries GasCapHavlenaOdehGraph(const HavlenaOdehResult& h) {
    GraphSeries g;
    g.sharedYScale = true;
    double xMin = 0, xMax = 0;
    bool compressible = false;  // Efo joins Eo and the cap's gas
    std::vector<std::pair<double, double>> markers;
    for (const HavlenaOdehPoint& p : h.points) {
        compressible = compressible || p.efw != 0;
        const GasCapPlotPoint plotted = GasCapPlot(p, h);
        if (!plotted.valid) continue;
        const double x = plotted.x;
        markers.emplace_back(x, plotted.y);
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
    }
    AddRowMarkers(g, markers);
    const double n = h.caseOoip1000m3, gc = h.caseGasCap1000Sm3;
    const double a = h.hasGasCapFit ? h.interceptOoip1000m3 : n;
    const double b = h.hasGasCapFit ? h.slopeGasCap1000Sm3 : gc;
    TwoLines(g, xMin, xMax, a, b, n, gc);
    const char* const ordinate = compressible ? "F/(Eo+Efo)" : "F/Eo";
    const std::string ordinateAxis = std::string(ordinate) + " (1000 m3)";
    g.labels = {compressible ? "(Bg-Bgi+Bgi*Efo/Boi)/(Eo+Efo) (m3/sm3)" : "(Bg-Bgi)/Eo (m3/sm3)",
                ordinateAxis,
                ordinateAxis,
                // The regression through the origin beside the plot's own N.
                "Gp per Trapezregel ab (0, Rsi); " + OriginFitText(h),
                h.hasGasCapFit ? Format("Ausgleich: N = %.0f Tsd. m3, G = %.4g Mio sm3, m = %.3g",
                                        a, b / 1000.0, h.impliedGasCapRatio)
                               : std::string("Ausgleich: zu wenige Meßwerte unter pi"),
                Format("Fall: N = %.0f Tsd. m3, G = %.4g Mio sm3, m = %.3g", n, gc / 1000.0,
                       h.caseGasCapRatio),
                RowsLabel(ordinate, static_cast<int>(markers.size()), g.measuredPoints,
                          h.rowsBelowTable)};
    return g;
}

GraphSeries DriveIndexGraph(const std::vector<DriveIndexStep>& steps) {
    GraphSeries g;
    g.sharedYScale = true;
    std::vector<const DriveIndexStep*> with;
    double worst = 0;
    for (const DriveIndexStep& s : steps) {
        if (!s.hasIndices) continue;
        with.push_back(&s);
        worst = std::max(worst, std::fabs(s.sum - 1.0));
    }
    const size_t count = with.size();
    const size_t every = std::max<size_t>(1, (count + kDriveCurvePoints - 1) / kDriveCurvePoints);
    // The markers of the sum stand evenly along Np, not along the steps, of
    // which the first hundred (above the bubble point) produce little oil.
    const double npSpacing = count > 0 ? with.back()->np1000m3 / kSumMarkers : 0.0;
    double nextMarker = 0;
    int d = 0;
    for (size_t i = 0; i < count; ++i) {
        const DriveIndexStep& s = *with[i];
        // Every every-th step and the last one, so that the curves reach the end.
        if ((i % every == 0 || i + 1 == count) && d < kSeriesLength) {
            g.x[d] = static_cast<float>(s.np1000m3);
            g.y1[d] = static_cast<float>(s.depletion);
            g.y2[d] = static_cast<float>(s.gasCap);
            g.curvePoints = ++d;
        }
        if (s.np1000m3 >= nextMarker || i + 1 == count) {
            AddMarker(g, s.np1000m3, s.sum);
            nextMarker = s.np1000m3 + npSpacing;
        }
    }
    g.labels = {"Kum.Reinölförderung in 1000 m3",
                "Antriebsindex (-)",
                "Antriebsindex (-)",
                "Anteile an der Entnahme F",
                "Lösungsgastrieb DDI = N*Eo/F",
                "Gaskappentrieb GDI = N*m*Eg/F",
                Format("Summe DDI+GDI%s, Abweichung bis %.1e",
                       HasCompactionDrive(steps) ? "+CDI" : "", worst)};
    return g;
}

}  // namespace morvek
