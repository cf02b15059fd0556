#pragma once
// Numbers of a calculation run that a report line or a graph point can show.
// The correlations are evaluated as published, also far outside the data they
// were fitted to: a gas below its critical temperature has no gas deviation
// factor, oil below 0 deg F no dead-oil viscosity, and an API gravity of
// millions gives solution gas-oil ratios beyond any range. Such a value never
// reaches a report line or a series; the run names the quantity instead (a
// value of RunQuantity, which the report renders in German).

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

// The quantities a run may fail to compute.
enum class RunQuantity : int {
    None,           // every quantity was computed
    Rs,             // solution gas-oil ratio
    Bo,             // oil formation volume factor
    Co,             // oil compressibility
    OilViscosity,
    Bg,             // gas formation volume factor (through the z factor)
    GasViscosity,
    GasCap,         // the initial gas cap's free gas
    OilProduction,  // the step's or the cumulative oil
    GasProduction,
    Gor,            // producing gas-oil ratio
    OilSaturation,
    KrgKro,
    OilImmobile,    // a relative-permeability table's kro is 0 at the saturation reached
    VaporisedOil,   // Rv Rs reached 1: oil and gas of the PVT table cannot be told apart
    LeeConstants,   // the constants of Lee's gas viscosity
};
inline constexpr int kRunQuantityCount = static_cast<int>(RunQuantity::LeeConstants) + 1;

struct RunValue {
    RunQuantity quantity;
    double value;
    bool positive = false;  // a volume factor must also be above zero
};

// The first value that is not meaningful, RunQuantity::None when all are.
inline RunQuantity FirstMeaningless(std::initializer_list<RunValue> values) {
    for (const RunValue& v : values) {
        if (!IsMeaningful(v.value) || (v.positive && !(v.value > 0.0))) return v.quantity;
    }
    return RunQuantity::None;
}

// The report line in place of a quantity that could not be computed:
// " Keine sinnvolle Berechnung möglich: <what>"; the text without its
// leading blank, as a list of failures shows it.
std::string NoMeaningfulResult(const char* what);
std::string NoMeaningfulValueText(const char* what);
// The same for a quantity at a pressure in bar: "... <what> bei <p> bar".
std::string NoMeaningfulResult(const char* what, float druck);
