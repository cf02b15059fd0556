#pragma once
// The file dialog in which the user picks a measured-data file. It starts on
// the names that end in .TXT (in either case, as Linux file names have case),
// with all files one choice away.

#include "input/FileChooser.h"

class QtFileChooser : public FileChooser {
public:
    std::optional<std::string> ChooseFileToOpen(const std::string& defaultExtension,
                                                const std::string& initialName) override;
};
