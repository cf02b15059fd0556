// The sampling and the summary of uncertainty runs: every Latin hypercube
// stratum drawn once, whatever the order the samples are drawn in, and
// P-values in the reserves convention on a sweep whose outcome is monotonic
// in its one input.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

#include "GoldenCases.h"
#include "base/Format.h"
#include "sweep/Sampling.h"
#include "sweep/Sweep.h"
#include "sweep/SweepText.h"
#include "sweep/Tornado.h"

namespace {

using morvek::Outcome;

std::vector<morvek::Variation> Inputs(std::initializer_list<const char*> names) {
    std::vector<morvek::Variation> out;
    for (const char* name : names) {
        morvek::Variation v;
        v.field = morvek::FindField(name);
        v.low = 0.0f;
        v.high = 1.0f;
        out.push_back(v);
    }
    return out;
}

TEST(Sampling, LatinHypercubeDrawsEveryStratumOnceWhateverTheOrder) {
    const std::vector<morvek::Variation> three = Inputs({"m_OOIP", "m_Sgc", "m_Gas[3]"});
    for (uint64_t samples : {1ull, 2ull, 7ull, 1000ull, 4097ull}) {
        for (uint64_t seed : {1ull, 42ull}) {
            const morvek::SamplingPlan plan{morvek::Sampling::LatinHypercube, seed, samples};
            std::vector<std::set<uint64_t>> strata(three.size());
            // Backwards: a sample's numbers must not depend on those drawn before.
            for (uint64_t s = samples; s >= 1; --s) {
                const std::vector<double> shares = morvek::SampleShares(plan, three, s);
                ASSERT_EQ(shares, morvek::SampleShares(plan, three, s));
                for (size_t j = 0; j < three.size(); ++j) {
                    ASSERT_GE(shares[j], 0.0);
                    ASSERT_LT(shares[j], 1.0);
                    strata[j].insert(static_cast<uint64_t>(shares[j] * samples));
                }
            }
            for (size_t j = 0; j < three.size(); ++j) {
                EXPECT_EQ(strata[j].size(), samples) << "input " << j << ", seed " << seed;
                EXPECT_EQ(*strata[j].rbegin(), samples - 1);
            }
        }
    }
    // The inputs are paired at random, not stratum by stratum; another seed
    // gives other samples; an input's values do not depend on the order or
    // the set of the other inputs.
    const std::vector<morvek::Variation> two = Inputs({"m_Sgc", "m_OOIP"});
    for (morvek::Sampling sampling :
         {morvek::Sampling::LatinHypercube, morvek::Sampling::MonteCarlo}) {
        const morvek::SamplingPlan a{sampling, 1, 1000};
        const morvek::SamplingPlan b{sampling, 2, 1000};
        int sameStratum = 0, sameAsOtherSeed = 0, sameInOtherOrder = 0;
        for (uint64_t s = 1; s <= 1000; ++s) {
            const std::vector<double> x = morvek::SampleShares(a, three, s);
            const std::vector<double> y = morvek::SampleShares(a, two, s);
            sameStratum += static_cast<int>(x[0] * 1000) == static_cast<int>(x[1] * 1000);
            sameAsOtherSeed += x == morvek::SampleShares(b, three, s);
            sameInOtherOrder += y[0] == x[1] && y[1] == x[0];
        }
        EXPECT_LT(sameStratum, 10);
        EXPECT_EQ(sameAsOtherSeed, 0);
        EXPECT_EQ(sameInOtherOrder, 1000);
    }
}

TEST(Sweep, PValuesFollowTheReservesConvention) {
    // Nordfeld with a gas cap of varied size: the expanding cap drives out
    // more oil, so the recovery factor rises with the input.
    const morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    morvek::Variation gasCap;
    gasCap.field = morvek::FindField("m_Gaskappe");
    gasCap.low = 0.0f;
    gasCap.high = 0.6f;
    ASSERT_EQ(morvek::CheckVariations({gasCap}), "");

    for (uint64_t samples : {200ull, 7ull}) {
        morvek::SweepOptions options;
        options.plan.samples = samples;
        std::vector<std::pair<float, double>> byInput;  // (m, recovery factor)
        const morvek::SweepResult result =
            morvek::Sweep(base, {gasCap}, options, [&](const morvek::SweepRow& row) {
                ASSERT_FALSE(row.Failed()) << row.failure;
                byInput.push_back({row.values[0], row.outcomes[size_t(Outcome::RfEnd)]});
            });
        ASSERT_EQ(byInput.size(), samples);
        ASSERT_EQ(result.failedCount, 0u);
        std::sort(byInput.begin(), byInput.end());
        for (size_t i = 1; i < byInput.size(); ++i)
            ASSERT_LT(byInput[i - 1].second, byInput[i].second) << "not monotonic at " << i;

        const morvek::OutcomeStatistics& rf = result.Of(Outcome::RfEnd);
        EXPECT_LT(rf.p90, rf.p50);
        EXPECT_LT(rf.p50, rf.p10);
        // P90 is the largest value that 90 % reach or exceed: with 200 samples
        // the 21st smallest (180 reach it), with 7 the smallest (all 7 >= 6.3).
        auto rfAtRank = [&](size_t rank) { return byInput[rank].second; };
        const size_t n = samples;
        EXPECT_EQ(rf.p90, rfAtRank(n - (9 * n + 9) / 10));
        EXPECT_EQ(rf.p50, rfAtRank(n - (n + 1) / 2));
        EXPECT_EQ(rf.p10, rfAtRank(n - (n + 9) / 10));
        auto reaching = [&](double v) {
            return std::count_if(byInput.begin(), byInput.end(),
                                 [v](const auto& p) { return p.second >= v; });
        };
        EXPECT_GE(10 * reaching(rf.p90), 9 * static_cast<long>(n));
        EXPECT_LT(10 * reaching(std::nextafter(rf.p90, 1e9)), 9 * static_cast<long>(n));
        EXPECT_GE(10 * reaching(rf.p10), static_cast<long>(n));
        EXPECT_LT(10 * reaching(std::nextafter(rf.p10, 1e9)), static_cast<long>(n));

        double sum = 0;
        for (const auto& p : byInput) sum += p.second;
        EXPECT_NEAR(rf.mean, sum / n, 1e-12 * std::fabs(sum / n));
        EXPECT_EQ(rf.min, byInput.front().second);
        EXPECT_EQ(rf.max, byInput.back().second);
        // The S-curve rises through every sample to 100 %.
        ASSERT_FALSE(result.rfCurve.empty());
        EXPECT_EQ(result.rfCurve.back().cumulativePercent, 100.0);
        EXPECT_TRUE(std::is_sorted(result.rfCurve.begin(), result.rfCurve.end(),
                                   [](const auto& a, const auto& b) { return a.value < b.value; }));
    }
}

}  // namespace

namespace {

// The summary keeps one number per sample and outcome; more samples than half
// the computer's memory holds are refused with how many fit, fewer pass.
TEST(Sweep, ASliceCountsAndSaysItsOwnSamples) {
    // Samples 2 to 301 of 400 on one thread: the progress and a cancellation
    // count the slice's 300 samples, not the design's 400, and the summary
    // names the slice, as the forecast's uncertainty run does.
    const morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    const std::vector<morvek::Variation> varied = Inputs({"m_Gaskappe"});
    morvek::SweepOptions options;
    options.plan.samples = 400;
    options.threads = 1;
    options.firstSample = 2;
    options.count = 300;
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    const morvek::SweepResult r = morvek::Sweep(
        base, varied, options, {}, [&](uint64_t done, uint64_t total) {
            calls.push_back({done, total});
            return false;  // cancelled after the first chunk
        });
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].second, 300u);
    EXPECT_TRUE(r.cancelled);
    const std::string summary =
        morvek::SweepSummaryText({"Nordfeld", varied, options, r, nullptr});
    EXPECT_NE(summary.find("Gerechnet: die Stichproben 2 bis 301\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find(Format("Abgebrochen nach %llu von 300 Stichproben.",
                                  static_cast<unsigned long long>(calls[0].first))),
              std::string::npos)
        << summary;
    // The whole design is no slice and says nothing of one.
    options.firstSample = 1;
    options.count = 0;
    options.plan.samples = 3;
    const morvek::SweepResult whole = morvek::Sweep(base, varied, options);
    EXPECT_EQ(morvek::SweepSummaryText({"Nordfeld", varied, options, whole, nullptr}).find("Gerechnet"),
              std::string::npos);
}

TEST(Sweep, RefusesMoreSamplesThanHalfTheMemoryHolds) {
    morvek::SweepOptions options;
    EXPECT_EQ(morvek::SummaryBytesPerSample(options), 40u);
    constexpr uint64_t kMemory = 8000000000;  // 8 GB: 4 GB for 100 million samples of 40 bytes
    options.plan.samples = 100000000;
    EXPECT_EQ(morvek::CheckSummaryMemory(options, kMemory), "");
    options.plan.samples = 100000001;
    EXPECT_EQ(morvek::CheckSummaryMemory(options, kMemory),
              "100000001 Stichproben brauchen für die Zusammenfassung 4.0 GB Speicher (40 Byte je "
              "Stichprobe, damit P90, P50 und P10 genau die Werte der Stichproben sind); sie darf "
              "höchstens die Hälfte der 8.0 GB dieses Rechners belegen, also höchstens 100000000 "
              "Stichproben. Bitte weniger Stichproben angeben oder den Lauf mit verschiedenen "
              "--seed aufteilen.");
    // The two abandonment outcomes add 16 bytes a sample.
    options.abandonmentPressureBar = 50.0f;
    EXPECT_EQ(morvek::SummaryBytesPerSample(options), 56u);
    options.plan.samples = kMemory / 2 / 56;
    EXPECT_EQ(morvek::CheckSummaryMemory(options, kMemory), "");
    ++options.plan.samples;
    EXPECT_NE(morvek::CheckSummaryMemory(options, kMemory), "");
    // Unknown memory refuses nothing; this computer's is known.
    EXPECT_EQ(morvek::CheckSummaryMemory(options, 0), "");
    EXPECT_GT(morvek::MemoryOfComputerBytes(), uint64_t{1} << 26);
}

// A prediction that produces nothing (a PVT table with constant Bo and Rs
// above the bubble point: the balance is 0/0) is a failed sample, not one
// with a recovery of 0 %.
TEST(Sweep, ASampleThatProducesNothingFails) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    in.pvtTable = ExamplePvtTable("nordfeld-pvt.txt");
    morvek::OutcomeValues outcomes{};
    std::string failure;
    morvek::RunSample(in, {}, outcomes, failure);
    EXPECT_EQ(failure, "");
    for (morvek::LabPvtRow& r : in.pvtTable->rows)
        if (r.pressureBar > in.bubblePointPressureBar) r.bo = 1.298f, r.rs = 100.23f;
    morvek::RunSample(in, {}, outcomes, failure);
    EXPECT_EQ(failure, "Keine sinnvolle Berechnung möglich: Materialbilanzfehler");
}

// With an abandonment pressure the tornado shows the recovery at abandonment,
// the outcome the sweep summarises, not the one at the run's end; its text
// says at which pressure.
TEST(Tornado, TakesTheRecoveryAtTheAbandonmentPressure) {
    const morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    morvek::Variation krg;
    krg.field = morvek::FindField("m_KrgMax");
    krg.low = 0.3f;
    krg.high = 0.9f;
    morvek::SweepOptions atEnd;
    atEnd.threads = 1;
    morvek::SweepOptions at50 = atEnd;
    at50.abandonmentPressureBar = 50.0f;
    const morvek::TornadoResult end = morvek::Tornado(base, {krg}, atEnd);
    const morvek::TornadoResult abandon = morvek::Tornado(base, {krg}, at50);
    EXPECT_EQ(end.abandonmentPressureBar, 0.0f);
    EXPECT_EQ(abandon.abandonmentPressureBar, 50.0f);
    // The sample's own outcomes, run as a sweep runs them.
    morvek::OutcomeValues outcomes{};
    std::string failure;
    morvek::CaseInputs low = base;
    low.krgMax = 0.3f;
    morvek::RunSample(low, at50, outcomes, failure);
    ASSERT_EQ(failure, "");
    EXPECT_EQ(abandon.bars[0].rfLow, outcomes[static_cast<size_t>(Outcome::RfAbandon)]);
    EXPECT_EQ(end.bars[0].rfLow, outcomes[static_cast<size_t>(Outcome::RfEnd)]);
    EXPECT_LT(abandon.bars[0].rfLow, end.bars[0].rfLow - 1.0) << "50 bar comes well before the end";
    morvek::RunSample(base, at50, outcomes, failure);
    EXPECT_EQ(abandon.baseRf, outcomes[static_cast<size_t>(Outcome::RfAbandon)]);
}

}  // namespace
