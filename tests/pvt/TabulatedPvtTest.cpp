// The fluid properties of a laboratory PVT table as the prediction reads
// them: linear between the rows, the gas columns only from the rows at or
// below the bubble point (a row exactly at it included), the oil's
// compressibility from the slopes.

#include <gtest/gtest.h>

#include "GoldenCases.h"
#include "depletion/Prediction.h"
#include "pvt/TabulatedPvt.h"

namespace {

// Rows at 100, 150, 200 and 250 bar with the bubble point at 200 bar: the
// gas columns of the row at 250 bar hold what no laboratory reports above
// the bubble point (they must not be used).
morvek::LabPvtTable BubblePointRowTable() {
    morvek::LabPvtTable t;
    t.fileName = "blasenpunkt.txt";
    t.rows = {{100.0f, 1.20f, 50.0f, 0.0110f, 0.90f, 0.0150f},
              {150.0f, 1.25f, 75.0f, 0.0070f, 0.75f, 0.0175f},
              {200.0f, 1.30f, 100.0f, 0.0050f, 0.60f, 0.0200f},
              {250.0f, 1.28f, 100.0f, 9.9f, 0.62f, 9.9f}};
    return t;
}

}  // namespace

TEST(PvtLabTable, TheRowAtTheBubblePointGivesTheGasColumns) {
    const morvek::TabulatedPvt pvt(BubblePointRowTable(), 200.0f);
    EXPECT_DOUBLE_EQ(pvt.Bg(200.0f), double(0.0050f));
    EXPECT_DOUBLE_EQ(pvt.GasViscosity(200.0f), double(0.0200f));
    // Halfway between the rows at 150 and 200 bar.
    EXPECT_NEAR(pvt.Bg(175.0f), 0.5 * (double(0.0070f) + double(0.0050f)), 1e-12);
    EXPECT_NEAR(pvt.GasViscosity(175.0f), 0.5 * (double(0.0175f) + double(0.0200f)), 1e-12);
    // Above the bubble point the gas keeps the values at it.
    EXPECT_DOUBLE_EQ(pvt.Bg(230.0f), double(0.0050f));
    EXPECT_DOUBLE_EQ(pvt.GasViscosity(250.0f), double(0.0200f));
    // The oil columns are linear across all rows.
    EXPECT_NEAR(pvt.Bo(225.0f), 0.5 * (double(1.30f) + double(1.28f)), 1e-12);
    EXPECT_NEAR(pvt.Rs(125.0f), 62.5, 1e-12);
    EXPECT_NEAR(pvt.OilViscosity(110.0f), 0.8 * double(0.90f) + 0.2 * double(0.75f), 1e-12);
    EXPECT_DOUBLE_EQ(pvt.Rs(80.0f), 50.0);  // below the table: its lowest row
}

// The oil's compressibility from the table's slopes: above the bubble point
// -(1/Bo) dBo/dp, below it (Bg dRs/dp - dBo/dp) / Bo.
//   at 225 bar: Bo 1.29, dBo/dp = (1.28 - 1.30) / 50 = -0.0004 /bar
//               co = 0.0004 / 1.29 = 3.1008e-4 /bar
//   at 175 bar: Bo 1.275, Bg 0.006, dBo/dp = 0.001, dRs/dp = 0.5 /bar
//               co = (0.006 * 0.5 - 0.001) / 1.275 = 1.5686e-3 /bar
TEST(PvtLabTable, OilCompressibilityComesFromTheSlopes) {
    const morvek::TabulatedPvt pvt(BubblePointRowTable(), 200.0f);
    EXPECT_NEAR(pvt.Co(225.0f), 0.0004 / 1.29, 1e-8);
    EXPECT_NEAR(pvt.Co(175.0f), (0.006 * 0.5 - 0.001) / 1.275, 1e-8);
}

// A prediction starting at that bubble point takes the row's Bg as Bgi and
// its gas viscosity in the first step.
TEST(PvtLabTable, APredictionAtTheBubblePointStartsFromItsRow) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    in.pvtTable = BubblePointRowTable();
    in.initialPressureBar = 200.0f;
    in.bubblePointPressureBar = 200.0f;
    const morvek::PredictionResult r = morvek::PredictCase(in);
    ASSERT_GE(r.steps.size(), 2u);
    EXPECT_DOUBLE_EQ(r.bgi, double(0.0050f));
    EXPECT_DOUBLE_EQ(r.steps[0].gasViscosityCp, double(0.0200f));
    // The next step, 0.4 bar lower, lies between the rows at 150 and 200 bar.
    const double t = (200.0 - r.steps[1].pressureBar) / 50.0;
    EXPECT_NEAR(r.steps[1].bg, double(0.0050f) + t * (double(0.0070f) - double(0.0050f)), 1e-12);
}
