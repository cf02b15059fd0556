#pragma once
// Conversion of a double to a 32-bit integer by dropping the fraction, the way
// the axis and plot arithmetic has always done it. A value outside the 32-bit
// range, or not a number, gives the lowest integer, as the processor's
// truncating conversion does, instead of being undefined.

#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t TruncateToInt32(double value) {
    constexpr double kLimit = 2147483648.0;  // 2^31
    if (!(value > -kLimit - 1.0 && value < kLimit)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
