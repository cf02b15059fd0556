#include "match/FitStatistics.h"

#include <ceres/ceres.h>

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

namespace morvek {

double StudentT975(int degreesOfFreedom) {
    const boost::math::students_t_distribution<double> t(degreesOfFreedom);
    return boost::math::quantile(t, 0.975);
}

void EstimateFitStatistics(ceres::Problem& problem, double* u, double finalCost,
                           const std::vector<double>& scales, MatchResult& result) {
    const size_t p = scales.size();
    if (result.degreesOfFreedom <= 0) return;
    ceres::Covariance::Options options;
    options.algorithm_type = ceres::DENSE_SVD;
    options.num_threads = 1;
    ceres::Covariance covariance(options);
    const std::vector<std::pair<const double*, const double*>> blocks = {{u, u}};
    if (!covariance.Compute(blocks, &problem)) return;
    std::vector<double> c(p * p);
    if (!covariance.GetCovarianceBlock(u, u, c.data())) return;
    // Ceres gives (J'J)^-1; the residuals' variance comes from the misfit
    // itself (sum of squares over n - p), then back to the inputs' units.
    const double variance = 2 * finalCost / result.degreesOfFreedom;
    for (size_t i = 0; i < p; ++i)
        for (size_t j = 0; j < p; ++j) c[i * p + j] *= variance * scales[i] * scales[j];
    const double t = StudentT975(result.degreesOfFreedom);
    result.correlation.assign(p, std::vector<double>(p, 0.0));
    for (size_t i = 0; i < p; ++i) {
        FittedInput& f = result.inputs[i];
        f.stdError = std::sqrt(std::max(0.0, c[i * p + i]));
        // An input never leaves its bounds, so neither does its interval: a
        // gas cap found at 0 is 0 to something, not a negative gas cap.
        f.ci95Low = std::max(f.fitted - t * f.stdError, f.bounds.lower);
        f.ci95High = std::min(f.fitted + t * f.stdError, f.bounds.upper);
        f.hasStatistics = std::isfinite(f.stdError);
        for (size_t j = 0; j < p; ++j) {
            const double d = std::sqrt(c[i * p + i] * c[j * p + j]);
            result.correlation[i][j] = d > 0 ? c[i * p + j] / d : (i == j ? 1.0 : 0.0);
        }
    }
}

}  // namespace morvek
