// The aquifer models against published influx tables and worked examples,
// entered in the program's units as a user would convert the book's field
// units (ft, psi, bbl), and against the identities their theory gives.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/FieldTable.h"
#include "waterdrive/Aquifer.h"

namespace morvek {
namespace {

// Field units of the books in the program's units.
constexpr double kFt = 0.3048;                 // m
constexpr double kPsi = 0.0689475729;          // bar
constexpr double kPerPsi = 1.0 / kPsi;         // 1/bar per 1/psi
constexpr double kBbl = 0.158987294928;        // m3

double Relative(double value, double published) {
    return std::fabs(value / published - 1.0);
}

// Dake, Fundamentals of Reservoir Engineering (1978), exercise 9.2 and its
// Fetkovich recalculation (section 9.4, table 9.9); also Ahmed, Reservoir
// Engineering Handbook, example 10-10: a 140 degree sector, re = 9200 ft,
// h = 100 ft, k = 200 mD, phi = 0.25, mu = 0.55 cP, ct = 7e-6 1/psi (water
// 3e-6 and rock 4e-6), annual boundary pressures.
Aquifer DakeAquifer(AquiferModel model, double reD) {
    Aquifer a;
    a.model = model;
    a.reservoirRadiusM = 9200 * kFt;
    a.aquiferRadiusM = reD * 9200 * kFt;
    a.thicknessM = 100 * kFt;
    a.permeabilityMd = 200;
    a.porosity = 0.25;
    a.waterViscosityCp = 0.55;
    a.compressibilityPerBar = 7e-6 * kPerPsi;
    a.angleDeg = 140;
    return a;
}
constexpr double kDakePressurePsia[] = {2740, 2500, 2290, 2109, 1949, 1818,
                                        1702, 1608, 1535, 1480, 1440};

TEST(Aquifer, PotReproducesAhmedExample10_1) {
    // Ahmed, example 10-1: re = 2600 ft, ra = 10000 ft, h = 20 ft, phi = 0.15,
    // an 80 degree sector, cw = 3e-6 and cf = 4e-6 1/psi, a drop of 200 psi:
    // Wi = 156.5 MMbbl, We = 48,689 bbl.
    Aquifer a;
    a.model = AquiferModel::Pot;
    a.reservoirRadiusM = 2600 * kFt;
    a.aquiferRadiusM = 10000 * kFt;
    a.thicknessM = 20 * kFt;
    a.porosity = 0.15;
    a.angleDeg = 80;
    a.compressibilityPerBar = 7e-6 * kPerPsi;
    ASSERT_EQ(AquiferProblem(a), "");
    const double we = CumulativeInflux1000m3(a, 3000 * kPsi, {30}, {2800 * kPsi})[0];
    // To the book's rounding: it divides by 5.615 ft3 per barrel (5.6146)
    // and rounds Wi to 156.5 MMbbl, 0.9e-4 together.
    EXPECT_LT(Relative(we * 1000 / kBbl, 48689), 1.5e-4);
    // The constant is all there is: twice the drop, twice the influx, at
    // any time.
    InfluxCalculator c(a, 3000 * kPsi);
    EXPECT_NEAR(c.Advance(5, 2600 * kPsi), 2 * we, 1e-9 * we);
    EXPECT_NEAR(c.Trial(5, 3000 * kPsi), 0.0, 1e-12);
    // A given constant replaces the geometry.
    a.constantM3PerBar = 1234.5;
    EXPECT_NEAR(CumulativeInflux1000m3(a, 250, {1}, {240})[0], 12.345, 1e-12);
}

// Dake's table 9.9: the Fetkovich influx of ten years of his boundary
// pressures (MMrb). He rounds each step's mean aquifer pressure to a whole
// psi (of 120 to 380 psi of drawdown), which moves his sums by up to 0.1 %.
void ExpectDakeTable9_9(const Aquifer& a) {
    std::vector<double> days, pressures;
    for (int year = 1; year <= 10; ++year) {
        days.push_back(365.0 * year);
        pressures.push_back(kDakePressurePsia[year] * kPsi);
    }
    const double published[] = {3.925,  13.540, 25.510, 37.971, 49.941,
                                60.865, 70.611, 78.984, 85.918, 91.445};
    const std::vector<double> we = CumulativeInflux1000m3(a, 2740 * kPsi, days, pressures);
    ASSERT_EQ(we.size(), 10u);
    for (size_t i = 0; i < we.size(); ++i)
        EXPECT_LT(Relative(we[i] * 1000 / kBbl / 1e6, published[i]), 1.5e-3)
            << "year " << i + 1 << ": " << we[i] * 1000 / kBbl / 1e6;
}

TEST(Aquifer, FetkovichRadialReproducesDakeTable9_9) {
    const Aquifer a = DakeAquifer(AquiferModel::FetkovichRadial, 5);
    ASSERT_EQ(AquiferProblem(a), "");
    // Dake: J = 116.5 b/d/psi and Wei = ct Wi pi = 211.9 MMrb for reD = 5;
    // J = 64.5 b/d/psi and Wei = 874.2 MMrb for reD = 10.
    const double pi = 2740 * kPsi;
    EXPECT_NEAR(FetkovichProductivityM3PerDayBar(a) / kBbl * kPsi, 116.5, 0.05);
    EXPECT_NEAR(InfluxConstantM3PerBar(a) * pi / kBbl / 1e6, 211.9, 0.05);
    const Aquifer ten = DakeAquifer(AquiferModel::FetkovichRadial, 10);
    EXPECT_NEAR(FetkovichProductivityM3PerDayBar(ten) / kBbl * kPsi, 64.5, 0.05);
    EXPECT_NEAR(InfluxConstantM3PerBar(ten) * pi / kBbl / 1e6, 874.2, 0.1);

    ExpectDakeTable9_9(a);
}

TEST(Aquifer, FetkovichLinearReproducesDakeTable9_9ThroughItsJAndWei) {
    // Fetkovich's method sees an aquifer only through its productivity J and
    // its initial encroachable water Wei = ct Wi pi (his eqs. 5 and 9): a
    // linear aquifer with Dake's J = 116.5 b/d/psi and Wei = 211.9 MMrb must
    // give his table 9.9. Its width and length follow from table 1 of
    // Fetkovich (1971), J = 3 (1.127e-3) k w h / (mu L), and Wi = w L h phi.
    const double h = 100, phi = 0.25, ct = 7e-6, k = 200, mu = 0.55;  // ft, 1/psi, mD, cP
    const double area = 211.9e6 * 5.614583 / (ct * 2740 * h * phi);    // w L, ft2
    const double ratio = 116.5 * mu / (3 * 1.127e-3 * k * h);          // w / L
    Aquifer a;
    a.model = AquiferModel::FetkovichLinear;
    a.thicknessM = h * kFt;
    a.porosity = phi;
    a.permeabilityMd = k;
    a.waterViscosityCp = mu;
    a.compressibilityPerBar = ct * kPerPsi;
    a.widthM = std::sqrt(area * ratio) * kFt;
    a.lengthM = std::sqrt(area / ratio) * kFt;
    ASSERT_EQ(AquiferProblem(a), "");
    // As for the radial aquifer, and J and Wei to four digits (0.05 in
    // 116.5, 0.05 in 211.9).
    ExpectDakeTable9_9(a);
}

TEST(Aquifer, FetkovichStepsAreExactForAConstantBoundaryPressure) {
    // Fetkovich's eq. 5: for a boundary held at p, We = K (pi - p)
    // (1 - exp(-J t / K)) whatever the steps; the linear aquifer's J is
    // Fetkovich's table 1, 3 (1.127e-3) k w h / (mu L) in bbl/(d psi).
    Aquifer a;
    a.model = AquiferModel::FetkovichLinear;
    a.thicknessM = 15;
    a.porosity = 0.22;
    a.permeabilityMd = 80;
    a.waterViscosityCp = 0.6;
    a.compressibilityPerBar = 8e-5;
    a.widthM = 3000;
    a.lengthM = 12000;
    ASSERT_EQ(AquiferProblem(a), "");
    const double fieldJ = 3 * 1.127e-3 * 80 * (3000 / kFt) * (15 / kFt) / (0.6 * 12000 / kFt);
    // 1.127e-3 is Darcy's constant in field units to four digits (1.12712e-3).
    EXPECT_LT(Relative(FetkovichProductivityM3PerDayBar(a) / kBbl * kPsi, fieldJ), 1.5e-4);
    const double k = InfluxConstantM3PerBar(a);
    EXPECT_NEAR(k, 8e-5 * 3000 * 12000 * 15 * 0.22, 1e-9 * k);
    const double j = FetkovichProductivityM3PerDayBar(a);
    for (int steps : {1, 7, 365}) {
        InfluxCalculator c(a, 300);
        double we = 0;
        for (int i = 1; i <= steps; ++i) we = c.Advance(3650.0 * i / steps, 280);
        // The first step's mean of 300 and 280 stands for the jump at day 0.
        const double expected =
            k * (300 - 280) * -std::expm1(-j * 3650 / k) / 1000 -
            k * (300 - 290) * -std::expm1(-j * 3650.0 / steps / k) *
                std::exp(-j * 3650.0 * (steps - 1) / steps / k) / 1000;
        EXPECT_NEAR(we, expected, 1e-9 * expected) << steps << " steps";
    }
}

TEST(Aquifer, VanEverdingenHurstInfluxAgreesWithTheTableOf1949) {
    // van Everdingen & Hurst (1949), table of WD for an infinite radial
    // aquifer, as reprinted in Ahmed's table 10-1. The inversion holds 0.2 %
    // against every entry from tD = 1 on.
    RadialInfluxFunctions infinite;
    const struct {
        double tD, wd;
    } table[] = {{1, 1.569}, {2, 2.447}, {3, 3.202}, {4, 3.893}, {5, 4.539}, {50, 24.855}};
    for (const auto& row : table) {
        EXPECT_LT(Relative(infinite.Wd(row.tD), row.wd), 2e-3) << "tD " << row.tD;
        EXPECT_LT(Relative(RadialInfluxFunctions::WdExact(row.tD, 0), row.wd), 2e-3);
    }
    // Below tD = 1 the hand-computed table of 1949 is itself off by up to 5 %
    // (0.112 at 0.01, 0.520 at 0.15): there the short-time series of the
    // Laplace transform, 2 sqrt(tD/pi) + tD/2 - tD sqrt(tD/pi)/6 + tD^2/16,
    // is exact to 1e-6 up to tD = 0.01 and decides.
    for (double tD : {1e-3, 5e-3, 0.01}) {
        const double root = std::sqrt(tD / M_PI);
        const double series = 2 * root + tD / 2 - tD * root / 6 + tD * tD / 16;
        EXPECT_LT(Relative(RadialInfluxFunctions::WdExact(tD, 0), series), 1e-5) << tD;
        EXPECT_LT(Relative(infinite.Wd(tD), series), 1e-5) << tD;
    }
    EXPECT_GT(Relative(infinite.Wd(0.01), 0.112), 0.04);
}

TEST(Aquifer, VanEverdingenHurstFiniteReproducesDakeTable9_6) {
    // Dake (1978), exercise 9.2, table 9.6: We/Eo (MMstb) of the aquifer of
    // DakeAquifer for reD = 10 and reD = 5, the annual boundary pressures
    // superposed as mean step drops (his eqs. 9.15, 9.16), with his Eo
    // (rb/stb) of the same table. U = 6446 b/psi, tD = 5.6706 a year.
    const double eo[] = {.0268, .0574, .0923, .1411, .1881, .2380, .2862, .3299, .3630, .3895};
    const double reD10[] = {142.9, 234.5, 286.7, 297.2, 314.8, 326.2, 338.2, 352.5, 373.6, 396.4};
    const double reD5[] = {140.9, 223.8, 260.3, 253.5, 251.3, 243.8, 236.8, 231.2, 229.7, 229.1};
    std::vector<double> days, pressures;
    for (int year = 1; year <= 10; ++year) {
        days.push_back(365.0 * year);
        pressures.push_back(kDakePressurePsia[year] * kPsi);
    }
    for (const double reD : {10.0, 5.0}) {
        const Aquifer a = DakeAquifer(AquiferModel::VehRadial, reD);
        ASSERT_EQ(AquiferProblem(a), "");
        EXPECT_NEAR(InfluxConstantM3PerBar(a) / kBbl * kPsi, 6446, 0.5);
        EXPECT_NEAR(DimensionlessTimePerDay(a) * 365, 5.6706, 5e-4);
        const std::vector<double> we =
            CumulativeInflux1000m3(a, kDakePressurePsia[0] * kPsi, days, pressures);
        for (size_t i = 0; i < we.size(); ++i) {
            const double weOverEo = we[i] * 1000 / kBbl / 1e6 / eo[i];
            // reD = 10 within 0.15 % (his Eo and We/Eo to four digits). For
            // reD = 5 Dake's WD column (table 9.4, read from the tables of
            // 1949) lies 0.1 to 0.36 % below the exact WD: every year's
            // ratio is higher by that much (the inversion agrees with
            // Talbot's to 1e-4, next test), so 0.4 % there.
            EXPECT_LT(Relative(weOverEo, (reD == 10 ? reD10 : reD5)[i]), reD == 10 ? 1.5e-3 : 4e-3)
                << "reD " << reD << " year " << i + 1 << ": " << weOverEo;
        }
    }
}

TEST(Aquifer, FiniteInfluxAgreesWithAnIndependentInversion) {
    // WD(tD) of a closed radial aquifer by Talbot's contour inversion of the
    // same transform (mpmath 1.2.1, invertlaplace, 30 digits) at the times
    // of Dake's exercise: a second numerical method. Stehfest's 14 terms in
    // double precision reach about 4e-5, so 1e-4; a wrong Bessel function or
    // order in the closed aquifer's transform, or a Stehfest weight, moves
    // WD by far more.
    const struct {
        double reD, tD, wd;
    } table[] = {{5, 5.6706, 4.892672376},   {5, 17.0118, 9.122569282},
                 {5, 28.353, 10.83501648},   {5, 56.706, 11.87849139},
                 {10, 5.6706, 4.948328555},  {10, 22.6824, 13.4927901},
                 {10, 39.6942, 20.22428074}, {10, 56.706, 25.69479754}};
    for (const auto& row : table) {
        RadialInfluxFunctions f(row.reD);
        EXPECT_LT(Relative(f.Wd(row.tD), row.wd), 1e-4) << row.reD << " " << row.tD;
        EXPECT_LT(Relative(RadialInfluxFunctions::WdExact(row.tD, row.reD), row.wd), 1e-4);
    }
}

TEST(Aquifer, InfluxAndPressureFunctionsAreEachOthersInverse) {
    // WD(s) PD(s) = 1/s^3 for any aquifer, so the convolution of the
    // constant-pressure and the constant-rate solutions is tD^2 / 2. A
    // swapped function, a wrong Bessel order or a wrong boundary term breaks
    // it.
    for (double reD : {0.0, 1.5, 5.0}) {
        RadialInfluxFunctions f(reD);
        for (double t : {0.3, 3.0, 30.0}) {
            const int n = 20000;
            const double h = t / n;
            double sum = 0;
            for (int i = 0; i < n; ++i) {
                const double x = (i + 0.5) * h;
                sum += f.Wd(x) * f.Pd(t - x) * h;
            }
            EXPECT_LT(Relative(sum, t * t / 2), 2e-4) << "reD " << reD << " tD " << t;
        }
        // PD' is the derivative of PD: its integral (Simpson) over [t/2, t]
        // is the rise of PD.
        for (double t : {0.05, 2.0, 80.0}) {
            const int n = 400;
            const double a = t / 2, h = (t - a) / n;
            double sum = f.PdDerivative(a) + f.PdDerivative(t);
            for (int i = 1; i < n; ++i) sum += (i % 2 ? 4 : 2) * f.PdDerivative(a + i * h);
            EXPECT_LT(Relative(sum * h / 3, f.Pd(t) - f.Pd(a)), 1e-4)
                << "reD " << reD << " tD " << t;
        }
    }
    // A closed aquifer gives at most (reD^2 - 1) / 2 (Dake, eq. 9.11) and
    // acts as an infinite one until the boundary is felt.
    RadialInfluxFunctions five(5), infinite;
    EXPECT_NEAR(five.Wd(1e4), 12.0, 1e-5);
    EXPECT_LT(Relative(five.Wd(0.5), infinite.Wd(0.5)), 1e-6);
    EXPECT_LT(five.Wd(10), infinite.Wd(10));
    // Late constant-rate pressure of a closed aquifer: pseudo-steady state,
    // PD' = 2 / (reD^2 - 1).
    EXPECT_LT(Relative(five.PdDerivative(500), 2.0 / 24), 1e-5);
    // Late constant-rate pressure of an infinite one: 0.5 (ln tD + 0.80908).
    EXPECT_LT(Relative(infinite.Pd(1e6), 0.5 * (std::log(1e6) + 0.8090784)), 1e-6);
}

// Ahmed, Reservoir Engineering Handbook, examples 10-6, 10-7 and 10-9: an
// infinite aquifer around re = 2000 ft, h = 25 ft, k = 100 mD, phi = 0.2,
// mu = 0.8 cP, ct = 1e-6 1/psi, full circle.
Aquifer AhmedAquifer(AquiferModel model) {
    Aquifer a;
    a.model = model;
    a.reservoirRadiusM = 2000 * kFt;
    a.thicknessM = 25 * kFt;
    a.permeabilityMd = 100;
    a.porosity = 0.2;
    a.waterViscosityCp = 0.8;
    a.compressibilityPerBar = 1e-6 * kPerPsi;
    a.angleDeg = 360;
    return a;
}

TEST(Aquifer, VanEverdingenHurstReproducesAhmedExample10_7) {
    // Ahmed, examples 10-6 and 10-7: an infinite aquifer around re = 2000 ft,
    // h = 25 ft, k = 100 mD, phi = 0.2, mu = 0.8 cP, ct = 1e-6 1/psi, full
    // circle: tD = 0.9888 t (days), B = 1.119 phi ct h re^2 = 22.4 bbl/psi.
    // The example computes with B = 20.4, so that is the constant given
    // here: We = 7,080, 32,435, 85,277 and 175,522 bbl at 6, 12, 18, 24
    // months, boundary pressures 2490, 2472, 2444 and 2408 psia from 2500.
    Aquifer a = AhmedAquifer(AquiferModel::VehRadial);
    ASSERT_EQ(AquiferProblem(a), "");
    EXPECT_NEAR(DimensionlessTimePerDay(a), 0.9888, 5e-4);
    EXPECT_NEAR(InfluxConstantM3PerBar(a) / kBbl * kPsi, 22.4, 0.05);
    a.constantM3PerBar = 20.4 * kBbl / kPsi;
    const std::vector<double> we = CumulativeInflux1000m3(
        a, 2500 * kPsi, {182.5, 365, 547.5, 730},
        {2490 * kPsi, 2472 * kPsi, 2444 * kPsi, 2408 * kPsi});
    const double published[] = {7080, 32435, 85277, 175522};
    for (size_t i = 0; i < we.size(); ++i)
        // Ahmed reads WD off the 1949 table between its rows; at 18 months
        // his sum lies 0.29 % below the exact one.
        EXPECT_LT(Relative(we[i] * 1000 / kBbl, published[i]), 3e-3)
            << i << ": " << we[i] * 1000 / kBbl;
}

TEST(Aquifer, CarterTracyIsExactForAConstantInfluxRate) {
    // Carter & Tracy assume a constant influx rate within each step. Where
    // the rate is constant the method is exact at any step: a boundary that
    // falls as the constant-rate solution, p = pi - q PD(tD) / U, takes in
    // We = q tD, whatever the steps and for any aquifer.
    for (double red : {0.0, 4.0}) {
        Aquifer a;
        a.model = AquiferModel::CarterTracyRadial;
        a.reservoirRadiusM = 800;
        a.aquiferRadiusM = red * 800;
        a.thicknessM = 12;
        a.permeabilityMd = 150;
        a.porosity = 0.2;
        a.waterViscosityCp = 0.5;
        a.compressibilityPerBar = 9e-5;
        a.angleDeg = 180;
        ASSERT_EQ(AquiferProblem(a), "");
        const double u = InfluxConstantM3PerBar(a);
        const double perDay = DimensionlessTimePerDay(a);
        RadialInfluxFunctions f(DimensionlessRadius(a));
        const double q = 40.0;  // m3 per unit of tD
        for (int steps : {3, 40}) {
            InfluxCalculator c(a, 250);
            for (int i = 1; i <= steps; ++i) {
                const double days = 2000.0 * i / steps;
                const double td = perDay * days;
                const double we = c.Advance(days, 250 - q * f.Pd(td) / u);
                EXPECT_NEAR(we * 1000, q * td, 1e-9 * q * td) << "reD " << red << " step " << i;
            }
        }
    }
}

TEST(Aquifer, CarterTracyFirstStepOfAhmedExample10_9) {
    // Ahmed, example 10-9: the aquifer of example 10-7 (B = 20.4 bbl/psi,
    // tD = 0.9888 t) with his approximations PD = (ln tD + 0.80907) / 2 and
    // PD' = 1 / (2 tD): 12,266 bbl after the first six months.
    Aquifer a = AhmedAquifer(AquiferModel::CarterTracyRadial);
    a.constantM3PerBar = 20.4 * kBbl / kPsi;
    InfluxCalculator c(a, 2500 * kPsi);
    c.UseFunctions(nullptr, [](double t) { return 0.5 * (std::log(t) + 0.80907); },
                   [](double t) { return 0.5 / t; });
    // Ahmed rounds tD and PD to four digits.
    EXPECT_LT(Relative(c.Advance(182.5, 2490 * kPsi) * 1000 / kBbl, 12266), 1e-3);
    // With the exact PD the same step takes less: the logarithm is 0.5 %
    // below PD there.
    InfluxCalculator exact(a, 2500 * kPsi);
    EXPECT_LT(exact.Advance(182.5, 2490 * kPsi) * 1000 / kBbl, 12266);
}

TEST(Aquifer, CarterTracyReproducesAhmedExample10_9OverTwoYears) {
    // Ahmed, example 10-9 as course material works it (B from the geometry,
    // 1.119 phi ct h r^2 = 22.38 bbl/psi, where the book's example 10-7
    // computes with 20.4; tD = 0.98875 t, the boundary at 2490, 2472, 2444
    // and 2408 psi after 6, 12, 18 and 24 months, PD' = 1 / (2 tD)): 13,451,
    // 47,334, 115,163 and 222,737 bbl. The printed PD are used as printed
    // (3.002, 3.488, 3.551, 3.695): the second is not (ln tD + 0.80907) / 2
    // = 3.349, and the later steps carry it. What is checked is the step
    // itself: which tD, which PD', which We enter it.
    Aquifer a = AhmedAquifer(AquiferModel::CarterTracyRadial);
    ASSERT_EQ(AquiferProblem(a), "");
    // The constant from the geometry, as the book has it.
    EXPECT_LT(Relative(InfluxConstantM3PerBar(a) / kBbl * kPsi, 22.38), 5e-4);
    EXPECT_LT(Relative(DimensionlessTimePerDay(a), 0.98875), 5e-4);
    InfluxCalculator c(a, 2500 * kPsi);
    c.UseFunctions(
        nullptr,
        [](double td) {
            return td < 270 ? 3.002 : td < 450 ? 3.488 : td < 630 ? 3.551 : 3.695;
        },
        [](double td) { return 0.5 / td; });
    const double pressures[] = {2490, 2472, 2444, 2408};
    const double published[] = {13451, 47334, 115163, 222737};
    for (int i = 0; i < 4; ++i) {
        const double we = c.Advance(182.5 * (i + 1), pressures[i] * kPsi) * 1000 / kBbl;
        // The book rounds tD, PD and PD' to four digits.
        EXPECT_LT(Relative(we, published[i]), 1e-3) << "step " << i + 1 << ": " << we;
    }
}

TEST(Aquifer, VanEverdingenHurstSuperposesMeanStepPressures) {
    // Two steps by hand: dp0 = (pi - p1)/2 from day 0, dp1 = (pi - p2)/2
    // from the first step on (Dake, eqs. 9.15 and 9.16).
    const Aquifer a = DakeAquifer(AquiferModel::VehRadial, 5);
    const double u = InfluxConstantM3PerBar(a);
    const double td = DimensionlessTimePerDay(a);
    RadialInfluxFunctions f(5);
    InfluxCalculator c(a, 200);
    c.Advance(365, 190);
    const double trial = c.Trial(730, 170);
    const double expected = u * (5 * f.Wd(td * 730) + 15 * f.Wd(td * 365)) / 1000;
    EXPECT_NEAR(trial, expected, 1e-12 * expected);
    EXPECT_NEAR(c.Advance(730, 170), trial, 0);
    // A time not after the last step changes nothing.
    EXPECT_EQ(c.Advance(700, 100), trial);
}

// Every aquifer input set (Dake's aquifer, and a linear one beside it), for
// any model.
morvek::CaseInputs EveryAquiferInput(AquiferModel model) {
    morvek::CaseInputs in;
    in.aquiferModel = static_cast<int32_t>(model);
    in.reservoirRadiusM = 2800;
    in.aquiferRadiusM = 14000;
    in.aquiferThicknessM = 30;
    in.aquiferPorosity = 0.25f;
    in.aquiferPermeabilityMd = 200;
    in.aquiferAngleDeg = 140;
    in.aquiferCompressibilityPerBar = 1e-4f;
    in.waterViscosityCp = 0.55f;
    in.aquiferLengthM = 12000;
    in.aquiferWidthM = 3000;
    return in;
}

TEST(Aquifer, TheInfluxPerBarIsTheChangeOfATrialWithThePressure) {
    // What the forecast's step takes as the influx's line in the pressure:
    // every model is linear in the step's boundary pressure, so PerBar is
    // the change of a trial per bar, at every step of Dake's ten years and
    // for a step of any length (van Everdingen-Hurst's own term, -U WD / 2).
    for (int index = 1; index < kAquiferModelCount; ++index) {
        const auto model = static_cast<AquiferModel>(index);
        InfluxCalculator c(Aquifer::Of(EveryAquiferInput(model)), 2740 * kPsi);
        for (int year = 1; year <= 10; ++year) {
            const double before = 365.0 * (year - 1);
            for (double step : {1.0, 30.5, 365.0}) {
                const double p = kDakePressurePsia[year] * kPsi;
                const double perBar = c.PerBar(before + step, p);
                const double change = c.Trial(before + step, p) - c.Trial(before + step, p - 1.0);
                EXPECT_LT(perBar, 0.0) << AquiferModelName(model);
                EXPECT_NEAR(perBar, change, 1e-9 * std::fabs(change))
                    << AquiferModelName(model) << " year " << year << " step " << step;
            }
            c.Advance(365.0 * year, kDakePressurePsia[year] * kPsi);
        }
        // No step yet at that time: nothing changes with the pressure but the pot's.
        EXPECT_EQ(c.PerBar(3650, 100) == 0.0, model != AquiferModel::Pot) << AquiferModelName(model);
        // A forecast tries a month, then takes a shorter step to an event and
        // tries the month again: the second try knows the step.
        const Aquifer a = Aquifer::Of(EveryAquiferInput(model));
        InfluxCalculator tried(a, 190), fresh(a, 190);
        tried.Trial(30, 180);
        tried.Advance(12, 185);
        fresh.Advance(12, 185);
        EXPECT_EQ(tried.Trial(30, 180), fresh.Trial(30, 180)) << AquiferModelName(model);
        EXPECT_EQ(tried.PerBar(30, 180), fresh.PerBar(30, 180)) << AquiferModelName(model);
    }
}

TEST(Aquifer, AModelUsesExactlyTheInputsThatChangeItsInflux) {
    // What the window greys must be what cannot matter: for every model,
    // each aquifer input changes the influx of a three-year history exactly
    // when the model says it uses it (the constant left to the geometry; a
    // given constant replaces it in every model).
    const char* const names[] = {"reservoir_radius_m",      "aquifer_radius_m",
                                 "aquifer_thickness_m",     "aquifer_porosity",
                                 "aquifer_permeability_md", "aquifer_angle_deg",
                                 "aquifer_compressibility_per_bar", "water_viscosity_cp",
                                 "aquifer_length_m",        "aquifer_width_m"};
    const std::vector<double> days = {365, 730, 1095};
    std::vector<double> pressures;
    for (int year = 1; year <= 3; ++year) pressures.push_back(kDakePressurePsia[year] * kPsi);
    for (int index = 0; index < kAquiferModelCount; ++index) {
        const auto model = static_cast<AquiferModel>(index);
        const morvek::CaseInputs in = EveryAquiferInput(model);
        ASSERT_EQ(AquiferProblem(Aquifer::Of(in)), "") << AquiferModelName(model);
        const double base = model == AquiferModel::None
                                ? 0.0
                                : CumulativeInflux1000m3(Aquifer::Of(in), 2740 * kPsi, days,
                                                         pressures).back();
        auto influxWith = [&](const std::string& name, float value) {
            morvek::CaseInputs changed = in;
            morvek::FindField(name)->Number(changed) = value;
            if (model == AquiferModel::None) return 0.0;
            return CumulativeInflux1000m3(Aquifer::Of(changed), 2740 * kPsi, days, pressures)
                .back();
        };
        for (const char* name : names) {
            const float value = morvek::FindField(name)->Number(in);
            const double changed = influxWith(name, value * 1.25f);
            EXPECT_EQ(std::fabs(changed - base) > 1e-6 * std::fabs(base),
                      AquiferModelUses(model, name))
                << AquiferModelName(model) << " " << name << ": " << base << " -> " << changed;
        }
        const double given = influxWith("aquifer_constant_m3_per_bar", 5000);
        EXPECT_EQ(std::fabs(given - base) > 1e-6 * std::fabs(base),
                  AquiferModelUses(model, "aquifer_constant_m3_per_bar"))
            << AquiferModelName(model);
    }
}

TEST(Aquifer, ChecksNameWhatIsMissing) {
    Aquifer a = DakeAquifer(AquiferModel::VehRadial, 5);
    EXPECT_EQ(AquiferProblem(a), "");
    a.aquiferRadiusM = 0;  // infinite: allowed
    EXPECT_EQ(AquiferProblem(a), "");
    a.aquiferRadiusM = 1.05 * a.reservoirRadiusM;
    EXPECT_NE(AquiferProblem(a).find("mindestens 1.1"), std::string::npos);
    a = DakeAquifer(AquiferModel::FetkovichRadial, 2);
    EXPECT_NE(AquiferProblem(a).find("ln(ra/re) > 3/4"), std::string::npos);
    a = DakeAquifer(AquiferModel::FetkovichRadial, 0);
    EXPECT_NE(AquiferProblem(a).find("Aquiferradius"), std::string::npos);
    a = DakeAquifer(AquiferModel::CarterTracyRadial, 5);
    a.waterViscosityCp = 0;
    EXPECT_EQ(AquiferProblem(a),
              "Für das Aquifermodell \"Carter-Tracy, radial\" fehlt die Wasserviskosität.");
    Aquifer pot;
    pot.model = AquiferModel::Pot;
    EXPECT_NE(AquiferProblem(pot).find("Aquiferkompressibilität"), std::string::npos);
    pot.constantM3PerBar = 100;  // a given constant is enough for the pot
    EXPECT_EQ(AquiferProblem(pot), "");
    EXPECT_EQ(AquiferProblem(Aquifer{}), "");
}

}  // namespace
}  // namespace morvek
