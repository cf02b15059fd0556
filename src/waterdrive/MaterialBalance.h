#pragma once
// The material balance of a production history with water influx,
//
//   F = N Et + We,   Et = Eo + m Eg + Efw,
//   F = Np (Bo + (Rp - Rs) Bg) + Wp Bw - Wi Bw - Gi Bg
//
// (the terms of depletion/BalanceTerms.h at each row's pressure, with the
// case's fluids and compressibilities; We from the case's aquifer over the
// rows' times and pressures, src/waterdrive/Aquifer.h), and the regression
// that fits N, m and the aquifer to it:
//
//   objective f          the residuals F - N Et - We of the rows, in units of
//                        the rows' mean F (Havlena and Odeh's straight line);
//   objective pressure   for the given N, m and aquifer the balance is solved
//                        row after row for the pressure (the influx of a row
//                        depends on the pressures before it), and the
//                        relative difference to the measured pressure is the
//                        residual.
//
// Ceres Solver minimises the sum of squares within the field table's ranges
// and estimates the covariance of the fitted values as the history match does
// (src/match/Match.h, whose result type this regression shares).
//
// Rows of the initial state (nothing produced, nothing injected) and rows
// below a PVT table's lowest pressure take no part; drive indices of a row
// with F > 0: DDI = N Eo/F, GDI = N m Eg/F, CDI = N Efw/F, WDI = We/F, their
// sum (N Et + We)/F kept as computed.

#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "match/Match.h"
#include "model/CaseInputs.h"

namespace morvek {

struct HistoryBalanceRow {
    int row = 0;  // 0-based among the history's rows
    double days = 0;
    double measuredPressureBar = 0;
    double pressureBar = 0;  // where the terms are taken: measured, or computed (pressure objective)
    double np1000m3 = 0, gp1000Sm3 = 0, wp1000m3 = 0, wi1000m3 = 0, gi1000Sm3 = 0;
    double bo = 0, rs = 0, bg = 0, bw = 0, rv = 0;
    double f1000m3 = 0;
    double eo = 0, eg = 0, efw = 0, et = 0;  // m3 per m3 of oil in place
    double we1000m3 = 0;
    bool hasIndices = false;  // F > 0
    double ddi = 0, gdi = 0, cdi = 0, wdi = 0, sum = 0;
};

struct HistoryBalance {
    std::string problem;  // German: why there is no balance (no history, aquifer inputs missing)
    std::vector<HistoryBalanceRow> rows;  // the rows that take part, in time order
    int initialRows = 0;                  // rows of the initial state, left out
    int rowsBelowTable = 0;               // below the PVT table's lowest pressure, left out
    double ooip1000m3 = 0, gasCapRatio = 0;
    double rsi = 0, boi = 0, bgi = 0;
    bool pressuresComputed = false;  // the pressure objective's rows
    // The pressure objective: rows where the balance has no root in the
    // PVT range (the computed pressure then sits at the range's end).
    int unsolvedRows = 0;
};

enum class MbObjective { F, Pressure };
const char* MbObjectiveName(MbObjective objective);  // "f", "pressure"

// The balance of the case's history with the case's N, m and aquifer. With
// computePressures the pressure of each row is solved from the balance
// instead of taken from the history (the pressure objective's view).
HistoryBalance BalanceOfHistory(const CaseInputs& inputs, const RunOptions& options = {},
                                bool computePressures = false);

// The inputs the regression may fit: ooip_1000m3, gas_cap_ratio,
// aquifer_constant_m3_per_bar, aquifer_radius_m, aquifer_permeability_md.
const std::vector<const Field*>& MbFittableFields();
std::string MbFittableNames();

struct MbFitOptions {
    std::vector<MatchParameter> parameters;  // names, optional starts and bounds
    MbObjective objective = MbObjective::F;
    RunOptions run;
    int maxIterations = 100;
};

// The bounds the regression takes unless told otherwise: the field table's
// ranges, narrowed where the model needs it (a finite aquifer's radius above
// the reservoir's, a constant above 0).
MatchBounds MbDefaultBounds(const CaseInputs& inputs, const Field& field);

// Why the regression cannot start (German), or "": no history, no row that
// takes part, fewer rows than fitted inputs, an input that cannot be fitted,
// is named twice or does not enter the aquifer model in use, aquifer inputs
// missing, a start outside its bounds.
std::string CheckMbFit(const CaseInputs& inputs, const MbFitOptions& options);

// Fits the case's history. The result is the history match's (each fitted
// input named as given, record or English name): fitted
// values with standard errors, 95 % intervals and correlations, RMS before
// and after (of the residuals as the objective defines them), the fitted
// case; its row comparisons hold each row's cumulative oil with the measured
// and the computed pressure (the measured one for objective f).
MatchResult MbFit(const CaseInputs& inputs, const MbFitOptions& options,
                  const MatchCallback& callback = {});

}  // namespace morvek
