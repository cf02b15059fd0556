#pragma once
// Measured rows made by the program itself: points of a case's own
// prediction, written as a user would type them.

#include <random>
#include <string>
#include <vector>

#include "base/Format.h"
#include "depletion/Prediction.h"

// count rows at steps spread evenly over the prediction as long as a field
// produces: down to 40 % of the bubble point and up to a producing gas-oil
// ratio of four times the initial one;
// every row with its gas-oil ratio, or every third with the pressure only.
// With random, each pressure and gas-oil ratio is multiplied by a factor
// drawn uniformly from [1 - noise, 1 + noise].
inline std::vector<std::string> SampledRows(const morvek::CaseInputs& in, int count,
                                            bool gorEveryRow, std::mt19937* random, double noise) {
    const morvek::PredictionResult r = morvek::PredictCase(in);
    size_t last = 0;
    while (last + 1 < r.steps.size() &&
           r.steps[last + 1].pressureBar >= 0.4f * in.bubblePointPressureBar &&
           r.steps[last + 1].gorSm3PerM3 <= 4 * r.rsi)
        ++last;
    std::uniform_real_distribution<double> factor(1.0 - noise, 1.0 + noise);
    std::vector<std::string> rows;
    for (int i = 1; i <= count; ++i) {
        const morvek::PredictionStep& s = r.steps[last * static_cast<size_t>(i) / count];
        double p = s.pressureBar, gor = s.gorSm3PerM3;
        if (random != nullptr) {
            p *= factor(*random);
            gor *= factor(*random);
        }
        if (gorEveryRow || i % 3 != 0)
            rows.push_back(Format("%.9g %.9g %.9g", s.np1000m3, p, gor));
        else
            rows.push_back(Format("%.9g %.9g", s.np1000m3, p));
    }
    return rows;
}
