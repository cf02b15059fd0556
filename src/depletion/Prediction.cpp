#include "depletion/Prediction.h"

#include <cmath>

#include "base/RunValues.h"
#include "pvt/OilGravityCheck.h"

namespace morvek {
namespace {

// Above the bubble point the pressure reaches pb in this many steps; below it
// the steps are pb/400, or pb/500 from the start when pi is pb.
constexpr int kStepsToBubblePoint = 100;
constexpr float kStepsBelowBubblePoint = 400.0f;
constexpr float kStepsFromBubblePoint = 500.0f;
// A prediction takes about this many steps; reserved up front.
constexpr size_t kExpectedSteps = 520;

constexpr float kLowestPressureBar = 1.0f;  // the prediction ends at 1 bar
constexpr int kMaxIdleSteps = 10;           // steps without production before giving up
constexpr int kMaxInnerPasses = 10;
constexpr double kGorTolerance = 0.001;  // sm3/m3 change of the step-average ratio
// Halvings of a step in search of the pressure where gas starts to flow: more
// than a single-precision pressure step has.
constexpr int kMaxOnsetBisections = 40;

}  // namespace

Reservoir Reservoir::Of(const CaseInputs& in) {
    Reservoir r;
    r.ooip1000m3 = in.ooip1000m3;
    r.initialPressureBar = in.initialPressureBar;
    r.bubblePointPressureBar = in.bubblePointPressureBar;
    r.gasCapRatio = in.gasCapRatio;
    r.poreCompressibilityPerBar = in.poreCompressibilityPerBar;
    r.waterCompressibilityPerBar = in.waterCompressibilityPerBar;
    return r;
}

namespace {

// The fluids at the pressure of a step.
struct StepFluids {
    FluidState state;  // Bo, Rs, Bg, Rv
    double oilViscosityCp = 0;
    double gasViscosityCp = 0;
};

// What the steps carry from one to the next.
struct StepState {
    float pressureBar = 0;  // p of the step
    float stepBar = 0;      // the pressure decrement
    int index = 0;
    int negativeSteps = 0;  // steps whose balance asked for negative oil
    int idleSteps = 0;      // steps without production
    double np1000m3 = 0;
    double gp1000Sm3 = 0;
    double balanceRatio = 1.0;  // F / (N Et) of the last step below pi
    double gorStart = 0;        // producing gas-oil ratio at the start of the step, sm3/m3
    double gorEnd = 0;          // ... at its end
    double gorMean = 0;         // step mean of the last inner pass
    double liquidSaturation = 1.0;  // SL at the end of the step
    double krgKro = 0;              // at SL
    RunQuantity failed = RunQuantity::None;  // the quantity that ended the run
    bool tableEndReached = false;
};

// The state at the initial pressure, taken at the first step.
struct InitialState {
    FluidState fluid;  // Boi, Rsi, Bgi, Rvi
    double gasCap1000Sm3 = 0;
    double efwPerBar = 0;  // Efw per bar of drawdown
};

// The steps of the prediction. kLab: the case may use a laboratory table or a
// compressibility; without them (kLab false) the steps call the correlations
// and the Corey model directly, exactly as they always have, without one test
// of a table on their path, and their balance drops the oil term Bo - Rs Bg
// where it is negative, as it always has (docs/engine.md: where that acts).
template <bool kLab>
class Stepper {
public:
    Stepper(const FluidModel& fluid, const RelPermModel& relPerm, const Reservoir& reservoir,
            const StepControl& control)
        : fluid_(fluid),
          control_(control),
          relPerm_(relPerm),
          pi_(reservoir.initialPressureBar),
          pb_(reservoir.bubblePointPressureBar),
          ooip_(reservoir.ooip1000m3),
          swi_(relPerm.ConnateWaterSaturation()),
          gasCapRatio_(reservoir.gasCapRatio),
          cf_(reservoir.poreCompressibilityPerBar),
          cw_(reservoir.waterCompressibilityPerBar),
          rockAndWater_(kLab && (cf_ != 0.0 || cw_ != 0.0)),
          relPermTable_(kLab && relPerm.Table() != nullptr),
          vaporisedOil_(kLab && fluid.HasRv()) {}

    PredictionResult Run() {
        out_.steps.reserve(kExpectedSteps);
        out_.ooip1000m3 = ooip_;
        // A laboratory PVT table is not extrapolated: the run ends at its
        // lowest pressure, and does not start outside it.
        if constexpr (kLab) {
            if (const TabulatedPvt* t = fluid_.Table()) {
                table_ = true;
                tableLowest_ = t->LowestPressureBar();
                out_.lowestTablePressureBar = tableLowest_;
                out_.highestTablePressureBar = t->HighestPressureBar();
                if (pi_ > t->HighestPressureBar() || pi_ < tableLowest_) {
                    out_.stopReason = StopReason::OutsidePvtTable;
                    return std::move(out_);
                }
            }
        }
        StepState& s = state_;
        s.stepBar = pi_ > pb_ ? (pi_ - pb_) / static_cast<float>(kStepsToBubblePoint)
                              : pb_ / kStepsFromBubblePoint;
        s.pressureBar = pi_;
        while (s.negativeSteps < 1 && s.idleSteps < kMaxIdleSteps &&
               s.pressureBar > kLowestPressureBar && ooip_ > s.np1000m3 && !s.tableEndReached) {
            if (pi_ > pb_ && s.index == kStepsToBubblePoint) s.stepBar = pb_ / kStepsBelowBubblePoint;
            if (!Step()) break;
            NextPressure();
        }
        Finish();
        return std::move(out_);
    }

private:
    StepFluids FluidsAt(float p) const {
        StepFluids f;
        FluidState& st = f.state;
        if constexpr (kLab) {
            st.rs = fluid_.Rs(p);
            st.bo = fluid_.Bo(p, st.rs);
            f.oilViscosityCp = fluid_.OilViscosity(p, st.rs);
            st.bg = fluid_.Bg(p);
            f.gasViscosityCp = fluid_.GasViscosity(p, st.bg);
            if (vaporisedOil_) st.rv = fluid_.Rv(p);
        } else {
            st.rs = fluid_.CorrelationRs(p);
            st.bo = fluid_.CorrelationBo(p, st.rs);
            f.oilViscosityCp = fluid_.CorrelationOilViscosity(p, st.rs);
            st.bg = fluid_.CorrelationBg(p);
            f.gasViscosityCp = fluid_.GasViscosityFromBg(st.bg);
        }
        return f;
    }

    // The initial state at the first step; false when the gas cap has no value.
    bool TakeInitialState(const StepFluids& f) {
        StepState& s = state_;
        initial_.fluid = f.state;
        s.gorStart = f.state.rs;
        s.gorEnd = f.state.rs;
        const double gasCap = InitialGasCapMioSm3(ooip_, f.state.bo, gasCapRatio_, f.state.bg);
        if (!IsMeaningful(gasCap)) {
            s.failed = RunQuantity::GasCap;
            return false;
        }
        initial_.gasCap1000Sm3 = 1000.0 * gasCap;
        out_.initialStateTaken = true;
        out_.rsi = f.state.rs;
        out_.boi = f.state.bo;
        out_.bgi = f.state.bg;
        out_.rvi = f.state.rv;
        out_.initialGasCapMioSm3 = gasCap;
        if (rockAndWater_)
            initial_.efwPerBar =
                RockAndWaterExpansionPerBarM3PerM3(f.state.bo, gasCapRatio_, swi_, cw_, cf_);
        return true;
    }

    // The liquid saturation when np of oil and gp of gas have left.
    double LiquidSaturation(const FluidState& now, double np, double gp, double drawdown) const {
        const double boi = initial_.fluid.bo;
        if constexpr (!kLab) {
            return swi_ + (1.0 - np / ooip_) * (now.bo / boi) * (1.0 - swi_);
        } else {
            const double share =
                OilVolumeShare(now, initial_.fluid, ooip_, initial_.gasCap1000Sm3, np, gp);
            // The oil and the expanded connate water in the compacted pore
            // volume: SL stays 1 above the bubble point.
            if (rockAndWater_)
                return (share * (1.0 - swi_) + swi_ * (1.0 + cw_ * drawdown)) /
                       (1.0 - cf_ * drawdown);
            return swi_ + share * (1.0 - swi_);
        }
    }

    // The fluids at p and the first of them without a meaningful value.
    RunQuantity CheckedFluidsAt(float p, StepFluids& f) const {
        f = FluidsAt(p);
        const FluidState& now = f.state;
        const RunQuantity failed = FirstMeaningless({{RunQuantity::Rs, now.rs},
                                                     {RunQuantity::Bo, now.bo},
                                                     {RunQuantity::OilViscosity, f.oilViscosityCp},
                                                     {RunQuantity::Bg, now.bg, true},
                                                     {RunQuantity::GasViscosity, f.gasViscosityCp}});
        if (failed == RunQuantity::None && vaporisedOil_ &&
            !(now.rv >= 0.0 && PhaseSplitDivisor(now) > 0.0))
            return RunQuantity::VaporisedOil;
        return failed;
    }

    // One step at the state's pressure; false when the run ends in it.
    bool Step() {
        StepState& s = state_;
        StepFluids f;
        s.failed = CheckedFluidsAt(s.pressureBar, f);
        if (s.failed != RunQuantity::None) return false;
        // The initial state is taken at the step with index 0; comparing p
        // with pi instead would repeat it on every step whose pressure change
        // is lost in single precision.
        if (s.index == 0 && !TakeInitialState(f)) return false;
        if (control_.stepAtGasOnset && s.index > 0 && s.krgKro == 0.0 && !StepToGasOnset(f))
            return false;
        PredictionStep step;
        if (!Solve(f, s, true, step)) return false;
        out_.steps.push_back(step);
        return true;
    }

    // Where gas starts to flow within the step to the state's pressure p: a
    // step exactly at the lowest pressure at which the oil, produced with its
    // solution gas alone, leaves no mobile gas; after it the producing gas-oil
    // ratio starts from its value with the gas flowing (the Corey model's krg
    // jumps from 0 there). The step to p then follows. Nothing happens when
    // the gas does not start to flow in this step.
    bool StepToGasOnset(const StepFluids& atP) {
        const float p = state_.pressureBar;
        const float above = out_.steps.back().pressureBar;
        double ratioAtFlows = 0;
        if (!MobileGasAt(atP, p, ratioAtFlows)) return true;
        // Halve the step until the two pressures are neighbours.
        float flows = p, still = above;
        StepFluids atFlows = atP;
        for (int i = 0; i < kMaxOnsetBisections; ++i) {
            const float mid = flows + (still - flows) / 2.0f;
            if (!(mid > flows && mid < still)) break;
            StepFluids f;
            if (CheckedFluidsAt(mid, f) != RunQuantity::None) return true;
            double ratio = 0;
            if (MobileGasAt(f, mid, ratio)) {
                flows = mid;
                atFlows = f;
                ratioAtFlows = ratio;
            } else {
                still = mid;
            }
        }
        StepState& s = state_;
        if (still < above) {
            // The step to the onset, without gas flowing.
            StepFluids f;
            s.failed = CheckedFluidsAt(still, f);
            if (s.failed != RunQuantity::None) return false;
            s.pressureBar = still;
            PredictionStep step;
            if (!Solve(f, s, true, step, false)) return false;
            out_.steps.push_back(step);
            s.pressureBar = p;
        }
        // The gas-oil ratio jumps at the onset: a second point there with the
        // ratio of the gas flowing, as it does just below, from which the
        // next step starts. The path of the steps then holds the jump where
        // it is, whichever steps lie around it.
        const double flowing = ProducingGorSm3PerM3(atFlows.state, ratioAtFlows,
                                                    atFlows.oilViscosityCp, atFlows.gasViscosityCp);
        PredictionStep jump = out_.steps.back();
        jump.gorSm3PerM3 = jump.gorEndSm3PerM3 = flowing;
        jump.krgKro = ratioAtFlows;
        out_.steps.push_back(jump);
        s.gorStart = s.gorEnd = flowing;
        return true;
    }

    // Whether the step to q (fluids f), with the oil produced with its
    // solution gas alone, leaves gas that flows, and its krg/kro then.
    bool MobileGasAt(const StepFluids& f, float q, double& ratio) {
        StepState trial = state_;
        trial.pressureBar = q;
        PredictionStep step;
        if (!Solve(f, trial, false, step, false)) return false;
        ratio = kLab ? relPerm_.KrgKro(trial.liquidSaturation)
                     : relPerm_.CoreyKrgKro(trial.liquidSaturation);
        return ratio > 0.0 && std::isfinite(ratio);
    }

    // Solves the step from state s to the pressure of s with the fluids f:
    // the oil the balance asks for, the gas that leaves with it, the
    // saturation and the producing gas-oil ratio; fills step. record: the
    // events go to the result (a trial step records none); gasMayFlow false:
    // the oil leaves with its solution gas alone. False when the run ends in
    // the step.
    bool Solve(const StepFluids& f, StepState& s, bool record, PredictionStep& step,
               bool gasMayFlow = true) {
        const float p = s.pressureBar;
        const FluidState& now = f.state;
        const double muo = f.oilViscosityCp, mug = f.gasViscosityCp;
        const FluidState& initial = initial_.fluid;

        // Reservoir volume withdrawn per m3 of oil and per sm3 of gas produced.
        double oilTerm = OilWithdrawalM3PerSm3(now);
        if constexpr (!kLab) {
            if (oilTerm < 0.0) oilTerm = 0.0;
        }
        const double gasTerm = GasWithdrawalM3PerSm3(now);
        // The pressure drop below pi in double precision (p is single).
        const double drawdown = double(pi_) - double(p);
        const double efw = rockAndWater_ ? initial_.efwPerBar * drawdown : 0.0;
        const double et = TotalExpansionEtM3PerM3(now, initial, gasCapRatio_, efw);

        if (record && et < 0.0 && now.rs == initial.rs && now.bo < initial.bo)
            out_.events.push_back({s.index, PredictionEventKind::BubblePointTooLow, muo});

        double dnp = 0.0;
        double difference = 1.0;
        for (int pass = 0; pass < kMaxInnerPasses && difference > kGorTolerance; ++pass) {
            const double gorMeanBefore = (s.gorStart + s.gorEnd) / 2.0;
            dnp = (ooip_ * et - s.np1000m3 * oilTerm - s.gp1000Sm3 * gasTerm) /
                  (gasTerm * gorMeanBefore + oilTerm);
            if (!IsMeaningful(dnp)) {
                s.failed = RunQuantity::OilProduction;
                break;
            }
            if (dnp < 0.0) {
                if (record)
                    out_.events.push_back(
                        {s.index, PredictionEventKind::NegativeOilProduction, dnp});
                ++s.negativeSteps;
                break;
            }
            if (s.np1000m3 + dnp > ooip_) {
                if (record)
                    out_.events.push_back({s.index, PredictionEventKind::OilInPlaceExceeded,
                                           s.np1000m3 + dnp, ooip_});
                dnp = ooip_ - s.np1000m3;
                break;
            }
            s.liquidSaturation = LiquidSaturation(now, s.np1000m3 + dnp,
                                                  s.gp1000Sm3 + gorMeanBefore * dnp, drawdown);
            BelowConnateWater below{};
            below.oilSaturation = 0.0;
            if (!gasMayFlow)
                s.krgKro = 0.0;
            else
                s.krgKro = kLab ? relPerm_.KrgKro(s.liquidSaturation, &below)
                                : relPerm_.CoreyKrgKro(s.liquidSaturation, &below);
            if (relPermTable_ && std::isinf(s.krgKro)) {
                s.failed = RunQuantity::OilImmobile;
                break;
            }
            if (record && below.oilSaturation < 0.0 && out_.liquidBelowConnateWaterCount++ == 0)
                out_.events.push_back({s.index, PredictionEventKind::LiquidBelowConnateWater,
                                       below.oilSaturation, below.krg,
                                       below.normalisedSaturation});
            s.gorEnd = ProducingGorSm3PerM3(now, s.krgKro, muo, mug);
            s.gorMean = (s.gorStart + s.gorEnd) / 2.0;
            difference = std::fabs(s.gorMean - gorMeanBefore);
        }
        if (s.failed != RunQuantity::None) return false;

        if (dnp > 0.0) {
            s.np1000m3 += dnp;
            s.gp1000Sm3 += s.gorMean * dnp;
        } else {
            ++s.idleSteps;
        }
        const double so = s.liquidSaturation - swi_;
        s.failed = FirstMeaningless({{RunQuantity::OilProduction, s.np1000m3},
                                     {RunQuantity::GasProduction, s.gp1000Sm3},
                                     {RunQuantity::Gor, s.gorMean},
                                     {RunQuantity::OilSaturation, so},
                                     {RunQuantity::KrgKro, s.krgKro}});
        if (s.failed != RunQuantity::None) return false;
        if (p < pi_)
            s.balanceRatio = (s.np1000m3 * oilTerm + s.gp1000Sm3 * gasTerm) / (ooip_ * et);
        s.gorStart = s.gorEnd;

        step.index = s.index;
        step.pressureBar = p;
        step.np1000m3 = s.np1000m3;
        step.gp1000Sm3 = s.gp1000Sm3;
        step.gorSm3PerM3 = s.gorMean;
        step.gorEndSm3PerM3 = s.gorEnd;
        step.oilSaturation = so;
        step.gasSaturation = 1.0 - s.liquidSaturation;
        step.bo = now.bo;
        step.oilViscosityCp = muo;
        step.rs = now.rs;
        step.bg = now.bg;
        step.rv = now.rv;
        step.gasViscosityCp = mug;
        step.krgKro = s.krgKro;
        step.eo = OilExpansionEoM3PerM3(now, initial);
        step.eg = GasCapExpansionEgM3PerM3(now, initial);
        step.efw = efw;
        step.et = et;
        step.withdrawal1000m3 = WithdrawalF1000m3(now, s.np1000m3, s.gp1000Sm3);
        step.converged = !(difference > kGorTolerance);
        return true;
    }

    void NextPressure() {
        StepState& s = state_;
        if (table_ && s.pressureBar <= tableLowest_) {
            s.tableEndReached = true;
        } else {
            s.pressureBar = s.pressureBar - s.stepBar;
            // The last step lies exactly at the table's lowest pressure.
            if (table_ && s.pressureBar < tableLowest_) s.pressureBar = tableLowest_;
        }
        ++s.index;
    }

    void Finish() {
        const StepState& s = state_;
        if (s.failed != RunQuantity::None) {
            out_.stopReason = StopReason::NoMeaningfulValue;
            out_.failedQuantity = s.failed;
            out_.failedPressureBar = s.pressureBar;
        } else if (s.tableEndReached) {
            out_.stopReason = StopReason::LowestTablePressure;
        } else if (s.negativeSteps >= 1) {
            out_.stopReason = StopReason::NegativeOilProduction;
        } else if (s.idleSteps >= kMaxIdleSteps) {
            out_.stopReason = StopReason::NoProduction;
        } else if (!(s.pressureBar > kLowestPressureBar)) {
            out_.stopReason = StopReason::LowestPressure;
        } else {
            out_.stopReason = StopReason::OilInPlaceProduced;
        }
        out_.balanceRatio = s.balanceRatio;
    }

    const FluidModel& fluid_;
    const StepControl control_;
    const RelPermModel& relPerm_;
    const float pi_, pb_;
    const double ooip_, swi_, gasCapRatio_, cf_, cw_;
    const bool rockAndWater_, relPermTable_, vaporisedOil_;
    bool table_ = false;
    float tableLowest_ = 0.0f;
    InitialState initial_;
    StepState state_;
    PredictionResult out_;
};

}  // namespace

bool UsesLaboratoryPath(const CaseInputs& in) {
    return (in.pvtTable && IsValidTable(*in.pvtTable)) ||
           (in.relPermTable && IsValidTable(*in.relPermTable)) ||
           in.poreCompressibilityPerBar != 0.0f || in.waterCompressibilityPerBar != 0.0f;
}

PredictionResult Predict(const FluidModel& fluid, const RelPermModel& relPerm,
                         const Reservoir& reservoir, const StepControl& control) {
    const bool lab = fluid.Table() != nullptr || relPerm.Table() != nullptr ||
                     reservoir.poreCompressibilityPerBar != 0.0 ||
                     reservoir.waterCompressibilityPerBar != 0.0;
    return lab ? Stepper<true>(fluid, relPerm, reservoir, control).Run()
               : Stepper<false>(fluid, relPerm, reservoir, control).Run();
}

FluidModel FluidOfCase(const CaseInputs& inputs, const RunOptions& options) {
    if (!options.useApiFromInitialGor) return FluidModel(inputs);
    const GasMixture gas = MixGas(inputs.gasMolePercent);
    const ApiFromInitialGor found = BackCalculateApi(inputs, gas.relativeDensity);
    return FluidModel(inputs, ApiForRun(inputs, found, true), gas);
}

PredictionResult PredictCase(const CaseInputs& inputs, const RunOptions& options,
                             const StepControl& control) {
    return Predict(FluidOfCase(inputs, options), RelPermModel(inputs), Reservoir::Of(inputs),
                   control);
}

}  // namespace morvek
