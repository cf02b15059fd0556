#pragma once
// Sensitivity of the recovery factor to each varied input alone: the input at
// its low and at its high value, every other input at the base case's value.
// The bars come sorted by their swing, the largest first, as a tornado chart
// stacks them. The recovery factor is the one the sweep summarises: at the
// abandonment pressure when the options give one, else at the prediction's end.

#include <limits>
#include <string>
#include <vector>

#include "model/CaseInputs.h"
#include "sweep/Sweep.h"
#include "sweep/Variation.h"

namespace morvek {

struct TornadoBar {
    Variation variation;
    // Recovery factor at the abandonment pressure (or the end of the
    // prediction), percent; NaN where the run failed, with the reason beside it.
    double rfLow = std::numeric_limits<double>::quiet_NaN();
    double rfHigh = std::numeric_limits<double>::quiet_NaN();
    std::string lowFailure, highFailure;

    // |rfHigh - rfLow|; with one end failed its distance from the base case,
    // with both failed 0.
    double Swing(double baseRf) const;
};

struct TornadoResult {
    double baseRf = std::numeric_limits<double>::quiet_NaN();
    std::string baseFailure;
    std::vector<TornadoBar> bars;  // the largest swing first; equal swings in --vary order
    // The abandonment pressure the recovery factors are taken at, bar; 0: at
    // the prediction's end.
    float abandonmentPressureBar = 0.0f;
};

// 2 runs per variation and one of the base case, on options.threads threads,
// each run checked and predicted as a sweep's sample is.
TornadoResult Tornado(const CaseInputs& base, const std::vector<Variation>& variations,
                      const SweepOptions& options);

}  // namespace morvek
