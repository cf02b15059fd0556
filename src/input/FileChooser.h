#pragma once
// Asks the user for a file to open. The window shows a file dialog; batch mode
// takes the file from its command line; the tests answer from a script.

#include <optional>
#include <string>

class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The full path of the chosen file, or nothing when the user cancelled.
    // defaultExtension and initialName are what the dialog starts with
    // ("Alle Dateien" and "*.TXT" for a measured-data file).
    virtual std::optional<std::string> ChooseFileToOpen(const std::string& defaultExtension,
                                                        const std::string& initialName) = 0;
};
