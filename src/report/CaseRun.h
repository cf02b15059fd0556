#pragma once
// One calculation run of a case, as the dialog's OK and batch mode start it:
// the fluids, then one result (the prediction, the PVT table or the table of
// the relative permeabilities), rendered into the report lines and the graph.
// The decisions the program asks the user about are made before the run and
// passed in; the run itself asks nothing and changes nothing.

#include <optional>
#include <vector>

#include "depletion/Prediction.h"
#include "depletion/RelPermTable.h"
#include "model/CaseInputs.h"
#include "pvt/OilGravityCheck.h"
#include "pvt/PvtTable.h"
#include "report/GraphSeries.h"
#include "report/Report.h"

namespace morvek {

enum class ResultKind { Prediction, PvtTable, RelPermTable };

struct CaseRun {
    ResultKind kind = ResultKind::Prediction;
    ReportLines report;
    GraphSeries graph;
    // The API gravity the run computed with.
    float apiGravity = 0;
    ViscosityCalibration calibration;
    std::optional<PredictionResult> prediction;
    std::optional<PvtTableResult> pvtTable;
    std::optional<RelPermTableResult> relPermTable;
    // German warnings about the case's inputs (CaseWarnings) for the window's
    // status line and batch mode's stderr; never part of the report.
    std::vector<std::string> warnings;

    // The run has a result: a prediction whose report ends with "Morvek
    // Berechnung abgeschlossen" (PredictionHasResult), or a table with a row
    // of numbers.
    bool HasResultTable() const;
};

CaseRun RunCase(const CaseInputs& inputs, ResultKind kind, const RunOptions& options = {});

// What in the inputs is accepted but probably not meant, one German line each:
// a PVT table whose Rs already falls above the entered bubble point (the
// bubble point is then lower than the table says), and a gas cap with the
// initial pressure above the bubble point (a gas cap lies on saturated oil).
std::vector<std::string> CaseWarnings(const CaseInputs& inputs);

// The whole report of a prediction of the case, rendered from its result:
// the head (with the gas of the run's fluids), the account of laboratory data
// where the case has any, and the prediction's lines. RunCase and every other
// caller that holds a prediction render it with this one function.
ReportLines PredictionReportLines(const CaseInputs& inputs, const GasMixture& gas,
                                  const PredictionResult& result);

}  // namespace morvek
