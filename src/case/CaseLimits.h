#pragma once

// Every graph series of the case holds this many single-precision values, and
// readers of measured rows take at most this many rows.
inline constexpr int kSeriesLength = 300;

// Gas components of the composition, H2S first and C10H22 last.
inline constexpr int kGasComponents = 15;
inline constexpr int kMethaneIndex = 3;
