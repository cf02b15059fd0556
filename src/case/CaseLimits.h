#pragma once
// The case's sizes under the names the shell has always used.

#include <cstddef>

#include "model/CaseInputs.h"

// Every graph series of the case holds this many single-precision values, and
// readers of measured rows take at most this many rows.
inline constexpr int kSeriesLength = morvek::kSeriesLength;

// Gas components of the composition, H2S first and C10H22 last.
inline constexpr int kGasComponents = morvek::kGasComponentCount;
inline constexpr int kMethaneIndex = morvek::kMethaneIndex;

// The case file's limits (see model/CaseInputs.h).
inline constexpr size_t kMaxMeasuredRows = morvek::kMaxMeasuredRows;
inline constexpr size_t kMaxCaseTextBytes = morvek::kMaxCaseTextBytes;
