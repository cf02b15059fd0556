// The engine on its own reproduces the golden masters: every golden case in
// every result kind with either answer, from plain inputs, without a document
// or a message sink, gives the report and the graph's CSV byte for byte.

#include <gtest/gtest.h>

#include "GoldenCases.h"
#include "TestSupport.h"
#include "model/LabTables.h"
#include "report/CaseRun.h"
#include "report/SeriesCsv.h"

namespace {

struct Kind {
    morvek::ResultKind kind;
    const char* name;
};
constexpr Kind kKinds[] = {{morvek::ResultKind::Prediction, "prediction"},
                           {morvek::ResultKind::PvtTable, "pvt"},
                           {morvek::ResultKind::RelPermTable, "relperm"}};

// The master of a run: the "ja" file where the answer made a difference.
std::string Master(const std::string& name, const char* kind, bool yes, const char* file) {
    const std::string base = "tests/golden/masters/" + name + "." + kind;
    const std::string ja = base + ".ja." + file;
    if (yes && FileExists(SourcePath(ja))) return ReadBytes(SourcePath(ja));
    return ReadBytes(SourcePath(base + ".nein." + file));
}

TEST(CaseRun, ReproducesEveryGoldenMasterFromPlainInputs) {
    for (const GoldenCase& c : GoldenCases()) {
        for (const Kind& k : kKinds) {
            for (bool yes : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << c.name << " " << k.name << (yes ? " ja" : " nein"));
                const morvek::CaseRun run = morvek::RunCase(c.inputs, k.kind, {yes});
                std::string report;
                for (const std::string& line : run.report) report += line + "\n";
                EXPECT_EQ(report, Master(c.name, k.name, yes, "report.txt"));
                EXPECT_EQ(morvek::SeriesCsvText(run.graph, k.kind),
                          Master(c.name, k.name, yes, "series.csv"));
            }
        }
    }
}

// The result as data: a run has a result exactly when its report ends with
// the closing line (the cold case "kalt" has a table head and one row, then
// stops with a negative production: no result).
TEST(CaseRun, HasAResultExactlyWhenItsReportEndsWithTheClosingLine) {
    int without = 0;
    for (const GoldenCase& c : GoldenCases()) {
        const morvek::CaseRun run = morvek::RunCase(c.inputs, morvek::ResultKind::Prediction);
        const bool closed = run.report.back() == " Morvek Berechnung abgeschlossen";
        EXPECT_EQ(run.HasResultTable(), closed) << c.name;
        without += closed ? 0 : 1;
    }
    EXPECT_EQ(without, 2) << "kalt and unterkuehlt";
}

// Runs that produce nothing have no result and no closing line: a PVT table
// whose Bo and Rs stay constant above the bubble point (no expansion, the
// balance 0/0), and a relative-permeability table with kro = 0 everywhere.
TEST(CaseRun, ARunThatProducesNothingHasNoResult) {
    morvek::CaseInputs base = ExampleInputs("nordfeld.mvk");
    const morvek::LabPvtTable original = ExamplePvtTable("nordfeld-pvt.txt");
    morvek::LabPvtTable pvt = original;
    for (morvek::LabPvtRow& r : pvt.rows)
        if (r.pressureBar > base.bubblePointPressureBar) r.bo = 1.298f, r.rs = 100.23f;
    morvek::CaseInputs constantBo = base;
    constantBo.pvtTable = pvt;
    morvek::CaseRun run = morvek::RunCase(constantBo, morvek::ResultKind::Prediction);
    EXPECT_FALSE(run.HasResultTable());
    EXPECT_EQ(run.report.back(), " Keine sinnvolle Berechnung möglich: Materialbilanzfehler");

    morvek::LabRelPermTable relPerm;
    relPerm.fileName = "kro0.txt";
    relPerm.rows = {{0.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.0f}, {0.9f, 0.9f, 0.0f}};
    morvek::CaseInputs noOilFlow = base;
    noOilFlow.relPermTable = relPerm;
    run = morvek::RunCase(noOilFlow, morvek::ResultKind::Prediction);
    EXPECT_FALSE(run.HasResultTable());
    EXPECT_TRUE(run.report.back().starts_with(" Keine sinnvolle Berechnung möglich: KRG/KRO"))
        << run.report.back();

    // The same case on the unchanged tables has its result.
    base.pvtTable = original;
    run = morvek::RunCase(base, morvek::ResultKind::Prediction);
    EXPECT_TRUE(run.HasResultTable());
    EXPECT_EQ(run.report.back(), " Morvek Berechnung abgeschlossen");
}

// A table name with control characters (from a crafted case file) stays on
// its line in every report that names it.
TEST(CaseRun, ATableNameNeverSplitsAReportLine) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    morvek::LabPvtTable pvt = ExamplePvtTable("nordfeld-pvt.txt");
    pvt.fileName = "t\nab\x1b[31m.txt";
    in.pvtTable = pvt;
    in.relPermTable = morvek::LabRelPermTable{"r\x07.txt", {{0, 0, 1}, {0.9f, 0.9f, 0}}};
    for (const Kind& k : kKinds) {
        const morvek::CaseRun run = morvek::RunCase(in, k.kind);
        int named = 0;
        for (const std::string& line : run.report) {
            for (char c : line)
                EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    << k.name << ": " << line;
            named += line.find("t?ab?[31m.txt") != std::string::npos ||
                     line.find("r?.txt") != std::string::npos;
        }
        EXPECT_GT(named, 0) << k.name;
    }
}

}  // namespace
