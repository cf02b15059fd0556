#include "EdgeRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "ExampleCases.h"
#include "input/DlgInput.h"
#include "input/InputChecks.h"
#include "results/ResultsFile.h"
#include "report/SeriesCsv.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedDataEntry.h"
#include "support/TestSupport.h"
#include "views/Grafik.h"
#include "views/GraphPage.h"

namespace {

constexpr size_t kHeadLines = 58;
const std::string kNoResult = " Keine sinnvolle Berechnung möglich: ";

void ExpectHead(const CMorvekDoc& doc, RunKind kind) {
    const std::vector<std::string>& text = doc.m_Text;
    if (kind == RunKind::RelPerm) {
        ASSERT_GE(text.size(), 8u);
        EXPECT_EQ(text[0], " FELD:" + doc.m_Feldname);
        EXPECT_EQ(text[5], " OELSAETTIGUNG SO MIT RELATIVE PERMEABILITAETEN  GASSAETTIGUNG");
        EXPECT_EQ(text[6], "    SO(-)    KRO(-)   KRG(-)    KRG/KRO(-)          SG(-)");
        return;
    }
    ASSERT_GE(text.size(), kHeadLines);
    EXPECT_EQ(text[0], "     MORVEK BERECHNUNG FELD: " + doc.m_Feldname + " ");
    EXPECT_EQ(text[2], "     GASEIGENSCHAFTEN: ");
    EXPECT_EQ(text[kHeadLines - 1].rfind("     OELVISKOSITAET BEI ", 0), 0u)
        << text[kHeadLines - 1];
}

// False when a value is not finite: the axis scaling would then never end.
bool ExpectFiniteSeries(const CMorvekDoc& doc) {
    for (int32_t count : {doc.m_MaxWerte, doc.m_Max2Werte, doc.m_Max3Werte}) {
        EXPECT_GE(count, 0);
        EXPECT_LE(count, kSeriesLength);
    }
    const Series* all[] = {&doc.m_XWerte,      &doc.m_X2Werte,     &doc.m_Y1Werte,
                           &doc.m_Y2Werte,     &doc.m_Mess1XWerte, &doc.m_Mess1YWerte,
                           &doc.m_Mess2XWerte, &doc.m_Mess2YWerte};
    for (const Series* s : all) {
        for (size_t i = 0; i < s->size(); ++i) {
            if (std::isfinite((*s)[i])) continue;
            ADD_FAILURE() << "series value " << i << ": " << (*s)[i];
            return false;
        }
    }
    return true;
}

void ExpectGraphDraws(const CMorvekDoc& doc) {
    CGrafik graph(GraphPageOf(doc));
    graph.OnGraf();
    for (double v : {graph.xmin, graph.xmax, graph.ymin, graph.ymax, graph.y1min, graph.y1max,
                     graph.deltax, graph.deltay, graph.deltay1})
        EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_LT(graph.xmin, graph.xmax);
    EXPECT_LT(graph.ymin, graph.ymax);
    EXPECT_LT(graph.y1min, graph.y1max);
    RecordingSurface surface;
    graph.DrawPage(surface);
    EXPECT_EQ(surface.CallsOf(SurfaceCall::Rectangle).size(), 1u);
    const std::vector<SurfaceCall> curves = surface.CallsOf(SurfaceCall::Polyline);
    ASSERT_FALSE(curves.empty());
    EXPECT_EQ(curves[0].points.size(), static_cast<size_t>(doc.m_MaxWerte));
}

// "Ergebnisse speichern" writes aus.txt into the working directory: a folder
// of its own for the write, then back.
void ExpectResultsFileWritten(CMorvekDoc& doc) {
    TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const bool saved = SaveResultsFile(doc.GetTitle(), doc.m_Text, doc.Messages());
    std::filesystem::current_path(previous);
    ASSERT_TRUE(saved);
    const std::string bytes = ReadBytes(dir.File("aus.txt"));
    // The title, then one line per report line; the "ABBRUCH" line of the
    // prediction carries line breaks of its own.
    size_t lines = 1;
    for (const std::string& line : doc.m_Text)
        lines += 1 + static_cast<size_t>(std::count(line.begin(), line.end(), '\n'));
    EXPECT_EQ(SplitLines(bytes).size(), lines);
    EXPECT_FALSE(ShowsNanOrInf(bytes));
}

}  // namespace

std::unique_ptr<EdgeRun> RunEdge(void (*change)(CMorvekDoc&), RunKind kind, int methode,
                                 Answer answer, Checks mode) {
    auto run = std::make_unique<EdgeRun>();
    run->sink.Answers({answer, answer});
    run->doc.SetMessageSink(&run->sink);
    FillNordfeld(run->doc);
    change(run->doc);
    run->doc.m_Methode = methode;
    run->doc.m_bPVTAusgabe = kind == RunKind::PvtTable ? 1 : 0;
    run->doc.m_bRelPermAusgabe = kind == RunKind::RelPerm ? 1 : 0;
    // What batch mode's data entry does: the checks of reading the controls
    // and of the OK button on the case's own values.
    ScriptedMessageSink& checks = run->checks;
    ScriptedDataEntry entry([&checks, mode](DlgInput& dialog) {
        if (mode == Checks::Skip) return true;
        return CheckFieldValues(dialog, checks) && CheckDialogInputs(dialog, checks);
    });
    run->doc.SetDataEntryRunner(&entry);
    run->accepted = run->doc.OnDataChange();
    run->doc.SetDataEntryRunner(nullptr);
    return run;
}

bool IsNoResultLine(const std::string& line) {
    return line.rfind(kNoResult, 0) == 0;
}

bool HasNoResultLine(const CMorvekDoc& doc) {
    for (const std::string& line : doc.m_Text)
        if (IsNoResultLine(line)) return true;
    return false;
}

void ExpectFinishedRun(EdgeRun& run, RunKind kind) {
    ASSERT_TRUE(run.accepted) << (run.checks.Texts().empty() ? "" : run.checks.Texts()[0]);
    const CMorvekDoc& doc = run.doc;
    ExpectHead(doc, kind);
    for (size_t i = 0; i < doc.m_Text.size(); ++i)
        EXPECT_FALSE(ShowsNanOrInf(doc.m_Text[i])) << "line " << i << ": " << doc.m_Text[i];
    for (const std::string& message : run.sink.Texts())
        EXPECT_FALSE(ShowsNanOrInf(message)) << message;
    EXPECT_FALSE(ShowsNanOrInf(morvek::SeriesCsvText(doc.m_Graph, doc.ResultKind())));
    if (ExpectFiniteSeries(doc)) ExpectGraphDraws(doc);
    ExpectResultsFileWritten(run.doc);
}
