#pragma once
// The misfit of a prediction against measured rows: at each row's
// cumulative oil the prediction's step path is interpolated linearly in Np
// (pressure, and the step-mean producing gas-oil ratio that report and graph
// show). A row beyond the end of the prediction has no computed values: the
// prediction never reached its oil, and such a point has no misfit at all
// (a match does not start there and never ends there). Each row gives a
// relative pressure residual, a row with a measured gas-oil ratio also a
// relative gas-oil-ratio residual; each is multiplied by the square root of
// its weight, so that the sum of squares is the weighted misfit.
//
// The match predicts with a step exactly where the gas starts to flow
// (StepControl::stepAtGasOnset), so that the interpolated values, and with
// them the misfit, are continuous functions of the inputs.

#include <string>
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
// Beyond the last step: that step's values, with beyondEnd.
PredictedPoint PredictionAt(const PredictionResult& prediction, double np1000m3);

// How the match predicts: with a step at the gas-flow onset.
inline constexpr StepControl kMatchStepControl{true};

// The 1-based numbers of the rows beyond the end of the prediction, "3, 7, 8".
std::string RowsBeyondEnd(const PredictionResult& prediction, const std::vector<MeasuredPoint>& rows);

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
// step to compare with or ends before a row's oil.
bool Residuals(const PredictionResult& prediction, const ResidualLayout& layout, double* residuals);

// sqrt(sum of squares / sum of weights): the RMS of the relative residuals,
// weighted.
double WeightedRms(const std::vector<double>& residuals, const ResidualLayout& layout);

}  // namespace morvek
