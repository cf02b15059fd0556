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
    {"step", "Index of the pressure step, 0 at the initial pressure.",
     [](const Step& s) { return double(s.index); }},
    {"p_bar", "Reservoir pressure at the end of the step, bar (single precision, as stepped).",
     [](const Step& s) { return PyValueOf(s.pressureBar); }},
    {"np_1000m3", "Cumulative oil Np, 1000 m³.", [](const Step& s) { return s.np1000m3; }},
    {"gp_mio_sm3", "Cumulative gas Gp, million sm³.",
     [](const Step& s) { return s.gp1000Sm3 / 1000.0; }},
    {"gor", "Producing gas-oil ratio, mean over the step (report and graph), sm³/m³.",
     [](const Step& s) { return s.gorSm3PerM3; }},
    {"gor_end", "Producing gas-oil ratio at the end of the step, sm³/m³.",
     [](const Step& s) { return s.gorEndSm3PerM3; }},
    {"so", "Oil saturation So = SL - Swi, fraction of the pore volume.",
     [](const Step& s) { return s.oilSaturation; }},
    {"sg", "Gas saturation Sg = 1 - SL.", [](const Step& s) { return s.gasSaturation; }},
    {"bo", "Oil formation volume factor Bo, m³/sm³.", [](const Step& s) { return s.bo; }},
    {"mu_o", "Oil viscosity, cP.", [](const Step& s) { return s.oilViscosityCp; }},
    {"rs", "Solution gas-oil ratio Rs, sm³/m³.", [](const Step& s) { return s.rs; }},
    {"bg", "Gas formation volume factor Bg, m³/sm³.", [](const Step& s) { return s.bg; }},
    {"mu_g", "Gas viscosity, cP.", [](const Step& s) { return s.gasViscosityCp; }},
    {"krg_kro", "Relative permeability ratio krg/kro.", [](const Step& s) { return s.krgKro; }},
    {"eo", "Expansion of oil and dissolved gas Eo = (Bo - Boi) + (Rsi - Rs) Bg, m³ per m³.",
     [](const Step& s) { return s.eo; }},
    {"eg", "Expansion of the gas cap Eg = Boi (Bg/Bgi - 1), m³ per m³.",
     [](const Step& s) { return s.eg; }},
    {"et", "Total expansion Et = Eo + m Eg, m³ per m³ of oil in place.",
     [](const Step& s) { return s.et; }},
    {"f_1000m3", "Underground withdrawal F = Np (Bo - Rs Bg) + Gp Bg, 1000 m³.",
     [](const Step& s) { return s.withdrawal1000m3; }},
    {"rv", "Vaporised oil-gas ratio Rv, m³/sm³ (0 without a PVT table's Rv column).",
     [](const Step& s) { return s.rv; }},
};
constexpr size_t kColumnCount = sizeof kColumns / sizeof kColumns[0];

const char* const kStopReasons[] = {"lowest_pressure",         "oil_in_place_produced",
                                    "no_production",           "negative_oil_production",
                                    "no_meaningful_value",     "lowest_table_pressure",
                                    "outside_pvt_table"};
static_assert(std::size(kStopReasons) == static_cast<size_t>(StopReason::OutsidePvtTable) + 1,
              "a name for every way a prediction ends");
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
const char* const kEventKinds[] = {"bubble_point_too_low", "negative_oil_production",
                                   "oil_in_place_exceeded", "liquid_below_connate_water"};
static_assert(std::size(kEventKinds) ==
                  static_cast<size_t>(PredictionEventKind::LiquidBelowConnateWater) + 1,
              "a name for every event of a prediction");

template <size_t N>
int IndexOfName(const char* const (&names)[N], const std::string& name) {
    for (size_t i = 0; i < N; ++i)
        if (name == names[i]) return static_cast<int>(i);
    throw InputError(Format("Unbekannter Wert \"%s\".", name.c_str()));
}

// The column after kColumns.
bool Converged(const Step& s) {
    return s.converged;
}

py::object ColumnOf(PyPrediction& p, size_t i) {
    if (p.columns.empty()) p.columns.resize(kColumnCount + 1);
    py::object& cached = p.columns[i];
    if (!cached)
        cached = i < kColumnCount ? ColumnArray(p.result.steps, kColumns[i].value)
                                  : ColumnArray(p.result.steps, &Converged);
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

// --- Pickling: every step member by member, so that a result comes back bit for bit.
constexpr double Step::*kStepDoubles[] = {&Step::np1000m3,
                                          &Step::gp1000Sm3,
                                          &Step::gorSm3PerM3,
                                          &Step::gorEndSm3PerM3,
                                          &Step::oilSaturation,
                                          &Step::gasSaturation,
                                          &Step::bo,
                                          &Step::oilViscosityCp,
                                          &Step::rs,
                                          &Step::bg,
                                          &Step::gasViscosityCp,
                                          &Step::krgKro,
                                          &Step::eo,
                                          &Step::eg,
                                          &Step::et,
                                          &Step::withdrawal1000m3,
                                          &Step::efw,
                                          &Step::rv};
constexpr size_t kPackedStep = sizeof(int32_t) + sizeof(float) +
                               sizeof kStepDoubles / sizeof kStepDoubles[0] * sizeof(double) + 1;

template <typename T>
void Put(std::string& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}
template <typename T>
T Take(const char*& in) {
    T value;
    std::memcpy(&value, in, sizeof value);
    in += sizeof value;
    return value;
}

py::bytes PackSteps(const std::vector<Step>& steps) {
    std::string out;
    out.reserve(steps.size() * kPackedStep);
    for (const Step& s : steps) {
        Put<int32_t>(out, s.index);
        Put<float>(out, s.pressureBar);
        for (double Step::*m : kStepDoubles) Put<double>(out, s.*m);
        Put<uint8_t>(out, s.converged ? 1 : 0);
    }
    return py::bytes(out);
}

std::vector<Step> UnpackSteps(const std::string& bytes) {
    if (bytes.size() % kPackedStep != 0) throw InputError("Die Schritte sind beschädigt.");
    std::vector<Step> steps(bytes.size() / kPackedStep);
    const char* in = bytes.data();
    for (Step& s : steps) {
        s.index = Take<int32_t>(in);
        s.pressureBar = Take<float>(in);
        for (double Step::*m : kStepDoubles) s.*m = Take<double>(in);
        s.converged = Take<uint8_t>(in) != 0;
    }
    return steps;
}

py::dict PredictionState(const PyPrediction& p) {
    const PredictionResult& r = p.result;
    py::dict state;
    state["case"] = CaseState(p.inputs);
    state["use_api_from_initial_gor"] = p.options.useApiFromInitialGor;
    state["steps"] = PackSteps(r.steps);
    state["events"] = EventTuples(r);
    state["liquid_below_connate_water_count"] = r.liquidBelowConnateWaterCount;
    state["stop_reason"] = kStopReasons[static_cast<int>(r.stopReason)];
    state["failed_quantity"] = kRunQuantities[static_cast<int>(r.failedQuantity)];
    state["failed_pressure_bar"] = r.failedPressureBar;
    state["initial_state_taken"] = r.initialStateTaken;
    state["rsi"] = r.rsi;
    state["boi"] = r.boi;
    state["bgi"] = r.bgi;
    state["rvi"] = r.rvi;
    state["initial_gas_cap_mio_sm3"] = r.initialGasCapMioSm3;
    state["balance_ratio"] = r.balanceRatio;
    return state;
}

std::unique_ptr<PyPrediction> PredictionFromState(const py::dict& state) {
    auto p = std::make_unique<PyPrediction>();
    p->inputs = CaseFromState(state["case"].cast<py::dict>());
    p->options.useApiFromInitialGor = state["use_api_from_initial_gor"].cast<bool>();
    PredictionResult& r = p->result;
    r.steps = UnpackSteps(state["steps"].cast<std::string>());
    for (py::handle e : state["events"]) {
        const py::tuple t = e.cast<py::tuple>();
        PredictionEvent event;
        event.step = t[0].cast<int>();
        event.kind =
            static_cast<PredictionEventKind>(IndexOfName(kEventKinds, t[1].cast<std::string>()));
        event.value = t[2].cast<double>();
        event.value2 = t[3].cast<double>();
        event.value3 = t[4].cast<double>();
        r.events.push_back(event);
    }
    r.liquidBelowConnateWaterCount = state["liquid_below_connate_water_count"].cast<int>();
    r.stopReason = static_cast<StopReason>(
        IndexOfName(kStopReasons, state["stop_reason"].cast<std::string>()));
    r.failedQuantity = static_cast<RunQuantity>(
        IndexOfName(kRunQuantities, state["failed_quantity"].cast<std::string>()));
    r.failedPressureBar = state["failed_pressure_bar"].cast<float>();
    r.initialStateTaken = state["initial_state_taken"].cast<bool>();
    r.rsi = state["rsi"].cast<double>();
    r.boi = state["boi"].cast<double>();
    r.bgi = state["bgi"].cast<double>();
    if (state.contains("rvi")) r.rvi = state["rvi"].cast<double>();
    r.initialGasCapMioSm3 = state["initial_gas_cap_mio_sm3"].cast<double>();
    r.balanceRatio = state["balance_ratio"].cast<double>();
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

py::list PredictManyCases(const py::iterable& cases, const py::object& threads, bool useApi) {
    std::vector<CaseInputs> inputs;
    for (py::handle c : cases) {
        if (!py::isinstance<PyCase>(c))
            throw TypeMismatch("predict_many erwartet eine Folge von morvek.Case.");
        inputs.push_back(c.cast<const PyCase&>().inputs);
    }
    const int threadLimit = ThreadLimitOf(threads);
    for (size_t i = 0; i < inputs.size(); ++i) {
        try {
            CheckForRun(inputs[i]);
        } catch (const InputError& e) {
            throw InputError(Format("Fall %zu: %s", i, e.what()));
        }
    }
    RunOptions options;
    options.useApiFromInitialGor = useApi;
    std::vector<PredictionResult> results;
    {
        py::gil_scoped_release release;
        results = PredictMany(inputs, options, threadLimit);
    }
    py::list out;
    for (size_t i = 0; i < results.size(); ++i) {
        auto p = std::make_unique<PyPrediction>();
        p->inputs = std::move(inputs[i]);
        p->options = options;
        p->result = std::move(results[i]);
            out.append(py::cast(std::move(p)));
    }
    return out;
}

}  // namespace

void RegisterPrediction(py::module_& m) {
    py::class_<PyPrediction> cls(m, "Prediction", R"doc(
The depletion prediction of a case: every pressure step as NumPy columns
(read-only float64 arrays), why it stopped, and the German report.

Columns: )doc");
    std::string columnsDoc;
    for (const Column<Step>& c : kColumns) columnsDoc += std::string(c.name) + ", ";
    cls.doc() = cls.doc().cast<std::string>() + columnsDoc +
                "converged.\n\n``report()`` is exactly what ``morvek --batch CASE`` writes to "
                "stdout\n(with ``--answer ja`` for use_api_from_initial_gor=True).";

    for (size_t i = 0; i < kColumnCount; ++i) {
        cls.def_property_readonly(
            kColumns[i].name, [i](PyPrediction& p) { return ColumnOf(p, i); }, kColumns[i].doc);
    }
    cls.def_property_readonly(
        "converged", [](PyPrediction& p) { return ColumnOf(p, kColumnCount); },
        "Whether the step's inner iteration ended within its tolerance (bool array).");
    cls.def(
        "to_pandas",
        [](PyPrediction& p) {
            py::dict columns;
            for (size_t i = 1; i <= kColumnCount; ++i)
                columns[i < kColumnCount ? kColumns[i].name : "converged"] = ColumnOf(p, i);
            py::object index = py::module_::import("pandas").attr("Index")(
                ColumnOf(p, 0).attr("astype")("int64"), py::arg("name") = "step");
            return DataFrameOf(columns, index);
        },
        "The columns as a pandas DataFrame indexed by step (a copy).");
    cls.def(
        "report", [](PyPrediction& p) { return MessageText(JoinedReport(ReportOf(p))); },
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
        "failed_pressure_bar",
        [](const PyPrediction& p) { return PyValueOf(p.result.failedPressureBar); },
        "The pressure at which that quantity failed, bar.");
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
        "rsi", [](const PyPrediction& p) { return p.result.rsi; },
        "Initial solution gas-oil ratio Rsi, sm³/m³.");
    cls.def_property_readonly(
        "boi", [](const PyPrediction& p) { return p.result.boi; },
        "Initial oil formation volume factor Boi, m³/sm³.");
    cls.def_property_readonly(
        "bgi", [](const PyPrediction& p) { return p.result.bgi; },
        "Initial gas formation volume factor Bgi, m³/sm³.");
    cls.def_property_readonly(
        "initial_gas_cap_mio_sm3",
        [](const PyPrediction& p) { return p.result.initialGasCapMioSm3; },
        "Free gas of the initial gas cap, million sm³.");
    cls.def_property_readonly(
        "balance_ratio", [](const PyPrediction& p) { return p.result.balanceRatio; },
        "Material-balance ratio F / (N Et) of the last step below the initial pressure.");
    cls.def_property_readonly(
        "case", [](const PyPrediction& p) { return NewCase(p.inputs); },
        "A copy of the case that was predicted.");
    cls.def_property_readonly(
        "use_api_from_initial_gor",
        [](const PyPrediction& p) { return p.options.useApiFromInitialGor; },
        "The run's decision (batch mode's --answer ja when True).");
    cls.def("__len__", [](const PyPrediction& p) { return p.result.steps.size(); });
    cls.def("__repr__", [](const PyPrediction& p) {
        return Format("<morvek.Prediction %s: %zu steps, stop_reason='%s', recovery_factor=%.4f>",
                      py::repr(MessageText(p.inputs.fieldName)).cast<std::string>().c_str(),
                      p.result.steps.size(), kStopReasons[int(p.result.stopReason)],
                      RecoveryFactor(p));
    });
    cls.def(py::pickle([](const PyPrediction& p) { return PredictionState(p); },
                       [](const py::dict& state) { return PredictionFromState(state); }));

    CaseClass(m).def(
        "predict", [](const PyCase& c, bool useApi) { return PredictOne(c, useApi); },
        py::kw_only(), py::arg("use_api_from_initial_gor") = false,
        "The depletion prediction of the case (the engine's PredictCase), after the checks of\n"
        "the data-entry dialog's OK button (InputError with its message). The keyword is the\n"
        "answer to the program's question whether to take the API gravity back-calculated\n"
        "from a measured initial gas-oil ratio; its default is batch mode's default answer\n"
        "(nein). The case is not changed. The interpreter lock is released while it runs.");

    m.def("predict_many", &PredictManyCases, py::arg("cases"), py::arg("threads") = py::none(),
          py::kw_only(), py::arg("use_api_from_initial_gor") = false,
          "The predictions of many cases at once on at most ``threads`` threads (None: every\n"
          "core), with the interpreter lock released; results in the order of the cases and\n"
          "identical to ``[c.predict() for c in cases]`` for any number of threads. Every case\n"
          "is checked first; a refused one raises InputError naming its index (\"Fall 3: ...\").");
}

}  // namespace morvek::python
