#include "batch/Batch.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QStringList>
#include <signal.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <iostream>
#include <memory>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "base/TemporaryFiles.h"
#include "batch/BatchFiles.h"
#include "batch/BatchPorts.h"
#include "batch/CommandLineText.h"
#include "batch/DrawingApplication.h"
#include "batch/ExitStatus.h"
#include "batch/ForecastStep.h"
#include "batch/MatchStep.h"
#include "batch/SweepStep.h"
#include "batch/TableStep.h"
#include "batch/WaterDriveStep.h"
#include "case/MorvekDoc.h"
#include "input/CaseSetting.h"
#include "input/MeasuredDataFile.h"
#include "results/ResultsFile.h"
#include "results/SeriesCsv.h"
#include "views/qt/ChartExport.h"
#include "views/qt/PageExport.h"
#include "waterdrive/WaterDriveGraphs.h"

namespace {

struct BatchOptions {
    std::string casePath;
    bool answerYes = false;
    std::string reportPath;
    bool pvt = false;
    bool relPerm = false;
    std::vector<std::string> settings;
    std::string messwertePath;
    std::string savePath;
    bool aus = false;
    std::string csvPath;
    std::string graphPath;
    std::string printPdfPath;
    MatchCommandLine match;
    TableOptions tables;
    SweepRequest sweep;
    WaterDriveCommandLine waterDrive;
    ForecastRequest forecast;
};

std::string Utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

constexpr const char* kHelpHint = "Alle Optionen zeigt morvek --help.\n";

// The parser's complaint in German: an option it does not know, an option
// whose value is missing at the end of the line, or a value given to a switch.
std::string ParserProblem(const QCommandLineParser& parser, const QStringList& args) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.front();
        return OneLineText("Unbekannte Option " + Bytes((name.size() == 1 ? "-" : "--") + name) +
                           ".");
    }
    const QString error = parser.errorText();
    if (error.startsWith("Missing value after") && !args.isEmpty())
        return OneLineText(Bytes(args.back()) + " erwartet einen Wert.");
    if (error.startsWith("Unexpected value after")) {
        const qsizetype from = error.indexOf('\'') + 1, to = error.lastIndexOf('\'');
        if (from > 0 && to > from)
            return OneLineText(Bytes(error.mid(from, to - from)) + " nimmt keinen Wert an.");
    }
    return OneLineText("Die Befehlszeile ist fehlerhaft: " + Bytes(error));
}

// Without an application object the parser cannot know the program's name.
std::string HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.replace("<executable_name>", "morvek --batch");
    return Utf8(text);
}

// Parses the command line; prints help, version or the problem itself and
// returns the exit status in *exitNow when the run should not go on.
bool ParseOptions(int argc, char** argv, BatchOptions& opt, int* exitNow) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << FromBytes(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Morvek batch mode: computes one reservoir case without a window and writes the "
        "report to stdout (UTF-8). Messages and the questions of the run, with the answer "
        "given, go to stderr.\n"
        "Order: load the case, apply --set, read --messwerte, --pvt-tabelle, "
        "--relperm-tabelle, --historie and --wasseranteil, (with --match: check, then fit; "
        "with --mb-fit: check, then fit), --save, check and compute, the forecast "
        "(--forecast), the uncertainty run (--vary), then write the outputs.");
    QCommandLineOption help({"h", "help"}, "Show this help.");
    QCommandLineOption version({"v", "version"}, "Show the program version.");
    QCommandLineOption batch("batch", "Run headless (required for every other option).");
    QCommandLineOption answer("answer",
                              "Answer to every Yes/No question of the run: ja or nein "
                              "(default nein).",
                              "ja|nein", "nein");
    QCommandLineOption pvt("pvt", "Compute the PVT table instead of the depletion prediction.");
    QCommandLineOption relPerm("relperm",
                               "Compute the relative-permeability table instead of the depletion "
                               "prediction.");
    QCommandLineOption set("set",
                           "Change an input after loading, checked as the data-entry dialog "
                           "checks it; repeatable. NAME is a member of the case record "
                           "(m_OOIP, m_Initialdruck, m_Gas[3], m_Feldname, ...).",
                           "NAME=VALUE");
    QCommandLineOption messwerte(
        "messwerte", "Replace the measured rows by those of a measured-data file.", "FILE");
    QCommandLineOption save("save", "Save the case (after --set and --messwerte) to FILE.mvk.",
                            "FILE.mvk");
    QCommandLineOption report("report", "Write the report to FILE instead of stdout.", "FILE");
    QCommandLineOption aus("aus", "Write the report to aus.txt in the working directory.");
    QCommandLineOption csv("csv",
                           "Write the points of the graph series of the run into a CSV file "
                           "(semicolons, decimal point, UTF-8, a header row of labels).",
                           "FILE");
    QCommandLineOption graph("graph", "Draw the graph page into FILE (.png, .svg or .pdf).",
                             "FILE");
    QCommandLineOption printPdf("print-pdf",
                                "Write what printing gives (report pages, then the graph "
                                "page, A4 portrait) into a PDF file.",
                                "FILE");
    for (const auto& o : {help, version, batch, answer, pvt, relPerm, set, messwerte, save, report,
                          aus, csv, graph, printPdf})
        parser.addOption(o);
    AddMatchOptions(parser);
    for (const auto& o : TableCommandLineOptions()) parser.addOption(o);
    AddSweepOptions(parser);
    AddWaterDriveOptions(parser);
    AddForecastOptions(parser);
    parser.addPositionalArgument("CASE.mvk", "The case file to compute.");

    // A mistake gets its German message and where the help is, not the whole
    // help, so that the message stays in view.
    auto refuse = [&](const std::string& why) {
        std::cerr << why << "\n" << kHelpHint;
        *exitNow = kExitRefused;
        return false;
    };
    if (!parser.parse(args)) return refuse(ParserProblem(parser, args));
    if (parser.isSet(help)) {
        std::cout << HelpText(parser);
        *exitNow = kExitOk;
        return false;
    }
    if (parser.isSet(version)) {
        std::cout << "morvek 2.0\n";
        *exitNow = kExitOk;
        return false;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) return refuse(positional.empty()
                          ? "Es fehlt der Name der Falldatei (FALL.mvk)."
                          : "Es wird genau eine Falldatei erwartet, nicht " +
                                std::to_string(positional.size()) + ".");
    // An empty name would silently write or read nothing.
    if (positional.front().isEmpty()) return refuse("Der Name der Falldatei ist leer.");
    const std::pair<const QCommandLineOption*, std::string*> files[] = {
        {&messwerte, &opt.messwertePath}, {&save, &opt.savePath},
        {&report, &opt.reportPath},       {&csv, &opt.csvPath},
        {&graph, &opt.graphPath},         {&printPdf, &opt.printPdfPath}};
    for (const auto& [o, path] : files) {
        if (std::string why; !FileNameOption(parser, o->names().front(), *path, why))
            return refuse(why);
    }
    // A picture of another kind is a mistake of the command line, refused
    // before anything is saved or computed, as --tornado and --havlena-odeh are.
    if (!opt.graphPath.empty() && !IsDrawingFileName(opt.graphPath))
        return refuse(OneLineText("Die Grafik kann nicht als " + DisplayPath(opt.graphPath) +
                                  " gespeichert werden: erlaubt sind Dateien mit der Endung "
                                  ".png, .svg oder .pdf."));
    opt.casePath = Bytes(positional.front());
    const QString a = parser.value(answer).toLower();
    if (a != "ja" && a != "nein") return refuse(
            OneLineText("--answer erwartet ja oder nein, nicht \"" + Bytes(parser.value(answer)) + "\"."));
    opt.answerYes = a == "ja";
    opt.pvt = parser.isSet(pvt);
    opt.relPerm = parser.isSet(relPerm);
    if (opt.pvt && opt.relPerm) return refuse("--pvt und --relperm schließen einander aus.");
    for (const QString& s : parser.values(set)) opt.settings.push_back(Bytes(s));
    opt.aus = parser.isSet(aus);
    if (std::string why; !ReadMatchOptions(parser, opt.match, why)) return refuse(why);
    if (std::string why; !TableOptionsOf(parser, opt.tables, why)) return refuse(why);
    if (std::string why; !ReadWaterDriveOptions(parser, opt.waterDrive, why)) return refuse(why);
    std::string sweepProblem;
    if (!ReadSweepOptions(parser, opt.sweep, sweepProblem)) {
        std::cerr << sweepProblem << '\n';
        *exitNow = kExitRefused;
        return false;
    }
    if (std::string why; !ReadForecastOptions(parser, opt.sweep.Active(), opt.forecast, why))
        return refuse(why);
    return true;
}

// Every file the run reads or writes. Before anything is read or written,
// BatchFiles::Clash makes sure that no output names an input or another
// output. An option that reads or writes a file joins with one line here:
//     files.Input("--historie", opt.waterDrive.historyPath);
//     files.Output("--mb-report", opt.waterDrive.reportPath);
// (an option not given has an empty path and is skipped). An output that
// writes a second file beside the first names that one too.
BatchFiles FilesOfRun(const BatchOptions& opt) {
    BatchFiles files;
    files.Case(opt.casePath);
    files.Input("--messwerte", opt.messwertePath);
    files.Input("--pvt-tabelle", opt.tables.pvtPath);
    files.Input("--relperm-tabelle", opt.tables.relPermPath);
    files.Input("--historie", opt.waterDrive.historyPath);
    files.Input("--wasseranteil", opt.forecast.waterCutPath);
    files.Save("--save", opt.savePath);
    files.Output("--report", opt.reportPath);
    if (opt.aus) files.Output("--aus", "aus.txt");  // in the working directory
    files.Output("--csv", opt.csvPath);
    files.Output("--graph", opt.graphPath);
    files.Output("--print-pdf", opt.printPdfPath);
    files.Output("--match-csv", opt.match.csvPath);
    files.Output("--match-report", opt.match.reportPath);
    files.Output("--havlena-odeh", opt.match.havlenaOdehPath);
    if (!opt.match.havlenaOdehPath.empty())
        files.Output("--havlena-odeh", GasCapHavlenaOdehPath(opt.match.havlenaOdehPath));
    files.Output("--drive-indices", opt.match.driveIndicesPath);
    files.Output("--drive-indices-csv", opt.match.driveIndicesCsvPath);
    files.Output("--sweep-csv", opt.sweep.csvPath);
    files.Output("--sweep-summary", opt.sweep.summaryPath);
    files.Output("--tornado", opt.sweep.tornadoPath);
    files.Output("--distribution", opt.sweep.distributionPath);
    files.Output("--mb-fit-csv", opt.waterDrive.fitCsvPath);
    files.Output("--mb-report", opt.waterDrive.reportPath);
    files.Output("--history-csv", opt.waterDrive.historyCsvPath);
    if (!opt.waterDrive.plotsPrefix.empty()) {
        const morvek::WaterDrivePlotNames plots =
            morvek::WaterDrivePlotFiles(opt.waterDrive.plotsPrefix);
        for (const std::string* p : {&plots.havlenaOdeh, &plots.campbell, &plots.driveIndices})
            files.Output("--mb-plots", *p);
    }
    files.Output("--forecast-csv", opt.forecast.csvPath);
    files.Output("--forecast-graph", opt.forecast.graphPath);
    files.Output("--fan-chart", opt.forecast.fanPath);
    return files;
}

// A signal that ends the run removes the temporary file being written and
// ends the process as a shell reports a process its signal ended (130 for
// Ctrl-C, 143 for kill, 129 for a closed terminal); the earlier file stays.
void OnInterrupt(int signal) {
    RemoveTemporariesNow();
    ::_exit(128 + signal);
}

void RemoveTemporariesOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, s);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(s, &action, nullptr);
}

bool WriteReport(const BatchOptions& opt, const std::vector<std::string>& lines) {
    const std::string report = JoinLines(lines);
    if (opt.reportPath.empty()) {
        std::cout << report << std::flush;
        if (!std::cout) {
            std::cerr << "Der Bericht kann nicht ausgegeben werden.\n";
            return false;
        }
        return true;
    }
    return WriteOutputFile(opt.reportPath, report);
}

bool WritePages(const BatchOptions& opt, const CMorvekDoc& doc, int argc, char** argv) {
    if (opt.graphPath.empty() && opt.printPdfPath.empty()) return true;
    const std::unique_ptr<QGuiApplication> app = ApplicationForDrawing(argc, argv);
    std::string error;
    if (!opt.graphPath.empty() &&
        !ExportGraph(GraphPageOf(doc), doc.GetTitle(), opt.graphPath, error)) {
        std::cerr << error << '\n';
        return false;
    }
    if (!opt.printPdfPath.empty() &&
        !PrintToPdf(doc.m_Text, GraphPageOf(doc), doc.GetTitle(), opt.printPdfPath, error)) {
        std::cerr << error << '\n';
        return false;
    }
    return true;
}

}  // namespace

bool IsBatchCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--batch") == 0 || std::strcmp(a, "--help") == 0 ||
            std::strcmp(a, "-h") == 0 || std::strcmp(a, "--version") == 0 ||
            std::strcmp(a, "-v") == 0)
            return true;
    }
    return false;
}

int RunBatch(int argc, char** argv) {
    // The system's reasons ("Datei oder Verzeichnis nicht gefunden") in the
    // user's language, as the window gives them; numbers stay untouched.
    std::setlocale(LC_MESSAGES, "");
    BatchOptions opt;
    int exitNow = kExitOk;
    if (!ParseOptions(argc, argv, opt, &exitNow)) return exitNow;
    if (const std::string clash = FilesOfRun(opt).Clash(); !clash.empty()) {
        std::cerr << clash << '\n';
        return kExitRefused;
    }
    RemoveTemporariesOnInterrupt();

    BatchMessageSink sink(std::cerr, opt.answerYes);
    BatchDataEntryRunner runner(sink);
    CMorvekDoc doc;
    doc.SetMessageSink(&sink);
    doc.SetDataEntryRunner(&runner);
    doc.OnNewDocument();

    if (!doc.ReadCaseFile(opt.casePath)) return kExitFile;
    // The output flags are not part of the case file; the command line sets them
    // as the two check boxes of the dialog would.
    doc.m_bPVTAusgabe = opt.pvt ? 1 : 0;
    doc.m_bRelPermAusgabe = opt.relPerm ? 1 : 0;
    for (const std::string& setting : opt.settings)
        if (!ApplyCaseSetting(doc, setting, sink)) return kExitRefused;
    if (!opt.messwertePath.empty()) {
        std::vector<std::string> rows;
        if (!ReadMeasuredDataFile(opt.messwertePath, doc.m_OOIP, doc.m_Initialdruck, sink, rows))
            return kExitFile;
        // The dialog's button would leave the list empty for the user to see;
        // a script would go on with the case's old rows as if they were the
        // file's. A file that yields no row is refused.
        if (rows.empty()) {
            sink.Show(Format("Die Datei %s liefert keine Meßwerte: nach der Kopfzeile braucht "
                             "jede Zeile Kum.Ölproduktion, Schließdruck und, wo gemessen, das "
                             "GOEV. Der Fall bleibt, wie er ist.",
                             DisplayPath(opt.messwertePath).c_str()));
            return kExitRefused;
        }
        doc.m_Messwerte = rows;
    }
    if (const int status = ApplyTableOptions(doc, opt.tables, sink); status != kExitOk)
        return status;
    if (const int status = ApplyHistoryOption(doc, opt.waterDrive, sink)) return status;
    if (const int status = ApplyWaterCutOption(doc, opt.forecast, sink); status != kExitOk)
        return status;
    if (const int status = RunMatchStep(doc, opt.match, opt.answerYes, runner, sink)) return status;
    if (const int status = RunMbFitStep(doc, opt.waterDrive, opt.answerYes, runner, sink))
        return status;
    if (const int status = CheckForecastRequest(opt.forecast, opt.sweep, doc)) return status;
    if (!opt.savePath.empty() && !doc.OnSaveDocument(opt.savePath)) return kExitFile;

    const float apiAsLoaded = doc.m_API;
    if (!doc.OnDataChange()) return kExitRefused;
    // What the inputs probably do not mean: on stderr, never in the report.
    if (doc.LastRun())
        for (const std::string& warning : doc.LastRun()->warnings) std::cerr << warning << '\n';
    // With --forecast the uncertainty run takes the forecast as its run, and
    // the forecast's report takes the prediction's place.
    std::vector<std::string> forecastReport;
    int forecastStatus = kExitOk;
    int sweepStatus = kExitOk;
    if (opt.forecast.active) {
        forecastStatus = RunForecastStep(opt.forecast, opt.sweep, doc, apiAsLoaded,
                                         opt.answerYes, argc, argv, forecastReport);
        if (forecastStatus == kExitFile) return forecastStatus;
    } else {
        sweepStatus = RunSweepStep(opt.sweep, doc, apiAsLoaded, opt.answerYes, argc, argv);
        if (sweepStatus != kExitOk && sweepStatus != kExitNoResult) return sweepStatus;
    }

    if (!WriteReport(opt, opt.forecast.active ? forecastReport : doc.m_Text)) return kExitFile;
    if (opt.aus && !SaveResultsFile(doc.GetTitle(), doc.m_Text, sink)) return kExitFile;
    if (!opt.csvPath.empty()) {
        std::string error;
        if (!WriteSeriesCsv(doc.m_Graph, doc.ResultKind(), opt.csvPath, error)) {
            std::cerr << error << '\n';
            return kExitFile;
        }
    }
    if (!WritePages(opt, doc, argc, argv)) return kExitFile;
    if (!WriteMatchOutputs(doc, opt.match, argc, argv)) return kExitFile;
    if (!WriteWaterDriveOutputs(doc, opt.waterDrive, opt.answerYes, argc, argv)) return kExitFile;
    // Every output is written, the report included; a script still learns
    // that there was nothing to compute (or no sample of the sweep had a
    // result).
    if (forecastStatus != kExitOk) return forecastStatus;
    return doc.HasResultTable() && sweepStatus == kExitOk ? kExitOk : kExitNoResult;
}
