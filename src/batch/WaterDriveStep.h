#pragma once
// Batch mode's production history and material balance with water influx.
//
//   --historie FILE           read a production-history file into the case
//   --mb-fit NAME[,NAME...]   fit these inputs to the history: F = N Et + We
//   --mb-objective f|pressure the regression's residuals (default f)
//   --mb-fit-csv FILE         the fitted values, as --match-csv writes them
//   --mb-report FILE          the German summary instead of stderr
//   --history-csv FILE        the balance of every history row
//   --mb-plots PREFIX         Havlena-Odeh with influx, Campbell and the drive
//                             indices along the history (PREFIX-havlena-odeh.png, ...)
//
// The history is read after the laboratory tables, the fit runs after the
// history match and before --save, so that the saved case, the report and
// the outputs are those of the fitted case.

#include <string>
#include <vector>

#include "waterdrive/MaterialBalance.h"

class CMorvekDoc;
class DataEntryRunner;
class MessageSink;
class QCommandLineParser;

struct WaterDriveCommandLine {
    std::string historyPath;
    std::vector<std::string> fitNames;  // as given
    morvek::MbObjective objective = morvek::MbObjective::F;
    std::string fitCsvPath;
    std::string reportPath;
    std::string historyCsvPath;
    std::string plotsPrefix;
};

void AddWaterDriveOptions(QCommandLineParser& parser);
// False with the problem when the options are malformed or used without what
// they need.
bool ReadWaterDriveOptions(const QCommandLineParser& parser, WaterDriveCommandLine& out,
                           std::string& problem);

// Reads --historie into the case: 0, or 1 (unreadable) or 2 (refused, the bad
// lines on stderr); the case keeps its history then.
int ApplyHistoryOption(CMorvekDoc& doc, const WaterDriveCommandLine& options, MessageSink& sink);

// The regression: 0 to go on, else the exit status (2 refused, 1 a file not
// written, 4 not converged, nothing changed).
int RunMbFitStep(CMorvekDoc& doc, const WaterDriveCommandLine& options, bool answerYes,
                 DataEntryRunner& runner, MessageSink& sink);

// --history-csv and --mb-plots after the run; false when a file could not be
// written (the message is on stderr).
bool WriteWaterDriveOutputs(const CMorvekDoc& doc, const WaterDriveCommandLine& options,
                            bool answerYes, int argc, char** argv);
