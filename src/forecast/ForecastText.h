#pragma once
// The texts of a forecast against time: the CSV of its steps and the German
// report.
//
// CSV: a header, then one line per step (the start is not a step):
//   date;days;pressure_bar;oil_rate_m3_per_day;gas_rate_1000sm3_per_day;
//   water_rate_m3_per_day;np_1000m3;gp_mio_sm3;wp_1000m3;we_1000m3;gor_sm3_per_m3;water_cut
// semicolons, decimal point, shortest round-trip numbers; date the day the
// step ends on (YYYY-MM-DD), days since the start, rates over the step,
// cumulatives and pressure at its end, water_cut as a fraction of the liquid.
//
// Report: the head (field, what the forecast starts from), the inputs, a
// table with a row for every year from the start (the rates the year's mean),
// where the plateau ended, the end state and why the forecast stopped.

#include <string>
#include <vector>

#include "forecast/Forecast.h"
#include "model/CaseInputs.h"

namespace morvek {

std::string ForecastCsvHeader();
std::string ForecastCsvLine(const ForecastResult& result, const ForecastStep& step);
std::string ForecastCsvText(const ForecastResult& result);

// The day a step ends on: the start date plus its whole days.
int32_t DateOfDays(const ForecastResult& result, double days);

// Why the forecast stopped, one German sentence.
std::string ForecastStopText(const ForecastResult& result, const ForecastSettings& settings);

// What the forecast started from, for its head: "Initialzustand" or the end
// of a production history.
struct ForecastOrigin {
    bool afterHistory = false;
    std::string historyName;  // the history's file name
    // The aquifer's German description ("Topf, K = 5000 m3/bar"), or "" without one.
    std::string aquifer;
};

// The aquifer as the forecast's report names it ("van Everdingen-Hurst, radial,
// U = 2500 m3/bar"), or "" without one.
std::string AquiferText(const Aquifer& aquifer);

std::vector<std::string> ForecastReportLines(const CaseInputs& inputs,
                                             const ForecastResult& result,
                                             const ForecastOrigin& origin = {});
std::string ForecastReportText(const CaseInputs& inputs, const ForecastResult& result,
                               const ForecastOrigin& origin = {});

}  // namespace morvek
