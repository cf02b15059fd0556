#include "PyCase.h"

#include <cmath>
#include <deque>
#include <memory>

#include "PyCommon.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "input/CaseSetting.h"
#include "input/ExchangeTable.h"
#include "input/MeasuredDataFile.h"
#include "model/CaseFile.h"
#include "model/FieldTable.h"
#include "model/MeasuredRows.h"

namespace morvek::python {
namespace {

constexpr const char* kNoTwoValues = "Die Zeile enthält keine 2 Werte";

// The dialog's control of a field: its label, range and messages. Every field
// of the case is one (the field table and the dialog share their rows).
const ExchangeField& DialogFieldOf(const Field& f) {
    return *::FindField(std::string(f.recordName));
}

// The short names of the module beside the field table's names.
const Field* FieldNamed(const std::string& name) {
    return morvek::FindField(name == "ooip" ? std::string("m_OOIP") : name);
}

const Field& FieldByName(const std::string& name) {
    const Field* f = FieldNamed(name);
    if (f == nullptr)
        throw py::key_error(Format("Unbekannter Name \"%s\".\nMögliche Namen: %s", name.c_str(),
                                   RecordNames().c_str()));
    return *f;
}

// A Python str as UTF-8; lone surrogates pass through, so that the check of
// code page 1252 refuses them with the dialog's message.
std::string Utf8Of(py::handle text) {
    return py::bytes(text.attr("encode")("utf-8", "surrogatepass")).cast<std::string>();
}

// A Python number as a double; TypeError with the message for anything else.
double DoubleOf(py::handle value, const std::string& message) {
    if (py::isinstance<py::str>(value) || py::isinstance<py::bool_>(value) ||
        py::isinstance<py::bytes>(value))
        throw TypeMismatch(message);
    const double d = PyFloat_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred()) {
        // An integer too large for a double is as infinite as the dialog
        // makes a too long number.
        const bool overflow = PyErr_ExceptionMatches(PyExc_OverflowError);
        PyErr_Clear();
        if (overflow) return HUGE_VAL;
        throw TypeMismatch(message);
    }
    return d;
}

// A date field's value: a datetime.date, or None for no date.
py::object DateValue(float serial) {
    const std::string iso = DateFieldText(serial);
    if (iso.empty()) return py::none();
    return py::module_::import("datetime").attr("date").attr("fromisoformat")(iso);
}

// A date from Python: a datetime.date (or datetime, pandas Timestamp), its
// ISO text, or None for no date.
float DateFor(const Field& f, py::handle value) {
    std::string text;
    if (value.is_none()) return 0.0f;
    if (py::isinstance<py::str>(value)) {
        text = Utf8Of(value);
    } else if (py::hasattr(value, "isoformat") && py::hasattr(value, "year")) {
        text = py::str(value.attr("isoformat")()).cast<std::string>().substr(0, 10);
    } else {
        throw TypeMismatch(Format("Bitte ein Datum (datetime.date oder JJJJ-MM-TT) angeben: "
                                  "\"%s\".",
                                  f.Caption().c_str()));
    }
    float v = 0;
    if (const std::string problem = ParseDateField(f, text, v); !problem.empty())
        throw InputError(problem);
    return v;
}

py::object ValueOf(const CaseInputs& in, const Field& f) {
    switch (f.kind) {
        case FieldKind::Number:
            if (f.date) return DateValue(f.Number(in));
            return py::float_(PyValueOf(f.Number(in)));
        case FieldKind::Text:
            return MessageText(in.*f.text);
        case FieldKind::Choice:
            return py::int_(in.*f.choice);
    }
    return py::none();
}

// The value a field takes from Python, checked as the dialog checks what it
// reads: a number (or its text) finite and in range, a correlation 0 to 3, a
// text that code page 1252 can store.
float NumberFor(const Field& f, py::handle value) {
    if (f.date) return DateFor(f, value);
    // An input of another dialog (the aquifer's, the forecast's) is read as
    // --set reads it.
    if (py::isinstance<py::str>(value) && f.controlId == 0) {
        float v = 0;
        const std::string text = Utf8Of(value);
        if (!ParseFloatStrict(text, v)) throw InputError(NotANumberMessage(f) + DecimalPointHint(text));
        const std::string problem = CheckNumber(f, v);
        if (!problem.empty()) throw InputError(problem);
        return v;
    }
    if (py::isinstance<py::str>(value)) {
        CollectingSink sink;
        float v = 0;
        if (!ParseFieldValue(DialogFieldOf(f), Utf8Of(value), v, sink))
            throw InputError(sink.First());
        return v;
    }
    const float v = StoredFloat(DoubleOf(value, NotANumberMessage(f)));
    const std::string problem = CheckNumber(f, v);
    if (!problem.empty()) throw InputError(problem);
    return v;
}

int32_t ChoiceFor(const Field& f, py::handle value) {
    const std::string message = CorrelationChoiceMessage(DialogFieldOf(f));
    if (py::isinstance<py::str>(value)) {
        // As --set takes it.
        int32_t v = 0;
        if (!ParseSmallInt(Utf8Of(value), 0, f.choiceCount - 1, v)) throw InputError(message);
        return v;
    }
    if (py::isinstance<py::bool_>(value)) throw TypeMismatch(message);
    PyObject* index = PyNumber_Index(value.ptr());
    if (index == nullptr) {
        PyErr_Clear();
        throw TypeMismatch(message);
    }
    int overflow = 0;
    const long v = PyLong_AsLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (overflow != 0 || v < 0 || v >= f.choiceCount) throw InputError(message);
    return static_cast<int32_t>(v);
}

std::string TextFor(const Field& f, py::handle value) {
    if (!py::isinstance<py::str>(value))
        throw TypeMismatch(Format("Bitte einen Text eingeben: \"%s\".", f.Caption().c_str()));
    CollectingSink sink;
    std::string text;
    if (!ParseFieldText(DialogFieldOf(f), Utf8Of(value), text, sink))
        throw InputError(sink.First());
    return text;
}

void SetField(CaseInputs& in, const Field& f, py::handle value) {
    switch (f.kind) {
        case FieldKind::Number:
            f.Number(in) = NumberFor(f, value);
            break;
        case FieldKind::Text:
            in.*f.text = TextFor(f, value);
            break;
        case FieldKind::Choice:
            in.*f.choice = ChoiceFor(f, value);
            break;
    }
}

// A measured row from Python: a text as typed into the dialog's row line, or
// a sequence of cumulative oil (1000 m3), shut-in pressure (bar) and
// optionally the producing gas-oil ratio (sm3/m3; None or NaN: not measured).
// Numbers are written as the shortest text of their stored value, so that
// they read back exactly.
std::string RowFor(py::handle item) {
    std::string row;
    if (py::isinstance<py::str>(item)) {
        CollectingSink sink;
        if (!ParseFieldText(*::FindField(std::string("m_strZeile")), Utf8Of(item), row, sink))
            throw InputError(sink.First());
    } else {
        if (!py::isinstance<py::sequence>(item) || py::isinstance<py::bytes>(item))
            throw TypeMismatch(kNoTwoValues);
        const py::sequence seq = py::reinterpret_borrow<py::sequence>(item);
        const size_t n = seq.size();
        if (n < 2 || n > 3) throw InputError(kNoTwoValues);
        std::string text[3];
        for (size_t i = 0; i < n; ++i) {
            if (i == 2 && seq[i].is_none()) break;
            const float v = StoredFloat(DoubleOf(seq[i], kNoTwoValues));
            if (i == 2 && std::isnan(v)) break;
            if (!std::isfinite(v)) throw InputError(kNoTwoValues);
            text[i] = ShortestText(v);
        }
        // The columns of the measured-data file's rows.
        row = text[2].empty()
                  ? Format("%10s   %18s   * ", text[0].c_str(), text[1].c_str())
                  : Format("%10s   %18s  %18s", text[0].c_str(), text[1].c_str(), text[2].c_str());
    }
    float oil = 0, pressure = 0, gor = 0;
    if (ScanMeasuredRow(row, oil, pressure, gor) < 2) throw InputError(kNoTwoValues);
    return row;
}

std::vector<std::string> RowsFor(py::handle rows) {
    if (py::isinstance<py::str>(rows) || !py::isinstance<py::iterable>(rows))
        throw TypeMismatch("Bitte eine Liste von Meßwertzeilen angeben.");
    std::vector<std::string> out;
    for (py::handle item : rows) out.push_back(RowFor(item));
    return out;
}

py::list MeasuredRowsOf(const CaseInputs& in) {
    py::list out;
    for (const MeasuredPoint& p : MeasuredPoints(in.measuredRows)) {
        out.append(py::make_tuple(
            PyValueOf(p.np1000m3), PyValueOf(p.pressureBar),
            p.hasGor ? py::object(py::float_(PyValueOf(p.gorSm3PerM3))) : py::object(py::none())));
    }
    return out;
}

CaseInputs LoadCase(py::handle path) {
    const PathArg p = PathOf(path);
    std::string bytes, error;
    if (!ReadWholeFile(p.bytes, bytes, error))
        throw FileError(
            Format("Die Datei %s kann nicht gelesen werden.\n%s", p.text.c_str(), error.c_str()),
            OpenErrno(p.bytes));
    CaseInputs in;
    if (!DecodeCaseFile(bytes, in))
        throw CaseFileError(Format("Die Datei %s ist keine gültige Morvek-Datei.", p.text.c_str()));
    return in;
}

void SaveCase(const CaseInputs& in, py::handle path) {
    const PathArg p = PathOf(path);
    std::string bytes, error;
    if (!EncodeCaseFile(in, bytes, error))
        throw InputError(Format("Die Datei %s konnte nicht gespeichert werden.\n%s", p.text.c_str(),
                                error.c_str()));
    if (!WriteFileAtomically(p.bytes, bytes, error))
        throw FileError(Format("Die Datei %s konnte nicht gespeichert werden.\n%s", p.text.c_str(),
                               error.c_str()),
                        0);
}

size_t ReadMeasuredData(CaseInputs& in, py::handle path) {
    const PathArg p = PathOf(path);
    CollectingSink sink;
    std::vector<std::string> rows;
    if (!ReadMeasuredDataFile(p.bytes, in.ooip1000m3, in.initialPressureBar, sink, rows))
        throw FileError(sink.First(), OpenErrno(p.bytes));
    // Warned before the rows change: a warning turned into an error leaves
    // the case as it was.
    for (const std::string& message : sink.messages)
        if (PyErr_WarnEx(MeasuredDataWarning().ptr(), message.c_str(), 1) < 0)
            throw py::error_already_set();
    in.measuredRows = std::move(rows);
    return in.measuredRows.size();
}

std::string FieldDoc(const Field& f) {
    std::string doc = f.Caption();
    if (*f.unit != '\0') doc += Format(", in %s", f.unit);
    doc += Format(". Case record: %s.", f.recordName);
    switch (f.kind) {
        case FieldKind::Number:
            doc += f.bounded ? Format(" The dialog accepts %s to %s.", ShortestText(f.min).c_str(),
                                      ShortestText(f.max).c_str())
                             : std::string(" Any finite number.");
            doc += " Stored in single precision; reads as the shortest decimal of that value.";
            break;
        case FieldKind::Choice:
            doc += " 0 Glasoe, 1 Vasquez & Beggs, 2 Standing, 3 Kartoatmodjo & Schmidt.";
            break;
        case FieldKind::Text:
            doc += " A text that code page 1252 can store (the case file's encoding).";
            break;
    }
    return doc;
}

std::string CaseRepr(const CaseInputs& in) {
    const CaseInputs fresh;
    std::string args;
    for (const Field& f : FieldTable()) {
        bool same = false;
        switch (f.kind) {
            case FieldKind::Number:
                same = f.Number(in) == f.Number(fresh) && !std::signbit(f.Number(in));
                break;
            case FieldKind::Text:
                same = in.*f.text == fresh.*f.text;
                break;
            case FieldKind::Choice:
                same = in.*f.choice == fresh.*f.choice;
                break;
        }
        if (same) continue;
        if (!args.empty()) args += ", ";
        args += std::string(f.name) + "=" + py::repr(ValueOf(in, f)).cast<std::string>();
    }
    if (!in.measuredRows.empty()) {
        if (!args.empty()) args += ", ";
        args += in.measuredRows.size() <= 5
                    ? "measured_rows=" + py::repr(MeasuredRowsOf(in)).cast<std::string>()
                    : Format("measured_rows=[... %zu]", in.measuredRows.size());
    }
    return "morvek.Case(" + args + ")";
}

// Docstrings of the generated properties live as long as the module.
std::deque<std::string>& Docs() {
    static std::deque<std::string> docs;
    return docs;
}

}  // namespace

py::dict CaseState(const CaseInputs& in) {
    py::dict state;
    // A date as its serial number, so that it comes back bit for bit.
    for (const Field& f : FieldTable())
        state[f.name] = f.date ? py::float_(double(f.Number(in))) : ValueOf(in, f);
    state["measured_rows"] = TextList(in.measuredRows);
    state["lab_tables"] = LabTablesState(in);
    return state;
}

CaseInputs CaseFromState(const py::dict& state) {
    // As stored, without the dialog's range checks: a case loaded from a file
    // may hold any value, and its pickle gives it back as it was.
    CaseInputs in;
    for (const auto& [key, value] : state) {
        const std::string name = py::str(key).cast<std::string>();
        if (name == "measured_rows") {
            std::vector<std::string> rows;
            for (py::handle row : value) rows.push_back(Utf8Of(py::str(row)));
            in.measuredRows = std::move(rows);
            continue;
        }
        if (name == "lab_tables") {
            LabTablesFromState(in, value.cast<py::dict>());
            continue;
        }
        const Field& f = FieldByName(name);
        switch (f.kind) {
            case FieldKind::Number:
                f.Number(in) = StoredFloat(DoubleOf(value, NotANumberMessage(f)));
                break;
            case FieldKind::Text:
                in.*f.text = Utf8Of(py::str(value));
                break;
            case FieldKind::Choice:
                in.*f.choice = value.cast<int32_t>();
                break;
        }
    }
    return in;
}

py::class_<PyCase> CaseClass(py::module_& m) {
    return py::reinterpret_borrow<py::class_<PyCase>>(m.attr("Case"));
}

py::object NewCase(const CaseInputs& inputs) {
    return py::cast(PyCase{inputs});
}

void RegisterCase(py::module_& m) {
    py::class_<PyCase> cls(m, "Case", R"doc(
The inputs of one reservoir case, as the case file (.mvk) holds them.

``Case()`` is a new case with the program's defaults (methane only, 1 bar,
10 °API, ...); keyword arguments set fields by their English or case-record
names: ``Case(ooip_1000m3=5000, initial_pressure_bar=250, ...)``.
Every input is a property with its English name and unit (``case.ooip_1000m3``,
``case.initial_pressure_bar``, ``case.h2s_pct``; ``case.ooip`` for short) and an
item by its case-record name (``case["m_OOIP"]``, ``case["m_Gas[0]"]``).
Assignments are checked exactly as the data-entry dialog checks its fields and
raise :class:`InputError` (a ValueError) with the dialog's German message;
a text is parsed as the dialog parses what is typed. Numbers are stored in
single precision, as the case file stores them.

Cases compare equal when every stored value is the same bit for bit and the
measured rows are the same; they copy and pickle.)doc");
    cls.def(py::init([](const py::kwargs& fields) {
                auto c = std::make_unique<PyCase>();
                for (const auto& [key, value] : fields) {
                    const std::string name = py::str(key).cast<std::string>();
                    if (name == "measured_rows")
                        c->inputs.measuredRows = RowsFor(value);
                    else
                        SetField(c->inputs, FieldByName(name), value);
                }
                return c;
            }),
            "A new case with the program's defaults; keyword arguments set fields by name\n"
            "(checked as every assignment) and ``measured_rows``.");

    for (const Field& f : FieldTable()) {
        const Field* field = &f;
        Docs().push_back(FieldDoc(f));
        cls.def_property(
            f.name, [field](const PyCase& c) { return ValueOf(c.inputs, *field); },
            [field](PyCase& c, py::handle v) { SetField(c.inputs, *field, v); },
            Docs().back().c_str());
    }
    const Field* ooip = FieldNamed("ooip");
    cls.def_property(
        "ooip", [ooip](const PyCase& c) { return ValueOf(c.inputs, *ooip); },
        [ooip](PyCase& c, py::handle v) { SetField(c.inputs, *ooip, v); },
        "Original oil in place in 1000 m³: the short name of ``ooip_1000m3``.");

    cls.def(
        "__getitem__",
        [](const PyCase& c, const std::string& name) {
            return ValueOf(c.inputs, FieldByName(name));
        },
        py::arg("name"), "The field of that case-record name (\"m_OOIP\") or English name.");
    cls.def(
        "__setitem__",
        [](PyCase& c, const std::string& name, py::handle value) {
            SetField(c.inputs, FieldByName(name), value);
        },
        py::arg("name"), py::arg("value"),
        "Sets the field of that case-record name, checked as the dialog checks it; a text\n"
        "is read as ``morvek --batch --set NAME=VALUE`` reads it.");
    cls.def(
        "__contains__",
        [](const PyCase&, const std::string& name) { return FieldNamed(name) != nullptr; },
        py::arg("name"));

    cls.def_property(
        "measured_rows", [](const PyCase& c) { return MeasuredRowsOf(c.inputs); },
        [](PyCase& c, py::handle rows) { c.inputs.measuredRows = RowsFor(rows); },
        "The measured rows as the calculation takes them: a list of tuples (cumulative oil\n"
        "in 1000 m³, shut-in pressure in bar, producing gas-oil ratio in sm³/m³ or None),\n"
        "in order, up to the first row without two numbers, at most 300. Assign a list of\n"
        "such tuples (a NaN ratio counts as not measured) or of texts as typed into the\n"
        "dialog's row line; a row without two numbers raises InputError.");
    cls.def_property(
        "measured_row_texts", [](const PyCase& c) { return TextList(c.inputs.measuredRows); },
        [](PyCase& c, py::handle rows) { c.inputs.measuredRows = RowsFor(rows); },
        "The measured rows as the case file stores them (texts).");
    cls.def(
        "read_measured_data",
        [](PyCase& c, py::handle path) { return ReadMeasuredData(c.inputs, path); },
        py::arg("path"),
        "Replaces the measured rows by those of a measured-data file (a header line, then\n"
        "cumulative oil, shut-in pressure and optionally the gas-oil ratio per line, code\n"
        "page 1252), read as the dialog's \"Meßwertdatei lesen\" reads it: against the\n"
        "case's oil in place and initial pressure as they stand. Where the reading stops\n"
        "early a MeasuredDataWarning says why and the rows before it are taken. Returns the\n"
        "number of rows; a file that cannot be opened raises OSError.");

    cls.def_static(
        "load", [](py::handle path) { return PyCase{LoadCase(path)}; }, py::arg("path"),
        "The case of a case file (.mvk). A damaged file raises CaseFileError, a file that\n"
        "cannot be read an OSError (FileNotFoundError, ...), each with the program's message.");
    cls.def(
        "save", [](const PyCase& c, py::handle path) { SaveCase(c.inputs, path); }, py::arg("path"),
        "Writes the case file as the program's save does: beside the target, then renamed\n"
        "over it, so that a failed write keeps the earlier file (OSError).");
    cls.def(
        "to_dict",
        [](const PyCase& c) {
            py::dict d;
            for (const Field& f : FieldTable()) d[f.name] = ValueOf(c.inputs, f);
            return d;
        },
        "Every field by its English name, in the order of the case file (not the rows).");
    cls.def(
        "copy", [](const PyCase& c) { return PyCase{c.inputs}; }, "An independent copy.");
    cls.def("__copy__", [](const PyCase& c) { return PyCase{c.inputs}; });
    cls.def(
        "__deepcopy__", [](const PyCase& c, py::handle) { return PyCase{c.inputs}; },
        py::arg("memo"));
    cls.def(
        "__eq__",
        [](const PyCase& a, py::handle b) -> py::object {
            if (!py::isinstance<PyCase>(b))
                return py::reinterpret_borrow<py::object>(Py_NotImplemented);
            return py::bool_(a.inputs == b.cast<const PyCase&>().inputs);
        },
        py::is_operator());
    cls.attr("__hash__") = py::none();
    cls.def("__repr__", [](const PyCase& c) { return CaseRepr(c.inputs); });
    cls.def(py::pickle([](const PyCase& c) { return CaseState(c.inputs); },
                       [](const py::dict& state) { return PyCase{CaseFromState(state)}; }));

    py::class_<Field>(m, "FieldInfo", "One input of a case: a row of the program's field table.")
        .def_property_readonly(
            "record_name", [](const Field& f) { return f.recordName; },
            "Name in the case record and for --set: \"m_OOIP\".")
        .def_property_readonly(
            "name", [](const Field& f) { return f.name; },
            "English name with the unit: \"ooip_1000m3\".")
        .def_property_readonly(
            "label", [](const Field& f) { return f.Caption(); },
            "The German label of the data-entry dialog.")
        .def_property_readonly(
            "unit", [](const Field& f) { return f.unit; },
            "The unit (\"\" for a fraction or a choice).")
        .def_property_readonly(
            "kind",
            [](const Field& f) {
                return f.date                      ? "date"
                       : f.kind == FieldKind::Number ? "number"
                       : f.kind == FieldKind::Text ? "text"
                                                   : "choice";
            },
            "\"number\", \"text\" or \"choice\".")
        .def_property_readonly(
            "min",
            [](const Field& f) -> py::object {
                if (f.kind == FieldKind::Choice) return py::int_(0);
                return f.bounded ? py::object(py::float_(PyValueOf(f.min))) : py::none();
            },
            "The least value the dialog accepts, None when any.")
        .def_property_readonly(
            "max",
            [](const Field& f) -> py::object {
                if (f.kind == FieldKind::Choice) return py::int_(f.choiceCount - 1);
                return f.bounded ? py::object(py::float_(PyValueOf(f.max))) : py::none();
            },
            "The greatest value the dialog accepts, None when any.")
        .def("__repr__", [](const Field& f) {
            return Format("morvek.FieldInfo(%s, %s)", f.recordName, f.name);
        });
    m.def(
        "fields",
        [] {
            py::list out;
            for (const Field& f : FieldTable())
                out.append(py::cast(&f, py::return_value_policy::reference));
            return out;
        },
        "Every input of a case, in the order of the case file.");
}

}  // namespace morvek::python
