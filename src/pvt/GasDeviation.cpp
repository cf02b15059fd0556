// Gas deviation factor, gas formation volume factor and gas viscosity at
// reservoir temperature.
// z factor: Hall and Yarborough (1973), a Newton iteration on the reduced
// density of the Starling-Carnahan equation of state.
// Viscosity: Lee, Gonzalez and Eakin (1966), from the gas density that Bg
// implies.

#include <cmath>

#include "case/MorvekDoc.h"
#include "pvt/CaseConstant.h"

namespace {

constexpr double kPsiPerBar = 14.503;     // the gas side's own conversion, not 14.5038
constexpr double kRankineOffset = 492.0;  // deg F + 460, as everywhere in the program
constexpr double kKelvinOffset = 273.0;   // standard temperature 0 deg C in kelvin
constexpr double kStandardPressureBar = 1.0134;

constexpr double kStartDensity = 0.001;  // reduced density of the first iterate
constexpr double kRestartDensity = 0.6;  // an iterate above 1 starts again from here
constexpr double kConvergedF = 0.0001;   // on 1000 * F(y)
constexpr int kMaxPasses = 30;

// Deviation factor z at the pseudo-reduced pressure and the reciprocal
// pseudo-reduced temperature t.
double HallYarborough(double ppr, double t) {
    const double a = 0.06125 * t * std::exp(-1.2 * (1.0 - t) * (1.0 - t));
    const double b = t * (14.76 - 9.76 * t + 4.58 * t * t);
    const double c = t * (90.7 - 242.0 * t + 42.4 * t * t);  // 242.0, not the 242.2 of the paper
    const double d = 2.18 + 2.82 * t;

    double y = kStartDensity;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        if (y > 1.0) y = kRestartDensity;
        const double oneMinusY = 1.0 - y;
        const double oneMinusY3 = oneMinusY * oneMinusY * oneMinusY;
        // y^d and y^(d-1) from one power: the depletion run evaluates Bg at
        // every pressure step, and the powers are most of its time.
        const double yPowD = std::pow(y, d);
        const double f = -a * ppr + (y + y * y + y * y * y - y * y * y * y) / oneMinusY3 -
                         b * y * y + c * yPowD;
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

}  // namespace

double CMorvekDoc::Bg(float temperatur, float druck) const {
    const double t = double(temperatur);
    const double p = double(druck);
    const double ppr = p * kPsiPerBar / m_PpcKorr;
    const double tpr = (t * 9.0 / 5.0 + kRankineOffset) / m_TpcKorr;
    const double z = HallYarborough(ppr, 1.0 / tpr);
    // Reservoir m3 per standard m3 at 1.0134 bar and 273 K.
    return 1.0 / ((p / z) * kKelvinOffset / ((t + kKelvinOffset) * kStandardPressureBar));
}

double CMorvekDoc::GasViscosity(float druck) const {
    return GasViscosityFromBg(Bg(m_Temperatur, druck));
}

double CMorvekDoc::GasViscosityFromBg(double bg) const {
    const double dichteGcm3 = m_GasNormDichte / bg / 1000.0;  // kg/m3 to g/cm3
    const double t = double(m_Temperatur) * 9.0 / 5.0 + kRankineOffset;
    const double m = m_Molgewicht;
    const double k = CaseConstant(t, m, [t, m] {
        return (9.4 + 0.02 * m) * std::pow(t, 1.5) / (209.0 + 19.0 * m + t);
    });
    const double x = 3.5 + 986.0 / t + 0.01 * m;
    const double y = 2.4 - 0.2 * x;
    return k * std::exp(x * std::pow(dichteGcm3, y)) / 10000.0;  // K is in 1e-4 cP
}
