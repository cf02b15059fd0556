#pragma once
// The golden cases of tests/golden/cases.txt as the engine's inputs: the
// example case file read by the engine's own codec, then the batch options'
// --set assignments applied through the field table. No document involved.

#include <string>
#include <vector>

#include "model/CaseInputs.h"

struct GoldenCase {
    std::string name;
    morvek::CaseInputs inputs;
};

const std::vector<GoldenCase>& GoldenCases();

// An example case of examples/ read by the engine's codec.
morvek::CaseInputs ExampleInputs(const std::string& fileName);

// A laboratory PVT table of examples/tabellen/ ("nordfeld-pvt.txt").
morvek::LabPvtTable ExamplePvtTable(const std::string& fileName);
