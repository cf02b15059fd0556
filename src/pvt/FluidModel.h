#pragma once
// The fluids of one case: oil and gas properties as const functions of the
// pressure. Built once from the case's inputs, immutable afterwards, so that
// any number of threads may ask it at once. Pressures are in bar, single
// precision as the case and the prediction hold them.
//
// The properties come from the case's oil correlation and gas composition, or,
// when the case holds a laboratory PVT table, from that table (TabulatedPvt):
// one branch per property, no virtual call on the correlations' path.

#include <optional>

#include "model/CaseInputs.h"
#include "pvt/GasDeviation.h"
#include "pvt/GasMixture.h"
#include "pvt/OilCorrelations.h"
#include "pvt/OilViscosity.h"
#include "pvt/TabulatedPvt.h"

namespace morvek {

class FluidModel {
public:
    // The fluids of the case with the API gravity the run uses (the case's,
    // or one back-calculated from the measured initial gas-oil ratio).
    FluidModel(const CaseInputs& inputs, float apiGravity);
    // The same with the gas mixture given (as the case's composition gives it,
    // or a gas of a known gravity where only that is known).
    FluidModel(const CaseInputs& inputs, float apiGravity, const GasMixture& gas);
    explicit FluidModel(const CaseInputs& inputs) : FluidModel(inputs, inputs.apiGravity) {}

    // sm3/m3. Above the bubble point the correlations take the bubble point's
    // pressure, so the value there is the one computed once.
    double Rs(float pressureBar) const {
        return table_ ? table_->Rs(pressureBar) : CorrelationRs(pressureBar);
    }
    // Oil formation volume factor, m3/sm3; with rs = Rs(p) when the caller has it.
    double Bo(float pressureBar, double rs) const {
        return table_ ? table_->Bo(pressureBar) : morvek::Bo(pressureBar, rs, oil_);
    }
    double Bo(float pressureBar) const { return Bo(pressureBar, Rs(pressureBar)); }
    double Co(float pressureBar, double rs) const {  // 1/bar
        return table_ ? table_->Co(pressureBar) : OilCompressibility(pressureBar, rs, oil_);
    }
    double Co(float pressureBar) const { return Co(pressureBar, Rs(pressureBar)); }
    double OilViscosity(float pressureBar, double rs) const {  // cP
        return table_ ? table_->OilViscosity(pressureBar) : viscosity_.Viscosity(pressureBar, rs);
    }
    double OilViscosity(float pressureBar) const {
        return OilViscosity(pressureBar, Rs(pressureBar));
    }
    // z factor of the gas composition (a PVT table holds none).
    double Z(float pressureBar) const { return gas_.Z(pressureBar); }
    double Bg(float pressureBar) const {  // m3/sm3
        return table_ ? table_->Bg(pressureBar) : gas_.Bg(pressureBar);
    }
    // Gas viscosity in cP at the pressure, with bg = Bg(p) (the correlation
    // computes it from the gas density that Bg implies).
    double GasViscosity(float pressureBar, double bg) const {
        return table_ ? table_->GasViscosity(pressureBar) : gas_.ViscosityFromBg(bg);
    }
    double GasViscosity(float pressureBar) const {
        return GasViscosity(pressureBar, Bg(pressureBar));
    }

    // Vaporised oil-gas ratio, m3 of stock-tank oil per sm3 of gas: from a PVT
    // table's Rv column, 0 (a black oil) without one.
    double Rv(float pressureBar) const { return table_ ? table_->Rv(pressureBar) : 0.0; }
    bool HasRv() const { return table_ && table_->HasRv(); }
    // Water formation volume factor, m3/sm3: from a PVT table's Bw column, or
    // McCain's correlation at the reservoir temperature (WaterProperties.h).
    double Bw(float pressureBar) const;

    // The laboratory table the properties come from, or nullptr for the
    // correlations.
    const TabulatedPvt* Table() const { return table_ ? &*table_ : nullptr; }

    // The correlations alone, for a caller that has seen Table() is nullptr
    // and asks thousands of times (the prediction's steps).
    double CorrelationRs(float pressureBar) const {
        return pressureBar >= oil_.bubblePointPressureBar ? rsAtBubblePoint_
                                                          : morvek::Rs(pressureBar, oil_);
    }
    double CorrelationBo(float pressureBar, double rs) const {
        return morvek::Bo(pressureBar, rs, oil_);
    }
    double CorrelationOilViscosity(float pressureBar, double rs) const {
        return viscosity_.Viscosity(pressureBar, rs);
    }
    double CorrelationBg(float pressureBar) const { return gas_.Bg(pressureBar); }
    double GasViscosityFromBg(double bg) const { return gas_.ViscosityFromBg(bg); }

    const GasMixture& Gas() const { return mixture_; }
    const GasAtTemperature& GasAtReservoirTemperature() const { return gas_; }
    const OilParameters& Oil() const { return oil_; }
    float ApiGravity() const { return apiGravity_; }
    // Not applied with a PVT table, whose oil viscosity is measured.
    const ViscosityCalibration& Calibration() const { return calibration_; }

private:
    GasMixture mixture_;
    GasAtTemperature gas_;
    float apiGravity_;
    OilParameters oil_;
    double rsAtBubblePoint_;
    ViscosityCalibration calibration_;
    OilViscosityModel viscosity_;
    std::optional<TabulatedPvt> table_;
    float temperatureC_;
};

}  // namespace morvek
