#pragma once
// Oil and gas relative permeabilities: Corey-type power laws set by the
// connate water saturation, the critical gas saturation and the two end-point
// values. The ratio krg/kro drives the producing gas-oil ratio of the depletion
// prediction; the tables show both curves against the oil saturation.
//
// The prediction and the tables normalise the gas saturation differently on
// purpose: the prediction measures the oil saturation from Sgc (so krg reaches
// zero at Sg = Sgc only through the cut-off), the tables from zero.
//
// A case with a laboratory table takes krg and kro from it instead: linear in
// the gas saturation Sg = 1 - SL between the rows, the first row's values
// below it and the last row's above it.

#include <memory>
#include <vector>

#include "model/CaseInputs.h"
#include "pvt/TabulatedPvt.h"

namespace morvek {

// What the ratio was computed from when the liquid saturation fell below the
// connate water saturation (which only a broken prediction reaches).
struct BelowConnateWater {
    double oilSaturation;  // So = SL - Swi, negative
    double krg;            // before the cut-off
    double normalisedSaturation;
};

// krg and kro of a laboratory table as functions of the gas saturation.
class TabulatedRelPerm {
public:
    explicit TabulatedRelPerm(const LabRelPermTable& table);
    double Krg(double gasSaturation) const { return InterpolateClamped(sg_, krg_, gasSaturation); }
    double Kro(double gasSaturation) const { return InterpolateClamped(sg_, kro_, gasSaturation); }
    const std::string& FileName() const { return fileName_; }
    int RowCount() const { return static_cast<int>(sg_.size()); }

private:
    std::vector<double> sg_, krg_, kro_;
    std::string fileName_;
};

class RelPermModel {
public:
    RelPermModel(float connateWaterSaturation, float criticalGasSaturation, float kroMax,
                 float krgMax);
    // The case's Corey model, or its laboratory table when it holds one.
    explicit RelPermModel(const CaseInputs& inputs);

    // krg/kro at the liquid saturation SL = Swi + So of the prediction; fills
    // below when SL < Swi (Corey model only). With a table: infinite where kro
    // is 0 and krg is not (the oil no longer flows), 0 where both are.
    double KrgKro(double liquidSaturation, BelowConnateWater* below = nullptr) const {
        return table_ ? TableKrgKro(liquidSaturation) : CoreyKrgKro(liquidSaturation, below);
    }
    // The two models alone (KrgKro chooses between them).
    double CoreyKrgKro(double liquidSaturation, BelowConnateWater* below = nullptr) const;
    double TableKrgKro(double liquidSaturation) const;

    // The laboratory table, or nullptr for the Corey model.
    const TabulatedRelPerm* Table() const { return table_.get(); }

    float ConnateWaterSaturation() const { return swi_; }
    float CriticalGasSaturation() const { return sgc_; }
    float KroMax() const { return kroMax_; }
    float KrgMax() const { return krgMax_; }

private:
    float swi_, sgc_, kroMax_, krgMax_;
    // Shared: models are copied with every prediction of a sweep.
    std::shared_ptr<const TabulatedRelPerm> table_;
};

inline constexpr double kKrgCutOff = 1e-6;  // smaller gas permeabilities count as none

}  // namespace morvek
