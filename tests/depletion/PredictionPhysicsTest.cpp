// Physics the prediction must obey, checked on every step of every golden
// case with either answer to the oil-gravity question: the material balance
// closes, the oil above the bubble point produces only by its own expansion,
// no gas flows before the critical saturation, and cumulative production
// never falls.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GoldenCases.h"
#include "depletion/Prediction.h"

namespace {

// The balance N Et = F closes to the tolerance of the inner iteration on the
// step's mean gas-oil ratio (0.001 sm3/m3): the gas of the step leaves at the
// mean of the last pass, the oil volume was found with the one before, so the
// two may differ by that much times Bg per m3 of oil produced in the step.
double IterationAllowance(const morvek::PredictionStep& s, double dnp) {
    return 0.001 * s.bg * dnp;
}

TEST(PredictionPhysics, HoldsOnEveryStepOfEveryGoldenCase) {
    double worstResidual = 0.0;
    size_t checkedSteps = 0, abovePpb = 0;
    for (const GoldenCase& c : GoldenCases()) {
        for (bool useApi : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << c.name << (useApi ? ", answer ja" : ", answer nein"));
            const morvek::CaseInputs& in = c.inputs;
            const morvek::PredictionResult r = morvek::PredictCase(in, {useApi});
            const double n = in.ooip1000m3;
            const double sgc = in.criticalGasSaturation;
            double npBefore = 0.0, gpBefore = 0.0;
            bool gasFlowed = false;
            for (const morvek::PredictionStep& s : r.steps) {
                SCOPED_TRACE(testing::Message()
                             << "step " << s.index << " at " << s.pressureBar << " bar");
                // Cumulative oil and gas never fall.
                ASSERT_GE(s.np1000m3, npBefore);
                ASSERT_GE(s.gp1000Sm3, gpBefore);
                const double dnp = s.np1000m3 - npBefore;
                npBefore = s.np1000m3;
                gpBefore = s.gp1000Sm3;

                // The material balance, recomputed from the step's own numbers.
                const double oilTerm = std::max(0.0, s.bo - s.rs * s.bg);
                const double f = s.np1000m3 * oilTerm + s.gp1000Sm3 * s.bg;
                const double expansion = n * s.et;
                ASSERT_DOUBLE_EQ(s.et, s.eo + in.gasCapRatio * s.eg);
                if (s.converged && s.index > 0) {
                    const double residual = std::fabs(expansion - f);
                    EXPECT_LE(residual, IterationAllowance(s, dnp) + 1e-12 * std::fabs(expansion));
                    worstResidual = std::max(worstResidual, residual / std::fabs(expansion));
                    if (residual > 1e-9 * std::fabs(expansion)) ++abovePpb;
                    ++checkedSteps;
                }

                // Above the bubble point without a gas cap the oil produced is
                // what the oil in place expands by: Np/N = (Bo - Boi)/Bo.
                if (s.pressureBar > in.bubblePointPressureBar && in.gasCapRatio == 0.0f &&
                    s.index > 0 && s.converged) {
                    EXPECT_NEAR(s.np1000m3 / n, (s.bo - r.boi) / s.bo, 1e-9);
                }

                // No gas flows until the gas saturation passes Sgc: the
                // producing ratio is the solution ratio.
                gasFlowed = gasFlowed || s.gasSaturation > sgc;
                if (!gasFlowed) {
                    EXPECT_DOUBLE_EQ(s.gorEndSm3PerM3, s.rs);
                }
            }
        }
    }
    EXPECT_GT(checkedSteps, 5000u);
    RecordProperty("WorstRelativeBalanceResidual", std::to_string(worstResidual));
    std::printf("worst relative balance residual %.3g over %zu steps, %zu above 1e-9\n",
                worstResidual, checkedSteps, abovePpb);
}

}  // namespace
