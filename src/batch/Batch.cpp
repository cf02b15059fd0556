#include "batch/Batch.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstring>
#include <iostream>

#include "base/FileIO.h"
#include "batch/BatchPorts.h"
#include "case/MorvekDoc.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitRefused = 2;

struct BatchOptions {
    std::string casePath;
    bool answerYes = false;
    std::string reportPath;
    bool pvt = false;
    bool relPerm = false;
};

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

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
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Morvek batch mode: computes one reservoir case without a window and writes the "
        "report to stdout (UTF-8). Messages and the questions of the run, with the answer "
        "given, go to stderr.");
    QCommandLineOption help({"h", "help"}, "Show this help.");
    QCommandLineOption version({"v", "version"}, "Show the program version.");
    QCommandLineOption batch("batch", "Run headless (required for every other option).");
    QCommandLineOption answer("answer",
                              "Answer to every Yes/No question of the run: ja or nein "
                              "(default nein).",
                              "ja|nein", "nein");
    QCommandLineOption report("report", "Write the report to FILE instead of stdout.", "FILE");
    QCommandLineOption pvt("pvt", "Compute the PVT table instead of the depletion prediction.");
    QCommandLineOption relPerm("relperm",
                               "Compute the relative-permeability table instead of the depletion "
                               "prediction.");
    for (const auto& o : {help, version, batch, answer, report, pvt, relPerm}) parser.addOption(o);
    parser.addPositionalArgument("CASE.mvk", "The case file to compute.");

    if (!parser.parse(args)) {
        std::cerr << Utf8(parser.errorText()) << "\n" << HelpText(parser);
        *exitNow = kExitRefused;
        return false;
    }
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
    if (positional.size() != 1) {
        std::cerr << "Exactly one case file is expected.\n" << HelpText(parser);
        *exitNow = kExitRefused;
        return false;
    }
    opt.casePath = Utf8(positional.front());
    const QString a = parser.value(answer).toLower();
    if (a != "ja" && a != "nein") {
        std::cerr << "--answer takes ja or nein.\n";
        *exitNow = kExitRefused;
        return false;
    }
    opt.answerYes = a == "ja";
    opt.reportPath = Utf8(parser.value(report));
    opt.pvt = parser.isSet(pvt);
    opt.relPerm = parser.isSet(relPerm);
    if (opt.pvt && opt.relPerm) {
        std::cerr << "--pvt and --relperm exclude each other.\n";
        *exitNow = kExitRefused;
        return false;
    }
    return true;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return out;
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
    BatchOptions opt;
    int exitNow = kExitOk;
    if (!ParseOptions(argc, argv, opt, &exitNow)) return exitNow;

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
    if (!doc.OnDataChange()) return kExitRefused;

    const std::string report = JoinLines(doc.m_Text);
    if (opt.reportPath.empty()) {
        std::cout << report << std::flush;
        if (!std::cout) {
            std::cerr << "Der Bericht kann nicht ausgegeben werden.\n";
            return kExitFile;
        }
    } else {
        std::string error;
        if (!WriteFileAtomically(opt.reportPath, report, error)) {
            std::cerr << "Die Datei " << opt.reportPath
                      << " kann nicht geschrieben werden.\n" << error << '\n';
            return kExitFile;
        }
    }
    return kExitOk;
}
