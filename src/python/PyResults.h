#pragma once
// The results of a run as Python sees them: columns of numbers as read-only
// NumPy arrays, built when first asked for and kept, and the messages the
// program shows beside the report.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "model/CaseInputs.h"
#include "report/CaseRun.h"

namespace morvek::python {

namespace py = pybind11;

// A column of a result: its name, what it holds, and its value in a row.
template <typename Row>
struct Column {
    const char* name;
    const char* doc;
    double (*value)(const Row&);
};

// A read-only array of one column over the rows (float64, or bool).
template <typename Row, typename T>
py::array ColumnArray(const std::vector<Row>& rows, T (*value)(const Row&)) {
    py::array_t<T> out(static_cast<py::ssize_t>(rows.size()));
    T* data = out.mutable_data();
    for (size_t i = 0; i < rows.size(); ++i) data[i] = value(rows[i]);
    out.attr("setflags")(py::arg("write") = false);
    return out;
}

// A pandas DataFrame of the named arrays (pandas is imported only here).
py::object DataFrameOf(const py::dict& columns, py::object index = py::none());

// The report lines joined as batch mode writes them to stdout.
std::string JoinedReport(const std::vector<std::string>& lines);

// What the program shows beside the report of a run (batch mode writes it to
// stderr): why no back-calculated API gravity is offered, the viscosity
// calibration, a liquid saturation below Swi. The questions are not among
// them: their answers are the run's options.
std::vector<std::string> RunDiagnostics(const CaseInputs& inputs, const RunOptions& options,
                                        ResultKind kind, const PredictionResult* prediction);

void RegisterPrediction(py::module_& m);
void RegisterTables(py::module_& m);
void RegisterFluid(py::module_& m);
void RegisterMatch(py::module_& m);
void RegisterLabTables(py::module_& m);
void RegisterSweep(py::module_& m);

}  // namespace morvek::python
