#pragma once
// Material-balance diagnostics of a case.
//
// Havlena-Odeh: the underground withdrawal of each measured row,
//   F = Np (Bo - Rs Bg) + Gp Bg          (1000 m3; the oil term as it is, also
//                                         where Rs Bg > Bo)
// against the expansion per m3 of oil in place,
//   Eo = (Bo - Boi) + (Rsi - Rs) Bg,  Eg = Boi (Bg/Bgi - 1),
//   Efw = (1 + m) Boi (cw Swi + cf) / (1 - Swi) (pi - p),  Et = Eo + m Eg + Efw,
// at the row's pressure, with the case's fluids and compressibilities, as the
// prediction balances them. A volumetric reservoir gives F = N Et: a line
// through the origin whose slope is the oil in place. With a gas cap,
// F/Eo = N + G (Bg - Bgi)/Eo with G = N m Boi/Bgi the free gas of the cap:
// intercept N, slope G; with compressibilities the oil zone's share of Efw,
// Efo = Efw / (1 + m), joins Eo and the cap's share Bgi Efo/Boi joins Bg - Bgi:
// F/(Eo + Efo) = N + G (Bg - Bgi + Bgi Efo/Boi)/(Eo + Efo). The same balance
// F = N (Eo + Efo) + G (Bg - Bgi + Bgi Efo/Boi) is also fitted as a regression
// of F on its two terms through the origin, with the standard errors of N and
// G (FitThroughOrigin). The rows hold no cumulative gas; it is
// integrated from their gas-oil ratios by the trapezoid rule, starting at
// (Np = 0, Rsi), in the order of Np. Rows without a gas-oil ratio have no
// Gp and are left out, as are rows below a PVT table's lowest pressure. With a
// PVT table's Rv column every term is the generalised one (BalanceTerms.h).
//
// Drive indices along the prediction: the share of the withdrawal each
// expansion supplies, DDI = N Eo / F (depletion drive), GDI = N m Eg / F
// (gas-cap drive) and, with compressibilities, CDI = N Efw / F (expansion of
// the connate water and the pore volume). Their sum is N Et / F, 1 where the
// balance closes; it is kept as computed, not normalised. Steps without
// withdrawal have none.

#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "model/CaseInputs.h"

namespace morvek {

struct HavlenaOdehPoint {
    int row = 0;  // 0-based position among the case's measured rows
    double np1000m3 = 0;
    float pressureBar = 0;
    double gorSm3PerM3 = 0;
    double gp1000Sm3 = 0;  // trapezoid rule over the rows' gas-oil ratios
    double bo = 0, rs = 0, bg = 0;
    double rv = 0;  // 0 without an Rv column
    double f1000m3 = 0;
    double eo = 0, eg = 0, et = 0;  // m3 per m3 of oil in place, as PredictionStep
    double efw = 0;                 // ... and Efw; 0 without compressibilities
};

struct HavlenaOdehResult {
    std::vector<HavlenaOdehPoint> points;  // in the order of Np
    int rowsWithoutGor = 0;
    int rowsBelowTable = 0;  // below the PVT table's lowest pressure: left out
    // The case's initial state and its own values.
    double rsi = 0, boi = 0, bgi = 0;
    double caseOoip1000m3 = 0;
    double caseGasCapRatio = 0;
    double caseGasCap1000Sm3 = 0;  // G = N m Boi/Bgi

    // F = N Et through the origin, over the points with Et > 0.
    bool hasSlope = false;
    double slopeOoip1000m3 = 0;
    int slopePoints = 0;

    // F/Eo = N + G (Bg - Bgi)/Eo, least squares over the points with Eo > 0;
    // needs two points of different abscissa.
    bool hasGasCapFit = false;
    double interceptOoip1000m3 = 0;
    double slopeGasCap1000Sm3 = 0;
    double impliedGasCapRatio = 0;  // G Bgi / (N Boi)
    int gasCapPoints = 0;

    // F = N (Eo + Efo) + G (Bg - Bgi + Bgi Efo/Boi) through the origin, over
    // the points of the gas-cap plot.
    bool hasOriginFit = false;
    bool originHasStdErrors = false;  // three points or more
    double originOoip1000m3 = 0, originOoipStdError1000m3 = 0;
    double originGasCap1000Sm3 = 0, originGasCapStdError1000Sm3 = 0;
    int originPoints = 0;
};

// Least squares y = a x1 + b x2 through the origin. ok with two points or more
// whose columns are not parallel; the standard errors (residual variance over
// n - 2, times the diagonal of the inverse normal matrix) with three or more.
struct OriginFit {
    bool ok = false;
    bool hasStdErrors = false;
    double a = 0, b = 0;
    double aStdError = 0, bStdError = 0;
    int points = 0;
};
OriginFit FitThroughOrigin(const std::vector<double>& x1, const std::vector<double>& x2,
                           const std::vector<double>& y);

// "F = N·Eo + G·Eg durch den Ursprung: N = 5012 ± 45 Tsd. m3, G = 1234 ± 56 Mio
// sm3 (8 Meßwerte)" (± the standard error), or why there is none.
std::string OriginFitText(const HavlenaOdehResult& result);

// The case's measured rows with the fluids the run takes.
HavlenaOdehResult HavlenaOdeh(const CaseInputs& inputs, const RunOptions& options = {});

// The two terms of a point in the balance with a gas cap: the oil zone's
// expansion per m3 of oil, Eo (+ Efo), and the cap's per sm3 of its free gas,
// Bg - Bgi (+ Bgi Efo/Boi; with Rv, Btg - Bgi).
struct GasCapTerms {
    double oil = 0, gas = 0;
};
GasCapTerms GasCapTermsOf(const HavlenaOdehPoint& point, const HavlenaOdehResult& result);

// The gas-cap plot of a point: its abscissa (Bg - Bgi) / Eo in m3 of oil per
// sm3 of gas and its ordinate F / Eo in 1000 m3 (with compressibilities the
// forms above), and whether it has them (Eo + Efo above 0).
struct GasCapPlotPoint {
    bool valid = false;
    double x = 0, y = 0;
};
GasCapPlotPoint GasCapPlot(const HavlenaOdehPoint& point, const HavlenaOdehResult& result);

struct DriveIndexStep {
    int index = 0;  // the prediction step
    float pressureBar = 0;
    double np1000m3 = 0;
    double f1000m3 = 0;
    bool hasIndices = false;  // false where F = 0
    double depletion = 0;     // DDI = N Eo / F
    double gasCap = 0;        // GDI = N m Eg / F
    double compaction = 0;    // CDI = N Efw / F; 0 without compressibilities
    double sum = 0;           // DDI + GDI + CDI as computed
};

std::vector<DriveIndexStep> DriveIndices(const PredictionResult& prediction,
                                         const Reservoir& reservoir);

// True when a step has a CDI (the case has a compressibility).
bool HasCompactionDrive(const std::vector<DriveIndexStep>& steps);

}  // namespace morvek
