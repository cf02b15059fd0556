// The forecast against time: the time stepping changes when, never how much
// (its (Np, p) pairs lie on the pressure-stepped prediction's path for every
// golden case), the wells produce exactly what their limits allow, Np is the
// sum of rate times step length, the balance closes at every step, and a pot
// aquifer holds the pressure (very large K) or does nothing (K = 0).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "GoldenCases.h"
#include "base/CalendarDate.h"
#include "base/Format.h"
#include "base/RunValues.h"
#include "depletion/BalanceTerms.h"
#include "forecast/Forecast.h"

namespace {

using morvek::ForecastResult;
using morvek::ForecastStep;
using morvek::RateLimit;

constexpr int32_t kStart = 45658;  // 2025-01-01

// A forecast of the case that produces a tenth of the oil in place a year.
morvek::CaseInputs WithWells(morvek::CaseInputs in, float years = 30.0f) {
    in.forecastStartDate = float(kStart);
    in.forecastYears = years;
    in.oilRateTargetM3PerDay = in.ooip1000m3 * 1000.0f * 0.1f / 365.25f;
    return in;
}

// A pot aquifer, We = K (pi - p): the simplest influx there is, written here
// from its definition.
class PotInflux : public morvek::ForecastInflux {
public:
    PotInflux(double kM3PerBar, double pi) : k_(kM3PerBar), pi_(pi) {}
    double Trial(double, double p) const override { return k_ * (pi_ - p) / 1000.0; }
    double Advance(double days, double p) override { return Trial(days, p); }

private:
    double k_, pi_;
};

ForecastResult RunForecast(const morvek::CaseInputs& in, morvek::ForecastInflux* influx = nullptr) {
    const morvek::Reservoir reservoir = morvek::Reservoir::Of(in);
    const morvek::ForecastSettings settings = morvek::ForecastSettings::Of(in);
    return morvek::Forecast(morvek::FluidOfCase(in), morvek::RelPermModel(in), reservoir, settings,
                            morvek::InitialStart(reservoir, settings.startDate), influx);
}

// Np of the prediction at a pressure, linear between its steps; NaN outside.
double PredictedOilAt(const morvek::PredictionResult& r, double p) {
    for (size_t i = 1; i < r.steps.size(); ++i) {
        const morvek::PredictionStep &a = r.steps[i - 1], &b = r.steps[i];
        if (p <= a.pressureBar && p >= b.pressureBar) {
            const double w = (a.pressureBar - p) / (double(a.pressureBar) - b.pressureBar);
            return a.np1000m3 + w * (b.np1000m3 - a.np1000m3);
        }
    }
    return std::nan("");
}

TEST(ForecastPath, PairsOfOilAndPressureLieOnThePredictionsPathForEveryGoldenCase) {
    // Without an aquifer the forecast solves the prediction's balance; only
    // the steps differ (months instead of pressure steps), and with them the
    // trapezoid of the gas-oil ratio over each step: 0.2 % of N bounds that.
    size_t compared = 0;
    for (const GoldenCase& g : GoldenCases()) {
        const morvek::CaseInputs in = WithWells(g.inputs, 60.0f);
        const morvek::PredictionResult prediction = morvek::PredictCase(in);
        const ForecastResult forecast = RunForecast(in);
        // Where the prediction has no result (a too low bubble point, an
        // oil too cold for the correlations), neither has the forecast.
        if (prediction.steps.size() < 3 || prediction.failedQuantity != RunQuantity::None) {
            EXPECT_TRUE(forecast.stop == morvek::ForecastStop::NoBalance ||
                        forecast.stop == morvek::ForecastStop::NoMeaningfulValue)
                << g.name;
            continue;
        }
        const double pb = in.bubblePointPressureBar, n = in.ooip1000m3;
        double worst = 0;
        size_t here = 0;
        for (const ForecastStep& s : forecast.steps) {
            if (s.pressureBar >= pb) continue;
            const double np = PredictedOilAt(prediction, s.pressureBar);
            if (std::isnan(np)) continue;
            worst = std::max(worst, std::fabs(s.np1000m3 - np) / n);
            ++here;
        }
        EXPECT_LE(worst, 0.002) << g.name;
        // The largest deviation of each case, in the XML output (--gtest_output).
        ::testing::Test::RecordProperty(g.name, Format("%.3g %% of N over %zu steps", 100 * worst, here));
        compared += here;
        if (prediction.steps.back().pressureBar < pb) {
            EXPECT_GT(here, 10u) << g.name;
        }
    }
    EXPECT_GT(compared, 500u);
}

// The invariants of one forecast: rates within the limits and exactly at
// the binding one, Np the sum of rate times length, the balance closed.
void CheckInvariants(const morvek::CaseInputs& in, const ForecastResult& r,
                     const std::string& name) {
    const morvek::ForecastSettings s = morvek::ForecastSettings::Of(in);
    const morvek::WellLimits& w = s.wells;
    double np = r.steps.front().np1000m3, gp = r.steps.front().gp1000Sm3;
    double wp = r.steps.front().wp1000m3;
    const double n = r.ooip1000m3;
    for (size_t i = 1; i < r.steps.size(); ++i) {
        const ForecastStep& st = r.steps[i];
        ASSERT_GT(st.stepDays, 0.0) << name << " step " << i;
        EXPECT_NEAR(st.days - r.steps[i - 1].days, st.stepDays, 1e-9 * st.days) << name;
        np += st.oilRateM3PerDay * st.stepDays / 1000.0;
        gp += st.gasRate1000Sm3PerDay * st.stepDays;
        wp += st.waterRateM3PerDay * st.stepDays / 1000.0;
        EXPECT_NEAR(st.np1000m3, np, 1e-12 * n) << name << " step " << i;
        // Within the step the rate is the step's: a quarter into it a
        // quarter of its oil is produced (what the fan and --np-by read).
        const double quarter = r.steps[i - 1].days + 0.25 * st.stepDays;
        EXPECT_NEAR(r.OilAtDays(quarter),
                    r.steps[i - 1].np1000m3 + 0.25 * st.oilRateM3PerDay * st.stepDays / 1000.0,
                    1e-12 * n)
            << name << " step " << i;
        EXPECT_EQ(r.OilRateAtDays(quarter), st.oilRateM3PerDay) << name << " step " << i;
        EXPECT_NEAR(st.gp1000Sm3, gp, 1e-9 * std::max(1.0, gp)) << name << " step " << i;
        EXPECT_NEAR(st.wp1000m3, wp, 1e-9 * std::max(1.0, wp)) << name << " step " << i;
        EXPECT_NEAR(st.gasRate1000Sm3PerDay, st.oilRateM3PerDay * st.gorSm3PerM3 / 1000.0,
                    1e-12 * st.gasRate1000Sm3PerDay);
        // The rate: the target while the wells and the gas allow it, else
        // exactly the binding limit.
        const double wells = w.productivityIndexM3PerDayBar > 0
                                 ? w.productivityIndexM3PerDayBar *
                                       (st.pressureBar - w.minBottomholePressureBar)
                                 : INFINITY;
        const double gasLimit = w.GasLimit1000Sm3PerDay();
        const double gas = gasLimit > 0 && st.gorSm3PerM3 > w.maxGorSm3PerM3
                               ? gasLimit * 1000.0 / st.gorSm3PerM3
                               : INFINITY;
        const double expected = std::max(0.0, std::min({w.oilRateTargetM3PerDay, wells, gas}));
        EXPECT_NEAR(st.oilRateM3PerDay, expected, 1e-12 * w.oilRateTargetM3PerDay)
            << name << " step " << i;
        if (st.limit == RateLimit::Target) {
            EXPECT_GE(wells, w.oilRateTargetM3PerDay * (1 - 1e-12)) << name << " step " << i;
        }
        if (st.limit == RateLimit::Wells) {
            EXPECT_LT(wells, w.oilRateTargetM3PerDay) << name << " step " << i;
        }
        // The balance: F - N Et - We as at the start.
        const morvek::FluidState fluid{st.bo, st.rs, st.bg, st.rv};
        const double f =
            morvek::WithdrawalF1000m3(fluid, st.np1000m3, st.gp1000Sm3, {st.wp1000m3, 0, 0, st.bw});
        EXPECT_NEAR(f, st.withdrawal1000m3, 1e-12 * std::fabs(f)) << name;
        const double imbalance = f - n * st.et - st.we1000m3 - r.startImbalance1000m3;
        EXPECT_LE(std::fabs(imbalance),
                  1e-9 * (std::fabs(f) + n * std::fabs(st.et) + std::fabs(st.we1000m3)))
            << name << " step " << i << " at " << st.pressureBar << " bar";
        EXPECT_LE(st.np1000m3, n);
    }
}

TEST(ForecastInvariants, RatesCumulativesAndBalanceOnEveryStepOfEveryGoldenCase) {
    for (const GoldenCase& g : GoldenCases()) {
        morvek::CaseInputs in = WithWells(g.inputs);
        // Wells that hold the plateau for a while, then decline.
        in.productivityIndexM3PerDayBar = in.oilRateTargetM3PerDay / (0.5f * in.initialPressureBar);
        in.minBottomholePressureBar = 0.3f * in.initialPressureBar;
        in.abandonmentRateM3PerDay = 0.05f * in.oilRateTargetM3PerDay;
        const ForecastResult r = RunForecast(in);
        ASSERT_EQ(morvek::ForecastRefusal(in), "") << g.name;
        CheckInvariants(in, r, g.name);
    }
}

TEST(ForecastWells, ThePlateauEndsExactlyWhereTheWellsCanNoLongerDeliverTheTarget) {
    morvek::CaseInputs in = WithWells(ExampleInputs("nordfeld.mvk"));
    in.productivityIndexM3PerDayBar = in.oilRateTargetM3PerDay / 60.0f;  // target at pwf + 60 bar
    in.minBottomholePressureBar = 60.0f;
    const ForecastResult r = RunForecast(in);
    CheckInvariants(in, r, "nordfeld");
    ASSERT_FALSE(std::isinf(r.plateauEndDays));
    // J (p - pwf) = target there (J as the case stores it).
    const double pPlateau = 60.0 + double(in.oilRateTargetM3PerDay) / in.productivityIndexM3PerDayBar;
    size_t plateauSteps = 0;
    for (size_t i = 1; i < r.steps.size(); ++i) {
        const ForecastStep& s = r.steps[i];
        if (s.days <= r.plateauEndDays) {
            ++plateauSteps;
            EXPECT_EQ(s.limit, RateLimit::Target);
            EXPECT_GE(s.pressureBar, pPlateau * (1 - 1e-12));
        } else {
            EXPECT_EQ(s.limit, RateLimit::Wells);
            EXPECT_LT(s.pressureBar, pPlateau);
        }
        if (s.days == r.plateauEndDays) {
            EXPECT_NEAR(s.pressureBar, pPlateau, 1e-9);
        }
    }
    EXPECT_GT(plateauSteps, 12u);
    EXPECT_EQ(r.stop, morvek::ForecastStop::EndOfPeriod);
}

TEST(ForecastWells, AbandonmentRateAndPressureEndTheForecastExactly) {
    morvek::CaseInputs in = WithWells(ExampleInputs("nordfeld.mvk"), 100.0f);
    in.productivityIndexM3PerDayBar = in.oilRateTargetM3PerDay / 100.0f;
    in.minBottomholePressureBar = 20.0f;
    in.abandonmentRateM3PerDay = 0.2f * in.oilRateTargetM3PerDay;
    ForecastResult r = RunForecast(in);
    CheckInvariants(in, r, "rate");
    ASSERT_EQ(r.stop, morvek::ForecastStop::AbandonmentRate);
    EXPECT_GE(r.Last().oilRateM3PerDay, in.abandonmentRateM3PerDay);
    // The wells' rate J (p - pwf) reaches it: the step ends at that pressure,
    // to the last bits of the double.
    EXPECT_NEAR(r.Last().oilRateM3PerDay, in.abandonmentRateM3PerDay, 1e-12 * in.abandonmentRateM3PerDay);
    EXPECT_EQ(r.Last().limit, RateLimit::Wells);

    in.abandonmentRateM3PerDay = 0;
    in.abandonmentPressureBar = 90.0f;
    r = RunForecast(in);
    CheckInvariants(in, r, "pressure");
    ASSERT_EQ(r.stop, morvek::ForecastStop::AbandonmentPressure);
    EXPECT_DOUBLE_EQ(r.Last().pressureBar, 90.0);
}

TEST(ForecastWells, AGasLimitedRateEndsAtTheAbandonmentRateToo) {
    // Gas cap: the gas limit (target times 150 sm3/m3) cuts the rate back as
    // the gas-oil ratio climbs, until it falls to a fifth of the target; the
    // end lies within a step, found on the rate's margin.
    morvek::CaseInputs in = WithWells(ExampleInputs("gaskappe.mvk"), 60.0f);
    in.maxGorSm3PerM3 = 150.0f;
    in.abandonmentRateM3PerDay = 0.2f * in.oilRateTargetM3PerDay;
    const ForecastResult r = RunForecast(in);
    CheckInvariants(in, r, "gas");
    ASSERT_EQ(r.stop, morvek::ForecastStop::AbandonmentRate);
    EXPECT_EQ(r.Last().limit, RateLimit::Gas);
    // The last step still produced the abandonment rate over its length (at
    // its mean gas-oil ratio); at its end ratio the gas limit allows no more.
    const double gasLimit = morvek::ForecastSettings::Of(in).wells.GasLimit1000Sm3PerDay();
    EXPECT_GE(r.Last().oilRateM3PerDay, in.abandonmentRateM3PerDay);
    EXPECT_LE(gasLimit * 1000.0 / r.Last().gorEndSm3PerM3, in.abandonmentRateM3PerDay * (1 + 1e-9));
    // Within a month of the end the rate falls by less than a percent.
    EXPECT_LT(r.Last().oilRateM3PerDay, 1.01 * in.abandonmentRateM3PerDay);
}

TEST(ForecastWells, TheForecastEndsWhenTheOilInPlaceIsProduced) {
    // A pot of K = 1e9 m3/bar holds the pressure: the wells produce the
    // target until Np reaches N, the last step exactly there.
    const morvek::CaseInputs in = WithWells(ExampleInputs("nordfeld.mvk"), 12.0f);
    PotInflux huge(1e9, in.initialPressureBar);
    const ForecastResult r = RunForecast(in, &huge);
    CheckInvariants(in, r, "pot");
    ASSERT_EQ(r.stop, morvek::ForecastStop::OilInPlaceProduced);
    EXPECT_NEAR(r.Last().np1000m3, in.ooip1000m3, 1e-9 * in.ooip1000m3);
    // At the target, N / q days (the step's length found to 1e-10 of a month).
    EXPECT_NEAR(r.Last().days, 1000.0 * in.ooip1000m3 / in.oilRateTargetM3PerDay, 1e-6);
    EXPECT_NE(r.Last().days, std::floor(r.Last().days));
}

TEST(ForecastWells, MonthlyStepsEndOnTheCalendarsMonthsAndTheGasLimitHolds) {
    morvek::CaseInputs in = WithWells(ExampleInputs("gaskappe.mvk"), 20.0f);
    in.maxGorSm3PerM3 = 200.0f;
    const ForecastResult r = RunForecast(in);
    CheckInvariants(in, r, "gaskappe");
    // Every month's first day is a step's end (shorter steps lie between).
    std::vector<double> ends;
    for (const ForecastStep& s : r.steps) ends.push_back(s.days);
    for (int m = 1; m <= 12 * 20 && m <= 12 * (r.Last().days / 365.0); ++m) {
        const double day = morvek::AddMonths(kStart, m) - kStart;
        EXPECT_TRUE(std::binary_search(ends.begin(), ends.end(), day)) << "month " << m;
    }
    // The gas rate never exceeds target times the highest ratio.
    const double limit = in.oilRateTargetM3PerDay * 200.0 / 1000.0;
    bool limited = false;
    for (const ForecastStep& s : r.steps) {
        EXPECT_LE(s.gasRate1000Sm3PerDay, limit * (1 + 1e-12));
        limited = limited || s.limit == RateLimit::Gas;
    }
    EXPECT_TRUE(limited);
}

TEST(ForecastWater, TheCutOfTheTableAtTheStepsRecoveryAndItsWaterInTheBalance) {
    morvek::LabWaterCutTable table;
    std::vector<std::string> problems;
    ASSERT_EQ(morvek::WaterCutTableFromRows({{0, 0}, {10, 0.2f}, {40, 0.8f}}, "wc.txt", table,
                                            problems),
              morvek::TableReadStatus::Read);
    // Linear between rows, constant beyond the ends; none without a table.
    EXPECT_DOUBLE_EQ(morvek::WaterCutAt(&table, 5), 0.1f);
    EXPECT_NEAR(morvek::WaterCutAt(&table, 25), 0.5, 1e-7);
    EXPECT_DOUBLE_EQ(morvek::WaterCutAt(&table, 50), 0.8f);
    EXPECT_DOUBLE_EQ(morvek::WaterCutAt(&table, -1), 0.0);
    EXPECT_EQ(morvek::WaterCutAt(nullptr, 25), 0.0);

    morvek::CaseInputs in = WithWells(ExampleInputs("nordfeld.mvk"), 4.0f);
    const ForecastResult dry = RunForecast(in);
    in.waterCutTable = table;
    const ForecastResult wet = RunForecast(in);
    CheckInvariants(in, wet, "wet");
    ASSERT_GT(wet.Last().wp1000m3, 0.0);
    for (size_t i = 1; i < wet.steps.size(); ++i) {
        const ForecastStep& s = wet.steps[i];
        const double np0 = wet.steps[i - 1].np1000m3;
        // The cut at the recovery factor of the step's middle.
        EXPECT_NEAR(s.waterCut, morvek::WaterCutAt(&table, 100.0 * (np0 + s.np1000m3) / 2 / in.ooip1000m3),
                    1e-12);
        EXPECT_NEAR(s.waterRateM3PerDay, s.oilRateM3PerDay * s.waterCut / (1 - s.waterCut),
                    1e-9 * s.oilRateM3PerDay);
    }
    // The water withdrawn lowers the pressure at the same time (before both
    // have fallen to 1 bar, after some 2.5 years at a tenth of N a year).
    const double day = 2 * 365.0;
    EXPECT_LT(wet.AtDays(day).pressureBar, dry.AtDays(day).pressureBar - 1.0);
}

TEST(ForecastAquifer, AVeryLargePotHoldsThePressureAndNoPotChangesNothing) {
    for (const char* example : {"nordfeld.mvk", "gaskappe.mvk", "sauergas.mvk"}) {
        const morvek::CaseInputs in = WithWells(ExampleInputs(example), 5.0f);
        const ForecastResult closed = RunForecast(in);
        PotInflux none(0.0, in.initialPressureBar);
        const ForecastResult zero = RunForecast(in, &none);
        ASSERT_EQ(zero.steps.size(), closed.steps.size()) << example;
        for (size_t i = 0; i < zero.steps.size(); ++i) {
            EXPECT_EQ(zero.steps[i].pressureBar, closed.steps[i].pressureBar) << example << i;
            EXPECT_EQ(zero.steps[i].np1000m3, closed.steps[i].np1000m3) << example << i;
            EXPECT_EQ(zero.steps[i].gp1000Sm3, closed.steps[i].gp1000Sm3) << example << i;
        }
        // K = 1e9 m3/bar: a withdrawal of a few million m3 lowers the
        // pressure by milli-bars.
        PotInflux huge(1e9, in.initialPressureBar);
        const ForecastResult held = RunForecast(in, &huge);
        CheckInvariants(in, held, example);
        EXPECT_EQ(held.stop, morvek::ForecastStop::EndOfPeriod) << example;
        for (const ForecastStep& s : held.steps)
            EXPECT_LE(in.initialPressureBar - s.pressureBar, 0.1) << example << " day " << s.days;
        EXPECT_NEAR(held.Last().np1000m3, 5 * 0.1 * in.ooip1000m3, 1e-3 * in.ooip1000m3);
    }
}

// The case's aquifer (src/waterdrive) below Nordfeld.
morvek::CaseInputs WithAquifer(morvek::AquiferModel model, float years = 30.0f) {
    morvek::CaseInputs in = WithWells(ExampleInputs("nordfeld.mvk"), years);
    in.oilRateTargetM3PerDay *= 0.5f;
    in.aquiferModel = static_cast<int32_t>(model);
    in.reservoirRadiusM = 1500;
    in.aquiferRadiusM = model == morvek::AquiferModel::VehRadial ? 0.0f : 6000.0f;
    in.aquiferThicknessM = 20;
    in.aquiferPorosity = 0.2f;
    in.aquiferPermeabilityMd = 80;
    in.aquiferAngleDeg = 360;
    in.aquiferCompressibilityPerBar = 1e-4f;
    in.waterViscosityCp = 0.5f;
    return in;
}

TEST(ForecastAquifer, TheInfluxIsTheAquiferModelsOfThePressuresTheBalanceFound) {
    using M = morvek::AquiferModel;
    const ForecastResult closed = RunForecast(WithAquifer(M::None));
    for (M model : {M::Pot, M::FetkovichRadial, M::VehRadial, M::CarterTracyRadial}) {
        const morvek::CaseInputs in = WithAquifer(model);
        const std::string name = morvek::AquiferModelName(model);
        ASSERT_EQ(morvek::ForecastRefusal(in), "") << name;
        const ForecastResult r = morvek::ForecastCase(in);
        // Half the target of WithWells: N / 20 a year; the influx holds the
        // pressure so well that the oil in place is produced, month by month
        // for twenty years.
        EXPECT_EQ(r.stop, morvek::ForecastStop::OilInPlaceProduced) << name;
        EXPECT_GT(r.steps.size(), 240u) << name;
        CheckInvariants(in, r, name);
        // The model itself, without the forecast's cache, along the same
        // pressures gives the same influx.
        morvek::InfluxCalculator alone(morvek::Aquifer::Of(in), in.initialPressureBar);
        for (size_t i = 1; i < r.steps.size(); ++i) {
            const ForecastStep& s = r.steps[i];
            EXPECT_NEAR(alone.Advance(s.days, s.pressureBar), s.we1000m3,
                        1e-9 * std::max(1.0, s.we1000m3))
                << name << " step " << i;
        }
        // The aquifer holds the pressure up: more oil by the end than the closed tank.
        EXPECT_GT(r.Last().we1000m3, 0.0) << name;
        EXPECT_GT(r.AtDays(10 * 365.0).pressureBar, closed.AtDays(10 * 365.0).pressureBar + 1.0)
            << name;
    }
}

TEST(ForecastAquifer, APotOfNoSizeIsNoAquifer) {
    const morvek::CaseInputs in = WithWells(ExampleInputs("nordfeld.mvk"), 10.0f);
    morvek::Aquifer pot;
    pot.model = morvek::AquiferModel::Pot;  // K from a geometry of no volume: 0
    ASSERT_EQ(morvek::InfluxConstantM3PerBar(pot), 0.0);
    morvek::AquiferInflux none(pot, in.initialPressureBar);
    const ForecastResult zero = RunForecast(in, &none);
    const ForecastResult closed = RunForecast(in);
    ASSERT_EQ(zero.steps.size(), closed.steps.size());
    for (size_t i = 0; i < zero.steps.size(); ++i) {
        EXPECT_EQ(zero.steps[i].pressureBar, closed.steps[i].pressureBar) << i;
        EXPECT_EQ(zero.steps[i].np1000m3, closed.steps[i].np1000m3) << i;
        EXPECT_EQ(zero.steps[i].we1000m3, 0.0) << i;
    }
}

}  // namespace
