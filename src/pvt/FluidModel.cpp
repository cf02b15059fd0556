#include "pvt/FluidModel.h"

#include "pvt/WaterProperties.h"

namespace morvek {
namespace {

// The calibration takes Rs at the bubble point of the case's own correlation;
// a case without one (a damaged file) has none, and the live-oil factors are
// then those of gas-free oil.
ViscosityCalibration Calibrate(const CaseInputs& inputs, const OilParameters& oil) {
    const double rsPb =
        IsCorrelationIndex(inputs.correlation) ? Rs(inputs.bubblePointPressureBar, oil) : 0.0;
    return CalibrateViscosity(inputs.oilViscosityAtBubblePointCp, rsPb, float(oil.apiGravity),
                              inputs.bubblePointPressureBar, inputs.temperatureC);
}

}  // namespace

FluidModel::FluidModel(const CaseInputs& inputs, float apiGravity)
    : FluidModel(inputs, apiGravity, MixGas(inputs.gasMolePercent)) {}

FluidModel::FluidModel(const CaseInputs& inputs, float apiGravity, const GasMixture& gas)
    : mixture_(gas),
      gas_(inputs.temperatureC, mixture_.ppcCorrectedPsia, mixture_.tpcCorrectedRankine,
           mixture_.molecularWeight, mixture_.standardDensityKgM3),
      apiGravity_(apiGravity),
      oil_(MakeOilParameters(CorrelationOf(inputs.correlation), apiGravity,
                             mixture_.relativeDensity, inputs.temperatureC,
                             inputs.bubblePointPressureBar)),
      rsAtBubblePoint_(morvek::Rs(oil_.bubblePointPressureBar, oil_)),
      calibration_(Calibrate(inputs, oil_)),
      viscosity_(double(apiGravity) + double(calibration_.apiShift), oil_.temperatureF,
                 inputs.bubblePointPressureBar, rsAtBubblePoint_),
      temperatureC_(inputs.temperatureC) {
    if (inputs.pvtTable && IsValidTable(*inputs.pvtTable)) {
        table_.emplace(*inputs.pvtTable, inputs.bubblePointPressureBar);
        calibration_.applied = false;
    }
}

double FluidModel::Bw(float pressureBar) const {
    if (table_ && table_->HasBw()) return table_->Bw(pressureBar);
    return WaterFvfMcCainM3PerSm3(pressureBar, temperatureC_);
}

}  // namespace morvek
