// Batch mode as a script uses it: the real program, its exit status, stdout
// and stderr.
#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "batch/BatchPorts.h"
#include "case/MorvekDoc.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");

// The report the engine itself gives for a case, run as batch mode runs it.
std::string EngineReport(const std::string& casePath) {
    ScriptedMessageSink sink;
    BatchDataEntryRunner runner(sink);
    CMorvekDoc doc;
    doc.SetMessageSink(&sink);
    doc.SetDataEntryRunner(&runner);
    doc.OnNewDocument();
    EXPECT_TRUE(doc.ReadCaseFile(casePath));
    EXPECT_TRUE(doc.OnDataChange());
    std::string out;
    for (const std::string& line : doc.m_Text) out += line + "\n";
    return out;
}

std::string SaveCase(const TempDir& dir, const std::string& name, void (*edit)(CMorvekDoc&)) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    edit(doc);
    const std::string path = dir.File(name);
    EXPECT_TRUE(doc.OnSaveDocument(path));
    return path;
}

TEST(BatchMode, PrintsTheReportOfTheCaseOnStdout) {
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--answer", "nein"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, EngineReport(kNordfeld));
    const std::vector<std::string> lines = SplitLines(r.out);
    ASSERT_GE(lines.size(), 58u);
    EXPECT_EQ(lines[0], "     MORVEK BERECHNUNG FELD: Nordfeld ");
    EXPECT_EQ(lines[57], "     OELVISKOSITAET BEI 200.0 BAR (CP)");
}

TEST(BatchMode, WritesTheReportToAFileWhenAsked) {
    TempDir dir;
    const std::string report = dir.File("bericht.txt");
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--report", report});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(ReadBytes(report), EngineReport(kNordfeld));
}

TEST(BatchMode, RefusesACaseTheDialogWouldRefuseWithItsMessage) {
    TempDir dir;
    const std::string swi = SaveCase(dir, "swi.mvk", [](CMorvekDoc& d) { d.m_Swi = 0.0f; });
    ProcessResult r = RunMorvek({"--batch", swi});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err, "Haftwassersättigung swi muß > 0 sein\n");

    const std::string pb =
        SaveCase(dir, "pb.mvk", [](CMorvekDoc& d) { d.m_Entloesungsdruck = 300; });
    r = RunMorvek({"--batch", pb});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err, "FEHLER!!\nEntlösungsdruck 300.0 > Initialdruck 250.0\n");

    const std::string method = SaveCase(dir, "m.mvk", [](CMorvekDoc& d) { d.m_Methode = 7; });
    r = RunMorvek({"--batch", method});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err, "Bitte eine Korrelationsmethode auswählen.\n");

    const std::string ooip = SaveCase(dir, "o.mvk", [](CMorvekDoc& d) { d.m_OOIP = 100000; });
    r = RunMorvek({"--batch", ooip});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("0.1"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("99000"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Original Oil in Place(1000 m3)"), std::string::npos) << r.err;

    const std::string nan = SaveCase(dir, "n.mvk", [](CMorvekDoc& d) { d.m_Temperatur = NAN; });
    r = RunMorvek({"--batch", nan});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("Lagerstättentemperatur (°C)"), std::string::npos) << r.err;
}

TEST(BatchMode, UnreadableFilesExitWithOne) {
    TempDir dir;
    ProcessResult r = RunMorvek({"--batch", dir.File("fehlt.mvk")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("kann nicht gelesen werden"), std::string::npos);

    WriteBytes(dir.File("kurz.mvk"), "abc");
    r = RunMorvek({"--batch", dir.File("kurz.mvk")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Die Datei " + dir.File("kurz.mvk") + " ist keine gültige Morvek-Datei.\n");

    r = RunMorvek({"--batch", kNordfeld, "--report", dir.Path()});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("kann nicht geschrieben werden"), std::string::npos);

    // The system's reason comes in the user's language, as in the window,
    // also before anything is drawn.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
    const std::string reason = std::strerror(ENOENT);
    std::setlocale(LC_ALL, "C");
    // scripts/install-deps.sh installs the German system messages (libc-l10n).
    if (reason == std::strerror(ENOENT)) GTEST_SKIP() << "no German system messages";
    const char* before = std::getenv("LC_ALL");
    const std::string kept = before ? before : "";
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    const ProcessResult missing = RunMorvek({"--batch", dir.File("fehlt.mvk")});
    const ProcessResult folder = RunMorvek({"--batch", kNordfeld, "--report", dir.Path()});
    if (before) ::setenv("LC_ALL", kept.c_str(), 1); else ::unsetenv("LC_ALL");
    EXPECT_EQ(missing.err, "Die Datei " + dir.File("fehlt.mvk") +
                               " kann nicht gelesen werden.\nDatei oder Verzeichnis nicht gefunden\n");
    EXPECT_EQ(folder.err, "Die Datei " + dir.Path() +
                              " kann nicht geschrieben werden.\nIst ein Verzeichnis\n");
}

TEST(BatchMode, AnswersHelpVersionAndWrongUse) {
    ProcessResult r = RunMorvek({"--help"});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_NE(r.out.find("morvek --batch"), std::string::npos);
    EXPECT_NE(r.out.find("--answer"), std::string::npos);

    r = RunMorvek({"--version"});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, "morvek 2.0\n");

    // A mistake on the command line: its German message, where the help is,
    // nothing else.
    const std::string hint = "Alle Optionen zeigt morvek --help.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"--batch", kNordfeld, "--answer", "vielleicht"},
         "--answer erwartet ja oder nein, nicht \"vielleicht\"."},
        {{"--batch"}, "Es fehlt der Name der Falldatei (FALL.mvk)."},
        {{"--batch", kNordfeld, kNordfeld}, "Es wird genau eine Falldatei erwartet, nicht 2."},
        {{"--batch", kNordfeld, "--gibtsnicht"}, "Unbekannte Option --gibtsnicht."},
        {{"--batch", kNordfeld, "--anwser=ja"}, "Unbekannte Option --anwser."},
        {{"--batch", kNordfeld, "--report"}, "--report erwartet einen Wert."},
        {{"--batch", kNordfeld, "--pvt=ja"}, "--pvt nimmt keinen Wert an."},
        {{"--batch", kNordfeld, "--pvt", "--relperm"},
         "--pvt und --relperm schließen einander aus."},
        {{"--batch", kNordfeld, "--match", "m_OOIP", "--match-weights", "p=1,gor=0,5"},
         "--match-weights erwartet p=W,gor=W mit Zahlen W von mindestens 0 (mit Dezimalpunkt)."},
    };
    for (const auto& [args, message] : mistakes) {
        r = RunMorvek(args);
        EXPECT_EQ(r.exitStatus, 2) << message;
        EXPECT_TRUE(r.out.empty()) << message;
        EXPECT_EQ(r.err, message + "\n" + hint);
    }
}

// The dynamic loader's list of what a run loads (LD_DEBUG=libs goes to
// stderr); the window's widgets stay in their module.
TEST(BatchMode, NeverLoadsTheWidgetsOfTheWindow) {
    TempDir dir;
    const std::vector<std::vector<std::string>> runs = {
        {"--batch", kNordfeld},
        {"--batch", kNordfeld, "--pvt", "--csv", dir.File("p.csv")},
        {"--batch", kNordfeld, "--graph", dir.File("n.png")},
        {"--batch", kNordfeld, "--graph", dir.File("n.svg"), "--print-pdf", dir.File("n.pdf")},
    };
    ::setenv("LD_DEBUG", "libs", 1);
    for (const std::vector<std::string>& args : runs) {
        const ProcessResult r = RunMorvek(args);
        EXPECT_EQ(r.exitStatus, 0) << args.back();
        EXPECT_NE(r.err.find("libQt6Core"), std::string::npos) << "no loader output";
        EXPECT_EQ(r.err.find("libQt6Widgets"), std::string::npos) << args.back();
        EXPECT_EQ(r.err.find("morvek-window"), std::string::npos) << args.back();
    }
    ::unsetenv("LD_DEBUG");
}

TEST(ExampleCases, CommittedFilesAreWhatTheRecipeMakes) {
    for (const ExampleCase& c : ExampleCases()) {
        CMorvekDoc doc;
        c.fill(doc);
        TempDir dir;
        ASSERT_TRUE(doc.OnSaveDocument(dir.File(c.fileName)));
        EXPECT_EQ(ReadBytes(SourcePath("examples/" + c.fileName)), ReadBytes(dir.File(c.fileName)))
            << c.fileName << ": run build/examples/make_examples examples";
    }
}

}  // namespace
