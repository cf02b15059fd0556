// morvek.evaluate(): one prediction per row of a table of samples (any design
// of experiments, any distribution), the row's columns as the case's inputs,
// returning the outcomes of the sweep's CSV; and the outcome tables that
// predict_many(outcomes_only=True) shares.

#include <pybind11/numpy.h>

#include <cmath>
#include <limits>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"
#include "depletion/PredictMany.h"
#include "input/CaseRefusal.h"
#include "input/ExchangeTable.h"
#include "sweep/Sweep.h"
#include "sweep/Variation.h"

namespace morvek::python {
namespace {

// A column of the samples: the input it sets and its values.
struct SampleColumn {
    const Field* field;
    py::array_t<double> values;
};

std::vector<SampleColumn> SampleColumns(const py::object& samples) {
    if (!py::hasattr(samples, "columns") || !py::hasattr(samples, "to_numpy") ||
        !py::hasattr(samples, "index"))
        throw TypeMismatch("samples: ein pandas DataFrame erwartet (eine Spalte je Eingabe).");
    std::vector<SampleColumn> columns;
    for (const py::handle name : samples.attr("columns")) {
        if (!py::isinstance<py::str>(name))
            throw TypeMismatch(Format("samples: die Spaltennamen müssen Texte sein, nicht %s.",
                                      py::repr(name).cast<std::string>().c_str()));
        const std::string text = name.cast<std::string>();
        const Field* f = FieldOfName(text);
        if (f == nullptr || f->kind == FieldKind::Text)
            throw InputError(NoNumberInputMessage(text));
        for (const SampleColumn& c : columns)
            if (c.field == f)
                throw InputError(Format("samples: die Eingabe %s steht in zwei Spalten.",
                                        f->name));
        py::object values;
        try {
            values = samples.attr("__getitem__")(name).attr("to_numpy")(py::arg("dtype") =
                                                                            "float64");
        } catch (py::error_already_set&) {
            throw TypeMismatch(Format("samples[\"%s\"]: die Spalte muß Zahlen enthalten.",
                                      text.c_str()));
        }
        columns.push_back(
            {f, py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(values)});
        if (!columns.back().values)
            throw TypeMismatch(Format("samples[\"%s\"]: die Spalte muß Zahlen enthalten.",
                                      text.c_str()));
    }
    if (columns.empty()) throw InputError("samples: Bitte mindestens eine Eingabe als Spalte angeben.");
    return columns;
}

// One row of the samples into the inputs, checked as the dialog checks what it
// reads: the message of the first value it refuses, or "".
std::string SetRow(CaseInputs& in, const std::vector<const Field*>& fields,
                   const std::vector<const double*>& values, size_t row) {
    for (size_t c = 0; c < fields.size(); ++c) {
        const Field& f = *fields[c];
        const double v = values[c][row];
        if (f.kind == FieldKind::Choice) {
            if (!(v >= 0 && v < f.choiceCount && v == std::floor(v)))
                return ::FindField(std::string(f.recordName)) != nullptr
                           ? CorrelationChoiceMessage(*::FindField(std::string(f.recordName)))
                           : ChoiceMessage(f);
            in.*f.choice = static_cast<int32_t>(v);
            continue;
        }
        const float stored = StoredFloat(v);
        if (const std::string problem = CheckNumber(f, stored); !problem.empty()) return problem;
        f.Number(in) = stored;
    }
    return "";
}

py::object Evaluate(const py::object& caseArg, const py::object& samples,
                    const py::object& outcomes, const py::object& threads,
                    const py::object& abandon, bool useApi) {
    // Copies, made while the interpreter lock is held.
    const CaseInputs base = InputsOfArg(caseArg, "case");
    const std::vector<SampleColumn> columns = SampleColumns(samples);
    const int threadLimit = ThreadLimitOf(threads);
    SweepOptions options;
    options.abandonmentPressureBar = AbandonmentOf(abandon);
    options.run.useApiFromInitialGor = useApi;
    options.check = RefusalOfCase;
    if (const std::string why = CheckAbandonment(base, options.abandonmentPressureBar);
        !why.empty())
        throw InputError(why);
    const std::vector<Outcome> selected = SelectedOutcomes(outcomes, options.HasAbandonment());
    const size_t rows = static_cast<size_t>(py::len(samples.attr("index")));
    std::vector<const Field*> fields;
    std::vector<const double*> values;
    for (const SampleColumn& c : columns) {
        fields.push_back(c.field);
        values.push_back(c.values.data());
    }
    OutcomeTable table(rows);
    RunInterruptibly([&](const std::atomic<bool>& stop) {
        ParallelFor(rows, threadLimit, [&](size_t i) {
            if (stop) return;
            CaseInputs in = base;
            table.failures[i] = SetRow(in, fields, values, i);
            if (table.failures[i].empty()) RunSample(in, options, table.values[i], table.failures[i]);
        });
    });
    return OutcomeFrame(table, selected, samples.attr("index"));
}

}  // namespace

std::vector<Outcome> SelectedOutcomes(const py::object& outcomes, bool abandonment) {
    const size_t available = abandonment ? kOutcomeCount : kOutcomesWithoutAbandonment;
    std::vector<Outcome> out;
    if (outcomes.is_none()) {
        for (size_t o = 0; o < available; ++o) out.push_back(static_cast<Outcome>(o));
        return out;
    }
    if (py::isinstance<py::str>(outcomes) || !py::isinstance<py::iterable>(outcomes))
        throw TypeMismatch("outcomes: eine Liste von Namen der Ergebnisse erwartet.");
    for (const py::handle name : outcomes) {
        const std::string text = TextArg(name, "outcomes");
        bool found = false;
        for (size_t o = 0; o < available && !found; ++o)
            if (text == InfoOf(static_cast<Outcome>(o)).column) {
                out.push_back(static_cast<Outcome>(o));
                found = true;
            }
        if (!found) {
            std::string names;
            for (size_t o = 0; o < available; ++o)
                names += std::string(names.empty() ? "" : ", ") + InfoOf(static_cast<Outcome>(o)).column;
            throw InputError(Format("Unbekanntes Ergebnis \"%s\".\nMögliche Ergebnisse: %s",
                                    text.c_str(), names.c_str()));
        }
    }
    return out;
}

py::object OutcomeFrame(const OutcomeTable& table, const std::vector<Outcome>& selected,
                        const py::object& index) {
    const size_t n = table.values.size();
    py::dict columns;
    for (const Outcome o : selected) {
        py::array_t<double> values(static_cast<py::ssize_t>(n));
        double* d = values.mutable_data();
        for (size_t i = 0; i < n; ++i)
            d[i] = table.failures[i].empty() ? table.values[i][static_cast<size_t>(o)]
                                             : std::numeric_limits<double>::quiet_NaN();
        columns[InfoOf(o).column] = values;
    }
    py::list failure;
    for (const std::string& why : table.failures)
        failure.append(why.empty() ? py::object(py::none()) : py::object(MessageText(why)));
    columns["failure"] = failure;
    return DataFrameOf(columns, index);
}

float AbandonmentOf(const py::object& abandon) {
    if (abandon.is_none()) return 0.0f;
    const double bar = NumberArg(abandon, "abandon_bar");
    if (!(bar >= 1.0 && bar <= 1000.0))
        throw InputError("Bitte einen Aufgabedruck von 1 bis 1000 bar angeben.");
    return StoredFloat(bar);
}

void RegisterEvaluate(py::module_& m) {
    m.def(
        "evaluate",
        [](const py::object& c, const py::object& samples, const py::object& outcomes,
           const py::object& threads, const py::object& abandon, const py::object& useApi) {
            return Evaluate(c, samples, outcomes, threads, abandon,
                            BoolArg(useApi, "use_api_from_initial_gor"));
        },
        py::arg("case"), py::arg("samples"), py::arg("outcomes") = py::none(),
        py::arg("threads") = py::none(), py::kw_only(), py::arg("abandon_bar") = py::none(),
        py::arg("use_api_from_initial_gor") = false,
        "evaluate(case, samples, outcomes=None, threads=None, *, abandon_bar=None, "
        "use_api_from_initial_gor=False)\n--\n\n"
        "One prediction per row of ``samples`` (a pandas DataFrame: one column per input,\n"
        "named by its English, record or short name; any design of experiments, any\n"
        "distribution): the case with the row's values, checked as the data-entry dialog\n"
        "checks them and predicted, on at most ``threads`` threads with the interpreter lock\n"
        "released. Returns a DataFrame with the index of ``samples`` and the outcome columns\n"
        "of the sweep's CSV (``outcomes``: a list of them, None for all: np_end_1000m3,\n"
        "rf_end_pct, gp_end_mio_sm3, p_end_bar, gor_max_sm3_sm3, and with ``abandon_bar``\n"
        "np_abandon_1000m3, rf_abandon_pct), and ``failure``: the German reason a row has\n"
        "no outcomes (a refused value, a refused case, no result), None when it has. A row\n"
        "gives exactly what morvek.sweep gives for a sample of the same values. Made for\n"
        "``dask.dataframe.map_partitions(morvek.evaluate ...)``. Ctrl-C stops it\n"
        "(KeyboardInterrupt).");
}

}  // namespace morvek::python
