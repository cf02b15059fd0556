#pragma once
// The texts of a sweep: the CSV (a header, then one line per sample:
// semicolons, decimal point, shortest round-trip numbers, a failed sample
// with empty outcome fields) and the German summary.

#include <string>
#include <vector>

#include "sweep/Sweep.h"
#include "sweep/Tornado.h"
#include "sweep/Variation.h"

namespace morvek {

// "sample;ooip_1000m3;sgc;np_end_1000m3;...\n": the varied inputs by their
// English field names in their order, then the outcomes.
std::string SweepCsvHeader(const std::vector<Variation>& variations, bool abandonment);
// One sample's line, with its line end.
std::string SweepCsvLine(const SweepRow& row, bool abandonment);

// The German label of an outcome in the summary ("Entölungsgrad am Ende (%)",
// "Entölungsgrad bei 50 bar (%)").
std::string OutcomeLabel(Outcome outcome, float abandonmentPressureBar);

// What the summary describes.
struct SweepReport {
    std::string fieldName;
    std::vector<Variation> variations;
    SweepOptions options;
    SweepResult result;
    const TornadoResult* tornado = nullptr;  // optional
};

// The summary's head lines of an uncertainty run: the plan ("Stichproben:
// 1000 (Latin Hypercube), Startwert 1"), the slice run, a cancellation, the
// failed samples; each with its line end.
std::string SampleRunHeadLines(const SampleRunOptions& options, uint64_t samples,
                               uint64_t completed, bool cancelled, uint64_t failed);
// A varied input's distribution as a summary names it ("gleichverteilt 4000
// bis 6000", "Dreieck 0.1 / 0.2 / 0.4").
std::string DistributionText(const Variation& variation);

// The German summary: the plan, for each outcome mean, standard deviation,
// P90, P50 and P10, the tornado's swings, and the failed samples.
std::string SweepSummaryText(const SweepReport& report);

}  // namespace morvek
