#pragma once
// Batch mode's history match and material-balance diagnostics.
//
//   --match NAME[,NAME...]     fit these inputs to the case's measured rows
//   --match-weights p=W,gor=W  weights of the pressure and gas-oil-ratio residuals
//   --match-iterations N       at most N solver iterations (default 100)
//   --match-csv FILE           the fitted values as CSV
//   --match-report FILE        the German summary of the match instead of stderr
//   --havlena-odeh FILE        the Havlena-Odeh graph (PNG, SVG or PDF); with a gas
//                              cap also FILE-gaskappe.EXT, F/Eo against (Bg-Bgi)/Eo
//   --drive-indices FILE       the drive-index graph (PNG, SVG or PDF)
//   --drive-indices-csv FILE   the drive indices of every step as CSV
//
// The match runs after --set and --messwerte and the checks of the dialog's
// OK button, and before --save and the run: the fitted values replace the
// inputs, so that the saved case, the report, the CSV and the graph are the
// matched ones. The diagnostics are outputs of the run.

#include <string>
#include <vector>

class CMorvekDoc;
class DataEntryRunner;
class MessageSink;
class QCommandLineParser;
namespace morvek {
struct GraphSeries;
}

struct MatchCommandLine {
    std::vector<std::string> names;  // record names, empty without --match
    double pressureWeight = 1.0;
    double gorWeight = 1.0;
    int maxIterations = 100;
    std::string csvPath;
    std::string reportPath;
    std::string havlenaOdehPath;
    std::string driveIndicesPath;
    std::string driveIndicesCsvPath;
};

void AddMatchOptions(QCommandLineParser& parser);

// The second Havlena-Odeh picture of a case with a gas cap:
// "bilder/ho.png" -> "bilder/ho-gaskappe.png".
std::string GasCapHavlenaOdehPath(const std::string& path);
// False with the problem when the options are malformed or used without
// what they need.
bool ReadMatchOptions(const QCommandLineParser& parser, MatchCommandLine& out,
                      std::string& problem);

// The match with the case as --set and --messwerte left it; 0 to go on, else
// the exit status (2 refused, 1 a file not written, 4 not converged).
int RunMatchStep(CMorvekDoc& doc, const MatchCommandLine& options, bool answerYes,
                 DataEntryRunner& runner, MessageSink& sink);

// Draws a diagnostic graph of the case onto its page, titled "Feld: title",
// into a PNG, SVG or PDF file; false with the message on stderr.
bool ExportDiagnosticGraph(const CMorvekDoc& doc, const morvek::GraphSeries& graph,
                           const char* title, const std::string& path);

// The diagnostic outputs after the run; false when a file could not be
// written (the message is on stderr).
bool WriteMatchOutputs(const CMorvekDoc& doc, const MatchCommandLine& options, int argc,
                       char** argv);
