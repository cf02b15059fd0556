// The forecast against time for Python: Case.forecast() returns its steps as a
// pandas DataFrame indexed by date (a DatetimeIndex), with the stop reason,
// the end of the plateau and the German report in its attrs;
// Case.read_water_cut(path) reads the water-cut table; morvek.sweep(...,
// forecast=True) runs the uncertainty run with the forecast as its run
// (ForecastSweepResult: the samples, the statistics, the fan).

#include <pybind11/stl.h>

#include <cmath>

#include "PyCase.h"
#include "PyCommon.h"
#include "PyForecast.h"
#include "PyResults.h"
#include "base/CalendarDate.h"
#include "base/Format.h"
#include "forecast/ForecastSweep.h"
#include "forecast/ForecastText.h"
#include "input/CaseRefusal.h"
#include "model/FieldTable.h"

namespace morvek::python {
namespace {

constexpr double kThousand = 1000.0;

const char* StopName(ForecastStop stop) {
    switch (stop) {
        case ForecastStop::EndOfPeriod: return "end_of_period";
        case ForecastStop::AbandonmentRate: return "abandonment_rate";
        case ForecastStop::AbandonmentPressure: return "abandonment_pressure";
        case ForecastStop::LowestPressure: return "lowest_pressure";
        case ForecastStop::OilInPlaceProduced: return "oil_in_place_produced";
        case ForecastStop::NoMeaningfulValue: return "no_meaningful_value";
        case ForecastStop::NoBalance: return "no_balance";
        case ForecastStop::NotStarted: return "not_started";
    }
    return "";
}

const char* LimitName(RateLimit limit) {
    switch (limit) {
        case RateLimit::Target: return "target";
        case RateLimit::Wells: return "wells";
        case RateLimit::Gas: return "gas";
    }
    return "";
}

// pandas Timestamps of serial dates plus days (fractions of a day as time).
py::object Timestamps(int32_t startDate, const std::vector<double>& days) {
    const py::module_ pd = py::module_::import("pandas");
    const py::object start = pd.attr("Timestamp")(IsoDate(startDate));
    py::array_t<double> d(static_cast<py::ssize_t>(days.size()));
    std::copy(days.begin(), days.end(), d.mutable_data());
    return pd.attr("DatetimeIndex")(start + pd.attr("to_timedelta")(d, py::arg("unit") = "D"),
                                    py::arg("name") = "date");
}

py::object TimestampOrNaT(int32_t startDate, double days) {
    const py::module_ pd = py::module_::import("pandas");
    if (!std::isfinite(days)) return pd.attr("NaT");
    return pd.attr("Timestamp")(IsoDate(startDate)) + pd.attr("Timedelta")(days, "D");
}

py::array DoubleArray(const std::vector<double>& v) {
    py::array_t<double> out(static_cast<py::ssize_t>(v.size()));
    std::copy(v.begin(), v.end(), out.mutable_data());
    out.attr("setflags")(py::arg("write") = false);
    return out;
}

// The case with the keyword inputs given by their field names.
CaseInputs WithInputs(const CaseInputs& base, const py::kwargs& inputs) {
    py::object copy = NewCase(base);
    for (const auto& [key, value] : inputs) {
        const std::string name = py::str(key);
        const Field* f = FindField(name == "ooip" ? std::string("m_OOIP") : name);
        if (f == nullptr)
            throw TypeMismatch(Format("forecast() kennt keine Eingabe \"%s\".", name.c_str()));
        copy.attr("__setitem__")(f->recordName, value);
    }
    return copy.cast<PyCase&>().inputs;
}

void CheckForecast(const CaseInputs& in) {
    CheckForRun(in);
    if (const std::string why = ForecastRefusal(in); !why.empty()) throw InputError(why);
}

py::object ForecastFrame(const CaseInputs& in, const ForecastResult& r) {
    std::vector<double> days;
    for (const ForecastStep& s : r.steps) days.push_back(s.days);
    py::dict columns;
    const double nan = std::nan("");
    auto column = [&](const char* name, double (*value)(const ForecastStep&), bool rate) {
        std::vector<double> v;
        for (size_t i = 0; i < r.steps.size(); ++i)
            v.push_back(rate && i == 0 ? nan : value(r.steps[i]));
        columns[name] = DoubleArray(v);
    };
    column("days", [](const ForecastStep& s) { return s.days; }, false);
    column("pressure_bar", [](const ForecastStep& s) { return s.pressureBar; }, false);
    column("oil_rate_m3_per_day", [](const ForecastStep& s) { return s.oilRateM3PerDay; }, true);
    column("gas_rate_1000sm3_per_day",
           [](const ForecastStep& s) { return s.gasRate1000Sm3PerDay; }, true);
    column("water_rate_m3_per_day", [](const ForecastStep& s) { return s.waterRateM3PerDay; },
           true);
    column("np_1000m3", [](const ForecastStep& s) { return s.np1000m3; }, false);
    column("gp_mio_sm3", [](const ForecastStep& s) { return s.gp1000Sm3 / kThousand; }, false);
    column("wp_1000m3", [](const ForecastStep& s) { return s.wp1000m3; }, false);
    column("we_1000m3", [](const ForecastStep& s) { return s.we1000m3; }, false);
    column("gor_sm3_per_m3", [](const ForecastStep& s) { return s.gorSm3PerM3; }, true);
    column("water_cut", [](const ForecastStep& s) { return s.waterCut; }, true);
    py::list limits;
    for (size_t i = 0; i < r.steps.size(); ++i)
        limits.append(i == 0 ? py::object(py::none()) : py::str(LimitName(r.steps[i].limit)));
    columns["limit"] = limits;
    py::object frame = DataFrameOf(columns, Timestamps(r.startDate, days));
    py::dict attrs;
    attrs["stop"] = StopName(r.stop);
    attrs["stop_text"] = MessageText(ForecastStopText(r, ForecastSettings::Of(in)));
    attrs["plateau_end"] = TimestampOrNaT(r.startDate, r.plateauEndDays);
    morvek::ForecastOrigin origin;
    if (in.history && !in.history->rows.empty()) {
        origin.afterHistory = true;
        origin.historyName = in.history->fileName;
    }
    origin.aquifer = AquiferText(Aquifer::Of(in));
    attrs["report"] = MessageText(ForecastReportText(in, r, origin));
    frame.attr("attrs") = attrs;
    return frame;
}

py::object Forecast(const PyCase& c, bool useApi, const py::kwargs& inputs) {
    // The inputs copied while the interpreter lock is held.
    const CaseInputs in = WithInputs(c.inputs, inputs);
    CheckForecast(in);
    ForecastResult r;
    {
        py::gil_scoped_release released;
        r = ForecastCase(in, {useApi});
    }
    return ForecastFrame(in, r);
}

// --- The uncertainty run on forecasts -----------------------------------------------------

struct PyForecastSweep {
    std::string fieldName;
    std::vector<Variation> variations;
    ForecastSweepOptions options;  // without its check
    ForecastSweepResult result;
    std::vector<ForecastSweepRow> rows;
};

py::object SamplesFrame(const PyForecastSweep& s) {
    py::dict columns;
    std::vector<int64_t> sample;
    for (const ForecastSweepRow& row : s.rows) sample.push_back(static_cast<int64_t>(row.sample));
    for (size_t j = 0; j < s.variations.size(); ++j) {
        std::vector<double> v;
        for (const ForecastSweepRow& row : s.rows) v.push_back(row.values[j]);
        columns[s.variations[j].field->name] = DoubleArray(v);
    }
    const py::module_ pd = py::module_::import("pandas");
    for (size_t o = 0; o < s.result.columns.size(); ++o) {
        const ForecastOutcomeColumn& c = s.result.columns[o];
        std::vector<double> v;
        for (const ForecastSweepRow& row : s.rows)
            v.push_back(row.Failed() ? std::nan("") : row.outcomes[o]);
        if (!c.date) {
            columns[c.column.c_str()] = DoubleArray(v);
            continue;
        }
        // Dates as Timestamps; beyond the period or failed: NaT.
        py::list dates;
        for (double d : v)
            dates.append(std::isfinite(d) ? TimestampOrNaT(static_cast<int32_t>(std::floor(d)),
                                                           d - std::floor(d))
                                          : pd.attr("NaT"));
        columns[c.column.c_str()] = pd.attr("to_datetime")(dates);
    }
    py::list failures;
    for (const ForecastSweepRow& row : s.rows)
        failures.append(row.Failed() ? py::object(MessageText(row.failure)) : py::object(py::none()));
    columns["failure"] = failures;
    py::array_t<int64_t> index(static_cast<py::ssize_t>(sample.size()));
    std::copy(sample.begin(), sample.end(), index.mutable_data());
    return DataFrameOf(columns, pd.attr("Index")(index, py::arg("name") = "sample"));
}

py::object StatisticsFrame(const PyForecastSweep& s) {
    const py::module_ pd = py::module_::import("pandas");
    py::dict columns;
    py::list names, mean, std, p90, p50, p10, beyond;
    for (size_t o = 0; o < s.result.columns.size(); ++o) {
        const ForecastOutcomeColumn& c = s.result.columns[o];
        const OutcomeStatistics& st = s.result.statistics[o];
        names.append(c.column);
        auto value = [&](double v) -> py::object {
            if (!c.date) return py::float_(v);
            if (!std::isfinite(v)) return pd.attr("NaT");
            return TimestampOrNaT(static_cast<int32_t>(std::floor(v)), v - std::floor(v));
        };
        mean.append(value(st.mean));
        std.append(c.date ? py::object(pd.attr("Timedelta")(std::isnan(st.stdDev) ? 0.0 : st.stdDev, "D"))
                          : py::object(py::float_(st.stdDev)));
        p90.append(value(st.p90));
        p50.append(value(st.p50));
        p10.append(value(st.p10));
        beyond.append(py::int_(s.result.beyondPeriod[o]));
    }
    columns["mean"] = mean;
    columns["std"] = std;
    columns["p90"] = p90;
    columns["p50"] = p50;
    columns["p10"] = p10;
    columns["beyond_period"] = pd.attr("array")(beyond, py::arg("dtype") = "int64");
    return DataFrameOf(columns, pd.attr("Index")(names, py::arg("name") = "outcome"));
}

py::object FanFrame(const ForecastFan& f) {
    py::dict columns;
    const char* percent[3] = {"p90", "p50", "p10"};
    for (int p = 0; p < 3; ++p) {
        columns[Format("oil_rate_m3_per_day_%s", percent[p]).c_str()] = DoubleArray(f.oilRate[p]);
        columns[Format("np_1000m3_%s", percent[p]).c_str()] = DoubleArray(f.np[p]);
    }
    return DataFrameOf(columns, Timestamps(f.startDate, f.days));
}

std::vector<int> YearsOf(const py::object& npBy) {
    std::vector<int> years;
    if (npBy.is_none()) return years;
    if (py::isinstance<py::str>(npBy) || !py::isinstance<py::iterable>(npBy))
        throw TypeMismatch("np_by: eine Liste von Jahren erwartet (zum Beispiel [2030, 2035]).");
    for (const py::handle& y : npBy) {
        if (py::isinstance<py::bool_>(y) || !py::isinstance<py::int_>(y))
            throw TypeMismatch("np_by: die Jahre müssen ganze Zahlen sein.");
        const long year = y.cast<long>();
        if (year < kFirstDateYear || year > kLastDateYear || (!years.empty() && year <= years.back()))
            throw InputError(
                Format("np_by: aufsteigende Jahre von %d bis %d erwartet.", kFirstDateYear,
                       kLastDateYear));
        years.push_back(static_cast<int>(year));
    }
    return years;
}

}  // namespace

py::object ForecastSweepOf(const CaseInputs& base, const std::vector<Variation>& variations,
                           const SweepOptions& sweep, const py::object& npBy) {
    CheckForecast(base);
    PyForecastSweep out;
    out.fieldName = base.fieldName;
    out.variations = variations;
    out.options.plan = sweep.plan;
    out.options.threads = sweep.threads;
    out.options.run = sweep.run;
    out.options.npByYears = YearsOf(npBy);
    if (const std::string why = CheckForecastSweep(base, out.options); !why.empty())
        throw InputError(why);
    ForecastSweepOptions options = out.options;
    options.check = RefusalOfCase;
    bool interrupted = false;
    {
        py::gil_scoped_release released;
        const SweepProgress progress = [&interrupted](uint64_t, uint64_t) {
            py::gil_scoped_acquire held;
            interrupted = PyErr_CheckSignals() != 0;
            return !interrupted;
        };
        out.result = ForecastSweep(
            base, out.variations, options,
            [&out](const ForecastSweepRow& row) { out.rows.push_back(row); }, progress);
    }
    if (interrupted) throw py::error_already_set();
    return py::cast(std::move(out));
}

void RegisterForecast(py::module_& m) {
    py::class_<PyCase> cls = CaseClass(m);
    cls.def("forecast", &Forecast, py::arg("use_api_from_initial_gor") = false,
            "forecast(self, /, use_api_from_initial_gor=False, **inputs)\n--\n\n"
            "The forecast against time of the case's forecast inputs (forecast_start,\n"
            "forecast_years, oil_rate_target_m3_per_day, ...; keyword arguments by their\n"
            "names change them for this call only): a pandas DataFrame indexed by the date\n"
            "each step ends on (the first row the start), with the rates over the step and\n"
            "pressure and cumulatives at its end. attrs holds 'stop' (why it ended),\n"
            "'stop_text' (the same in German), 'plateau_end' (a Timestamp, NaT while the\n"
            "plateau holds) and 'report' (the German forecast report).\n"
            "Raises InputError when the inputs do not make a forecast.");
    cls.def(
        "read_water_cut",
        [](PyCase& c, const py::object& path) {
            const PathArg p = PathOf(path);
            LabWaterCutTable table;
            std::vector<std::string> problems;
            switch (ReadWaterCutTableFile(p.bytes, table, problems)) {
                case TableReadStatus::Read:
                    c.inputs.waterCutTable = std::move(table);
                    return c.inputs.waterCutTable->rows.size();
                case TableReadStatus::Refused:
                    throw InputError(TableProblemMessage("Tabelle des Wasseranteils", p.text,
                                                         problems));
                case TableReadStatus::Unreadable:
                    break;
            }
            throw FileError(TableProblemMessage("Tabelle des Wasseranteils", p.text, problems),
                            OpenErrno(p.bytes));
        },
        py::arg("path"),
        "read_water_cut(self, /, path)\n--\n\n"
        "Reads the forecast's water-cut table (a header line, then rows of recovery\n"
        "factor (%) and water cut (fraction of the liquid), never falling) into the case.");
    cls.def_property(
        "water_cut_table",
        [](const PyCase& c) -> py::object {
            if (!c.inputs.waterCutTable) return py::none();
            py::dict columns;
            std::vector<double> rf, cut;
            for (const LabWaterCutRow& r : c.inputs.waterCutTable->rows) {
                rf.push_back(PyValueOf(r.recoveryPct));
                cut.push_back(PyValueOf(r.waterCut));
            }
            columns["recovery_pct"] = DoubleArray(rf);
            columns["water_cut"] = DoubleArray(cut);
            return DataFrameOf(columns);
        },
        [](PyCase& c, const py::object& value) {
            if (value.is_none()) {
                c.inputs.waterCutTable.reset();
                return;
            }
            std::vector<LabWaterCutRow> rows;
            const py::object frame = py::module_::import("pandas").attr("DataFrame")(value);
            for (const py::handle& row : frame.attr("itertuples")(py::arg("index") = false)) {
                const py::tuple t = py::reinterpret_borrow<py::tuple>(row);
                if (t.size() != 2)
                    throw InputError("Die Tabelle des Wasseranteils hat zwei Spalten: "
                                     "Entölungsgrad (%) und Wasseranteil.");
                rows.push_back({StoredFloat(t[0].cast<double>()), StoredFloat(t[1].cast<double>())});
            }
            LabWaterCutTable table;
            std::vector<std::string> problems;
            if (WaterCutTableFromRows(rows, "aus Python", table, problems) != TableReadStatus::Read)
                throw InputError(
                    TableProblemMessage("Tabelle des Wasseranteils", "aus Python", problems));
            c.inputs.waterCutTable = std::move(table);
        },
        "The forecast's water-cut table as a DataFrame (recovery_pct, water_cut), or None\n"
        "(no water); set a DataFrame or a list of two-value rows, or None.");

    py::class_<PyForecastSweep>(m, "ForecastSweepResult",
                                "The uncertainty run of a forecast against time (morvek.sweep(...,\n"
                                "forecast=True)).")
        .def("to_pandas", &SamplesFrame,
             "to_pandas(self, /)\n--\n\n"
             "One row per sample (index: sample number): the varied inputs, the outcomes\n"
             "(dates as Timestamps, NaT beyond the period), the failure (None when none).")
        .def("statistics", &StatisticsFrame,
             "statistics(self, /)\n--\n\n"
             "Mean, std, P90, P50, P10 and the samples beyond the period of every outcome.")
        .def("fan", [](const PyForecastSweep& s) { return FanFrame(s.result.fan); },
             "fan(self, /)\n--\n\n"
             "P90, P50 and P10 of oil rate and cumulative oil at every month (index: date).")
        .def("summary",
             [](const PyForecastSweep& s) {
                 return MessageText(
                     ForecastSweepSummaryText(s.fieldName, s.variations, s.options, s.result));
             },
             "summary(self, /)\n--\n\nThe German summary, as batch mode writes it.")
        .def("csv",
             [](const PyForecastSweep& s) {
                 std::string text = ForecastSweepCsvHeader(s.variations, s.options);
                 for (const ForecastSweepRow& row : s.rows)
                     text += ForecastSweepCsvLine(row, s.result.columns);
                 return text;
             },
             "csv(self, /)\n--\n\nThe CSV of the samples, as batch mode's --sweep-csv writes it.")
        .def_property_readonly("failed", [](const PyForecastSweep& s) { return s.result.failedCount; })
        .def("__len__", [](const PyForecastSweep& s) { return s.rows.size(); },
             "__len__(self, /)\n--\n\nThe number of samples run.");
}

}  // namespace morvek::python
