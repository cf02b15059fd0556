// The Python module morvek (its compiled part, morvek._morvek): the engine's
// cases, predictions, tables, fluids, history matches and uncertainty runs for
// notebooks and scripts. Every call
// is a pure function of plain data: nothing prints, nothing asks, and the
// results pickle, so that process pools and cluster schedulers can ship them.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyForecast.h"
#include "PyResults.h"

namespace py = pybind11;

PYBIND11_MODULE(_morvek, m) {
    using namespace morvek::python;
    // Every docstring begins with its own text signature (name(...)\n--\n\n),
    // which inspect.signature reads; pybind11's would hide it.
    py::options options;
    options.disable_function_signatures();

    m.doc() = "The compiled part of the morvek module; import morvek instead.";
    m.attr("__version__") = MORVEK_VERSION;

    // pybind11 looks up NumPy's C API once, under a lock of its own that it
    // holds while importing NumPy; threads that first met an array at the same
    // time (each holding the interpreter lock in turn) waited for each other
    // for ever. Looked up here, at import, it is there before any thread asks.
    py::detail::npy_api::get();

    // The classes are created as morvek.Case and so on: so they show in
    // signatures and help, and pickles name them.
    const py::object importName = m.attr("__name__");
    m.attr("__name__") = "morvek";
    RegisterErrors(m);
    RegisterRestorer(m);
    RegisterCase(m);
    RegisterPrediction(m);
    RegisterTables(m);
    RegisterFluid(m);
    RegisterMatch(m);
    RegisterLabTables(m);
    RegisterSweep(m);
    RegisterEvaluate(m);
    RegisterWaterDrive(m);
    RegisterForecast(m);
    m.attr("__name__") = importName;
}
