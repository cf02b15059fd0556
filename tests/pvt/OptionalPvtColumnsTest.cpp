// The PVT table's optional columns as the fluid model takes them: Rv only from
// the rows at or below the bubble point (as Bg), Bw from every row, and Bw
// from McCain's correlation where the table has no such column.

#include <gtest/gtest.h>

#include "pvt/FluidModel.h"
#include "pvt/WaterProperties.h"

namespace {

constexpr double kPsiPerBar = 14.503773773;

double Bar(double psia) {
    return psia / kPsiPerBar;
}
double Celsius(double fahrenheit) {
    return (fahrenheit - 32.0) * 5.0 / 9.0;
}

TEST(WaterFvf, McCainsCorrelationGivesItsWorkedExample) {
    // McCain, The Properties of Petroleum Fluids (1990), as worked on
    // wiki.pengtools.com ("Water formation volume factor"): 3176 psia and
    // 165 F give dVwp = -0.0047241, dVwt = 0.027 and Bw = 1.022 res bbl/STB.
    const double bw = morvek::WaterFvfMcCainM3PerSm3(Bar(3176), Celsius(165));
    EXPECT_NEAR(bw, (1 - 0.0047241) * (1 + 0.0270), 2e-5);
    EXPECT_NEAR(bw, 1.022, 5e-4);
    // Water expands as the pressure falls and as it warms.
    EXPECT_GT(morvek::WaterFvfMcCainM3PerSm3(Bar(1000), Celsius(165)), bw);
    EXPECT_GT(morvek::WaterFvfMcCainM3PerSm3(Bar(3176), Celsius(200)), bw);
    // At standard conditions (14.7 psia, 60 F) water is at its own standard volume.
    EXPECT_NEAR(morvek::WaterFvfMcCainM3PerSm3(Bar(14.7), Celsius(60)), 1.0, 5e-4);
}

morvek::CaseInputs CaseWithTable(bool rv, bool bw) {
    morvek::CaseInputs in;
    in.temperatureC = 80.0f;
    in.initialPressureBar = 250.0f;
    in.bubblePointPressureBar = 200.0f;
    morvek::LabPvtTable t;
    t.fileName = "spalten.txt";
    t.hasRv = rv;
    t.hasBw = bw;
    t.rows = {{100, 1.25f, 110, 0.014f, 0.6f, 0.015f, 2e-5f, 1.030f},
              {200, 1.45f, 200, 0.0075f, 0.38f, 0.020f, 6e-5f, 1.025f},
              {250, 1.44f, 200, 0.0072f, 0.40f, 0.021f, 5e-3f, 1.024f}};
    if (!rv)
        for (auto& r : t.rows) r.rv = 0;
    if (!bw)
        for (auto& r : t.rows) r.bw = 0;
    in.pvtTable = t;
    return in;
}

TEST(OptionalPvtColumns, RvComesFromTheGasRowsAndBwFromEveryRow) {
    const morvek::FluidModel fluid(CaseWithTable(true, true));
    ASSERT_TRUE(fluid.HasRv());
    EXPECT_NEAR(fluid.Rv(150), 4e-5, 1e-9);
    // Above the bubble point the row's single-phase value is not used.
    EXPECT_EQ(fluid.Rv(250), double(6e-5f));
    EXPECT_NEAR(fluid.Bw(150), 1.0275, 1e-6);
    EXPECT_NEAR(fluid.Bw(225), 1.0245, 1e-6);

    // Without the columns: a black oil, and McCain's water.
    const morvek::FluidModel plain(CaseWithTable(false, false));
    EXPECT_FALSE(plain.HasRv());
    EXPECT_EQ(plain.Rv(150), 0.0);
    EXPECT_EQ(plain.Bw(150), morvek::WaterFvfMcCainM3PerSm3(150, 80));
    const morvek::FluidModel onlyRv(CaseWithTable(true, false));
    EXPECT_EQ(onlyRv.Bw(150), morvek::WaterFvfMcCainM3PerSm3(150, 80));
    // The correlations' fluids have neither.
    morvek::CaseInputs correlation = CaseWithTable(false, false);
    correlation.pvtTable.reset();
    const morvek::FluidModel corr(correlation);
    EXPECT_EQ(corr.Rv(150), 0.0);
    EXPECT_EQ(corr.Bw(150), morvek::WaterFvfMcCainM3PerSm3(150, 80));
}

}  // namespace
