// The balance terms against an independent account of the reservoir's fluids:
// the remaining stock-tank oil and gas split into a reservoir oil and a
// reservoir gas phase (two equations, solved here by Cramer's rule), and F = N
// Et must say exactly that their volume is the pore volume left. Then the
// producing gas-oil ratio against surface rates of flowing oil and gas, and
// the black-oil forms the prediction has always used.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "depletion/BalanceTerms.h"

namespace {

using morvek::FluidState;

// Reservoir oil and gas volumes (1000 m3) holding a stock-tank oil and b sm3
// of surface gas (1000 sm3): Vo/Bo + Rv Vg/Bg = a, Rs Vo/Bo + Vg/Bg = b.
struct Phases {
    double vo, vg;
};
Phases Split(const FluidState& s, double a, double b) {
    // | 1   Rv | |x|   |a|      x = Vo/Bo, y = Vg/Bg
    // | Rs  1  | |y| = |b|
    const double det = 1.0 - s.rv * s.rs;
    const double x = (a - s.rv * b) / det;
    const double y = (b - s.rs * a) / det;
    return {x * s.bo, y * s.bg};
}

TEST(BalanceTerms, FEqualsNEtIsThePoreVolumeHeldByTheFluidsLeft) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    int checked = 0;
    for (int k = 0; k < 2000; ++k) {
        const bool blackOil = k % 4 == 0;
        FluidState initial{1.2 + u(random), 80 + 200 * u(random), 0.003 + 0.003 * u(random),
                           blackOil ? 0.0 : 1e-5 + 2e-4 * u(random)};
        FluidState now{initial.bo * (0.8 + 0.15 * u(random)), initial.rs * (0.3 + 0.6 * u(random)),
                       initial.bg * (1.1 + 3 * u(random)),
                       blackOil ? 0.0 : initial.rv * (0.2 + 0.7 * u(random))};
        if (!(morvek::PhaseSplitDivisor(now) > 0.1 && morvek::PhaseSplitDivisor(initial) > 0.1))
            continue;
        const double n = 1000 + 9000 * u(random);  // 1000 m3
        const double m = k % 3 == 0 ? 0.0 : 2 * u(random);
        const double np = n * 0.3 * u(random);
        const double gp = np * initial.rs * (1 + 5 * u(random));
        SCOPED_TRACE(testing::Message() << "case " << k);

        // The free gas of the cap and the oil its gas carries at pi.
        const double g = 1000.0 * morvek::InitialGasCapMioSm3(n, initial.bo, m, initial.bg);
        const Phases at = Split(now, n + g * initial.rv - np, n * initial.rs + g - gp);
        // At pi the same fluids fill the initial hydrocarbon pore volume.
        const Phases atStart = Split(initial, n + g * initial.rv, n * initial.rs + g);
        ASSERT_NEAR(atStart.vo + atStart.vg, n * initial.bo * (1 + m), 1e-9 * n);

        const double et = morvek::TotalExpansionEtM3PerM3(now, initial, m, 0.0);
        const double f = morvek::WithdrawalF1000m3(now, np, gp);
        // Vo + Vg = N Boi (1 + m) + N Et - F: the balance F = N Et is the
        // statement that the fluids left fill the pore volume.
        EXPECT_NEAR(at.vo + at.vg, n * initial.bo * (1 + m) + n * et - f, 1e-9 * n * initial.bo);
        EXPECT_NEAR(et,
                    morvek::OilExpansionEoM3PerM3(now, initial) +
                        m * morvek::GasCapExpansionEgM3PerM3(now, initial),
                    1e-12);
        // The oil phase alone, as the saturation takes it.
        EXPECT_NEAR(morvek::OilVolumeShare(now, initial, n, g, np, gp), at.vo / (n * initial.bo),
                    1e-12);
        ++checked;
    }
    EXPECT_GT(checked, 1500);
}

TEST(BalanceTerms, WaterAndInjectionEnterFAtTheirReservoirVolumes) {
    const FluidState now{1.3, 90, 0.008, 2e-5};
    morvek::WaterAndInjection w;
    w.wp1000m3 = 50;
    w.wi1000m3 = 20;
    w.gi1000Sm3 = 1000;
    w.bw = 1.02;
    const double plain = morvek::WithdrawalF1000m3(now, 100, 20000);
    // Injected gas takes the place of as much produced gas.
    EXPECT_NEAR(morvek::WithdrawalF1000m3(now, 100, 20000, w),
                morvek::WithdrawalF1000m3(now, 100, 19000) + 30 * 1.02, 1e-9 * plain);
}

TEST(BalanceTerms, ProducingGorIsSurfaceGasOverSurfaceOilOfTheFlowingPhases) {
    for (const FluidState s : {FluidState{1.5, 150, 0.006, 0.0}, FluidState{2.1, 300, 0.005, 1.5e-4},
                               FluidState{1.3, 60, 0.02, 5e-6}}) {
        for (double krgKro : {0.0, 0.05, 1.0, 30.0}) {
            const double muo = 0.4, mug = 0.02;
            // Reservoir rates in the ratio of the mobilities, per unit of oil.
            const double qo = 1.0, qg = krgKro * muo / mug;
            const double oil = qo / s.bo + s.rv * qg / s.bg;
            const double gas = s.rs * qo / s.bo + qg / s.bg;
            EXPECT_NEAR(morvek::ProducingGorSm3PerM3(s, krgKro, muo, mug), gas / oil,
                        1e-12 * gas / oil)
                << "Rv " << s.rv << ", krg/kro " << krgKro;
        }
    }
}

TEST(BalanceTerms, BlackOilTermsAreTheFamiliarOnesInThePredictionsOwnOrder) {
    const FluidState initial{1.35, 110, 0.0045, 0};
    const FluidState now{1.28, 85.5, 0.0061, 0};
    const double m = 0.4;
    // Bit for bit the expressions every earlier result was computed with.
    EXPECT_EQ(morvek::OilExpansionEoM3PerM3(now, initial),
              (initial.rs - now.rs) * now.bg + (now.bo - initial.bo));
    EXPECT_EQ(morvek::GasCapExpansionEgM3PerM3(now, initial),
              initial.bo * (now.bg / initial.bg - 1.0));
    EXPECT_EQ(morvek::TotalExpansionEtM3PerM3(now, initial, m, 0.0),
              (initial.rs - now.rs) * now.bg + (now.bo - initial.bo) +
                  m * initial.bo * (now.bg / initial.bg - 1.0));
    EXPECT_EQ(morvek::WithdrawalF1000m3(now, 300, 40000),
              300 * (now.bo - now.rs * now.bg) + 40000 * now.bg);
    EXPECT_EQ(morvek::ProducingGorSm3PerM3(now, 0.2, 0.7, 0.015),
              (now.bo / now.bg) * (0.7 / 0.015) * 0.2 + now.rs);
    EXPECT_EQ(morvek::OilVolumeShare(now, initial, 5000, 0, 400, 50000),
              (1.0 - 400.0 / 5000) * (now.bo / initial.bo));
    // Where Rs Bg > Bo the oil term is negative and stays so.
    const FluidState rich{1.44, 200, 0.0075, 0};
    EXPECT_LT(morvek::OilWithdrawalM3PerSm3(rich), 0.0);
    EXPECT_DOUBLE_EQ(morvek::OilWithdrawalM3PerSm3(rich), 1.44 - 1.5);
    // Efw = (1 + m) Boi (cw Swi + cf)/(1 - Swi) per bar.
    EXPECT_DOUBLE_EQ(morvek::RockAndWaterExpansionPerBarM3PerM3(1.4, 0.5, 0.2, 4e-5, 6e-5),
                     1.5 * 1.4 * (4e-5 * 0.2 + 6e-5) / 0.8);
}

}  // namespace
