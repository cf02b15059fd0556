// Case.pvt_table() and Case.relperm_table(): the two tables of the program
// (batch mode's --pvt and --relperm) as NumPy columns, pandas tables and
// their German reports.

#include <limits>
#include <memory>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Format.h"

namespace morvek::python {
namespace {

// One table run: the case, the run's decision and the engine's CaseRun.
struct PyTable {
    CaseInputs inputs;
    RunOptions options;
    CaseRun run;
    std::vector<py::object> columns;  // built when first asked for
};

struct PyPvtTable : PyTable {};
struct PyRelPermTable : PyTable {};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using PvtRow = PvtTableRow;
const Column<PvtRow> kPvtColumns[] = {
    {"p_bar", "bar", "Pressure, bar.", &PvtRow::pressureBar},
    {"rs", "sm³/m³", "Solution gas-oil ratio Rs, sm³/m³.",
     [](const PvtRow& r) { return r.failedQuantity != RunQuantity::None ? kNaN : r.rs; }},
    {"bo", "m³/sm³", "Oil formation volume factor Bo, m³/sm³.",
     [](const PvtRow& r) { return r.failedQuantity != RunQuantity::None ? kNaN : r.bo; }},
    {"mu_o", "cP", "Oil viscosity, cP.",
     [](const PvtRow& r) { return r.failedQuantity != RunQuantity::None ? kNaN : r.oilViscosityCp; }},
    {"co", "1/bar", "Oil compressibility, 1/bar.",
     [](const PvtRow& r) { return r.failedQuantity != RunQuantity::None ? kNaN : r.co; }},
    {"bg", "m³/sm³", "Gas formation volume factor Bg, m³/sm³.",
     [](const PvtRow& r) { return r.failedQuantity != RunQuantity::None ? kNaN : r.bg; }},
    {"mu_g", "cP", "Gas viscosity, cP.",
     [](const PvtRow& r) { return r.failedQuantity != RunQuantity::None ? kNaN : r.gasViscosityCp; }},
};

using RelPermRow = RelPermTableRow;
const Column<RelPermRow> kRelPermColumns[] = {
    {"so", "", "Oil saturation So, fraction of the pore volume.", &RelPermRow::oilSaturation},
    {"sg", "", "Gas saturation Sg = 1 - SL.", &RelPermRow::gasSaturation},
    {"kro", "", "Relative permeability of oil.", &RelPermRow::kro},
    {"krg", "", "Relative permeability of gas.", &RelPermRow::krg},
    {"krg_kro", "", "krg/kro as the report shows it.", &RelPermRow::krgKro},
};

template <typename Row, size_t N>
py::object ColumnOf(PyTable& t, const std::vector<Row>& rows, const Column<Row> (&columns)[N],
                    size_t i) {
    if (t.columns.empty()) t.columns.resize(N);
    if (!t.columns[i]) t.columns[i] = ColumnArray(rows, columns[i]);
    return t.columns[i];
}

template <typename T>
std::unique_ptr<T> RunTable(const CaseInputs& inputs, bool useApi, ResultKind kind) {
    auto t = std::make_unique<T>();
    t->inputs = inputs;
    t->options.useApiFromInitialGor = useApi;
    CheckForRun(t->inputs);
    py::gil_scoped_release release;
    t->run = RunCase(t->inputs, kind, t->options);
    return t;
}

// What both tables offer: report, diagnostics, the case, pickling (a table
// pickles as its case and decision and is computed again, which is exact).
template <typename T, typename Row, size_t N>
void DefineTable(py::class_<T>& cls, ResultKind kind, const std::vector<Row>& (*rowsOf)(const T&),
                 const Column<Row> (&columns)[N]) {
    for (size_t i = 0; i < N; ++i) {
        cls.def_property_readonly(
            columns[i].name,
            [i, rowsOf, &columns](T& t) { return ColumnOf(t, rowsOf(t), columns, i); },
            columns[i].doc);
    }
    RefuseNew(cls);
    cls.def(
        "to_pandas",
        [rowsOf, &columns](T& t) {
            py::dict d;
            for (size_t i = 0; i < N; ++i) d[columns[i].name] = ColumnOf(t, rowsOf(t), columns, i);
            return DataFrameOf(d);
        },
        "to_pandas(self, /)\n--\n\nThe columns as a pandas DataFrame (a copy).");
    cls.def(
        "report", [](const T& t) { return MessageText(JoinedReport(t.run.report)); },
        "report(self, /)\n--\n\nThe German report, byte for byte what batch mode writes with this table's option.");
    cls.def_property_readonly(
        "diagnostics",
        [kind](const T& t) { return TextList(RunDiagnostics(t.inputs, t.options, kind, nullptr)); },
        "The German messages the program shows beside the report (batch mode: on stderr).");
    cls.def_property_readonly(
        "case", [](const T& t) { return NewCase(t.inputs); }, "A copy of the case.");
    cls.def(
        "__len__", [rowsOf](const T& t) { return rowsOf(t).size(); },
        "__len__(self, /)\n--\n\nThe number of rows.");
    static const char* const kinds[] = {"PvtTable", "RelPermTable"};
    const char* kindName = kinds[kind == ResultKind::PvtTable ? 0 : 1];
    cls.def(
        "__reduce__",
        [kindName](const T& t) {
            py::dict state;
            state["case"] = CaseState(t.inputs);
            state["use_api_from_initial_gor"] = t.options.useApiFromInitialGor;
            return ReduceTo(kindName, state);
        },
        "__reduce__(self, /)\n--\n\n"
        "Pickles through morvek._restore: the case and the decision; the table is computed\n"
        "again, which is exact.");
    AddRestorer(kindName, [kind](const StateReader& state) {
        const CaseInputs inputs = CaseFromState(state.Get("case"));
        const bool useApi = state.Bool("use_api_from_initial_gor");
        return py::cast(RunTable<T>(inputs, useApi, kind));
    });
}

const std::vector<PvtRow>& PvtRows(const PyPvtTable& t) {
    return t.run.pvtTable->rows;
}
const std::vector<RelPermRow>& RelPermRows(const PyRelPermTable& t) {
    return t.run.relPermTable->rows;
}

}  // namespace

void RegisterTables(py::module_& m) {
    py::class_<PyPvtTable> pvt(m, "PvtTable", R"doc(
The PVT table of a case (batch mode's --pvt): every fluid property on a pressure
grid up to the initial pressure (5 bar apart below 200 bar, else 10 bar). Rows
where a correlation gives no meaningful value hold NaN; ``failed`` names them.)doc");
    DefineTable(pvt, ResultKind::PvtTable, &PvtRows, kPvtColumns);
    pvt.def_property_readonly(
        "failed",
        [](const PyPvtTable& t) {
            py::list out;
            for (const PvtRow& r : PvtRows(t))
                if (r.failedQuantity != RunQuantity::None)
                    out.append(py::make_tuple(PyValueOf(r.pressureBar),
                                              MessageText(RunQuantityName(r.failedQuantity))));
            return out;
        },
        "Rows without numbers: tuples (p_bar, the report's name of the failed quantity).");
    pvt.def_property_readonly(
        "api_gravity", [](const PyPvtTable& t) { return PyValueOf(t.run.apiGravity); },
        "The API gravity the table was computed with.");
    pvt.def_property_readonly(
        "use_api_from_initial_gor",
        [](const PyPvtTable& t) { return t.options.useApiFromInitialGor; },
        "The run's decision (batch mode's --answer ja when True).");
    pvt.def(
        "__repr__",
        [](const PyPvtTable& t) {
            return Format("<morvek.PvtTable %s: %zu rows>",
                          py::repr(MessageText(t.inputs.fieldName)).cast<std::string>().c_str(),
                          PvtRows(t).size());
        },
        "__repr__(self, /)\n--\n\n");

    py::class_<PyRelPermTable> relPerm(m, "RelPermTable", R"doc(
The table of the relative permeabilities against the oil saturation (batch
mode's --relperm): 51 saturations, single precision as printed.)doc");
    DefineTable(relPerm, ResultKind::RelPermTable, &RelPermRows, kRelPermColumns);
    relPerm.def(
        "__repr__",
        [](const PyRelPermTable& t) {
            return Format("<morvek.RelPermTable %s: %zu rows>",
                          py::repr(MessageText(t.inputs.fieldName)).cast<std::string>().c_str(),
                          RelPermRows(t).size());
        },
        "__repr__(self, /)\n--\n\n");

    py::class_<PyCase> cls = CaseClass(m);
    cls.def(
        "pvt_table",
        [](const PyCase& c, const py::object& useApi) {
            return RunTable<PyPvtTable>(c.inputs, BoolArg(useApi, "use_api_from_initial_gor"),
                                        ResultKind::PvtTable);
        },
        py::kw_only(), py::arg("use_api_from_initial_gor") = false,
        "pvt_table(self, /, *, use_api_from_initial_gor=False)\n--\n\nThe PVT table of the case, after the checks of the dialog's OK button; the keyword\n"
        "as in predict().");
    cls.def(
        "relperm_table",
        [](const PyCase& c) {
            return RunTable<PyRelPermTable>(c.inputs, false, ResultKind::RelPermTable);
        },
        "relperm_table(self, /)\n--\n\nThe table of the relative permeabilities, after the checks of the dialog's OK button.");
}

}  // namespace morvek::python
