// morvek.MatchResult and Case.match(): the history match of a case to its
// measured rows (the engine's Match), with the fitted values, their standard
// errors and 95 % intervals, the correlations and each row measured against
// computed, as plain Python values and pandas tables.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"
#include "match/Match.h"
#include "match/MatchReport.h"

namespace morvek::python {
namespace {

const char* const kStatusNames[] = {"converged", "not_converged", "cancelled", "refused"};

// The items of a mapping argument (a dict or anything with items()).
py::list ItemsOf(const py::object& mapping, const char* parameter) {
    if (!py::isinstance<py::dict>(mapping) && !py::hasattr(mapping, "items"))
        throw TypeMismatch(Format("%s: eine Zuordnung (dict) erwartet.", parameter));
    return py::list(mapping.attr("items")());
}

// A pair of numbers (a bound, the weights).
std::pair<double, double> PairOf(const py::handle& value, const std::string& parameter) {
    if (py::isinstance<py::str>(value) || !py::isinstance<py::sequence>(value) ||
        py::len(value) != 2)
        throw TypeMismatch(Format("%s: zwei Zahlen erwartet.", parameter.c_str()));
    const py::sequence seq = py::reinterpret_borrow<py::sequence>(value);
    return {NumberArg(seq[0], parameter + "[0]"), NumberArg(seq[1], parameter + "[1]")};
}

// weights: None, a pair (p, gor) or a mapping with the keys "p" and "gor".
MatchWeights WeightsOf(const py::object& weights) {
    MatchWeights w;
    if (weights.is_none()) return w;
    if (py::isinstance<py::dict>(weights) || py::hasattr(weights, "items")) {
        for (const py::handle item : ItemsOf(weights, "weights")) {
            const py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
            const std::string k = TextArg(pair[0], "weights");
            if (k == "p")
                w.pressure = NumberArg(pair[1], "weights['p']");
            else if (k == "gor")
                w.gor = NumberArg(pair[1], "weights['gor']");
            else
                throw InputError(
                    "Gewichte gibt es für \"p\" (Druck) und \"gor\" (Gas-Öl-Verhältnis), "
                    "nicht für \"" +
                    k + "\".");
        }
        return w;
    }
    const auto pair = PairOf(weights, "weights");
    w.pressure = pair.first;
    w.gor = pair.second;
    return w;
}

// The names to fit: any naming scheme, as the record names the engine takes
// (a name of no field passes on as given, for the engine's message).
std::vector<std::string> NamesOf(const py::object& names) {
    if (py::isinstance<py::str>(names) || !py::isinstance<py::iterable>(names))
        throw TypeMismatch("names: eine Liste von Namen erwartet (z. B. [\"ooip\", \"gas_cap_ratio\"]).");
    std::vector<std::string> out;
    for (const py::handle name : names) {
        const std::string text = TextArg(name, Format("names[%zu]", out.size()));
        const Field* f = FieldOfName(text);
        out.push_back(f != nullptr ? std::string(f->recordName) : text);
    }
    return out;
}

MatchOptions OptionsOf(const std::vector<std::string>& names, const py::object& weights,
                       const py::object& starts, const py::object& bounds,
                       const py::object& maxIterations, bool useApi) {
    MatchOptions o = MatchOptionsFor(names);
    const auto fittedIndex = [&](const Field* f) -> int {
        for (size_t i = 0; i < o.parameters.size(); ++i)
            if (f != nullptr && FieldOfName(o.parameters[i].name) == f) return static_cast<int>(i);
        return -1;
    };
    for (const py::handle item : ItemsOf(starts, "starts")) {
        const py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
        const std::string key = TextArg(pair[0], "starts");
        const int i = fittedIndex(FieldOfName(key));
        if (i < 0) throw InputError("\"" + key + "\" wird nicht angepaßt.");
        o.parameters[size_t(i)].start = NumberArg(pair[1], Format("starts['%s']", key.c_str()));
    }
    for (const py::handle item : ItemsOf(bounds, "bounds")) {
        const py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
        const std::string key = TextArg(pair[0], "bounds");
        const int i = fittedIndex(FieldOfName(key));
        if (i < 0) throw InputError("\"" + key + "\" wird nicht angepaßt.");
        const auto range = PairOf(pair[1], Format("bounds['%s']", key.c_str()));
        o.parameters[size_t(i)].bounds = MatchBounds{range.first, range.second};
    }
    o.weights = WeightsOf(weights);
    const int64_t iterations = IntegerArg(maxIterations, "max_iterations");
    if (iterations < 1 || iterations > 100000)
        throw InputError("max_iterations: Bitte eine Zahl von 1 bis 100000 angeben.");
    o.maxIterations = static_cast<int>(iterations);
    o.run.useApiFromInitialGor = useApi;
    return o;
}

// The result's fittedInputs is a copy of the case (its field name heads the
// summary).
MatchResult MatchCase(const PyCase& c, const py::object& namesArg, const py::object& weights,
                      const py::object& starts, const py::object& bounds,
                      const py::object& maxIterations, const py::object& useApi) {
    // A copy, made while the interpreter lock is held: another thread may
    // change the case during the match.
    const CaseInputs inputs = c.inputs;
    CheckForRun(inputs);
    const MatchOptions options = OptionsOf(NamesOf(namesArg), weights, starts, bounds,
                                           maxIterations, BoolArg(useApi, "use_api_from_initial_gor"));
    if (const std::string why = CheckMatch(inputs, options); !why.empty()) throw InputError(why);
    MatchResult out;
    RunInterruptibly([&](const std::atomic<bool>& stop) {
        out = Match(inputs, options, [&stop](const MatchProgress&) { return !stop; });
    });
    if (out.status == MatchStatus::Refused) throw InputError(out.message);
    return out;
}

// The English name of a fitted input (the engine names it by its record name).
const char* EnglishName(const std::string& recordName) {
    const Field* f = FieldOfName(recordName);
    return f != nullptr ? f->name : recordName.c_str();
}

py::object FittedTable(const MatchResult& r) {
    py::list name, start, fitted, stdError, low, high, atBound;
    for (const FittedInput& f : r.inputs) {
        name.append(EnglishName(f.name));
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
                                  r.measured.gorSm3PerM3, int(r.measured.hasGor), r.pressureBar,
                                  r.gorSm3PerM3, int(r.beyondPrediction)));
    return out;
}

std::vector<RowComparison> RowsFromState(const py::list& rows, const StateReader& state) {
    std::vector<RowComparison> out;
    for (const py::handle& item : rows) {
        const py::tuple t = state.TupleOf(item, "rows", 7);
        RowComparison r;
        r.measured = {static_cast<float>(state.DoubleOf(t[0], "rows")),
                      static_cast<float>(state.DoubleOf(t[1], "rows")),
                      static_cast<float>(state.DoubleOf(t[2], "rows")),
                      state.IntegerOf(t[3], "rows", 0, 1) != 0};
        r.pressureBar = state.DoubleOf(t[4], "rows");
        r.gorSm3PerM3 = state.DoubleOf(t[5], "rows");
        r.beyondPrediction = state.IntegerOf(t[6], "rows", 0, 1) != 0;
        out.push_back(r);
    }
    return out;
}

py::dict MatchState(const MatchResult& r) {
    py::dict state;
    state["status"] = kStatusNames[int(r.status)];
    state["message"] = MessageText(r.message);
    py::list inputs;
    for (const FittedInput& f : r.inputs)
        inputs.append(py::make_tuple(f.name, f.start, f.fitted, double(f.stored), f.bounds.lower,
                                     f.bounds.upper, int(f.atBound), int(f.hasStatistics),
                                     f.stdError, f.ci95Low, f.ci95High));
    state["inputs"] = inputs;
    py::list correlation;
    for (const auto& row : r.correlation) correlation.append(py::cast(row));
    state["correlation"] = correlation;
    state["rms_before"] = r.rmsBefore;
    state["rms_after"] = r.rmsAfter;
    state["residual_count"] = r.residualCount;
    state["degrees_of_freedom"] = r.degreesOfFreedom;
    state["iterations"] = r.iterations;
    state["predictions"] = r.predictions;
    state["weights"] = py::make_tuple(r.weights.pressure, r.weights.gor);
    state["rows_before"] = RowsState(r.rowsBefore);
    state["rows_after"] = RowsState(r.rowsAfter);
    state["case"] = CaseState(r.fittedInputs);
    // Every start: its start and end values, RMS, whether it converged and its
    // iterations; the reported one and the warning about another.
    py::list starts;
    for (const MatchStart& s : r.starts)
        starts.append(py::make_tuple(py::cast(s.start), py::cast(s.fitted), s.rms,
                                     int(s.converged), s.iterations));
    state["starts"] = starts;
    state["best_start"] = r.bestStart;
    state["start_warning"] = MessageText(r.startWarning);
    return state;
}

MatchResult MatchFromState(const StateReader& state) {
    MatchResult r;
    const std::string status = state.Text("status");
    int k = -1;
    for (int i = 0; i < int(std::size(kStatusNames)); ++i)
        if (status == kStatusNames[i]) k = i;
    if (k < 0) state.Damaged("status");
    r.status = static_cast<MatchStatus>(k);
    r.message = state.Text("message");
    for (const py::handle& item : state.List("inputs")) {
        const py::tuple t = state.TupleOf(item, "inputs", 11);
        FittedInput f;
        f.name = state.TextOf(t[0], "inputs");
        const Field* field = FieldOfName(f.name);
        if (field == nullptr || field->kind != FieldKind::Number || f.name != field->recordName)
            state.Damaged("eine angepaßte Größe");
        f.start = state.DoubleOf(t[1], "inputs");
        f.fitted = state.DoubleOf(t[2], "inputs");
        f.stored = static_cast<float>(state.DoubleOf(t[3], "inputs"));
        f.bounds = {state.DoubleOf(t[4], "inputs"), state.DoubleOf(t[5], "inputs")};
        f.atBound = state.IntegerOf(t[6], "inputs", 0, 1) != 0;
        f.hasStatistics = state.IntegerOf(t[7], "inputs", 0, 1) != 0;
        f.stdError = state.DoubleOf(t[8], "inputs");
        f.ci95Low = state.DoubleOf(t[9], "inputs");
        f.ci95High = state.DoubleOf(t[10], "inputs");
        r.inputs.push_back(f);
    }
    const py::list correlation = state.List("correlation");
    if (!correlation.empty() && correlation.size() != r.inputs.size())
        state.Damaged("die Korrelationen");
    for (const py::handle& row : correlation) {
        if (!PyList_CheckExact(row.ptr()) || py::len(row) != r.inputs.size())
            state.Damaged("die Korrelationen");
        std::vector<double> values;
        for (const py::handle& v : row) values.push_back(state.DoubleOf(v, "correlation"));
        r.correlation.push_back(std::move(values));
    }
    r.rmsBefore = state.Double("rms_before");
    r.rmsAfter = state.Double("rms_after");
    r.residualCount = static_cast<int>(state.Integer("residual_count", 0, 1 << 30));
    r.degreesOfFreedom = static_cast<int>(state.Integer("degrees_of_freedom", -(1 << 30), 1 << 30));
    r.iterations = static_cast<int>(state.Integer("iterations", 0, 1 << 30));
    r.predictions = static_cast<int>(state.Integer("predictions", 0, 1 << 30));
    const py::tuple weights = state.TupleOf(state.Get("weights"), "weights", 2);
    r.weights = {state.DoubleOf(weights[0], "weights"), state.DoubleOf(weights[1], "weights")};
    r.rowsBefore = RowsFromState(state.List("rows_before"), state);
    r.rowsAfter = RowsFromState(state.List("rows_after"), state);
    r.fittedInputs = CaseFromState(state.Get("case"));
    if (state.Has("starts")) {
        for (const py::handle& item : state.List("starts")) {
            const py::tuple t = state.TupleOf(item, "starts", 5);
            MatchStart s;
            for (int k = 0; k < 2; ++k) {
                if (!PyList_CheckExact(t[k].ptr()) || py::len(t[k]) != r.inputs.size())
                    state.Damaged("die Starts");
                for (const py::handle& v : t[k])
                    (k == 0 ? s.start : s.fitted).push_back(state.DoubleOf(v, "starts"));
            }
            s.rms = state.DoubleOf(t[2], "starts");
            s.converged = state.IntegerOf(t[3], "starts", 0, 1) != 0;
            s.iterations = static_cast<int>(state.IntegerOf(t[4], "starts", 0, 1 << 30));
            r.starts.push_back(std::move(s));
        }
        r.bestStart = static_cast<int>(
            state.Integer("best_start", 0, std::max<int64_t>(0, int64_t(r.starts.size()) - 1)));
        r.startWarning = state.Text("start_warning");
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
    RefuseNew(cls);
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
            for (const FittedInput& f : r.inputs) out[EnglishName(f.name)] = PyValueOf(f.stored);
            return out;
        },
        "The fitted values by English name, as the fitted case stores them (single precision).");
    cls.def(
        "to_pandas", [](const MatchResult& r) { return FittedTable(r); },
        "to_pandas(self, /)\n--\n\n"
        "One row per fitted input (index: English name): start, fitted, std_error, ci95_low,\n"
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
        "rows(self, /)\n--\n\nEach measured row against the prediction of the fitted case (a pandas DataFrame).");
    cls.def(
        "rows_before", [](const MatchResult& r) { return RowsTable(r.rowsBefore); },
        "rows_before(self, /)\n--\n\nEach measured row against the prediction at the start values.");
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
        "summary(self, /)\n--\n\nThe German summary of the match, as batch mode's --match writes it.");
    cls.def(
        "csv", [](const MatchResult& r) { return MessageText(MatchCsvText(r)); },
        "csv(self, /)\n--\n\nThe fitted values as batch mode's --match-csv writes them.");
    cls.def(
        "__repr__",
        [](const MatchResult& r) {
            std::string text = std::string("<morvek.MatchResult ") + kStatusNames[int(r.status)];
            for (const FittedInput& f : r.inputs)
                text += std::string(" ") + EnglishName(f.name) + "=" + ShortestText(f.stored);
            return text + ">";
        },
        "__repr__(self, /)\n--\n\n");
    cls.def(
        "__reduce__", [](const MatchResult& r) { return ReduceTo("MatchResult", MatchState(r)); },
        "__reduce__(self, /)\n--\n\nPickles through morvek._restore.");
    AddRestorer("MatchResult",
                [](const StateReader& state) { return py::cast(MatchFromState(state)); });

    CaseClass(m).def(
        "match", &MatchCase, py::arg("names"), py::kw_only(), py::arg("weights") = py::none(),
        py::arg("starts") = py::dict(), py::arg("bounds") = py::dict(),
        py::arg("max_iterations") = 100, py::arg("use_api_from_initial_gor") = false,
        "match(self, /, names, *, weights=None, starts={}, bounds={}, max_iterations=100, "
        "use_api_from_initial_gor=False)\n--\n\n"
        "Fits the named inputs (any of ooip_1000m3, gas_cap_ratio, krg_max, kro_max, sgc,\n"
        "swi, bubble_point_pressure_bar, by English, record or short name) to the case's measured rows: the\n"
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
