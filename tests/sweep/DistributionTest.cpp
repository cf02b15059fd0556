// The numbers of an uncertainty run against what they stand for: the drawn
// values against the distributions' own cumulative functions and moments
// (written here from the textbook formulas, not from the program's inverse),
// the summary's standard deviation against a two-pass computation over the
// samples, and the tornado's bars against runs of the case with one input
// moved in a direction whose effect is known.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "GoldenCases.h"
#include "sweep/Sampling.h"
#include "sweep/Sweep.h"
#include "sweep/Tornado.h"

namespace {

using morvek::Distribution;
using morvek::Outcome;

morvek::Variation Varied(const char* name, Distribution d, float low, float mode, float high) {
    morvek::Variation v;
    v.field = morvek::FindField(name);
    v.distribution = d;
    v.low = low;
    v.mode = mode;
    v.high = high;
    return v;
}

// The share of the distribution below x: for the triangular distribution
// with lower limit a, mode c and upper limit b,
//   (x - a)^2 / ((b - a)(c - a))       for a <= x <= c,
//   1 - (b - x)^2 / ((b - a)(b - c))   for c <= x <= b;
// for the uniform one (x - a) / (b - a).
double Cdf(const morvek::Variation& v, double x) {
    const double a = v.low, b = v.high, c = v.mode;
    if (x <= a) return 0.0;
    if (x >= b) return 1.0;
    if (v.distribution == Distribution::Uniform) return (x - a) / (b - a);
    if (x <= c) return (x - a) * (x - a) / ((b - a) * (c - a));
    return 1.0 - (b - x) * (b - x) / ((b - a) * (b - c));
}

// Mean and variance: (a + b + c) / 3 and (a² + b² + c² - ab - ac - bc) / 18
// for the triangular, (a + b) / 2 and (b - a)² / 12 for the uniform.
double Mean(const morvek::Variation& v) {
    const double a = v.low, b = v.high, c = v.mode;
    return v.distribution == Distribution::Uniform ? (a + b) / 2 : (a + b + c) / 3;
}
double Variance(const morvek::Variation& v) {
    const double a = v.low, b = v.high, c = v.mode;
    return v.distribution == Distribution::Uniform
               ? (b - a) * (b - a) / 12
               : (a * a + b * b + c * c - a * b - a * c - b * c) / 18;
}

// A triangular distribution whose mode is nearer the low end (so that
// mode - low and high - mode differ), and a uniform one.
std::vector<morvek::Variation> Distributions() {
    return {Varied("m_OOIP", Distribution::Triangular, 1000.0f, 2000.0f, 6000.0f),
            Varied("m_Sgc", Distribution::Triangular, 0.0f, 0.15f, 0.2f),
            Varied("m_Swi", Distribution::Uniform, 0.1f, 0.1f, 0.4f)};
}

}  // namespace

TEST(Sampling, QuantilesAreTheInverseOfTheCumulativeDistribution) {
    for (const morvek::Variation& v : Distributions()) {
        SCOPED_TRACE(v.field->recordName);
        for (int k = 0; k < 1000; ++k) {
            const double u = (k + 0.5) / 1000.0;
            const float x = v.Quantile(u);
            ASSERT_GE(x, v.low);
            ASSERT_LE(x, v.high);
            // x is single precision: the share below it is u within what
            // rounding x moves it.
            EXPECT_NEAR(Cdf(v, x), u, 2e-6) << "u " << u;
        }
        EXPECT_EQ(v.Quantile(0.0), v.low);
        EXPECT_NEAR(v.Quantile(std::nextafter(1.0, 0.0)), v.high, 1e-3 * (v.high - v.low));
    }
}

// Monte Carlo over fixed seeds: 20000 samples of each distribution have the
// distribution's mean and variance (within four standard errors) and their
// empirical distribution stays within the Kolmogorov-Smirnov bound
// 1.63 / sqrt(n) of its cumulative function (the 1 % level).
TEST(Sampling, MonteCarloSamplesHaveTheMomentsAndShapeOfTheirDistribution) {
    const morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    const std::vector<morvek::Variation> variations = Distributions();
    constexpr uint64_t n = 20000;
    for (uint64_t seed : {1ull, 2ull, 3ull}) {
        const morvek::SamplingPlan plan{morvek::Sampling::MonteCarlo, seed, n};
        std::vector<std::vector<double>> drawn(variations.size());
        for (uint64_t s = 1; s <= n; ++s) {
            const morvek::CaseInputs in = morvek::SampleInputs(base, variations, plan, s);
            for (size_t j = 0; j < variations.size(); ++j)
                drawn[j].push_back(variations[j].field->Number(in));
        }
        for (size_t j = 0; j < variations.size(); ++j) {
            const morvek::Variation& v = variations[j];
            SCOPED_TRACE(testing::Message() << v.field->recordName << ", seed " << seed);
            std::vector<double>& x = drawn[j];
            double sum = 0;
            for (double value : x) sum += value;
            const double mean = sum / n;
            double squares = 0;
            for (double value : x) squares += (value - mean) * (value - mean);
            const double variance = squares / (n - 1);
            const double sd = std::sqrt(Variance(v));
            EXPECT_NEAR(mean, Mean(v), 4 * sd / std::sqrt(double(n)));
            // The variance's standard error: sigma^2 sqrt((kurtosis - 1) / n),
            // the kurtosis at most 2.4 for these shapes.
            EXPECT_NEAR(variance, Variance(v), 4 * Variance(v) * std::sqrt(1.4 / n));
            std::sort(x.begin(), x.end());
            double d = 0;
            for (size_t i = 0; i < n; ++i) {
                const double f = Cdf(v, x[i]);
                d = std::max({d, std::fabs(f - double(i) / n), std::fabs(f - double(i + 1) / n)});
            }
            EXPECT_LT(d, 1.63 / std::sqrt(double(n)));
        }
    }
}

// A Latin hypercube of n samples puts exactly one value into each of the n
// ranges of equal probability: the k-th smallest value lies where the
// cumulative function is between k/n and (k+1)/n.
TEST(Sampling, LatinHypercubeFillsEveryRangeOfEqualProbabilityOnce) {
    const morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    const std::vector<morvek::Variation> variations = Distributions();
    for (uint64_t n : {10ull, 997ull}) {
        const morvek::SamplingPlan plan{morvek::Sampling::LatinHypercube, 42, n};
        std::vector<std::vector<double>> drawn(variations.size());
        for (uint64_t s = 1; s <= n; ++s) {
            const morvek::CaseInputs in = morvek::SampleInputs(base, variations, plan, s);
            for (size_t j = 0; j < variations.size(); ++j)
                drawn[j].push_back(variations[j].field->Number(in));
        }
        for (size_t j = 0; j < variations.size(); ++j) {
            SCOPED_TRACE(testing::Message() << variations[j].field->recordName << ", n " << n);
            std::sort(drawn[j].begin(), drawn[j].end());
            for (size_t k = 0; k < n; ++k) {
                const double f = Cdf(variations[j], drawn[j][k]);
                EXPECT_GE(f, double(k) / n - 2e-6) << k;
                EXPECT_LE(f, double(k + 1) / n + 2e-6) << k;
            }
        }
    }
}

// The summary's mean and standard deviation are those of the samples the
// sink saw, computed here in two passes with n - 1 (the sample standard
// deviation), for every outcome.
TEST(Sweep, MeanAndStandardDeviationAreThoseOfTheSamples) {
    const morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    const std::vector<morvek::Variation> variations = {
        Varied("m_Gaskappe", Distribution::Uniform, 0.0f, 0.0f, 0.6f),
        Varied("m_KrgMax", Distribution::Triangular, 0.5f, 0.6f, 1.0f)};
    for (uint64_t samples : {2ull, 7ull, 60ull}) {
        SCOPED_TRACE(samples);
        morvek::SweepOptions options;
        options.plan.samples = samples;
        options.abandonmentPressureBar = 100.0f;
        std::vector<morvek::OutcomeValues> rows;
        const morvek::SweepResult result =
            morvek::Sweep(base, variations, options, [&](const morvek::SweepRow& row) {
                ASSERT_FALSE(row.Failed()) << row.failure;
                rows.push_back(row.outcomes);
            });
        ASSERT_EQ(rows.size(), samples);
        for (size_t o = 0; o < morvek::kOutcomeCount; ++o) {
            SCOPED_TRACE(morvek::InfoOf(Outcome(o)).column);
            double sum = 0;
            for (const morvek::OutcomeValues& r : rows) sum += r[o];
            const double mean = sum / samples;
            double squares = 0;
            for (const morvek::OutcomeValues& r : rows) squares += (r[o] - mean) * (r[o] - mean);
            const double sd = std::sqrt(squares / (samples - 1));
            const morvek::OutcomeStatistics& s = result.statistics[o];
            EXPECT_EQ(s.count, samples);
            EXPECT_NEAR(s.mean, mean, 1e-12 * std::fabs(mean));
            EXPECT_NEAR(s.stdDev, sd, 1e-9 * sd + 1e-12 * std::fabs(mean));
            if (o == size_t(Outcome::RfEnd)) {
                EXPECT_GT(sd, 0.1);
            }
        }
    }
}

// An input with a known effect: a larger gas cap drives out more oil and a
// larger oil end point lets more oil flow against the gas, so both raise the
// recovery factor. Each bar's low end is the run with the input at its low
// value and lies below the base case, its high end above.
TEST(Tornado, BarsRunFromTheLowToTheHighValueOfTheirInput) {
    morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    base.gasCapRatio = 0.3f;
    base.kroMax = 0.8f;
    const std::vector<morvek::Variation> variations = {
        Varied("m_KroMax", Distribution::Uniform, 0.5f, 0.5f, 1.0f),
        Varied("m_Gaskappe", Distribution::Uniform, 0.1f, 0.1f, 0.6f)};
    const morvek::TornadoResult t = morvek::Tornado(base, variations, morvek::SweepOptions{});
    ASSERT_TRUE(t.baseFailure.empty()) << t.baseFailure;
    auto rf = [](const morvek::CaseInputs& in) {
        const morvek::PredictionResult r = morvek::PredictCase(in);
        return 100.0 * r.steps.back().np1000m3 / in.ooip1000m3;
    };
    EXPECT_DOUBLE_EQ(t.baseRf, rf(base));
    ASSERT_EQ(t.bars.size(), 2u);
    for (const morvek::TornadoBar& bar : t.bars) {
        SCOPED_TRACE(bar.variation.field->recordName);
        ASSERT_TRUE(bar.lowFailure.empty() && bar.highFailure.empty());
        morvek::CaseInputs low = base, high = base;
        bar.variation.field->Number(low) = bar.variation.low;
        bar.variation.field->Number(high) = bar.variation.high;
        EXPECT_DOUBLE_EQ(bar.rfLow, rf(low));
        EXPECT_DOUBLE_EQ(bar.rfHigh, rf(high));
        EXPECT_LT(bar.rfLow, t.baseRf);
        EXPECT_GT(bar.rfHigh, t.baseRf);
    }
    EXPECT_GE(t.bars[0].Swing(t.baseRf), t.bars[1].Swing(t.baseRf));
}
