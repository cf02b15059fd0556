#pragma once
// Uncertainty runs of the forecast against time: the sweep's samples (the
// same varied inputs, the same Latin hypercube or Monte Carlo draws, the same
// threads and sample order as src/sweep) with a forecast as each sample's
// run, its outcomes
//   np_at_abandonment_1000m3  cumulative oil at the forecast's end (abandonment
//                             or the end of the period)
//   abandonment_date          when the field reaches its abandonment rate or
//                             pressure (none within the period: beyond it)
//   plateau_end_date          when the oil rate first falls below the target
//   np_by_<year>              cumulative oil at the end of each year chosen
// and the P90, P50 and P10 profiles of oil rate and cumulative oil against
// time (the fan chart), from the first kFanSamples samples with results.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forecast/Forecast.h"
#include "sweep/Sweep.h"

namespace morvek {

struct ForecastSweepOptions : SampleRunOptions {
    std::vector<int> npByYears;  // np_by_<year> for each, ascending
};

// An outcome's column: its CSV head, its German label, and whether it is a
// date (a serial date; beyond the period: infinity).
struct ForecastOutcomeColumn {
    std::string column;
    std::string label;
    bool date = false;
};
std::vector<ForecastOutcomeColumn> ForecastOutcomeColumns(const ForecastSweepOptions& options);

// The outcomes of a finished forecast (in the order of the columns), or the
// reason it has none.
bool ForecastOutcomesOf(const ForecastResult& forecast, const ForecastSweepOptions& options,
                        std::vector<double>& outcomes, std::string& failure);

struct ForecastSweepRow {
    uint64_t sample = 0;
    std::vector<float> values;     // the varied inputs
    std::string failure;           // empty when the sample has outcomes
    std::vector<double> outcomes;  // in the order of the columns
    bool Failed() const { return !failure.empty(); }
};

// P90, P50 and P10 of oil rate and cumulative oil at every point of a time
// grid (months from the base case's start, at most kFanPoints points).
struct ForecastFan {
    static constexpr size_t kFanPoints = 361;
    int32_t startDate = 0;
    std::vector<double> days;
    std::array<std::vector<double>, 3> oilRate;  // P90, P50, P10, m3/d
    std::array<std::vector<double>, 3> np;       // P90, P50, P10, 1000 m3
    uint64_t samples = 0;                        // the samples it is made of
};

struct ForecastSweepResult {
    static constexpr uint64_t kFanSamples = 20000;
    uint64_t samples = 0;    // of the design
    uint64_t completed = 0;  // run (of the slice, when a slice was asked for)
    bool cancelled = false;
    uint64_t failedCount = 0;
    std::vector<FailedSample> failed;  // the first SweepResult::kListedFailures
    std::vector<ForecastOutcomeColumn> columns;
    // Per column; dates as serial dates over the samples that reached them.
    std::vector<OutcomeStatistics> statistics;
    // Per column: samples whose date lies beyond the period (counted in P-values
    // as later than every date).
    std::vector<uint64_t> beyondPeriod;
    ForecastFan fan;
};

using ForecastSweepSink = std::function<void(const ForecastSweepRow&)>;

// Why the options cannot be used with the base case (a German message), or "":
// a year of np_by outside the forecast's period.
std::string CheckForecastSweep(const CaseInputs& base, const ForecastSweepOptions& options);

ForecastSweepResult ForecastSweep(const CaseInputs& base, const std::vector<Variation>& variations,
                                  const ForecastSweepOptions& options,
                                  const ForecastSweepSink& sink = {},
                                  const SweepProgress& progress = {});

// The CSV: "sample;<varied inputs>;np_at_abandonment_1000m3;abandonment_date;
// plateau_end_date;np_by_2030;...", dates as YYYY-MM-DD (empty when beyond the
// period), a failed sample with empty outcome fields.
std::string ForecastSweepCsvHeader(const std::vector<Variation>& variations,
                                   const ForecastSweepOptions& options);
std::string ForecastSweepCsvLine(const ForecastSweepRow& row,
                                 const std::vector<ForecastOutcomeColumn>& columns);

// The German summary: the plan, each outcome's mean, standard deviation, P90,
// P50 and P10 (dates as dates), and the failed samples.
std::string ForecastSweepSummaryText(const std::string& fieldName,
                                     const std::vector<Variation>& variations,
                                     const ForecastSweepOptions& options,
                                     const ForecastSweepResult& result);

}  // namespace morvek
