#include "pvt/GasMixture.h"

#include <cmath>

#include "pvt/GasComponents.h"

namespace morvek {
namespace {

constexpr double kMolWeightAir = 28.964;
// 10330 kp/m2 is 1.033 at; 231504 is 848 kp m/(kmol K) times 273 K.
constexpr double kNormPressureKpM2 = 10330.0;
constexpr double kGasConstantTimesNormT = 231504.0;

}  // namespace

GasMixture MixGas(const std::array<float, kGasComponentCount>& molePercent) {
    GasMixture g;
    double sum = 0.0;
    for (int i = 0; i < kGasComponentCount; ++i) {
        g.enteredPercent[i] = molePercent[i];
        sum += g.enteredPercent[i];
    }
    for (int i = 0; i < kGasComponentCount; ++i)
        g.normalisedPercent[i] = g.enteredPercent[i] * 100.0 / sum;

    double molgewicht = 0.0, ppc = 0.0, tpc = 0.0;
    for (int i = 0; i < kGasComponentCount; ++i) {
        const GasComponent& c = GasComponentTable[i];
        molgewicht += c.molecularWeight * g.normalisedPercent[i] / 100.0;
        ppc += c.criticalPressure * g.normalisedPercent[i] / 100.0;
        tpc += c.criticalTemperature * g.normalisedPercent[i] / 100.0;
    }
    g.standardDensityKgM3 = molgewicht * kNormPressureKpM2 / kGasConstantTimesNormT;
    g.relativeDensity = molgewicht / kMolWeightAir;
    g.molecularWeight = molgewicht;
    g.ppcPsia = ppc;
    g.tpcRankine = tpc;

    // Wichert-Aziz works on the H2S and CO2 percentages as entered, not on the
    // normalised ones.
    const double b = double(molePercent[0]) / 100.0;
    const double a = (double(molePercent[0]) + double(molePercent[1])) / 100.0;
    const double epsilon = 120.0 * (std::pow(a, 0.9) - std::pow(a, 1.6)) +
                           15.0 * (std::pow(b, 0.5) - std::pow(b, 4.0));
    g.epsilonRankine = epsilon;
    g.tpcCorrectedRankine = g.tpcRankine - epsilon;
    g.ppcCorrectedPsia =
        g.ppcPsia * g.tpcCorrectedRankine / (g.tpcRankine + b * (1.0 - b) * epsilon);
    return g;
}

}  // namespace morvek
