// morvek.Fluid: the fluids of a case, every property vectorised over NumPy
// arrays of pressure.

#include <deque>
#include <limits>
#include <memory>
#include <string>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"
#include "pvt/FluidModel.h"

namespace morvek::python {
namespace {

// The fluids of a case; without state until __init__ gives it a case.
struct PyFluid {
    struct State {
        State(const CaseInputs& in, bool useApi)
            : inputs(in), options{useApi}, fluid(FluidOfCase(in, options)) {
            if (fluid.Table() != nullptr) {
                lowestBar = LowestTablePressureBar(in);
                highestBar = in.pvtTable->rows.back().pressureBar;
            }
        }
        CaseInputs inputs;
        RunOptions options;
        FluidModel fluid;
        // The pressures the fluids are defined at: above 0 bar, and within a
        // laboratory table's rows (which are not extrapolated).
        float lowestBar = 0.0f;
        float highestBar = std::numeric_limits<float>::infinity();
    };
    std::unique_ptr<State> state;
};

const PyFluid::State& StateOf(const PyFluid& f) {
    if (!f.state)
        throw TypeMismatch("Dieses morvek.Fluid hat keinen Zustand: Fluid(case) erzeugt eines.");
    return *f.state;
}

std::unique_ptr<PyFluid::State> MakeFluid(const CaseInputs& inputs, bool useApi) {
    CheckForRun(inputs);
    return std::make_unique<PyFluid::State>(inputs, useApi);
}

using Property = double (*)(const FluidModel&, float);

// The property at every pressure: pressures are taken in single precision, as
// the engine takes them; a scalar gives a float, an array an array of its
// shape. A pressure where the fluids are not defined (NaN, not above 0 bar,
// outside a laboratory table) gives NaN.
py::object Evaluate(const PyFluid& f, const py::handle& pressure, Property property) {
    const PyFluid::State& state = StateOf(f);
    if (py::isinstance<py::str>(pressure) || py::isinstance<py::bytes>(pressure) ||
        py::isinstance<py::bool_>(pressure))
        throw TypeMismatch("p_bar: Bitte Drücke in bar als Zahlen angeben.");
    const auto p = py::array_t<float, py::array::c_style | py::array::forcecast>::ensure(pressure);
    if (!p) throw TypeMismatch("p_bar: Bitte Drücke in bar als Zahlen angeben.");
    py::array_t<double> out(std::vector<py::ssize_t>(p.shape(), p.shape() + p.ndim()));
    const float* in = p.data();
    double* result = out.mutable_data();
    const py::ssize_t n = p.size();
    {
        py::gil_scoped_release release;
        for (py::ssize_t i = 0; i < n; ++i) {
            const float bar = in[i];
            result[i] = bar > 0.0f && bar >= state.lowestBar && bar <= state.highestBar
                            ? property(state.fluid, bar)
                            : std::numeric_limits<double>::quiet_NaN();
        }
    }
    if (p.ndim() == 0) return py::float_(result[0]);
    return out;
}

struct Method {
    const char* name;
    const char* doc;
    Property property;
};

const Method kMethods[] = {
    {"rs", "Solution gas-oil ratio Rs at the pressures (bar), sm³/m³.",
     [](const FluidModel& f, float p) { return f.Rs(p); }},
    {"bo", "Oil formation volume factor Bo at the pressures (bar), m³/sm³.",
     [](const FluidModel& f, float p) { return f.Bo(p); }},
    {"co", "Oil compressibility co at the pressures (bar), 1/bar.",
     [](const FluidModel& f, float p) { return f.Co(p); }},
    {"mu_o", "Oil viscosity at the pressures (bar), cP (with the case's calibration).",
     [](const FluidModel& f, float p) { return f.OilViscosity(p); }},
    {"bg", "Gas formation volume factor Bg at the pressures (bar), m³/sm³.",
     [](const FluidModel& f, float p) { return f.Bg(p); }},
    {"mu_g", "Gas viscosity at the pressures (bar), cP.",
     [](const FluidModel& f, float p) { return f.GasViscosity(p); }},
    {"z", "Real-gas deviation factor z at the pressures (bar).",
     [](const FluidModel& f, float p) { return f.Z(p); }},
};

}  // namespace

void RegisterFluid(py::module_& m) {
    py::class_<PyFluid> cls(m, "Fluid", R"doc(Fluid(case, *, use_api_from_initial_gor=False)
--

The fluids of a case: oil and gas properties as functions of the pressure, as
the prediction computes them (the case's correlation, gas composition,
temperature and bubble point, and its viscosity calibration; or its laboratory
PVT table).

Every method takes a pressure in bar, a scalar or anything NumPy makes an array
of, and returns a float or a float64 array of the same shape. Pressures are
taken in single precision, as the engine takes them (``fluid.bo(200.1)``
computes at the single-precision value nearest 200.1). Where the fluids are not
defined (NaN, a pressure not above 0 bar, or outside the case's PVT table,
which is not extrapolated) the value is NaN.)doc");
    ConstructOnNew(cls);
    cls.attr("__init__") = py::cpp_function(
        [](PyFluid& f, const py::object& c, const py::object& useApi) {
            f.state = MakeFluid(InputsOfArg(c, "case"), BoolArg(useApi, "use_api_from_initial_gor"));
        },
        py::name("init_fluid"), py::is_method(cls), py::arg("case"), py::kw_only(),
        py::arg("use_api_from_initial_gor") = false,
        "init_fluid(self, /, case, *, use_api_from_initial_gor=False)\n--\n\n"
        "The fluids of the case, after the checks of the dialog's OK button (InputError);\n"
        "the keyword as in Case.predict().");
    static std::deque<std::string> docs;  // as long as the module
    for (const Method& method : kMethods) {
        const Property property = method.property;
        docs.push_back(std::string(method.name) + "(self, /, p_bar)\n--\n\n" + method.doc);
        cls.def(
            method.name,
            [property](const PyFluid& f, const py::object& p) { return Evaluate(f, p, property); },
            py::arg("p_bar"),
            docs.back().c_str());
    }
    cls.def_property_readonly(
        "api_gravity", [](const PyFluid& f) { return PyValueOf(StateOf(f).fluid.ApiGravity()); },
        "The API gravity of the oil, as the run takes it.");
    cls.def_property_readonly(
        "gas_relative_density",
        [](const PyFluid& f) { return StateOf(f).fluid.Gas().relativeDensity; },
        "Relative density of the gas, air = 1.");
    cls.def_property_readonly(
        "case", [](const PyFluid& f) { return NewCase(StateOf(f).inputs); }, "A copy of the case.");
    cls.def_property_readonly(
        "use_api_from_initial_gor",
        [](const PyFluid& f) { return StateOf(f).options.useApiFromInitialGor; },
        "The run's decision.");
    cls.def(
        "__repr__",
        [](const PyFluid& f) {
            if (!f.state) return std::string("<morvek.Fluid ohne Zustand>");
            return Format("<morvek.Fluid %s: %s API>",
                          py::repr(MessageText(f.state->inputs.fieldName)).cast<std::string>().c_str(),
                          ShortestText(f.state->fluid.ApiGravity()).c_str());
        },
        "__repr__(self, /)\n--\n\n");
    cls.def(
        "__reduce__",
        [](const PyFluid& f) {
            const PyFluid::State& state = StateOf(f);
            py::dict d;
            d["case"] = CaseState(state.inputs);
            d["use_api_from_initial_gor"] = state.options.useApiFromInitialGor;
            return ReduceTo("Fluid", d);
        },
        "__reduce__(self, /)\n--\n\nPickles through morvek._restore.");
    AddRestorer("Fluid", [](const StateReader& state) {
        PyFluid f;
        f.state = MakeFluid(CaseFromState(state.Get("case")), state.Bool("use_api_from_initial_gor"));
        return py::cast(std::move(f));
    });
}

}  // namespace morvek::python
