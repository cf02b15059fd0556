#include "PyCommon.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "base/Format.h"
#include "input/CaseRefusal.h"

namespace morvek::python {
namespace {

py::object& InputErrorType() {
    static py::object type;
    return type;
}
py::object& CaseFileErrorType() {
    static py::object type;
    return type;
}
py::object& WarningType() {
    static py::object type;
    return type;
}

// A new exception class of the module with its docstring.
py::object NewException(py::module_& m, const char* name, py::handle bases, const char* doc) {
    const std::string qualified = std::string("morvek.") + name;
    py::object type = py::reinterpret_steal<py::object>(
        PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases.ptr(), nullptr));
    if (!type) throw py::error_already_set();
    m.attr(name) = type;
    return type;
}

std::map<std::string, std::function<py::object(const StateReader&)>>& Restorers() {
    static std::map<std::string, std::function<py::object(const StateReader&)>> restorers;
    return restorers;
}

std::string TypeName(py::handle value) {
    return py::str(py::type::handle_of(value).attr("__name__")).cast<std::string>();
}

}  // namespace

py::str MessageText(const std::string& text) {
    return py::reinterpret_steal<py::str>(PyUnicode_DecodeUTF8(
        text.data(), static_cast<Py_ssize_t>(text.size()), "backslashreplace"));
}

py::list TextList(const std::vector<std::string>& texts) {
    py::list out;
    for (const std::string& text : texts) out.append(MessageText(text));
    return out;
}

void RegisterErrors(py::module_& m) {
    InputErrorType() = NewException(
        m, "InputError", PyExc_ValueError,
        "Input the program refuses, with the data-entry dialog's German message: a value out\n"
        "of its field's range, not a number, a text that code page 1252 cannot store, or a\n"
        "case that fails the checks of the dialog's OK button before a calculation.\n"
        "``field`` is the English name of the input concerned, or None.");
    InputErrorType().attr("field") = py::none();
    CaseFileErrorType() = NewException(
        m, "CaseFileError", py::make_tuple(py::handle(PyExc_OSError), py::handle(PyExc_ValueError)),
        "A file that is no valid case file (damaged, cut short, or of another program).\n"
        "Both an OSError and a ValueError.");
    WarningType() = NewException(
        m, "MeasuredDataWarning", PyExc_UserWarning,
        "The reading of a measured-data file stopped early (a line without two numbers, a\n"
        "production not below the oil in place, a pressure above the initial pressure); the\n"
        "rows before it were taken. The message is the program's.");
    // The objects live as long as the interpreter; they must not be released
    // after it is gone.
    for (py::object* o : {&InputErrorType(), &CaseFileErrorType(), &WarningType()}) o->inc_ref();

    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const InputError& e) {
            py::object error = InputErrorType()(MessageText(e.what()));
            error.attr("field") =
                e.field != nullptr ? py::object(py::str(e.field->name)) : py::object(py::none());
            PyErr_SetObject(InputErrorType().ptr(), error.ptr());
        } catch (const CaseFileError& e) {
            PyErr_SetObject(CaseFileErrorType().ptr(), MessageText(e.what()).ptr());
        } catch (const FileError& e) {
            // OSError(errno, message) becomes FileNotFoundError and the like.
            py::object args = e.err != 0 ? py::object(py::make_tuple(e.err, MessageText(e.what())))
                                         : py::object(py::make_tuple(MessageText(e.what())));
            PyErr_SetObject(PyExc_OSError, args.ptr());
        } catch (const TypeMismatch& e) {
            PyErr_SetObject(PyExc_TypeError, MessageText(e.what()).ptr());
        } catch (const ValueMismatch& e) {
            PyErr_SetObject(PyExc_ValueError, MessageText(e.what()).ptr());
        } catch (const py::cast_error& e) {
            // A conversion this module did not check itself: still a TypeError.
            PyErr_SetObject(PyExc_TypeError, MessageText(e.what()).ptr());
        }
    });
}

py::handle MeasuredDataWarning() {
    return WarningType();
}

double PyValueOf(float value) {
    if (!std::isfinite(value)) return double(value);
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    double out = double(value);
    std::from_chars(buffer, r.ptr, out);
    return out;
}

float StoredFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isfinite(value) && std::fabs(value) > kMax)
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool IsArrayLike(py::handle value) {
    if (!py::hasattr(value, "ndim")) return false;
    PyObject* ndim = PyObject_GetAttrString(value.ptr(), "ndim");
    if (ndim == nullptr) {
        PyErr_Clear();
        return false;
    }
    const long n = PyLong_Check(ndim) ? PyLong_AsLong(ndim) : 0;
    Py_DECREF(ndim);
    if (PyErr_Occurred()) PyErr_Clear();
    return n >= 1;
}

double NumberArg(py::handle value, const std::string& parameter) {
    const auto wrong = [&] {
        return TypeMismatch(Format("%s: eine Zahl erwartet, nicht %s.", parameter.c_str(),
                                   TypeName(value).c_str()));
    };
    if (PyFloat_Check(value.ptr())) return PyFloat_AS_DOUBLE(value.ptr());
    if (py::isinstance<py::str>(value) || py::isinstance<py::bool_>(value) ||
        py::isinstance<py::bytes>(value) || IsArrayLike(value) ||
        (py::hasattr(value, "dtype") && py::str(value.attr("dtype").attr("kind"))
                                                .cast<std::string>() == "b"))
        throw wrong();
    const double d = PyFloat_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred()) {
        // An integer too large for a double is as infinite as the dialog
        // makes a too long number.
        const bool overflow = PyErr_ExceptionMatches(PyExc_OverflowError);
        PyErr_Clear();
        if (overflow) return py::int_(py::reinterpret_borrow<py::object>(value)) > py::int_(0)
                                 ? HUGE_VAL
                                 : -HUGE_VAL;
        throw wrong();
    }
    return d;
}

int64_t IntegerArg(py::handle value, const std::string& parameter) {
    if (py::isinstance<py::bool_>(value) || IsArrayLike(value))
        throw TypeMismatch(Format("%s: eine ganze Zahl erwartet, nicht %s.", parameter.c_str(),
                                  TypeName(value).c_str()));
    PyObject* index = PyNumber_Index(value.ptr());
    if (index == nullptr) {
        PyErr_Clear();
        throw TypeMismatch(Format("%s: eine ganze Zahl erwartet, nicht %s.", parameter.c_str(),
                                  TypeName(value).c_str()));
    }
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (overflow != 0)
        return overflow > 0 ? std::numeric_limits<int64_t>::max()
                            : std::numeric_limits<int64_t>::min();
    return v;
}

std::string TextArg(py::handle value, const std::string& parameter) {
    if (!py::isinstance<py::str>(value))
        throw TypeMismatch(Format("%s: ein Text erwartet, nicht %s.", parameter.c_str(),
                                  TypeName(value).c_str()));
    return py::bytes(value.attr("encode")("utf-8", "surrogatepass")).cast<std::string>();
}

bool BoolArg(py::handle value, const std::string& parameter) {
    if (py::isinstance<py::bool_>(value)) return value.ptr() == Py_True;
    if (py::hasattr(value, "dtype") && !IsArrayLike(value) &&
        py::str(value.attr("dtype").attr("kind")).cast<std::string>() == "b")
        return PyObject_IsTrue(value.ptr()) == 1;
    if (PyLong_CheckExact(value.ptr())) {
        const long v = PyLong_AsLong(value.ptr());
        if (v == 0 || v == 1) return v == 1;
        PyErr_Clear();
    }
    throw TypeMismatch(Format("%s: True oder False erwartet, nicht %s.", parameter.c_str(),
                              TypeName(value).c_str()));
}

const Field* FieldOfName(const std::string& name) {
    return morvek::FindField(name == "ooip" ? std::string("m_OOIP") : name);
}

const Field* FieldOfArg(py::handle name, const std::string& parameter) {
    return FieldOfName(TextArg(name, parameter));
}

PathArg PathOf(const py::handle& path, const char* parameter) {
    if (!py::isinstance<py::str>(path) && !py::isinstance<py::bytes>(path) &&
        !py::hasattr(path, "__fspath__"))
        throw TypeMismatch(Format("%s: ein Dateiname (str, bytes oder os.PathLike) erwartet, "
                                  "nicht %s.",
                                  parameter, TypeName(path).c_str()));
    py::module_ os = py::module_::import("os");
    PathArg out;
    out.bytes = py::bytes(os.attr("fsencode")(path)).cast<std::string>();
    // A name that is no valid UTF-8 still shows in a message.
    out.text =
        py::bytes(py::str(os.attr("fsdecode")(path)).attr("encode")("utf-8", "backslashreplace"))
            .cast<std::string>();
    if (out.bytes.find('\0') != std::string::npos)
        throw InputError(Format("Der Dateiname %s enthält ein Nullzeichen.", out.text.c_str()));
    return out;
}

int OpenErrno(const std::string& path) {
    // O_NONBLOCK: a FIFO without a writer would make open wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno;
    struct stat st {};
    const bool directory = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    return directory ? EISDIR : 0;
}

int ErrnoOfMessage(const std::string& message) {
    for (int e = 1; e < 134; ++e)
        if (message == std::strerror(e)) return e;
    return 0;
}

void CheckForRun(const CaseInputs& inputs) {
    if (const std::string refused = RefusalOfCase(inputs); !refused.empty())
        throw InputError(refused);
}

int ThreadLimitOf(const py::object& threads) {
    if (threads.is_none()) return 0;
    const int64_t t = IntegerArg(threads, "threads");
    if (t < 1 || t > kMaxThreads)
        throw InputError(Format("threads: Bitte eine Anzahl von Threads von 1 bis %d angeben "
                                "(oder None für jeden Kern), nicht %s.",
                                kMaxThreads,
                                py::str(threads).cast<std::string>().c_str()));
    return static_cast<int>(t);
}

void RunInterruptibly(const std::function<void(const std::atomic<bool>& stop)>& work) {
    std::atomic<bool> stop{false};
    bool done = false;
    std::mutex mutex;
    std::condition_variable finished;
    std::exception_ptr failure;
    bool interrupted = false;
    {
        py::gil_scoped_release released;
        std::thread worker([&] {
            try {
                work(stop);
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard<std::mutex> lock(mutex);
            done = true;
            finished.notify_one();
        });
        std::unique_lock<std::mutex> lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return done; })) {
            if (interrupted) continue;
            lock.unlock();
            {
                py::gil_scoped_acquire held;
                if (PyErr_CheckSignals() != 0) {
                    // The exception stays set until the work has stopped.
                    interrupted = true;
                    stop = true;
                }
            }
            lock.lock();
        }
        lock.unlock();
        worker.join();
    }
    if (interrupted) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
}

// --- Objects without state and pickling ----------------------------------------

namespace detail {
NewFunction PlainNew() {
    return reinterpret_cast<PyTypeObject*>(py::detail::get_internals().instance_base)->tp_new;
}
}  // namespace detail

void RefuseNew(py::handle cls) {
    reinterpret_cast<PyTypeObject*>(cls.ptr())->tp_new = [](PyTypeObject* type, PyObject*,
                                                            PyObject*) -> PyObject* {
        PyErr_Format(PyExc_TypeError,
                     "%s entsteht nur aus einer Rechnung des Moduls (oder aus seinem Pickle); "
                     "ein Objekt ohne Zustand gibt es nicht.",
                     type->tp_name);
        return nullptr;
    };
}

py::tuple ReduceTo(const char* kind, py::object state) {
    return py::make_tuple(py::module_::import("morvek").attr("_restore"),
                          py::make_tuple(kind, std::move(state)));
}

StateReader::StateReader(py::handle state, const char* kind) : kind_(kind) {
    if (!PyDict_Check(state.ptr()))
        throw TypeMismatch(Format("Der Zustand von morvek.%s muß ein dict sein, nicht %s.", kind,
                                  TypeName(state).c_str()));
    state_ = py::reinterpret_borrow<py::dict>(state);
}

void StateReader::Wrong(const std::string& what) const {
    throw TypeMismatch(
        Format("Der Zustand von morvek.%s ist beschädigt: %s.", kind_, what.c_str()));
}

void StateReader::Damaged(const std::string& what) const {
    throw ValueMismatch(
        Format("Der Zustand von morvek.%s ist beschädigt: %s.", kind_, what.c_str()));
}

bool StateReader::Has(const char* key) const {
    return state_.contains(key);
}

py::handle StateReader::Get(const char* key) const {
    PyObject* value = PyDict_GetItemString(state_.ptr(), key);
    if (value == nullptr) Wrong(Format("\"%s\" fehlt", key));
    return value;
}

double StateReader::DoubleOf(py::handle value, const char* what) const {
    if (!PyFloat_CheckExact(value.ptr()) && !PyLong_CheckExact(value.ptr()))
        Wrong(Format("\"%s\" ist keine Zahl", what));
    const double d = PyFloat_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        Damaged(Format("\"%s\" ist zu groß", what));
    }
    return d;
}

int64_t StateReader::IntegerOf(py::handle value, const char* what, int64_t min,
                               int64_t max) const {
    if (!PyLong_CheckExact(value.ptr())) Wrong(Format("\"%s\" ist keine ganze Zahl", what));
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow != 0 || v < min || v > max) Damaged(Format("\"%s\" liegt außerhalb", what));
    return v;
}

std::string StateReader::TextOf(py::handle value, const char* what) const {
    if (!PyUnicode_CheckExact(value.ptr())) Wrong(Format("\"%s\" ist kein Text", what));
    Py_ssize_t size = 0;
    const char* utf8 = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
    if (utf8 == nullptr) {
        PyErr_Clear();
        Damaged(Format("\"%s\" ist kein gültiger Text", what));
    }
    return std::string(utf8, static_cast<size_t>(size));
}

py::tuple StateReader::TupleOf(py::handle value, const char* what, size_t size) const {
    if (!PyTuple_CheckExact(value.ptr()) || static_cast<size_t>(PyTuple_GET_SIZE(value.ptr())) != size)
        Wrong(Format("\"%s\" ist kein Tupel aus %zu Werten", what, size));
    return py::reinterpret_borrow<py::tuple>(value);
}

double StateReader::Double(const char* key) const {
    return DoubleOf(Get(key), key);
}

float StateReader::Float(const char* key) const {
    return static_cast<float>(Double(key));
}

int64_t StateReader::Integer(const char* key, int64_t min, int64_t max) const {
    return IntegerOf(Get(key), key, min, max);
}

bool StateReader::Bool(const char* key) const {
    const py::handle value = Get(key);
    if (!PyBool_Check(value.ptr())) Wrong(Format("\"%s\" ist kein bool", key));
    return value.ptr() == Py_True;
}

std::string StateReader::Text(const char* key) const {
    return TextOf(Get(key), key);
}

std::string StateReader::Bytes(const char* key) const {
    const py::handle value = Get(key);
    if (!PyBytes_CheckExact(value.ptr())) Wrong(Format("\"%s\" sind keine Bytes", key));
    return std::string(PyBytes_AS_STRING(value.ptr()),
                       static_cast<size_t>(PyBytes_GET_SIZE(value.ptr())));
}

py::dict StateReader::Dict(const char* key) const {
    const py::handle value = Get(key);
    if (!PyDict_CheckExact(value.ptr())) Wrong(Format("\"%s\" ist kein dict", key));
    return py::reinterpret_borrow<py::dict>(value);
}

py::list StateReader::List(const char* key) const {
    const py::handle value = Get(key);
    if (!PyList_CheckExact(value.ptr())) Wrong(Format("\"%s\" ist keine Liste", key));
    // A copy: the restorer walks it while nothing else can change it.
    return py::reinterpret_steal<py::list>(PyList_GetSlice(value.ptr(), 0, PY_SSIZE_T_MAX));
}

void AddRestorer(const char* kind, std::function<py::object(const StateReader&)> restore) {
    Restorers()[kind] = std::move(restore);
}

void RegisterRestorer(py::module_& m) {
    m.def(
        "_restore_state",
        [](const py::object& kind, const py::object& state) {
            if (!py::isinstance<py::str>(kind))
                throw TypeMismatch("Unbekannte Art eines gespeicherten morvek-Objekts.");
            const std::string name = kind.cast<std::string>();
            const auto found = Restorers().find(name);
            if (found == Restorers().end())
                throw TypeMismatch(
                    Format("Unbekannte Art eines gespeicherten morvek-Objekts: \"%s\".",
                           name.c_str()));
            return found->second(StateReader(state, found->first.c_str()));
        },
        py::arg("kind"), py::arg("state"),
        "_restore_state(kind, state, /)\n--\n\n"
        "The object of that kind from its pickled state (morvek._restore calls it).");
}

}  // namespace morvek::python
