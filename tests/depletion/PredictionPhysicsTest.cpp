// Physics the prediction must obey, checked on every step of every golden
// case with either answer to the oil-gravity question, as the case is, with
// rock and water compressibility, and with laboratory tables taken from its
// own fluids: the material balance closes, the oil above the bubble point
// produces only by its own expansion and that of the connate water and the
// pore volume, no gas flows before it is mobile, cumulative production never
// falls, and a PVT table ends the run at its lowest pressure.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GoldenCases.h"
#include "depletion/Prediction.h"

namespace {

// The balance N Et = F closes to the tolerance of the inner iteration on the
// step's mean gas-oil ratio (0.001 sm3/m3): the gas of the step leaves at the
// mean of the last pass, the oil volume was found with the one before, so the
// two may differ by that much times the gas term (Bg for a black oil) per m3
// of oil produced in the step.
double IterationAllowance(const morvek::PredictionStep& s, double dnp) {
    return 0.001 * morvek::GasWithdrawalM3PerSm3({s.bo, s.rs, s.bg, s.rv}) * dnp;
}

struct Tally {
    double worstResidual = 0.0;
    size_t checkedSteps = 0, abovePpb = 0, tableEnds = 0, variants = 0, withRv = 0;
};

// The case's own fluids as a laboratory table: 40 rows up to the bubble
// point and 5 above it; nothing when a correlation gives no number there.
std::optional<morvek::LabPvtTable> PvtTableOfOwnFluids(const morvek::CaseInputs& in, bool useApi) {
    const morvek::FluidModel fluid = morvek::FluidOfCase(in, {useApi});
    const float pb = in.bubblePointPressureBar, pi = in.initialPressureBar;
    std::vector<float> pressures;
    for (int k = 1; k <= 40; ++k) pressures.push_back(pb * float(k) / 40.0f);
    for (int k = 1; k <= 5 && pi > pb; ++k) pressures.push_back(pb + (pi - pb) * float(k) / 5.0f);
    std::vector<morvek::LabPvtRow> rows;
    for (float p : pressures) {
        const double rs = fluid.Rs(p), bg = fluid.Bg(p);
        rows.push_back({p, float(fluid.Bo(p, rs)), float(rs), float(bg),
                        float(fluid.OilViscosity(p, rs)), float(fluid.GasViscosity(p, bg))});
    }
    morvek::LabPvtTable table;
    std::vector<std::string> problems;
    if (morvek::PvtTableFromRows(rows, "eigen.txt", table, problems) !=
        morvek::TableReadStatus::Read)
        return std::nullopt;
    for (const morvek::LabPvtRow& r : table.rows)
        if (!(r.bg > 0.0f && r.gasViscosityCp > 0.0f)) return std::nullopt;
    return table;
}

// The Corey curves of the case's table as a laboratory table of 21 rows.
morvek::LabRelPermTable RelPermTableOfCorey(const morvek::CaseInputs& in) {
    const double swi = in.connateWaterSaturation, sgc = in.criticalGasSaturation;
    std::vector<morvek::LabRelPermRow> rows;
    for (int k = 0; k <= 20; ++k) {
        const double sg = (1.0 - swi) * k / 20.0, sl = 1.0 - sg;
        const double kro = in.kroMax * std::pow((sl - swi) / (1.0 - swi), 4);
        const double s = (sl - swi) / (1.0 - swi - sgc);
        const double krg = sl < 1.0 - sgc ? in.krgMax * (1 - s) * (1 - s) * (1 - s * s) : 0.0;
        rows.push_back({float(sg), float(std::clamp(krg, 0.0, 1.0)), float(kro)});
    }
    morvek::LabRelPermTable table;
    std::vector<std::string> problems;
    EXPECT_EQ(morvek::RelPermTableFromRows(rows, "corey.txt", table, problems),
              morvek::TableReadStatus::Read);
    return table;
}

void CheckPhysics(const morvek::CaseInputs& in, bool useApi, Tally& tally) {
    const morvek::PredictionResult r = morvek::PredictCase(in, {useApi});
    double immobileGas = in.criticalGasSaturation;
    if (in.relPermTable) {
        for (const morvek::LabRelPermRow& row : in.relPermTable->rows) {
            if (row.krg != 0.0f) break;
            immobileGas = row.gasSaturation;
        }
    }
    ++tally.variants;
    const double n = in.ooip1000m3;
    const double swi = in.connateWaterSaturation;
    const bool laboratory = morvek::UsesLaboratoryPath(in);
    const double efwPerBar =
        r.initialStateTaken
            ? (1.0 + in.gasCapRatio) * r.boi *
                  (in.waterCompressibilityPerBar * swi + in.poreCompressibilityPerBar) / (1.0 - swi)
            : 0.0;
    double npBefore = 0.0, gpBefore = 0.0;
    bool gasFlowed = false;
    for (const morvek::PredictionStep& s : r.steps) {
        SCOPED_TRACE(testing::Message() << "step " << s.index << " at " << s.pressureBar << " bar");
        // Cumulative oil and gas never fall.
        ASSERT_GE(s.np1000m3, npBefore);
        ASSERT_GE(s.gp1000Sm3, gpBefore);
        const double dnp = s.np1000m3 - npBefore;
        npBefore = s.np1000m3;
        gpBefore = s.gp1000Sm3;

        // The material balance, recomputed from the step's own numbers: with
        // a table or a compressibility the oil term as it is (with Rv the
        // generalised terms), on the correlations' path dropped where
        // negative, as that path always has.
        const double f =
            laboratory
                ? morvek::WithdrawalF1000m3({s.bo, s.rs, s.bg, s.rv}, s.np1000m3, s.gp1000Sm3)
                : s.np1000m3 * std::max(0.0, s.bo - s.rs * s.bg) + s.gp1000Sm3 * s.bg;
        if (laboratory && s.rv == 0) {
            EXPECT_EQ(f, s.np1000m3 * (s.bo - s.rs * s.bg) + s.gp1000Sm3 * s.bg);
        }
        if (!laboratory) {
            // The step's F is the true withdrawal, the balance's clamp aside.
            EXPECT_EQ(s.withdrawal1000m3, s.np1000m3 * (s.bo - s.rs * s.bg) + s.gp1000Sm3 * s.bg);
        }
        const double expansion = n * s.et;
        ASSERT_DOUBLE_EQ(s.efw,
                         efwPerBar * (double(in.initialPressureBar) - double(s.pressureBar)));
        ASSERT_DOUBLE_EQ(s.et, s.eo + in.gasCapRatio * s.eg + s.efw);
        if (s.converged && s.index > 0) {
            const double residual = std::fabs(expansion - f);
            EXPECT_LE(residual, IterationAllowance(s, dnp) + 1e-12 * std::fabs(expansion));
            tally.worstResidual = std::max(tally.worstResidual, residual / std::fabs(expansion));
            if (residual > 1e-9 * std::fabs(expansion)) ++tally.abovePpb;
            ++tally.checkedSteps;
        }

        // Above the bubble point without a gas cap the oil produced is what
        // the oil, the connate water and the pore volume expand by:
        // Np/N = (Bo - Boi + Efw)/Bo.
        if (s.pressureBar > in.bubblePointPressureBar && in.gasCapRatio == 0.0f && s.index > 0 &&
            s.converged) {
            EXPECT_NEAR(s.np1000m3 / n, (s.bo - r.boi + s.efw) / s.bo, 1e-9);
        }

        // No gas flows until the gas saturation passes Sgc (with a table:
        // the last saturation of zero krg): the producing ratio is the
        // solution ratio. (A step that left the iteration before its first
        // pass, the last of its run, keeps the ratio of the step before.)
        gasFlowed = gasFlowed || s.gasSaturation > immobileGas;
        if (!gasFlowed && s.converged) {
            EXPECT_DOUBLE_EQ(s.gorEndSm3PerM3, s.rs);
        }
    }
    // A PVT table is never extrapolated: a run that went on to its end
    // stops exactly at its lowest pressure.
    if (in.pvtTable && r.stopReason == morvek::StopReason::LowestTablePressure) {
        ASSERT_FALSE(r.steps.empty());
        EXPECT_EQ(r.steps.back().pressureBar, in.pvtTable->rows.front().pressureBar);
        ++tally.tableEnds;
    }
    for (const morvek::PredictionStep& s : r.steps) {
        if (in.pvtTable) {
            EXPECT_GE(s.pressureBar, in.pvtTable->rows.front().pressureBar);
        }
    }
}

TEST(PredictionPhysics, HoldsOnEveryStepOfEveryGoldenCase) {
    Tally tally;
    for (const GoldenCase& c : GoldenCases()) {
        for (bool useApi : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << c.name << (useApi ? ", answer ja" : ", answer nein"));
            CheckPhysics(c.inputs, useApi, tally);

            morvek::CaseInputs compressible = c.inputs;
            compressible.poreCompressibilityPerBar = 5e-5f;
            compressible.waterCompressibilityPerBar = 4.5e-5f;
            SCOPED_TRACE("with rock and water compressibility");
            CheckPhysics(compressible, useApi, tally);

            if (std::optional<morvek::LabPvtTable> pvt = PvtTableOfOwnFluids(c.inputs, useApi)) {
                compressible.pvtTable = pvt;
                compressible.relPermTable = RelPermTableOfCorey(c.inputs);
                SCOPED_TRACE("and laboratory tables");
                CheckPhysics(compressible, useApi, tally);

                // The same fluids with a gas that carries oil (Rv rising
                // with pressure to 5e-5 m3/sm3 at the bubble point): the
                // generalised balance closes as well.
                morvek::CaseInputs volatileOil = compressible;
                volatileOil.pvtTable->hasRv = true;
                for (morvek::LabPvtRow& row : volatileOil.pvtTable->rows)
                    row.rv = 5e-5f * std::min(1.0f, row.pressureBar / c.inputs.bubblePointPressureBar);
                SCOPED_TRACE("and an Rv column");
                CheckPhysics(volatileOil, useApi, tally);
                ++tally.withRv;
            }
        }
    }
    EXPECT_GT(tally.checkedSteps, 15000u);
    EXPECT_GT(tally.tableEnds, 10u);
    EXPECT_GT(tally.withRv, 10u);
    RecordProperty("WorstRelativeBalanceResidual", std::to_string(tally.worstResidual));
    std::printf(
        "worst relative balance residual %.3g over %zu steps of %zu runs, %zu above 1e-9, "
        "%zu ended at a table's lowest pressure\n",
        tally.worstResidual, tally.checkedSteps, tally.variants, tally.abovePpb, tally.tableEnds);
}

// A laboratory table of a rich oil whose Rs Bg exceeds Bo already above the
// bubble point (200 sm3/m3 times 0.0075 m3/sm3 = 1.5 > Bo 1.44), as a new user
// would type it: above the bubble point the oil produces by its expansion
// alone, Np/N = (Bo - Boi)/Bo, and the balance closes with the oil term as it
// is (negative) on every step.
TEST(PredictionPhysics, ARichOilProducesByItsExpansionAboveTheBubblePoint) {
    morvek::CaseInputs in = GoldenCases().front().inputs;  // Nordfeld
    ASSERT_EQ(in.ooip1000m3, 5000.0f);
    ASSERT_EQ(in.initialPressureBar, 250.0f);
    ASSERT_EQ(in.bubblePointPressureBar, 200.0f);
    morvek::LabPvtTable table;
    std::vector<std::string> problems;
    ASSERT_EQ(morvek::ParsePvtTableText("p Bo Rs Bg muo mug\n"
                                        "250 1.440 200 0.0075 0.40 0.020\n"
                                        "200 1.450 200 0.0075 0.38 0.020\n"
                                        "100 1.250 110 0.0140 0.60 0.015\n"
                                        "10 1.050 15 0.1300 1.20 0.011\n",
                                        "reich.txt", table, problems),
              morvek::TableReadStatus::Read);
    in.pvtTable = table;
    const morvek::PredictionResult r = morvek::PredictCase(in);
    const double n = in.ooip1000m3;
    int above = 0;
    bool at225 = false;
    for (const morvek::PredictionStep& s : r.steps) {
        if (s.index == 0 || !(s.pressureBar > 200.0f)) continue;
        EXPECT_NEAR(s.np1000m3, n * (s.bo - r.boi) / s.bo, 1e-9 * n) << s.pressureBar << " bar";
        ++above;
        if (s.pressureBar == 225.0f) {
            at225 = true;
            // 5000 (1.445 - 1.44)/1.445 = 17.30 (the table's values in single
            // precision), where the clamped balance gave 16.67.
            EXPECT_NEAR(s.np1000m3, 5000.0 * 0.005 / 1.445, 1e-4);
        }
    }
    EXPECT_TRUE(at225);
    EXPECT_EQ(above, 99);
    Tally tally;
    CheckPhysics(in, false, tally);
    EXPECT_GT(tally.checkedSteps, 400u);
}

}  // namespace
