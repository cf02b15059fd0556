#pragma once
// The gas of the case as one mixture: molecular weight, gravity and the
// pseudo-critical values, computed once from the composition.
// Kay's mixing rule for the pseudo-critical values; Wichert and Aziz, Hydrocarbon
// Processing, May 1972, p. 119, for the correction of sour gas.

#include <array>

#include "model/CaseInputs.h"

namespace morvek {

struct GasMixture {
    std::array<double, kGasComponentCount> enteredPercent{};     // mole percent as entered
    std::array<double, kGasComponentCount> normalisedPercent{};  // scaled to a sum of 100
    double molecularWeight = 0;                                  // kg/kmol
    double relativeDensity = 0;                                  // air = 1
    double standardDensityKgM3 = 0;                              // at 1.033 at and 0 deg C
    double ppcPsia = 0;              // pseudo-critical pressure, Kay's rule
    double tpcRankine = 0;           // pseudo-critical temperature, Kay's rule
    double epsilonRankine = 0;       // Wichert-Aziz temperature correction
    double tpcCorrectedRankine = 0;  // corrected for CO2 and H2S
    double ppcCorrectedPsia = 0;
};

GasMixture MixGas(const std::array<float, kGasComponentCount>& molePercent);

}  // namespace morvek
