#pragma once
// The forecast against time for Python (PyForecast.cpp).

#include <pybind11/pybind11.h>

#include <vector>

#include "model/CaseInputs.h"
#include "sweep/Sweep.h"
#include "sweep/Variation.h"

namespace morvek::python {

namespace py = pybind11;

void RegisterForecast(py::module_& m);

// morvek.sweep(..., forecast=True): the uncertainty run with the forecast as
// its run, a ForecastSweepResult; the base case copied by the caller while it
// holds the interpreter lock.
py::object ForecastSweepOf(const CaseInputs& base, const std::vector<Variation>& variations,
                           const SweepOptions& sweep, const py::object& npBy);

}  // namespace morvek::python
