#pragma once
// Parts of the fluid-property equations that depend on the case's inputs
// only, not on the pressure (the dead-oil viscosity, a correlation's gravity
// and temperature factor): every pressure step of a run asks for the same
// value. The last value is kept per call site (each lambda is its own type)
// and recomputed whenever its two inputs differ, so the result is always
// exactly what the computation gives.

#include <limits>

template <typename Compute>
double CaseConstant(double input1, double input2, Compute compute) {
    thread_local double last1 = std::numeric_limits<double>::quiet_NaN();
    thread_local double last2 = std::numeric_limits<double>::quiet_NaN();
    thread_local double value = 0.0;
    if (!(input1 == last1 && input2 == last2)) {
        value = compute();
        last1 = input1;
        last2 = input2;
    }
    return value;
}
