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

double InitialGasCapMioSm3(double ooip, double boi, double gaskappe, double bgi) {
    return 0.001 * ooip * boi * gaskappe / bgi;
}

namespace {

// The steps of the prediction. kLab: the case may use a laboratory table or a
// compressibility; without them (kLab false) the steps call the correlations
// and the Corey model directly, exactly as they always have, without one test
// of a table on their path.
template <bool kLab>
PredictionResult PredictSteps(const FluidModel& fluid, const RelPermModel& relPerm,
                              const Reservoir& reservoir) {
    PredictionResult out;
    out.steps.reserve(kExpectedSteps);
    const float pi = reservoir.initialPressureBar;
    const float pb = reservoir.bubblePointPressureBar;
    const double ooip = reservoir.ooip1000m3;  // N, 1000 m3
    const double swi = relPerm.ConnateWaterSaturation();
    const double gaskappe = reservoir.gasCapRatio;
    out.ooip1000m3 = ooip;
    // Connate water and pore volume: Efw = efwPerBar (pi - p) once Boi is known.
    const double cf = reservoir.poreCompressibilityPerBar;
    const double cw = reservoir.waterCompressibilityPerBar;
    const bool rockAndWater = kLab && (cf != 0.0 || cw != 0.0);
    double efwPerBar = 0.0;
    // A laboratory PVT table is not extrapolated: the run ends at its lowest
    // pressure, and does not start outside it.
    bool table = false;
    float tableLowest = 0.0f;
    if constexpr (kLab) {
        if (const TabulatedPvt* t = fluid.Table()) {
            table = true;
            tableLowest = t->LowestPressureBar();
            out.lowestTablePressureBar = tableLowest;
            out.highestTablePressureBar = t->HighestPressureBar();
            if (pi > t->HighestPressureBar() || pi < tableLowest) {
                out.stopReason = StopReason::OutsidePvtTable;
                return out;
            }
        }
    }
    const bool relPermTable = kLab && relPerm.Table() != nullptr;
    bool tableEndReached = false;

    float dp =
        pi > pb ? (pi - pb) / static_cast<float>(kStepsToBubblePoint) : pb / kStepsFromBubblePoint;

    float p = pi;
    int j = 0;
    int abort = 0;
    int idle = 0;
    double np = 0.0;  // cumulative oil, 1000 m3
    double gp = 0.0;  // cumulative gas, 1000 sm3
    double f = 1.0;   // material-balance ratio of the last step below pi
    double rsi = 0.0, boi = 0.0, bgi = 0.0;
    double rPrev = 0.0;  // producing gas-oil ratio at the start of the step
    double r = 0.0;      // ... and at its end, sm3/m3
    double rMean = 0.0;  // step average of the last inner pass
    double sl = 1.0;     // liquid saturation at the end of the step
    double ratio = 0.0;  // krg/kro at sl
    // The quantity that ended the run because it could not be computed.
    const char* failed = nullptr;

    while (abort < 1 && idle < kMaxIdleSteps && p > kLowestPressureBar && ooip > np &&
           !tableEndReached) {
        if (pi > pb && j == kStepsToBubblePoint) dp = pb / kStepsBelowBubblePoint;

        double rs, bo, muo, bg, mug;
        if constexpr (kLab) {
            rs = fluid.Rs(p);
            bo = fluid.Bo(p, rs);
            muo = fluid.OilViscosity(p, rs);
            bg = fluid.Bg(p);
            mug = fluid.GasViscosity(p, bg);
        } else {
            rs = fluid.CorrelationRs(p);
            bo = fluid.CorrelationBo(p, rs);
            muo = fluid.CorrelationOilViscosity(p, rs);
            bg = fluid.CorrelationBg(p);
            mug = fluid.GasViscosityFromBg(bg);
        }
        failed = FirstMeaningless({{"Rs", rs},
                                   {"Bo", bo},
                                   {"Ölviskosität", muo},
                                   {"Bg (Realgasfaktor)", bg, true},
                                   {"Gasviskosität", mug}});
        if (failed != nullptr) break;

        // The initial state is taken at the step with j = 0; comparing p with
        // pi instead would repeat it on every step whose pressure change is
        // lost in single precision.
        if (j == 0) {
            rsi = rs;
            boi = bo;
            bgi = bg;
            rPrev = rs;
            r = rs;
            const double gasCap = InitialGasCapMioSm3(ooip, boi, gaskappe, bgi);
            if (!IsMeaningful(gasCap)) {
                failed = "Gaskappe";
                break;
            }
            out.initialStateTaken = true;
            out.rsi = rsi;
            out.boi = boi;
            out.bgi = bgi;
            out.initialGasCapMioSm3 = gasCap;
            if (rockAndWater) efwPerBar = (1.0 + gaskappe) * boi * (cw * swi + cf) / (1.0 - swi);
        }

        double a = bo - rs * bg;  // 1000 m3 of pore space per 1000 m3 of oil produced
        if (a < 0.0) a = 0.0;
        double et = (rsi - rs) * bg + (bo - boi) + gaskappe * boi * (bg / bgi - 1.0);
        // The pressure drop below pi in double precision (p is single).
        const double drawdown = double(pi) - double(p);
        double efw = 0.0;
        if (rockAndWater) {
            efw = efwPerBar * drawdown;
            et += efw;
        }

        if (et < 0.0 && rs == rsi && bo < boi)
            out.events.push_back({j, PredictionEventKind::BubblePointTooLow, muo});

        double dnp = 0.0;
        double difference = 1.0;
        for (int pass = 0; pass < kMaxInnerPasses && difference > kGorTolerance; ++pass) {
            const double rMeanBefore = (rPrev + r) / 2.0;
            dnp = (ooip * et - np * a - gp * bg) / (bg * rMeanBefore + a);
            if (!IsMeaningful(dnp)) {
                failed = "Ölproduktion";
                break;
            }
            if (dnp < 0.0) {
                out.events.push_back({j, PredictionEventKind::NegativeOilProduction, dnp});
                ++abort;
                break;
            }
            if (np + dnp > ooip) {
                out.events.push_back({j, PredictionEventKind::OilInPlaceExceeded, np + dnp, ooip});
                dnp = ooip - np;
                break;
            }
            if (rockAndWater) {
                // The oil and the expanded connate water in the compacted
                // pore volume: SL stays 1 above the bubble point.
                sl = ((1.0 - (np + dnp) / ooip) * (bo / boi) * (1.0 - swi) +
                      swi * (1.0 + cw * drawdown)) /
                     (1.0 - cf * drawdown);
            } else {
                sl = swi + (1.0 - (np + dnp) / ooip) * (bo / boi) * (1.0 - swi);
            }
            BelowConnateWater below{};
            below.oilSaturation = 0.0;
            ratio = kLab ? relPerm.KrgKro(sl, &below) : relPerm.CoreyKrgKro(sl, &below);
            if (relPermTable && std::isinf(ratio)) {
                failed = "KRG/KRO (kro = 0: das Öl fließt nicht mehr)";
                break;
            }
            if (below.oilSaturation < 0.0 && out.liquidBelowConnateWaterCount++ == 0)
                out.events.push_back({j, PredictionEventKind::LiquidBelowConnateWater,
                                      below.oilSaturation, below.krg, below.normalisedSaturation});
            r = (bo / bg) * (muo / mug) * ratio + rs;
            rMean = (rPrev + r) / 2.0;
            difference = std::fabs(rMean - rMeanBefore);
        }
        if (failed != nullptr) break;

        if (dnp > 0.0) {
            np += dnp;
            gp += rMean * dnp;
        } else {
            ++idle;
        }
        const double so = sl - swi;
        failed = FirstMeaningless({{"Ölproduktion", np},
                                   {"Gasproduktion", gp},
                                   {"GOEV", rMean},
                                   {"Ölsättigung", so},
                                   {"KRG/KRO", ratio}});
        if (failed != nullptr) break;
        if (p < pi) f = (np * a + gp * bg) / (ooip * et);
        rPrev = r;

        PredictionStep& s = out.steps.emplace_back();
        s.index = j;
        s.pressureBar = p;
        s.np1000m3 = np;
        s.gp1000Sm3 = gp;
        s.gorSm3PerM3 = rMean;
        s.gorEndSm3PerM3 = r;
        s.oilSaturation = so;
        s.gasSaturation = 1.0 - sl;
        s.bo = bo;
        s.oilViscosityCp = muo;
        s.rs = rs;
        s.bg = bg;
        s.gasViscosityCp = mug;
        s.krgKro = ratio;
        s.eo = (rsi - rs) * bg + (bo - boi);
        s.eg = boi * (bg / bgi - 1.0);
        s.efw = efw;
        s.et = et;
        s.withdrawal1000m3 = np * a + gp * bg;
        s.converged = !(difference > kGorTolerance);

        if (table && p <= tableLowest) {
            tableEndReached = true;
        } else {
            p = p - dp;
            // The last step lies exactly at the table's lowest pressure.
            if (table && p < tableLowest) p = tableLowest;
        }
        ++j;
    }

    if (failed != nullptr) {
        out.stopReason = StopReason::NoMeaningfulValue;
        out.failedQuantity = failed;
        out.failedPressureBar = p;
    } else if (tableEndReached) {
        out.stopReason = StopReason::LowestTablePressure;
    } else if (abort >= 1) {
        out.stopReason = StopReason::NegativeOilProduction;
    } else if (idle >= kMaxIdleSteps) {
        out.stopReason = StopReason::NoProduction;
    } else if (!(p > kLowestPressureBar)) {
        out.stopReason = StopReason::LowestPressure;
    } else {
        out.stopReason = StopReason::OilInPlaceProduced;
    }
    out.balanceRatio = f;
    return out;
}

}  // namespace

PredictionResult Predict(const FluidModel& fluid, const RelPermModel& relPerm,
                         const Reservoir& reservoir) {
    const bool lab = fluid.Table() != nullptr || relPerm.Table() != nullptr ||
                     reservoir.poreCompressibilityPerBar != 0.0 ||
                     reservoir.waterCompressibilityPerBar != 0.0;
    return lab ? PredictSteps<true>(fluid, relPerm, reservoir)
               : PredictSteps<false>(fluid, relPerm, reservoir);
}

FluidModel FluidOfCase(const CaseInputs& inputs, const RunOptions& options) {
    if (!options.useApiFromInitialGor) return FluidModel(inputs);
    const GasMixture gas = MixGas(inputs.gasMolePercent);
    const ApiFromInitialGor found = BackCalculateApi(inputs, gas.relativeDensity);
    return FluidModel(inputs, ApiForRun(inputs, found, true), gas);
}

PredictionResult PredictCase(const CaseInputs& inputs, const RunOptions& options) {
    return Predict(FluidOfCase(inputs, options), RelPermModel(inputs), Reservoir::Of(inputs));
}

}  // namespace morvek
