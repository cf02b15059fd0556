#pragma once
// The forecast against time: from the initial state (or the end of the
// production history) the field produces at its plateau rate as long as the
// wells can deliver it and the gas stays within its limits, and the
// reservoir's pressure follows from the material balance at every step,
// F = N Et + We with the terms of depletion/BalanceTerms.h (gas cap, rock and
// water, laboratory tables or correlations, the producing gas-oil ratio from
// krg/kro), the water influx of an aquifer and the water of a water-cut table.
//
// The well model, field totals:
//   q = min(q_target, J (p - pwf), G / R)
// where J (p - pwf) applies when a productivity index is given, and the gas
// limit G (max_gas_rate, or q_target times max_gor) applies once the
// producing gas-oil ratio R exceeds max_gor (always when only a gas rate is
// given). The rate of a step is the one at the step's end pressure and mean
// gas-oil ratio (implicit in time), so a step whose end pressure allows the
// target produces it, and one whose end pressure does not produces
// J (p - pwf): the plateau ends exactly where J (p - pwf) falls below the
// target, and the forecast puts a step boundary there.
//
// Time steps: calendar months from the start (or time_step_days), shorter
// where the pressure changes by more than a few bar in a step, ending exactly
// at the end of the plateau, at the abandonment rate or pressure, at the
// lowest pressure the fluids allow and at the end of the period.
//
// A forecast is a pure function of its inputs, as a prediction is.

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/RunValues.h"
#include "depletion/BalanceTerms.h"
#include "depletion/Prediction.h"
#include "depletion/RelativePermeability.h"
#include "model/CaseInputs.h"
#include "pvt/FluidModel.h"
#include "waterdrive/Aquifer.h"

namespace morvek {

// The limits of the wells, field totals.
struct WellLimits {
    double oilRateTargetM3PerDay = 0;         // the plateau
    double productivityIndexM3PerDayBar = 0;  // J; 0: the wells deliver any rate
    double minBottomholePressureBar = 0;      // pwf
    double maxGorSm3PerM3 = 0;                // 0: the gas limit applies at any ratio
    double maxGasRate1000Sm3PerDay = 0;       // 0: the target times max_gor, or none

    // The gas the field may produce a day once the gas-oil ratio exceeds
    // maxGorSm3PerM3, 1000 sm3/d; 0 without a gas limit.
    double GasLimit1000Sm3PerDay() const;
};

// Which limit set the oil rate of a step.
enum class RateLimit : uint8_t {
    Target,  // the plateau rate
    Wells,   // J (p - pwf)
    Gas,     // the gas limit
};

struct WellRate {
    double oilM3PerDay = 0;
    RateLimit limit = RateLimit::Target;
};

// The oil rate the wells give at the pressure with the producing gas-oil ratio.
WellRate RateOfWells(const WellLimits& wells, double pressureBar, double gorSm3PerM3);

// Water cut (water over liquid rate at the surface) of a recovery factor in
// percent, linear between the table's rows and constant beyond its ends; 0
// without a table.
double WaterCutAt(const LabWaterCutTable* table, double recoveryPct);

// The forecast's settings from the case (the inputs of the field table).
struct ForecastSettings {
    int32_t startDate = 0;  // serial date of the forecast's day 0
    int months = 0;         // length of the period
    double stepDays = 0;    // 0: calendar months
    WellLimits wells;
    double abandonmentRateM3PerDay = 0;  // 0: none
    double abandonmentPressureBar = 0;   // 0: none
    const LabWaterCutTable* waterCut = nullptr;  // the case's, or none

    static ForecastSettings Of(const CaseInputs& inputs);
    // Days from the start to the end of the period.
    double PeriodDays() const;
};

// Where the forecast starts: the initial state, or the end of a production
// history (its cumulatives, its pressure and the influx until then).
struct ForecastStart {
    int32_t date = 0;                 // serial date
    double influxDays = 0;            // the influx's clock at the start (days since day 0)
    double pressureBar = 0;
    double np1000m3 = 0;
    double gp1000Sm3 = 0;
    double wp1000m3 = 0;
    double wi1000m3 = 0;   // water injected (the history's), constant afterwards
    double gi1000Sm3 = 0;  // gas injected
    double we1000m3 = 0;
};

// What the forecast asks of an aquifer: the cumulative influx (1000 m3) at a
// time on the influx's clock (days since day 0) for a trial boundary pressure
// there, and taking a step. The models of src/waterdrive answer it.
class ForecastInflux {
public:
    virtual ~ForecastInflux() = default;
    virtual double Trial(double days, double pressureBar) const = 0;
    virtual double Advance(double days, double pressureBar) = 0;
    // The change of Trial(days, p) per bar of p near pressureBar (the models
    // of src/waterdrive are linear in it); by default from two trials.
    virtual double PerBar(double days, double pressureBar) const {
        return Trial(days, pressureBar) - Trial(days, pressureBar - 1.0);
    }
};

enum class ForecastStop : uint8_t {
    EndOfPeriod,          // the field still produces at the end of the period
    AbandonmentRate,      // the oil rate fell to the abandonment rate
    AbandonmentPressure,  // the pressure fell to the abandonment pressure
    LowestPressure,       // the lowest pressure of the fluids (1 bar or the PVT table's end)
    OilInPlaceProduced,   // Np reached N
    NoMeaningfulValue,    // a quantity could not be computed (failedQuantity)
    // The balance closes only at a pressure far from the last one, however
    // short the step (above the bubble point an oil that shrinks as the
    // pressure falls: the bubble point is too low).
    NoBalance,
    NotStarted,           // the start is outside the fluids (a PVT table) or below a limit
};

// One step of the forecast, the values at its end; the rates are those over
// the step.
struct ForecastStep {
    double days = 0;      // since the start
    double stepDays = 0;  // length of the step (0 for the start)
    double pressureBar = 0;
    double oilRateM3PerDay = 0;
    double gasRate1000Sm3PerDay = 0;
    double waterRateM3PerDay = 0;
    double np1000m3 = 0;
    double gp1000Sm3 = 0;
    double wp1000m3 = 0;
    double we1000m3 = 0;
    double gorSm3PerM3 = 0;  // producing gas-oil ratio over the step (mean of start and end)
    double gorEndSm3PerM3 = 0;
    double waterCut = 0;     // over the step
    RateLimit limit = RateLimit::Target;
    // The balance at the end of the step.
    double bo = 0, rs = 0, bg = 0, rv = 0, bw = 0;
    double et = 0;                 // Et, m3 per m3 of oil in place
    double withdrawal1000m3 = 0;   // F
    double oilSaturation = 0;      // fraction of the pore volume
    double gasSaturation = 0;
};

struct ForecastResult {
    int32_t startDate = 0;
    double periodDays = 0;
    // steps[0] is the start (days 0, no rates); every other entry a step.
    std::vector<ForecastStep> steps;
    ForecastStop stop = ForecastStop::EndOfPeriod;
    RunQuantity failedQuantity = RunQuantity::None;
    double ooip1000m3 = 0;
    // F - N Et - We at the start (nonzero only after a production history):
    // the forecast keeps it, so that the pressure continues the history's.
    double startImbalance1000m3 = 0;
    // Days from the start to the end of the plateau; infinity while it holds.
    double plateauEndDays = std::numeric_limits<double>::infinity();
    // The lowest pressure the run may reach: the abandonment pressure, the
    // PVT table's lowest pressure or 1 bar.
    double lowestPressureBar = 0;

    const ForecastStep& Last() const { return steps.back(); }
    bool Abandoned() const {
        return stop == ForecastStop::AbandonmentRate || stop == ForecastStop::AbandonmentPressure;
    }
    // Cumulative oil at a day after the start (linear within a step, as its
    // rate is constant; the last value after the end).
    double OilAtDays(double days) const;
    // The oil rate over the step that holds the day (0 after the end).
    double OilRateAtDays(double days) const;
    // The state at a day: cumulatives linear within its step (its rates are
    // constant), the pressure linear between the step's ends, the step's
    // rates; the last state after the end.
    ForecastStep AtDays(double days) const;
};

ForecastResult Forecast(const FluidModel& fluid, const RelPermModel& relPerm,
                        const Reservoir& reservoir, const ForecastSettings& settings,
                        const ForecastStart& start, ForecastInflux* influx = nullptr);

// The initial state of a reservoir as a forecast's start.
ForecastStart InitialStart(const Reservoir& reservoir, int32_t date);

// The date a forecast of the case starts on: the day of the production
// history's last row when the history has dates, else forecast_start; 0 when
// neither gives one.
int32_t ForecastStartDate(const CaseInputs& inputs);

// The aquifer's influx as the forecast asks for it (src/waterdrive's models).
// A van Everdingen-Hurst aquifer sums a term per step for every step before
// (a thirty-year monthly forecast some 65,000 terms, twice over; the
// calculator keeps the sum for a step's tries): its WD of a lag of whole
// days, which month-long steps repeat, is computed once here.
class AquiferInflux : public ForecastInflux {
public:
    AquiferInflux(const Aquifer& aquifer, double initialPressureBar);
    AquiferInflux(const AquiferInflux&) = delete;
    AquiferInflux& operator=(const AquiferInflux&) = delete;
    double Trial(double days, double pressureBar) const override {
        return calculator_.Trial(days, pressureBar);
    }
    double Advance(double days, double pressureBar) override {
        return calculator_.Advance(days, pressureBar);
    }
    double PerBar(double days, double pressureBar) const override {
        return calculator_.PerBar(days, pressureBar);
    }

private:
    // A cache: the same values whichever call fills it.
    double Wd(double tD) const;

    InfluxCalculator calculator_;
    double tdPerDay_ = 0, daysPerTd_ = 0;
    std::unique_ptr<RadialInfluxFunctions> functions_;
    mutable std::vector<double> wdOfWholeDays_;  // NaN until computed
    // Other lags (from steps of fractional length) by their tD, direct-mapped:
    // a step asks for the same ones more than once.
    static constexpr size_t kOtherLags = 4096;
    mutable std::vector<std::pair<double, double>> otherLags_;
};

// The forecast's start at the end of the case's production history: its last
// row's pressure and cumulatives, the influx advanced through every row. The
// influx may be nullptr (no aquifer).
ForecastStart StartAfterHistory(const CaseInputs& inputs, AquiferInflux* influx);

// Why the case's forecast cannot run (a German message naming the input), or
// "". Checked before a run: a start date, a period, a target rate above 0, a
// bottom-hole pressure below the initial pressure, limits that leave room to
// produce.
std::string ForecastRefusal(const CaseInputs& inputs);

// The forecast of a case: its fluids, its wells, its water-cut table, its
// aquifer, from the end of its production history when it has one. The case
// must pass ForecastRefusal.
ForecastResult ForecastCase(const CaseInputs& inputs, const RunOptions& options = {});

}  // namespace morvek
