// Predictions of different cases on several threads at once give exactly the
// single-threaded results, in the order of the cases (run under the tsan
// preset too).

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <thread>

#include "GoldenCases.h"
#include "depletion/PredictMany.h"
#include "report/CaseRun.h"

namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

void ExpectSame(const morvek::PredictionResult& a, const morvek::PredictionResult& b) {
    ASSERT_EQ(a.steps.size(), b.steps.size());
    for (size_t i = 0; i < a.steps.size(); ++i) {
        const morvek::PredictionStep &x = a.steps[i], &y = b.steps[i];
        ASSERT_TRUE(x.pressureBar == y.pressureBar && SameBits(x.np1000m3, y.np1000m3) &&
                    SameBits(x.gp1000Sm3, y.gp1000Sm3) && SameBits(x.gorSm3PerM3, y.gorSm3PerM3) &&
                    SameBits(x.oilViscosityCp, y.oilViscosityCp) && SameBits(x.krgKro, y.krgKro))
            << "step " << i;
    }
    EXPECT_EQ(a.events.size(), b.events.size());
    EXPECT_EQ(a.stopReason, b.stopReason);
    EXPECT_TRUE(SameBits(a.balanceRatio, b.balanceRatio) || a.balanceRatio != a.balanceRatio);
}

// Every golden case with either answer, several times over, so that threads
// run different cases at the same moment, and each one's prediction alone.
struct Cases {
    std::vector<morvek::CaseInputs> inputs;
    std::vector<bool> answers;
    std::vector<morvek::PredictionResult> alone;

    Cases() {
        for (int round = 0; round < 4; ++round)
            for (const GoldenCase& c : GoldenCases())
                for (bool yes : {false, true}) {
                    inputs.push_back(c.inputs);
                    answers.push_back(yes);
                    alone.push_back(morvek::PredictCase(c.inputs, {yes}));
                }
    }
};

TEST(PredictMany, GivesTheSingleThreadedResultsInTheOrderOfTheCases) {
    const Cases all;
    const std::vector<morvek::CaseInputs>& cases = all.inputs;
    const std::vector<bool>& answers = all.answers;
    const std::vector<morvek::PredictionResult>& alone = all.alone;

    // The library's parallel loop, for both answers separately.
    for (bool yes : {false, true}) {
        const std::vector<morvek::PredictionResult> many = morvek::PredictMany(cases, {yes}, 4);
        ASSERT_EQ(many.size(), cases.size());
        for (size_t i = 0; i < cases.size(); ++i)
            if (answers[i] == yes) ExpectSame(many[i], alone[i]);
    }
}

// Whole runs (report and graph too) of different cases on plain threads at
// once. (A test of its own: under the tsan preset the library's parallel loop
// has its frames suppressed, and a race reported there once would not be
// reported again here.)
TEST(ConcurrentRuns, GiveTheSingleThreadedResults) {
    const Cases all;
    const std::vector<morvek::CaseInputs>& cases = all.inputs;
    const std::vector<bool>& answers = all.answers;
    const std::vector<morvek::PredictionResult>& alone = all.alone;
    std::vector<morvek::CaseRun> runs(cases.size());
    std::vector<std::thread> threads;
    for (size_t t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (size_t i = t; i < cases.size(); i += 4)
                runs[i] = morvek::RunCase(cases[i], morvek::ResultKind::Prediction, {answers[i]});
        });
    for (std::thread& t : threads) t.join();
    for (size_t i = 0; i < cases.size(); ++i) {
        ExpectSame(*runs[i].prediction, alone[i]);
        EXPECT_EQ(runs[i].report,
                  morvek::RunCase(cases[i], morvek::ResultKind::Prediction, {answers[i]}).report);
    }
}

}  // namespace
