// The options that let scripts build, vary and export cases, and what each
// does when its file cannot be read or written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "case/MorvekDoc.h"
#include "input/MeasuredDataFile.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");
const std::string kMesswerte = SourcePath("examples/nordfeld-messwerte.txt");

CMorvekDoc Load(const std::string& path) {
    CMorvekDoc doc;
    doc.OnNewDocument();
    EXPECT_TRUE(doc.ReadCaseFile(path));
    return doc;
}

TEST(BatchSet, ChangesInputsAsTheDialogWouldAndSavesThem) {
    TempDir dir;
    const std::string saved = dir.File("variante.mvk");
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--set", "m_Feldname=Südfeld", "--set",
                                 "m_Gas[3]=81.5", "--set", "m_Methode=2", "--save", saved});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(SplitLines(r.out).at(0), "     MORVEK BERECHNUNG FELD: Südfeld ");
    CMorvekDoc doc = Load(saved);
    EXPECT_EQ(doc.m_Feldname, "Südfeld");
    EXPECT_EQ(doc.m_Gas[3], 81.5f);
    EXPECT_EQ(doc.m_Methode, 2);
    EXPECT_EQ(doc.m_OOIP, 5000.0f);
}

TEST(BatchSet, RefusesWhatTheDialogRefusesAndSavesNothing) {
    TempDir dir;
    const std::string saved = dir.File("nie.mvk");
    for (const char* bad : {"m_OOIP=0.05", "m_OOIP=100000", "m_Swi=abc", "m_Swi=nan",
                            "m_Unbekannt=1", "m_Methode=4", "m_OOIP"}) {
        ProcessResult r = RunMorvek({"--batch", kNordfeld, "--set", bad, "--save", saved});
        EXPECT_EQ(r.exitStatus, 2) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
        EXPECT_FALSE(FileExists(saved)) << bad;
    }
    // Accepted by --set but refused by the OK checks of the dialog.
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--set", "m_Swi=0"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err, "Haftwassersättigung swi muß > 0 sein\n");
}

TEST(BatchMesswerte, ReplacesTheRowsWithThoseTheDialogButtonWouldRead) {
    TempDir dir;
    const std::string saved = dir.File("mit-messwerten.mvk");
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--messwerte", kMesswerte, "--save", saved});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    ScriptedMessageSink sink;
    std::vector<std::string> rows;
    ASSERT_TRUE(ReadMeasuredDataFile(kMesswerte, 5000.0f, 250.0f, sink, rows));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(Load(saved).m_Messwerte, rows);

    r = RunMorvek({"--batch", kNordfeld, "--messwerte", dir.File("fehlt.txt")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("kann nicht geöffnet werden.\n"), std::string::npos) << r.err;
    EXPECT_EQ(SplitLines(r.err).size(), 2u) << "the system's reason follows: " << r.err;
}

// A file that yields no row would leave the case's old rows in place, and a
// match would then fit "an 6 Meßwerte" of them as if they were the file's:
// an empty file, a header alone and a first row that is no row are refused,
// with the reason, and nothing is saved or computed.
TEST(BatchMesswerte, RefusesAFileThatYieldsNoRow) {
    TempDir dir;
    const std::pair<const char*, const char*> files[] = {
        {"leer.txt", ""},
        {"kopf.txt", "Kum.Oel Druck GOEV\n"},
        {"komma.txt", "Kopf\n10,5 200 100\n11,5 190 110\n"},
        {"text.txt", "Kopf\nkeine Zahlen\n10 200 100\n"}};
    for (const auto& [name, bytes] : files) {
        WriteBytes(dir.File(name), bytes);
        const std::string saved = dir.File("gespeichert.mvk");
        ProcessResult r =
            RunMorvek({"--batch", kNordfeld, "--messwerte", dir.File(name), "--save", saved,
                       "--match", "m_OOIP"});
        EXPECT_EQ(r.exitStatus, 2) << name << r.err;
        EXPECT_TRUE(r.out.empty()) << name;
        EXPECT_FALSE(FileExists(saved)) << name;
        EXPECT_NE(r.err.find("Die Datei " + dir.File(name) + " liefert keine Meßwerte"),
                  std::string::npos)
            << name << r.err;
        EXPECT_EQ(r.err.find("Angepaßt"), std::string::npos) << name << r.err;
    }
    // The decimal comma is named as the reason.
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--messwerte", dir.File("komma.txt")});
    EXPECT_NE(r.err.find("Dezimalpunkt"), std::string::npos) << r.err;
}

TEST(BatchAus, WritesAusTxtInCodePage1252InTheWorkingDirectory) {
    TempDir dir;
    ProcessResult r =
        RunMorvek({"--batch", kNordfeld, "--aus", "--set", "m_Feldname=Südfeld"}, dir.Path());
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::string aus = ReadBytes(dir.File("aus.txt"));
    EXPECT_EQ(aus.rfind("nordfeld.mvk\n     MORVEK BERECHNUNG FELD: S\xFC"
                        "dfeld \n",
                        0),
              0u);
    EXPECT_EQ(std::count(aus.begin(), aus.end(), '\n'),
              static_cast<long>(SplitLines(r.out).size()) + 1);
    EXPECT_NE(r.err.find("Die Ergebnisse sind in die Datei aus.txt geschrieben!"),
              std::string::npos);
}

TEST(BatchCsv, WritesTheSeriesOfWhateverRan) {
    TempDir dir;
    for (const char* kind : {"", "--pvt", "--relperm"}) {
        std::vector<std::string> args = {"--batch", kNordfeld, "--csv", dir.File("k.csv")};
        if (*kind) args.push_back(kind);
        ProcessResult r = RunMorvek(args);
        ASSERT_EQ(r.exitStatus, 0) << kind << r.err;
        const std::vector<std::string> lines = SplitLines(ReadBytes(dir.File("k.csv")));
        ASSERT_GT(lines.size(), 10u) << kind;
        EXPECT_NE(lines[0].find(';'), std::string::npos) << kind;
        EXPECT_EQ(lines[1].find(','), std::string::npos) << "decimal point, not comma: " << kind;
    }
}

TEST(BatchPages, WritesGraphAndPrintPagesByExtension) {
    TempDir dir;
    ProcessResult r = RunMorvek(
        {"--batch", kNordfeld, "--graph", dir.File("g.png"), "--print-pdf", dir.File("p.pdf")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.File("g.png")).substr(1, 3), "PNG");
    EXPECT_EQ(ReadBytes(dir.File("p.pdf")).substr(0, 5), "%PDF-");
    EXPECT_TRUE(r.err.empty()) << r.err;

    r = RunMorvek({"--batch", kNordfeld, "--graph", dir.File("g.svg")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(ReadBytes(dir.File("g.svg")).find("<svg"), std::string::npos);

    // Another kind of picture is a mistake of the command line: nothing is
    // saved, computed or written.
    r = RunMorvek({"--batch", kNordfeld, "--graph", dir.File("g.bmp"), "--save",
                   dir.File("nie.mvk")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("Die Grafik kann nicht als " + dir.File("g.bmp") +
                              " gespeichert werden: erlaubt sind Dateien mit der Endung .png, "
                              ".svg oder .pdf.\n",
                          0),
              0u)
        << r.err;
    EXPECT_FALSE(FileExists(dir.File("g.bmp")));
    EXPECT_FALSE(FileExists(dir.File("nie.mvk")));
}

// Every write of batch mode, made impossible three ways: a read-only folder, a
// directory where the file should be, a full disk. Each gives a message, exit
// status 1, and leaves the earlier file of that name as it was.
TEST(BatchWrites, FailuresReportAndKeepTheEarlierFile) {
    struct Output {
        const char* name;
        std::vector<std::string> args;  // the file name is appended
    };
    const std::vector<Output> outputs = {
        {"fall.mvk", {"--save"}},  {"bericht.txt", {"--report"}}, {"g.png", {"--graph"}},
        {"g.svg", {"--graph"}},    {"g.pdf", {"--graph"}},        {"druck.pdf", {"--print-pdf"}},
        {"kurven.csv", {"--csv"}},
    };
    auto run = [&](const Output& o, const std::string& folder, const std::string& file) {
        std::vector<std::string> args = {"--batch", kNordfeld};
        args.insert(args.end(), o.args.begin(), o.args.end());
        args.push_back(file);
        return RunMorvek(args, folder);
    };
    for (const Output& o : outputs) {
        {
            TempDir dir;
            WriteBytes(dir.File(o.name), "frueher");
            ReadOnlyFolder readOnly(dir.Path());
            ASSERT_TRUE(readOnly.Effective());
            ProcessResult r = run(o, "", dir.File(o.name));
            EXPECT_EQ(r.exitStatus, 1) << o.name;
            EXPECT_FALSE(r.err.empty()) << o.name;
            EXPECT_EQ(ReadBytes(dir.File(o.name)), "frueher") << o.name;
        }
        {
            // A directory of the output's own name, so that its extension is right.
            TempDir dir;
            ASSERT_EQ(::mkdir(dir.File(o.name).c_str(), 0755), 0);
            ProcessResult r = run(o, "", dir.File(o.name));
            EXPECT_EQ(r.exitStatus, 1) << o.name << " onto a directory: " << r.err;
            EXPECT_NE(r.err.find(dir.File(o.name)), std::string::npos) << o.name << r.err;
        }
        FullFolder full;
        if (full.Available()) {
            full.Keep(o.name, "frueher");
            ProcessResult r = run(o, "", full.File(o.name));
            EXPECT_EQ(r.exitStatus, 1) << o.name << " on a full disk";
            EXPECT_EQ(ReadBytes(full.File(o.name)), "frueher") << o.name;
        }
    }
    // aus.txt has a fixed name in the working directory.
    TempDir dir;
    WriteBytes(dir.File("aus.txt"), "frueher");
    {
        ReadOnlyFolder readOnly(dir.Path());
        ProcessResult r = RunMorvek({"--batch", kNordfeld, "--aus"}, dir.Path());
        EXPECT_EQ(r.exitStatus, 1);
        // The message gives the reason on its next line, as every other output's does.
        const size_t at = r.err.find("Die Datei aus.txt kann nicht geschrieben werden.\n");
        ASSERT_NE(at, std::string::npos) << r.err;
        const std::vector<std::string> after = SplitLines(r.err.substr(at));
        ASSERT_GE(after.size(), 2u) << r.err;
        EXPECT_FALSE(after[1].empty()) << r.err;
        EXPECT_EQ(r.err.find("geschrieben!"), std::string::npos) << "no success after a failure";
    }
    EXPECT_EQ(ReadBytes(dir.File("aus.txt")), "frueher");
}

}  // namespace
