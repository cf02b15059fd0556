#pragma once
// The report's account of the laboratory data: where the fluid properties and
// the relative permeabilities come from (the correlation and its paper, or a
// table's file name and row count), the rock and water compressibilities and
// the tables as they were read. Only cases that use a table or a
// compressibility get these lines; every other report stays as it was.

#include <string>

#include "model/CaseInputs.h"
#include "report/Report.h"

namespace morvek {

// The case takes a laboratory table or a compressibility.
bool UsesLabData(const CaseInputs& inputs);

// After the report head: both sources, the compressibilities and the tables.
// withFluids false (the relative-permeability table) leaves out the fluids.
void AppendLabDataReport(ReportLines& lines, const CaseInputs& inputs, bool withFluids = true);

// What the graph's heading adds when the result uses a laboratory table:
// " (Tabellen)"; "" without.
std::string LabTableHeadingSuffix(const CaseInputs& inputs, bool withFluids = true);

}  // namespace morvek
