#pragma once
// The statistics of a least-squares fit that Ceres Solver has converged:
// Ceres's covariance at the solution, (J'J)^-1, scaled by the residual
// variance (sum of squares over n - p), gives each fitted value's standard
// error, a 95 % interval (Student's t with n - p degrees of freedom, cut off
// at the value's bounds) and the correlations. The history match and the
// material-balance regression share it.

#include <vector>

#include "match/Match.h"

namespace ceres {
class Problem;
}

namespace morvek {

// u: the parameter block of scaled values (value = u * scale) the problem
// holds; finalCost: Ceres's cost (half the sum of squares). Fills
// result.inputs[i].stdError, ci95Low/High, hasStatistics and
// result.correlation; leaves them empty when the covariance cannot be
// computed (singular) or result.degreesOfFreedom is not above 0.
void EstimateFitStatistics(ceres::Problem& problem, double* u, double finalCost,
                           const std::vector<double>& scales, MatchResult& result);

// The 97.5 % quantile of Student's t distribution: the half-width of a
// two-sided 95 % interval in standard errors.
double StudentT975(int degreesOfFreedom);

}  // namespace morvek
