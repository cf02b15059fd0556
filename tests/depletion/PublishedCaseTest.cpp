// Published depletion cases entered through the two table files, as an
// engineer would enter them, and compared with the published performance
// (docs/published-cases.md shows the whole comparisons; this test prints
// them).
//
// 1. M. P. Walsh, J. Ansah and R. Raghavan, "The New, Generalized Material
//    Balance as an Equation of a Straight Line: Part 1 - Applications to
//    Undersaturated, Volumetric Reservoirs", SPE 27684, 1994: a black oil,
//    pi 2000 psia, pb 1688 psia, Swi 0.20, cf = cw = 2e-6 1/psi, N 1 MMSTB,
//    the laboratory PVT table and gas-oil relative permeabilities (on a
//    pore-volume basis), and the recovery and producing gas-oil ratio at 11
//    pressures. Numbers as transcribed in the CRAN package Rmbal (vignette
//    "Material Balance - Black Oil Reservoirs", example 7).
// 2. M. P. Walsh, "A Generalized Approach to Reservoir Material Balance
//    Calculations", JCPT 34 (1), 1995, doi 10.2118/95-01-07, example 1: a
//    volatile oil, pi 5070 psia, pb 4698 psia, Swi 0.20, cf 2e-6 1/psi,
//    cw 3e-6 1/psi, the laboratory PVT table with its vaporised oil-gas
//    ratios Rv, the same relative permeabilities, N 10 179 044 STB and the
//    cumulative oil and gas-oil ratio at 24 pressures (Rmbal, vignette
//    "Material Balance - Volatile Oil Reservoirs", example 1).
//
// The tolerances are those a fine-step Tarner balance reaches on these data
// (docs/published-cases.md gives the reasons): the published forecasts step
// from table row to table row, this program in steps of pb/400 with the
// tables interpolated linearly, and computes the saturations in the
// compacted pore volume (up to about 0.1 point of recovery).

#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "depletion/Prediction.h"
#include "model/LabTables.h"

namespace {

constexpr double kBarPerPsi = 0.0689475729;
constexpr double kSm3PerScf = 0.0283168466;
constexpr double kM3PerBbl = 0.158987295;
constexpr double kSm3PerM3PerScfPerStb = kSm3PerScf / kM3PerBbl;

struct TableCase {
    const char* pvtFile;
    const char* relPermFile;
    double piPsia, pbPsia, swi, ooipStb, cfPerPsi, cwPerPsi;
};

morvek::CaseInputs InputsOf(const TableCase& c) {
    morvek::CaseInputs in;
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::LabRelPermTable relPerm;
    EXPECT_EQ(morvek::ReadPvtTableFile(SourcePath(c.pvtFile), pvt, problems),
              morvek::TableReadStatus::Read);
    EXPECT_EQ(morvek::ReadRelPermTableFile(SourcePath(c.relPermFile), relPerm, problems),
              morvek::TableReadStatus::Read);
    in.pvtTable = pvt;
    in.relPermTable = relPerm;
    // pi as the table's top row holds it (the paper's psia, typed in bar).
    in.initialPressureBar = pvt.rows.back().pressureBar;
    in.bubblePointPressureBar = static_cast<float>(c.pbPsia * kBarPerPsi);
    in.connateWaterSaturation = static_cast<float>(c.swi);
    in.criticalGasSaturation = 0.05f;
    in.ooip1000m3 = static_cast<float>(c.ooipStb * kM3PerBbl / 1000.0);
    in.poreCompressibilityPerBar = static_cast<float>(c.cfPerPsi / kBarPerPsi);
    in.waterCompressibilityPerBar = static_cast<float>(c.cwPerPsi / kBarPerPsi);
    return in;
}

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

// --- Walsh, Ansah and Raghavan (1994): the black oil ------------------------------------

const TableCase kBlackOil = {"examples/tabellen/walsh1994-pvt.txt",
                             "examples/tabellen/walsh1994-relperm.txt",
                             2000,
                             1688,
                             0.2,
                             1e6,
                             2e-6,
                             2e-6};

struct PublishedRfGor {
    double psia;
    double rfPercent;
    double gorMscfPerStb;  // producing gas-oil ratio at the pressure
};

const PublishedRfGor kBlackOilPublished[] = {
    {1800, 0.4, 0.84},  {1700, 0.5, 0.84},  {1640, 2.7, 0.82},  {1600, 4.4, 0.80},
    {1400, 11.3, 1.41}, {1200, 16.1, 2.17}, {1000, 19.3, 2.70}, {800, 22.2, 3.52},
    {600, 24.3, 4.58},  {400, 26.2, 5.56},  {200, 27.9, 6.79},
};

TEST(PublishedCase, BlackOilOfWalshAnsahRaghavan1994ThroughTheTableFiles) {
    const morvek::CaseInputs in = InputsOf(kBlackOil);
    ASSERT_TRUE(in.pvtTable->hasRv && in.pvtTable->hasBw);
    const morvek::PredictionResult r = morvek::PredictCase(in);
    // The table is not extrapolated: the run ends at its lowest pressure, 200 psia.
    ASSERT_EQ(r.stopReason, morvek::StopReason::LowestTablePressure);
    const double n = in.ooip1000m3;
    std::printf("Walsh, Ansah & Raghavan 1994 (black oil)\n"
                "   psia    bar  RF publ.  RF Morvek   diff  GOR publ.  GOR Morvek   diff\n");
    double worstRf = 0, worstGor = 0;
    for (const PublishedRfGor& pub : kBlackOilPublished) {
        const double bar = pub.psia * kBarPerPsi;
        const double rf = 100.0 * At(r, bar, &morvek::PredictionStep::np1000m3) / n;
        const double gorPublished = 1000 * pub.gorMscfPerStb * kSm3PerM3PerScfPerStb;
        const double gor = At(r, bar, &morvek::PredictionStep::gorEndSm3PerM3);
        std::printf("%7.0f %6.1f %8.2f %9.2f %7.2f %9.1f %10.1f %5.1f%%\n", pub.psia, bar,
                    pub.rfPercent, rf, rf - pub.rfPercent, gorPublished, gor,
                    100.0 * (gor - gorPublished) / gorPublished);
        ASSERT_TRUE(std::isfinite(rf) && std::isfinite(gor)) << pub.psia << " psia";
        if (bar > in.bubblePointPressureBar) {
            // One liquid phase: the oil's and the connate water's expansion
            // and the pore volume's shrinking alone (the published values
            // are rounded to 0.1 point).
            EXPECT_NEAR(rf, pub.rfPercent, 0.15) << pub.psia << " psia";
            EXPECT_NEAR(gor, gorPublished, 0.01 * gorPublished) << pub.psia << " psia";
        } else {
            EXPECT_NEAR(rf, pub.rfPercent, 0.6) << pub.psia << " psia";
            EXPECT_NEAR(gor, gorPublished, 0.06 * gorPublished) << pub.psia << " psia";
            worstRf = std::max(worstRf, std::fabs(rf - pub.rfPercent));
            worstGor = std::max(worstGor, std::fabs(gor - gorPublished) / gorPublished);
        }
    }
    RecordProperty("WorstRecoveryDifferencePercentagePoints", std::to_string(worstRf));
    RecordProperty("WorstGorDifferenceShare", std::to_string(worstGor));
}

// --- Walsh (1995): the volatile oil -----------------------------------------------------

const TableCase kVolatileOil = {"examples/tabellen/walsh1995-pvt.txt",
                                "examples/tabellen/walsh1995-relperm.txt",
                                5070,
                                4698,
                                0.2,
                                10179044.0,
                                2e-6,
                                3e-6};

struct PublishedNpRp {
    double psia;
    double npThousandStb;  // cumulative oil
    double rpScfPerStb;    // cumulative gas-oil ratio Gp/Np
};

const PublishedNpRp kVolatilePublished[] = {
    {4998, 36, 2909.000},   {4798, 130, 2909.000},  {4698, 184, 2909.000},  {4658, 227, 2894.273},
    {4598, 302, 2887.417},  {4398, 582, 2847.079},  {4198, 808, 2928.218},  {3998, 1022, 3072.407},
    {3798, 1227, 3286.064}, {3598, 1388, 3578.530}, {3398, 1528, 3918.848}, {3198, 1646, 4290.401},
    {2998, 1764, 4661.565}, {2798, 1861, 5053.735}, {2598, 1947, 5470.981}, {2398, 2022, 5889.713},
    {2198, 2097, 6294.230}, {1998, 2151, 6760.576}, {1798, 2215, 7172.009}, {1598, 2269, 7640.811},
    {1398, 2323, 8059.836}, {1198, 2366, 8499.155}, {998, 2420, 8900.413},  {798, 2463, 9329.679},
};

struct Comparison {
    double worstRf = 0, worstGor = 0, worstRp = 0;
};

// The recovery and the interval gas-oil ratio (gas over oil produced since
// the published pressure before) of a run against the published ones.
Comparison CompareVolatile(const morvek::CaseInputs& in, const char* title, bool check) {
    const morvek::PredictionResult r = morvek::PredictCase(in);
    EXPECT_EQ(r.stopReason, morvek::StopReason::LowestTablePressure);
    const double n = in.ooip1000m3;
    const double ooipStb = kVolatileOil.ooipStb;
    std::printf("%s\n   psia    bar  RF publ.  RF Morvek   diff  GOR publ.  GOR Morvek   diff\n",
                title);
    double npPrev = 0, gpPrev = 0, npPrevM = 0, gpPrevM = 0;
    Comparison worst;
    for (const PublishedNpRp& pub : kVolatilePublished) {
        const double bar = pub.psia * kBarPerPsi;
        const double rfPublished = 100.0 * pub.npThousandStb * 1000.0 / ooipStb;
        const double np = At(r, bar, &morvek::PredictionStep::np1000m3);
        const double gp = At(r, bar, &morvek::PredictionStep::gp1000Sm3);
        const double rf = 100.0 * np / n;
        const double gpPublished = pub.rpScfPerStb * pub.npThousandStb;
        const double gorPublished = (gpPublished - gpPrev) / (pub.npThousandStb - npPrev) *
                                    kSm3PerM3PerScfPerStb;
        const double gor = (gp - gpPrevM) / (np - npPrevM);
        npPrev = pub.npThousandStb;
        gpPrev = gpPublished;
        npPrevM = np;
        gpPrevM = gp;
        std::printf("%7.0f %6.1f %8.2f %9.2f %7.2f %9.1f %10.1f %5.1f%%\n", pub.psia, bar,
                    rfPublished, rf, rf - rfPublished, gorPublished, gor,
                    100.0 * (gor - gorPublished) / gorPublished);
        EXPECT_TRUE(std::isfinite(rf)) << pub.psia << " psia lies within the run";
        worst.worstRf = std::max(worst.worstRf, std::fabs(rf - rfPublished));
        worst.worstGor =
            std::max(worst.worstGor, std::fabs(gor - gorPublished) / gorPublished);
        // The cumulative gas-oil ratio Rp = Gp/Np.
        const double rpPublished = pub.rpScfPerStb * kSm3PerM3PerScfPerStb;
        worst.worstRp = std::max(worst.worstRp, std::fabs(gp / np - rpPublished) / rpPublished);
        if (check && bar > in.bubblePointPressureBar + 0.01) {
            // One liquid phase: every balance is the same.
            EXPECT_NEAR(rf, rfPublished, 0.15) << pub.psia << " psia";
            EXPECT_NEAR(gor, gorPublished, 0.01 * gorPublished) << pub.psia << " psia";
        }
    }
    return worst;
}

TEST(PublishedCase, VolatileOilOfWalsh1995ThroughTheTableFiles) {
    const morvek::CaseInputs in = InputsOf(kVolatileOil);
    ASSERT_TRUE(in.pvtTable->hasRv);
    const Comparison generalised = CompareVolatile(in, "Walsh 1995 (volatile oil, with Rv)", true);
    // The same table without its Rv column: the black-oil balance, which
    // cannot count the oil the reservoir gas carries.
    morvek::CaseInputs blackOil = in;
    blackOil.pvtTable->hasRv = false;
    for (morvek::LabPvtRow& row : blackOil.pvtTable->rows) row.rv = 0;
    const Comparison plain = CompareVolatile(blackOil, "Walsh 1995 without Rv (black oil)", true);
    std::printf("worst below the bubble point: with Rv %.2f points, %.0f %% GOR; "
                "without %.2f points, %.0f %% GOR\n",
                generalised.worstRf, 100 * generalised.worstGor, plain.worstRf,
                100 * plain.worstGor);
    // The generalised balance gets far closer than the black-oil one.
    EXPECT_LT(generalised.worstRf, 0.5 * plain.worstRf);
    EXPECT_LT(generalised.worstGor, 0.5 * plain.worstGor);
    // What the method reaches here (docs/published-cases.md, with an
    // independent calculation): the published interval gas-oil ratios swing
    // by up to 20 % from one interval to the next (4430, 3740, 4786, 4571,
    // 5741 sm3/m3 ...), which no balance with monotone tables follows, and
    // the recovery depends on how krg is read between the seven laboratory
    // points at low gas saturation: linearly (this program) it ends 1.2
    // points low, along a Corey curve fitted to the same points 0.5 points
    // high (1.25 early on). The cumulative gas-oil ratio, which the swings do
    // not touch, agrees within 6.5 %.
    EXPECT_LT(generalised.worstRf, 1.3);
    EXPECT_LT(generalised.worstRp, 0.065);
    std::printf("worst cumulative gas-oil ratio Rp: with Rv %.1f %%, without %.1f %%\n",
                100 * generalised.worstRp, 100 * plain.worstRp);
    RecordProperty("WorstRecoveryDifferencePercentagePoints", std::to_string(generalised.worstRf));
    RecordProperty("WorstGorDifferenceShare", std::to_string(generalised.worstGor));
}

}  // namespace
