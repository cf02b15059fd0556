#pragma once
// What the parts of the Python module share: the exceptions it raises with the
// program's German messages, a message sink that collects what the program
// would show, the conversion of single-precision inputs to Python floats, file
// paths, and the checks of the data-entry dialog's OK button that every
// calculation starts with.

#include <pybind11/pybind11.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "model/CaseInputs.h"

namespace morvek::python {

namespace py = pybind11;

// Input the dialog refuses: morvek.InputError, a ValueError.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that is no case file: morvek.CaseFileError, an OSError and a ValueError.
class CaseFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or written: OSError (FileNotFoundError,
// PermissionError, ... where the system said why).
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

// A path argument (str, bytes or os.PathLike): the bytes for the system and
// the text for messages.
struct PathArg {
    std::string bytes;
    std::string text;
};
PathArg PathOf(const py::handle& path);

// Why a file cannot be opened for reading: the errno of trying it (0 when it
// can be opened), so that a missing file raises FileNotFoundError.
int OpenErrno(const std::string& path);

// The checks of the data-entry dialog's OK button on the case as it stands,
// as batch mode runs them before every calculation: throws InputError with
// the dialog's message of the first failure.
void CheckForRun(const CaseInputs& inputs);

// A threads argument: None (every core, 0) or a whole number from 1 to 4096.
int ThreadLimitOf(const py::object& threads);

}  // namespace morvek::python
