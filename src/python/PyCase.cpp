#include "PyCase.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>

#include "PyCommon.h"
#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/NumberText.h"
#include "input/CaseSetting.h"
#include "input/ExchangeTable.h"
#include "input/MeasuredDataFile.h"
#include "model/CaseFile.h"
#include "model/FieldTable.h"
#include "model/MeasuredRows.h"

namespace morvek::python {
namespace {

constexpr const char* kNoTwoValues = "Die Zeile enthält keine 2 Werte";

// The dialog's control of a field: its label, range and messages; nullptr for
// an input the data-entry dialog does not show.
const ExchangeField* DialogFieldOf(const Field& f) {
    return ::FindField(std::string(f.recordName));
}

const Field& FieldByName(const std::string& name) {
    const Field* f = FieldOfName(name);
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

// A Python number as a double; TypeError naming the field, with the
// dialog's message, for anything else.
double DoubleOf(py::handle value, const Field& f) {
    try {
        return NumberArg(value, f.name);
    } catch (const TypeMismatch&) {
        throw TypeMismatch(std::string(f.name) + ": " + NotANumberMessage(f));
    }
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
    if (py::isinstance<py::str>(value)) {
        float v = 0;
        const std::string text = Utf8Of(value);
        if (const ExchangeField* dialog = DialogFieldOf(f)) {
            CollectingSink sink;
            if (!ParseFieldValue(*dialog, text, v, sink)) throw InputError(sink.First(), &f);
            return v;
        }
        // An input of another dialog (the aquifer's, the forecast's) is read
        // as --set reads it.
        if (!ParseFloatStrict(text, v))
            throw InputError(NotANumberMessage(f) + DecimalPointHint(text), &f);
        if (const std::string problem = CheckNumber(f, v); !problem.empty())
            throw InputError(problem, &f);
        return v;
    }
    const float v = StoredFloat(DoubleOf(value, f));
    const std::string problem = CheckNumber(f, v);
    if (!problem.empty()) throw InputError(problem, &f);
    return v;
}

int32_t ChoiceFor(const Field& f, py::handle value) {
    const ExchangeField* dialog = DialogFieldOf(f);
    const std::string message =
        dialog != nullptr ? CorrelationChoiceMessage(*dialog) : morvek::ChoiceMessage(f);
    if (py::isinstance<py::str>(value) && f.choiceNames != nullptr) {
        // A choice by its English name or number ("veh_radial", "4").
        const int v = ChoiceIndex(f, Utf8Of(value));
        if (v < 0) throw InputError(message);
        return v;
    }
    if (py::isinstance<py::str>(value)) {
        // As --set takes it.
        int32_t v = 0;
        if (!ParseSmallInt(Utf8Of(value), 0, f.choiceCount - 1, v))
            throw InputError(message, &f);
        return v;
    }
    int64_t v = 0;
    try {
        v = IntegerArg(value, f.name);
    } catch (const TypeMismatch&) {
        throw TypeMismatch(std::string(f.name) + ": " + message);
    }
    if (v < 0 || v >= f.choiceCount) throw InputError(message, &f);
    return static_cast<int32_t>(v);
}

std::string TextFor(const Field& f, py::handle value) {
    if (!py::isinstance<py::str>(value))
        throw TypeMismatch(
            Format("%s: Bitte einen Text eingeben: \"%s\".", f.name, f.Caption().c_str()));
    CollectingSink sink;
    std::string text;
    const ExchangeField* dialog = DialogFieldOf(f);
    std::string cp1252;
    if (dialog == nullptr) {
        text = Utf8Of(value);
        if (!Utf8ToCp1252(text, cp1252))
            throw InputError(Format("Bitte einen Text aus Zeichen der Codepage 1252 eingeben: "
                                    "\"%s\".",
                                    f.Caption().c_str()),
                             &f);
    } else if (!ParseFieldText(*dialog, Utf8Of(value), text, sink)) {
        throw InputError(sink.First(), &f);
    }
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
std::string RowFor(py::handle item, size_t index) {
    std::string row;
    const std::string parameter = Format("measured_rows[%zu]", index);
    if (py::isinstance<py::str>(item)) {
        CollectingSink sink;
        if (!ParseFieldText(*::FindField(std::string("m_strZeile")), Utf8Of(item), row, sink))
            throw InputError(sink.First());
    } else {
        if (!py::isinstance<py::sequence>(item) || py::isinstance<py::bytes>(item))
            throw TypeMismatch(Format("%s: %s (eine Folge von 2 oder 3 Zahlen oder ein Text).",
                                      parameter.c_str(), kNoTwoValues));
        const py::sequence seq = py::reinterpret_borrow<py::sequence>(item);
        const size_t n = seq.size();
        if (n < 2 || n > 3) throw InputError(Format("%s: %s.", parameter.c_str(), kNoTwoValues));
        std::string text[3];
        for (size_t i = 0; i < n; ++i) {
            if (i == 2 && seq[i].is_none()) break;
            const float v =
                StoredFloat(NumberArg(seq[i], Format("%s[%zu]", parameter.c_str(), i)));
            if (i == 2 && std::isnan(v)) break;
            if (!std::isfinite(v))
                throw InputError(Format("%s: %s.", parameter.c_str(), kNoTwoValues));
            text[i] = ShortestText(v);
        }
        // The columns of the measured-data file's rows.
        row = text[2].empty()
                  ? Format("%10s   %18s   * ", text[0].c_str(), text[1].c_str())
                  : Format("%10s   %18s  %18s", text[0].c_str(), text[1].c_str(), text[2].c_str());
    }
    float oil = 0, pressure = 0, gor = 0;
    if (ScanMeasuredRow(row, oil, pressure, gor) < 2)
        throw InputError(Format("%s: %s.", parameter.c_str(), kNoTwoValues));
    return row;
}

// The rows of a pandas DataFrame: by the column names of measured_rows' tuples
// (np_1000m3, p_bar and optionally gor), or else its two or three columns in
// their order.
py::list FrameRows(py::handle frame) {
    const py::list names = py::list(frame.attr("columns"));
    py::list take;
    bool named = true;
    for (const char* column : {"np_1000m3", "p_bar"})
        named = named && py::bool_(frame.attr("columns").attr("__contains__")(column));
    if (named) {
        take.append("np_1000m3");
        take.append("p_bar");
        if (py::bool_(frame.attr("columns").attr("__contains__")("gor"))) take.append("gor");
    } else if (names.size() == 2 || names.size() == 3) {
        take = names;
    } else {
        throw InputError(
            "Meßwerte aus einer Tabelle brauchen die Spalten np_1000m3, p_bar und wahlweise gor "
            "(oder genau zwei oder drei Spalten in dieser Reihenfolge).");
    }
    py::object values = frame.attr("__getitem__")(take);
    try {
        values = values.attr("to_numpy")(py::arg("dtype") = "float64");
    } catch (py::error_already_set&) {
        throw TypeMismatch("measured_rows: die Spalten der Tabelle müssen Zahlen enthalten.");
    }
    return values.attr("tolist")();
}

std::vector<std::string> RowsFor(py::handle rows);
std::vector<std::string> RowsFor(py::handle rows) {
    if (py::hasattr(rows, "columns") && py::hasattr(rows, "to_numpy"))
        return RowsFor(FrameRows(rows));
    if (py::isinstance<py::str>(rows) || py::isinstance<py::bytes>(rows) ||
        !py::isinstance<py::iterable>(rows))
        throw TypeMismatch("measured_rows: Bitte eine Liste von Meßwertzeilen angeben.");
    std::vector<std::string> out;
    for (py::handle item : rows) out.push_back(RowFor(item, out.size()));
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

// Why a save failed, as an errno: the system's reason where the message is
// its text, else what the program refused (a read-only file: EACCES; a
// folder: EISDIR; no regular file, or further hard links: EPERM).
int SaveErrno(const std::string& path, const std::string& error) {
    if (const int e = ErrnoOfMessage(error); e != 0) return e;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (::access(path.c_str(), W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return EACCES;
    return EPERM;
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
                        SaveErrno(p.bytes, error));
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
    if (in.history) state["history"] = HistoryState(*in.history);
    return state;
}

CaseInputs CaseFromState(const StateReader& state) {
    // As stored, without the dialog's range checks: a case loaded from a file
    // may hold any value, and its pickle gives it back as it was.
    CaseInputs in;
    for (const Field& f : FieldTable()) {
        switch (f.kind) {
            case FieldKind::Number:
                f.Number(in) = StoredFloat(state.Double(f.name));
                break;
            case FieldKind::Text:
                in.*f.text = state.Text(f.name);
                break;
            case FieldKind::Choice:
                in.*f.choice = static_cast<int32_t>(
                    state.Integer(f.name, std::numeric_limits<int32_t>::min(),
                                  std::numeric_limits<int32_t>::max()));
                break;
        }
    }
    const py::list rows = state.List("measured_rows");
    if (rows.size() > kMaxMeasuredRows) state.Damaged("zu viele Meßwertzeilen");
    for (const py::handle row : rows)
        in.measuredRows.push_back(state.TextOf(row, "measured_rows"));
    LabTablesFromState(in, state.Dict("lab_tables"), state);
    if (state.Has("history")) in.history = HistoryFromState(state.Get("history").cast<py::tuple>());
    return in;
}

CaseInputs CaseFromState(const py::handle& state) {
    return CaseFromState(StateReader(state, "Case"));
}

py::class_<PyCase> CaseClass(py::module_& m) {
    return py::reinterpret_borrow<py::class_<PyCase>>(m.attr("Case"));
}

py::object NewCase(const CaseInputs& inputs) {
    return py::cast(PyCase{inputs});
}

const CaseInputs& InputsOfArg(py::handle c, const char* parameter) {
    if (!py::isinstance<PyCase>(c))
        throw TypeMismatch(Format("%s: ein morvek.Case erwartet, nicht %s.", parameter,
                                  py::str(py::type::handle_of(c).attr("__name__"))
                                      .cast<std::string>()
                                      .c_str()));
    return c.cast<const PyCase&>().inputs;
}

void RegisterCase(py::module_& m) {
    py::class_<PyCase> cls(m, "Case", R"doc(Case(**fields)
--

The inputs of one reservoir case, as the case file (.mvk) holds them.

``Case()`` is a new case with the program's defaults (methane only, 1 bar,
10 °API, ...); keyword arguments set fields by their English, case-record or
short names: ``Case(ooip_1000m3=5000, initial_pressure_bar=250, ...)``, and
``measured_rows``. Every input is a property with its English name and unit
(``case.ooip_1000m3``, ``case.initial_pressure_bar``, ``case.h2s_pct``;
``case.ooip`` for short) and an item by its case-record name
(``case["m_OOIP"]``, ``case["m_Gas[0]"]``). Assignments are checked exactly as
the data-entry dialog checks its fields and raise :class:`InputError` (a
ValueError) with the dialog's German message; a text is parsed as the dialog
parses what is typed. Numbers are stored in single precision, as the case
file stores them.

Cases compare equal when every stored value is the same bit for bit and the
measured rows are the same; they copy and pickle.)doc");
    // No case without its inputs: __new__ makes a default case, which
    // __init__ then fills.
    ConstructOnNew(cls);
    cls.attr("__init__") = py::cpp_function(
        [](PyCase& c, const py::kwargs& fields) {
            CaseInputs in;
            for (const auto& [key, value] : fields) {
                const std::string name = py::str(key).cast<std::string>();
                if (name == "measured_rows") {
                    in.measuredRows = RowsFor(value);
                    continue;
                }
                const Field* f = FieldOfName(name);
                if (f == nullptr)
                    throw TypeMismatch(Format(
                        "Case() kennt das Schlüsselwort \"%s\" nicht.\nMögliche Namen: %s "
                        "(oder die englischen Namen von morvek.fields()) und measured_rows",
                        name.c_str(), RecordNames().c_str()));
                SetField(in, *f, value);
            }
            c.inputs = std::move(in);
        },
        py::name("init_case"), py::is_method(cls),
        "init_case(self, /, **fields)\n--\n\n"
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
    const Field* ooip = FieldOfName("ooip");
    cls.def_property(
        "ooip", [ooip](const PyCase& c) { return ValueOf(c.inputs, *ooip); },
        [ooip](PyCase& c, py::handle v) { SetField(c.inputs, *ooip, v); },
        "Original oil in place in 1000 m³: the short name of ``ooip_1000m3``.");

    const auto fieldOfKey = [](const py::handle& name) -> const Field& {
        return FieldByName(TextArg(name, "name"));
    };
    cls.def(
        "__getitem__",
        [fieldOfKey](const PyCase& c, const py::object& name) {
            return ValueOf(c.inputs, fieldOfKey(name));
        },
        py::arg("name"),
        "__getitem__(self, name, /)\n--\n\n"
        "The field of that case-record name (\"m_OOIP\"), English or short name.");
    cls.def(
        "__setitem__",
        [fieldOfKey](PyCase& c, const py::object& name, py::handle value) {
            SetField(c.inputs, fieldOfKey(name), value);
        },
        py::arg("name"), py::arg("value"),
        "__setitem__(self, name, value, /)\n--\n\n"
        "Sets the field of that case-record name, checked as the dialog checks it; a text\n"
        "is read as ``morvek --batch --set NAME=VALUE`` reads it.");
    cls.def(
        "__contains__",
        [](const PyCase&, const py::object& name) {
            return py::isinstance<py::str>(name) &&
                   FieldOfName(name.cast<std::string>()) != nullptr;
        },
        py::arg("name"), "__contains__(self, name, /)\n--\n\nWhether a field has that name.");

    cls.def_property(
        "measured_rows", [](const PyCase& c) { return MeasuredRowsOf(c.inputs); },
        [](PyCase& c, py::handle rows) { c.inputs.measuredRows = RowsFor(rows); },
        "The measured rows as the calculation takes them: a list of tuples (cumulative oil\n"
        "in 1000 m³, shut-in pressure in bar, producing gas-oil ratio in sm³/m³ or None),\n"
        "in order, up to the first row without two numbers (the graph draws the first 300).\n"
        "Assign a list of such tuples of 2 or 3 numbers (a NaN ratio counts as not measured),\n"
        "of texts as typed into the dialog's row line, or a pandas DataFrame (its columns\n"
        "np_1000m3, p_bar and gor, or its two or three columns in that order); a row without\n"
        "two numbers raises InputError.");
    cls.def_property(
        "measured_row_texts", [](const PyCase& c) { return TextList(c.inputs.measuredRows); },
        [](PyCase& c, py::handle rows) { c.inputs.measuredRows = RowsFor(rows); },
        "The measured rows as the case file stores them (texts).");
    cls.def(
        "read_measured_data",
        [](PyCase& c, py::handle path) { return ReadMeasuredData(c.inputs, path); },
        py::arg("path"),
        "read_measured_data(self, /, path)\n--\n\n"
        "Replaces the measured rows by those of a measured-data file (a header line, then\n"
        "cumulative oil, shut-in pressure and optionally the gas-oil ratio per line, code\n"
        "page 1252), read as the dialog's \"Meßwertdatei lesen\" reads it: against the\n"
        "case's oil in place and initial pressure as they stand. Where the reading stops\n"
        "early a MeasuredDataWarning says why and the rows before it are taken. Returns the\n"
        "number of rows; a file that cannot be opened raises OSError.");

    cls.def_static(
        "load", [](py::handle path) { return PyCase{LoadCase(path)}; }, py::arg("path"),
        "load(path)\n--\n\n"
        "The case of a case file (.mvk). A damaged file raises CaseFileError, a file that\n"
        "cannot be read an OSError (FileNotFoundError, ...), each with the program's message.");
    cls.def(
        "save", [](const PyCase& c, py::handle path) { SaveCase(c.inputs, path); }, py::arg("path"),
        "save(self, /, path)\n--\n\n"
        "Writes the case file as the program's save does: beside the target, then renamed\n"
        "over it, so that a failed write keeps the earlier file (OSError with errno:\n"
        "FileNotFoundError, PermissionError, IsADirectoryError, ...).");
    cls.def(
        "to_dict",
        [](const PyCase& c) {
            py::dict d;
            for (const Field& f : FieldTable()) d[f.name] = ValueOf(c.inputs, f);
            return d;
        },
        "to_dict(self, /)\n--\n\n"
        "Every field by its English name, in the order of the case file (not the rows).");
    cls.def(
        "copy", [](const PyCase& c) { return PyCase{c.inputs}; },
        "copy(self, /)\n--\n\nAn independent copy.");
    cls.def(
        "__copy__", [](const PyCase& c) { return PyCase{c.inputs}; },
        "__copy__(self, /)\n--\n\nAn independent copy.");
    cls.def(
        "__deepcopy__", [](const PyCase& c, py::handle) { return PyCase{c.inputs}; },
        py::arg("memo"), "__deepcopy__(self, memo, /)\n--\n\nAn independent copy.");
    cls.def(
        "__eq__",
        [](const PyCase& a, py::handle b) -> py::object {
            if (!py::isinstance<PyCase>(b))
                return py::reinterpret_borrow<py::object>(Py_NotImplemented);
            return py::bool_(a.inputs == b.cast<const PyCase&>().inputs);
        },
        py::is_operator(), py::arg("other"), "__eq__(self, other, /)\n--\n\n");
    cls.attr("__hash__") = py::none();
    cls.def(
        "__repr__", [](const PyCase& c) { return CaseRepr(c.inputs); },
        "__repr__(self, /)\n--\n\n");
    cls.def(
        "__reduce__", [](const PyCase& c) { return ReduceTo("Case", CaseState(c.inputs)); },
        "__reduce__(self, /)\n--\n\nPickles through morvek._restore.");
    AddRestorer("Case", [](const StateReader& state) {
        return py::cast(PyCase{CaseFromState(state)});
    });

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
        .def(
            "__repr__",
            [](const Field& f) {
                return Format("morvek.FieldInfo(%s, %s)", f.recordName, f.name);
            },
            "__repr__(self, /)\n--\n\n")
        .def(
            "__reduce__",
            [](const Field& f) { return ReduceTo("FieldInfo", py::dict(py::arg("name") = f.name)); },
            "__reduce__(self, /)\n--\n\nPickles through morvek._restore.");
    RefuseNew(m.attr("FieldInfo"));
    AddRestorer("FieldInfo", [](const StateReader& state) {
        const Field* f = FieldOfName(state.Text("name"));
        if (f == nullptr) state.Damaged("kein Feld dieses Namens");
        return py::cast(f, py::return_value_policy::reference);
    });
    m.def(
        "fields",
        [] {
            py::list out;
            for (const Field& f : FieldTable())
                out.append(py::cast(&f, py::return_value_policy::reference));
            return out;
        },
        "fields()\n--\n\nEvery input of a case, in the order of the case file.");
}

}  // namespace morvek::python
