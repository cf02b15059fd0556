#include "pvt/GasDeviation.h"

#include <cmath>

namespace morvek {
namespace {

constexpr double kPsiPerBar = 14.503;     // the gas side's own conversion, not 14.5038
constexpr double kRankineOffset = 492.0;  // deg F + 460, as everywhere in the program
constexpr double kKelvinOffset = 273.0;   // standard temperature 0 deg C in kelvin
constexpr double kStandardPressureBar = 1.0134;

constexpr double kStartDensity = 0.001;  // reduced density of the first iterate
constexpr double kRestartDensity = 0.6;  // an iterate above 1 starts again from here
constexpr double kConvergedF = 0.0001;   // on 1000 * F(y)
constexpr int kMaxPasses = 30;

double RankineOf(double celsius) {
    return celsius * 9.0 / 5.0 + kRankineOffset;
}

}  // namespace

HallYarborough::HallYarborough(double t)
    : a(0.06125 * t * std::exp(-1.2 * (1.0 - t) * (1.0 - t))),
      b(t * (14.76 - 9.76 * t + 4.58 * t * t)),
      c(t * (90.7 - 242.0 * t + 42.4 * t * t)),  // 242.0, not the 242.2 of the paper
      d(2.18 + 2.82 * t) {}

double HallYarborough::Z(double ppr) const {
    double y = kStartDensity;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        if (y > 1.0) y = kRestartDensity;
        const double oneMinusY = 1.0 - y;
        const double oneMinusY3 = oneMinusY * oneMinusY * oneMinusY;
        // y^d and y^(d-1) from one power: the powers are most of a run's time.
        const double yPowD = std::pow(y, d);
        const double f =
            -a * ppr + (y + y * y + y * y * y - y * y * y * y) / oneMinusY3 - b * y * y + c * yPowD;
        // Tested before the step: a pass that converges leaves y where it is.
        if (std::fabs(1000.0 * f) < kConvergedF) return a * ppr / y;
        const double df = (1.0 + 4.0 * y + 4.0 * y * y - 4.0 * y * y * y + y * y * y * y) /
                              (oneMinusY3 * oneMinusY) -
                          2.0 * b * y + c * d * (yPowD / y);
        y -= f / df;
    }
    // Not converged in 30 passes: the last iterate is still the best estimate
    // of the density, and near the solution it gives a positive z.
    return a * ppr / y;
}

GasAtTemperature::GasAtTemperature(float temperatureC, double ppcCorrectedPsia,
                                   double tpcCorrectedRankine, double molecularWeight,
                                   double standardDensityKgM3)
    : temperatureC_(temperatureC),
      ppcCorrectedPsia_(ppcCorrectedPsia),
      coefficients_(1.0 / (RankineOf(temperatureC_) / tpcCorrectedRankine)),
      standardDensityKgM3_(standardDensityKgM3) {
    const double t = RankineOf(temperatureC_);
    const double m = molecularWeight;
    leeK_ = (9.4 + 0.02 * m) * std::pow(t, 1.5) / (209.0 + 19.0 * m + t);
    leeX_ = 3.5 + 986.0 / t + 0.01 * m;
    leeY_ = 2.4 - 0.2 * leeX_;
}

double GasAtTemperature::Ppr(float pressureBar) const {
    return double(pressureBar) * kPsiPerBar / ppcCorrectedPsia_;
}

double GasAtTemperature::Z(float pressureBar) const {
    return coefficients_.Z(Ppr(pressureBar));
}

double GasAtTemperature::Bg(float pressureBar) const {
    const double p = double(pressureBar);
    const double z = Z(pressureBar);
    return 1.0 /
           ((p / z) * kKelvinOffset / ((temperatureC_ + kKelvinOffset) * kStandardPressureBar));
}

double GasAtTemperature::ViscosityFromBg(double bg) const {
    const double densityGcm3 = standardDensityKgM3_ / bg / 1000.0;            // kg/m3 to g/cm3
    return leeK_ * std::exp(leeX_ * std::pow(densityGcm3, leeY_)) / 10000.0;  // K is in 1e-4 cP
}

}  // namespace morvek
