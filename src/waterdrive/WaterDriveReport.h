#pragma once
// The material balance with water influx as text: the German summary of a
// regression (the aquifer, the objective, the fitted values with standard
// errors, 95 % intervals and correlations, each history row measured against
// computed) and the CSV of the history's balance (semicolons, decimal point,
// shortest round-trip numbers, a header line).

#include <string>
#include <vector>

#include "match/Match.h"
#include "waterdrive/MaterialBalance.h"

namespace morvek {

// result: what MbFit returned for the case `inputs` (before the fit);
// fieldName: the case's name for the heading.
std::vector<std::string> MbFitSummaryLines(const MatchResult& result, const CaseInputs& inputs,
                                           MbObjective objective, const std::string& fieldName);

// One line of the aquifer in use: "van Everdingen-Hurst, radial: U = 14864
// m3/bar, ra/re = 5, tD = 0.01554 je Tag".
std::string AquiferLine(const CaseInputs& inputs);

// days;pressure_bar;computed_pressure_bar;np_1000m3;f_1000m3;eo;eg;efw;et;
// we_1000m3;ddi;gdi;cdi;wdi;sum, one line per row that takes part: the terms at
// the measured pressure, beside it the pressure the balance gives (computed
// has the pressure objective's rows; empty where a row has none).
std::string HistoryCsvText(const HistoryBalance& measured, const HistoryBalance& computed);

}  // namespace morvek
