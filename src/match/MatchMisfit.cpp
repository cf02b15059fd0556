#include "match/MatchMisfit.h"

#include <algorithm>
#include <cmath>

namespace morvek {

PredictedPoint PredictionAt(const PredictionResult& prediction, double np) {
    const std::vector<PredictionStep>& steps = prediction.steps;
    // The first step at or beyond np; Np never falls along the steps.
    const auto after =
        std::lower_bound(steps.begin(), steps.end(), np,
                         [](const PredictionStep& s, double value) { return s.np1000m3 < value; });
    if (after == steps.end()) {
        const PredictionStep& last = steps.back();
        return {last.pressureBar, last.gorSm3PerM3, np > last.np1000m3};
    }
    if (after == steps.begin() || after->np1000m3 == np)
        return {after->pressureBar, after->gorSm3PerM3, false};
    const PredictionStep& before = *(after - 1);
    const double t = (np - before.np1000m3) / (after->np1000m3 - before.np1000m3);
    const double p = before.pressureBar + t * (double(after->pressureBar) - before.pressureBar);
    const double r = before.gorSm3PerM3 + t * (after->gorSm3PerM3 - before.gorSm3PerM3);
    return {p, r, false};
}

int ResidualLayout::Count() const {
    int n = 0;
    for (const MeasuredPoint& row : rows) {
        if (pressureWeight > 0) ++n;
        if (row.hasGor && gorWeight > 0) ++n;
    }
    return n;
}

double ResidualLayout::WeightSum() const {
    double sum = 0;
    for (const MeasuredPoint& row : rows) {
        if (pressureWeight > 0) sum += pressureWeight;
        if (row.hasGor && gorWeight > 0) sum += gorWeight;
    }
    return sum;
}

std::string RowsBeyondEnd(const PredictionResult& prediction,
                          const std::vector<MeasuredPoint>& rows) {
    std::string numbers;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!prediction.steps.empty() && !PredictionAt(prediction, rows[i].np1000m3).beyondEnd)
            continue;
        if (!numbers.empty()) numbers += ", ";
        numbers += std::to_string(i + 1);
    }
    return numbers;
}

bool Residuals(const PredictionResult& prediction, const ResidualLayout& layout, double* out) {
    if (prediction.steps.empty()) return false;
    const double sp = std::sqrt(layout.pressureWeight);
    const double sg = std::sqrt(layout.gorWeight);
    for (const MeasuredPoint& row : layout.rows) {
        const PredictedPoint at = PredictionAt(prediction, row.np1000m3);
        if (at.beyondEnd) return false;
        if (layout.pressureWeight > 0)
            *out++ = sp * (at.pressureBar - row.pressureBar) / row.pressureBar;
        if (row.hasGor && layout.gorWeight > 0)
            *out++ = sg * (at.gorSm3PerM3 - row.gorSm3PerM3) / row.gorSm3PerM3;
    }
    return true;
}

double WeightedRms(const std::vector<double>& residuals, const ResidualLayout& layout) {
    const double weights = layout.WeightSum();
    if (!(weights > 0)) return 0;
    double sum = 0;
    for (double r : residuals) sum += r * r;
    return std::sqrt(sum / weights);
}

}  // namespace morvek
