// The engine on its own reproduces the golden masters: every golden case in
// every result kind with either answer, from plain inputs, without a document
// or a message sink, gives the report and the graph's CSV byte for byte.

#include <gtest/gtest.h>

#include "GoldenCases.h"
#include "TestSupport.h"
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

// The result as data: what a run says about itself matches its report.
TEST(CaseRun, SaysWhetherItHasAResultTable) {
    for (const GoldenCase& c : GoldenCases()) {
        const morvek::CaseRun run = morvek::RunCase(c.inputs, morvek::ResultKind::Prediction);
        bool rows = false;
        for (const std::string& line : run.report)
            rows = rows || line.rfind("      DRUCK  OELPROD.", 0) == 0;
        EXPECT_EQ(run.HasResultTable(), rows) << c.name;
    }
}

}  // namespace
