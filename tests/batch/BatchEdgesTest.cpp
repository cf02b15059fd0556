// Batch mode with inputs at the edges of what the dialog accepts: the same
// finished runs as the window gives, exit status 0 (3 when nothing could be
// computed), and no "nan" or "inf" in the report, the messages or the files
// written.
#include <gtest/gtest.h>

#include "ExampleCases.h"
#include "TestSupport.h"
#include "case/MorvekDoc.h"

namespace {

const std::string kNordfeld = SourcePath("examples/nordfeld.mvk");
const std::string kNoResult = " Keine sinnvolle Berechnung möglich: ";

size_t CountNoResultLines(const std::string& report) {
    size_t n = 0;
    for (const std::string& line : SplitLines(report)) n += line.rfind(kNoResult, 0) == 0;
    return n;
}

// A row of a result table begins with its first number (a pressure or a
// saturation); no line of the report head does. The saturations the PVT
// table adds below itself are no PVT result.
bool HasTableRow(const std::string& report) {
    for (const std::string& line : SplitLines(report)) {
        if (line == " OELSAETTIGUNG MIT RELATIVE PERMEABILITAETEN") break;
        const size_t at = line.find_first_not_of(' ');
        if (at == std::string::npos) continue;
        const size_t digit = line[at] == '-' ? at + 1 : at;
        if (digit < line.size() && line[digit] >= '0' && line[digit] <= '9') return true;
    }
    return false;
}

// Exit status 0 for a run with its result table, 3 for one that could compute
// none (the report then says why).
void ExpectCleanRun(const ProcessResult& r) {
    EXPECT_EQ(r.exitStatus, HasTableRow(r.out) ? 0 : 3) << r.err;
    if (r.exitStatus == 3) {
        EXPECT_GT(CountNoResultLines(r.out), 0u);
    }
    EXPECT_FALSE(ShowsNanOrInf(r.out)) << r.out;
    EXPECT_FALSE(ShowsNanOrInf(r.err)) << r.err;
}

TEST(BatchEdges, TemperaturesOfMinus50And300FinishInEveryResultKind) {
    for (const char* kind : {"", "--pvt", "--relperm"}) {
        for (const char* setting : {"m_Temperatur=300", "m_Temperatur=-50"}) {
            SCOPED_TRACE(std::string(setting) + " " + kind);
            std::vector<std::string> args = {"--batch", kNordfeld,  "--set",
                                             setting,   "--answer", "ja"};
            if (*kind != '\0') args.push_back(kind);
            const ProcessResult r = RunMorvek(args);
            ExpectCleanRun(r);
            const bool noViscosity =
                std::string(setting) == "m_Temperatur=-50" && std::string(kind) != "--relperm";
            EXPECT_EQ(CountNoResultLines(r.out) > 0, noViscosity) << r.out;
        }
    }
}

TEST(BatchEdges, APureSourGasWritesItsReportCsvResultsAndGraphWithoutNan) {
    TempDir dir;
    CMorvekDoc doc;
    FillNordfeld(doc);
    doc.m_Gas.fill(0.0f);
    doc.m_Gas[0] = 100.0f;  // H2S below its critical temperature at 80 C
    const std::string casePath = dir.File("h2s.mvk");
    ASSERT_TRUE(doc.OnSaveDocument(casePath));

    for (const char* kind : {"--pvt", "--relperm", ""}) {
        SCOPED_TRACE(kind);
        const std::string csv = dir.File("reihen.csv");
        const std::string png = dir.File("grafik.png");
        std::vector<std::string> args = {"--batch", casePath,  "--aus", "--csv",
                                         csv,       "--graph", png};
        if (*kind != '\0') args.push_back(kind);
        const ProcessResult r = RunMorvek(args, dir.Path());
        ExpectCleanRun(r);
        EXPECT_EQ(CountNoResultLines(r.out) > 0, std::string(kind) != "--relperm") << r.out;
        EXPECT_FALSE(ShowsNanOrInf(ReadBytes(csv)));
        EXPECT_FALSE(ShowsNanOrInf(ReadBytes(dir.File("aus.txt"))));
        EXPECT_TRUE(FileExists(png));
    }
}

TEST(BatchEdges, ExtremeInitialGasOilRatiosFinishWithEitherAnswer) {
    for (const char* answer : {"ja", "nein"}) {
        for (const char* rsi : {"m_Rsi=-50", "m_Rsi=1e30"}) {
            for (const char* methode : {"m_Methode=0", "m_Methode=1"}) {
                SCOPED_TRACE(std::string(rsi) + " " + methode + " " + answer);
                ExpectCleanRun(RunMorvek(
                    {"--batch", kNordfeld, "--set", rsi, "--set", methode, "--answer", answer}));
            }
        }
    }
}

}  // namespace
