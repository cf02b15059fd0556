#pragma once
// The German report of a run, line by line, rendered from the results: the
// head with the gas properties and the inputs, then the prediction, the PVT
// table or the relative-permeability table. The lines are exactly those the
// program has always printed.

#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "depletion/RelPermTable.h"
#include "model/CaseInputs.h"
#include "pvt/GasMixture.h"
#include "pvt/OilViscosity.h"
#include "pvt/PvtTable.h"

namespace morvek {

using ReportLines = std::vector<std::string>;

// The head of the prediction and the PVT table: field, composition, gas
// properties and every input.
void AppendReportHead(ReportLines& lines, const CaseInputs& inputs, const GasMixture& gas);

// The prediction's lines after the head: initial gas cap, the table with a row
// every ten steps, the messages of the run where they occurred, and the
// closing lines.
void AppendPredictionReport(ReportLines& lines, const PredictionResult& result);

// The PVT table after the head, with the short table of the relative
// permeabilities below it.
void AppendPvtTableReport(ReportLines& lines, const PvtTableResult& table,
                          const std::vector<ShortRelPermRow>& shortRelPerm);

// The whole report of the relative-permeability table (it has no head);
// sourceLines (the laboratory table's account) follow the saturations.
ReportLines RelPermTableReport(const RelPermTableResult& table, const std::string& fieldName,
                               const ReportLines& sourceLines = {});

// The report's German name of a quantity a run could not compute ("Rs",
// "Ölviskosität", "Bg (Realgasfaktor)", ...); "" for RunQuantity::None.
const char* RunQuantityName(RunQuantity quantity);
// "Keine sinnvolle Berechnung möglich: <name> bei <p> bar": the report's line
// without its leading blank, as the sweep lists a failed sample.
std::string NoMeaningfulResultText(RunQuantity quantity, float pressureBar);
// Why a prediction has no result (PredictionHasResult), or "" when it has one:
// the quantity it could not compute, no point of the graph below pi, or a
// balance ratio without a value.
std::string PredictionFailureText(const PredictionResult& result);

// How many points the prediction's curves have on the graph: the initial
// state and every fifth step, at most the length of a series.
int PredictionPointCount(const PredictionResult& result);

// The prediction has a result: its report ends with " Morvek Berechnung
// abgeschlossen". It has none when a quantity had no meaningful value, when
// the material balance of its last step could not be formed (no expansion
// below the initial pressure: a PVT table whose Bo and Rs do not change
// there produces nothing), or when it ended before its first graph point
// below the initial pressure.
bool PredictionHasResult(const PredictionResult& result);

// The message the user sees about the viscosity calibration.
std::string ViscosityCalibrationNote(const ViscosityCalibration& calibration);

// A developer's note about a liquid saturation below Swi, which only a broken
// prediction reaches (shown once per run).
std::string BelowConnateWaterNote(const PredictionEvent& event, float swi, float sgc, int count);

}  // namespace morvek
