#pragma once
// What the parts of the Python module share: the exceptions it raises with the
// program's German messages, a message sink that collects what the program
// would show, the conversion of arguments (TypeError naming the parameter),
// single-precision inputs as Python floats, file paths, the checks of the
// data-entry dialog's OK button that every calculation starts with, long work
// without the interpreter lock that Ctrl-C stops, and pickling through a
// factory. docs/python.md says how a call uses them.

#include <pybind11/pybind11.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "model/CaseInputs.h"
#include "model/FieldTable.h"

namespace morvek::python {

namespace py = pybind11;

// Input the dialog refuses: morvek.InputError, a ValueError, whose .field is
// the English name of the input concerned (None without one).
class InputError : public std::runtime_error {
public:
    explicit InputError(const std::string& message, const Field* f = nullptr)
        : std::runtime_error(message), field(f) {}
    const Field* field;
};

// A file that is no case file: morvek.CaseFileError, an OSError and a ValueError.
class CaseFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or written: OSError (FileNotFoundError,
// PermissionError, ... with errno set where the system said why).
class FileError : public std::runtime_error {
public:
    FileError(const std::string& message, int error) : std::runtime_error(message), err(error) {}
    int err;
};

// A wrong type where a number, a text or a choice is expected: TypeError.
class TypeMismatch : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value of the right type that is not allowed (a damaged pickled state):
// ValueError.
class ValueMismatch : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Collects the messages of a step of the program; every question is answered
// No, which never changes anything (the module's runs ask none).
class CollectingSink : public SilentMessageSink {
public:
    void Show(const std::string& text) override { messages.push_back(text); }
    std::string First() const { return messages.empty() ? std::string() : messages.front(); }

    std::vector<std::string> messages;
};

// A message of the program as a Python string (a file name that is no valid
// UTF-8 shows with escapes instead of failing).
py::str MessageText(const std::string& text);

// Messages as a list of Python strings.
py::list TextList(const std::vector<std::string>& texts);

// Registers the exceptions in the module and translates the ones above.
void RegisterErrors(py::module_& m);
// morvek.MeasuredDataWarning: a measured-data file whose reading stopped early.
py::handle MeasuredDataWarning();

// A single-precision value as the Python float of its shortest decimal that
// reads back to the same single-precision value (0.2, not 0.20000000298...),
// so that assigning it again changes nothing.
double PyValueOf(float value);
// A double as the single-precision value the case stores; beyond the largest
// single-precision number it is infinite, as the dialog's reading makes it.
float StoredFloat(double value);

// --- Arguments: TypeError naming the parameter for a value of the wrong type ---

// A real number (int, float, NumPy scalar, Fraction, ...): not a bool, a text,
// or an array of any length (a one-element array is no number). An integer
// too large for a double is infinite.
double NumberArg(py::handle value, const std::string& parameter);
// A whole number (anything with __index__, not a bool).
int64_t IntegerArg(py::handle value, const std::string& parameter);
// A Python str, as UTF-8.
std::string TextArg(py::handle value, const std::string& parameter);
// A Python bool (or an int 0/1, or a NumPy bool).
bool BoolArg(py::handle value, const std::string& parameter);
// Whether the value looks like an array (NumPy, pandas): has ndim >= 1.
bool IsArrayLike(py::handle value);

// The field of an input by any of its names: the English name
// ("ooip_1000m3"), the case-record name ("m_OOIP") or the short name ("ooip");
// nullptr for none.
const Field* FieldOfName(const std::string& name);
// The same from an argument (TypeError when not a str): nullptr for none.
const Field* FieldOfArg(py::handle name, const std::string& parameter);

// A path argument (str, bytes or os.PathLike): the bytes for the system and
// the text for messages. TypeError naming the parameter for anything else.
struct PathArg {
    std::string bytes;
    std::string text;
};
PathArg PathOf(const py::handle& path, const char* parameter = "path");

// Why a file cannot be opened for reading: the errno of trying it (0 when it
// can be opened), so that a missing file raises FileNotFoundError. Never
// waits (a FIFO without a writer is opened without blocking).
int OpenErrno(const std::string& path);

// The errno of a failed write whose message is the system's text for it (0
// when the message is the program's own).
int ErrnoOfMessage(const std::string& message);

// The checks of the data-entry dialog's OK button on the case as it stands,
// as batch mode runs them before every calculation: throws InputError with
// the dialog's message of the first failure.
void CheckForRun(const CaseInputs& inputs);

// A threads argument: None (every core, 0) or a whole number from 1 to 4096.
inline constexpr int kMaxThreads = 4096;
int ThreadLimitOf(const py::object& threads);

// Runs work without the interpreter lock on a worker thread while the calling
// thread looks for signals every 20 ms (Python handles them on the main
// thread only). Ctrl-C (or any signal handler that raises) sets stop, which
// work checks between its cases; the exception is then raised here after the
// work has returned. Call with the lock held; work must not touch Python.
void RunInterruptibly(const std::function<void(const std::atomic<bool>& stop)>& work);

// --- Objects without state and pickling ----------------------------------------

// The class refuses __new__ (and so foreign pickles that create an object
// without state): its objects are made only by the module.
void RefuseNew(py::handle cls);

// The class's __new__ constructs a T{} (so that no object exists whose C++
// value was never constructed); __init__ then fills it. T is default
// constructible.
template <typename T>
void ConstructOnNew(py::class_<T>& cls);

// What __reduce__ returns: (morvek._restore, (kind, state)).
py::tuple ReduceTo(const char* kind, py::object state);

// Reads a pickled state back: each getter raises TypeError for a missing key
// or a value of the wrong type and ValueError for one out of range, naming
// the class and the key; nothing a foreign or damaged state holds crashes.
class StateReader {
public:
    StateReader(py::handle state, const char* kind);

    py::handle Get(const char* key) const;
    double Double(const char* key) const;
    float Float(const char* key) const;
    int64_t Integer(const char* key, int64_t min, int64_t max) const;
    bool Bool(const char* key) const;
    std::string Text(const char* key) const;
    std::string Bytes(const char* key) const;
    py::dict Dict(const char* key) const;
    py::list List(const char* key) const;
    bool Has(const char* key) const;

    // The same checks on an item of a list or tuple of the state.
    double DoubleOf(py::handle value, const char* what) const;
    int64_t IntegerOf(py::handle value, const char* what, int64_t min, int64_t max) const;
    std::string TextOf(py::handle value, const char* what) const;
    py::tuple TupleOf(py::handle value, const char* what, size_t size) const;

    [[noreturn]] void Wrong(const std::string& what) const;     // TypeError
    [[noreturn]] void Damaged(const std::string& what) const;   // ValueError

private:
    py::dict state_;
    const char* kind_;
};

// Registers morvek._morvek._restore_state(kind, state), which morvek._restore
// (a Python function, which pickle can name) calls; each class adds its
// restorer under its kind.
void RegisterRestorer(py::module_& m);
void AddRestorer(const char* kind, std::function<py::object(const StateReader&)> restore);

// --- Implementation of ConstructOnNew --------------------------------------------

namespace detail {
using NewFunction = PyObject* (*)(PyTypeObject*, PyObject*, PyObject*);
// pybind11's own __new__ (an instance whose C++ value is not yet made).
NewFunction PlainNew();
}  // namespace detail

template <typename T>
void ConstructOnNew(py::class_<T>& cls) {
    auto* type = reinterpret_cast<PyTypeObject*>(cls.ptr());
    type->tp_new = [](PyTypeObject* subtype, PyObject* args, PyObject* kwds) -> PyObject* {
        PyObject* self = detail::PlainNew()(subtype, args, kwds);
        if (self == nullptr) return nullptr;
        try {
            auto* inst = reinterpret_cast<py::detail::instance*>(self);
            py::detail::value_and_holder v_h =
                inst->get_value_and_holder(py::detail::get_type_info(typeid(T)));
            v_h.value_ptr() = new T();
            v_h.type->init_instance(inst, nullptr);
        } catch (const std::exception& e) {
            Py_DECREF(self);
            PyErr_SetString(PyExc_MemoryError, e.what());
            return nullptr;
        }
        return self;
    };
}

}  // namespace morvek::python
