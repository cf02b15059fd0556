#include "depletion/BalanceTerms.h"

namespace morvek {
namespace {

// A black oil: the terms in the order the prediction has always computed
// them, so that every result without an Rv column stays bit for bit.
bool BlackOil(const FluidState& now, const FluidState& initial) {
    return now.rv == 0.0 && initial.rv == 0.0;
}

}  // namespace

double PhaseSplitDivisor(const FluidState& s) {
    return 1.0 - s.rv * s.rs;
}

double OilExpansionEoM3PerM3(const FluidState& now, const FluidState& initial) {
    if (BlackOil(now, initial)) return (initial.rs - now.rs) * now.bg + (now.bo - initial.bo);
    const double bto =
        (now.bo * (1.0 - now.rv * initial.rs) + now.bg * (initial.rs - now.rs)) /
        PhaseSplitDivisor(now);
    return bto - initial.bo;
}

double GasCapExpansionEgM3PerM3(const FluidState& now, const FluidState& initial) {
    if (BlackOil(now, initial)) return initial.bo * (now.bg / initial.bg - 1.0);
    const double btg =
        (now.bg * (1.0 - now.rs * initial.rv) + now.bo * (initial.rv - now.rv)) /
        PhaseSplitDivisor(now);
    return initial.bo * (btg / initial.bg - 1.0);
}

double TotalExpansionEtM3PerM3(const FluidState& now, const FluidState& initial,
                               double gasCapRatio, double efw) {
    double et;
    if (BlackOil(now, initial)) {
        et = (initial.rs - now.rs) * now.bg + (now.bo - initial.bo) +
             gasCapRatio * initial.bo * (now.bg / initial.bg - 1.0);
    } else {
        et = OilExpansionEoM3PerM3(now, initial) +
             gasCapRatio * GasCapExpansionEgM3PerM3(now, initial);
    }
    // Without compressibilities efw is 0 and et stays as computed.
    if (efw != 0.0) et += efw;
    return et;
}

double RockAndWaterExpansionPerBarM3PerM3(double boi, double m, double swi, double cw,
                                          double cf) {
    return (1.0 + m) * boi * (cw * swi + cf) / (1.0 - swi);
}

double OilWithdrawalM3PerSm3(const FluidState& s) {
    const double a = s.bo - s.rs * s.bg;
    return s.rv == 0.0 ? a : a / PhaseSplitDivisor(s);
}

double GasWithdrawalM3PerSm3(const FluidState& s) {
    return s.rv == 0.0 ? s.bg : (s.bg - s.rv * s.bo) / PhaseSplitDivisor(s);
}

double WithdrawalF1000m3(const FluidState& s, double np, double gp) {
    return np * OilWithdrawalM3PerSm3(s) + gp * GasWithdrawalM3PerSm3(s);
}

double WithdrawalF1000m3(const FluidState& s, double np, double gp, const WaterAndInjection& w) {
    return WithdrawalF1000m3(s, np, gp) + (w.wp1000m3 - w.wi1000m3) * w.bw -
           w.gi1000Sm3 * GasWithdrawalM3PerSm3(s);
}

double InitialGasCapMioSm3(double ooip, double boi, double gaskappe, double bgi) {
    return 0.001 * ooip * boi * gaskappe / bgi;
}

double ProducingGorSm3PerM3(const FluidState& s, double krgKro, double muo, double mug) {
    if (s.rv == 0.0) return (s.bo / s.bg) * (muo / mug) * krgKro + s.rs;
    const double mobility = krgKro * (muo / mug);  // reservoir gas per reservoir oil flowing
    return (s.rs * s.bg + mobility * s.bo) / (s.bg + mobility * s.rv * s.bo);
}

double OilVolumeShare(const FluidState& now, const FluidState& initial, double ooip,
                      double gasCap, double np, double gp) {
    if (BlackOil(now, initial)) return (1.0 - np / ooip) * (now.bo / initial.bo);
    const double oilLeft = ooip + gasCap * initial.rv - np;   // A, 1000 m3
    const double gasLeft = ooip * initial.rs + gasCap - gp;   // B, 1000 sm3
    const double vo = now.bo * (oilLeft - now.rv * gasLeft) / PhaseSplitDivisor(now);
    return vo / (ooip * initial.bo);
}

}  // namespace morvek
