#include "match/Diagnostics.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"

#include "model/MeasuredRows.h"

namespace morvek {

GasCapTerms GasCapTermsOf(const HavlenaOdehPoint& point, const HavlenaOdehResult& result) {
    // The cap's gas expansion per sm3: Bg - Bgi, generalised Btg - Bgi = Eg Bgi/Boi.
    GasCapTerms t{point.eo,
                  point.rv == 0 ? point.bg - result.bgi : point.eg * result.bgi / result.boi};
    if (point.efw != 0) {
        // The oil zone's share of Efw goes with Eo, the cap's with its gas.
        const double efo = point.efw / (1.0 + result.caseGasCapRatio);
        t.oil += efo;
        t.gas += result.bgi * efo / result.boi;
    }
    return t;
}

GasCapPlotPoint GasCapPlot(const HavlenaOdehPoint& point, const HavlenaOdehResult& result) {
    const GasCapTerms t = GasCapTermsOf(point, result);
    if (!(t.oil > 0)) return {};
    return {true, t.gas / t.oil, point.f1000m3 / t.oil};
}

OriginFit FitThroughOrigin(const std::vector<double>& x1, const std::vector<double>& x2,
                           const std::vector<double>& y) {
    OriginFit fit;
    const size_t n = y.size();
    fit.points = static_cast<int>(n);
    double s11 = 0, s12 = 0, s22 = 0, s1y = 0, s2y = 0;
    for (size_t i = 0; i < n; ++i) {
        s11 += x1[i] * x1[i];
        s12 += x1[i] * x2[i];
        s22 += x2[i] * x2[i];
        s1y += x1[i] * y[i];
        s2y += x2[i] * y[i];
    }
    const double det = s11 * s22 - s12 * s12;
    // Parallel columns (or fewer than two points) determine no pair.
    if (n < 2 || !(det > 1e-12 * s11 * s22)) return fit;
    fit.ok = true;
    fit.a = (s22 * s1y - s12 * s2y) / det;
    fit.b = (s11 * s2y - s12 * s1y) / det;
    if (n < 3) return fit;
    double rss = 0;
    for (size_t i = 0; i < n; ++i) {
        const double r = y[i] - fit.a * x1[i] - fit.b * x2[i];
        rss += r * r;
    }
    const double variance = rss / static_cast<double>(n - 2);
    fit.hasStdErrors = true;
    fit.aStdError = std::sqrt(variance * s22 / det);
    fit.bStdError = std::sqrt(variance * s11 / det);
    return fit;
}

std::string OriginFitText(const HavlenaOdehResult& h) {
    if (!h.hasOriginFit)
        return "F = N·Eo + G·Eg durch den Ursprung: zu wenige Meßwerte unter pi";
    if (!h.originHasStdErrors)
        return Format("F = N·Eo + G·Eg durch den Ursprung: N = %.0f Tsd. m3, G = %.4g Mio sm3 "
                      "(%d Meßwerte, ohne Streuung)",
                      h.originOoip1000m3, h.originGasCap1000Sm3 / 1000.0, h.originPoints);
    return Format("F = N·Eo + G·Eg durch den Ursprung: N = %.0f ± %.2g Tsd. m3, G = %.4g ± %.2g "
                  "Mio sm3 (%d Meßwerte; ± Standardfehler)",
                  h.originOoip1000m3, h.originOoipStdError1000m3, h.originGasCap1000Sm3 / 1000.0,
                  h.originGasCapStdError1000Sm3 / 1000.0, h.originPoints);
}

HavlenaOdehResult HavlenaOdeh(const CaseInputs& inputs, const RunOptions& options) {
    HavlenaOdehResult out;
    const FluidModel fluid = FluidOfCase(inputs, options);
    const float pi = inputs.initialPressureBar;
    // The initial state as the prediction takes it at its first step.
    FluidState initial;
    initial.rs = fluid.Rs(pi);
    initial.bo = fluid.Bo(pi, initial.rs);
    initial.bg = fluid.Bg(pi);
    initial.rv = fluid.Rv(pi);
    out.rsi = initial.rs;
    out.boi = initial.bo;
    out.bgi = initial.bg;
    const double n = inputs.ooip1000m3;
    const double m = inputs.gasCapRatio;
    out.caseOoip1000m3 = n;
    out.caseGasCapRatio = m;
    out.caseGasCap1000Sm3 = 1000.0 * InitialGasCapMioSm3(n, out.boi, m, out.bgi);
    // Connate water and pore volume as the prediction takes them (Efw per bar
    // of drawdown), only when the case has a compressibility.
    const double cf = inputs.poreCompressibilityPerBar;
    const double cw = inputs.waterCompressibilityPerBar;
    const double swi = inputs.connateWaterSaturation;
    const double efwPerBar = cf != 0.0 || cw != 0.0
                                 ? RockAndWaterExpansionPerBarM3PerM3(out.boi, m, swi, cw, cf)
                                 : 0.0;

    struct Row {
        int index;
        MeasuredPoint point;
    };
    std::vector<Row> rows;
    int index = 0;
    for (const MeasuredPoint& p : MeasuredPoints(inputs.measuredRows)) {
        if (p.hasGor)
            rows.push_back({index, p});
        else
            ++out.rowsWithoutGor;
        ++index;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.point.np1000m3 < b.point.np1000m3;
    });

    const float tableLowest = LowestTablePressureBar(inputs);
    double npBefore = 0, gorBefore = out.rsi, gp = 0;
    for (const Row& row : rows) {
        const MeasuredPoint& r = row.point;
        HavlenaOdehPoint h;
        h.row = row.index;
        h.np1000m3 = r.np1000m3;
        h.pressureBar = r.pressureBar;
        h.gorSm3PerM3 = r.gorSm3PerM3;
        gp += 0.5 * (gorBefore + h.gorSm3PerM3) * (h.np1000m3 - npBefore);
        npBefore = h.np1000m3;
        gorBefore = h.gorSm3PerM3;
        h.gp1000Sm3 = gp;
        // The PVT table has no fluids below its lowest pressure: the row's gas
        // still counts for the later rows, the row itself is left out.
        if (h.pressureBar < tableLowest) {
            ++out.rowsBelowTable;
            continue;
        }
        FluidState now;
        now.rs = fluid.Rs(h.pressureBar);
        now.bo = fluid.Bo(h.pressureBar, now.rs);
        now.bg = fluid.Bg(h.pressureBar);
        now.rv = fluid.Rv(h.pressureBar);
        h.rs = now.rs;
        h.bo = now.bo;
        h.bg = now.bg;
        h.rv = now.rv;
        h.f1000m3 = WithdrawalF1000m3(now, h.np1000m3, h.gp1000Sm3);
        h.eo = OilExpansionEoM3PerM3(now, initial);
        h.eg = GasCapExpansionEgM3PerM3(now, initial);
        if (efwPerBar != 0.0) h.efw = efwPerBar * (double(pi) - double(h.pressureBar));
        h.et = TotalExpansionEtM3PerM3(now, initial, m, h.efw);
        out.points.push_back(h);
    }

    // Through the origin: N = sum(F Et) / sum(Et^2).
    double fe = 0, ee = 0;
    for (const HavlenaOdehPoint& h : out.points) {
        if (!(h.et > 0)) continue;
        fe += h.f1000m3 * h.et;
        ee += h.et * h.et;
        ++out.slopePoints;
    }
    if (out.slopePoints > 0 && ee > 0) {
        out.hasSlope = true;
        out.slopeOoip1000m3 = fe / ee;
    }

    // y = F/Eo against x = (Bg - Bgi)/Eo, ordinary least squares.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const HavlenaOdehPoint& h : out.points) {
        const GasCapPlotPoint plotted = GasCapPlot(h, out);
        if (!plotted.valid) continue;
        const double x = plotted.x;
        const double y = plotted.y;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        ++out.gasCapPoints;
    }
    // F = N Eo' + G Eg' through the origin over the same points.
    std::vector<double> oilTerms, gasTerms, withdrawals;
    for (const HavlenaOdehPoint& h : out.points) {
        if (!GasCapPlot(h, out).valid) continue;
        const GasCapTerms t = GasCapTermsOf(h, out);
        oilTerms.push_back(t.oil);
        gasTerms.push_back(t.gas);
        withdrawals.push_back(h.f1000m3);
    }
    const OriginFit origin = FitThroughOrigin(oilTerms, gasTerms, withdrawals);
    out.hasOriginFit = origin.ok;
    out.originHasStdErrors = origin.hasStdErrors;
    out.originOoip1000m3 = origin.a;
    out.originOoipStdError1000m3 = origin.aStdError;
    out.originGasCap1000Sm3 = origin.b;
    out.originGasCapStdError1000Sm3 = origin.bStdError;
    out.originPoints = origin.points;

    const double k = out.gasCapPoints;
    const double det = k * sxx - sx * sx;
    if (out.gasCapPoints >= 2 && det > 1e-12 * k * sxx) {
        out.hasGasCapFit = true;
        out.slopeGasCap1000Sm3 = (k * sxy - sx * sy) / det;
        out.interceptOoip1000m3 = (sy - out.slopeGasCap1000Sm3 * sx) / k;
        out.impliedGasCapRatio =
            out.slopeGasCap1000Sm3 * out.bgi / (out.interceptOoip1000m3 * out.boi);
    }
    return out;
}

std::vector<DriveIndexStep> DriveIndices(const PredictionResult& prediction,
                                         const Reservoir& reservoir) {
    std::vector<DriveIndexStep> out;
    out.reserve(prediction.steps.size());
    const double n = reservoir.ooip1000m3;
    const double m = reservoir.gasCapRatio;
    for (const PredictionStep& s : prediction.steps) {
        DriveIndexStep d;
        d.index = s.index;
        d.pressureBar = s.pressureBar;
        d.np1000m3 = s.np1000m3;
        d.f1000m3 = s.withdrawal1000m3;
        if (s.withdrawal1000m3 != 0) {
            d.hasIndices = true;
            d.depletion = n * s.eo / s.withdrawal1000m3;
            d.gasCap = n * m * s.eg / s.withdrawal1000m3;
            d.sum = d.depletion + d.gasCap;
            if (s.efw != 0) {
                d.compaction = n * s.efw / s.withdrawal1000m3;
                d.sum += d.compaction;
            }
        }
        out.push_back(d);
    }
    return out;
}

bool HasCompactionDrive(const std::vector<DriveIndexStep>& steps) {
    for (const DriveIndexStep& s : steps)
        if (s.hasIndices && s.compaction != 0) return true;
    return false;
}

}  // namespace morvek
