// The laboratory tables of a case from Python: Case.pvt_table_data and
// Case.relperm_table_data (a pandas DataFrame or a list of rows, None for the
// correlations and the built-in saturation model), Case.read_pvt_table() and
// Case.read_relperm_table() (the table files the dialog's buttons read), all
// checked exactly as the program checks a table file.

#include <pybind11/stl.h>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "model/LabTables.h"

namespace morvek::python {
namespace {

// The name a table given as numbers carries in the report.
constexpr const char* kScriptTableName = "aus Python";

constexpr const char* kPvtColumns[] = {"p_bar", "bo", "rs", "bg", "mu_o", "mu_g"};
constexpr const char* kRelPermColumns[] = {"sg", "krg", "kro"};

std::string Joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& p : problems) text += (text.empty() ? "" : "\n") + p;
    return text;
}

// The rows of a pandas DataFrame (by its column names) or of a list of
// sequences, each row as floats.
std::vector<std::vector<double>> RowsOf(const py::handle& data, const char* const* columns,
                                        size_t count) {
    std::vector<std::vector<double>> rows;
    if (py::hasattr(data, "columns") && py::hasattr(data, "to_numpy")) {
        py::list names;
        for (size_t i = 0; i < count; ++i) names.append(columns[i]);
        for (size_t i = 0; i < count; ++i)
            if (!data.attr("columns").attr("__contains__")(columns[i]).cast<bool>())
                throw InputError(std::string("Der Tabelle fehlt die Spalte \"") + columns[i] +
                                 "\".");
        const py::list values = data.attr("__getitem__")(names)
                                    .attr("to_numpy")(py::arg("dtype") = "float64")
                                    .attr("tolist")();
        for (const py::handle& row : values) rows.push_back(row.cast<std::vector<double>>());
        return rows;
    }
    for (const py::handle& row : data) {
        std::vector<double> values;
        for (const py::handle& v : row) values.push_back(v.cast<double>());
        if (values.size() != count)
            throw InputError("Die " + std::to_string(rows.size() + 1) + ". Zeile hat " +
                             std::to_string(values.size()) + " statt " + std::to_string(count) +
                             " Werte.");
        rows.push_back(std::move(values));
    }
    return rows;
}

py::object PvtData(const CaseInputs& in) {
    if (!in.pvtTable) return py::none();
    py::dict columns;
    for (size_t c = 0; c < std::size(kPvtColumns); ++c) {
        py::list values;
        for (const LabPvtRow& r : in.pvtTable->rows) {
            const float row[] = {r.pressureBar,   r.bo, r.rs, r.bg, r.oilViscosityCp,
                                 r.gasViscosityCp};
            values.append(PyValueOf(row[c]));
        }
        columns[kPvtColumns[c]] = values;
    }
    return DataFrameOf(columns);
}

py::object RelPermData(const CaseInputs& in) {
    if (!in.relPermTable) return py::none();
    py::dict columns;
    for (size_t c = 0; c < std::size(kRelPermColumns); ++c) {
        py::list values;
        for (const LabRelPermRow& r : in.relPermTable->rows) {
            const float row[] = {r.gasSaturation, r.krg, r.kro};
            values.append(PyValueOf(row[c]));
        }
        columns[kRelPermColumns[c]] = values;
    }
    return DataFrameOf(columns);
}

void SetPvtData(CaseInputs& in, const py::handle& data) {
    if (data.is_none()) {
        in.pvtTable.reset();
        return;
    }
    std::vector<LabPvtRow> rows;
    for (const auto& v : RowsOf(data, kPvtColumns, std::size(kPvtColumns)))
        rows.push_back({StoredFloat(v[0]), StoredFloat(v[1]), StoredFloat(v[2]), StoredFloat(v[3]),
                        StoredFloat(v[4]), StoredFloat(v[5])});
    LabPvtTable table;
    std::vector<std::string> problems;
    if (PvtTableFromRows(std::move(rows), kScriptTableName, table, problems) !=
        TableReadStatus::Read)
        throw InputError(Joined(problems));
    in.pvtTable = std::move(table);
}

void SetRelPermData(CaseInputs& in, const py::handle& data) {
    if (data.is_none()) {
        in.relPermTable.reset();
        return;
    }
    std::vector<LabRelPermRow> rows;
    for (const auto& v : RowsOf(data, kRelPermColumns, std::size(kRelPermColumns)))
        rows.push_back({StoredFloat(v[0]), StoredFloat(v[1]), StoredFloat(v[2])});
    LabRelPermTable table;
    std::vector<std::string> problems;
    if (RelPermTableFromRows(std::move(rows), kScriptTableName, table, problems) !=
        TableReadStatus::Read)
        throw InputError(Joined(problems));
    in.relPermTable = std::move(table);
}

// A table file into the case, all or nothing, as the dialog's buttons read it.
template <typename Table>
size_t ReadTable(std::optional<Table>& target, const py::handle& path, const char* kind,
                 TableReadStatus (*read)(const std::string&, Table&, std::vector<std::string>&)) {
    const PathArg p = PathOf(path);
    Table table;
    std::vector<std::string> problems;
    switch (read(p.bytes, table, problems)) {
        case TableReadStatus::Read:
            target = std::move(table);
            return target->rows.size();
        case TableReadStatus::Refused:
            throw InputError(TableProblemMessage(kind, p.text, problems));
        case TableReadStatus::Unreadable:
            break;
    }
    throw FileError(TableProblemMessage(kind, p.text, problems), OpenErrno(p.bytes));
}

}  // namespace

py::object LabTablesState(const CaseInputs& in) {
    py::dict state;
    if (in.pvtTable) {
        py::list rows;
        for (const LabPvtRow& r : in.pvtTable->rows)
            rows.append(py::make_tuple(r.pressureBar, r.bo, r.rs, r.bg, r.oilViscosityCp,
                                       r.gasViscosityCp));
        state["pvt"] = py::make_tuple(MessageText(in.pvtTable->fileName), rows);
    }
    if (in.relPermTable) {
        py::list rows;
        for (const LabRelPermRow& r : in.relPermTable->rows)
            rows.append(py::make_tuple(r.gasSaturation, r.krg, r.kro));
        state["relperm"] = py::make_tuple(MessageText(in.relPermTable->fileName), rows);
    }
    if (in.waterCutTable) {
        py::list rows;
        for (const LabWaterCutRow& r : in.waterCutTable->rows)
            rows.append(py::make_tuple(r.recoveryPct, r.waterCut));
        state["water_cut"] = py::make_tuple(MessageText(in.waterCutTable->fileName), rows);
    }
    return state;
}

void LabTablesFromState(CaseInputs& in, const py::dict& state) {
    // As stored: the values come back bit for bit (single precision both ways).
    if (state.contains("pvt")) {
        const auto t = state["pvt"].cast<py::tuple>();
        LabPvtTable table{t[0].cast<std::string>(), {}};
        for (const py::handle& row : t[1].cast<py::list>()) {
            const auto v = row.cast<std::vector<float>>();
            table.rows.push_back({v.at(0), v.at(1), v.at(2), v.at(3), v.at(4), v.at(5)});
        }
        in.pvtTable = std::move(table);
    }
    if (state.contains("relperm")) {
        const auto t = state["relperm"].cast<py::tuple>();
        LabRelPermTable table{t[0].cast<std::string>(), {}};
        for (const py::handle& row : t[1].cast<py::list>()) {
            const auto v = row.cast<std::vector<float>>();
            table.rows.push_back({v.at(0), v.at(1), v.at(2)});
        }
        in.relPermTable = std::move(table);
    }
    if (state.contains("water_cut")) {
        const auto t = state["water_cut"].cast<py::tuple>();
        LabWaterCutTable table{t[0].cast<std::string>(), {}};
        for (const py::handle& row : t[1].cast<py::list>()) {
            const auto v = row.cast<std::vector<float>>();
            table.rows.push_back({v.at(0), v.at(1)});
        }
        in.waterCutTable = std::move(table);
    }
}

void RegisterLabTables(py::module_& m) {
    auto cls = CaseClass(m);
    cls.def_property(
        "pvt_table_data", [](const PyCase& c) { return PvtData(c.inputs); },
        [](PyCase& c, py::handle data) { SetPvtData(c.inputs, data); },
        "The laboratory PVT table the case runs on instead of the correlations, as a pandas\n"
        "DataFrame with the columns p_bar, bo (m³/sm³), rs (sm³/m³), bg (m³/sm³), mu_o and\n"
        "mu_g (cP); None for the correlations. Assign a DataFrame with these columns or a\n"
        "list of rows (p, Bo, Rs, Bg, μo, μg) in any order; it is checked as a table file is\n"
        "(InputError with every bad row), and the report names it \"aus Python\". Assign\n"
        "None to go back to the correlations.");
    cls.def_property(
        "relperm_table_data", [](const PyCase& c) { return RelPermData(c.inputs); },
        [](PyCase& c, py::handle data) { SetRelPermData(c.inputs, data); },
        "The laboratory relative permeabilities the case runs on, as a pandas DataFrame with\n"
        "the columns sg (gas saturation, fraction of the pore volume), krg and kro; None for\n"
        "the built-in saturation model. Assign a DataFrame or a list of rows (Sg, krg, kro),\n"
        "checked as a table file is; None goes back to the model.");
    cls.def(
        "read_pvt_table",
        [](PyCase& c, py::handle path) {
            return ReadTable(c.inputs.pvtTable, path, "PVT-Tabelle", &ReadPvtTableFile);
        },
        py::arg("path"),
        "Reads a PVT table file (a header line, then pressure in bar, Bo, Rs, Bg, μo, μg per\n"
        "line) into the case, as the dialog's \"PVT-Tabelle lesen…\" does: the whole file or\n"
        "nothing. A refused file raises InputError naming every bad line, an unreadable one\n"
        "OSError. Returns the number of rows.");
    cls.def(
        "read_relperm_table",
        [](PyCase& c, py::handle path) {
            return ReadTable(c.inputs.relPermTable, path, "Relperm-Tabelle", &ReadRelPermTableFile);
        },
        py::arg("path"),
        "Reads a relative-permeability table file (a header line, then Sg, krg, kro per line)\n"
        "into the case, as the dialog's \"Relperm-Tabelle lesen…\" does. Returns the number of\n"
        "rows.");
}

}  // namespace morvek::python
