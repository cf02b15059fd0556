// morvek.MatchResult and Case.match(): the history match of a case to its
// measured rows (the engine's Match), with the fitted values, their standard
// errors and 95 % intervals, the correlations and each row measured against
// computed, as plain Python values and pandas tables.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "match/Match.h"
#include "match/MatchReport.h"

namespace morvek::python {
namespace {

const char* const kStatusNames[] = {"converged", "not_converged", "cancelled", "refused"};

// weights: None, a pair (p, gor) or a mapping with the keys "p" and "gor".
MatchWeights WeightsOf(const py::object& weights) {
    MatchWeights w;
    if (weights.is_none()) return w;
    if (py::isinstance<py::dict>(weights)) {
        for (const auto& [key, value] : weights.cast<py::dict>()) {
            const std::string k = key.cast<std::string>();
            if (k == "p")
                w.pressure = value.cast<double>();
            else if (k == "gor")
                w.gor = value.cast<double>();
            else
                throw InputError(
                    "Gewichte gibt es für \"p\" (Druck) und \"gor\" (Gas-Öl-Verhältnis), "
                    "nicht für \"" +
                    k + "\".");
        }
        return w;
    }
    const auto pair = weights.cast<std::pair<double, double>>();
    w.pressure = pair.first;
    w.gor = pair.second;
    return w;
}

MatchOptions OptionsOf(const std::vector<std::string>& names, const py::object& weights,
                       const py::dict& starts, const py::dict& bounds, int maxIterations,
                       bool useApi) {
    MatchOptions o = MatchOptionsFor(names);
    for (MatchParameter& p : o.parameters) {
        const Field* field = FindField(p.name);
        for (const auto& [key, value] : starts) {
            const Field* f = FindField(key.cast<std::string>());
            if (f != nullptr && f == field) p.start = value.cast<double>();
        }
        for (const auto& [key, value] : bounds) {
            const Field* f = FindField(key.cast<std::string>());
            if (f == nullptr || f != field) continue;
            const auto range = value.cast<std::pair<double, double>>();
            p.bounds = MatchBounds{range.first, range.second};
        }
    }
    for (const py::dict* given : {&starts, &bounds})
        for (const auto& [key, value] : *given) {
            const std::string k = key.cast<std::string>();
            const Field* f = FindField(k);
            bool fitted = false;
            for (const MatchParameter& p : o.parameters) fitted = fitted || FindField(p.name) == f;
            if (!fitted) throw InputError("\"" + k + "\" wird nicht angepaßt.");
        }
    o.weights = WeightsOf(weights);
    o.maxIterations = maxIterations;
    o.run.useApiFromInitialGor = useApi;
    return o;
}

// The result's fittedInputs is a copy of the case (its field name heads the
// summary).
MatchResult MatchCase(const PyCase& c, const std::vector<std::string>& names,
                      const py::object& weights, const py::dict& starts, const py::dict& bounds,
                      int maxIterations, bool useApi) {
    CheckForRun(c.inputs);
    const MatchOptions options = OptionsOf(names, weights, starts, bounds, maxIterations, useApi);
    if (const std::string why = CheckMatch(c.inputs, options); !why.empty()) throw InputError(why);
    MatchResult out;
    {
        py::gil_scoped_release released;
        out = Match(c.inputs, options);
    }
    if (out.status == MatchStatus::Refused) throw InputError(out.message);
    return out;
}

py::object FittedTable(const MatchResult& r) {
    py::list name, start, fitted, stdError, low, high, atBound;
    for (const FittedInput& f : r.inputs) {
        name.append(f.name);
        start.append(f.start);
        fitted.append(PyValueOf(f.stored));
        const double none = std::numeric_limits<double>::quiet_NaN();
        stdError.append(f.hasStatistics ? f.stdError : none);
        low.append(f.hasStatistics ? f.ci95Low : none);
        high.append(f.hasStatistics ? f.ci95High : none);
        atBound.append(f.atBound);
    }
    py::dict columns;
    columns["start"] = start;
    columns["fitted"] = fitted;
    columns["std_error"] = stdError;
    columns["ci95_low"] = low;
    columns["ci95_high"] = high;
    columns["at_bound"] = atBound;
    return DataFrameOf(columns,
                       py::module_::import("pandas").attr("Index")(name, py::arg("name") = "name"));
}

py::object RowsTable(const std::vector<RowComparison>& rows) {
    py::list np, pMeasured, pComputed, gorMeasured, gorComputed, beyond;
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (const RowComparison& row : rows) {
        np.append(PyValueOf(row.measured.np1000m3));
        pMeasured.append(PyValueOf(row.measured.pressureBar));
        pComputed.append(row.pressureBar);
        gorMeasured.append(row.measured.hasGor ? PyValueOf(row.measured.gorSm3PerM3) : none);
        gorComputed.append(row.gorSm3PerM3);
        beyond.append(row.beyondPrediction);
    }
    py::dict columns;
    columns["np_1000m3"] = np;
    columns["p_measured_bar"] = pMeasured;
    columns["p_computed_bar"] = pComputed;
    columns["gor_measured"] = gorMeasured;
    columns["gor_computed"] = gorComputed;
    columns["beyond_prediction"] = beyond;
    return DataFrameOf(columns);
}

// --- Pickling: the result's data, nothing recomputed ---------------------------------

py::list RowsState(const std::vector<RowComparison>& rows) {
    py::list out;
    for (const RowComparison& r : rows)
        out.append(py::make_tuple(r.measured.np1000m3, r.measured.pressureBar,
                                  r.measured.gorSm3PerM3, r.measured.hasGor, r.pressureBar,
                                  r.gorSm3PerM3, r.beyondPrediction));
    return out;
}

std::vector<RowComparison> RowsFromState(const py::list& state) {
    std::vector<RowComparison> rows;
    for (const py::handle& item : state) {
        const auto t = item.cast<py::tuple>();
        RowComparison r;
        r.measured = {t[0].cast<float>(), t[1].cast<float>(), t[2].cast<float>(),
                      t[3].cast<bool>()};
        r.pressureBar = t[4].cast<double>();
        r.gorSm3PerM3 = t[5].cast<double>();
        r.beyondPrediction = t[6].cast<bool>();
        rows.push_back(r);
    }
    return rows;
}

py::dict MatchState(const MatchResult& r) {
    py::dict state;
    state["status"] = int(r.status);
    state["message"] = r.message;
    py::list inputs;
    for (const FittedInput& f : r.inputs)
        inputs.append(py::make_tuple(f.name, f.start, f.fitted, f.stored, f.bounds.lower,
                                     f.bounds.upper, f.atBound, f.hasStatistics, f.stdError,
                                     f.ci95Low, f.ci95High));
    state["inputs"] = inputs;
    state["correlation"] = r.correlation;
    state["rms"] = py::make_tuple(r.rmsBefore, r.rmsAfter);
    state["counts"] =
        py::make_tuple(r.residualCount, r.degreesOfFreedom, r.iterations, r.predictions);
    state["weights"] = py::make_tuple(r.weights.pressure, r.weights.gor);
    state["rows_before"] = RowsState(r.rowsBefore);
    state["rows_after"] = RowsState(r.rowsAfter);
    state["case"] = CaseState(r.fittedInputs);
    state["field_name"] = r.fittedInputs.fieldName;  // read back from the case
    py::list starts;
    for (const MatchStart& s : r.starts)
        starts.append(py::make_tuple(s.start, s.fitted, s.rms, s.converged, s.iterations));
    state["starts"] = py::make_tuple(starts, r.bestStart, r.startWarning);
    return state;
}

MatchResult MatchFromState(const py::dict& state) {
    MatchResult r;
    r.status = static_cast<MatchStatus>(state["status"].cast<int>());
    r.message = state["message"].cast<std::string>();
    for (const py::handle& item : state["inputs"].cast<py::list>()) {
        const auto t = item.cast<py::tuple>();
        FittedInput f;
        f.name = t[0].cast<std::string>();
        f.start = t[1].cast<double>();
        f.fitted = t[2].cast<double>();
        f.stored = t[3].cast<float>();
        f.bounds = {t[4].cast<double>(), t[5].cast<double>()};
        f.atBound = t[6].cast<bool>();
        f.hasStatistics = t[7].cast<bool>();
        f.stdError = t[8].cast<double>();
        f.ci95Low = t[9].cast<double>();
        f.ci95High = t[10].cast<double>();
        r.inputs.push_back(f);
    }
    r.correlation = state["correlation"].cast<std::vector<std::vector<double>>>();
    const auto rms = state["rms"].cast<py::tuple>();
    r.rmsBefore = rms[0].cast<double>();
    r.rmsAfter = rms[1].cast<double>();
    const auto counts = state["counts"].cast<py::tuple>();
    r.residualCount = counts[0].cast<int>();
    r.degreesOfFreedom = counts[1].cast<int>();
    r.iterations = counts[2].cast<int>();
    r.predictions = counts[3].cast<int>();
    const auto weights = state["weights"].cast<py::tuple>();
    r.weights = {weights[0].cast<double>(), weights[1].cast<double>()};
    r.rowsBefore = RowsFromState(state["rows_before"].cast<py::list>());
    r.rowsAfter = RowsFromState(state["rows_after"].cast<py::list>());
    r.fittedInputs = CaseFromState(state["case"].cast<py::dict>());
    if (state.contains("starts")) {
        const auto starts = state["starts"].cast<py::tuple>();
        for (const py::handle& item : starts[0].cast<py::list>()) {
            const auto t = item.cast<py::tuple>();
            r.starts.push_back({t[0].cast<std::vector<double>>(), t[1].cast<std::vector<double>>(),
                                t[2].cast<double>(), t[3].cast<bool>(), t[4].cast<int>()});
        }
        r.bestStart = starts[1].cast<int>();
        r.startWarning = starts[2].cast<std::string>();
    }
    return r;
}

}  // namespace

void RegisterMatch(py::module_& m) {
    auto cls = py::class_<MatchResult>(
        m, "MatchResult",
        "The history match of a case (Case.match): the fitted inputs with their standard\n"
        "errors and 95 % intervals, the correlations, the misfit before and after, and each\n"
        "measured row against the prediction.");
    cls.def_property_readonly(
        "status", [](const MatchResult& r) { return kStatusNames[int(r.status)]; },
        "'converged' or 'not_converged' (iterations used up, or the solver gave up).");
    cls.def_property_readonly(
        "converged", [](const MatchResult& r) { return r.status == MatchStatus::Converged; },
        "True when the match converged; only then does `case` hold fitted values.");
    cls.def_property_readonly(
        "message", [](const MatchResult& r) { return MessageText(r.message); },
        "Why the match did not converge (German), or an empty string.");
    cls.def_property_readonly(
        "fitted",
        [](const MatchResult& r) {
            py::dict out;
            for (const FittedInput& f : r.inputs) out[py::str(f.name)] = PyValueOf(f.stored);
            return out;
        },
        "The fitted values by record name, as the fitted case stores them (single precision).");
    cls.def(
        "to_pandas", [](const MatchResult& r) { return FittedTable(r); },
        "One row per fitted input (index: record name): start, fitted, std_error, ci95_low,\n"
        "ci95_high (NaN where the rows determine no statistics) and at_bound.");
    cls.def_property_readonly(
        "correlation",
        [](const MatchResult& r) {
            const auto& c = r.correlation;
            const py::ssize_t n = static_cast<py::ssize_t>(c.size());
            py::array_t<double> out({n, n});
            for (py::ssize_t i = 0; i < n; ++i)
                for (py::ssize_t j = 0; j < n; ++j) out.mutable_at(i, j) = c[size_t(i)][size_t(j)];
            return out;
        },
        "The correlation matrix of the fitted inputs in their order (empty without statistics).");
    cls.def_property_readonly(
        "warnings", [](const MatchResult& r) { return TextList(CorrelationWarnings(r)); },
        "The German warnings about pairs of inputs with |r| > 0.9: the rows determine them\n"
        "only together.");
    cls.def_property_readonly(
        "rms_before", [](const MatchResult& r) { return r.rmsBefore; },
        "RMS of the relative residuals at the start values (0.01 = 1 %).");
    cls.def_property_readonly(
        "rms_after", [](const MatchResult& r) { return r.rmsAfter; },
        "RMS of the relative residuals at the fitted values.");
    cls.def(
        "rows", [](const MatchResult& r) { return RowsTable(r.rowsAfter); },
        "Each measured row against the prediction of the fitted case (a pandas DataFrame).");
    cls.def(
        "rows_before", [](const MatchResult& r) { return RowsTable(r.rowsBefore); },
        "Each measured row against the prediction at the start values.");
    cls.def_property_readonly(
        "iterations", [](const MatchResult& r) { return r.iterations; }, "Solver iterations.");
    cls.def_property_readonly(
        "predictions", [](const MatchResult& r) { return r.predictions; },
        "Predictions the match needed.");
    cls.def_property_readonly(
        "case", [](const MatchResult& r) { return NewCase(r.fittedInputs); },
        "A new Case with the fitted values (the start case when the match did not converge).");
    cls.def(
        "summary",
        [](const MatchResult& r) {
            return MessageText(JoinedReport(MatchSummaryLines(r, r.fittedInputs.fieldName)));
        },
        "The German summary of the match, as batch mode's --match writes it.");
    cls.def(
        "csv", [](const MatchResult& r) { return MessageText(MatchCsvText(r)); },
        "The fitted values as batch mode's --match-csv writes them.");
    cls.def("__repr__", [](const MatchResult& r) {
        std::string text = std::string("<morvek.MatchResult ") + kStatusNames[int(r.status)];
        for (const FittedInput& f : r.inputs) text += " " + f.name + "=" + ShortestText(f.stored);
        return text + ">";
    });
    cls.def(py::pickle([](const MatchResult& r) { return MatchState(r); },
                       [](const py::dict& state) { return MatchFromState(state); }));

    CaseClass(m).def(
        "match", &MatchCase, py::arg("names"), py::kw_only(), py::arg("weights") = py::none(),
        py::arg("starts") = py::dict(), py::arg("bounds") = py::dict(),
        py::arg("max_iterations") = 100, py::arg("use_api_from_initial_gor") = false,
        "Fits the named inputs (any of m_OOIP, m_Gaskappe, m_KrgMax, m_KroMax, m_Sgc, m_Swi,\n"
        "m_Entloesungsdruck, by record or English name) to the case's measured rows: the\n"
        "weighted sum of squared relative residuals of shut-in pressure and producing gas-oil\n"
        "ratio at each row's cumulative oil, minimised by Ceres Solver within bounds.\n"
        "weights: (p, gor) or {'p': .., 'gor': ..} (default 1 and 1); starts and bounds: by\n"
        "name, a start value and a (low, high) pair (default the case's value and the field's\n"
        "range). The case is not changed: the result's `case` holds the fitted values. A case\n"
        "the dialog's OK checks refuse, or one the match cannot start with (no rows, fewer rows\n"
        "than inputs, ...), raises InputError with the German message. The interpreter lock\n"
        "is released while it runs.");
}

}  // namespace morvek::python
