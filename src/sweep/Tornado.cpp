#include "sweep/Tornado.h"

#include <algorithm>
#include <cmath>

#include "depletion/PredictMany.h"

namespace morvek {

double TornadoBar::Swing(double baseRf) const {
    const bool low = !std::isnan(rfLow), high = !std::isnan(rfHigh);
    if (low && high) return std::fabs(rfHigh - rfLow);
    if (std::isnan(baseRf)) return 0.0;
    if (low) return std::fabs(rfLow - baseRf);
    if (high) return std::fabs(rfHigh - baseRf);
    return 0.0;
}

TornadoResult Tornado(const CaseInputs& base, const std::vector<Variation>& variations,
                      const SweepOptions& options) {
    // Run 0 is the base case, then each variation at low and at high.
    const size_t runs = 1 + 2 * variations.size();
    std::vector<OutcomeValues> outcomes(runs);
    std::vector<std::string> failures(runs);
    ParallelFor(runs, options.threads, [&](size_t k) {
        CaseInputs inputs = base;
        if (k > 0) {
            const Variation& v = variations[(k - 1) / 2];
            v.field->Number(inputs) = (k - 1) % 2 == 0 ? v.low : v.high;
        }
        RunSample(inputs, options, outcomes[k], failures[k]);
    });

    // The recovery factor the sweep summarises.
    const size_t rf = static_cast<size_t>(options.HasAbandonment() ? Outcome::RfAbandon
                                                                   : Outcome::RfEnd);
    TornadoResult result;
    result.abandonmentPressureBar = options.HasAbandonment() ? options.abandonmentPressureBar : 0.0f;
    result.baseFailure = failures[0];
    if (failures[0].empty()) result.baseRf = outcomes[0][rf];
    for (size_t j = 0; j < variations.size(); ++j) {
        TornadoBar bar;
        bar.variation = variations[j];
        const size_t low = 1 + 2 * j, high = low + 1;
        bar.lowFailure = failures[low];
        bar.highFailure = failures[high];
        if (failures[low].empty()) bar.rfLow = outcomes[low][rf];
        if (failures[high].empty()) bar.rfHigh = outcomes[high][rf];
        result.bars.push_back(bar);
    }
    std::stable_sort(result.bars.begin(), result.bars.end(),
                     [&](const TornadoBar& a, const TornadoBar& b) {
                         return a.Swing(result.baseRf) > b.Swing(result.baseRf);
                     });
    return result;
}

}  // namespace morvek
