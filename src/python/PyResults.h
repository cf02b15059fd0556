#pragma once
// The results of a run as Python sees them: columns of numbers as read-only
// NumPy arrays, built when first asked for and kept, and the messages the
// program shows beside the report.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "PyCommon.h"
#include "depletion/Prediction.h"
#include "model/CaseInputs.h"
#include "report/CaseRun.h"
#include "sweep/Sweep.h"

namespace morvek::python {

namespace py = pybind11;

// A column of a result, declared once: its name, unit and doc, and where its
// value lives in a row of the engine (a member, shown divided by divisor, or
// a function for a value computed from the row). The result's properties, its
// pandas and xarray tables and its pickled state are all made from these.
template <typename Row>
struct Column {
    const char* name;
    const char* unit;  // "" for a fraction, a count or a flag
    const char* doc;
    std::variant<double Row::*, float Row::*, int Row::*, bool Row::*, double (*)(const Row&)>
        member;
    double divisor = 1.0;
};

// A read-only NumPy array of one column over the rows: float64 (a
// single-precision member as the shortest decimal of its value), int64 for
// whole numbers, bool for flags.
template <typename Row>
py::array ColumnArray(const std::vector<Row>& rows, const Column<Row>& column) {
    const auto n = static_cast<py::ssize_t>(rows.size());
    py::array out = std::visit(
        [&](auto member) -> py::array {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, double (*)(const Row&)>) {
                py::array_t<double> a(n);
                double* d = a.mutable_data();
                for (size_t i = 0; i < rows.size(); ++i) d[i] = member(rows[i]);
                return a;
            } else {
                using T = std::remove_cvref_t<decltype(rows[0].*member)>;
                if constexpr (std::is_same_v<T, double>) {
                    py::array_t<double> a(n);
                    double* d = a.mutable_data();
                    for (size_t i = 0; i < rows.size(); ++i)
                        d[i] = rows[i].*member / column.divisor;
                    return a;
                } else if constexpr (std::is_same_v<T, float>) {
                    py::array_t<double> a(n);
                    double* d = a.mutable_data();
                    for (size_t i = 0; i < rows.size(); ++i) d[i] = PyValueOf(rows[i].*member);
                    return a;
                } else if constexpr (std::is_same_v<T, int>) {
                    py::array_t<int64_t> a(n);
                    int64_t* d = a.mutable_data();
                    for (size_t i = 0; i < rows.size(); ++i) d[i] = rows[i].*member;
                    return a;
                } else {
                    py::array_t<bool> a(n);
                    bool* d = a.mutable_data();
                    for (size_t i = 0; i < rows.size(); ++i) d[i] = rows[i].*member;
                    return a;
                }
            }
        },
        column.member);
    out.attr("setflags")(py::arg("write") = false);
    return out;
}

// A column's stored values, packed (native byte order) for the pickled state,
// and back: false when the bytes do not hold one value per row.
template <typename Row>
py::bytes PackColumn(const std::vector<Row>& rows, const Column<Row>& column) {
    return std::visit(
        [&](auto member) -> py::bytes {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, double (*)(const Row&)>) {
                return py::bytes();  // computed, not stored
            } else {
                using T = std::remove_cvref_t<decltype(rows[0].*member)>;
                std::string out(rows.size() * sizeof(T), '\0');
                for (size_t i = 0; i < rows.size(); ++i) {
                    const T value = rows[i].*member;
                    std::memcpy(out.data() + i * sizeof(T), &value, sizeof(T));
                }
                return py::bytes(out);
            }
        },
        column.member);
}

template <typename Row>
bool UnpackColumn(const std::string& bytes, std::vector<Row>& rows, const Column<Row>& column) {
    return std::visit(
        [&](auto member) -> bool {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, double (*)(const Row&)>) {
                return true;
            } else {
                using T = std::remove_cvref_t<decltype(rows[0].*member)>;
                if (bytes.size() != rows.size() * sizeof(T)) return false;
                for (size_t i = 0; i < rows.size(); ++i) {
                    T value{};
                    if constexpr (std::is_same_v<T, bool>) {
                        value = bytes[i] != 0;
                    } else {
                        std::memcpy(&value, bytes.data() + i * sizeof(T), sizeof(T));
                    }
                    rows[i].*member = value;
                }
                return true;
            }
        },
        column.member);
}

// The bytes per row of a stored column (0 for a computed one).
template <typename Row>
size_t ColumnWidth(const Column<Row>& column) {
    return std::visit(
        [](auto member) -> size_t {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, double (*)(const Row&)>) {
                return 0;
            } else {
                using T = std::remove_cvref_t<decltype(std::declval<Row>().*member)>;
                return sizeof(T);
            }
        },
        column.member);
}

// A value of a result (rsi, balance ratio, ...), declared once for its
// property and its pickled state.
template <typename Result>
struct Scalar {
    const char* name;
    const char* doc;
    std::variant<double Result::*, float Result::*, int Result::*, bool Result::*> member;
};

template <typename Result>
py::object ScalarValue(const Result& r, const Scalar<Result>& s) {
    return std::visit(
        [&](auto member) -> py::object {
            using T = std::remove_cvref_t<decltype(r.*member)>;
            if constexpr (std::is_same_v<T, float>) return py::float_(PyValueOf(r.*member));
            else if constexpr (std::is_same_v<T, double>) return py::float_(r.*member);
            else if constexpr (std::is_same_v<T, int>) return py::int_(r.*member);
            else return py::bool_(r.*member);
        },
        s.member);
}

// The stored value (a float exactly, not its shortest decimal).
template <typename Result>
py::object ScalarState(const Result& r, const Scalar<Result>& s) {
    return std::visit(
        [&](auto member) -> py::object {
            using T = std::remove_cvref_t<decltype(r.*member)>;
            if constexpr (std::is_same_v<T, float>) return py::float_(double(r.*member));
            else if constexpr (std::is_same_v<T, double>) return py::float_(r.*member);
            else if constexpr (std::is_same_v<T, int>) return py::int_(r.*member);
            else return py::bool_(r.*member);
        },
        s.member);
}

template <typename Result>
void ScalarFromState(Result& r, const Scalar<Result>& s, const StateReader& state) {
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(r.*member)>;
            if constexpr (std::is_same_v<T, float>) r.*member = state.Float(s.name);
            else if constexpr (std::is_same_v<T, double>) r.*member = state.Double(s.name);
            else if constexpr (std::is_same_v<T, int>)
                r.*member = static_cast<int>(state.Integer(s.name, 0, 1 << 30));
            else r.*member = state.Bool(s.name);
        },
        s.member);
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

// The outcomes of many runs, as the sweep's CSV holds them: one row per run,
// NaN where a run failed, with the German reason.
struct OutcomeTable {
    explicit OutcomeTable(size_t rows) : values(rows), failures(rows) {}
    std::vector<OutcomeValues> values;
    std::vector<std::string> failures;
};

// The outcomes asked for: None for every outcome of the run (the abandonment
// ones only with an abandonment pressure), else a list of the CSV's column
// names (InputError for an unknown one).
std::vector<Outcome> SelectedOutcomes(const py::object& outcomes, bool abandonment);
// A pandas DataFrame of the selected outcome columns and `failure`.
py::object OutcomeFrame(const OutcomeTable& table, const std::vector<Outcome>& selected,
                        const py::object& index);
// An abandon_bar argument: 0 for None, else 1 to 1000 bar (InputError).
float AbandonmentOf(const py::object& abandon);

void RegisterPrediction(py::module_& m);
void RegisterTables(py::module_& m);
void RegisterFluid(py::module_& m);
void RegisterMatch(py::module_& m);
void RegisterLabTables(py::module_& m);
void RegisterSweep(py::module_& m);
void RegisterEvaluate(py::module_& m);

}  // namespace morvek::python
