#include "views/ChartAxis.h"

#include <algorithm>
#include <cmath>

#include "views/Grafik.h"
#include "views/Truncate.h"

namespace {

constexpr double kMinStepPerMagnitude = 1e-6;
constexpr double kFlatShare = 1e-3;

}  // namespace

// Ends and ticks from the data's range by the graph page's rules (the step
// from CGrafik::delta, the first tick from CGrafik::start), flat data widened
// by a step on each side.
ChartAxis NiceAxis(double lo, double hi) {
    ChartAxis a;
    if (!(std::isfinite(lo) && std::isfinite(hi))) return a;
    // Values (nearly) all the same, as the recovery factors of a sweep of the
    // oil in place alone: an axis of a percent of their size around them, so
    // that its tick labels still differ.
    const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
    if (hi - lo < kFlatShare * magnitude || magnitude == 0.0) {
        const double centre = (lo + hi) / 2, half = magnitude > 0 ? kFlatShare * 5 * magnitude : 1;
        lo = centre - half;
        hi = centre + half;
    }
    a.step = CGrafik::delta(hi - lo);
    // Values that differ in their last digits only (recovery factors of an
    // oil-in-place sweep) would get a step lost beside them, and the first
    // tick would be sought by billions of additions: as the graph does, step
    // by at least a millionth of their magnitude.
    const double minimum = magnitude * kMinStepPerMagnitude;
    if (a.step < minimum) a.step = CGrafik::delta(10.0 * minimum);
    a.first = CGrafik::start(lo, a.step);
    a.min = std::min(lo, a.first);
    double t = a.first;
    for (int guard = 0; hi - 1e-9 * std::fabs(hi) > t && guard < 1000; ++guard) t += a.step;
    a.max = t;
    if (a.max <= a.min) {
        a.min -= a.step;
        a.max += a.step;
        a.first = a.min;
    }
    return a;
}

int32_t AxisX(const ChartAxis& a, double v, int32_t width) {
    return TruncateToInt32(width * (v - a.min) / (a.max - a.min));
}
int32_t AxisY(const ChartAxis& a, double v, int32_t height) {
    return TruncateToInt32(height * (v - a.min) / (a.max - a.min) - height);
}

