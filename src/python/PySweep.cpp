// morvek.sweep() and morvek.SweepResult: the uncertainty run of a case (the
// engine's Sweep and Tornado) with every sample as a pandas table, the P90,
// P50 and P10 of each outcome, the tornado's swings, and batch mode's CSV and
// German summary byte for byte.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <limits>

#include "PyCase.h"
#include "PyForecast.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"
#include "input/CaseRefusal.h"
#include "sweep/Sweep.h"
#include "sweep/SweepText.h"
#include "sweep/Tornado.h"

namespace morvek::python {
namespace {

struct PySweepResult {
    std::string fieldName;
    std::vector<Variation> variations;
    SweepOptions options;  // without its check (the module's own, not pickled)
    SweepResult result;
    TornadoResult tornado;
    std::vector<SweepRow> rows;  // every sample run, in sample order
};

// One entry of the vary mapping: NAME -> (low, high) or (low, mode, high).
Variation VariationOf(const py::handle& key, const py::handle& range) {
    if (!py::isinstance<py::str>(key))
        throw TypeMismatch("Die Namen der variierten Eingaben müssen Texte sein.");
    const std::string name = key.cast<std::string>();
    Variation v;
    v.field = FindField(name);
    if (v.field == nullptr || v.field->kind != FieldKind::Number)
        throw InputError(NoNumberInputMessage(name));
    std::vector<double> values;
    if (!py::isinstance<py::str>(range) && py::isinstance<py::sequence>(range))
        for (const py::handle& value : range.cast<py::sequence>()) {
            const double number =
                py::isinstance<py::bool_>(value) ? -1.0 : PyFloat_AsDouble(value.ptr());
            if (py::isinstance<py::bool_>(value) || (number == -1.0 && PyErr_Occurred())) {
                PyErr_Clear();
                throw TypeMismatch(
                    Format("%s: %s", v.field->recordName, NotANumberMessage(*v.field).c_str()));
            }
            values.push_back(number);
        }
    if (values.size() != 2 && values.size() != 3)
        throw InputError(
            Format("%s: zwei Werte (unten, oben) oder drei (unten, wahrscheinlich, oben) erwartet.",
                   v.field->recordName));
    v.distribution = values.size() == 3 ? Distribution::Triangular : Distribution::Uniform;
    v.low = StoredFloat(values.front());
    v.high = StoredFloat(values.back());
    v.mode = values.size() == 3 ? StoredFloat(values[1]) : v.low;
    return v;
}

std::vector<Variation> VariationsOf(const py::dict& vary) {
    std::vector<Variation> out;
    for (const auto& [key, range] : vary) out.push_back(VariationOf(key, range));
    if (out.empty()) throw InputError("Bitte mindestens eine Eingabe angeben, die variiert wird.");
    if (const std::string why = CheckVariations(out); !why.empty()) throw InputError(why);
    return out;
}

SweepOptions OptionsOf(uint64_t samples, const std::string& sampling, uint64_t seed,
                       const py::object& threads, const py::object& abandon, bool useApi) {
    SweepOptions o;
    if (samples < 1 || samples > 1000000000)
        throw InputError("Bitte eine Anzahl von Stichproben von 1 bis 1000000000 angeben.");
    o.plan.samples = samples;
    if (sampling != "lhs" && sampling != "mc")
        throw InputError("sampling ist \"lhs\" (Latin Hypercube) oder \"mc\" (Monte Carlo).");
    o.plan.sampling = sampling == "mc" ? Sampling::MonteCarlo : Sampling::LatinHypercube;
    o.plan.seed = seed;
    o.threads = ThreadLimitOf(threads);
    if (!abandon.is_none()) {
        const double bar = py::float_(abandon).cast<double>();
        if (!(bar >= 1.0 && bar <= 1000.0))
            throw InputError("Bitte einen Aufgabedruck von 1 bis 1000 bar angeben.");
        o.abandonmentPressureBar = StoredFloat(bar);
    }
    o.run.useApiFromInitialGor = useApi;
    return o;
}

PySweepResult SweepCase(const PyCase& c, const py::dict& vary, uint64_t samples,
                        const std::string& sampling, uint64_t seed, const py::object& threads,
                        const py::object& abandon, bool useApi) {
    CheckForRun(c.inputs);
    PySweepResult out;
    out.fieldName = c.inputs.fieldName;
    out.variations = VariationsOf(vary);
    out.options = OptionsOf(samples, sampling, seed, threads, abandon, useApi);
    if (const std::string why = CheckAbandonment(c.inputs, out.options.abandonmentPressureBar);
        !why.empty())
        throw InputError(why);
    SweepOptions options = out.options;
    options.check = RefusalOfCase;
    out.rows.reserve(static_cast<size_t>(std::min<uint64_t>(samples, 1u << 20)));
    bool interrupted = false;
    {
        py::gil_scoped_release released;
        // Ctrl-C stops the run after the chunk at hand.
        const SweepProgress progress = [&interrupted](uint64_t, uint64_t) {
            py::gil_scoped_acquire held;
            interrupted = PyErr_CheckSignals() != 0;
            return !interrupted;
        };
        out.result = Sweep(
            c.inputs, out.variations, options,
            [&out](const SweepRow& row) { out.rows.push_back(row); }, progress);
        if (!interrupted) out.tornado = Tornado(c.inputs, out.variations, options);
    }
    if (interrupted) throw py::error_already_set();
    return out;
}

double OutcomeOrNaN(const SweepRow& row, size_t outcome) {
    return row.Failed() ? std::numeric_limits<double>::quiet_NaN() : row.outcomes[outcome];
}

py::object SamplesTable(const PySweepResult& s) {
    const size_t n = s.rows.size();
    py::dict columns;
    for (size_t v = 0; v < s.variations.size(); ++v) {
        py::array_t<double> values(static_cast<py::ssize_t>(n));
        for (size_t i = 0; i < n; ++i) values.mutable_at(i) = PyValueOf(s.rows[i].values[v]);
        columns[s.variations[v].field->name] = values;
    }
    for (size_t o = 0; o < s.options.OutcomeCount(); ++o) {
        py::array_t<double> values(static_cast<py::ssize_t>(n));
        for (size_t i = 0; i < n; ++i) values.mutable_at(i) = OutcomeOrNaN(s.rows[i], o);
        columns[InfoOf(static_cast<Outcome>(o)).column] = values;
    }
    py::list failure;
    for (const SweepRow& row : s.rows)
        failure.append(row.Failed() ? py::object(MessageText(row.failure))
                                    : py::object(py::none()));
    columns["failure"] = failure;
    py::array_t<uint64_t> sample(static_cast<py::ssize_t>(n));
    for (size_t i = 0; i < n; ++i) sample.mutable_at(i) = s.rows[i].sample;
    return DataFrameOf(
        columns, py::module_::import("pandas").attr("Index")(sample, py::arg("name") = "sample"));
}

py::object StatisticsTable(const PySweepResult& s) {
    py::list name, label, count, mean, stdDev, p90, p50, p10, min, max;
    for (size_t o = 0; o < s.options.OutcomeCount(); ++o) {
        const OutcomeStatistics& st = s.result.statistics[o];
        name.append(InfoOf(static_cast<Outcome>(o)).column);
        label.append(
            MessageText(OutcomeLabel(static_cast<Outcome>(o), s.options.abandonmentPressureBar)));
        count.append(st.count);
        mean.append(st.mean);
        stdDev.append(st.stdDev);
        p90.append(st.p90);
        p50.append(st.p50);
        p10.append(st.p10);
        min.append(st.min);
        max.append(st.max);
    }
    py::dict columns;
    columns["label"] = label;
    columns["count"] = count;
    columns["mean"] = mean;
    columns["std"] = stdDev;
    columns["p90"] = p90;
    columns["p50"] = p50;
    columns["p10"] = p10;
    columns["min"] = min;
    columns["max"] = max;
    return DataFrameOf(
        columns, py::module_::import("pandas").attr("Index")(name, py::arg("name") = "outcome"));
}

py::object TornadoTable(const PySweepResult& s) {
    py::list name, low, high, rfLow, rfHigh, swing, lowFailure, highFailure;
    auto failureOf = [](const std::string& why) {
        return why.empty() ? py::object(py::none()) : py::object(MessageText(why));
    };
    for (const TornadoBar& bar : s.tornado.bars) {
        name.append(bar.variation.field->recordName);
        low.append(PyValueOf(bar.variation.low));
        high.append(PyValueOf(bar.variation.high));
        rfLow.append(bar.rfLow);
        rfHigh.append(bar.rfHigh);
        swing.append(bar.Swing(s.tornado.baseRf));
        lowFailure.append(failureOf(bar.lowFailure));
        highFailure.append(failureOf(bar.highFailure));
    }
    py::dict columns;
    columns["low"] = low;
    columns["high"] = high;
    columns["rf_low_pct"] = rfLow;
    columns["rf_high_pct"] = rfHigh;
    columns["swing_pct"] = swing;
    columns["low_failure"] = lowFailure;
    columns["high_failure"] = highFailure;
    return DataFrameOf(columns,
                       py::module_::import("pandas").attr("Index")(name, py::arg("name") = "name"));
}

std::string CsvText(const PySweepResult& s) {
    const bool abandonment = s.options.HasAbandonment();
    std::string text = SweepCsvHeader(s.variations, abandonment);
    for (const SweepRow& row : s.rows) text += SweepCsvLine(row, abandonment);
    return text;
}

std::string SummaryText(const PySweepResult& s) {
    return SweepSummaryText({s.fieldName, s.variations, s.options, s.result, &s.tornado});
}

// --- Pickling: the run's data, nothing recomputed ----------------------------

py::tuple VariationState(const Variation& v) {
    return py::make_tuple(std::string(v.field->recordName), int(v.distribution), v.low, v.mode,
                          v.high);
}

Variation VariationFromState(const py::handle& item) {
    const auto t = item.cast<py::tuple>();
    Variation v;
    v.field = FindField(t[0].cast<std::string>());
    v.distribution = static_cast<Distribution>(t[1].cast<int>());
    v.low = t[2].cast<float>();
    v.mode = t[3].cast<float>();
    v.high = t[4].cast<float>();
    if (!CheckVariation(v).empty()) throw InputError("Der gespeicherte Lauf ist beschädigt.");
    return v;
}

py::dict SweepState(const PySweepResult& s) {
    const SweepResult& r = s.result;
    py::dict state;
    state["field_name"] = s.fieldName;
    py::list variations;
    for (const Variation& v : s.variations) variations.append(VariationState(v));
    state["variations"] = variations;
    state["plan"] = py::make_tuple(
        int(s.options.plan.sampling), s.options.plan.seed, s.options.plan.samples,
        s.options.threads, s.options.abandonmentPressureBar, s.options.run.useApiFromInitialGor);
    state["counts"] = py::make_tuple(r.samples, r.completed, r.cancelled, r.failedCount);
    py::list failed;
    for (const FailedSample& f : r.failed) failed.append(py::make_tuple(f.sample, f.reason));
    state["failed"] = failed;
    py::list statistics;
    for (const OutcomeStatistics& st : r.statistics)
        statistics.append(
            py::make_tuple(st.count, st.mean, st.stdDev, st.p90, st.p50, st.p10, st.min, st.max));
    state["statistics"] = statistics;
    py::list curve;
    for (const CurvePoint& p : r.rfCurve)
        curve.append(py::make_tuple(p.value, p.cumulativePercent));
    state["rf_curve"] = curve;
    py::list bars;
    for (const TornadoBar& b : s.tornado.bars)
        bars.append(py::make_tuple(VariationState(b.variation), b.rfLow, b.rfHigh, b.lowFailure,
                                   b.highFailure));
    state["tornado"] = py::make_tuple(s.tornado.baseRf, s.tornado.baseFailure, bars);
    py::list rows;
    for (const SweepRow& row : s.rows)
        rows.append(py::make_tuple(row.sample, row.values, row.failure,
                                   std::vector<double>(row.outcomes.begin(), row.outcomes.end())));
    state["rows"] = rows;
    return state;
}

PySweepResult SweepFromState(const py::dict& state) {
    PySweepResult s;
    s.fieldName = state["field_name"].cast<std::string>();
    for (const py::handle& item : state["variations"].cast<py::list>())
        s.variations.push_back(VariationFromState(item));
    const auto plan = state["plan"].cast<py::tuple>();
    s.options.plan.sampling = static_cast<Sampling>(plan[0].cast<int>());
    s.options.plan.seed = plan[1].cast<uint64_t>();
    s.options.plan.samples = plan[2].cast<uint64_t>();
    s.options.threads = plan[3].cast<int>();
    s.options.abandonmentPressureBar = plan[4].cast<float>();
    s.options.run.useApiFromInitialGor = plan[5].cast<bool>();
    SweepResult& r = s.result;
    const auto counts = state["counts"].cast<py::tuple>();
    r.samples = counts[0].cast<uint64_t>();
    r.completed = counts[1].cast<uint64_t>();
    r.cancelled = counts[2].cast<bool>();
    r.failedCount = counts[3].cast<uint64_t>();
    for (const py::handle& item : state["failed"].cast<py::list>()) {
        const auto t = item.cast<py::tuple>();
        r.failed.push_back({t[0].cast<uint64_t>(), t[1].cast<std::string>()});
    }
    const auto statistics = state["statistics"].cast<py::list>();
    for (size_t o = 0; o < kOutcomeCount && o < statistics.size(); ++o) {
        const auto t = statistics[o].cast<py::tuple>();
        r.statistics[o] = {t[0].cast<uint64_t>(), t[1].cast<double>(), t[2].cast<double>(),
                           t[3].cast<double>(),   t[4].cast<double>(), t[5].cast<double>(),
                           t[6].cast<double>(),   t[7].cast<double>()};
    }
    for (const py::handle& item : state["rf_curve"].cast<py::list>()) {
        const auto t = item.cast<py::tuple>();
        r.rfCurve.push_back({t[0].cast<double>(), t[1].cast<double>()});
    }
    const auto tornado = state["tornado"].cast<py::tuple>();
    s.tornado.baseRf = tornado[0].cast<double>();
    s.tornado.baseFailure = tornado[1].cast<std::string>();
    for (const py::handle& item : tornado[2].cast<py::list>()) {
        const auto t = item.cast<py::tuple>();
        TornadoBar b;
        b.variation = VariationFromState(t[0]);
        b.rfLow = t[1].cast<double>();
        b.rfHigh = t[2].cast<double>();
        b.lowFailure = t[3].cast<std::string>();
        b.highFailure = t[4].cast<std::string>();
        s.tornado.bars.push_back(b);
    }
    for (const py::handle& item : state["rows"].cast<py::list>()) {
        const auto t = item.cast<py::tuple>();
        SweepRow row;
        row.sample = t[0].cast<uint64_t>();
        row.values = t[1].cast<std::vector<float>>();
        row.failure = t[2].cast<std::string>();
        const auto outcomes = t[3].cast<std::vector<double>>();
        if (row.values.size() != s.variations.size() || outcomes.size() != kOutcomeCount)
            throw InputError("Der gespeicherte Lauf ist beschädigt.");
        std::copy(outcomes.begin(), outcomes.end(), row.outcomes.begin());
        s.rows.push_back(std::move(row));
    }
    return s;
}

}  // namespace

void RegisterSweep(py::module_& m) {
    auto cls = py::class_<PySweepResult>(
        m, "SweepResult",
        "An uncertainty run of a case (morvek.sweep): every sample with its varied inputs\n"
        "and outcomes, mean, standard deviation, P90, P50 and P10 of each outcome, and the\n"
        "tornado of the recovery factor (each input alone at its low and its high value).");
    cls.def("to_pandas", &SamplesTable,
            "One row per sample (index: the sample's number): the varied inputs by their English\n"
            "names, the outcomes (np_end_1000m3, rf_end_pct, gp_end_mio_sm3, p_end_bar,\n"
            "gor_max_sm3_sm3 and, with an abandonment pressure, np_abandon_1000m3 and\n"
            "rf_abandon_pct; NaN for a failed sample) and `failure`, the German reason a\n"
            "sample has no outcomes (None when it has).");
    cls.def("statistics", &StatisticsTable,
            "One row per outcome (index: its column name): the German label, the number of\n"
            "samples with outcomes, mean, std (n - 1), p90, p50, p10, min and max. P90 is the\n"
            "low estimate: the value at least 90 % of the samples reach or exceed.");
    cls.def("tornado", &TornadoTable,
            "One row per varied input (index: record name), the largest swing first: its low\n"
            "and high value, the recovery factor (percent) with the input alone at each, the\n"
            "swing, and why a run had no result (None when it had).");
    cls.def_property_readonly(
        "base_recovery_factor_percent", [](const PySweepResult& s) { return s.tornado.baseRf; },
        "The recovery factor of the base case at the end of its prediction, percent.");
    cls.def_property_readonly(
        "samples", [](const PySweepResult& s) { return s.result.samples; },
        "The samples asked for.");
    cls.def_property_readonly(
        "failed_count", [](const PySweepResult& s) { return s.result.failedCount; },
        "Samples without outcomes (refused by the dialog's checks, or no result).");
    cls.def_property_readonly(
        "rf_curve",
        [](const PySweepResult& s) {
            const py::ssize_t n = static_cast<py::ssize_t>(s.result.rfCurve.size());
            py::array_t<double> out({n, py::ssize_t(2)});
            for (py::ssize_t i = 0; i < n; ++i) {
                out.mutable_at(i, 0) = s.result.rfCurve[size_t(i)].value;
                out.mutable_at(i, 1) = s.result.rfCurve[size_t(i)].cumulativePercent;
            }
            return out;
        },
        "The S-curve of the recovery factor: rows (value in percent, share of samples at or\n"
        "below it in percent), ascending, at most 501 of them.");
    cls.def(
        "summary", [](const PySweepResult& s) { return MessageText(SummaryText(s)); },
        "The German summary, as batch mode's --sweep-summary writes it.");
    cls.def(
        "csv", [](const PySweepResult& s) { return MessageText(CsvText(s)); },
        "The samples as batch mode's --sweep-csv writes them.");
    cls.def("__len__", [](const PySweepResult& s) { return s.rows.size(); });
    cls.def("__repr__", [](const PySweepResult& s) {
        const OutcomeStatistics& rf = s.result.Of(Outcome::RfEnd);
        return Format(
            "<morvek.SweepResult %s: %llu samples, %llu failed, RF P90/P50/P10 = "
            "%.2f/%.2f/%.2f %%>",
            py::repr(MessageText(s.fieldName)).cast<std::string>().c_str(),
            static_cast<unsigned long long>(s.result.completed),
            static_cast<unsigned long long>(s.result.failedCount), rf.p90, rf.p50, rf.p10);
    });
    cls.def(py::pickle([](const PySweepResult& s) { return SweepState(s); },
                       [](const py::dict& state) { return SweepFromState(state); }));

    m.def(
        "sweep",
        [](const PyCase& c, const py::dict& vary, uint64_t samples, const std::string& sampling,
           uint64_t seed, const py::object& threads, const py::object& abandon, bool useApi,
           bool forecast, const py::object& npBy) -> py::object {
            if (!forecast) {
                if (!npBy.is_none())
                    throw InputError("np_by gilt für die Prognose über die Zeit (forecast=True).");
                return py::cast(SweepCase(c, vary, samples, sampling, seed, threads, abandon, useApi));
            }
            if (!abandon.is_none())
                throw InputError("abandon_bar gilt nicht für die Prognose über die Zeit; dort "
                                 "enden die Stichproben an ihrem Aufgabedruck "
                                 "(abandonment_pressure_bar).");
            const CaseInputs base = c.inputs;
            return ForecastSweepOf(base, VariationsOf(vary),
                                   OptionsOf(samples, sampling, seed, threads, abandon, useApi),
                                   npBy);
        },
        py::arg("case"), py::arg("vary"), py::kw_only(), py::arg("samples") = 1000,
        py::arg("sampling") = "lhs", py::arg("seed") = 1, py::arg("threads") = py::none(),
        py::arg("abandon_bar") = py::none(), py::arg("use_api_from_initial_gor") = false,
        py::arg("forecast") = false, py::arg("np_by") = py::none(),
          "The uncertainty run of a case, as batch mode's --vary runs it: `vary` maps input\n"
          "names (record or English: 'm_OOIP', 'sgc', 'm_Gas[3]') to (low, high) for a uniform\n"
          "or (low, mode, high) for a triangular distribution. Each of `samples` samples\n"
          "draws the varied inputs (sampling 'lhs': Latin hypercube, 'mc': Monte Carlo, from\n"
          "`seed`), is checked as the data-entry dialog checks a case and predicted; a refused\n"
          "sample or one without a result is counted as failed with its reason. The samples\n"
          "run on at most `threads` threads (None: every core) with the interpreter lock\n"
          "released, and give the same numbers on any number of threads. `abandon_bar` adds\n"
          "cumulative oil and recovery factor at that pressure. Ctrl-C stops the run\n"
          "(KeyboardInterrupt). A refused case or range raises InputError.\n"
          "forecast=True takes the forecast against time as each sample's run and returns a\n"
          "ForecastSweepResult (its outcomes, np_by: cumulative oil by the end of those years,\n"
          "and the fan of oil rate and cumulative oil).");
}

}  // namespace morvek::python
