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
// two may differ by that much times Bg per m3 of oil produced in the step.
double IterationAllowance(const morvek::PredictionStep& s, double dnp) {
    return 0.001 * s.bg * dnp;
}

struct Tally {
    double worstResidual = 0.0;
    size_t checkedSteps = 0, abovePpb = 0, tableEnds = 0, variants = 0;
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

        // The material balance, recomputed from the step's own numbers.
        const double oilTerm = std::max(0.0, s.bo - s.rs * s.bg);
        const double f = s.np1000m3 * oilTerm + s.gp1000Sm3 * s.bg;
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
                compressible.pvtTable = std::move(pvt);
                compressible.relPermTable = RelPermTableOfCorey(c.inputs);
                SCOPED_TRACE("and laboratory tables");
                CheckPhysics(compressible, useApi, tally);
            }
        }
    }
    EXPECT_GT(tally.checkedSteps, 15000u);
    EXPECT_GT(tally.tableEnds, 10u);
    RecordProperty("WorstRelativeBalanceResidual", std::to_string(tally.worstResidual));
    std::printf(
        "worst relative balance residual %.3g over %zu steps of %zu runs, %zu above 1e-9, "
        "%zu ended at a table's lowest pressure\n",
        tally.worstResidual, tally.checkedSteps, tally.variants, tally.abovePpb, tally.tableEnds);
}

}  // namespace
