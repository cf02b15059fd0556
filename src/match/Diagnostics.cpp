#include "match/Diagnostics.h"

#include <algorithm>

#include "model/MeasuredRows.h"

namespace morvek {

GasCapPlotPoint GasCapPlot(const HavlenaOdehPoint& point, const HavlenaOdehResult& result) {
    double eo = point.eo, bg = point.bg - result.bgi;
    if (point.efw != 0) {
        // The oil zone's share of Efw goes with Eo, the cap's with its gas.
        const double efo = point.efw / (1.0 + result.caseGasCapRatio);
        eo += efo;
        bg += result.bgi * efo / result.boi;
    }
    if (!(eo > 0)) return {};
    return {true, bg / eo, point.f1000m3 / eo};
}

HavlenaOdehResult HavlenaOdeh(const CaseInputs& inputs, const RunOptions& options) {
    HavlenaOdehResult out;
    const FluidModel fluid = FluidOfCase(inputs, options);
    const float pi = inputs.initialPressureBar;
    // The initial state as the prediction takes it at its first step.
    out.rsi = fluid.Rs(pi);
    out.boi = fluid.Bo(pi, out.rsi);
    out.bgi = fluid.Bg(pi);
    const double n = inputs.ooip1000m3;
    const double m = inputs.gasCapRatio;
    out.caseOoip1000m3 = n;
    out.caseGasCapRatio = m;
    out.caseGasCap1000Sm3 = n * m * out.boi / out.bgi;
    // Connate water and pore volume as the prediction takes them (Efw per bar
    // of drawdown), only when the case has a compressibility.
    const double cf = inputs.poreCompressibilityPerBar;
    const double cw = inputs.waterCompressibilityPerBar;
    const double swi = inputs.connateWaterSaturation;
    const double efwPerBar =
        cf != 0.0 || cw != 0.0 ? (1.0 + m) * out.boi * (cw * swi + cf) / (1.0 - swi) : 0.0;

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
        h.rs = fluid.Rs(h.pressureBar);
        h.bo = fluid.Bo(h.pressureBar, h.rs);
        h.bg = fluid.Bg(h.pressureBar);
        h.f1000m3 = h.np1000m3 * std::max(0.0, h.bo - h.rs * h.bg) + h.gp1000Sm3 * h.bg;
        h.eo = (h.bo - out.boi) + (out.rsi - h.rs) * h.bg;
        h.eg = out.boi * (h.bg / out.bgi - 1.0);
        h.et = h.eo + m * h.eg;
        if (efwPerBar != 0.0) {
            h.efw = efwPerBar * (double(pi) - double(h.pressureBar));
            h.et += h.efw;
        }
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
