// morvek.Fluid: the fluids of a case, every property vectorised over NumPy
// arrays of pressure.

#include <memory>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"
#include "pvt/FluidModel.h"

namespace morvek::python {
namespace {

struct PyFluid {
    PyFluid(const CaseInputs& in, bool useApi)
        : inputs(in), options{useApi}, fluid(FluidOfCase(in, options)) {}
    CaseInputs inputs;
    RunOptions options;
    FluidModel fluid;
};

std::unique_ptr<PyFluid> MakeFluid(const CaseInputs& inputs, bool useApi) {
    CheckForRun(inputs);
    return std::make_unique<PyFluid>(inputs, useApi);
}

using Property = double (*)(const FluidModel&, float);

// The property at every pressure: pressures are taken in single precision, as
// the engine takes them; a scalar gives a float, an array an array of its shape.
py::object Evaluate(const PyFluid& f, const py::handle& pressure, Property property) {
    const auto p = py::array_t<float, py::array::c_style | py::array::forcecast>::ensure(pressure);
    if (!p) throw TypeMismatch("Bitte Drücke in bar als Zahlen angeben.");
    py::array_t<double> out(std::vector<py::ssize_t>(p.shape(), p.shape() + p.ndim()));
    const float* in = p.data();
    double* result = out.mutable_data();
    const py::ssize_t n = p.size();
    {
        py::gil_scoped_release release;
        for (py::ssize_t i = 0; i < n; ++i) result[i] = property(f.fluid, in[i]);
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
    py::class_<PyFluid> cls(m, "Fluid", R"doc(
The fluids of a case: oil and gas properties as functions of the pressure, as
the prediction computes them (the case's correlation, gas composition,
temperature and bubble point, and its viscosity calibration).

Every method takes a pressure in bar, a scalar or anything NumPy makes an array
of, and returns a float or a float64 array of the same shape. Pressures are
taken in single precision, as the engine takes them (``fluid.bo(200.1)``
computes at the single-precision value nearest 200.1).)doc");
    cls.def(py::init([](const PyCase& c, bool useApi) { return MakeFluid(c.inputs, useApi); }),
            py::arg("case"), py::kw_only(), py::arg("use_api_from_initial_gor") = false,
            "The fluids of the case, after the checks of the dialog's OK button (InputError);\n"
            "the keyword as in Case.predict().");
    for (const Method& method : kMethods) {
        const Property property = method.property;
        cls.def(
            method.name,
            [property](const PyFluid& f, const py::object& p) { return Evaluate(f, p, property); },
            py::arg("p_bar"), method.doc);
    }
    cls.def_property_readonly(
        "api_gravity", [](const PyFluid& f) { return PyValueOf(f.fluid.ApiGravity()); },
        "The API gravity of the oil, as the run takes it.");
    cls.def_property_readonly(
        "gas_relative_density", [](const PyFluid& f) { return f.fluid.Gas().relativeDensity; },
        "Relative density of the gas, air = 1.");
    cls.def_property_readonly(
        "case", [](const PyFluid& f) { return NewCase(f.inputs); }, "A copy of the case.");
    cls.def_property_readonly(
        "use_api_from_initial_gor", [](const PyFluid& f) { return f.options.useApiFromInitialGor; },
        "The run's decision.");
    cls.def("__repr__", [](const PyFluid& f) {
        return Format("<morvek.Fluid %s: %s API>",
                      py::repr(MessageText(f.inputs.fieldName)).cast<std::string>().c_str(),
                      ShortestText(f.fluid.ApiGravity()).c_str());
    });
    cls.def(py::pickle(
        [](const PyFluid& f) {
            return py::make_tuple(CaseState(f.inputs), f.options.useApiFromInitialGor);
        },
        [](const py::tuple& state) {
            return MakeFluid(CaseFromState(state[0].cast<py::dict>()), state[1].cast<bool>());
        }));
}

}  // namespace morvek::python
