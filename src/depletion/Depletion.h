#pragma once
// Pieces of the depletion prediction that stand on their own.

// Free gas of the initial gas cap in million sm3: oil in place in 1000 m3,
// Boi and Bgi in m3/sm3 at the initial pressure, m the gas-cap ratio (pore
// volume of the cap over pore volume of the oil zone).
double InitialGasCapMioSm3(double ooip, double boi, double gaskappe, double bgi);
