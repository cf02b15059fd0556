// The match cannot fake success and does not depend on where it starts: the
// misfit is a continuous function of the inputs (no sawtooth where the gas
// starts to flow), several starts find the same answer, a row the prediction
// never reaches is never compared with its last step, and the bounds are the
// field table's ranges.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "GoldenCases.h"
#include "SyntheticRows.h"
#include "TestSupport.h"
#include "match/Match.h"
#include "match/MatchMisfit.h"
#include "match/MatchReport.h"
#include "model/MeasuredRows.h"

namespace {

// Gaskappe (N 5000, m 0.5) with twelve rows, +-2 % noise on every pressure and
// gas-oil ratio: the data on which starts 4000/0.6, 6000/0.3 and 5000/0.5 once
// ended at N 5022, 5070 and 5062, each "converged".
morvek::CaseInputs NoisyGasCap() {
    morvek::CaseInputs in = ExampleInputs("gaskappe.mvk");
    std::mt19937 random(20240611);
    in.measuredRows = SampledRows(in, 12, true, &random, 0.02);
    return in;
}

morvek::MatchOptions From(double ooip, double gasCap) {
    morvek::MatchOptions options = morvek::MatchOptionsFor({"m_OOIP", "m_Gaskappe"});
    options.parameters[0].start = ooip;
    options.parameters[1].start = gasCap;
    return options;
}

TEST(MatchStarts, ThreeStartsFindTheSameOilInPlace) {
    const morvek::CaseInputs in = NoisyGasCap();
    std::vector<double> found;
    for (auto [ooip, gasCap] : {std::pair{4000.0, 0.6}, {6000.0, 0.3}, {5000.0, 0.5}}) {
        SCOPED_TRACE(testing::Message() << "start " << ooip << "/" << gasCap);
        const morvek::MatchResult r = morvek::Match(in, From(ooip, gasCap));
        ASSERT_EQ(r.status, morvek::MatchStatus::Converged) << r.message;
        EXPECT_GT(r.starts.size(), 4u) << "the given start, the box's centre and its corners";
        EXPECT_EQ(r.starts.front().start[0], ooip);
        EXPECT_TRUE(r.startWarning.empty()) << r.startWarning;
        found.push_back(r.inputs[0].fitted);
        std::printf("start %.0f/%.1f: N %.2f, m %.4f, RMS %.3f %%\n", ooip, gasCap,
                    r.inputs[0].fitted, r.inputs[1].fitted, 100 * r.rmsAfter);
    }
    const auto [lo, hi] = std::minmax_element(found.begin(), found.end());
    EXPECT_LT((*hi - *lo) / *lo, 0.001) << *lo << " to " << *hi;
    // The truth lies within the noise's reach.
    EXPECT_NEAR(found[0], 5000, 150);
}

// The computed gas-oil ratio at a row's oil, as the match sees it, while the
// gas cap grows by a hundredth of a percent at a time and the point where the
// gas starts to flow moves across pressure steps: without a step at the onset
// it jumps by 2 % whenever the onset crosses a step (krg jumps from 0 where the
// Corey model lets gas flow, and the steps smear that jump over a step that
// depends on where the onset falls); with the onset's two points it changes
// smoothly. The same for the critical gas saturation.
TEST(MatchStarts, TheMisfitIsContinuousAcrossTheGasOnset) {
    struct Scan {
        const char* example;
        double rowBeyondOnset;  // the row's oil over the onset's
        float morvek::CaseInputs::*input;
    };
    for (const Scan& scan : {Scan{"gaskappe.mvk", 1.0, &morvek::CaseInputs::gasCapRatio},
                             Scan{"nordfeld.mvk", 1.02, &morvek::CaseInputs::criticalGasSaturation}}) {
        SCOPED_TRACE(scan.example);
        const morvek::CaseInputs in = ExampleInputs(scan.example);
        const morvek::PredictionResult base = morvek::PredictCase(in);
        double onsetNp = 0;
        for (const morvek::PredictionStep& s : base.steps)
            if (s.krgKro > 0) {
                onsetNp = s.np1000m3;
                break;
            }
        ASSERT_GT(onsetNp, 0.0);
        const double rowNp = scan.rowBeyondOnset * onsetNp;
        auto worstJump = [&](morvek::StepControl control) {
            double worst = 0, before = NAN;
            for (int k = -200; k <= 200; ++k) {
                morvek::CaseInputs c = in;
                c.*scan.input = static_cast<float>(in.*scan.input * (1 + 1e-4 * k));
                const morvek::PredictionResult r = morvek::PredictCase(c, {}, control);
                const double gor = morvek::PredictionAt(r, rowNp).gorSm3PerM3;
                if (!std::isnan(before)) worst = std::max(worst, std::fabs(gor - before) / before);
                before = gor;
            }
            return worst;
        };
        const double plain = worstJump({});
        const double smooth = worstJump(morvek::kMatchStepControl);
        std::printf("largest change of the row's GOR per 0.01 %% of the input: %.3g %% plain, "
                    "%.3g %% with the onset step\n",
                    100 * plain, 100 * smooth);
        EXPECT_GT(plain, 0.01) << "the scan crosses the onset's steps";
        EXPECT_LT(smooth, 1e-4);
    }
    // The program's own prediction keeps its steps; the match's has the two
    // points of the onset in addition.
    const morvek::CaseInputs nordfeld = ExampleInputs("nordfeld.mvk");
    EXPECT_EQ(morvek::PredictCase(nordfeld, {}, morvek::kMatchStepControl).steps.size(),
              morvek::PredictCase(nordfeld).steps.size() + 2);
}

// Rows beyond the end of the prediction (a PVT table that ends at 100 bar, a
// small oil in place) have nothing to be compared with: the match does not
// start, and names them; once it was compared with the last step, frozen, and
// "converged" with tight intervals.
TEST(MatchStarts, RowsBeyondThePredictionAreNeverComparedWithItsLastStep) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    morvek::LabPvtTable pvt;
    std::vector<std::string> problems;
    ASSERT_EQ(morvek::ReadPvtTableFile(SourcePath("examples/tabellen/nordfeld-pvt.txt"), pvt,
                                       problems),
              morvek::TableReadStatus::Read);
    std::erase_if(pvt.rows, [](const morvek::LabPvtRow& r) { return r.pressureBar < 100.0f; });
    in.pvtTable = pvt;
    // Five rows of the case's own prediction, down to 105 bar.
    const morvek::PredictionResult full = morvek::PredictCase(in);
    std::vector<std::string> rows;
    for (float p : {230.0f, 200.0f, 150.0f, 120.0f, 105.0f}) {
        const auto s = std::find_if(full.steps.begin(), full.steps.end(),
                                    [p](const morvek::PredictionStep& x) { return x.pressureBar <= p; });
        ASSERT_NE(s, full.steps.end());
        rows.push_back(
            Format("%.6g %.6g %.6g", s->np1000m3, double(s->pressureBar), s->gorSm3PerM3));
    }
    in.measuredRows = rows;

    // Half the oil in place: the prediction ends at 100 bar with about half
    // the oil, before the last rows' oil.
    in.ooip1000m3 = 2500.0f;
    const morvek::PredictionResult small = morvek::PredictCase(in, {}, morvek::kMatchStepControl);
    std::string beyond;
    int index = 0;
    for (const morvek::MeasuredPoint& row : morvek::MeasuredPoints(rows)) {
        ++index;
        if (row.np1000m3 > small.steps.back().np1000m3)
            beyond += (beyond.empty() ? "" : ", ") + std::to_string(index);
    }
    ASSERT_FALSE(beyond.empty());
    ASSERT_NE(beyond, "1, 2, 3, 4, 5");
    const morvek::MatchResult r = morvek::Match(in, morvek::MatchOptionsFor({"m_OOIP"}));
    EXPECT_EQ(r.status, morvek::MatchStatus::Refused);
    EXPECT_NE(r.message.find("An den Startwerten endet die Vorhersage bei Np"), std::string::npos)
        << r.message;
    EXPECT_NE(r.message.find("vor dem Öl der Meßwerte " + beyond + ":"), std::string::npos)
        << r.message;
    EXPECT_EQ(r.iterations, 0);

    // From the case's own oil in place every row lies within the prediction:
    // the match runs and finds it again.
    in.ooip1000m3 = 5000.0f;
    const morvek::MatchResult ok = morvek::Match(in, morvek::MatchOptionsFor({"m_OOIP"}));
    ASSERT_EQ(ok.status, morvek::MatchStatus::Converged) << ok.message;
    for (const morvek::RowComparison& row : ok.rowsAfter) EXPECT_FALSE(row.beyondPrediction);
    EXPECT_NEAR(ok.inputs[0].fitted, 5000, 50);
}

// The widest bounds are the field table's ranges: a gas cap up to 100 times
// the oil zone, as the dialog accepts it. A caller's bounds beyond them are
// refused with the range (a match to a gas cap of 100.64 once succeeded, and
// the case then failed the dialog's check and batch mode with exit 2).
TEST(MatchStarts, BoundsAreTheFieldTablesRanges) {
    morvek::CaseInputs in = ExampleInputs("gaskappe.mvk");
    in.measuredRows = SampledRows(in, 8, true, nullptr, 0.0);
    morvek::MatchOptions options = morvek::MatchOptionsFor({"m_Gaskappe"});
    options.parameters[0].bounds = morvek::MatchBounds{0, 1000};
    const morvek::MatchResult r = morvek::Match(in, options);
    EXPECT_EQ(r.status, morvek::MatchStatus::Refused);
    EXPECT_EQ(r.message, "m_Gaskappe: Die Grenzen müssen zwischen 0 und 100 liegen.");
    const morvek::Field& gasCap = *morvek::FindField("m_Gaskappe");
    const morvek::MatchBounds b = morvek::DefaultBounds(in, gasCap, {"m_Gaskappe"});
    EXPECT_EQ(b.lower, gasCap.min);
    EXPECT_EQ(b.upper, gasCap.max);
    for (const char* name : {"m_OOIP", "m_KrgMax", "m_KroMax", "m_Sgc", "m_Entloesungsdruck"}) {
        const morvek::Field& f = *morvek::FindField(name);
        const morvek::MatchBounds d = morvek::DefaultBounds(in, f, {name});
        EXPECT_GE(d.lower, f.min) << name;
        EXPECT_LE(d.upper, f.max) << name;
    }
}

}  // namespace
