// The Python module morvek (its compiled part, morvek._morvek): the engine's
// cases, predictions, tables, fluids, history matches and uncertainty runs for
// notebooks and scripts. Every call
// is a pure function of plain data: nothing prints, nothing asks, and the
// results pickle, so that process pools and cluster schedulers can ship them.

#include <pybind11/pybind11.h>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyForecast.h"
#include "PyResults.h"

namespace py = pybind11;

PYBIND11_MODULE(_morvek, m) {
    using namespace morvek::python;
    m.doc() = "The compiled part of the morvek module; import morvek instead.";
    m.attr("__version__") = MORVEK_VERSION;

    // The classes are created as morvek.Case and so on: so they show in
    // signatures and help, and pickles name them.
    const py::object importName = m.attr("__name__");
    m.attr("__name__") = "morvek";
    RegisterErrors(m);
    RegisterCase(m);
    RegisterPrediction(m);
    RegisterTables(m);
    RegisterFluid(m);
    RegisterMatch(m);
    RegisterLabTables(m);
    RegisterSweep(m);
    RegisterForecast(m);
    m.attr("__name__") = importName;
}
