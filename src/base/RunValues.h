#pragma once
// Numbers of a calculation run that a report line or a graph point can show.
// The correlations are evaluated as published, also far outside the data they
// were fitted to: a gas below its critical temperature has no gas deviation
// factor, oil below 0 deg F no dead-oil viscosity, and an API gravity of
// millions gives solution gas-oil ratios beyond any range. Such a value never
// reaches a report line or a series; the report names the quantity instead.

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

// Finite and within the range of single precision, in which the case stores
// every series value (a larger double would turn infinite there).
inline bool IsMeaningful(double value) {
    // Not a number fails the comparison too.
    return std::fabs(value) <= double(std::numeric_limits<float>::max());
}

struct RunValue {
    const char* name;  // the quantity as the report names it
    double value;
    bool positive = false;  // a volume factor must also be above zero
};

// The name of the first value that is not meaningful, nullptr when all are.
inline const char* FirstMeaningless(std::initializer_list<RunValue> values) {
    for (const RunValue& v : values) {
        if (!IsMeaningful(v.value) || (v.positive && !(v.value > 0.0))) return v.name;
    }
    return nullptr;
}

// The report line in place of a quantity that could not be computed:
// " Keine sinnvolle Berechnung möglich: <what>".
std::string NoMeaningfulResult(const char* what);
// The same for a quantity at a pressure in bar: "... <what> bei <p> bar".
std::string NoMeaningfulResult(const char* what, float druck);
