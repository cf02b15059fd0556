// The production history and the material balance with water influx from
// Python: Case.history (a pandas DataFrame), Case.read_history() (the file
// the dialog's "Produktionshistorie lesen…" and --historie read),
// Case.history_balance() (the rows of --history-csv) and Case.mb_fit() (the
// regression F = N Et + We of --mb-fit, returning a MatchResult as
// Case.match does).

#include <pybind11/stl.h>

#include <limits>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyResults.h"
#include "base/NumberText.h"
#include "match/MatchReport.h"
#include "model/FieldTable.h"
#include "waterdrive/HistoryFile.h"
#include "waterdrive/MaterialBalance.h"

namespace morvek::python {
namespace {

constexpr const char* kScriptHistoryName = "aus Python";
constexpr const char* kHistoryColumns[] = {"days",      "pressure_bar", "np_1000m3", "gp_mio_sm3",
                                           "wp_1000m3", "wi_1000m3",    "gi_mio_sm3"};

std::string Joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& p : problems) text += (text.empty() ? "" : "\n") + p;
    return text;
}

py::object HistoryData(const CaseInputs& in) {
    if (!in.history) return py::none();
    py::dict columns;
    for (size_t c = 0; c < std::size(kHistoryColumns); ++c) {
        py::list values;
        for (const HistoryRow& r : in.history->rows) values.append(PyValueOf(r.Numbers()[c]));
        columns[kHistoryColumns[c]] = values;
    }
    py::object frame = DataFrameOf(columns);
    if (!in.history->startDate.empty()) {
        // The dates of the rows beside their days.
        py::object pandas = py::module_::import("pandas");
        py::object start = pandas.attr("Timestamp")(in.history->startDate);
        frame.attr("insert")(0, "date",
                             start + pandas.attr("to_timedelta")(frame["days"], py::arg("unit") = "D"));
    }
    return frame;
}

// A column of a data frame as floats, or an empty vector when it has none.
std::vector<double> Column(const py::handle& frame, const char* name) {
    if (!frame.attr("columns").attr("__contains__")(name).cast<bool>()) return {};
    return frame.attr("__getitem__")(name)
        .attr("to_numpy")(py::arg("dtype") = "float64")
        .attr("tolist")()
        .cast<std::vector<double>>();
}

void SetHistoryData(CaseInputs& in, const py::handle& data) {
    if (data.is_none()) {
        in.history.reset();
        return;
    }
    if (!py::hasattr(data, "columns") || !py::hasattr(data, "to_numpy"))
        throw py::type_error("history: a pandas DataFrame or None is expected.");
    std::string startDate;
    std::vector<double> days = Column(data, "days");
    const bool dated = data.attr("columns").attr("__contains__")("date").cast<bool>();
    if (dated && days.empty()) {
        // Dates: day 0 is the first row's.
        py::object pandas = py::module_::import("pandas");
        py::object dates = pandas.attr("to_datetime")(data.attr("__getitem__")("date"));
        if (py::len(dates) > 0) {
            py::object first = dates.attr("iloc").attr("__getitem__")(0);
            startDate = first.attr("strftime")("%Y-%m-%d").cast<std::string>();
            days = (dates - first).attr("dt").attr("days").attr("tolist")().cast<std::vector<double>>();
        }
    }
    const std::vector<double> pressure = Column(data, "pressure_bar");
    const std::vector<double> np = Column(data, "np_1000m3");
    std::vector<double> gp = Column(data, "gp_mio_sm3");
    const std::vector<double> rp = Column(data, "rp_sm3_per_m3");
    if ((days.empty() && !dated) || pressure.empty() || np.empty() || (gp.empty() && rp.empty()))
        throw InputError(
            "Der Historie fehlt eine Spalte: days oder date, pressure_bar, np_1000m3, gp_mio_sm3 "
            "oder rp_sm3_per_m3 sind nötig.");
    const size_t n = pressure.size();
    if (gp.empty())
        for (size_t i = 0; i < n; ++i) gp.push_back(rp[i] * np[i] / 1000.0);
    const std::vector<double> wp = Column(data, "wp_1000m3"), wi = Column(data, "wi_1000m3"),
                              gi = Column(data, "gi_mio_sm3");
    auto at = [](const std::vector<double>& v, size_t i) { return v.empty() ? 0.0 : v[i]; };
    std::vector<HistoryRow> rows;
    for (size_t i = 0; i < n; ++i)
        rows.push_back({StoredFloat(at(days, i)), StoredFloat(pressure[i]), StoredFloat(np[i]),
                        StoredFloat(gp[i]), StoredFloat(at(wp, i)), StoredFloat(at(wi, i)),
                        StoredFloat(at(gi, i))});
    ProductionHistory history;
    std::vector<std::string> problems;
    if (HistoryFromRows(rows, kScriptHistoryName, startDate, history, problems) !=
        TableReadStatus::Read)
        throw InputError(Joined(problems));
    in.history = std::move(history);
}

size_t ReadHistory(CaseInputs& in, const py::handle& path) {
    const PathArg p = PathOf(path);
    ProductionHistory history;
    std::vector<std::string> problems;
    switch (ReadHistoryFile(p.bytes, history, problems)) {
        case TableReadStatus::Read:
            in.history = std::move(history);
            return in.history->rows.size();
        case TableReadStatus::Refused:
            throw InputError(TableProblemMessage("Produktionshistorie", p.text, problems));
        case TableReadStatus::Unreadable:
            break;
    }
    throw FileError(TableProblemMessage("Produktionshistorie", p.text, problems),
                    OpenErrno(p.bytes));
}

MbObjective ObjectiveOf(const py::handle& objective) {
    if (!py::isinstance<py::str>(objective))
        throw py::type_error("objective: \"f\" or \"pressure\" is expected.");
    const std::string o = objective.cast<std::string>();
    if (o == "f") return MbObjective::F;
    if (o == "pressure") return MbObjective::Pressure;
    throw InputError("objective erwartet \"f\" oder \"pressure\", nicht \"" + o + "\".");
}

MatchResult MbFitCase(const PyCase& c, const std::vector<std::string>& names,
                      const py::handle& objective, const py::dict& starts, const py::dict& bounds,
                      int maxIterations, bool useApi) {
    CheckForRun(c.inputs);
    MbFitOptions options;
    options.objective = ObjectiveOf(objective);
    options.maxIterations = maxIterations;
    options.run.useApiFromInitialGor = useApi;
    // Named as given (the CSV's names); the module's short names ("ooip") as
    // the field's own name, as match() takes them.
    for (const std::string& n : names) {
        const Field* f = FieldOfName(n);
        options.parameters.push_back({f != nullptr && FindField(n) == nullptr ? f->name : n, {}, {}});
    }
    for (const py::dict* given : {&starts, &bounds})
        for (const auto& [key, value] : *given) {
            const std::string k = key.cast<std::string>();
            MatchParameter* target = nullptr;
            for (MatchParameter& p : options.parameters)
                if (FindField(p.name) != nullptr && FindField(p.name) == FieldOfName(k)) target = &p;
            if (target == nullptr) throw InputError("\"" + k + "\" wird nicht angepaßt.");
            if (given == &starts) {
                if (!py::isinstance<py::float_>(value) && !py::isinstance<py::int_>(value))
                    throw py::type_error("starts: a number is expected for \"" + k + "\".");
                target->start = value.cast<double>();
            } else {
                const auto range = value.cast<std::pair<double, double>>();
                target->bounds = MatchBounds{range.first, range.second};
            }
        }
    if (const std::string why = CheckMbFit(c.inputs, options); !why.empty()) throw InputError(why);
    // The regression works on copies made while the interpreter lock is held.
    const CaseInputs inputs = c.inputs;
    MatchResult out;
    {
        py::gil_scoped_release released;
        out = MbFit(inputs, options);
    }
    if (out.status == MatchStatus::Refused) throw InputError(out.message);
    return out;
}

py::object BalanceTable(const CaseInputs& in, bool useApi) {
    RunOptions run;
    run.useApiFromInitialGor = useApi;
    const HistoryBalance b = BalanceOfHistory(in, run);
    if (!b.problem.empty()) throw InputError(b.problem);
    const HistoryBalance computed = BalanceOfHistory(in, run, true);
    py::dict columns;
    const char* names[] = {"days", "pressure_bar", "computed_pressure_bar", "np_1000m3",
                           "f_1000m3", "eo", "eg", "efw", "et", "we_1000m3", "ddi", "gdi",
                           "cdi", "wdi", "sum"};
    std::vector<py::list> lists(std::size(names));
    size_t c = 0;
    for (const HistoryBalanceRow& r : b.rows) {
        while (c < computed.rows.size() && computed.rows[c].row < r.row) ++c;
        const bool has = c < computed.rows.size() && computed.rows[c].row == r.row;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double values[] = {r.days, r.measuredPressureBar, has ? computed.rows[c].pressureBar : nan,
                                 r.np1000m3, r.f1000m3, r.eo, r.eg, r.efw, r.et, r.we1000m3,
                                 r.hasIndices ? r.ddi : nan, r.hasIndices ? r.gdi : nan,
                                 r.hasIndices ? r.cdi : nan, r.hasIndices ? r.wdi : nan,
                                 r.hasIndices ? r.sum : nan};
        for (size_t i = 0; i < std::size(names); ++i) lists[i].append(values[i]);
    }
    for (size_t i = 0; i < std::size(names); ++i) columns[names[i]] = lists[i];
    return DataFrameOf(columns);
}

}  // namespace

py::tuple HistoryState(const ProductionHistory& h) {
    py::list rows;
    for (const HistoryRow& r : h.rows) {
        const auto v = r.Numbers();
        rows.append(py::make_tuple(v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
    }
    return py::make_tuple(MessageText(h.fileName), h.startDate, rows);
}

ProductionHistory HistoryFromState(const py::tuple& t) {
    // As stored: the values come back bit for bit.
    ProductionHistory h{t[0].cast<std::string>(), t[1].cast<std::string>(), {}};
    for (const py::handle& row : t[2].cast<py::list>()) {
        const auto v = row.cast<std::vector<float>>();
        h.rows.push_back({v.at(0), v.at(1), v.at(2), v.at(3), v.at(4), v.at(5), v.at(6)});
    }
    return h;
}

void RegisterWaterDrive(py::module_& m) {
    auto cls = CaseClass(m);
    cls.def_property(
        "history", [](const PyCase& c) { return HistoryData(c.inputs); },
        [](PyCase& c, py::handle data) { SetHistoryData(c.inputs, data); },
        "The production history as a pandas DataFrame: days (since day 0), pressure_bar,\n"
        "np_1000m3, gp_mio_sm3, wp_1000m3, wi_1000m3, gi_mio_sm3, and date when it was read\n"
        "with dates; None without one. Assign a DataFrame with days or date, pressure_bar,\n"
        "np_1000m3 and gp_mio_sm3 or rp_sm3_per_m3 (the other columns 0 when missing),\n"
        "checked as a history file is (InputError naming every bad row); None removes it.");
    cls.def(
        "read_history", [](PyCase& c, py::handle path) { return ReadHistory(c.inputs, path); },
        py::arg("path"),
        "read_history(self, /, path)\n--\n\n"
        "Reads a production-history file (a header naming the columns, then one row per date)\n"
        "into the case, as the dialog's \"Produktionshistorie lesen…\" and --historie do: the\n"
        "whole file or nothing. A refused file raises InputError naming every bad line, an\n"
        "unreadable one OSError. Returns the number of rows.");
    cls.def(
        "history_balance",
        [](const PyCase& c, bool useApi) { return BalanceTable(c.inputs, useApi); },
        py::kw_only(), py::arg("use_api_from_initial_gor") = false,
        "history_balance(self, /, *, use_api_from_initial_gor=False)\n--\n\n"
        "The material balance of every history row with the case's N, m and aquifer, as\n"
        "--history-csv writes it: days, measured and computed pressure, F, Eo, Eg, Efw, Et,\n"
        "We and the drive indices DDI, GDI, CDI, WDI and their sum.");
    cls.def(
        "mb_fit", &MbFitCase, py::arg("names"), py::kw_only(), py::arg("objective") = "f",
        py::arg("starts") = py::dict(), py::arg("bounds") = py::dict(),
        py::arg("max_iterations") = 100, py::arg("use_api_from_initial_gor") = false,
        "mb_fit(self, /, names, *, objective='f', starts={}, bounds={}, max_iterations=100, "
        "use_api_from_initial_gor=False)\n--\n\n"
        "Fits the named inputs (any of ooip_1000m3, gas_cap_ratio,\n"
        "aquifer_constant_m3_per_bar, aquifer_radius_m, aquifer_permeability_md, or their\n"
        "record names) to the production history by the material balance F = N Et + We, as\n"
        "batch mode's --mb-fit: objective \"f\" (residuals F - N Et - We) or \"pressure\" (the\n"
        "pressure the balance gives against the measured one). Returns a MatchResult as\n"
        "Case.match does; the case is not changed. The interpreter lock is released while it\n"
        "runs.");
}

}  // namespace morvek::python
