#include "pvt/WaterProperties.h"

namespace morvek {
namespace {

constexpr double kPsiPerBar = 14.503773773;  // 1 bar = 1e5 Pa, 1 psi = 6894.757 Pa

}  // namespace

double WaterFvfMcCainM3PerSm3(double pressureBar, double temperatureC) {
    const double p = pressureBar * kPsiPerBar;
    const double t = temperatureC * 9.0 / 5.0 + 32.0;
    const double dVwt = -1.0001e-2 + 1.33391e-4 * t + 5.50654e-7 * t * t;
    const double dVwp =
        -1.95301e-9 * p * t - 1.72834e-13 * p * p * t - 3.58922e-7 * p - 2.25341e-10 * p * p;
    return (1.0 + dVwp) * (1.0 + dVwt);
}

}  // namespace morvek
