#pragma once
// The case's sizes under the names the shell has always used.

#include "model/CaseInputs.h"

// Every graph series of the case holds this many single-precision values, and
// readers of measured rows take at most this many rows.
inline constexpr int kSeriesLength = morvek::kSeriesLength;

// Gas components of the composition, H2S first and C10H22 last.
inline constexpr int kGasComponents = morvek::kGasComponentCount;
inline constexpr int kMethaneIndex = morvek::kMethaneIndex;
