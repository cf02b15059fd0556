// Uncertainty runs of the forecast: the same on any number of threads, each
// row what a forecast of that sample alone gives, the P-values the reserves
// convention's over the rows (dates beyond the period counted as latest), and
// the fan's P90/P50/P10 at every point those of the samples' profiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GoldenCases.h"
#include "base/CalendarDate.h"
#include "base/Format.h"
#include "forecast/ForecastSweep.h"
#include "forecast/ForecastText.h"

namespace {

morvek::CaseInputs Base() {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    in.forecastStartDate = 45658.0f;  // 2025-01-01
    in.forecastYears = 20.0f;
    in.oilRateTargetM3PerDay = 400.0f;
    in.productivityIndexM3PerDayBar = 5.0f;
    in.minBottomholePressureBar = 50.0f;
    in.abandonmentRateM3PerDay = 60.0f;
    return in;
}

std::vector<morvek::Variation> Varied() {
    std::vector<morvek::Variation> v(2);
    std::string problem;
    EXPECT_TRUE(morvek::ParseVariation("productivity_index_m3_per_day_bar=2:9", v[0], problem));
    EXPECT_TRUE(morvek::ParseVariation("m_OOIP=3000:15000", v[1], problem));
    return v;
}

struct SweepRun {
    morvek::ForecastSweepResult result;
    std::vector<morvek::ForecastSweepRow> rows;
    std::string csv;
};

SweepRun Sweep(int threads, uint64_t samples = 60) {
    morvek::ForecastSweepOptions o;
    o.plan.samples = samples;
    o.plan.seed = 5;
    o.threads = threads;
    o.npByYears = {2030, 2040};
    SweepRun run;
    const std::vector<morvek::ForecastOutcomeColumn> columns = morvek::ForecastOutcomeColumns(o);
    run.result = morvek::ForecastSweep(Base(), Varied(), o, [&](const morvek::ForecastSweepRow& r) {
        run.rows.push_back(r);
        run.csv += morvek::ForecastSweepCsvLine(r, columns);
    });
    return run;
}

TEST(ForecastSweep, RowsAreTheSamplesOwnForecastsOnAnyNumberOfThreads) {
    const SweepRun one = Sweep(1), two = Sweep(2);
    EXPECT_EQ(one.csv, two.csv);
    ASSERT_EQ(one.rows.size(), 60u);
    morvek::ForecastSweepOptions o;
    o.plan.samples = 60;
    o.plan.seed = 5;
    o.npByYears = {2030, 2040};
    for (const morvek::ForecastSweepRow& row : one.rows) {
        ASSERT_FALSE(row.Failed()) << row.failure;
        const morvek::CaseInputs in = morvek::SampleInputs(Base(), Varied(), o.plan, row.sample);
        const morvek::ForecastResult f = morvek::ForecastCase(in);
        EXPECT_EQ(row.outcomes[0], f.Last().np1000m3);
        EXPECT_EQ(row.outcomes[1], f.Abandoned() ? f.startDate + f.Last().days : INFINITY);
        EXPECT_EQ(row.outcomes[2], f.startDate + f.plateauEndDays);
        EXPECT_EQ(row.outcomes[3], f.OilAtDays(morvek::SerialOf({2031, 1, 1}) - 45658));
        EXPECT_EQ(row.outcomes[4], f.OilAtDays(morvek::SerialOf({2041, 1, 1}) - 45658));
    }
}

TEST(ForecastSweep, SlicesOfTheDesignGiveExactlyTheWholeRunsRows) {
    const SweepRun whole = Sweep(2, 60);
    std::string csv;
    uint64_t failed = 0;
    for (const auto& [first, count] : {std::pair<uint64_t, uint64_t>{1, 13}, {14, 1}, {15, 46}}) {
        morvek::ForecastSweepOptions o;
        o.plan.samples = 60;
        o.plan.seed = 5;
        o.threads = 2;
        o.npByYears = {2030, 2040};
        o.firstSample = first;
        o.count = count;
        const std::vector<morvek::ForecastOutcomeColumn> columns = morvek::ForecastOutcomeColumns(o);
        uint64_t rows = 0;
        const morvek::ForecastSweepResult r =
            morvek::ForecastSweep(Base(), Varied(), o, [&](const morvek::ForecastSweepRow& row) {
                EXPECT_EQ(row.sample, first + rows);
                ++rows;
                csv += morvek::ForecastSweepCsvLine(row, columns);
            });
        EXPECT_EQ(rows, count);
        EXPECT_EQ(r.completed, count);
        EXPECT_FALSE(r.cancelled);
        EXPECT_EQ(r.samples, 60u);
        EXPECT_EQ(r.fan.samples, count - r.failedCount);
        failed += r.failedCount;
        const std::string summary = morvek::ForecastSweepSummaryText("Nordfeld", Varied(), o, r);
        EXPECT_NE(summary.find(Format("Gerechnet: die Stichproben %llu bis %llu",
                                      static_cast<unsigned long long>(first),
                                      static_cast<unsigned long long>(first + count - 1))),
                  std::string::npos);
    }
    EXPECT_EQ(csv, whole.csv);
    EXPECT_EQ(failed, whole.result.failedCount);
    // The whole design is no slice.
    morvek::ForecastSweepOptions o;
    o.plan.samples = 60;
    o.count = 60;
    EXPECT_FALSE(o.Slice());
    o.count = 59;
    EXPECT_TRUE(o.Slice());
}

TEST(ForecastSweep, PValuesFollowTheReservesConventionAndTheFanItsSamples) {
    const SweepRun run = Sweep(2, 200);
    const morvek::ForecastSweepResult& r = run.result;
    ASSERT_EQ(r.columns.size(), 5u);
    for (size_t o = 0; o < r.columns.size(); ++o) {
        std::vector<double> v;
        for (const morvek::ForecastSweepRow& row : run.rows) v.push_back(row.outcomes[o]);
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        // P90: the largest value at least 90 % of the samples reach or exceed.
        const auto atLeast = [&](int percent) {
            return v[n - static_cast<size_t>((percent * n + 99) / 100)];
        };
        EXPECT_EQ(r.statistics[o].p90, atLeast(90)) << r.columns[o].column;
        EXPECT_EQ(r.statistics[o].p50, atLeast(50)) << r.columns[o].column;
        EXPECT_EQ(r.statistics[o].p10, atLeast(10)) << r.columns[o].column;
        const size_t beyond = static_cast<size_t>(std::count(v.begin(), v.end(), INFINITY));
        EXPECT_EQ(r.beyondPeriod[o], beyond);
        if (beyond < n) {
            double sum = 0;
            for (double x : v)
                if (std::isfinite(x)) sum += x;
            EXPECT_NEAR(r.statistics[o].mean, sum / double(n - beyond), 1e-9 * std::fabs(sum));
        }
    }
    // Some samples are abandoned within the twenty years, some are not.
    EXPECT_GT(r.beyondPeriod[1], 0u);
    EXPECT_LT(r.beyondPeriod[1], 200u);

    const morvek::ForecastFan& fan = r.fan;
    EXPECT_EQ(fan.samples, 200u);
    ASSERT_EQ(fan.days.size(), 241u) << "twenty years of months and the start";
    for (size_t k : {size_t{0}, size_t{60}, size_t{150}, size_t{240}}) {
        std::vector<double> rate, np;
        for (const morvek::ForecastSweepRow& row : run.rows) {
            const morvek::ForecastResult f = morvek::ForecastCase(
                morvek::SampleInputs(Base(), Varied(), {morvek::Sampling::LatinHypercube, 5, 200},
                                     row.sample));
            rate.push_back(float(f.OilRateAtDays(fan.days[k])));
            np.push_back(float(f.OilAtDays(fan.days[k])));
        }
        std::sort(rate.begin(), rate.end());
        std::sort(np.begin(), np.end());
        for (int p = 0; p < 3; ++p) {
            const int percent = p == 0 ? 90 : p == 1 ? 50 : 10;
            EXPECT_EQ(fan.oilRate[p][k], morvek::ReservesPercentile(rate, percent)) << k;
            EXPECT_EQ(fan.np[p][k], morvek::ReservesPercentile(np, percent)) << k;
        }
        EXPECT_LE(fan.np[0][k], fan.np[1][k]);
        EXPECT_LE(fan.np[1][k], fan.np[2][k]);
    }
}

TEST(ForecastSweep, RefusesYearsOutsideThePeriodAndCountsRefusedSamples) {
    morvek::ForecastSweepOptions o;
    o.npByYears = {2024};
    EXPECT_EQ(morvek::CheckForecastSweep(Base(), o),
              "Das Jahr 2024 liegt nicht im Prognosezeitraum (2025 bis 2044).");
    o.npByYears = {2044};
    EXPECT_EQ(morvek::CheckForecastSweep(Base(), o), "");
    // Samples whose bottom-hole pressure reaches the initial pressure (250
    // bar) are refused with the forecast's message; those whose wells give
    // less than the abandonment rate from the start (J (250 - pwf) < 60,
    // pwf above 238 bar) fail with that reason.
    std::vector<morvek::Variation> v(1);
    std::string problem;
    ASSERT_TRUE(morvek::ParseVariation("min_bottomhole_pressure_bar=100:300", v[0], problem));
    o.plan.samples = 40;
    o.npByYears = {};
    const morvek::ForecastSweepResult r = morvek::ForecastSweep(Base(), v, o);
    EXPECT_GT(r.failedCount, 0u);
    EXPECT_LT(r.failedCount, 40u);
    size_t refused = 0, tooLittle = 0;
    for (const morvek::FailedSample& f : r.failed) {
        const float pwf =
            morvek::SampleInputs(Base(), v, o.plan, f.sample).minBottomholePressureBar;
        if (pwf >= 250.0f) {
            ++refused;
            EXPECT_NE(f.reason.find("Mindestsohlendruck"), std::string::npos) << f.reason;
        } else {
            ++tooLittle;
            EXPECT_GT(pwf, 238.0f);
            EXPECT_NE(f.reason.find("Aufgaberate"), std::string::npos) << f.reason;
        }
    }
    EXPECT_GT(refused, 0u);
    EXPECT_GT(tooLittle, 0u);
    EXPECT_NE(morvek::ForecastSweepSummaryText("Nordfeld", v, o, r).find("Fehlgeschlagene Stichproben"),
              std::string::npos);
}

}  // namespace
