#include "waterdrive/WaterDriveGraphs.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Format.h"

namespace morvek {
namespace {

void AddMarker(GraphSeries& g, double x, double y) {
    if (g.measuredPoints >= kSeriesLength) return;
    g.measuredX[g.measuredPoints] = static_cast<float>(x);
    g.measuredY[g.measuredPoints] = static_cast<float>(y);
    ++g.measuredPoints;
}

void AddSquare(GraphSeries& g, double x, double y) {
    if (g.measuredGorPoints >= kSeriesLength) return;
    g.measuredGorX[g.measuredGorPoints] = static_cast<float>(x);
    g.measuredGorY[g.measuredGorPoints] = static_cast<float>(y);
    ++g.measuredGorPoints;
}

// Least squares y = a + b x; false with fewer than two distinct x.
bool Line(const std::vector<double>& x, const std::vector<double>& y, double& a, double& b) {
    const double n = static_cast<double>(x.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    const double det = n * sxx - sx * sx;
    if (x.size() < 2 || !(det > 1e-12 * n * sxx)) return false;
    b = (n * sxy - sx * sy) / det;
    a = (sy - b * sx) / n;
    return true;
}

void TwoLines(GraphSeries& g, double x0, double x1, double a1, double b1, double a2, double b2) {
    const double xs[2] = {x0, x1};
    for (int i = 0; i < 2; ++i) {
        g.x[i] = static_cast<float>(xs[i]);
        g.y1[i] = static_cast<float>(a1 + b1 * xs[i]);
        g.y2[i] = static_cast<float>(a2 + b2 * xs[i]);
    }
    g.curvePoints = 2;
}

std::string RowsLabel(const char* quantity, int drawn, const HistoryBalance& b) {
    std::string label = Format("Historie %s: %d Zeilen", quantity, drawn);
    if (b.rowsBelowTable > 0)
        label += Format(", %d unter der PVT-Tabelle ausgelassen", b.rowsBelowTable);
    return label;
}

// The rows' F/Et against x(row) as the graph's markers, and the least-squares
// line through them (fitted false with fewer than two rows).
struct FOverEtPoints {
    std::vector<double> xs;
    double a = 0, slope = 0;
    bool fitted = false;
};

template <class X>
FOverEtPoints FOverEtAgainst(GraphSeries& g, const HistoryBalance& b, X x) {
    FOverEtPoints p;
    std::vector<double> ys;
    for (const HistoryBalanceRow& r : b.rows) {
        if (!(r.et > 0)) continue;
        p.xs.push_back(x(r));
        ys.push_back(r.f1000m3 / r.et);
        AddMarker(g, p.xs.back(), ys.back());
    }
    p.fitted = Line(p.xs, ys, p.a, p.slope);
    return p;
}

}  // namespace

GraphSeries HavlenaOdehInfluxGraph(const HistoryBalance& b) {
    GraphSeries g;
    g.sharedYScale = true;
    const auto [xs, a, slope, fitted] =
        FOverEtAgainst(g, b, [](const HistoryBalanceRow& r) { return r.we1000m3 / r.et; });
    const double xMax = xs.empty() ? 1.0 : std::max(*std::max_element(xs.begin(), xs.end()), 0.0);
    const double n = b.ooip1000m3;
    TwoLines(g, 0.0, xMax, n, 1.0, fitted ? a : n, fitted ? slope : 1.0);
    g.labels = {"We/Et (1000 m3)",
                "F/Et (1000 m3)",
                "F/Et (1000 m3)",
                "Steigung 1 durch N: Aquifer paßt",
                Format("Steigung 1, N des Falls = %.0f Tsd. m3", n),
                fitted ? Format("Ausgleich: N = %.0f Tsd. m3, Steigung %.3f", a, slope)
                       : std::string("Ausgleich: zu wenige Zeilen"),
                RowsLabel("F/Et", g.measuredPoints, b)};
    return g;
}

GraphSeries CampbellGraph(const HistoryBalance& b) {
    GraphSeries g;
    g.sharedYScale = true;
    // F/Et against F: without influx flat at N, rising with it.
    const auto [xs, a, slope, fitted] =
        FOverEtAgainst(g, b, [](const HistoryBalanceRow& r) { return r.f1000m3; });
    const double xMax = xs.empty() ? 1.0 : *std::max_element(xs.begin(), xs.end());
    const double n = b.ooip1000m3;
    TwoLines(g, 0.0, xMax, n, 0.0, fitted ? a : n, fitted ? slope : 0.0);
    g.labels = {"F (1000 m3)",
                "F/Et (1000 m3)",
                "F/Et (1000 m3)",
                "Steigende Punkte: Wasserzufluß",
                Format("N des Falls = %.0f Tsd. m3", n),
                fitted ? Format("Ausgleich: Steigung %.3g je 1000 m3 F", slope)
                       : std::string("Ausgleich: zu wenige Zeilen"),
                RowsLabel("F/Et", g.measuredPoints, b)};
    return g;
}

GraphSeries HistoryDriveIndexGraph(const HistoryBalance& b) {
    GraphSeries g;
    g.sharedYScale = true;
    int d = 0;
    double worst = 0;
    for (const HistoryBalanceRow& r : b.rows) {
        if (!r.hasIndices) continue;
        worst = std::max(worst, std::fabs(r.sum - 1.0));
        if (d < kSeriesLength) {
            g.x[d] = static_cast<float>(r.days);
            g.y1[d] = static_cast<float>(r.ddi);
            g.y2[d] = static_cast<float>(r.ddi + r.gdi + r.cdi);
            g.curvePoints = ++d;
        }
        AddMarker(g, r.days, r.sum);
        AddSquare(g, r.days, r.wdi);
    }
    g.labels = {"Zeit in Tagen seit Tag 0",
                "Antriebsindex (-)",
                "Antriebsindex (-)",
                Format("Anteile an F, Summe 1 bis auf %.1e", worst),
                "Lösungsgastrieb DDI = N*Eo/F",
                "DDI + GDI + CDI = N*Et/F",
                "Summe; WDI = We/F (Quadrate)"};
    return g;
}

WaterDrivePlotNames WaterDrivePlotFiles(const std::string& prefix) {
    std::string stem = prefix, ext = ".png";
    const size_t dot = prefix.find_last_of('.');
    const size_t slash = prefix.find_last_of('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string e = prefix.substr(dot);
        std::transform(e.begin(), e.end(), e.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        if (e == ".png" || e == ".svg" || e == ".pdf") {
            stem = prefix.substr(0, dot);
            ext = prefix.substr(dot);
        }
    }
    return {stem + "-havlena-odeh" + ext, stem + "-campbell" + ext,
            stem + "-antriebsindizes" + ext};
}

}  // namespace morvek
