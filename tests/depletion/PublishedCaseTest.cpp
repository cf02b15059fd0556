// A published depletion case entered through the two table files, as an
// engineer would enter it, and compared with the published performance.
//
// Source: M. P. Walsh, "A Generalized Approach to Reservoir Material Balance
// Calculations", Journal of Canadian Petroleum Technology 34 (1), 1995,
// doi 10.2118/95-01-07, example 1: an undersaturated volatile-oil reservoir,
// pi 5070 psia, pb 4698 psia, Swi 0.20, cf 2e-6 1/psi, cw 3e-6 1/psi, the
// laboratory PVT table (Bo, Rs, Bg, oil and gas viscosity), the laboratory
// gas-oil relative permeabilities and the cumulative oil and producing
// gas-oil ratio at each pressure. The numbers are those transcribed in the
// CRAN package Rmbal (vignette "Material Balance - Volatile Oil Reservoirs"),
// which also gives the oil in place, 10 179 044 STB; the paper itself was not
// at hand. examples/tabellen/walsh1995-*.txt hold the tables in the
// program's units; docs/published-cases.md shows the whole comparison.
//
// The published performance comes from a balance that counts the stock-tank
// oil carried in the reservoir gas (volatilized oil, Rv up to 343 STB/MMscf);
// this program's balance, like every black-oil balance, does not. Above the
// bubble point, where the reservoir holds one liquid phase, both balances are
// the same and the recovery must agree; below it they part, and the test
// records by how much.

#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "depletion/Prediction.h"
#include "model/LabTables.h"

namespace {

constexpr double kBarPerPsi = 0.0689475729;
constexpr double kSm3PerScf = 0.0283168466;
constexpr double kM3PerBbl = 0.158987295;
constexpr double kOoipStb = 10179044.0;

struct Published {
    double psia;
    double npThousandStb;  // cumulative oil
    double rpScfPerStb;    // cumulative gas-oil ratio Gp/Np
};

const Published kPublished[] = {
    {4998, 36, 2909.000},   {4798, 130, 2909.000},  {4698, 184, 2909.000},  {4658, 227, 2894.273},
    {4598, 302, 2887.417},  {4398, 582, 2847.079},  {4198, 808, 2928.218},  {3998, 1022, 3072.407},
    {3798, 1227, 3286.064}, {3598, 1388, 3578.530}, {3398, 1528, 3918.848}, {3198, 1646, 4290.401},
    {2998, 1764, 4661.565}, {2798, 1861, 5053.735}, {2598, 1947, 5470.981}, {2398, 2022, 5889.713},
    {2198, 2097, 6294.230}, {1998, 2151, 6760.576}, {1798, 2215, 7172.009}, {1598, 2269, 7640.811},
    {1398, 2323, 8059.836}, {1198, 2366, 8499.155}, {998, 2420, 8900.413},  {798, 2463, 9329.679},
};

// A value of the prediction at a pressure between two of its steps.
double At(const morvek::PredictionResult& r, double pressureBar,
          double morvek::PredictionStep::*value) {
    for (size_t i = 1; i < r.steps.size(); ++i) {
        const double p0 = r.steps[i - 1].pressureBar, p1 = r.steps[i].pressureBar;
        if (pressureBar <= p0 && pressureBar >= p1) {
            const double t = p0 == p1 ? 0.0 : (p0 - pressureBar) / (p0 - p1);
            return r.steps[i - 1].*value + t * (r.steps[i].*value - r.steps[i - 1].*value);
        }
    }
    return NAN;
}

TEST(PublishedCase, VolatileOilOfWalsh1995ThroughTheTableFiles) {
    morvek::CaseInputs in;
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::LabRelPermTable relPerm;
    ASSERT_EQ(
        morvek::ReadPvtTableFile(SourcePath("examples/tabellen/walsh1995-pvt.txt"), pvt, problems),
        morvek::TableReadStatus::Read);
    ASSERT_EQ(morvek::ReadRelPermTableFile(SourcePath("examples/tabellen/walsh1995-relperm.txt"),
                                           relPerm, problems),
              morvek::TableReadStatus::Read);
    in.pvtTable = pvt;
    in.relPermTable = relPerm;
    in.initialPressureBar = pvt.rows.back().pressureBar;                // 5070 psia
    in.bubblePointPressureBar = static_cast<float>(4698 * kBarPerPsi);  // 323.9 bar
    in.connateWaterSaturation = 0.2f;
    in.criticalGasSaturation = 0.05f;
    in.ooip1000m3 = static_cast<float>(kOoipStb * kM3PerBbl / 1000.0);
    in.poreCompressibilityPerBar = static_cast<float>(2e-6 / kBarPerPsi);
    in.waterCompressibilityPerBar = static_cast<float>(3e-6 / kBarPerPsi);

    const morvek::PredictionResult r = morvek::PredictCase(in);
    // The table is not extrapolated: the run ends at its lowest pressure, 598 psia.
    ASSERT_EQ(r.stopReason, morvek::StopReason::LowestTablePressure);
    EXPECT_EQ(r.steps.back().pressureBar, pvt.rows.front().pressureBar);

    const double n = in.ooip1000m3;
    std::printf("   psia   bar   RF publ.  RF Morvek    diff   GOR publ. GOR Morvek  diff\n");
    double npPrev = 0, gpPrev = 0;
    double worstBelow = 0;
    for (const Published& pub : kPublished) {
        const double bar = pub.psia * kBarPerPsi;
        const double rfPublished = 100.0 * pub.npThousandStb * 1000.0 / kOoipStb;
        const double rf = 100.0 * At(r, bar, &morvek::PredictionStep::np1000m3) / n;
        // The published producing ratio of the interval: its gas over its oil.
        const double gp = pub.rpScfPerStb * pub.npThousandStb;
        const double gorPublished =
            (gp - gpPrev) / (pub.npThousandStb - npPrev) * kSm3PerScf / kM3PerBbl;
        npPrev = pub.npThousandStb;
        gpPrev = gp;
        const double gor = At(r, bar, &morvek::PredictionStep::gorSm3PerM3);
        std::printf("%7.0f %6.1f %8.2f %9.2f %8.2f %10.1f %10.1f %5.0f%%\n", pub.psia, bar,
                    rfPublished, rf, rf - rfPublished, gorPublished, gor,
                    100.0 * (gor - gorPublished) / gorPublished);
        ASSERT_TRUE(std::isfinite(rf)) << pub.psia << " psia lies within the run";
        if (bar > in.bubblePointPressureBar + 0.01) {
            // One liquid phase: the two balances are the same.
            EXPECT_NEAR(rf, rfPublished, 0.5) << pub.psia << " psia";
            EXPECT_NEAR(gor, gorPublished, 0.06 * gorPublished) << pub.psia << " psia";
        } else {
            worstBelow = std::max(worstBelow, std::fabs(rf - rfPublished));
        }
    }
    RecordProperty("WorstRecoveryDifferenceBelowBubblePointPercentagePoints",
                   std::to_string(worstBelow));
}

}  // namespace
