// Batch mode's history match and diagnostics as a script uses them: the fitted
// values reach the saved case, the report and the CSV of the fit; the
// diagnostic files are written; cases the match cannot take are refused
// with exit status 2, a match that does not converge ends with 3 and changes
// nothing.
#include <gtest/gtest.h>

#include <charconv>

#include "GoldenCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "base/Format.h"
#include "batch/BatchPorts.h"
#include "case/MorvekDoc.h"
#include "depletion/Prediction.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");
const std::string kGaskappe = SourcePath("examples/gaskappe.mvk");

CMorvekDoc Load(const std::string& path) {
    CMorvekDoc doc;
    doc.OnNewDocument();
    EXPECT_TRUE(doc.ReadCaseFile(path));
    return doc;
}

// The report of a case file as batch mode computes it without a match.
std::string PlainReport(const std::string& casePath) {
    ProcessResult r = RunMorvek({"--batch", casePath});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return r.out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == ';')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

float ReadFloat(const std::string& text) {
    float v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_EQ(r.ptr, text.data() + text.size()) << text;
    return v;
}

TEST(BatchMatch, FitsSavesReportsAndDrawsTheMatchedCase) {
    TempDir dir;
    const std::string saved = dir.File("angepasst.mvk");
    ProcessResult r = RunMorvek({"--batch", kNordfeld, "--match", "m_OOIP,m_Gaskappe",
                                 "--match-csv", dir.File("fit.csv"), "--save", saved,
                                 "--havlena-odeh", dir.File("ho.png"), "--drive-indices",
                                 dir.File("di.svg"), "--drive-indices-csv", dir.File("di.csv")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    // The summary goes to stderr, the report of the matched case to stdout.
    EXPECT_NE(r.err.find("Anpassung an Meßwerte: Nordfeld"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("RMS der relativen Abweichungen: vorher"), std::string::npos);
    EXPECT_EQ(r.out, PlainReport(saved));

    // The CSV holds exactly the values the saved case took.
    const std::vector<std::string> csv = SplitLines(ReadBytes(dir.File("fit.csv")));
    ASSERT_EQ(csv.size(), 3u);
    EXPECT_EQ(csv[0], "name;start;fitted;std_error;ci95_low;ci95_high");
    CMorvekDoc doc = Load(saved);
    const std::vector<std::string> ooip = Fields(csv[1]), gasCap = Fields(csv[2]);
    ASSERT_EQ(ooip.size(), 6u);
    ASSERT_EQ(gasCap.size(), 6u);
    EXPECT_EQ(ooip[0], "m_OOIP");
    EXPECT_EQ(ooip[1], "5000");
    EXPECT_EQ(ReadFloat(ooip[2]), doc.m_OOIP);
    EXPECT_EQ(gasCap[0], "m_Gaskappe");
    EXPECT_EQ(gasCap[1], "0");
    EXPECT_EQ(ReadFloat(gasCap[2]), doc.m_Gaskappe);
    EXPECT_NE(doc.m_OOIP, 5000.0f);
    for (const auto* row : {&ooip, &gasCap})
        EXPECT_LE(ReadFloat((*row)[4]), ReadFloat((*row)[5])) << csv[1];
    // The gas cap ends on its bound 0; its interval starts there, no lower.
    EXPECT_EQ(gasCap[2], "0");
    EXPECT_EQ(gasCap[4], "0");
    EXPECT_GT(ReadFloat(gasCap[5]), 0.0f);

    EXPECT_EQ(ReadBytes(dir.File("ho.png")).substr(1, 3), "PNG");
    EXPECT_NE(ReadBytes(dir.File("di.svg")).find("Antriebsindizes"), std::string::npos);
    const std::vector<std::string> di = SplitLines(ReadBytes(dir.File("di.csv")));
    ASSERT_GT(di.size(), 100u);
    EXPECT_EQ(di[0], "step;pressure_bar;np_1000m3;f_1000m3;ddi;gdi;sum");
    EXPECT_EQ(di[1].substr(0, 6), "0;250;");  // the initial step, without withdrawal
    EXPECT_EQ(Fields(di[50]).size(), 7u);

    // The summary into a file instead, with the weights given.
    r = RunMorvek({"--batch", kNordfeld, "--match", "m_OOIP", "--match-weights", "p=1,gor=0",
                   "--match-report", dir.File("anpassung.txt"), "--report", dir.File("b.txt")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::string summary = ReadBytes(dir.File("anpassung.txt"));
    EXPECT_NE(summary.find("Gewichte Druck 1, GOEV 0"), std::string::npos) << summary;
    EXPECT_EQ(r.err.find("Anpassung"), std::string::npos) << r.err;
}

TEST(BatchMatch, RefusesWhatItCannotFitAndKeepsTheCaseWhenItDoesNotConverge) {
    TempDir dir;
    const std::string saved = dir.File("nie.mvk");
    const std::string oneRow = dir.File("eine-zeile.txt");
    WriteBytes(oneRow, "Kum.Oel  Druck  GOEV\n100.0  230.0  100.0\n");
    // Nordfeld's PVT table from 150 bar up: its rows at 147 bar and below lie
    // below the table, which no run goes below.
    std::string upper;
    const std::string table = ReadBytes(SourcePath("examples/tabellen/nordfeld-pvt.txt"));
    for (size_t at = 0, line = 0; at < table.size(); ++line) {
        const size_t end = table.find('\n', at);
        const std::string text = table.substr(at, end - at + 1);
        if (line == 0 || std::stof(text) >= 150.0f) upper += text;
        at = end + 1;
    }
    const std::string upperTable = dir.File("pvt-ab-150.txt");
    WriteBytes(upperTable, upper);
    struct Refusal {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<Refusal> refusals = {
        {{kGaskappe, "--match", "m_OOIP"}, "keine Meßwerte"},
        {{kNordfeld, "--messwerte", oneRow, "--match", "m_OOIP,m_Gaskappe"},
         "mindestens 2 Meßwerte"},
        {{kGaskappe, "--havlena-odeh", dir.File("ho.png")}, "Havlena-Odeh braucht Meßwerte"},
        {{kNordfeld, "--set", "m_Swi=0", "--match", "m_OOIP"}, "swi muß > 0"},
        {{kNordfeld, "--match", "m_Temperatur"}, "--match erwartet Namen aus m_OOIP"},
        {{kNordfeld, "--match", "m_OOIP,ooip_1000m3"}, "nennt m_OOIP zweimal"},
        {{kNordfeld, "--match-csv", dir.File("fit.csv")}, "--match-csv verlangt --match"},
        {{kNordfeld, "--match", "m_OOIP", "--match-weights", "p=-1"}, "--match-weights"},
        {{kNordfeld, "--match", "m_OOIP", "--match-weights", "p=0,gor=0"}, "nicht beide 0"},
        {{kNordfeld, "--match", "m_OOIP", "--match-iterations", "0"}, "--match-iterations"},
        {{kNordfeld, "--drive-indices", dir.File("di.txt")}, "Endung .png, .svg oder .pdf"},
        {{kNordfeld, "--pvt-tabelle", upperTable, "--match", "m_OOIP"},
         "Meßwert 4: Der Schließdruck 147.0 bar liegt unter der PVT-Tabelle (ab 150.0 bar)"},
    };
    for (const Refusal& refusal : refusals) {
        std::vector<std::string> args = {"--batch"};
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        args.insert(args.end(), {"--save", saved});
        SCOPED_TRACE(refusal.message);
        ProcessResult r = RunMorvek(args);
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(refusal.message), std::string::npos) << r.err;
        EXPECT_FALSE(FileExists(saved));
    }

    // One iteration is not enough from the case's own values: the match says
    // so, and nothing is saved, computed or written.
    ProcessResult r =
        RunMorvek({"--batch", kNordfeld, "--match", "m_OOIP,m_Gaskappe", "--match-iterations", "1",
                   "--match-csv", dir.File("fit.csv"), "--save", saved});
    EXPECT_EQ(r.exitStatus, 4);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("nach 1 Iteration nicht konvergiert"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Die Eingaben bleiben unverändert."), std::string::npos);
    EXPECT_FALSE(FileExists(saved));
    EXPECT_FALSE(FileExists(dir.File("fit.csv")));
}

}  // namespace

namespace {

// A measured-data file of 1000 rows (taken along Nordfeld's own prediction):
// the match fits every one of them, not the first 300; the graph of the
// report draws the first 300, as many as its series hold.
TEST(BatchMatch, FitsEveryMeasuredRowOfALongHistory) {
    const morvek::PredictionResult p = morvek::PredictCase(ExampleInputs("nordfeld.mvk"));
    const double npEnd = 0.9 * p.steps.back().np1000m3;
    std::string file = "Kum.Oel  Druck  GOEV\n";
    size_t s = 1;
    for (int i = 1; i <= 1000; ++i) {
        const double np = npEnd * i / 1000.0;
        while (p.steps[s].np1000m3 < np) ++s;
        const morvek::PredictionStep &a = p.steps[s - 1], &b = p.steps[s];
        const double t = (np - a.np1000m3) / (b.np1000m3 - a.np1000m3);
        file += Format("%.3f %.1f %.1f\n", np, a.pressureBar + t * (b.pressureBar - a.pressureBar),
                       a.gorSm3PerM3 + t * (b.gorSm3PerM3 - a.gorSm3PerM3));
    }
    TempDir dir;
    WriteBytes(dir.File("lang.txt"), file);
    const ProcessResult r =
        RunMorvek({"--batch", kNordfeld, "--messwerte", dir.File("lang.txt"), "--match", "m_OOIP",
                   "--csv", dir.File("k.csv"), "--save", dir.File("lang.mvk")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.err.find("Angepaßt: m_OOIP an 1000 Meßwerte (1000 Drücke, 1000 GOEV)"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Load(dir.File("lang.mvk")).m_Messwerte.size(), 1000u);
    // A head line, then one line per measured point (more than the curve has).
    EXPECT_EQ(SplitLines(ReadBytes(dir.File("k.csv"))).size(), 301u);
}

}  // namespace
