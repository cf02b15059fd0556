#include "GoldenCases.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "base/NumberText.h"
#include "model/CaseFile.h"
#include "model/FieldTable.h"
#include "model/LabTables.h"

namespace {

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// "NAME=VALUE" of a --set, for the fields the golden cases change.
void Apply(morvek::CaseInputs& in, const std::string& assignment) {
    const size_t eq = assignment.find('=');
    const morvek::Field* f = morvek::FindField(assignment.substr(0, eq));
    if (f == nullptr) throw std::runtime_error("unknown field in " + assignment);
    const std::string value = assignment.substr(eq + 1);
    switch (f->kind) {
        case morvek::FieldKind::Number:
            if (!ParseFloatStrict(value, f->Number(in)))
                throw std::runtime_error("not a number in " + assignment);
            break;
        case morvek::FieldKind::Choice:
            in.*f->choice = std::stoi(value);
            break;
        case morvek::FieldKind::Text:
            in.*f->text = value;
            break;
    }
}

std::vector<GoldenCase> Load() {
    std::ifstream file(SourcePath("tests/golden/cases.txt"));
    std::vector<GoldenCase> cases;
    std::string line;
    while (std::getline(file, line)) {
        if (Trim(line).empty() || Trim(line)[0] == '#') continue;
        std::stringstream fields(line);
        std::string name, example, options;
        std::getline(fields, name, '|');
        std::getline(fields, example, '|');
        std::getline(fields, options);
        GoldenCase c{Trim(name), ExampleInputs(Trim(example))};
        std::stringstream words(options);
        std::string word;
        while (words >> word)
            if (word != "--set") Apply(c.inputs, word);
        cases.push_back(std::move(c));
    }
    return cases;
}

}  // namespace

morvek::CaseInputs ExampleInputs(const std::string& fileName) {
    morvek::CaseInputs in;
    if (!DecodeCaseFile(ReadBytes(SourcePath("examples/" + fileName)), in))
        throw std::runtime_error("cannot read examples/" + fileName);
    return in;
}

morvek::LabPvtTable ExamplePvtTable(const std::string& fileName) {
    morvek::LabPvtTable table;
    std::vector<std::string> problems;
    if (morvek::ReadPvtTableFile(SourcePath("examples/tabellen/" + fileName), table, problems) !=
        morvek::TableReadStatus::Read)
        throw std::runtime_error("cannot read examples/tabellen/" + fileName);
    return table;
}

const std::vector<GoldenCase>& GoldenCases() {
    static const std::vector<GoldenCase> cases = Load();
    return cases;
}
