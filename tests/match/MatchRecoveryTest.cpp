// The match on cases the program makes itself: measured rows sampled from the
// prediction of known inputs, the match started 20 % away from them. Without
// noise it must find the inputs again; with +-2 % noise on the measured
// pressures and gas-oil ratios the known inputs must lie inside the 95 %
// intervals it reports.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "GoldenCases.h"
#include "SyntheticRows.h"
#include "match/Match.h"

namespace {

struct SyntheticCase {
    const char* name;
    morvek::CaseInputs truth;
    bool gorEveryRow;  // else every third row holds pressure only
    double ooipStart, gasCapStart;
};

std::vector<SyntheticCase> Cases() {
    morvek::CaseInputs gaskappe = ExampleInputs("gaskappe.mvk");
    morvek::CaseInputs standing = ExampleInputs("nordfeld.mvk");
    standing.correlation = 2;
    standing.ooip1000m3 = 12000.0f;
    standing.gasCapRatio = 0.2f;
    morvek::CaseInputs sauergas = ExampleInputs("sauergas.mvk");
    sauergas.gasCapRatio = 1.0f;
    return {
        {"gaskappe", gaskappe, true, 0.8 * 5000, 1.2 * 0.5},
        {"standing", standing, false, 1.2 * 12000, 0.8 * 0.2},
        {"sauergas", sauergas, true, 0.8 * 5000, 0.8 * 1.0},
    };
}

morvek::MatchOptions OoipAndGasCap(const SyntheticCase& c) {
    morvek::MatchOptions options = morvek::MatchOptionsFor({"m_OOIP", "m_Gaskappe"});
    options.parameters[0].start = c.ooipStart;
    options.parameters[1].start = c.gasCapStart;
    return options;
}

TEST(MatchRecovery, FindsOilInPlaceAndGasCapOfSyntheticCases) {
    std::mt19937 random(20240611);
    for (const SyntheticCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const double n = c.truth.ooip1000m3, m = c.truth.gasCapRatio;
        ASSERT_GT(m, 0.0);

        // Noise-free rows: the inputs again, within 0.5 %.
        morvek::CaseInputs exact = c.truth;
        exact.measuredRows = SampledRows(c.truth, 12, c.gorEveryRow, nullptr, 0.0);
        const morvek::MatchResult r = morvek::Match(exact, OoipAndGasCap(c));
        ASSERT_EQ(r.status, morvek::MatchStatus::Converged) << r.message;
        EXPECT_NEAR(r.inputs[0].stored / n, 1.0, 0.005);
        EXPECT_NEAR(r.inputs[1].stored / m, 1.0, 0.005);
        EXPECT_LT(r.rmsAfter, 1e-3);
        EXPECT_GT(r.rmsBefore, 10 * r.rmsAfter);
        EXPECT_EQ(r.fittedInputs.ooip1000m3, r.inputs[0].stored);
        EXPECT_EQ(r.fittedInputs.gasCapRatio, r.inputs[1].stored);
        EXPECT_GT(r.predictions, r.iterations);

        // +-2 % on every measured pressure and gas-oil ratio: the truth lies
        // within the reported 95 % intervals, which are not absurdly wide.
        morvek::CaseInputs noisy = c.truth;
        noisy.measuredRows = SampledRows(c.truth, 12, c.gorEveryRow, &random, 0.02);
        const morvek::MatchResult q = morvek::Match(noisy, OoipAndGasCap(c));
        ASSERT_EQ(q.status, morvek::MatchStatus::Converged) << q.message;
        const double truth[2] = {n, m};
        for (int i = 0; i < 2; ++i) {
            const morvek::FittedInput& f = q.inputs[static_cast<size_t>(i)];
            SCOPED_TRACE(f.name);
            ASSERT_TRUE(f.hasStatistics);
            EXPECT_LE(f.ci95Low, truth[i]);
            EXPECT_GE(f.ci95High, truth[i]);
            EXPECT_NEAR(f.ci95High - f.fitted, f.fitted - f.ci95Low, 1e-9 * std::fabs(f.fitted));
            EXPECT_LT(f.ci95High - f.ci95Low, truth[i]);
        }
        ASSERT_EQ(q.correlation.size(), 2u);
        EXPECT_DOUBLE_EQ(q.correlation[0][1], q.correlation[1][0]);
        EXPECT_LE(std::fabs(q.correlation[0][1]), 1.0);
        EXPECT_GT(q.rmsAfter, 0.002);  // the noise is left over, not fitted away
    }
}

}  // namespace
