#pragma once
// Uncertainty runs: thousands of predictions of one case with some inputs
// drawn from their ranges, on every core, with the outcomes of every sample
// handed out in the order of the samples and a summary kept on the way.
//
// Memory does not grow with the rows: samples run in chunks on oneTBB's
// parallel loop, each chunk's rows go to the sink in sample order and are then
// dropped; the summary keeps one number per sample and outcome (for the exact
// P-values, bounded by CheckSummaryMemory) and the first failures. Results do not depend on the number of
// threads (see Sampling.h).

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "model/CaseInputs.h"
#include "sweep/Sampling.h"
#include "sweep/Variation.h"

namespace morvek {

// The outcomes of one sample, in the order of the CSV columns.
enum class Outcome {
    NpEnd,        // cumulative oil at the end of the prediction, 1000 m3
    RfEnd,        // recovery factor Np/N at the end, percent
    GpEnd,        // cumulative gas at the end, million sm3
    PressureEnd,  // pressure of the last step, bar
    GorMax,       // highest producing gas-oil ratio (step mean, as report and graph show it)
    NpAbandon,    // cumulative oil when the pressure reaches the abandonment pressure
    RfAbandon,    // recovery factor then, percent
};
inline constexpr size_t kOutcomeCount = 7;
inline constexpr size_t kOutcomesWithoutAbandonment = 5;

struct OutcomeInfo {
    const char* column;  // CSV column head: "np_end_1000m3"
    const char* label;   // German, for the summary; "%s" stands for the abandonment pressure
};
const OutcomeInfo& InfoOf(Outcome outcome);

using OutcomeValues = std::array<double, kOutcomeCount>;

// A sample's refusal before its prediction (the checks of the data-entry
// dialog's OK button, which the program supplies): empty when the inputs are
// accepted, else the message the dialog would show. Called on many threads at
// once.
using SampleCheck = std::function<std::string(const CaseInputs&)>;

// What every uncertainty run takes, of the prediction and of the forecast.
struct SampleRunOptions {
    SamplingPlan plan;
    int threads = 0;  // at most this many at once; 0: every core
    RunOptions run;   // the decisions a run of the case takes (the oil-gravity answer)
    SampleCheck check;  // the data-entry dialog's checks, or none
    // The samples run: count of them from firstSample on (count 0: to the
    // last). A slice keeps the numbers and values its samples have in the
    // whole design, so that slices run apart give exactly the whole's rows.
    uint64_t firstSample = 1;
    uint64_t count = 0;

    uint64_t LastSample() const { return count > 0 ? firstSample + count - 1 : plan.samples; }
    // How many samples the run computes.
    uint64_t Planned() const {
        return LastSample() >= firstSample ? LastSample() - firstSample + 1 : 0;
    }
    bool Slice() const { return firstSample > 1 || LastSample() < plan.samples; }
};

struct SweepOptions : SampleRunOptions {
    // Pressure at which the field is abandoned, bar; 0: no abandonment outcomes.
    float abandonmentPressureBar = 0.0f;

    bool HasAbandonment() const { return abandonmentPressureBar > 0.0f; }
    size_t OutcomeCount() const {
        return HasAbandonment() ? kOutcomeCount : kOutcomesWithoutAbandonment;
    }
};

// One sample as the CSV shows it.
struct SweepRow {
    uint64_t sample = 0;        // 1 .. samples
    std::vector<float> values;  // the varied inputs, in the order of the variations
    std::string failure;        // why the sample has no outcomes; empty when it has
    OutcomeValues outcomes{};   // valid only without a failure

    bool Failed() const { return !failure.empty(); }
};

// The outcomes of a finished prediction of the inputs, or the reason it has
// none: a prediction without a result is one whose report would not end with
// "Morvek Berechnung abgeschlossen" (PredictionHasResult: a quantity without
// a meaningful value, a material balance that could not be formed, or not a
// single graph point below the initial pressure).
bool OutcomesOf(const PredictionResult& prediction, const CaseInputs& inputs,
                float abandonmentPressureBar, OutcomeValues& outcomes, std::string& failure);

// The check, the prediction and the outcomes of the given inputs: what one
// sample (and one end of a tornado bar) is.
void RunSample(const CaseInputs& inputs, const SweepOptions& options, OutcomeValues& outcomes,
               std::string& failure);

// Mean, standard deviation (with n - 1) and the P-values of one outcome over
// the samples that have outcomes. The P-values follow the reserves
// convention: P90 is the largest sample value that at least 90 % of the
// samples reach or exceed (the low estimate), P10 the one that at least 10 %
// reach or exceed (the high estimate).
struct OutcomeStatistics {
    uint64_t count = 0;
    double mean = std::numeric_limits<double>::quiet_NaN();
    double stdDev = std::numeric_limits<double>::quiet_NaN();
    double p90 = std::numeric_limits<double>::quiet_NaN();
    double p50 = std::numeric_limits<double>::quiet_NaN();
    double p10 = std::numeric_limits<double>::quiet_NaN();
    double min = std::numeric_limits<double>::quiet_NaN();
    double max = std::numeric_limits<double>::quiet_NaN();
};

// The value at least percent % of the sorted samples reach or exceed.
double ReservesPercentile(const std::vector<double>& ascending, int percent);

struct FailedSample {
    uint64_t sample = 0;
    std::string reason;
};

// A point of the S-curve: a value and the share of samples at or below it.
struct CurvePoint {
    double value = 0;
    double cumulativePercent = 0;
};

struct SweepResult {
    uint64_t samples = 0;    // asked for
    uint64_t completed = 0;  // run; fewer than asked for (the slice) when cancelled
    bool cancelled = false;
    uint64_t failedCount = 0;
    // The first kListedFailures failures, in sample order; the CSV lists all.
    static constexpr size_t kListedFailures = 1000;
    std::vector<FailedSample> failed;
    std::array<OutcomeStatistics, kOutcomeCount> statistics;
    // The recovery factor's S-curve: at most kCurvePoints points, ascending.
    static constexpr size_t kCurvePoints = 501;
    std::vector<CurvePoint> rfCurve;

    const OutcomeStatistics& Of(Outcome o) const { return statistics[static_cast<size_t>(o)]; }
};

// Called between chunks with the samples done so far; false stops the sweep
// after the chunk (the result then covers the samples done).
using SweepProgress = std::function<bool(uint64_t done, uint64_t total)>;
using SweepSink = std::function<void(const SweepRow&)>;

// The summary keeps one number per sample and outcome, so that P90, P50 and
// P10 are exactly values of samples: 40 bytes a sample, 56 with the
// abandonment outcomes. Its memory is bounded by refusing more samples than
// half of the computer's memory holds: CheckSummaryMemory gives the German
// message for a plan beyond it ("" when it fits), which every caller of
// Sweep shows instead of starting. memoryBytes: MemoryOfComputerBytes() (the
// physical memory, or a container's smaller limit; 0 when unknown).
uint64_t SummaryBytesPerSample(const SweepOptions& options);
uint64_t MemoryOfComputerBytes();
std::string CheckSummaryMemory(const SweepOptions& options, uint64_t memoryBytes);

// Why the abandonment pressure cannot be used with this case (a German
// message), or "": a prediction on a PVT table ends at the table's lowest
// pressure, so an abandonment pressure below it would never be reached and
// its outcomes would be those of the table's end.
std::string CheckAbandonment(const CaseInputs& base, float abandonmentPressureBar);

// Runs options.plan.samples samples of the base case with the varied inputs
// drawn, hands each row to sink in sample order (on the calling thread) and
// returns the summary. The variations must pass CheckVariations.
SweepResult Sweep(const CaseInputs& base, const std::vector<Variation>& variations,
                  const SweepOptions& options, const SweepSink& sink = {},
                  const SweepProgress& progress = {});

}  // namespace morvek
