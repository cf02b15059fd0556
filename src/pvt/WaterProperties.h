#pragma once
// Formation water: its formation volume factor where the PVT table gives none.
//
// McCain's correlation (W. D. McCain Jr., The Properties of Petroleum Fluids,
// 2nd ed., PennWell 1990; and "Reservoir-Fluid Property Correlations - State
// of the Art", SPE Reservoir Engineering 6 (2), 1991, SPE 18571) for water
// saturated with gas:
//   Bw = (1 + dVwp)(1 + dVwt)
//   dVwt = -1.0001e-2 + 1.33391e-4 T + 5.50654e-7 T^2
//   dVwp = -1.95301e-9 p T - 1.72834e-13 p^2 T - 3.58922e-7 p - 2.25341e-10 p^2
// with p in psia and T in degrees Fahrenheit; fitted up to 5000 psia and
// 260 F, for any salinity.

namespace morvek {

// m3 of water at reservoir conditions per sm3 at standard conditions.
double WaterFvfMcCainM3PerSm3(double pressureBar, double temperatureC);

}  // namespace morvek
