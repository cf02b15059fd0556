// What the match reports besides the fitted values: the residuals of a row
// computed by hand, the weights acting as the square roots the misfit says,
// and standard errors and 95 % intervals that follow linear least squares
// (residual variance over n - p degrees of freedom, Student's t at 0.975).
//
// The misfit of a real case is no closed formula, but how the statistics
// must change when the rows or the weights change is: each test below fits
// a case twice in two ways that linear least squares relates exactly, so a
// wrong degree of freedom, quantile or weight shows as a wrong ratio.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "GoldenCases.h"
#include "SyntheticRows.h"
#include "base/Format.h"
#include "match/Match.h"
#include "match/MatchMisfit.h"

namespace {

using morvek::MatchResult;
using morvek::MatchStatus;

// Nordfeld with noisy rows (+-3 %) sampled from its own prediction: pressure
// and gas-oil ratio pull the oil in place a little apart, so the weights
// matter and the residuals leave a variance to estimate.
morvek::CaseInputs NoisyNordfeld(int rows, bool gorEveryRow, unsigned seed) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    std::mt19937 random(seed);
    in.measuredRows = SampledRows(in, rows, gorEveryRow, &random, 0.03);
    return in;
}

MatchResult Fit(const morvek::CaseInputs& in, const std::vector<std::string>& names,
                double pressureWeight = 1, double gorWeight = 1) {
    morvek::MatchOptions options = morvek::MatchOptionsFor(names);
    // Start 10 % off the case's values, within the bounds.
    for (morvek::MatchParameter& p : options.parameters)
        if (p.name == "m_OOIP") p.start = 0.9 * in.ooip1000m3;
    options.weights = {pressureWeight, gorWeight};
    return morvek::Match(in, options);
}

// The rows once more, each with its pressure only.
std::vector<std::string> WithPressuresTwice(const std::vector<std::string>& rows) {
    std::vector<std::string> out = rows;
    for (const morvek::MeasuredPoint& p : morvek::MeasuredPoints(rows))
        out.push_back(Format("%.9g %.9g", p.np1000m3, p.pressureBar));
    return out;
}

// Critical values of Student's t distribution, two-sided 95 % (the 0.975
// quantile), by degrees of freedom: NIST/SEMATECH e-Handbook of Statistical
// Methods, table 1.3.6.7.2, printed to three decimals.
double StudentT975FromTable(int degreesOfFreedom) {
    static const double t[] = {NAN,   12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365,
                               2.306, 2.262,  2.228, 2.201, 2.179, 2.160, 2.145, 2.131,
                               2.120, 2.110,  2.101, 2.093, 2.086};
    return degreesOfFreedom >= 1 && degreesOfFreedom <= 20 ? t[degreesOfFreedom] : NAN;
}

}  // namespace

// Two steps (Np 0 and 100, pressure 250 and 230 bar, gas-oil ratio 100 and
// 120) and two rows, weights 4 on the pressure and 9 on the ratio:
//   row at Np 50:  computed 240 bar, 110 sm3/m3; measured 250 bar, 100 sm3/m3
//                  pressure  sqrt(4) (240 - 250) / 250 = -0.08
//                  ratio     sqrt(9) (110 - 100) / 100 =  0.30
//   row at Np 100: computed 230 bar; measured 200 bar, no ratio
//                  pressure  sqrt(4) (230 - 200) / 200 =  0.30
// weighted RMS sqrt((0.0064 + 0.09 + 0.09) / (4 + 9 + 4)) = 0.1047128...
TEST(MatchResiduals, AreRelativeToTheMeasuredValueAndCarryTheRootOfTheWeight) {
    morvek::PredictionResult prediction;
    prediction.steps.resize(2);
    prediction.steps[0].pressureBar = 250.0f;
    prediction.steps[0].gorSm3PerM3 = 100.0;
    prediction.steps[1].index = 1;
    prediction.steps[1].pressureBar = 230.0f;
    prediction.steps[1].np1000m3 = 100.0;
    prediction.steps[1].gorSm3PerM3 = 120.0;
    morvek::ResidualLayout layout{morvek::MeasuredPoints({"50 250 100", "100 200"}), 4.0, 9.0};
    ASSERT_EQ(layout.Count(), 3);
    std::vector<double> r(3);
    ASSERT_TRUE(morvek::Residuals(prediction, layout, r.data()));
    EXPECT_NEAR(r[0], -0.08, 1e-12);
    EXPECT_NEAR(r[1], 0.30, 1e-12);
    EXPECT_NEAR(r[2], 0.30, 1e-12);
    EXPECT_NEAR(morvek::WeightedRms(r, layout), std::sqrt(0.1864 / 17), 1e-12);
}

// The same definition end to end: one row, pressure only, its RMS before the
// fit is the relative deviation of the computed from the measured pressure.
TEST(MatchResiduals, OfTheCaseAreRelativeToTheMeasuredPressure) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    in.measuredRows = {"500 150"};
    const MatchResult r = Fit(in, {"m_OOIP"});
    ASSERT_EQ(r.rowsBefore.size(), 1u);
    const double computed = r.rowsBefore[0].pressureBar;
    ASSERT_GT(std::fabs(computed - 150.0), 5.0) << "the row must lie off the prediction";
    EXPECT_NEAR(r.rmsBefore, std::fabs(computed - 150.0) / 150.0, 1e-12);
}

// Multiplying every weight by the same factor multiplies the misfit by it:
// the fitted values, the RMS (weighted by the sum of the weights), the
// standard errors and the intervals stay.
TEST(MatchStatistics, ScalingEveryWeightAlikeChangesNothing) {
    const morvek::CaseInputs in = NoisyNordfeld(8, true, 7);
    const MatchResult base = Fit(in, {"m_OOIP", "m_KrgMax"}, 1.0, 0.5);
    ASSERT_EQ(base.status, MatchStatus::Converged) << base.message;
    for (double c : {4.0, 0.01}) {
        SCOPED_TRACE(c);
        const MatchResult scaled = Fit(in, {"m_OOIP", "m_KrgMax"}, c, 0.5 * c);
        ASSERT_EQ(scaled.status, MatchStatus::Converged) << scaled.message;
        EXPECT_NEAR(scaled.rmsBefore, base.rmsBefore, 1e-12 * base.rmsBefore);
        EXPECT_NEAR(scaled.rmsAfter, base.rmsAfter, 1e-6 * base.rmsAfter);
        for (size_t i = 0; i < base.inputs.size(); ++i) {
            SCOPED_TRACE(base.inputs[i].name);
            const morvek::FittedInput &a = base.inputs[i], &b = scaled.inputs[i];
            ASSERT_TRUE(a.hasStatistics && b.hasStatistics);
            EXPECT_NEAR(b.fitted / a.fitted, 1.0, 1e-5);
            EXPECT_NEAR(b.stdError / a.stdError, 1.0, 1e-3);
            EXPECT_NEAR((b.ci95High - b.ci95Low) / (a.ci95High - a.ci95Low), 1.0, 1e-3);
        }
    }
}

// A pressure weight of 2 adds each squared pressure residual twice: exactly
// what a second copy of every row with its pressure alone adds at weight 1
// (the residual carries sqrt(w), its square w). Both fits minimise the same
// function, so they agree, while the pressure weight does move the fit (the
// measured gas-oil ratios here lie 15 % above the case's, so pressure and
// ratio ask for different oil in place).
// Their statistics differ only by the degrees of freedom: the same sum of
// squares and the same curvature over n - p = 14 - 1 and 21 - 1, so the
// standard errors stand in the ratio sqrt(20 / 13).
TEST(MatchStatistics, APressureWeightOfTwoCountsEachPressureTwice) {
    morvek::CaseInputs in = NoisyNordfeld(7, true, 11);
    std::vector<std::string> biased;
    for (const morvek::MeasuredPoint& p : morvek::MeasuredPoints(in.measuredRows))
        biased.push_back(Format("%.9g %.9g %.9g", p.np1000m3, p.pressureBar, 1.15 * p.gorSm3PerM3));
    in.measuredRows = biased;
    morvek::CaseInputs twice = in;
    twice.measuredRows = WithPressuresTwice(in.measuredRows);

    const MatchResult weighted = Fit(in, {"m_OOIP"}, 2.0, 1.0);
    const MatchResult copied = Fit(twice, {"m_OOIP"}, 1.0, 1.0);
    const MatchResult plain = Fit(in, {"m_OOIP"}, 1.0, 1.0);
    for (const MatchResult* r : {&weighted, &copied, &plain})
        ASSERT_EQ(r->status, MatchStatus::Converged) << r->message;
    ASSERT_EQ(weighted.residualCount, 14);
    ASSERT_EQ(copied.residualCount, 21);

    const double a = weighted.inputs[0].fitted, b = copied.inputs[0].fitted;
    const double moved = std::fabs(plain.inputs[0].fitted - a);
    EXPECT_GT(moved, 0.002 * a) << "the pressure weight must move this fit";
    EXPECT_NEAR(b, a, 1e-3 * moved);
    EXPECT_NEAR(copied.rmsAfter, weighted.rmsAfter, 1e-6 * weighted.rmsAfter);
    EXPECT_NEAR(copied.rmsBefore, weighted.rmsBefore, 1e-12 * weighted.rmsBefore);
    EXPECT_NEAR(weighted.inputs[0].stdError / copied.inputs[0].stdError, std::sqrt(20.0 / 13.0),
                2e-3);
}

// Every row twice doubles the sum of squares and the curvature; only the
// degrees of freedom n - p become 2n - p. So the standard error falls by
// sqrt((n - p) / (2n - p)) exactly, not by sqrt(1/2): the variance is
// estimated over n - p, not n.
TEST(MatchStatistics, StandardErrorsFollowTheDegreesOfFreedom) {
    struct Case {
        int rows;
        bool gorEveryRow;
        std::vector<std::string> fitted;
    };
    for (const Case& c : {Case{3, false, {"m_OOIP"}}, Case{4, true, {"m_OOIP"}},
                          Case{6, true, {"m_OOIP", "m_KrgMax"}}}) {
        const morvek::CaseInputs in = NoisyNordfeld(c.rows, c.gorEveryRow, 3);
        morvek::CaseInputs twice = in;
        twice.measuredRows.insert(twice.measuredRows.end(), in.measuredRows.begin(),
                                  in.measuredRows.end());
        const MatchResult once = Fit(in, c.fitted);
        const MatchResult doubled = Fit(twice, c.fitted);
        ASSERT_EQ(once.status, MatchStatus::Converged) << once.message;
        ASSERT_EQ(doubled.status, MatchStatus::Converged) << doubled.message;
        const int n = once.residualCount, p = static_cast<int>(c.fitted.size());
        SCOPED_TRACE(Format("n %d, p %d", n, p));
        ASSERT_EQ(doubled.residualCount, 2 * n);
        EXPECT_EQ(once.degreesOfFreedom, n - p);
        EXPECT_EQ(doubled.degreesOfFreedom, 2 * n - p);
        EXPECT_NEAR(doubled.rmsAfter, once.rmsAfter, 1e-6 * once.rmsAfter);
        for (size_t i = 0; i < c.fitted.size(); ++i) {
            SCOPED_TRACE(c.fitted[i]);
            ASSERT_TRUE(once.inputs[i].hasStatistics && doubled.inputs[i].hasStatistics);
            EXPECT_NEAR(doubled.inputs[i].fitted / once.inputs[i].fitted, 1.0, 1e-4);
            EXPECT_NEAR(doubled.inputs[i].stdError / once.inputs[i].stdError,
                        std::sqrt(double(n - p) / (2 * n - p)), 2e-3);
        }
    }
}

// The 95 % interval is the fitted value plus and minus t(0.975, n - p)
// standard errors (where no bound cuts it), t as the statistics tables print
// it.
TEST(MatchStatistics, IntervalsAreStudentTStandardErrorsWide) {
    struct Case {
        int rows;
        bool gorEveryRow;
        double gorWeight;  // 0: the pressures alone
        std::vector<std::string> fitted;
        int degreesOfFreedom;
    };
    const std::vector<Case> cases = {
        {2, true, 0, {"m_OOIP"}, 1},
        {3, true, 0, {"m_OOIP"}, 2},
        {5, true, 0, {"m_OOIP", "m_KrgMax"}, 3},
        {3, false, 1, {"m_OOIP"}, 4},
        {3, true, 1, {"m_OOIP"}, 5},
        {5, false, 1, {"m_OOIP", "m_KrgMax"}, 7},
        {6, true, 1, {"m_OOIP", "m_KrgMax"}, 10},
        {9, true, 1, {"m_OOIP", "m_KrgMax"}, 16},
        {12, false, 1, {"m_OOIP"}, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("%d degrees of freedom", c.degreesOfFreedom));
        const morvek::CaseInputs in = NoisyNordfeld(c.rows, c.gorEveryRow, 5);
        const MatchResult r = Fit(in, c.fitted, 1.0, c.gorWeight);
        ASSERT_EQ(r.status, MatchStatus::Converged) << r.message;
        ASSERT_EQ(r.degreesOfFreedom, c.degreesOfFreedom);
        const double t = StudentT975FromTable(r.degreesOfFreedom);
        for (const morvek::FittedInput& f : r.inputs) {
            SCOPED_TRACE(f.name);
            ASSERT_TRUE(f.hasStatistics);
            ASSERT_GT(f.stdError, 0.0);
            ASSERT_GT(f.ci95Low, f.bounds.lower);
            ASSERT_LT(f.ci95High, f.bounds.upper);
            EXPECT_NEAR((f.ci95High - f.fitted) / f.stdError, t, 5e-4);
            EXPECT_NEAR((f.fitted - f.ci95Low) / f.stdError, t, 5e-4);
        }
    }
}
