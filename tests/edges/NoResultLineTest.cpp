// Where a run cannot give a number: the shared test of a value, the report
// line that takes its place, and how each result kind goes on after it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "EdgeRun.h"
#include "base/RunValues.h"
#include "report/Report.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kFloatMax = std::numeric_limits<float>::max();

// The numbers of a PVT table row, or false for any other line.
bool PvtRow(const std::string& line, double& p) {
    double rs, bo, nuo, co, bg, nug;
    return std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf %lf", &p, &rs, &bo, &nuo, &co, &bg,
                       &nug) == 7;
}

TEST(MeaningfulValue, IsAFiniteNumberWithinSinglePrecision) {
    for (double v : {0.0, -1.5, 1e-320, kFloatMax, -kFloatMax}) EXPECT_TRUE(IsMeaningful(v)) << v;
    for (double v : {kNaN, kInf, -kInf, 2.0 * kFloatMax, -1e300})
        EXPECT_FALSE(IsMeaningful(v)) << v;
}

TEST(MeaningfulValue, TheFirstQuantityWithoutAValueIsNamedInTheOrderGiven) {
    using Q = RunQuantity;
    EXPECT_EQ(FirstMeaningless({{Q::Rs, 1.0}, {Q::Bo, 1.2}, {Q::Co, -2e-4}}), Q::None);
    EXPECT_EQ(FirstMeaningless({{Q::Rs, 1.0}, {Q::Bo, kNaN}, {Q::Bg, kInf}}), Q::Bo);
    EXPECT_EQ(FirstMeaningless({{Q::Rs, 1e39}, {Q::Bo, kNaN}}), Q::Rs);
    // A volume factor must also be positive: no gas deviation factor was found.
    EXPECT_EQ(FirstMeaningless({{Q::Rs, 1.0}, {Q::Bg, 0.0, true}}), Q::Bg);
    EXPECT_EQ(FirstMeaningless({{Q::Bg, -0.01, true}}), Q::Bg);
    EXPECT_EQ(FirstMeaningless({{Q::Bg, 0.005, true}}), Q::None);
}

// The engine names a failed quantity by value; the report renders it in the
// words every earlier report used, and the sweep's line is the report's
// without its leading blank.
TEST(NoResultLine, TheReportRendersEveryQuantityTheRunCanName) {
    using Q = RunQuantity;
    const std::pair<Q, const char*> words[] = {
        {Q::Rs, "Rs"},
        {Q::Bo, "Bo"},
        {Q::Co, "Co"},
        {Q::OilViscosity, "Ölviskosität"},
        {Q::Bg, "Bg (Realgasfaktor)"},
        {Q::GasViscosity, "Gasviskosität"},
        {Q::GasCap, "Gaskappe"},
        {Q::OilProduction, "Ölproduktion"},
        {Q::GasProduction, "Gasproduktion"},
        {Q::Gor, "GOEV"},
        {Q::OilSaturation, "Ölsättigung"},
        {Q::KrgKro, "KRG/KRO"},
        {Q::OilImmobile, "KRG/KRO (kro = 0: das Öl fließt nicht mehr)"},
        {Q::LeeConstants, "Viskositätskonstanten nach Lee"},
    };
    for (const auto& [q, word] : words) EXPECT_STREQ(morvek::RunQuantityName(q), word);
    EXPECT_STREQ(morvek::RunQuantityName(Q::None), "");
    for (int i = 1; i < kRunQuantityCount; ++i) {
        const Q q = static_cast<Q>(i);
        EXPECT_STRNE(morvek::RunQuantityName(q), "") << i;
        EXPECT_EQ(" " + morvek::NoMeaningfulResultText(q, 90.0f),
                  NoMeaningfulResult(morvek::RunQuantityName(q), 90.0f));
    }
}

TEST(NoResultLine, NamesTheQuantityAndThePressure) {
    EXPECT_EQ(NoMeaningfulResult("Bg (Realgasfaktor)", 90.0f),
              " Keine sinnvolle Berechnung möglich: Bg (Realgasfaktor) bei 90.0 bar");
    EXPECT_EQ(NoMeaningfulResult("Materialbilanzfehler"),
              " Keine sinnvolle Berechnung möglich: Materialbilanzfehler");
}

TEST(EdgeReport, AHeadBelowAbsoluteZeroKeepsItsLinesAndNamesTheLeeConstants) {
    std::unique_ptr<EdgeRun> run =
        RunEdge([](CMorvekDoc& d) { d.m_Temperatur = -300.0f; }, RunKind::Depletion, 1,
                Answer::No, Checks::Skip);
    ASSERT_TRUE(run->accepted);
    const std::vector<std::string>& text = run->doc.m_Text;
    ASSERT_GE(text.size(), 58u);
    EXPECT_EQ(text[24], "     KONSTANTE ZUR BERECHNUNG DER VISKOSITAET NACH LEE");
    EXPECT_EQ(text[26], " Keine sinnvolle Berechnung möglich: Viskositätskonstanten nach Lee");
    EXPECT_EQ(text[28], "     PSEUDOKRITISCHE WERTE FUER DRUCK UND TEMPERATUR");
    EXPECT_EQ(text[57].rfind("     OELVISKOSITAET BEI 200.0 BAR (CP)", 0), 0u);
}

TEST(EdgeReport, PvtTableReplacesOnlyTheRowsWithoutAGasDeviationFactor) {
    // Pure H2S at 80 C: Hall-Yarborough finds no z from 90 to 120 bar and
    // from 180 bar up, but does at the other pressures.
    std::unique_ptr<EdgeRun> run = RunEdge(
        [](CMorvekDoc& d) {
            d.m_Gas.fill(0.0f);
            d.m_Gas[0] = 100.0f;
        },
        RunKind::PvtTable, 0);
    ASSERT_TRUE(run->accepted);
    const CMorvekDoc& doc = run->doc;
    std::vector<double> rows;
    std::vector<std::string> notes;
    for (const std::string& line : doc.m_Text) {
        double p = 0;
        if (PvtRow(line, p)) rows.push_back(p);
        if (IsNoResultLine(line)) notes.push_back(line);
    }
    const std::vector<double> expected = {10, 20, 30, 40, 50, 60, 70, 80, 130, 140, 150, 160, 170};
    EXPECT_EQ(rows, expected);
    ASSERT_EQ(notes.size(), 12u);
    EXPECT_EQ(notes.front(),
              " Keine sinnvolle Berechnung möglich: Bg (Realgasfaktor) bei 90.0 bar");
    EXPECT_EQ(notes.back(),
              " Keine sinnvolle Berechnung möglich: Bg (Realgasfaktor) bei 250.0 bar");
    // The graph gets the rows with numbers, in order and without gaps.
    ASSERT_EQ(doc.m_MaxWerte, 13);
    EXPECT_EQ(doc.m_Max2Werte, 13);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(doc.m_XWerte[i], static_cast<float>(expected[i])) << i;
    EXPECT_EQ(doc.m_XWerte[13], 0.0f);
    EXPECT_EQ(doc.m_Text.back(), "Berechnung der PVT-Daten abgeschlossen");
}

TEST(EdgeReport, PredictionWithoutAnOilViscosityEndsAfterTheHeadWithoutClaimingCompletion) {
    // -50 C is -58 F: the dead-oil equation has no value below 0 F.
    std::unique_ptr<EdgeRun> run =
        RunEdge([](CMorvekDoc& d) { d.m_Temperatur = -50.0f; }, RunKind::Depletion, 1);
    ASSERT_TRUE(run->accepted);
    const CMorvekDoc& doc = run->doc;
    ASSERT_EQ(doc.m_Text.size(), 59u);
    EXPECT_EQ(doc.m_Text[58], " Keine sinnvolle Berechnung möglich: Ölviskosität bei 250.0 bar");
    EXPECT_EQ(doc.m_MaxWerte, 0);
    // The measured values are still read for the graph.
    EXPECT_EQ(doc.m_Max2Werte, 6);
    EXPECT_EQ(doc.m_Max3Werte, 5);
}

TEST(EdgeReport, PredictionStopsAtTheStepWhoseGasOilRatioRunsOutOfRange) {
    // Oil of an end point of 1e-40 hardly flows: once free gas flows, the
    // producing gas-oil ratio leaves single precision.
    std::unique_ptr<EdgeRun> run =
        RunEdge([](CMorvekDoc& d) { d.m_KroMax = 1e-40f; }, RunKind::Depletion, 0);
    ASSERT_TRUE(run->accepted);
    const CMorvekDoc& doc = run->doc;
    EXPECT_EQ(doc.m_Text.back(), " Keine sinnvolle Berechnung möglich: GOEV bei 177.0 bar");
    EXPECT_EQ(doc.m_Text[doc.m_Text.size() - 2].rfind("      180.0  182.42   17.3777", 0), 0u);
    // Every step before it (the 146th) has its graph point: steps 0, 5, ..., 145.
    EXPECT_EQ(doc.m_MaxWerte, 30);
    EXPECT_EQ(doc.m_Y1Werte[29], 177.5f);
    EXPECT_EQ(doc.m_Y1Werte[30], 0.0f);
}

TEST(EdgeReport, PredictionWithAGasCapBeyondRangeNamesTheGasCap) {
    std::unique_ptr<EdgeRun> run =
        RunEdge([](CMorvekDoc& d) { d.m_Gaskappe = 3e38f; }, RunKind::Depletion, 0, Answer::No,
                Checks::Skip);
    ASSERT_TRUE(run->accepted);
    ASSERT_EQ(run->doc.m_Text.size(), 59u);
    EXPECT_EQ(run->doc.m_Text[58], " Keine sinnvolle Berechnung möglich: Gaskappe bei 250.0 bar");
    EXPECT_EQ(run->doc.m_MaxWerte, 0);
}

TEST(EdgeReport, MeasuredRowsAreReadUpToTheFirstNumberThatIsNotFinite) {
    std::unique_ptr<EdgeRun> run = RunEdge(
        [](CMorvekDoc& d) {
            d.m_Messwerte = {"100 200 90", "150 190 nan", "-1e39 5 6", "7 8 9"};
        },
        RunKind::Depletion, 0);
    ASSERT_TRUE(run->accepted);
    const CMorvekDoc& doc = run->doc;
    // The second row keeps its pressure but gives no gas-oil ratio; the third
    // (cumulative oil beyond single precision) ends the reading.
    EXPECT_EQ(doc.m_Max2Werte, 2);
    EXPECT_EQ(doc.m_Mess1YWerte[1], 190.0f);
    EXPECT_EQ(doc.m_Max3Werte, 1);
    EXPECT_EQ(doc.m_Mess1XWerte[2], 0.0f);
}

TEST(EdgeReport, RelPermTableShowsARatioBeyondSinglePrecisionAsANumber) {
    std::unique_ptr<EdgeRun> run =
        RunEdge([](CMorvekDoc& d) { d.m_KroMax = 1e-40f; }, RunKind::RelPerm, 0);
    ASSERT_TRUE(run->accepted);
    // Row 3 (So = 0.048) is the first whose kro does not underflow to 0: the
    // smallest float, 1.4e-45, against a krg of 0.524; their ratio overflows
    // float but not double.
    const std::string& row = run->doc.m_Text[11];
    double so, kro, krg, ratio, sg;
    ASSERT_EQ(std::sscanf(row.c_str(), "%lf %lf %lf %lf %lf", &so, &kro, &krg, &ratio, &sg), 5)
        << row;
    EXPECT_NEAR(so, 0.05, 0.005);
    EXPECT_GT(kro, 0.0);
    EXPECT_GT(ratio, kFloatMax);
    EXPECT_TRUE(std::isfinite(ratio));
    EXPECT_NEAR(ratio / (krg / kro), 1.0, 0.01);  // to the printed digits of kro and krg
}

TEST(EdgeReport, AViscosityCalibrationThatOverflowsLeavesTheApiGravityUnshifted) {
    // Light oil saturated at 1000 bar holds so much gas that the dead-oil
    // viscosity implied by 3.4e38 cP overflows double precision.
    std::unique_ptr<EdgeRun> run = RunEdge(
        [](CMorvekDoc& d) {
            d.m_API = 200.0f;
            d.m_Initialdruck = d.m_Entloesungsdruck = 1000.0f;
            d.m_NuoPb = 3.4e38f;
        },
        RunKind::PvtTable, 0);
    ASSERT_TRUE(run->accepted);
    ASSERT_TRUE(run->doc.LastRun());
    EXPECT_EQ(run->doc.LastRun()->calibration.apiShift, 0.0f);
    ASSERT_FALSE(run->sink.Texts().empty());
    EXPECT_NE(run->sink.Texts()[0].find("\tOeldichte API:  200 fuer die Viskositaetsberechnung\n"),
              std::string::npos)
        << run->sink.Texts()[0];
}

}  // namespace
