#pragma once
// Numbers of a calculation run that a report line or a graph point can show.
// The correlations are evaluated as published, also far outside the data they
// were fitted to: a gas below its critical temperature has no gas deviation
// factor, oil below 0 deg F no dead-oil viscosity, and an API gravity of
// millions gives solution gas-oil ratios beyond any range. Such a value never
// reaches a report line or a series; the report names the quantity instead.

#include <initializer_list>
#include <string>

// Finite and within the range of single precision, in which the case stores
// every series value (a larger double would turn infinite there).
bool IsMeaningful(double value);

struct RunValue {
    const char* name;  // the quantity as the report names it
    double value;
    bool positive = false;  // a volume factor must also be above zero
};

// The name of the first value that is not meaningful, nullptr when all are.
const char* FirstMeaningless(std::initializer_list<RunValue> values);

// The report line in place of a quantity that could not be computed:
// " Keine sinnvolle Berechnung möglich: <what>".
std::string NoMeaningfulResult(const char* what);
// The same for a quantity at a pressure in bar: "... <what> bei <p> bar".
std::string NoMeaningfulResult(const char* what, float druck);
