#pragma once
// Every file a batch run reads or writes, checked before anything is read or
// written: no output may replace an input (the case, the measured data, a
// table) or another output, or one result would silently take the place of
// the other. Two names mean the same file when both exist and are the same
// file (device and inode: through links, "./" or "..", hard links), or when
// neither exists yet and they name the same place. Saving the case over
// itself (--save onto the case file) is what a user means and stays allowed.
// Devices and pipes (/dev/null, /dev/stdout into a pipe) take any number of
// outputs and are not compared.

#include <string>
#include <vector>

class BatchFiles {
public:
    // The case file, the one input --save may replace.
    void Case(const std::string& path);
    // A file the run reads; option as the command line names it
    // ("--messwerte"). An empty path (the option was not given) is skipped.
    void Input(const std::string& option, const std::string& path);
    // A file the run writes.
    void Output(const std::string& option, const std::string& path);
    // The case saved with --save.
    void Save(const std::string& option, const std::string& path);

    // Empty when every output has a file of its own; else the German message
    // naming the two options and the file.
    std::string Clash() const;

private:
    enum class Role { Case, Input, Output, Save };
    struct Use {
        std::string option;
        std::string path;
        Role role;
    };
    void Add(const std::string& option, const std::string& path, Role role);
    std::vector<Use> m_Uses;
};
