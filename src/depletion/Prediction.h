#pragma once
// Material-balance depletion prediction of a solution-gas-drive reservoir
// with an optional initial gas cap (Tarner's method): the pressure falls in
// small steps; in each step the oil produced is found such that the
// volumetric balance holds when the gas of the step leaves at the mean of the
// producing gas-oil ratios at its start and its end. The ratio at the end
// follows from the oil saturation left behind through krg/kro.
//
// Predict is a pure function: it never asks, never prints and never changes
// its inputs, so that any number of predictions may run on as many threads.

#include <vector>

#include "base/RunValues.h"
#include "depletion/BalanceTerms.h"
#include "depletion/RelativePermeability.h"
#include "model/CaseInputs.h"
#include "pvt/FluidModel.h"

namespace morvek {

// The reservoir as the balance sees it.
struct Reservoir {
    double ooip1000m3 = 0;             // N
    float initialPressureBar = 0;      // pi
    float bubblePointPressureBar = 0;  // pb
    double gasCapRatio = 0;            // m
    // Expansion of the connate water and shrinking of the pore volume, 1/bar.
    double poreCompressibilityPerBar = 0;   // cf
    double waterCompressibilityPerBar = 0;  // cw

    static Reservoir Of(const CaseInputs& inputs);
};

// One pressure step that the prediction completed. The values are those at
// the end of the step, in double precision; the pressure is single precision
// as the steps are taken.
struct PredictionStep {
    int index = 0;              // 0 at the initial pressure
    float pressureBar = 0;      // p
    double np1000m3 = 0;        // cumulative oil Np
    double gp1000Sm3 = 0;       // cumulative gas Gp (the report shows million sm3)
    double gorSm3PerM3 = 0;     // producing gas-oil ratio, mean over the step (report and graph)
    double gorEndSm3PerM3 = 0;  // producing gas-oil ratio at the end of the step
    double oilSaturation = 0;   // So = SL - Swi, fraction of the pore volume
    double gasSaturation = 0;   // Sg = 1 - SL
    double bo = 0;              // m3/sm3
    double oilViscosityCp = 0;
    double rs = 0;  // sm3/m3
    double bg = 0;  // m3/sm3
    double gasViscosityCp = 0;
    double krgKro = 0;
    double rv = 0;  // vaporised oil-gas ratio, m3/sm3 (0 without a PVT table's Rv column)
    // Expansion terms per m3 of oil in place, in m3 (Havlena-Odeh,
    // BalanceTerms.h): oil with its dissolved gas Eo = (Bo - Boi) + (Rsi - Rs) Bg,
    // the gas cap per m3 of its gas Eg = Boi (Bg/Bgi - 1), connate water and
    // pore volume Efw = (1 + m) Boi (cw Swi + cf) / (1 - Swi) (pi - p); total
    // Et = Eo + m Eg + Efw (the generalised forms with Rv).
    double eo = 0;
    double eg = 0;
    double efw = 0;
    double et = 0;
    // Underground withdrawal F = Np (Bo - Rs Bg) + Gp Bg in 1000 m3 (the
    // generalised form with Rv), the oil term as it is, also where it is
    // negative. The balance of a case without tables and compressibilities
    // takes that term as zero where it would be negative (see
    // docs/engine.md); there N Et differs from this F by what it drops.
    double withdrawal1000m3 = 0;
    // The inner iteration on the step's mean gas-oil ratio ended within its
    // tolerance (0.001 sm3/m3); false when it ran out of passes or stopped early.
    bool converged = false;
};

enum class PredictionEventKind {
    // The initial solution gas-oil ratio holds below the initial pressure
    // while the oil shrinks: the bubble point is too low (value: oil viscosity).
    BubblePointTooLow,
    NegativeOilProduction,    // value: the step's oil production, 1000 m3
    OilInPlaceExceeded,       // value: Np the step would reach; value2: N
    LiquidBelowConnateWater,  // value: So; value2: krg; value3: normalised saturation
};

struct PredictionEvent {
    int step = 0;
    PredictionEventKind kind{};
    double value = 0, value2 = 0, value3 = 0;
};

enum class StopReason {
    LowestPressure,         // the pressure reached 1 bar
    OilInPlaceProduced,     // Np reached N
    NoProduction,           // ten steps without oil
    NegativeOilProduction,  // the balance asked for negative oil
    NoMeaningfulValue,      // a quantity could not be computed (failedQuantity)
    // The last step lay at the lowest pressure of the PVT table, below which
    // the table is not extrapolated.
    LowestTablePressure,
    // The initial pressure lies outside the PVT table: no step was taken.
    OutsidePvtTable,
};

struct PredictionResult {
    std::vector<PredictionStep> steps;
    std::vector<PredictionEvent> events;  // in the order they occurred
    // How often the liquid saturation fell below Swi; events hold the first.
    int liquidBelowConnateWaterCount = 0;
    StopReason stopReason = StopReason::LowestPressure;
    RunQuantity failedQuantity = RunQuantity::None;  // with NoMeaningfulValue
    float failedPressureBar = 0;
    // The initial state was taken (step 0 had its properties): Rsi, Boi, Bgi
    // and the free gas of the gas cap.
    bool initialStateTaken = false;
    double rsi = 0, boi = 0, bgi = 0;
    double rvi = 0;  // Rv at pi (0 without an Rv column)
    double initialGasCapMioSm3 = 0;
    // Material-balance ratio F / (N Et) of the last step below pi (1 when none).
    double balanceRatio = 1.0;
    // N of the run, for the recovery factor Np/N.
    double ooip1000m3 = 0;
    // The pressure range of the PVT table, when the fluids come from one.
    float lowestTablePressureBar = 0;
    float highestTablePressureBar = 0;
};

// How the steps are laid; the program's prediction (report, graph, sweep)
// takes the defaults.
struct StepControl {
    // An extra step exactly where the gas starts to flow (the lowest pressure
    // at which the oil, produced with its solution gas alone, leaves no
    // mobile gas), followed by a second point at the same Np with the
    // producing gas-oil ratio of the gas flowing (the Corey model's krg jumps
    // from 0 there), from which the next step starts. The steps around them
    // keep their pressures; the extra points carry the index of the step after
    // them. The path of the steps interpolated in Np, the match's misfit,
    // then moves continuously with the inputs instead of jumping whenever the
    // onset moves across a step; only a row exactly at the onset sees the
    // model's own jump.
    bool stepAtGasOnset = false;
};

PredictionResult Predict(const FluidModel& fluid, const RelPermModel& relPerm,
                         const Reservoir& reservoir, const StepControl& control = {});

// What the program asks the user before a run, decided beforehand.
struct RunOptions {
    // Take the API gravity back-calculated from the measured initial gas-oil
    // ratio (when one is offered) instead of the case's own.
    bool useApiFromInitialGor = false;
};

// The fluid model a run of the case uses.
FluidModel FluidOfCase(const CaseInputs& inputs, const RunOptions& options = {});

// The prediction of a case alone, without report or graph: what a match, a
// sweep or a notebook runs thousands of times.
PredictionResult PredictCase(const CaseInputs& inputs, const RunOptions& options = {},
                             const StepControl& control = {});

// True when a prediction of the case takes the laboratory path: a PVT or
// relative-permeability table or a compressibility. Its balance takes the oil
// term Bo - Rs Bg as it is; the correlations' path (false) drops it where it
// is negative, as that path always has.
bool UsesLaboratoryPath(const CaseInputs& inputs);

}  // namespace morvek
