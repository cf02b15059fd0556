#pragma once

#include <cstddef>

// Every graph series of the case holds this many single-precision values, and
// readers of measured rows take at most this many rows.
inline constexpr int kSeriesLength = 300;

// Gas components of the composition, H2S first and C10H22 last.
inline constexpr int kGasComponents = 15;
inline constexpr int kMethaneIndex = 3;

// A case file holds at most this many measured rows and no text (field name,
// measured row) longer than this many bytes. A real case never comes near
// them; they bound the memory a file can ask for. The loader refuses a file
// beyond them as damaged, and a save that would write one is refused.
inline constexpr size_t kMaxMeasuredRows = 100000;
inline constexpr size_t kMaxCaseTextBytes = 65536;
