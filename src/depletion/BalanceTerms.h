#pragma once
// The terms of the oil reservoir's material balance, in one place: the
// prediction steps with them, the diagnostics (Havlena-Odeh, drive indices)
// plot them and a regression on production history fits them.
//
// The balance (Havlena and Odeh's form of Schilthuis' equation)
//   F = N Et,   Et = Eo + m Eg + Efw,
// per m3 of stock-tank oil in place N, generalised for an oil whose reservoir
// gas carries stock-tank oil (vaporised oil-gas ratio Rv, m3 of stock-tank oil
// per sm3 of gas) after M. P. Walsh, "A Generalized Approach to Reservoir
// Material Balance Calculations", JCPT 34 (1), 1995, and M. P. Walsh, J. Ansah
// and R. Raghavan, "The New, Generalized Material Balance as an Equation of a
// Straight Line", SPE 27684, 1994 (also C. H. Whitson and M. R. Brule, Phase
// Behavior, SPE Monograph 20, 2000, ch. 7):
//
//   Bto = [Bo (1 - Rv Rsi) + Bg (Rsi - Rs)] / (1 - Rv Rs)   oil with its gas
//   Btg = [Bg (1 - Rs Rvi) + Bo (Rvi - Rv)] / (1 - Rv Rs)   cap gas with its oil
//   Eo  = Bto - Boi,   Eg = Boi (Btg/Bgi - 1),
//   Efw = (1 + m) Boi (cw Swi + cf) / (1 - Swi) (pi - p),
//   F   = [Np (Bo - Rs Bg) + Gp (Bg - Rv Bo)] / (1 - Rv Rs)
//         + (Wp - Wi) Bw - Gi (Bg - Rv Bo) / (1 - Rv Rs).
//
// Reservoir oil and gas of the remaining stock-tank oil A and gas B split as
// Vo = Bo (A - Rv B)/(1 - Rv Rs) and Vg = Bg (B - Rs A)/(1 - Rv Rs); F = N Et is
// Vo + Vg equal to the pore volume left. With Rv = 0 (every black oil, every
// case without an Rv column) these are the familiar Eo = (Bo - Boi) +
// (Rsi - Rs) Bg, Eg = Boi (Bg/Bgi - 1) and F = Np (Bo - Rs Bg) + Gp Bg, computed
// in exactly the order the prediction always computed them.
//
// Units: volume factors in m3 per sm3 (Bo, Bg, Bw), Rs in sm3/m3, Rv in m3/sm3;
// Np, Wp, Wi in 1000 m3, Gp, Gi in 1000 sm3; F in 1000 m3; expansions in m3 per
// m3 of oil in place.

namespace morvek {

// The fluids at one pressure as the balance takes them.
struct FluidState {
    double bo = 0;  // m3/sm3
    double rs = 0;  // sm3/m3
    double bg = 0;  // m3/sm3
    double rv = 0;  // m3 of stock-tank oil per sm3 of gas; 0 for a black oil
};

// 1 - Rv Rs: above 0 for any fluid whose phases can be told apart.
double PhaseSplitDivisor(const FluidState& now);

// Eo, Eg and Et in m3 per m3 of oil in place (Et with efw added, m the gas-cap
// ratio).
double OilExpansionEoM3PerM3(const FluidState& now, const FluidState& initial);
double GasCapExpansionEgM3PerM3(const FluidState& now, const FluidState& initial);
double TotalExpansionEtM3PerM3(const FluidState& now, const FluidState& initial,
                               double gasCapRatio, double efwM3PerM3);

// Efw per bar of pressure drop below pi: (1 + m) Boi (cw Swi + cf) / (1 - Swi).
double RockAndWaterExpansionPerBarM3PerM3(double boi, double gasCapRatio, double swi,
                                          double waterCompressibilityPerBar,
                                          double poreCompressibilityPerBar);

// The reservoir volume a produced m3 of stock-tank oil (with its dissolved
// gas) and a produced sm3 of gas (with its vaporised oil) withdraw beyond each
// other: (Bo - Rs Bg)/(1 - Rv Rs) and (Bg - Rv Bo)/(1 - Rv Rs). The oil term
// is negative where Rs Bg > Bo, which real high-GOR oils reach.
double OilWithdrawalM3PerSm3(const FluidState& now);
double GasWithdrawalM3PerSm3(const FluidState& now);

// F of the oil and gas produced, 1000 m3.
double WithdrawalF1000m3(const FluidState& now, double np1000m3, double gp1000Sm3);

// Water produced and injected and gas injected, with the water's volume factor.
struct WaterAndInjection {
    double wp1000m3 = 0;   // water produced, 1000 sm3 of water
    double wi1000m3 = 0;   // water injected
    double gi1000Sm3 = 0;  // gas injected
    double bw = 1;         // m3/sm3
};
// F with water and injection: + (Wp - Wi) Bw - Gi (Bg - Rv Bo)/(1 - Rv Rs).
double WithdrawalF1000m3(const FluidState& now, double np1000m3, double gp1000Sm3,
                         const WaterAndInjection& water);

// Free gas of the initial gas cap in million sm3: N in 1000 m3, Boi and Bgi in
// m3/sm3 at the initial pressure, m the gas-cap ratio (G = N m Boi/Bgi).
double InitialGasCapMioSm3(double ooip1000m3, double boi, double gasCapRatio, double bgi);

// The producing gas-oil ratio, sm3/m3, of oil and gas flowing in the ratio
// krg/kro at these viscosities (cP): surface gas over surface oil,
// (Rs Bg + L Bo)/(Bg + L Rv Bo) with L = (krg/kro)(muo/mug); Rs + L Bo/Bg for a
// black oil.
double ProducingGorSm3PerM3(const FluidState& now, double krgKro, double oilViscosityCp,
                            double gasViscosityCp);

// The reservoir oil's volume per m3 of the initial oil volume N Boi when
// np1000m3 of oil and gp1000Sm3 of gas have been produced of N (plus the gas
// cap's free gas, 1000 sm3, and the oil it carries): Vo/(N Boi), with
// Vo = Bo (A - Rv B)/(1 - Rv Rs), A the stock-tank oil and B the gas left;
// (1 - Np/N) Bo/Boi for a black oil.
double OilVolumeShare(const FluidState& now, const FluidState& initial, double ooip1000m3,
                      double gasCap1000Sm3, double np1000m3, double gp1000Sm3);

}  // namespace morvek
