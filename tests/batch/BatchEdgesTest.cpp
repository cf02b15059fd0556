// Batch mode with inputs at the edges of what the dialog accepts: the same
// finished runs as the window gives, exit status 0, and no "nan" or "inf" in
// the report, the messages or the files written.
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

void ExpectCleanRun(const ProcessResult& r) {
    EXPECT_EQ(r.exitStatus, 0) << r.err;
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
