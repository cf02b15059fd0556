// The measured-row scanner ("%f %f %f"). Invariant: the numbers of a row,
// written out again with full precision, scan back to the same numbers.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/Format.h"

namespace {

bool Same(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string row(reinterpret_cast<const char*>(data), size);
    float v[3] = {0.5f, 0.5f, 0.5f};
    const int n = ScanRow(row, v[0], v[1], v[2]);
    if (n < 0 || n > 3) std::abort();
    std::string again;
    for (int i = 0; i < n; ++i) again += Format("%.9g ", double(v[i]));
    float w[3] = {0.25f, 0.25f, 0.25f};
    if (ScanRow(again, w[0], w[1], w[2]) != n) std::abort();
    for (int i = 0; i < n; ++i)
        if (!Same(v[i], w[i])) std::abort();
    for (int i = n; i < 3; ++i)
        if (v[i] != 0.5f) std::abort();  // numbers not converted stay as they were
    return 0;
}
