#include "batch/MatchStep.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <iostream>
#include <memory>

#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "batch/CommandLineText.h"
#include "batch/DrawingApplication.h"
#include "batch/ExitStatus.h"
#include "case/DataEntryRunner.h"
#include "case/MorvekDoc.h"
#include "match/DiagnosticGraphs.h"
#include "match/Match.h"
#include "match/MatchReport.h"
#include "model/FieldTable.h"
#include "model/MeasuredRows.h"
#include "views/GraphPage.h"
#include "views/qt/ChartExport.h"
#include "views/qt/PageExport.h"

namespace {

// "bilder/ho.png" -> "bilder/ho-gaskappe.png".
std::string WithSuffix(const std::string& path, const std::string& suffix) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

bool ReadWeights(const std::string& text, MatchCommandLine& out, std::string& problem) {
    bool seenPressure = false, seenGor = false;
    for (const QString& part : QString::fromStdString(text).split(',')) {
        const QStringList kv = part.trimmed().split('=');
        float value = 0;
        if (kv.size() != 2 || !ParseFloatStrict(Bytes(kv[1].trimmed()), value) || value < 0) {
            problem = "--match-weights erwartet p=W,gor=W mit Zahlen W von mindestens 0 "
                      "(mit Dezimalpunkt).";
            return false;
        }
        const QString key = kv[0].trimmed().toLower();
        bool* seen = key == "p" ? &seenPressure : key == "gor" ? &seenGor : nullptr;
        if (seen != nullptr && *seen) {
            problem = "--match-weights nennt das Gewicht " + Bytes(key) + " zweimal.";
            return false;
        }
        if (seen != nullptr) *seen = true;
        if (key == "p")
            out.pressureWeight = value;
        else if (key == "gor")
            out.gorWeight = value;
        else {
            problem = "--match-weights kennt die Gewichte p (Druck) und gor (Gas-Öl-Verhältnis).";
            return false;
        }
    }
    if (out.pressureWeight == 0 && out.gorWeight == 0) {
        problem = "--match-weights: p und gor dürfen nicht beide 0 sein.";
        return false;
    }
    return true;
}

}  // namespace

bool ExportDiagnosticGraph(const CMorvekDoc& doc, const morvek::GraphSeries& graph,
                           const char* title, const std::string& path) {
    std::string error;
    const std::string heading = morvek::DiagnosticTitle(doc.m_Feldname, title);
    GraphPage page = GraphPageOf(graph, heading, doc.GetPathName());
    page.titleKept = doc.m_Feldname.empty() ? std::string(title) : std::string(": ") + title;
    if (ExportGraph(page, heading, path, error)) return true;
    std::cerr << error << '\n';
    return false;
}

std::string GasCapHavlenaOdehPath(const std::string& path) {
    return WithSuffix(path, "-gaskappe");
}

void AddMatchOptions(QCommandLineParser& parser) {
    parser.addOption({"match",
                      "Fit these inputs to the case's measured rows before --save and the run: "
                      "any of " +
                          QString::fromStdString(morvek::MatchableNames()) + ".",
                      "NAME[,NAME...]"});
    parser.addOption({"match-weights",
                      "Weights of the relative pressure and gas-oil-ratio residuals (default "
                      "p=1,gor=1).",
                      "p=W,gor=W"});
    parser.addOption({"match-iterations",
                      "At most N iterations of the solver (default 100); a match that needs "
                      "more ends without converging.",
                      "N"});
    parser.addOption({"match-csv",
                      "Write the fitted values (name;start;fitted;std_error;ci95_low;ci95_high) "
                      "into a CSV file.",
                      "FILE"});
    parser.addOption(
        {"match-report", "Write the match summary into FILE instead of stderr.", "FILE"});
    parser.addOption({"havlena-odeh",
                      "Draw the Havlena-Odeh graph of the measured rows (.png, .svg or .pdf); "
                      "with a gas cap also FILE-gaskappe with F/Eo against (Bg-Bgi)/Eo.",
                      "FILE"});
    parser.addOption({"drive-indices",
                      "Draw the drive indices of the prediction (.png, .svg or .pdf).", "FILE"});
    parser.addOption(
        {"drive-indices-csv", "Write the drive indices of every step into a CSV file.", "FILE"});
}

bool ReadMatchOptions(const QCommandLineParser& parser, MatchCommandLine& out,
                      std::string& problem) {
    // A second --match would replace the names of the first: all names
    // belong into one, separated by commas.
    for (const char* once : {"match", "match-weights", "match-iterations"}) {
        problem = RepeatedOption(parser, once);
        if (!problem.empty()) {
            if (std::string(once) == "match")
                problem += " Mehrere Eingaben gehören durch Kommas getrennt in ein --match "
                           "(--match m_OOIP,m_Gaskappe).";
            return false;
        }
    }
    if (parser.isSet("match")) {
        for (const QString& name : parser.value("match").split(',')) {
            const std::string n = Bytes(name.trimmed());
            const morvek::Field* f = morvek::FindField(n);
            const auto& matchable = morvek::MatchableFields();
            if (f == nullptr ||
                std::find(matchable.begin(), matchable.end(), f) == matchable.end()) {
                problem =
                    "--match erwartet Namen aus " + morvek::MatchableNames() + ", nicht \"" + n + "\".";
                return false;
            }
            if (std::find(out.names.begin(), out.names.end(), f->recordName) != out.names.end()) {
                problem = "--match nennt " + std::string(f->recordName) + " zweimal.";
                return false;
            }
            out.names.emplace_back(f->recordName);
        }
    }
    if (parser.isSet("match-weights") &&
        !ReadWeights(Bytes(parser.value("match-weights")), out, problem))
        return false;
    if (parser.isSet("match-iterations")) {
        bool ok = false;
        out.maxIterations = parser.value("match-iterations").toInt(&ok);
        if (!ok || out.maxIterations < 1) {
            problem = "--match-iterations erwartet eine ganze Zahl von mindestens 1.";
            return false;
        }
    }
    if (!FileNameOption(parser, "match-csv", out.csvPath, problem) ||
        !FileNameOption(parser, "match-report", out.reportPath, problem) ||
        !FileNameOption(parser, "havlena-odeh", out.havlenaOdehPath, problem) ||
        !FileNameOption(parser, "drive-indices", out.driveIndicesPath, problem) ||
        !FileNameOption(parser, "drive-indices-csv", out.driveIndicesCsvPath, problem))
        return false;
    for (const char* needsMatch :
         {"match-weights", "match-iterations", "match-csv", "match-report"}) {
        if (parser.isSet(needsMatch) && out.names.empty()) {
            problem = std::string("--") + needsMatch + " verlangt --match.";
            return false;
        }
    }
    for (const std::string* picture : {&out.havlenaOdehPath, &out.driveIndicesPath}) {
        if (!picture->empty() && !IsDrawingFileName(*picture)) {
            problem = "--havlena-odeh und --drive-indices zeichnen in Dateien mit der Endung .png, .svg "
                      "oder .pdf.";
            return false;
        }
    }
    return true;
}

int RunMatchStep(CMorvekDoc& doc, const MatchCommandLine& cl, bool answerYes,
                 DataEntryRunner& runner, MessageSink& sink) {
    if (!cl.havlenaOdehPath.empty()) {
        bool anyGor = false;
        for (const morvek::MeasuredPoint& p : morvek::MeasuredPoints(doc.m_Messwerte))
            anyGor = anyGor || p.hasGor;
        if (!anyGor) {
            sink.Show("Havlena-Odeh braucht Meßwerte mit Gas-Öl-Verhältnis; der Fall hat keine.");
            return kExitRefused;
        }
    }
    if (cl.names.empty()) return kExitOk;

    // The checks of the dialog's OK button come first: a match starts only
    // from a case the program would compute.
    DataEntryValues checked;
    checked.inputs = doc.m_Inputs;
    if (!runner.RunModal(checked)) return kExitRefused;

    morvek::MatchOptions options = morvek::MatchOptionsFor(cl.names);
    options.weights = {cl.pressureWeight, cl.gorWeight};
    options.maxIterations = cl.maxIterations;
    // With a measured initial gas-oil ratio and the answer ja the run takes the
    // back-calculated gravity where one is offered, so the match predicts with
    // it too (the run's fluids keep the entered gravity where none is).
    options.run.useApiFromInitialGor = answerYes && doc.m_Inputs.initialGorSm3PerM3 != 0.0f;
    const morvek::MatchResult result = morvek::Match(doc.m_Inputs, options);
    if (result.status == morvek::MatchStatus::Refused) {
        sink.Show(result.message);
        return kExitRefused;
    }

    const std::string summary = JoinLines(morvek::MatchSummaryLines(result, doc.m_Feldname));
    if (cl.reportPath.empty()) {
        // A summary nobody receives (stderr on a full disk) is a failed write.
        if (!(std::cerr << summary << std::flush)) return kExitFile;
    } else if (!WriteOutputFile(cl.reportPath, summary)) {
        return kExitFile;
    }
    if (!result.Converged()) return kExitMatchNotConverged;

    if (!cl.csvPath.empty() && !WriteOutputFile(cl.csvPath, morvek::MatchCsvText(result)))
        return kExitFile;
    for (const morvek::FittedInput& f : result.inputs)
        morvek::FindField(f.name)->Number(doc.m_Inputs) = f.stored;
    return kExitOk;
}

bool WriteMatchOutputs(const CMorvekDoc& doc, const MatchCommandLine& cl, int argc, char** argv) {
    if (cl.havlenaOdehPath.empty() && cl.driveIndicesPath.empty() && cl.driveIndicesCsvPath.empty())
        return true;
    // The run has put the gravity it took into the case: its fluids are the
    // case's own from here on.
    const auto& run = doc.LastRun();
    const morvek::PredictionResult prediction =
        run && run->prediction ? *run->prediction : morvek::PredictCase(doc.m_Inputs);
    const std::vector<morvek::DriveIndexStep> drive =
        morvek::DriveIndices(prediction, morvek::Reservoir::Of(doc.m_Inputs));
    if (!cl.driveIndicesCsvPath.empty() &&
        !WriteOutputFile(cl.driveIndicesCsvPath, morvek::DriveIndexCsvText(drive)))
        return false;
    if (cl.havlenaOdehPath.empty() && cl.driveIndicesPath.empty()) return true;

    const std::unique_ptr<QGuiApplication> app = ApplicationForDrawing(argc, argv);
    if (!cl.havlenaOdehPath.empty()) {
        const morvek::HavlenaOdehResult h = morvek::HavlenaOdeh(doc.m_Inputs);
        if (!ExportDiagnosticGraph(doc, morvek::HavlenaOdehGraph(h), morvek::kHavlenaOdehTitle,
                    cl.havlenaOdehPath))
            return false;
        if (doc.m_Gaskappe > 0.0f) {
            if (!ExportDiagnosticGraph(doc, morvek::GasCapHavlenaOdehGraph(h),
                                       morvek::kGasCapHavlenaOdehTitle,
                                       GasCapHavlenaOdehPath(cl.havlenaOdehPath)))
                return false;
            std::cerr << morvek::OriginFitText(h) << '\n';
        }
    }
    if (!cl.driveIndicesPath.empty() &&
        !ExportDiagnosticGraph(doc, morvek::DriveIndexGraph(drive), morvek::kDriveIndexTitle, cl.driveIndicesPath))
        return false;
    return true;
}
