#pragma once
// morvek.Case: the inputs of one reservoir case, every field a property with
// its English name from the field table and an item by its case-record name,
// assignments checked exactly as the data-entry dialog checks them.

#include <pybind11/pybind11.h>

#include "PyCommon.h"
#include "model/CaseInputs.h"

namespace morvek::python {

namespace py = pybind11;

struct PyCase {
    CaseInputs inputs;
};

void RegisterCase(py::module_& m);

// The Python class morvek.Case, for the parts that add methods to it.
py::class_<PyCase> CaseClass(py::module_& m);

// A new morvek.Case holding the inputs.
py::object NewCase(const CaseInputs& inputs);

// A case's state for pickling: every field by its English name (floats as the
// shortest decimal of their stored value, so they come back bit for bit) and
// the measured rows as stored; and back.
py::dict CaseState(const CaseInputs& inputs);
CaseInputs CaseFromState(const StateReader& state);
CaseInputs CaseFromState(const py::handle& state);

// The laboratory tables of a case in its pickled state (by the columns of
// their data frames), and back; a table the readers could not have produced
// is refused (ValueError).
py::dict LabTablesState(const CaseInputs& inputs);
void LabTablesFromState(CaseInputs& inputs, const py::dict& tables, const StateReader& reader);

// The inputs of a morvek.Case argument (TypeError naming the parameter for
// anything else). A reference into the Python object: copy it before the
// interpreter lock is released.
const CaseInputs& InputsOfArg(py::handle c, const char* parameter);

// The production history in the pickled state (name, start date, rows), and back.
py::tuple HistoryState(const ProductionHistory& history);
ProductionHistory HistoryFromState(const py::tuple& state);

void RegisterWaterDrive(py::module_& m);

}  // namespace morvek::python
