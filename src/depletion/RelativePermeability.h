#pragma once
// Oil and gas relative permeabilities: Corey-type power laws set by the
// connate water saturation, the critical gas saturation and the two end-point
// values. The ratio krg/kro drives the producing gas-oil ratio of the depletion
// prediction; the tables show both curves against the oil saturation.
//
// The prediction and the tables normalise the gas saturation differently on
// purpose: the prediction measures the oil saturation from Sgc (so krg reaches
// zero at Sg = Sgc only through the cut-off), the tables from zero.

#include "model/CaseInputs.h"

namespace morvek {

// What the ratio was computed from when the liquid saturation fell below the
// connate water saturation (which only a broken prediction reaches).
struct BelowConnateWater {
    double oilSaturation;  // So = SL - Swi, negative
    double krg;            // before the cut-off
    double normalisedSaturation;
};

class RelPermModel {
public:
    RelPermModel(float connateWaterSaturation, float criticalGasSaturation, float kroMax,
                 float krgMax);
    explicit RelPermModel(const CaseInputs& inputs)
        : RelPermModel(inputs.connateWaterSaturation, inputs.criticalGasSaturation, inputs.kroMax,
                       inputs.krgMax) {}

    // krg/kro at the liquid saturation SL = Swi + So of the prediction; fills
    // below when SL < Swi.
    double KrgKro(double liquidSaturation, BelowConnateWater* below = nullptr) const;

    float ConnateWaterSaturation() const { return swi_; }
    float CriticalGasSaturation() const { return sgc_; }
    float KroMax() const { return kroMax_; }
    float KrgMax() const { return krgMax_; }

private:
    float swi_, sgc_, kroMax_, krgMax_;
};

inline constexpr double kKrgCutOff = 1e-6;  // smaller gas permeabilities count as none

}  // namespace morvek
