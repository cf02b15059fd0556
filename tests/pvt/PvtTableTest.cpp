#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ExampleCases.h"
#include "PvtTestCases.h"
#include "base/Format.h"
#include "case/DataEntryRunner.h"
#include "case/MorvekDoc.h"
#include "depletion/RelPermTable.h"
#include "pvt/OilCorrelations.h"
#include "pvt/PvtTable.h"
#include "report/GraphSeries.h"
#include "report/Report.h"
#include "support/ScriptedMessageSink.h"

namespace {

const std::vector<std::string> kHeading = {
    " ",
    " ",
    " ",
    " ",
    "        PVT DATEN",
    " ",
    "   Rs und Bo nach Glasoe JPT Mai 1980 S.785",
    " ",
    "   DRUCK    Rs       Bo   VIS.OEL     Co       Bg      VIS.GAS",
    "   (BAR) (NM3/M3) (M3/SM3   (CP)   (1/BAR)  (M3/SM3)     (CP)",
    " ",
};
constexpr size_t kRelPermLines = 5 + 11;  // block head and eleven saturations
constexpr size_t kClosingLines = 1;

// The table of the reference oil (gas gravity 0.7) with a methane gas, so
// that the gas columns have references too, and the saturations of the
// Nordfeld case: its report lines after the head and its graph.
struct TableRun {
    std::vector<std::string> m_Text;
    morvek::GraphSeries g;
};

TableRun RunTable(float initialdruck, int methode = 0, float sgc = 0.05f) {
    morvek::CaseInputs in = ReferenceOilCase(methode);
    in.initialPressureBar = initialdruck;
    in.connateWaterSaturation = 0.2f;
    in.criticalGasSaturation = sgc;
    in.kroMax = 0.8f;
    in.krgMax = 0.6f;
    morvek::GasMixture gas = morvek::MixGas(in.gasMolePercent);  // methane alone
    gas.relativeDensity = 0.7;
    const morvek::FluidModel fluid(in, in.apiGravity, gas);
    const morvek::PvtTableResult table = morvek::ComputePvtTable(fluid, initialdruck);
    TableRun run;
    morvek::AppendPvtTableReport(run.m_Text, table,
                                 morvek::ComputeShortRelPermTable(morvek::RelPermModel(in)));
    run.g = morvek::PvtTableGraph(table);
    return run;
}

// The pressures of the table rows, read back from the report.
std::vector<float> RowPressures(const TableRun& run, size_t first, size_t count) {
    std::vector<float> pressures;
    for (size_t i = first; i < first + count; ++i) {
        float p = 0;
        EXPECT_EQ(std::sscanf(run.m_Text[i].c_str(), "%f", &p), 1) << run.m_Text[i];
        pressures.push_back(p);
    }
    return pressures;
}

struct Grid {
    float initialdruck;
    int rows;
    float step, last;
};

TEST(PvtTable, LaysItsPressureGridUpToTheInitialPressure) {
    const Grid grids[] = {
        {150.0f, 30, 5.0f, 150.0f}, {200.0f, 20, 10.0f, 200.0f}, {203.0f, 21, 10.0f, 203.0f}};
    for (const Grid& g : grids) {
        SCOPED_TRACE(testing::Message() << g.initialdruck << " bar");
        const TableRun doc = RunTable(g.initialdruck);
        EXPECT_EQ(doc.g.curvePoints, g.rows);
        EXPECT_EQ(doc.g.measuredPoints, g.rows);
        EXPECT_EQ(doc.g.measuredGorPoints, 0);
        ASSERT_EQ(doc.m_Text.size(), kHeading.size() + g.rows + kRelPermLines + kClosingLines);
        const std::vector<float> p = RowPressures(doc, kHeading.size(), size_t(g.rows));
        for (int i = 0; i + 1 < g.rows; ++i) {
            EXPECT_EQ(p[i], g.step * float(i + 1));
            EXPECT_EQ(doc.g.x[i], g.step * float(i + 1));
        }
        EXPECT_EQ(p.back(), g.last);
        EXPECT_EQ(doc.g.x[g.rows - 1], g.last);
        EXPECT_EQ(doc.g.x[g.rows], 0.0f);
    }
}

TEST(PvtTable, BelowOneStepHasOneRowAndNoHeading) {
    const TableRun doc = RunTable(3.0f);
    EXPECT_EQ(doc.g.curvePoints, 1);
    ASSERT_EQ(doc.m_Text.size(), 1 + kRelPermLines + kClosingLines);
    EXPECT_EQ(doc.m_Text[0].substr(0, 7), "    3.0");
    EXPECT_EQ(doc.g.x[0], 3.0f);
}

TEST(PvtTable, WritesTheHeadingAndTheBubblePointRow) {
    const TableRun doc = RunTable(250.0f);
    ASSERT_GE(doc.m_Text.size(), kHeading.size() + 25);
    for (size_t i = 0; i < kHeading.size(); ++i) EXPECT_EQ(doc.m_Text[i], kHeading[i]) << i;

    // 200 bar is the 20th row: every column but the last at its reference.
    const std::string& row = doc.m_Text[kHeading.size() + 19];
    EXPECT_EQ(row.substr(0, 52), "  200.0    96.96   1.284   0.610  2.040e-04  0.00598");
    ASSERT_EQ(row.size(), 62u);
    EXPECT_THAT(std::strtod(row.c_str() + 52, nullptr), RoundsTo("0.0182"));

    EXPECT_FLOAT_EQ(doc.g.x2[19], 200.0f);
    EXPECT_FLOAT_EQ(doc.g.measuredX[19], 200.0f);
    EXPECT_THAT(doc.g.y1[19], RoundsTo("0.610"));
    EXPECT_THAT(doc.g.y2[19], RoundsTo("96.96"));
    EXPECT_THAT(doc.g.measuredY[19], RoundsTo("1.2841"));
}

TEST(PvtTable, AboveTheBubblePointRsStaysBoFallsAndViscosityRises) {
    const TableRun doc = RunTable(300.0f, 2);
    for (int i = 20; i < doc.g.curvePoints; ++i) {
        EXPECT_EQ(doc.g.y2[i], doc.g.y2[19]) << doc.g.x[i] << " bar";
        EXPECT_LT(doc.g.measuredY[i], doc.g.measuredY[i - 1]) << doc.g.x[i] << " bar";
        EXPECT_GT(doc.g.y1[i], doc.g.y1[i - 1]) << doc.g.x[i] << " bar";
    }
}

TEST(PvtTable, NamesTheSelectedCorrelationAndFallsBackToVasquezBeggs) {
    const std::pair<int, std::string> cases[] = {
        {1, "   Rs und Bo nach Vasquez U.Beggs JPT Juni 1980 S.968"},
        {2, "   Rs und Bo nach Standing DRILL. und PROD.PRAC.,API 1947 S.275"},
        {3, "   Rs und Bo nach Kartoatmodjo und Schmidt OGJ Juli 1994 S.51"},
        {4, "   Rs und Bo nach Vasquez U.Beggs JPT Juni 1980 S.968"},
        {-1, "   Rs und Bo nach Vasquez U.Beggs JPT Juni 1980 S.968"},
    };
    for (const auto& [methode, line] : cases) {
        const TableRun doc = RunTable(250.0f, methode);
        EXPECT_EQ(doc.m_Text[6], line);
        const int used = (methode >= 0 && methode < 4) ? methode : 1;
        EXPECT_FLOAT_EQ(doc.g.y2[19], float(morvek::Rs(200.0f, ReferenceOil(used))))
            << "m_Methode " << methode;
    }
}

TEST(PvtTable, EndsWithTheSaturationBlockAndTheClosingLine) {
    const TableRun doc = RunTable(250.0f);
    const size_t block = doc.m_Text.size() - kRelPermLines - kClosingLines;
    const std::vector<std::string> head = {" ", " ", " OELSAETTIGUNG MIT RELATIVE PERMEABILITAETEN",
                                           "     SO(-)   KRO(-)   KRG(-)      KRGO(-)", " "};
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(doc.m_Text[block + i], head[i]);
    // First row: no mobile oil, and s below zero lifts krg above its end point
    // (1.133 * 0.6). Only SL is single precision: a double SL or a single
    // precision step changes the last digits of the ratio.
    const std::vector<std::string> rows = {
        "    0.00          0    0.680            0", "    0.08      8e-05    0.552      6900.94",
        "    0.16    0.00128    0.428      333.991", "    0.24    0.00648    0.313      48.3085",
        "    0.32     0.0205    0.214      10.4448", "    0.40       0.05    0.133      2.66998",
        "    0.48      0.104    0.073     0.707201", "    0.56      0.192    0.033      0.17196",
        "    0.64      0.328    0.010     0.031763", "    0.72      0.525    0.001   0.00262666",
        "    0.80        0.8    0.000            0",
    };
    for (size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(doc.m_Text[block + 5 + k], rows[k]) << k;
    EXPECT_EQ(doc.m_Text.back(), "Berechnung der PVT-Daten abgeschlossen");
}

// With Sgc = 0.1 the saturation 0.92 lies above 1 - Sgc: no gas flows there.
TEST(PvtTable, GasIsImmobileAboveOneMinusTheCriticalGasSaturation) {
    const TableRun doc = RunTable(250.0f, 0, 0.1f);
    const size_t block = doc.m_Text.size() - kRelPermLines - kClosingLines;
    EXPECT_EQ(doc.m_Text[block + 5 + 8], "    0.64      0.328    0.013    0.0387339");
    EXPECT_EQ(doc.m_Text[block + 5 + 9], "    0.72      0.525    0.000            0");
}

// --- The run: head, oil-gravity check, calibration, table ------------------------

class AcceptDialog : public DataEntryRunner {
public:
    bool RunModal(DataEntryValues&) override { return true; }
};

// Records with every message how many report lines existed when it came.
class RecordingSink : public ScriptedMessageSink {
public:
    explicit RecordingSink(const CMorvekDoc& doc) : m_Doc(doc) {}
    void Show(const std::string& text) override {
        linesAtMessage.push_back(m_Doc.m_Text.size());
        ScriptedMessageSink::Show(text);
    }
    bool AskYesNo(const std::string& text) override {
        linesAtMessage.push_back(m_Doc.m_Text.size());
        return ScriptedMessageSink::AskYesNo(text);
    }
    std::vector<size_t> linesAtMessage;

private:
    const CMorvekDoc& m_Doc;
};

class PvtRun : public testing::Test {
protected:
    PvtRun() : sink(doc) {
        FillNordfeld(doc);
        doc.m_bPVTAusgabe = 1;
        doc.SetMessageSink(&sink);
        doc.SetDataEntryRunner(&dialog);
    }
    CMorvekDoc doc;
    RecordingSink sink;
    AcceptDialog dialog;
};

constexpr size_t kHeadLines = 58;

TEST_F(PvtRun, AsksTheGlasoeQuestionsThenCalibratesBeforeTheTable) {
    doc.m_Rsi = 100.0f;
    doc.m_NuoPb = 2.0f;
    sink.Answers({Answer::Yes, Answer::Yes});
    ASSERT_TRUE(doc.OnDataChange());

    ASSERT_EQ(sink.Log().size(), 3u);
    EXPECT_EQ(sink.Log()[0].text.rfind("Soll der API-Wert nach GLASOE", 0), 0u);
    EXPECT_EQ(sink.Log()[1].text.rfind("AENDERUNG DER OELDICHTE(GRAD API)\n", 0), 0u);
    EXPECT_EQ(sink.Log()[2].kind, ScriptedMessageSink::Entry::Shown);
    EXPECT_EQ(sink.Log()[2].text.rfind("\n\tVorgegeben:\n", 0), 0u);
    // Every question and message comes before the case shows the new report.
    EXPECT_EQ(sink.linesAtMessage, (std::vector<size_t>{0, 0, 0}));

    // The accepted gravity runs the table; the head still shows the old one.
    EXPECT_NE(doc.m_API, 35.0f);
    EXPECT_NE(
        sink.Log()[2].text.find(std::string("Oeldichte API:  ") + Format("%g", double(doc.m_API))),
        std::string::npos);
    EXPECT_EQ(doc.m_Text[46], "     OELDICHTE(GRAD API)                    35.0 ");
    EXPECT_EQ(doc.m_Text[kHeadLines + 4], "        PVT DATEN");
    EXPECT_EQ(doc.m_Text.back(), "Berechnung der PVT-Daten abgeschlossen");
}

TEST_F(PvtRun, WithoutMeasuredValuesRunsTheTableWithoutAMessage) {
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_TRUE(sink.Log().empty());
    ASSERT_TRUE(doc.LastRun());
    EXPECT_EQ(doc.LastRun()->calibration.apiShift, 0.0f);
    EXPECT_EQ(doc.m_MaxWerte, 25);
    EXPECT_EQ(doc.m_Text.size(), kHeadLines + kHeading.size() + 25 + kRelPermLines + kClosingLines);
}

TEST_F(PvtRun, ShowsTheCalibrationOnceForOtherCorrelationsAfterTheirOneQuestion) {
    doc.m_Methode = 3;
    doc.m_Rsi = 100.0f;
    doc.m_NuoPb = 2.0f;
    sink.Answers({Answer::No});
    ASSERT_TRUE(doc.OnDataChange());
    ASSERT_EQ(sink.Log().size(), 2u);
    EXPECT_EQ(sink.Log()[0].text.rfind("AENDERUNG DER OELDICHTE(GRAD API)\n", 0), 0u);
    EXPECT_EQ(sink.Log()[1].kind, ScriptedMessageSink::Entry::Shown);
    EXPECT_EQ(doc.m_API, 35.0f);
}

TEST_F(PvtRun, LabelsTheGraphAndClearsTheMeasuredSeries) {
    doc.m_Mess2XWerte.fill(7.0f);
    doc.m_Mess2YWerte.fill(7.0f);
    doc.m_Max3Werte = 5;
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_EQ(doc.m_TitelX, "Druck in Bar");
    EXPECT_EQ(doc.m_TitelY1, "Bo/Nuo");
    EXPECT_EQ(doc.m_TitelY2, "Rs(sm3/m3)");
    EXPECT_EQ(doc.m_Legende1, "Viskosität Öl Nuo (cp)");
    EXPECT_EQ(doc.m_Legende2, "Rs bzw. GOEV (sm3/m3)");
    EXPECT_EQ(doc.m_Legende3, "Faktor Bo (m3/sm3) ");
    EXPECT_EQ(doc.m_Ueberschrift, "PVT-Daten der Morvekberechnung");
    EXPECT_EQ(doc.m_Max3Werte, 0);
    EXPECT_EQ(doc.m_Mess2XWerte[0], 0.0f);
    EXPECT_EQ(doc.m_Mess2YWerte[299], 0.0f);
}

}  // namespace
