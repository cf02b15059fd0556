// What the inputs probably do not mean, said beside the run and never in its
// report: a PVT table whose Rs already falls above the entered bubble point
// (the published black oil of Walsh, Ansah and Raghavan: pb 1688 psia, but Rs
// falls from the row at 1700 psia on), and a gas cap with the initial
// pressure above the bubble point.

#include <gtest/gtest.h>

#include "GoldenCases.h"
#include "TestSupport.h"
#include "model/LabTables.h"
#include "report/CaseRun.h"

namespace {

TEST(CaseWarnings, NameARsFallingAboveTheBubblePointAndAGasCapAboveIt) {
    morvek::CaseInputs in = ExampleInputs("nordfeld.mvk");
    EXPECT_TRUE(morvek::CaseWarnings(in).empty());
    // Nordfeld's own fluids as a table: Rs constant above its bubble point.
    in.pvtTable = ExamplePvtTable("nordfeld-pvt.txt");
    EXPECT_TRUE(morvek::CaseWarnings(in).empty());

    morvek::LabPvtTable walsh;
    std::vector<std::string> problems;
    ASSERT_EQ(morvek::ReadPvtTableFile(SourcePath("examples/tabellen/walsh1994-pvt.txt"), walsh,
                                       problems),
              morvek::TableReadStatus::Read);
    in.pvtTable = walsh;
    in.initialPressureBar = walsh.rows.back().pressureBar;
    in.bubblePointPressureBar = 116.3835f;  // 1688 psia
    std::vector<std::string> w = morvek::CaseWarnings(in);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0],
              "Warnung: Rs der PVT-Tabelle walsh1994-pvt.txt fällt schon über dem "
              "Gasentlösungsdruck (116.4 bar): 149.3 sm3/m3 bei 117.2 bar, 148.5 sm3/m3 am "
              "Gasentlösungsdruck. Bitte den Gasentlösungsdruck prüfen.");
    // At the table's own bubble point (1700 psia) nothing to say.
    in.bubblePointPressureBar = walsh.rows[walsh.rows.size() - 3].pressureBar;
    EXPECT_TRUE(morvek::CaseWarnings(in).empty());

    morvek::CaseInputs gasCap = ExampleInputs("gaskappe.mvk");
    w = morvek::CaseWarnings(gasCap);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0],
              "Warnung: der Fall hat eine Gaskappe (m = 0.5), doch der Initialdruck 250.0 bar "
              "liegt über dem Gasentlösungsdruck 200.0 bar; eine Gaskappe steht über "
              "gesättigtem Öl (Initialdruck gleich Gasentlösungsdruck).");
    // A run carries them beside its report, which holds none of them.
    const morvek::CaseRun run = morvek::RunCase(gasCap, morvek::ResultKind::Prediction);
    EXPECT_EQ(run.warnings, w);
    for (const std::string& line : run.report) EXPECT_EQ(line.find("Warnung"), std::string::npos);
    gasCap.initialPressureBar = gasCap.bubblePointPressureBar;
    EXPECT_TRUE(morvek::CaseWarnings(gasCap).empty());
}

}  // namespace
