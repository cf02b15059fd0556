// morvek.Prediction, Case.predict() and morvek.predict_many(): the engine's
// prediction of a case, every step as NumPy columns, the report rendered from
// the steps when asked for, exactly as batch mode writes it.

#include <cstring>
#include <iterator>
#include <memory>
#include <optional>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"
#include "depletion/PredictMany.h"
#include "sweep/Sweep.h"
#include "pvt/FluidModel.h"
#include "report/CaseRun.h"
#include "report/Report.h"

namespace morvek::python {
namespace {

struct PyPrediction {
    CaseInputs inputs;
    RunOptions options;
    PredictionResult result;
    std::vector<py::object> columns;  // built when first asked for
    std::optional<std::vector<std::string>> report;

    PyPrediction() = default;
    PyPrediction(const PyPrediction&) = delete;
    PyPrediction& operator=(const PyPrediction&) = delete;
};

using Step = PredictionStep;

const Column<Step> kColumns[] = {
    {"step", "", "Index of the pressure step, 0 at the initial pressure.", &Step::index},
    {"p_bar", "bar", "Reservoir pressure at the end of the step, bar (single precision, as stepped).",
     &Step::pressureBar},
    {"np_1000m3", "1000 m³", "Cumulative oil Np, 1000 m³.", &Step::np1000m3},
    {"gp_mio_sm3", "10⁶ sm³", "Cumulative gas Gp, million sm³.", &Step::gp1000Sm3, 1000.0},
    {"gor", "sm³/m³", "Producing gas-oil ratio, mean over the step (report and graph), sm³/m³.",
     &Step::gorSm3PerM3},
    {"gor_end", "sm³/m³", "Producing gas-oil ratio at the end of the step, sm³/m³.",
     &Step::gorEndSm3PerM3},
    {"so", "", "Oil saturation So = SL - Swi, fraction of the pore volume.", &Step::oilSaturation},
    {"sg", "", "Gas saturation Sg = 1 - SL.", &Step::gasSaturation},
    {"bo", "m³/sm³", "Oil formation volume factor Bo, m³/sm³.", &Step::bo},
    {"mu_o", "cP", "Oil viscosity, cP.", &Step::oilViscosityCp},
    {"rs", "sm³/m³", "Solution gas-oil ratio Rs, sm³/m³.", &Step::rs},
    {"bg", "m³/sm³", "Gas formation volume factor Bg, m³/sm³.", &Step::bg},
    {"mu_g", "cP", "Gas viscosity, cP.", &Step::gasViscosityCp},
    {"krg_kro", "", "Relative permeability ratio krg/kro.", &Step::krgKro},
    {"eo", "m³/m³", "Expansion of oil and dissolved gas Eo = (Bo - Boi) + (Rsi - Rs) Bg, m³ per m³.",
     &Step::eo},
    {"eg", "m³/m³", "Expansion of the gas cap Eg = Boi (Bg/Bgi - 1), m³ per m³.", &Step::eg},
    {"efw", "m³/m³",
     "Expansion of connate water and pore volume Efw = (1 + m) Boi (cw Swi + cf) / (1 - Swi) "
     "(pi - p), m³ per m³.",
     &Step::efw},
    {"et", "m³/m³", "Total expansion Et = Eo + m Eg + Efw, m³ per m³ of oil in place.", &Step::et},
    {"f_1000m3", "1000 m³", "Underground withdrawal F = Np (Bo - Rs Bg) + Gp Bg, 1000 m³.",
     &Step::withdrawal1000m3},
    {"converged", "", "Whether the step's inner iteration ended within its tolerance.",
     &Step::converged},
    {"rv", "m³/sm³", "Vaporised oil-gas ratio Rv, m³/sm³ (0 without a PVT table's Rv column).",
     &Step::rv},
};
constexpr size_t kColumnCount = sizeof kColumns / sizeof kColumns[0];

using Result = PredictionResult;
const Scalar<Result> kScalars[] = {
    {"rsi", "Initial solution gas-oil ratio Rsi, sm³/m³.", &Result::rsi},
    {"boi", "Initial oil formation volume factor Boi, m³/sm³.", &Result::boi},
    {"bgi", "Initial gas formation volume factor Bgi, m³/sm³.", &Result::bgi},
    {"rvi", "Initial vaporised oil-gas ratio Rvi, m³/sm³ (0 without an Rv column).", &Result::rvi},
    {"initial_gas_cap_mio_sm3", "Free gas of the initial gas cap, million sm³.",
     &Result::initialGasCapMioSm3},
    {"balance_ratio", "Material-balance ratio F / (N Et) of the last step below the initial pressure.",
     &Result::balanceRatio},
    {"failed_pressure_bar", "The pressure at which failed_quantity failed, bar.",
     &Result::failedPressureBar},
    {"initial_state_taken", "Whether step 0 had its properties (Rsi, Boi, Bgi, the gas cap).",
     &Result::initialStateTaken},
    {"liquid_below_connate_water_count",
     "How often the liquid saturation fell below Swi (events hold the first).",
     &Result::liquidBelowConnateWaterCount},
};

const char* const kStopReasons[] = {"lowest_pressure",         "oil_in_place_produced",
                                    "no_production",           "negative_oil_production",
                                    "no_meaningful_value",     "lowest_table_pressure",
                                    "outside_pvt_table"};
static_assert(std::size(kStopReasons) == static_cast<size_t>(StopReason::OutsidePvtTable) + 1,
              "a name for every way a prediction ends");
const char* const kEventKinds[] = {"bubble_point_too_low", "negative_oil_production",
                                   "oil_in_place_exceeded", "liquid_below_connate_water"};
// The quantities a run may fail to compute, as a pickled prediction names them.
const char* const kRunQuantities[] = {"",
                                      "rs",
                                      "bo",
                                      "co",
                                      "oil_viscosity",
                                      "bg",
                                      "gas_viscosity",
                                      "gas_cap",
                                      "oil_production",
                                      "gas_production",
                                      "gor",
                                      "oil_saturation",
                                      "krg_kro",
                                      "oil_immobile",
                                      "vaporised_oil",
                                      "lee_constants"};
static_assert(std::size(kRunQuantities) == static_cast<size_t>(kRunQuantityCount),
              "a name for every quantity a run may fail to compute");
static_assert(std::size(kEventKinds) ==
                  static_cast<size_t>(PredictionEventKind::LiquidBelowConnateWater) + 1,
              "a name for every event of a prediction");

template <size_t N>
int IndexOfName(const char* const (&names)[N], const std::string& name) {
    for (size_t i = 0; i < N; ++i)
        if (name == names[i]) return static_cast<int>(i);
    return -1;
}

py::object ColumnOf(PyPrediction& p, size_t i) {
    if (p.columns.empty()) p.columns.resize(kColumnCount);
    py::object& cached = p.columns[i];
    if (!cached) cached = ColumnArray(p.result.steps, kColumns[i]);
    return cached;
}

const std::vector<std::string>& ReportOf(PyPrediction& p) {
    if (!p.report) {
        // As the run of the dialog's OK renders it.
        p.report =
            PredictionReportLines(p.inputs, FluidOfCase(p.inputs, p.options).Gas(), p.result);
    }
    return *p.report;
}

// The events as tuples (step, kind, value, value2, value3).
py::list EventTuples(const PredictionResult& r) {
    py::list out;
    for (const PredictionEvent& e : r.events)
        out.append(py::make_tuple(e.step, kEventKinds[static_cast<int>(e.kind)], e.value, e.value2,
                                  e.value3));
    return out;
}

double RecoveryFactor(const PyPrediction& p) {
    if (p.result.steps.empty() || p.inputs.ooip1000m3 <= 0.0f) return 0.0;
    return p.result.steps.back().np1000m3 / double(p.inputs.ooip1000m3);
}

// --- Pickling: every column of the table packed, and the scalars ---------------------

py::dict PredictionState(const PyPrediction& p) {
    const PredictionResult& r = p.result;
    py::dict state;
    state["case"] = CaseState(p.inputs);
    state["use_api_from_initial_gor"] = p.options.useApiFromInitialGor;
    state["step_count"] = r.steps.size();
    py::dict steps;
    for (const Column<Step>& c : kColumns) steps[c.name] = PackColumn(r.steps, c);
    state["steps"] = steps;
    state["events"] = EventTuples(r);
    state["stop_reason"] = kStopReasons[static_cast<int>(r.stopReason)];
    state["failed_quantity"] = kRunQuantities[static_cast<int>(r.failedQuantity)];
    for (const Scalar<Result>& s : kScalars) state[s.name] = ScalarState(r, s);
    return state;
}

std::unique_ptr<PyPrediction> PredictionFromState(const StateReader& state) {
    auto p = std::make_unique<PyPrediction>();
    p->inputs = CaseFromState(state.Get("case"));
    p->options.useApiFromInitialGor = state.Bool("use_api_from_initial_gor");
    PredictionResult& r = p->result;
    r.steps.resize(static_cast<size_t>(state.Integer("step_count", 0, 1 << 24)));
    const StateReader steps(state.Dict("steps"), "Prediction");
    for (const Column<Step>& c : kColumns)
        if (!UnpackColumn(steps.Bytes(c.name), r.steps, c))
            state.Damaged(std::string("die Spalte ") + c.name);
    for (const py::handle e : state.List("events")) {
        const py::tuple t = state.TupleOf(e, "events", 5);
        PredictionEvent event;
        event.step = static_cast<int>(state.IntegerOf(t[0], "events", -1, 1 << 24));
        const std::string kind = state.TextOf(t[1], "events");
        const int k = IndexOfName(kEventKinds, kind);
        if (k < 0) state.Damaged("unbekanntes Ereignis \"" + kind + "\"");
        event.kind = static_cast<PredictionEventKind>(k);
        event.value = state.DoubleOf(t[2], "events");
        event.value2 = state.DoubleOf(t[3], "events");
        event.value3 = state.DoubleOf(t[4], "events");
        r.events.push_back(event);
    }
    const std::string stop = state.Text("stop_reason");
    const int reason = IndexOfName(kStopReasons, stop);
    if (reason < 0) state.Damaged("unbekannter Grund \"" + stop + "\"");
    r.stopReason = static_cast<StopReason>(reason);
    const std::string failed = state.Text("failed_quantity");
    const int quantity = IndexOfName(kRunQuantities, failed);
    if (quantity < 0) state.Damaged("unbekannte Größe \"" + failed + "\"");
    r.failedQuantity = static_cast<RunQuantity>(quantity);
    for (const Scalar<Result>& s : kScalars) ScalarFromState(r, s, state);
    // The run's N and the PVT table's range are the case's, as Predict takes them.
    r.ooip1000m3 = p->inputs.ooip1000m3;
    if (const float lowest = LowestTablePressureBar(p->inputs); lowest > 0.0f) {
        r.lowestTablePressureBar = lowest;
        r.highestTablePressureBar = p->inputs.pvtTable->rows.back().pressureBar;
    }
    return p;
}

std::unique_ptr<PyPrediction> PredictOne(const PyCase& c, bool useApi) {
    auto p = std::make_unique<PyPrediction>();
    p->inputs = c.inputs;
    p->options.useApiFromInitialGor = useApi;
    CheckForRun(p->inputs);
    {
        py::gil_scoped_release release;
        p->result = PredictCase(p->inputs, p->options);
    }
    return p;
}

py::object PredictManyCases(const py::object& cases, const py::object& threads, bool useApi,
                            bool outcomesOnly, const py::object& abandon) {
    if (py::isinstance<py::str>(cases) || !py::isinstance<py::iterable>(cases))
        throw TypeMismatch("cases: eine Folge von morvek.Case erwartet.");
    // Copies, made while the interpreter lock is held: another thread may
    // change the cases during the run.
    std::vector<CaseInputs> inputs;
    for (py::handle c : cases) {
        if (!py::isinstance<PyCase>(c))
            throw TypeMismatch(Format("cases[%zu]: ein morvek.Case erwartet, nicht %s.",
                                      inputs.size(),
                                      py::str(py::type::handle_of(c).attr("__name__"))
                                          .cast<std::string>()
                                          .c_str()));
        inputs.push_back(c.cast<const PyCase&>().inputs);
    }
    const int threadLimit = ThreadLimitOf(threads);
    const float abandonBar = AbandonmentOf(abandon);
    if (!outcomesOnly && abandonBar > 0.0f)
        throw InputError("abandon_bar gilt nur mit outcomes_only=True.");
    for (size_t i = 0; i < inputs.size(); ++i) {
        try {
            CheckForRun(inputs[i]);
            if (const std::string why = CheckAbandonment(inputs[i], abandonBar); !why.empty())
                throw InputError(why);
        } catch (const InputError& e) {
            throw InputError(Format("Fall %zu: %s", i, e.what()), e.field);
        }
    }
    RunOptions options;
    options.useApiFromInitialGor = useApi;
    if (outcomesOnly) {
        // Only the outcomes are kept: each prediction is dropped as soon as
        // they are taken from it.
        OutcomeTable table(inputs.size());
        RunInterruptibly([&](const std::atomic<bool>& stop) {
            ParallelFor(inputs.size(), threadLimit, [&](size_t i) {
                if (stop) return;
                const PredictionResult r = PredictCase(inputs[i], options);
                OutcomesOf(r, inputs[i], abandonBar, table.values[i], table.failures[i]);
            });
        });
        py::array_t<int64_t> index(static_cast<py::ssize_t>(inputs.size()));
        for (size_t i = 0; i < inputs.size(); ++i) index.mutable_at(i) = static_cast<int64_t>(i);
        return OutcomeFrame(table, SelectedOutcomes(py::none(), abandonBar > 0.0f),
                            py::module_::import("pandas").attr("Index")(index,
                                                                        py::arg("name") = "case"));
    }
    std::vector<PredictionResult> results(inputs.size());
    RunInterruptibly([&](const std::atomic<bool>& stop) {
        ParallelFor(inputs.size(), threadLimit, [&](size_t i) {
            if (!stop) results[i] = PredictCase(inputs[i], options);
        });
    });
    py::list out;
    for (size_t i = 0; i < results.size(); ++i) {
        auto p = std::make_unique<PyPrediction>();
        p->inputs = std::move(inputs[i]);
        p->options = options;
        p->result = std::move(results[i]);
            out.append(py::cast(std::move(p)));
    }
    return py::module_::import("morvek").attr("Predictions")(out);
}

}  // namespace

void RegisterPrediction(py::module_& m) {
    std::string columnsDoc;
    for (const Column<Step>& c : kColumns)
        columnsDoc += std::string(columnsDoc.empty() ? "" : ", ") + c.name;
    py::class_<PyPrediction> cls(m, "Prediction");
    cls.doc() = "The depletion prediction of a case: every pressure step as NumPy columns\n"
                "(read-only arrays), why it stopped, and the German report.\n\nColumns: " +
                columnsDoc +
                ".\n\n``report()`` is exactly what ``morvek --batch CASE`` writes to stdout\n"
                "(with ``--answer ja`` for use_api_from_initial_gor=True).";
    RefuseNew(cls);

    for (size_t i = 0; i < kColumnCount; ++i) {
        cls.def_property_readonly(
            kColumns[i].name, [i](PyPrediction& p) { return ColumnOf(p, i); }, kColumns[i].doc);
    }
    for (const Scalar<Result>& s : kScalars) {
        const Scalar<Result>* scalar = &s;
        cls.def_property_readonly(
            s.name, [scalar](const PyPrediction& p) { return ScalarValue(p.result, *scalar); },
            s.doc);
    }
    cls.def(
        "to_pandas",
        [](PyPrediction& p) {
            py::dict columns;
            for (size_t i = 1; i < kColumnCount; ++i) columns[kColumns[i].name] = ColumnOf(p, i);
            py::object index =
                py::module_::import("pandas").attr("Index")(ColumnOf(p, 0), py::arg("name") = "step");
            return DataFrameOf(columns, index);
        },
        "to_pandas(self, /)\n--\n\n"
        "The columns as a pandas DataFrame indexed by step (int64; a copy).");
    cls.def(
        "to_xarray",
        [](const py::object& self) {
            return py::module_::import("morvek").attr("Predictions")(py::make_tuple(self))
                .attr("to_xarray")()
                .attr("isel")(py::arg("case") = 0);
        },
        "to_xarray(self, /)\n--\n\n"
        "The columns as an xarray Dataset over the dimension step, units in each\n"
        "variable's attrs.");
    cls.def(
        "report", [](PyPrediction& p) { return MessageText(JoinedReport(ReportOf(p))); },
        "report(self, /)\n--\n\n"
        "The German report, line by line with a line end each: byte for byte what batch\n"
        "mode writes (``morvek --batch CASE --answer nein``, or ``ja`` for\n"
        "use_api_from_initial_gor=True).");
    cls.def_property_readonly(
        "stop_reason", [](const PyPrediction& p) { return kStopReasons[int(p.result.stopReason)]; },
        "Why the prediction ended: 'lowest_pressure' (1 bar), 'oil_in_place_produced',\n"
        "'no_production' (ten steps without oil), 'negative_oil_production',\n"
        "'no_meaningful_value' (see failed_quantity), 'lowest_table_pressure' (the PVT\n"
        "table's lowest pressure, below which it is not extrapolated) or\n"
        "'outside_pvt_table' (the initial pressure lies outside the PVT table).");
    cls.def_property_readonly(
        "failed_quantity",
        [](const PyPrediction& p) -> py::object {
            if (p.result.failedQuantity == RunQuantity::None) return py::none();
            return MessageText(RunQuantityName(p.result.failedQuantity));
        },
        "The report's name of the quantity that could not be computed, or None.");
    cls.def_property_readonly(
        "events", [](const PyPrediction& p) { return EventTuples(p.result); },
        "What happened during the run, in order: tuples (step, kind, value, value2, value3)\n"
        "with kind 'bubble_point_too_low' (value: oil viscosity), 'negative_oil_production'\n"
        "(value: the step's oil, 1000 m³), 'oil_in_place_exceeded' (value: Np, value2: N)\n"
        "or 'liquid_below_connate_water' (value: So, value2: krg, value3: normalised\n"
        "saturation).");
    cls.def_property_readonly(
        "diagnostics",
        [](const PyPrediction& p) {
            return TextList(RunDiagnostics(p.inputs, p.options, ResultKind::Prediction, &p.result));
        },
        "The German messages the program shows beside the report (batch mode: on stderr):\n"
        "why no back-calculated API gravity is offered, the viscosity calibration, a liquid\n"
        "saturation below Swi. Nothing is printed.");
    cls.def_property_readonly(
        "recovery_factor", [](const PyPrediction& p) { return RecoveryFactor(p); },
        "Cumulative oil at the last step over the oil in place (Np/N).");
    cls.def_property_readonly(
        "api_gravity",
        [](const PyPrediction& p) {
            return PyValueOf(FluidOfCase(p.inputs, p.options).ApiGravity());
        },
        "The API gravity the run computed with (the case's, or the back-calculated one).");
    cls.def_property_readonly(
        "case", [](const PyPrediction& p) { return NewCase(p.inputs); },
        "A copy of the case that was predicted.");
    cls.def_property_readonly(
        "use_api_from_initial_gor",
        [](const PyPrediction& p) { return p.options.useApiFromInitialGor; },
        "The run's decision (batch mode's --answer ja when True).");
    cls.def(
        "__len__", [](const PyPrediction& p) { return p.result.steps.size(); },
        "__len__(self, /)\n--\n\nThe number of steps.");
    cls.def(
        "__repr__",
        [](const PyPrediction& p) {
            return Format(
                "<morvek.Prediction %s: %zu steps, stop_reason='%s', recovery_factor=%.4f>",
                py::repr(MessageText(p.inputs.fieldName)).cast<std::string>().c_str(),
                p.result.steps.size(), kStopReasons[int(p.result.stopReason)], RecoveryFactor(p));
        },
        "__repr__(self, /)\n--\n\n");
    cls.def(
        "__reduce__",
        [](const PyPrediction& p) { return ReduceTo("Prediction", PredictionState(p)); },
        "__reduce__(self, /)\n--\n\nPickles through morvek._restore.");
    AddRestorer("Prediction", [](const StateReader& state) {
        return py::cast(PredictionFromState(state));
    });

    m.def(
        "_column_units",
        [] {
            py::dict out;
            for (const Column<Step>& c : kColumns)
                out[c.name] = py::make_tuple(MessageText(c.unit), MessageText(c.doc));
            return out;
        },
        "_column_units()\n--\n\nThe unit and doc of every column of a prediction.");

    CaseClass(m).def(
        "predict",
        [](const PyCase& c, const py::object& useApi) {
            return PredictOne(c, BoolArg(useApi, "use_api_from_initial_gor"));
        },
        py::kw_only(), py::arg("use_api_from_initial_gor") = false,
        "predict(self, /, *, use_api_from_initial_gor=False)\n--\n\n"
        "The depletion prediction of the case (the engine's PredictCase), after the checks of\n"
        "the data-entry dialog's OK button (InputError with its message). The keyword is the\n"
        "answer to the program's question whether to take the API gravity back-calculated\n"
        "from a measured initial gas-oil ratio; its default is batch mode's default answer\n"
        "(nein). The case is not changed. The interpreter lock is released while it runs.");

    m.def(
        "predict_many",
        [](const py::object& cases, const py::object& threads, const py::object& useApi,
           const py::object& outcomesOnly, const py::object& abandon) {
            return PredictManyCases(cases, threads, BoolArg(useApi, "use_api_from_initial_gor"),
                                    BoolArg(outcomesOnly, "outcomes_only"), abandon);
        },
        py::arg("cases"), py::arg("threads") = py::none(), py::kw_only(),
        py::arg("use_api_from_initial_gor") = false, py::arg("outcomes_only") = false,
        py::arg("abandon_bar") = py::none(),
        "predict_many(cases, threads=None, *, use_api_from_initial_gor=False, "
        "outcomes_only=False, abandon_bar=None)\n--\n\n"
        "The predictions of many cases at once on at most ``threads`` threads (None: every\n"
        "core), with the interpreter lock released; results in the order of the cases and\n"
        "identical to ``[c.predict() for c in cases]`` for any number of threads (a\n"
        "morvek.Predictions list, with ``to_xarray()``). Every case is checked first; a\n"
        "refused one raises InputError naming its index (\"Fall 3: ...\").\n"
        "With ``outcomes_only=True`` it returns a pandas DataFrame instead, one row per case\n"
        "(index: case, int64), with the outcome columns of the sweep's CSV (np_end_1000m3,\n"
        "rf_end_pct, gp_end_mio_sm3, p_end_bar, gor_max_sm3_sm3, and with ``abandon_bar``\n"
        "np_abandon_1000m3 and rf_abandon_pct) and ``failure``; each prediction is dropped\n"
        "as soon as its outcomes are taken. Ctrl-C stops it within a fraction of a second\n"
        "(KeyboardInterrupt).");
}

}  // namespace morvek::python
