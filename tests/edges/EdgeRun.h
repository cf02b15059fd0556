#pragma once
// One calculation run of an edge case: the Nordfeld example with one input
// (or a few) moved to the edge of what the data-entry dialog accepts, taken
// through the dialog's OK checks and the run sequence as "Daten ändern" does,
// and the checks every such run must pass.

#include <memory>
#include <string>

#include "base/MessageSink.h"
#include "case/MorvekDoc.h"
#include "support/ScriptedMessageSink.h"

enum class RunKind { Depletion, PvtTable, RelPerm };

struct EdgeRun {
    CMorvekDoc doc;
    ScriptedMessageSink sink;    // messages and questions of the run
    ScriptedMessageSink checks;  // messages of the OK checks
    bool accepted = false;       // the OK checks let the case through
};

// Runs Nordfeld changed by `change` as the result kind with the correlation,
// answering every question of the run with `answer`. Unchecked, the run skips
// the OK checks: for inputs the dialog refuses as physically impossible (a
// temperature below absolute zero, a negative gas cap), which an engine run
// must survive all the same.
enum class Checks { Run, Skip };
std::unique_ptr<EdgeRun> RunEdge(void (*change)(CMorvekDoc&), RunKind kind, int methode,
                                 Answer answer = Answer::No, Checks checks = Checks::Run);

// The report line that names a quantity the run could not compute.
bool IsNoResultLine(const std::string& line);
bool HasNoResultLine(const CMorvekDoc& doc);

// Everything a finished run must give whatever its inputs: the head of its
// report, no "nan" or "inf" in any report line, message or CSV cell, point
// counts within the series, finite series values, and a graph page that
// scales to finite axes and draws, and a results file aus.txt.
void ExpectFinishedRun(EdgeRun& run, RunKind kind);
