// The dialog's number parsing. Invariants: an accepted text is a finite
// number that reads back identically from its full-precision form and within
// display precision from the six digits the dialog shows; a refused text
// leaves the value untouched.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Format.h"
#include "base/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    float value = 42.0f;
    if (!ParseFloatStrict(text, value)) {
        if (value != 42.0f) std::abort();
        return 0;
    }
    if (!std::isfinite(value)) std::abort();
    float again = 0.0f;
    if (!ParseFloatStrict(Format("%.9g", double(value)), again) || again != value) std::abort();
    float shown = 0.0f;
    if (!ParseFloatStrict(FloatForDisplay(value), shown)) std::abort();
    if (std::fabs(double(shown) - double(value)) > 1e-5 * std::fabs(double(value)) + 1e-38)
        std::abort();
    return 0;
}
