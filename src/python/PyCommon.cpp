#include "PyCommon.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>

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
        "case that fails the checks of the dialog's OK button before a calculation.");
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
            PyErr_SetObject(InputErrorType().ptr(), MessageText(e.what()).ptr());
        } catch (const CaseFileError& e) {
            PyErr_SetObject(CaseFileErrorType().ptr(), MessageText(e.what()).ptr());
        } catch (const FileError& e) {
            // OSError(errno, message) becomes FileNotFoundError and the like.
            py::object args = e.err != 0 ? py::object(py::make_tuple(e.err, MessageText(e.what())))
                                         : py::object(py::make_tuple(MessageText(e.what())));
            PyErr_SetObject(PyExc_OSError, args.ptr());
        } catch (const TypeMismatch& e) {
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

PathArg PathOf(const py::handle& path) {
    py::module_ os = py::module_::import("os");
    PathArg out;
    out.bytes = py::bytes(os.attr("fsencode")(path)).cast<std::string>();
    // A name that is no valid UTF-8 still shows in a message.
    out.text =
        py::bytes(py::str(os.attr("fsdecode")(path)).attr("encode")("utf-8", "backslashreplace"))
            .cast<std::string>();
    return out;
}

int OpenErrno(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    const bool directory = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    return directory ? EISDIR : 0;
}

void CheckForRun(const CaseInputs& inputs) {
    if (const std::string refused = RefusalOfCase(inputs); !refused.empty())
        throw InputError(refused);
}

int ThreadLimitOf(const py::object& threads) {
    if (threads.is_none()) return 0;
    PyObject* index = py::isinstance<py::bool_>(threads) ? nullptr : PyNumber_Index(threads.ptr());
    if (index == nullptr) {
        PyErr_Clear();
        throw TypeMismatch("Bitte eine ganze Zahl von Threads angeben.");
    }
    int overflow = 0;
    const long t = PyLong_AsLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (overflow != 0 || t < 1 || t > 4096)
        throw InputError("Bitte eine Anzahl von Threads ab 1 angeben.");
    return static_cast<int>(t);
}

}  // namespace morvek::python
