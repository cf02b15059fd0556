#include "base/RunValues.h"

#include <cmath>
#include <limits>

#include "base/Format.h"

bool IsMeaningful(double value) {
    // Not a number fails the comparison too.
    return std::fabs(value) <= double(std::numeric_limits<float>::max());
}

const char* FirstMeaningless(std::initializer_list<RunValue> values) {
    for (const RunValue& v : values) {
        if (!IsMeaningful(v.value) || (v.positive && !(v.value > 0.0))) return v.name;
    }
    return nullptr;
}

std::string NoMeaningfulResult(const char* what) {
    return Format(" Keine sinnvolle Berechnung möglich: %s", what);
}

std::string NoMeaningfulResult(const char* what, float druck) {
    return Format(" Keine sinnvolle Berechnung möglich: %s bei %.1f bar", what, double(druck));
}
