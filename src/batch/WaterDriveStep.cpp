#include "batch/WaterDriveStep.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <iostream>
#include <memory>

#include "base/MessageSink.h"
#include "batch/CommandLineText.h"
#include "batch/DrawingApplication.h"
#include "batch/ExitStatus.h"
#include "batch/TableStep.h"
#include "batch/MatchStep.h"
#include "case/DataEntryRunner.h"
#include "case/MorvekDoc.h"
#include "input/LabTableEntry.h"
#include "match/MatchReport.h"
#include "model/FieldTable.h"
#include "views/qt/ChartExport.h"
#include "waterdrive/WaterDriveGraphs.h"
#include "waterdrive/WaterDriveReport.h"

namespace {

morvek::RunOptions RunOf(const CMorvekDoc& doc, bool answerYes) {
    morvek::RunOptions run;
    run.useApiFromInitialGor = answerYes && doc.m_Inputs.initialGorSm3PerM3 != 0.0f;
    return run;
}

}  // namespace

void AddWaterDriveOptions(QCommandLineParser& parser) {
    parser.addOption({"historie",
                      "Read a production-history file (header naming the columns days or date, "
                      "pressure_bar, np_1000m3, gp_mio_sm3 or rp_sm3_per_m3, optional wp_1000m3, "
                      "wi_1000m3, gi_mio_sm3) into the case.",
                      "FILE"});
    parser.addOption({"mb-fit",
                      "Fit these inputs to the production history by the material balance "
                      "F = N Et + We before --save and the run: any of " +
                          QString::fromStdString(morvek::MbFittableNames()) +
                          " (record names too).",
                      "NAME[,NAME...]"});
    parser.addOption({"mb-objective",
                      "Residuals of the --mb-fit: f (F - N Et - We, default) or pressure (the "
                      "pressure the balance gives against the measured one).",
                      "f|pressure"});
    parser.addOption({"mb-fit-csv",
                      "Write the values --mb-fit fitted (name;start;fitted;std_error;ci95_low;"
                      "ci95_high) into a CSV file.",
                      "FILE"});
    parser.addOption(
        {"mb-report", "Write the --mb-fit summary into FILE instead of stderr.", "FILE"});
    parser.addOption({"history-csv",
                      "Write the balance of every production-history row (pressures, F, Eo, "
                      "Eg, Efw, Et, We, drive indices) into a CSV file.",
                      "FILE"});
    parser.addOption({"mb-plots",
                      "Draw Havlena-Odeh with influx, Campbell and the drive indices of the "
                      "history into PREFIX-havlena-odeh, PREFIX-campbell and "
                      "PREFIX-antriebsindizes (.png, or the extension PREFIX ends with).",
                      "PREFIX"});
}

bool ReadWaterDriveOptions(const QCommandLineParser& parser, WaterDriveCommandLine& out,
                           std::string& problem) {
    if (!FileNameOption(parser, "historie", out.historyPath, problem) ||
        !FileNameOption(parser, "mb-fit-csv", out.fitCsvPath, problem) ||
        !FileNameOption(parser, "mb-report", out.reportPath, problem) ||
        !FileNameOption(parser, "history-csv", out.historyCsvPath, problem) ||
        !FileNameOption(parser, "mb-plots", out.plotsPrefix, problem))
        return false;
    if (parser.isSet("mb-fit")) {
        const auto& fittable = morvek::MbFittableFields();
        std::vector<const morvek::Field*> seen;
        for (const QString& name : parser.value("mb-fit").split(',')) {
            const std::string n = Bytes(name.trimmed());
            const morvek::Field* f = morvek::FindField(n);
            if (f == nullptr || std::find(fittable.begin(), fittable.end(), f) == fittable.end()) {
                problem = "--mb-fit erwartet Namen aus " + morvek::MbFittableNames() +
                          ", nicht \"" + n + "\".";
                return false;
            }
            if (std::find(seen.begin(), seen.end(), f) != seen.end()) {
                problem = "--mb-fit nennt " + std::string(f->name) + " zweimal.";
                return false;
            }
            seen.push_back(f);
            out.fitNames.push_back(n);
        }
    }
    if (parser.isSet("mb-objective")) {
        const QString o = parser.value("mb-objective").toLower();
        if (o != "f" && o != "pressure") {
            problem = "--mb-objective erwartet f oder pressure, nicht \"" +
                      Bytes(parser.value("mb-objective")) + "\".";
            return false;
        }
        out.objective = o == "pressure" ? morvek::MbObjective::Pressure : morvek::MbObjective::F;
    }
    for (const char* needsFit : {"mb-objective", "mb-fit-csv", "mb-report"}) {
        if (parser.isSet(needsFit) && out.fitNames.empty()) {
            problem = std::string("--") + needsFit + " verlangt --mb-fit.";
            return false;
        }
    }
    // The prefix names three files; an extension it ends with must be one
    // the pictures can take.
    if (!out.plotsPrefix.empty()) {
        const morvek::WaterDrivePlotNames names = morvek::WaterDrivePlotFiles(out.plotsPrefix);
        if (!IsDrawingFileName(names.campbell)) {
            problem = "--mb-plots zeichnet in Dateien mit der Endung .png, .svg oder .pdf.";
            return false;
        }
    }
    return true;
}

int ApplyHistoryOption(CMorvekDoc& doc, const WaterDriveCommandLine& cl, MessageSink& sink) {
    if (cl.historyPath.empty()) return kExitOk;
    morvek::CaseInputs inputs = doc.m_Inputs;
    const int status = ExitStatusOf(ReadHistoryInto(cl.historyPath, inputs, sink));
    if (status == kExitOk) doc.m_Inputs.history = std::move(inputs.history);
    return status;
}

int RunMbFitStep(CMorvekDoc& doc, const WaterDriveCommandLine& cl, bool answerYes,
                 DataEntryRunner& runner, MessageSink& sink) {
    const bool anyOutput = !cl.historyCsvPath.empty() || !cl.plotsPrefix.empty();
    if ((anyOutput || !cl.fitNames.empty()) && !doc.m_Inputs.history) {
        sink.Show("Der Fall hat keine Produktionshistorie (--historie DATEI liest eine).");
        return kExitRefused;
    }
    if (anyOutput && cl.fitNames.empty()) {
        // Outputs of a balance the aquifer's inputs cannot make are refused
        // before anything is saved or computed.
        const morvek::HistoryBalance b =
            morvek::BalanceOfHistory(doc.m_Inputs, RunOf(doc, answerYes));
        if (!b.problem.empty()) {
            sink.Show(b.problem);
            return kExitRefused;
        }
    }
    if (cl.fitNames.empty()) return kExitOk;

    // The checks of the dialog's OK button come first, as for the match.
    DataEntryValues checked;
    checked.inputs = doc.m_Inputs;
    if (!runner.RunModal(checked)) return kExitRefused;

    morvek::MbFitOptions options;
    for (const std::string& n : cl.fitNames) options.parameters.push_back({n, {}, {}});
    options.objective = cl.objective;
    options.run = RunOf(doc, answerYes);
    const morvek::MatchResult result = morvek::MbFit(doc.m_Inputs, options);
    if (result.status == morvek::MatchStatus::Refused) {
        sink.Show(result.message);
        return kExitRefused;
    }
    const std::string summary =
        JoinLines(morvek::MbFitSummaryLines(result, doc.m_Inputs, cl.objective, doc.m_Feldname));
    if (cl.reportPath.empty())
        std::cerr << summary << std::flush;
    else if (!WriteOutputFile(cl.reportPath, summary))
        return kExitFile;
    if (!result.Converged()) return kExitMatchNotConverged;
    if (!cl.fitCsvPath.empty() && !WriteOutputFile(cl.fitCsvPath, morvek::MatchCsvText(result)))
        return kExitFile;
    for (const morvek::FittedInput& f : result.inputs)
        morvek::FindField(f.name)->Number(doc.m_Inputs) = f.stored;
    return kExitOk;
}

bool WriteWaterDriveOutputs(const CMorvekDoc& doc, const WaterDriveCommandLine& cl,
                            bool answerYes, int argc, char** argv) {
    if (cl.historyCsvPath.empty() && cl.plotsPrefix.empty()) return true;
    const morvek::RunOptions run = RunOf(doc, answerYes);
    const morvek::HistoryBalance balance = morvek::BalanceOfHistory(doc.m_Inputs, run);
    if (!balance.problem.empty()) {
        std::cerr << balance.problem << '\n';
        return false;
    }
    if (!cl.historyCsvPath.empty()) {
        const morvek::HistoryBalance computed = morvek::BalanceOfHistory(doc.m_Inputs, run, true);
        if (!WriteOutputFile(cl.historyCsvPath, morvek::HistoryCsvText(balance, computed)))
            return false;
    }
    if (cl.plotsPrefix.empty()) return true;
    const std::unique_ptr<QGuiApplication> app = ApplicationForDrawing(argc, argv);
    const morvek::WaterDrivePlotNames names = morvek::WaterDrivePlotFiles(cl.plotsPrefix);
    return ExportDiagnosticGraph(doc, morvek::HavlenaOdehInfluxGraph(balance),
                                 morvek::kHavlenaOdehInfluxTitle, names.havlenaOdeh) &&
           ExportDiagnosticGraph(doc, morvek::CampbellGraph(balance), morvek::kCampbellTitle,
                                 names.campbell) &&
           ExportDiagnosticGraph(doc, morvek::HistoryDriveIndexGraph(balance),
                                 morvek::kHistoryDriveIndexTitle, names.driveIndices);
}
