// morvek.sweep() and morvek.SweepResult: the uncertainty run of a case (the
// engine's Sweep and Tornado) with every sample as a pandas table, the P90,
// P50 and P10 of each outcome, the tornado's swings, and batch mode's CSV and
// German summary byte for byte.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstring>
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
    const std::string name = TextArg(key, "vary");
    Variation v;
    v.field = FieldOfName(name);
    if (v.field == nullptr || v.field->kind != FieldKind::Number)
        throw InputError(NoNumberInputMessage(name));
    const std::string parameter = Format("vary[\"%s\"]", name.c_str());
    std::vector<double> values;
    if (py::isinstance<py::str>(range) || py::isinstance<py::bytes>(range) ||
        !py::isinstance<py::sequence>(range))
        throw TypeMismatch(Format("%s: zwei Zahlen (unten, oben) oder drei (unten, "
                                  "wahrscheinlich, oben) erwartet.",
                                  parameter.c_str()));
    const py::sequence seq = py::reinterpret_borrow<py::sequence>(range);
    for (size_t i = 0; i < seq.size(); ++i)
        values.push_back(NumberArg(seq[i], Format("%s[%zu]", parameter.c_str(), i)));
    if (values.size() != 2 && values.size() != 3)
        throw InputError(
            Format("%s: zwei Werte (unten, oben) oder drei (unten, wahrscheinlich, oben) erwartet.",
                   v.field->recordName),
            v.field);
    v.distribution = values.size() == 3 ? Distribution::Triangular : Distribution::Uniform;
    v.low = StoredFloat(values.front());
    v.high = StoredFloat(values.back());
    v.mode = values.size() == 3 ? StoredFloat(values[1]) : v.low;
    return v;
}

std::vector<Variation> VariationsOf(const py::object& vary) {
    if (!py::isinstance<py::dict>(vary) && !py::hasattr(vary, "items"))
        throw TypeMismatch("vary: eine Zuordnung (dict) von Namen zu Bereichen erwartet.");
    std::vector<Variation> out;
    for (const py::handle item : vary.attr("items")()) {
        const py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
        out.push_back(VariationOf(pair[0], pair[1]));
    }
    if (out.empty()) throw InputError("Bitte mindestens eine Eingabe angeben, die variiert wird.");
    if (const std::string why = CheckVariations(out); !why.empty()) throw InputError(why);
    return out;
}

SweepOptions OptionsOf(const py::object& samplesArg, const py::object& samplingArg,
                       const py::object& seedArg, const py::object& threads,
                       const py::object& abandon, bool useApi, const py::object& firstArg,
                       const py::object& countArg) {
    SweepOptions o;
    const int64_t samples = IntegerArg(samplesArg, "samples");
    if (samples < 1 || samples > 1000000000)
        throw InputError("Bitte eine Anzahl von Stichproben von 1 bis 1000000000 angeben.");
    o.plan.samples = static_cast<uint64_t>(samples);
    const std::string sampling = TextArg(samplingArg, "sampling");
    if (sampling != "lhs" && sampling != "mc")
        throw InputError("sampling ist \"lhs\" (Latin Hypercube) oder \"mc\" (Monte Carlo).");
    o.plan.sampling = sampling == "mc" ? Sampling::MonteCarlo : Sampling::LatinHypercube;
    const int64_t seed = IntegerArg(seedArg, "seed");
    if (seed < 0) throw InputError("seed: Bitte eine ganze Zahl ab 0 angeben.");
    o.plan.seed = static_cast<uint64_t>(seed);
    o.threads = ThreadLimitOf(threads);
    o.abandonmentPressureBar = AbandonmentOf(abandon);
    o.run.useApiFromInitialGor = useApi;
    const int64_t first = IntegerArg(firstArg, "first_sample");
    if (first < 1 || first > samples)
        throw InputError(Format("first_sample: Bitte eine Stichprobe von 1 bis %lld angeben.",
                                static_cast<long long>(samples)));
    o.firstSample = static_cast<uint64_t>(first);
    const int64_t rest = samples - first + 1;
    const int64_t count = countArg.is_none() ? rest : IntegerArg(countArg, "count");
    if (count < 1 || count > rest)
        throw InputError(Format("count: Bitte eine Anzahl von 1 bis %lld angeben (die "
                                "Stichproben %lld bis %lld).",
                                static_cast<long long>(rest), static_cast<long long>(first),
                                static_cast<long long>(samples)));
    o.count = static_cast<uint64_t>(count);
    return o;
}

PySweepResult SweepCase(const py::object& caseArg, const py::object& vary,
                        const SweepOptions& given) {
    // Copies, made while the interpreter lock is held: another thread may
    // change the case during the run.
    const CaseInputs base = InputsOfArg(caseArg, "case");
    CheckForRun(base);
    PySweepResult out;
    out.fieldName = base.fieldName;
    out.variations = VariationsOf(vary);
    out.options = given;
    if (const std::string why = CheckAbandonment(base, out.options.abandonmentPressureBar);
        !why.empty())
        throw InputError(why);
    SweepOptions options = out.options;
    options.check = RefusalOfCase;
    out.rows.reserve(static_cast<size_t>(std::min<uint64_t>(options.count, 1u << 20)));
    RunInterruptibly([&](const std::atomic<bool>& stop) {
        // Ctrl-C stops the run after the chunk at hand.
        out.result = Sweep(
            base, out.variations, options, [&out](const SweepRow& row) { out.rows.push_back(row); },
            [&stop](uint64_t, uint64_t) { return !stop; });
        if (!stop) out.tornado = Tornado(base, out.variations, options);
    });
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
    py::array_t<int64_t> sample(static_cast<py::ssize_t>(n));
    for (size_t i = 0; i < n; ++i) sample.mutable_at(i) = static_cast<int64_t>(s.rows[i].sample);
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
        name.append(bar.variation.field->name);
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

// --- Pickling: the run's data, nothing recomputed; the rows by the columns of
// the samples table ------------------------------------------------------------

constexpr const char* kDistributions[] = {"uniform", "triangular"};
constexpr const char* kSamplings[] = {"lhs", "mc"};

template <typename T>
py::bytes Packed(const std::vector<T>& values) {
    return py::bytes(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

template <typename T>
std::vector<T> Unpacked(const std::string& bytes, size_t count, const StateReader& state,
                        const char* what) {
    if (bytes.size() != count * sizeof(T)) state.Damaged(what);
    std::vector<T> out(count);
    if (count > 0) std::memcpy(out.data(), bytes.data(), bytes.size());
    return out;
}

py::tuple VariationState(const Variation& v) {
    return py::make_tuple(v.field->name, kDistributions[int(v.distribution)], double(v.low),
                          double(v.mode), double(v.high));
}

Variation VariationFromState(const py::handle& item, const StateReader& state) {
    const py::tuple t = state.TupleOf(item, "variations", 5);
    Variation v;
    v.field = FieldOfName(state.TextOf(t[0], "variations"));
    const std::string distribution = state.TextOf(t[1], "variations");
    if (v.field == nullptr || v.field->kind != FieldKind::Number ||
        (distribution != kDistributions[0] && distribution != kDistributions[1]))
        state.Damaged("eine variierte Eingabe");
    v.distribution =
        distribution == kDistributions[0] ? Distribution::Uniform : Distribution::Triangular;
    v.low = static_cast<float>(state.DoubleOf(t[2], "variations"));
    v.mode = static_cast<float>(state.DoubleOf(t[3], "variations"));
    v.high = static_cast<float>(state.DoubleOf(t[4], "variations"));
    if (!CheckVariation(v).empty()) state.Damaged("eine variierte Eingabe");
    return v;
}

py::dict SweepState(const PySweepResult& s) {
    const SweepResult& r = s.result;
    py::dict state;
    state["field_name"] = MessageText(s.fieldName);
    py::list variations;
    for (const Variation& v : s.variations) variations.append(VariationState(v));
    state["variations"] = variations;
    const SweepOptions& o = s.options;
    state["sampling"] = kSamplings[int(o.plan.sampling)];
    state["seed"] = o.plan.seed;
    state["samples"] = o.plan.samples;
    state["first_sample"] = o.firstSample;
    state["count"] = o.count;
    state["threads"] = o.threads;
    state["abandon_bar"] = double(o.abandonmentPressureBar);
    state["use_api_from_initial_gor"] = o.run.useApiFromInitialGor;
    state["completed"] = r.completed;
    state["cancelled"] = r.cancelled;
    state["failed_count"] = r.failedCount;
    py::list failed;
    for (const FailedSample& f : r.failed) failed.append(py::make_tuple(f.sample, MessageText(f.reason)));
    state["failed"] = failed;
    py::dict statistics;
    for (size_t o = 0; o < kOutcomeCount; ++o) {
        const OutcomeStatistics& st = r.statistics[o];
        statistics[InfoOf(static_cast<Outcome>(o)).column] =
            py::make_tuple(st.count, st.mean, st.stdDev, st.p90, st.p50, st.p10, st.min, st.max);
    }
    state["statistics"] = statistics;
    py::list curve;
    for (const CurvePoint& p : r.rfCurve) curve.append(py::make_tuple(p.value, p.cumulativePercent));
    state["rf_curve"] = curve;
    py::list bars;
    for (const TornadoBar& b : s.tornado.bars)
        bars.append(py::make_tuple(VariationState(b.variation), b.rfLow, b.rfHigh,
                                   MessageText(b.lowFailure), MessageText(b.highFailure)));
    state["base_rf"] = s.tornado.baseRf;
    state["base_failure"] = MessageText(s.tornado.baseFailure);
    state["tornado"] = bars;
    // The rows as the columns of to_pandas(): sample, each varied input, each
    // outcome, failure.
    std::vector<uint64_t> sample;
    for (const SweepRow& row : s.rows) sample.push_back(row.sample);
    state["sample"] = Packed(sample);
    py::dict values;
    for (size_t v = 0; v < s.variations.size(); ++v) {
        std::vector<float> column;
        for (const SweepRow& row : s.rows) column.push_back(row.values[v]);
        values[s.variations[v].field->name] = Packed(column);
    }
    state["values"] = values;
    py::dict outcomes;
    for (size_t o = 0; o < kOutcomeCount; ++o) {
        std::vector<double> column;
        for (const SweepRow& row : s.rows) column.push_back(row.outcomes[o]);
        outcomes[InfoOf(static_cast<Outcome>(o)).column] = Packed(column);
    }
    state["outcomes"] = outcomes;
    py::list failure;
    for (const SweepRow& row : s.rows) failure.append(MessageText(row.failure));
    state["failure"] = failure;
    return state;
}

PySweepResult SweepFromState(const StateReader& state) {
    PySweepResult s;
    s.fieldName = state.Text("field_name");
    for (const py::handle item : state.List("variations"))
        s.variations.push_back(VariationFromState(item, state));
    if (s.variations.empty() || !CheckVariations(s.variations).empty())
        state.Damaged("die variierten Eingaben");
    SweepOptions& o = s.options;
    const std::string sampling = state.Text("sampling");
    if (sampling != kSamplings[0] && sampling != kSamplings[1]) state.Damaged("sampling");
    o.plan.sampling = sampling == kSamplings[0] ? Sampling::LatinHypercube : Sampling::MonteCarlo;
    o.plan.seed = static_cast<uint64_t>(state.Integer("seed", 0, std::numeric_limits<int64_t>::max()));
    o.plan.samples = static_cast<uint64_t>(state.Integer("samples", 1, 1000000000));
    o.firstSample = static_cast<uint64_t>(state.Integer("first_sample", 1, int64_t(o.plan.samples)));
    o.count = static_cast<uint64_t>(
        state.Integer("count", 1, int64_t(o.plan.samples - o.firstSample + 1)));
    o.threads = static_cast<int>(state.Integer("threads", 0, kMaxThreads));
    o.abandonmentPressureBar = state.Float("abandon_bar");
    if (!(o.abandonmentPressureBar == 0.0f ||
          (o.abandonmentPressureBar >= 1.0f && o.abandonmentPressureBar <= 1000.0f)))
        state.Damaged("abandon_bar");
    o.run.useApiFromInitialGor = state.Bool("use_api_from_initial_gor");
    SweepResult& r = s.result;
    r.samples = o.plan.samples;
    r.completed = static_cast<uint64_t>(state.Integer("completed", 0, int64_t(o.count)));
    r.cancelled = state.Bool("cancelled");
    r.failedCount = static_cast<uint64_t>(state.Integer("failed_count", 0, int64_t(r.completed)));
    for (const py::handle item : state.List("failed")) {
        const py::tuple t = state.TupleOf(item, "failed", 2);
        r.failed.push_back({static_cast<uint64_t>(state.IntegerOf(t[0], "failed", 1,
                                                                  int64_t(o.plan.samples))),
                            state.TextOf(t[1], "failed")});
    }
    const StateReader statistics(state.Dict("statistics"), "SweepResult");
    for (size_t k = 0; k < kOutcomeCount; ++k) {
        const char* column = InfoOf(static_cast<Outcome>(k)).column;
        const py::tuple t = statistics.TupleOf(statistics.Get(column), column, 8);
        OutcomeStatistics& st = r.statistics[k];
        st.count = static_cast<uint64_t>(statistics.IntegerOf(t[0], column, 0, int64_t(r.completed)));
        double* numbers[] = {&st.mean, &st.stdDev, &st.p90, &st.p50, &st.p10, &st.min, &st.max};
        for (size_t i = 0; i < 7; ++i) *numbers[i] = statistics.DoubleOf(t[i + 1], column);
    }
    for (const py::handle item : state.List("rf_curve")) {
        const py::tuple t = state.TupleOf(item, "rf_curve", 2);
        r.rfCurve.push_back({state.DoubleOf(t[0], "rf_curve"), state.DoubleOf(t[1], "rf_curve")});
    }
    s.tornado.baseRf = state.Double("base_rf");
    s.tornado.baseFailure = state.Text("base_failure");
    // The tornado's recovery factors are taken where the sweep's are.
    s.tornado.abandonmentPressureBar =
        s.options.HasAbandonment() ? s.options.abandonmentPressureBar : 0.0f;
    for (const py::handle item : state.List("tornado")) {
        const py::tuple t = state.TupleOf(item, "tornado", 5);
        TornadoBar b;
        b.variation = VariationFromState(t[0], state);
        b.rfLow = state.DoubleOf(t[1], "tornado");
        b.rfHigh = state.DoubleOf(t[2], "tornado");
        b.lowFailure = state.TextOf(t[3], "tornado");
        b.highFailure = state.TextOf(t[4], "tornado");
        s.tornado.bars.push_back(b);
    }
    const py::list failure = state.List("failure");
    const size_t n = failure.size();
    if (n > r.completed) state.Damaged("mehr Zeilen als Stichproben");
    const std::vector<uint64_t> sample =
        Unpacked<uint64_t>(state.Bytes("sample"), n, state, "die Spalte sample");
    const StateReader values(state.Dict("values"), "SweepResult");
    const StateReader outcomes(state.Dict("outcomes"), "SweepResult");
    s.rows.resize(n);
    for (size_t i = 0; i < n; ++i) {
        s.rows[i].sample = sample[i];
        s.rows[i].failure = state.TextOf(failure[i], "failure");
        s.rows[i].values.resize(s.variations.size());
    }
    for (size_t v = 0; v < s.variations.size(); ++v) {
        const char* name = s.variations[v].field->name;
        const std::vector<float> column = Unpacked<float>(values.Bytes(name), n, state, name);
        for (size_t i = 0; i < n; ++i) s.rows[i].values[v] = column[i];
    }
    for (size_t k = 0; k < kOutcomeCount; ++k) {
        const char* name = InfoOf(static_cast<Outcome>(k)).column;
        const std::vector<double> column = Unpacked<double>(outcomes.Bytes(name), n, state, name);
        for (size_t i = 0; i < n; ++i) s.rows[i].outcomes[k] = column[i];
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
    RefuseNew(cls);
    cls.def("to_pandas", &SamplesTable,
            "to_pandas(self, /)\n--\n\n"
            "One row per sample (index: the sample's number in the design, int64): the varied\n"
            "inputs by their English names, the outcomes (np_end_1000m3, rf_end_pct,\n"
            "gp_end_mio_sm3, p_end_bar, gor_max_sm3_sm3 and, with an abandonment pressure,\n"
            "np_abandon_1000m3 and rf_abandon_pct; NaN for a failed sample) and `failure`, the\n"
            "German reason a sample has no outcomes (None when it has).");
    cls.def("statistics", &StatisticsTable,
            "statistics(self, /)\n--\n\n"
            "One row per outcome (index: its column name): the German label, the number of\n"
            "samples with outcomes, mean, std (n - 1), p90, p50, p10, min and max. P90 is the\n"
            "low estimate: the value at least 90 % of the samples reach or exceed.");
    cls.def("tornado", &TornadoTable,
            "tornado(self, /)\n--\n\n"
            "One row per varied input (index: its English name), the largest swing first: its\n"
            "low and high value, the recovery factor (percent) with the input alone at each,\n"
            "the swing, and why a run had no result (None when it had).");
    cls.def_property_readonly(
        "base_recovery_factor_percent", [](const PySweepResult& s) { return s.tornado.baseRf; },
        "The recovery factor of the base case at the end of its prediction (at the\n"
        "abandonment pressure when the sweep has one), percent.");
    cls.def_property_readonly(
        "samples", [](const PySweepResult& s) { return s.result.samples; },
        "The samples of the whole design.");
    cls.def_property_readonly(
        "first_sample", [](const PySweepResult& s) { return s.options.firstSample; },
        "The number of the first sample run (1 unless a slice was asked for).");
    cls.def_property_readonly(
        "count", [](const PySweepResult& s) { return s.options.count; },
        "The number of samples run (the slice's length).");
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
            out.attr("setflags")(py::arg("write") = false);
            return out;
        },
        "The S-curve of the recovery factor: rows (value in percent, share of samples at or\n"
        "below it in percent), ascending, at most 501 of them (read-only).");
    cls.def(
        "summary", [](const PySweepResult& s) { return MessageText(SummaryText(s)); },
        "summary(self, /)\n--\n\n"
        "The German summary, as batch mode's --sweep-summary writes it.");
    cls.def(
        "csv", [](const PySweepResult& s) { return MessageText(CsvText(s)); },
        "csv(self, /)\n--\n\nThe samples as batch mode's --sweep-csv writes them.");
    cls.def(
        "__len__", [](const PySweepResult& s) { return s.rows.size(); },
        "__len__(self, /)\n--\n\nThe number of samples run.");
    cls.def(
        "__repr__",
        [](const PySweepResult& s) {
            const OutcomeStatistics& rf = s.result.Of(Outcome::RfEnd);
            return Format(
                "<morvek.SweepResult %s: %llu samples, %llu failed, RF P90/P50/P10 = "
                "%.2f/%.2f/%.2f %%>",
                py::repr(MessageText(s.fieldName)).cast<std::string>().c_str(),
                static_cast<unsigned long long>(s.result.completed),
                static_cast<unsigned long long>(s.result.failedCount), rf.p90, rf.p50, rf.p10);
        },
        "__repr__(self, /)\n--\n\n");
    cls.def(
        "__reduce__", [](const PySweepResult& s) { return ReduceTo("SweepResult", SweepState(s)); },
        "__reduce__(self, /)\n--\n\nPickles through morvek._restore.");
    AddRestorer("SweepResult",
                [](const StateReader& state) { return py::cast(SweepFromState(state)); });

    m.def(
        "sweep",
        [](const py::object& c, const py::object& vary, const py::object& samples,
           const py::object& sampling, const py::object& seed, const py::object& threads,
           const py::object& abandon, const py::object& useApi, const py::object& first,
           const py::object& count, const py::object& forecast,
           const py::object& npBy) -> py::object {
            const SweepOptions options =
                OptionsOf(samples, sampling, seed, threads, abandon,
                          BoolArg(useApi, "use_api_from_initial_gor"), first, count);
            if (!BoolArg(forecast, "forecast")) {
                if (!npBy.is_none())
                    throw InputError("np_by gilt für die Prognose über die Zeit (forecast=True).");
                return py::cast(SweepCase(c, vary, options));
            }
            if (!abandon.is_none())
                throw InputError("abandon_bar gilt nicht für die Prognose über die Zeit; dort "
                                 "enden die Stichproben an ihrem Aufgabedruck "
                                 "(abandonment_pressure_bar).");
            const CaseInputs base = InputsOfArg(c, "case");
            return ForecastSweepOf(base, VariationsOf(vary), options, npBy);
        },
        py::arg("case"), py::arg("vary"), py::kw_only(), py::arg("samples") = 1000,
        py::arg("sampling") = "lhs", py::arg("seed") = 1, py::arg("threads") = py::none(),
        py::arg("abandon_bar") = py::none(), py::arg("use_api_from_initial_gor") = false,
        py::arg("first_sample") = 1, py::arg("count") = py::none(),
        py::arg("forecast") = false, py::arg("np_by") = py::none(),
        "sweep(case, vary, *, samples=1000, sampling='lhs', seed=1, threads=None, "
        "abandon_bar=None, use_api_from_initial_gor=False, first_sample=1, count=None, "
        "forecast=False, np_by=None)\n--\n\n"
        "The uncertainty run of a case, as batch mode's --vary runs it: `vary` maps input\n"
        "names (English, record or short: 'ooip', 'm_Sgc', 'c1_pct') to (low, high) for a\n"
        "uniform or (low, mode, high) for a triangular distribution. Each of `samples`\n"
        "samples draws the varied inputs (sampling 'lhs': Latin hypercube, 'mc': Monte\n"
        "Carlo, from `seed`), is checked as the data-entry dialog checks a case and\n"
        "predicted; a refused sample or one without a result is counted as failed with its\n"
        "reason. The samples run on at most `threads` threads (None: every core) with the\n"
        "interpreter lock released, and give the same numbers on any number of threads.\n"
        "`first_sample` and `count` run a slice of the design: its samples keep their\n"
        "numbers and values, so that slices run on different workers give exactly the rows\n"
        "of the whole run (statistics and summary then cover the slice). `abandon_bar` adds\n"
        "cumulative oil and recovery factor at that pressure. Ctrl-C stops the run\n"
        "(KeyboardInterrupt). A refused case or range raises InputError.\n"
        "forecast=True takes the forecast against time as each sample's run and returns a\n"
        "ForecastSweepResult (its outcomes, np_by: cumulative oil by the end of those years,\n"
        "and the fan of oil rate and cumulative oil).");
}

}  // namespace morvek::python
