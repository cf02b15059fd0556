#pragma once
// The misfit of a prediction against measured rows: at each row's
// cumulative oil the prediction's step path is interpolated linearly in Np
// (pressure, and the step-mean producing gas-oil ratio that report and graph
// show); a row beyond the end of the prediction is compared with its last
// step, as if it had stayed there. Each row gives a relative pressure
// residual, a row with a measured gas-oil ratio also a relative gas-oil-ratio
// residual; each is multiplied by the square root of its weight, so that the
// sum of squares is the weighted misfit.

#include <vector>

#include "depletion/Prediction.h"
#include "model/MeasuredRows.h"

namespace morvek {

struct PredictedPoint {
    double pressureBar = 0;
    double gorSm3PerM3 = 0;
    bool beyondEnd = false;
};

// The prediction at cumulative oil np (1000 m3); the steps must not be empty.
PredictedPoint PredictionAt(const PredictionResult& prediction, double np1000m3);

// Which residuals the rows give with these weights: a pressure residual per
// row when its weight is above zero, a gas-oil-ratio residual per row with a
// measured ratio when that weight is above zero.
struct ResidualLayout {
    std::vector<MeasuredPoint> rows;
    double pressureWeight = 1, gorWeight = 1;
    int Count() const;
    // Sum of the weights of all residuals: the weighted RMS divides by it.
    double WeightSum() const;
};

// Fills residuals (layout.Count() values). False when the prediction has no
// step to compare with.
bool Residuals(const PredictionResult& prediction, const ResidualLayout& layout, double* residuals);

// sqrt(sum of squares / sum of weights): the RMS of the relative residuals,
// weighted.
double WeightedRms(const std::vector<double>& residuals, const ResidualLayout& layout);

}  // namespace morvek
