// The laboratory tables of a case from Python: Case.pvt_table_data and
// Case.relperm_table_data (a pandas DataFrame or a list of rows, None for the
// correlations and the built-in saturation model), Case.read_pvt_table() and
// Case.read_relperm_table() (the table files the dialog's buttons read), all
// checked exactly as the program checks a table file.

#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/LabTables.h"

namespace morvek::python {
namespace {

// The name a table given as numbers carries in the report.
constexpr const char* kScriptTableName = "aus Python";

// The columns of the data frames, in the order of the rows' Numbers() (the
// table files' columns); the pickled state uses them too.
constexpr const char* kPvtColumns[] = {"p_bar", "bo", "rs", "bg", "mu_o", "mu_g"};
constexpr const char* kRelPermColumns[] = {"sg", "krg", "kro"};
constexpr const char* kWaterCutColumns[] = {"recovery_pct", "water_cut"};
static_assert(std::size(kWaterCutColumns) == LabWaterCutRow::kColumns,
              "a frame column for every number");
static_assert(std::size(kPvtColumns) == LabPvtRow::kColumns, "a frame column for every number");
static_assert(std::size(kRelPermColumns) == LabRelPermRow::kColumns,
              "a frame column for every number");
// The PVT table's optional columns, after the six (a list's rows: 7 values
// with Rv, 8 with Rv and Bw).
constexpr const char* kPvtColumnsWithRv[] = {"p_bar", "bo", "rs", "bg", "mu_o", "mu_g", "rv"};
constexpr const char* kPvtColumnsWithBw[] = {"p_bar", "bo", "rs", "bg", "mu_o", "mu_g", "bw"};
constexpr const char* kPvtColumnsWithRvBw[] = {"p_bar", "bo", "rs", "bg", "mu_o", "mu_g", "rv",
                                               "bw"};

// The optional columns' values of the rows.
std::vector<float> OptionalColumn(const LabPvtTable& t, float LabPvtRow::*member) {
    std::vector<float> values;
    for (const LabPvtRow& r : t.rows) values.push_back(r.*member);
    return values;
}

std::string Joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& p : problems) text += (text.empty() ? "" : "\n") + p;
    return text;
}

// The rows of a pandas DataFrame (by its column names) or of a list of
// sequences, each row as floats.
template <size_t N>
std::vector<std::array<float, N>> RowsOf(const py::handle& data, const char* const (&columns)[N],
                                         const char* parameter) {
    py::object rows = py::reinterpret_borrow<py::object>(data);
    if (py::hasattr(data, "columns") && py::hasattr(data, "to_numpy")) {
        py::list names;
        for (const char* column : columns) {
            if (!py::bool_(data.attr("columns").attr("__contains__")(column)))
                throw InputError(std::string("Der Tabelle fehlt die Spalte \"") + column + "\".");
            names.append(column);
        }
        try {
            rows = data.attr("__getitem__")(names)
                       .attr("to_numpy")(py::arg("dtype") = "float64")
                       .attr("tolist")();
        } catch (py::error_already_set&) {
            throw TypeMismatch(
                Format("%s: die Spalten der Tabelle müssen Zahlen enthalten.", parameter));
        }
    } else if (py::isinstance<py::str>(data) || !py::isinstance<py::iterable>(data)) {
        throw TypeMismatch(Format("%s: eine Tabelle (pandas DataFrame) oder eine Liste von "
                                  "Zeilen erwartet.",
                                  parameter));
    }
    std::vector<std::array<float, N>> out;
    for (const py::handle& row : rows) {
        const size_t r = out.size();
        if (py::isinstance<py::str>(row) || !py::isinstance<py::sequence>(row))
            throw TypeMismatch(
                Format("%s[%zu]: eine Zeile aus %zu Zahlen erwartet.", parameter, r, N));
        const py::sequence values = py::reinterpret_borrow<py::sequence>(row);
        if (values.size() != N)
            throw InputError("Die " + std::to_string(r + 1) + ". Zeile hat " +
                             std::to_string(values.size()) + " statt " + std::to_string(N) +
                             " Werte.");
        std::array<float, N> numbers{};
        for (size_t i = 0; i < N; ++i)
            numbers[i] = StoredFloat(NumberArg(values[i], Format("%s[%zu][%zu]", parameter, r, i)));
        out.push_back(numbers);
    }
    return out;
}

template <typename Row, size_t N>
py::object TableData(const std::vector<Row>& rows, const char* const (&columns)[N]) {
    py::dict frame;
    for (size_t c = 0; c < N; ++c) {
        py::list values;
        for (const Row& r : rows) values.append(PyValueOf(r.Numbers()[c]));
        frame[columns[c]] = values;
    }
    return DataFrameOf(frame);
}

py::object PvtData(const CaseInputs& in) {
    if (!in.pvtTable) return py::none();
    const LabPvtTable& t = *in.pvtTable;
    if (!t.hasRv && !t.hasBw) return TableData(t.rows, kPvtColumns);
    py::dict frame;
    for (size_t c = 0; c < std::size(kPvtColumns); ++c) {
        py::list values;
        for (const LabPvtRow& r : t.rows) values.append(PyValueOf(r.Numbers()[c]));
        frame[kPvtColumns[c]] = values;
    }
    for (auto [on, name, member] : {std::tuple{t.hasRv, "rv", &LabPvtRow::rv},
                                    std::tuple{t.hasBw, "bw", &LabPvtRow::bw}}) {
        if (!on) continue;
        py::list values;
        for (float v : OptionalColumn(t, member)) values.append(PyValueOf(v));
        frame[name] = values;
    }
    return DataFrameOf(frame);
}

// The rows of pvt_table_data with the optional columns it has: a data
// frame's by their names, a list's as 7th (Rv) and 8th (Bw) value.
std::vector<LabPvtRow> PvtRowsOf(const py::handle& data, LabPvtColumns& columns) {
    std::vector<LabPvtRow> rows;
    const bool frame = py::hasattr(data, "columns") && py::hasattr(data, "to_numpy");
    size_t count = LabPvtRow::kColumns;
    if (frame) {
        const auto has = [&](const char* name) {
            return py::bool_(data.attr("columns").attr("__contains__")(name));
        };
        columns.rv = has("rv");
        columns.bw = has("bw");
        count += (columns.rv ? 1 : 0) + (columns.bw ? 1 : 0);
    } else if (py::isinstance<py::sequence>(data) && !py::isinstance<py::str>(data) &&
               py::len(data) > 0) {
        const py::handle first = py::reinterpret_borrow<py::sequence>(data)[0];
        if (py::isinstance<py::sequence>(first) && !py::isinstance<py::str>(first))
            count = std::clamp(py::len(first), LabPvtRow::kColumns, LabPvtRow::kColumns + 2);
        columns.rv = count > LabPvtRow::kColumns;
        columns.bw = count > LabPvtRow::kColumns + 1;
    }
    // After the six: Rv first, then Bw.
    auto take = [&rows, &columns](const auto& numbers) {
        for (const auto& v : numbers) {
            LabPvtRow r = LabPvtRow::FromNumbers({v[0], v[1], v[2], v[3], v[4], v[5]});
            size_t next = LabPvtRow::kColumns;
            if (columns.rv) r.rv = v[next++];
            if (columns.bw) r.bw = v[next++];
            rows.push_back(r);
        }
    };
    if (count == LabPvtRow::kColumns)
        take(RowsOf(data, kPvtColumns, "pvt_table_data"));
    else if (columns.rv && columns.bw)
        take(RowsOf(data, kPvtColumnsWithRvBw, "pvt_table_data"));
    else if (columns.rv)
        take(RowsOf(data, kPvtColumnsWithRv, "pvt_table_data"));
    else
        take(RowsOf(data, kPvtColumnsWithBw, "pvt_table_data"));
    return rows;
}

py::object RelPermData(const CaseInputs& in) {
    if (!in.relPermTable) return py::none();
    return TableData(in.relPermTable->rows, kRelPermColumns);
}

void SetPvtData(CaseInputs& in, const py::handle& data) {
    if (data.is_none()) {
        in.pvtTable.reset();
        return;
    }
    LabPvtColumns columns;
    std::vector<LabPvtRow> rows = PvtRowsOf(data, columns);
    LabPvtTable table;
    std::vector<std::string> problems;
    if (PvtTableFromRows(std::move(rows), kScriptTableName, table, problems, columns) !=
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
    for (const auto& v : RowsOf(data, kRelPermColumns, "relperm_table_data"))
        rows.push_back(LabRelPermRow::FromNumbers(v));
    LabRelPermTable table;
    std::vector<std::string> problems;
    if (RelPermTableFromRows(std::move(rows), kScriptTableName, table, problems) !=
        TableReadStatus::Read)
        throw InputError(Joined(problems));
    in.relPermTable = std::move(table);
}

// A table in the pickled state: its file name and each frame column as a list.
template <typename Table, size_t N>
py::dict TableState(const Table& table, const char* const (&columns)[N]) {
    py::dict state;
    state["file_name"] = MessageText(table.fileName);
    for (size_t c = 0; c < N; ++c) {
        py::list values;
        for (const auto& r : table.rows) values.append(double(r.Numbers()[c]));
        state[columns[c]] = values;
    }
    return state;
}

template <typename Table, size_t N>
Table TableFromState(py::handle item, const char* const (&columns)[N], const char* kind,
                     const StateReader& outer) {
    if (!PyDict_CheckExact(item.ptr())) outer.Wrong(Format("\"%s\" ist kein dict", kind));
    const StateReader state(item, kind);
    Table table;
    table.fileName = state.Text("file_name");
    std::string cp1252;
    if (!Utf8ToCp1252(table.fileName, cp1252)) state.Damaged("der Name der Tabelle");
    std::vector<py::list> values;
    for (const char* column : columns) {
        values.push_back(state.List(column));
        if (values.back().size() != values.front().size() ||
            values.back().size() > size_t(kMaxLabTableRows))
            state.Damaged(Format("die Spalte %s", column));
    }
    for (size_t r = 0; r < values.front().size(); ++r) {
        std::array<float, N> numbers{};
        for (size_t c = 0; c < N; ++c)
            numbers[c] = static_cast<float>(state.DoubleOf(values[c][r], columns[c]));
        table.rows.push_back(decltype(table.rows)::value_type::FromNumbers(numbers));
    }
    if (!IsValidTable(table)) state.Damaged("keine gültige Tabelle");
    return table;
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

py::dict LabTablesState(const CaseInputs& in) {
    py::dict state;
    if (in.pvtTable) {
        py::dict pvt = TableState(*in.pvtTable, kPvtColumns);
        // The optional columns as lists of their own, only when the table has them.
        if (in.pvtTable->hasRv) pvt["rv"] = OptionalColumn(*in.pvtTable, &LabPvtRow::rv);
        if (in.pvtTable->hasBw) pvt["bw"] = OptionalColumn(*in.pvtTable, &LabPvtRow::bw);
        state["pvt"] = pvt;
    }
    if (in.relPermTable) state["relperm"] = TableState(*in.relPermTable, kRelPermColumns);
    if (in.waterCutTable)
        state["water_cut"] = TableState(*in.waterCutTable, kWaterCutColumns);
    return state;
}

void LabTablesFromState(CaseInputs& in, const py::dict& tables, const StateReader& reader) {
    // As stored: the values come back bit for bit (single precision both ways).
    for (const auto& [key, value] : tables) {
        const std::string name = reader.TextOf(key, "lab_tables");
        if (name == "pvt") {
            LabPvtTable table = TableFromState<LabPvtTable>(value, kPvtColumns, "pvt", reader);
            const StateReader pvt(value, "pvt");
            for (auto [flag, key, member] : {std::tuple{&LabPvtTable::hasRv, "rv", &LabPvtRow::rv},
                                             std::tuple{&LabPvtTable::hasBw, "bw", &LabPvtRow::bw}}) {
                if (!pvt.Has(key)) continue;
                const py::list values = pvt.List(key);
                if (values.size() != table.rows.size()) pvt.Damaged(Format("die Spalte %s", key));
                table.*flag = true;
                for (size_t r = 0; r < table.rows.size(); ++r)
                    table.rows[r].*member = static_cast<float>(pvt.DoubleOf(values[r], key));
            }
            if (!IsValidTable(table)) pvt.Damaged("keine gültige Tabelle");
            in.pvtTable = std::move(table);
        }
        else if (name == "relperm")
            in.relPermTable =
                TableFromState<LabRelPermTable>(value, kRelPermColumns, "relperm", reader);
        else if (name == "water_cut")
            in.waterCutTable =
                TableFromState<LabWaterCutTable>(value, kWaterCutColumns, "water_cut", reader);
        else
            reader.Damaged("unbekannte Tabelle \"" + name + "\"");
    }
}

void RegisterLabTables(py::module_& m) {
    auto cls = CaseClass(m);
    cls.def_property(
        "pvt_table_data", [](const PyCase& c) { return PvtData(c.inputs); },
        [](PyCase& c, py::handle data) { SetPvtData(c.inputs, data); },
        "The laboratory PVT table the case runs on instead of the correlations, as a pandas\n"
        "DataFrame with the columns p_bar, bo (m³/sm³), rs (sm³/m³), bg (m³/sm³), mu_o and\n"
        "mu_g (cP), and rv (vaporised oil-gas ratio, m³/sm³) and bw (water formation volume\n"
        "factor, m³/sm³) when the table has them; None for the correlations. Assign a\n"
        "DataFrame with these columns (rv and bw optional) or a list of rows (p, Bo, Rs, Bg,\n"
        "μo, μg[, Rv[, Bw]]) in any order; it is checked as a table file is\n"
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
        "read_pvt_table(self, /, path)\n--\n\n"
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
        "read_relperm_table(self, /, path)\n--\n\n"
        "Reads a relative-permeability table file (a header line, then Sg, krg, kro per line)\n"
        "into the case, as the dialog's \"Relperm-Tabelle lesen…\" does. Returns the number of\n"
        "rows.");
}

}  // namespace morvek::python
