// The series of a run as a spreadsheet file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <clocale>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "report/SeriesCsv.h"
#include "results/SeriesCsv.h"
#include "support/TestSupport.h"

namespace {

// The CSV of the series the case's last run drew, as the window and batch
// mode write it.
std::string SeriesCsvText(const CMorvekDoc& doc) {
    return morvek::SeriesCsvText(doc.m_Graph, doc.ResultKind());
}
bool WriteSeriesCsv(const CMorvekDoc& doc, const std::string& path, std::string& error) {
    return ::WriteSeriesCsv(doc.m_Graph, doc.ResultKind(), path, error);
}

const std::string kBom = "\xEF\xBB\xBF";

// A depletion result of three curve points, two measured pressures and one
// measured gas-oil ratio, with the labels the run sets.
CMorvekDoc SmallDepletionResult() {
    CMorvekDoc doc;
    doc.ResetCase();
    doc.m_TitelX = "Kum.Reinölförderung in 1000 m3";
    doc.m_TitelY1 = "Druck(Bar)";
    doc.m_TitelY2 = "GOEV(sm3/m3)";
    doc.m_XWerte[0] = 0.0f, doc.m_XWerte[1] = 12.5f, doc.m_XWerte[2] = 30.25f;
    doc.m_Y1Werte[0] = 250.0f, doc.m_Y1Werte[1] = 240.5f, doc.m_Y1Werte[2] = 231.0f;
    doc.m_Y2Werte[0] = 96.96f, doc.m_Y2Werte[1] = 96.96f, doc.m_Y2Werte[2] = 96.96f;
    doc.m_XWerte[3] = 99.0f;  // beyond the count: not written
    doc.m_MaxWerte = 3;
    doc.m_Mess1XWerte[0] = 10.0f, doc.m_Mess1XWerte[1] = 20.0f;
    doc.m_Mess1YWerte[0] = 241.0f, doc.m_Mess1YWerte[1] = 235.0f;
    doc.m_Max2Werte = 2;
    doc.m_Mess2XWerte[0] = 20.0f;
    doc.m_Mess2YWerte[0] = 101.5f;
    doc.m_Max3Werte = 1;
    return doc;
}

}  // namespace

TEST(SeriesCsv, DepletionColumnsStandSideBySidePaddedWithEmptyCells) {
    const std::string text = SeriesCsvText(SmallDepletionResult());
    ASSERT_EQ(text.substr(0, 3), kBom);
    const std::vector<std::string> lines = SplitLines(text.substr(3));
    const std::vector<std::string> expected = {
        "Kum.Reinölförderung in 1000 m3;Druck(Bar);GOEV(sm3/m3);"
        "Meßwert Kum.Reinölförderung in 1000 m3;Meßwert Druck(Bar);"
        "Meßwert Kum.Reinölförderung in 1000 m3 (mit GOEV);Meßwert GOEV(sm3/m3)",
        "0;250;96.96;10;241;20;101.5",
        "12.5;240.5;96.96;20;235;;",
        "30.25;231;96.96;;;;",
    };
    EXPECT_EQ(lines, expected);
}

TEST(SeriesCsv, RelPermTableHasSaturationAndBothPermeabilities) {
    CMorvekDoc doc;
    doc.ResetCase();
    doc.m_Swi = 0.2f;
    doc.m_Sgc = 0.05f;
    doc.m_bRelPermAusgabe = 1;
    doc.RunCalculation();
    const std::vector<std::string> lines = SplitLines(SeriesCsvText(doc).substr(3));
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[0], "Ölsättigung (-);Krg(-);Kro(-)");
    EXPECT_EQ(lines[1], "0;1;0");
    EXPECT_EQ(lines[51], "0.8;0;1");
}

TEST(SeriesCsv, PvtTableNamesTheLeftAxisCurvesByTheirLegends) {
    CMorvekDoc doc;
    doc.ResetCase();
    doc.m_bPVTAusgabe = 1;
    doc.m_TitelX = "Druck in Bar";
    doc.m_TitelY2 = "Rs(sm3/m3)";
    doc.m_Legende1 = "Viskosität Öl Nuo (cp)";
    doc.m_Legende3 = "Faktor Bo (m3/sm3) ";
    doc.m_XWerte[0] = doc.m_Mess1XWerte[0] = 10.0f;
    doc.m_Y1Werte[0] = 0.931f;
    doc.m_Y2Werte[0] = 5.5f;
    doc.m_Mess1YWerte[0] = 1.0625f;
    doc.m_MaxWerte = doc.m_Max2Werte = 1;
    const std::vector<std::string> lines = SplitLines(SeriesCsvText(doc).substr(3));
    const std::vector<std::string> expected = {
        "Druck in Bar;Viskosität Öl Nuo (cp);Rs(sm3/m3);Faktor Bo (m3/sm3)",
        "10;0.931;5.5;1.0625",
    };
    EXPECT_EQ(lines, expected);
}

TEST(SeriesCsv, RelPermFlagWinsOverPvtFlagAsInTheRunSequence) {
    CMorvekDoc doc;
    doc.m_bPVTAusgabe = 1;
    doc.m_bRelPermAusgabe = 1;
    EXPECT_EQ(doc.ResultKind(), morvek::ResultKind::RelPermTable);
    doc.m_bRelPermAusgabe = 0;
    EXPECT_EQ(doc.ResultKind(), morvek::ResultKind::PvtTable);
    doc.m_bPVTAusgabe = 0;
    EXPECT_EQ(doc.ResultKind(), morvek::ResultKind::Prediction);
}

TEST(SeriesCsv, QuotesAHeadThatHoldsTheSeparator) {
    CMorvekDoc doc = SmallDepletionResult();
    doc.m_TitelY1 = "Druck; \"Schließdruck\"";
    const std::vector<std::string> lines = SplitLines(SeriesCsvText(doc).substr(3));
    EXPECT_EQ(lines[0].rfind("Kum.Reinölförderung in 1000 m3;\"Druck; \"\"Schließdruck\"\"\";", 0),
              0u)
        << lines[0];
}

TEST(SeriesCsv, KeepsTheDecimalPointInAGermanLocale) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
    const std::string text = SeriesCsvText(SmallDepletionResult());
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(text.find("12.5;240.5;96.96"), std::string::npos);
}

TEST(SeriesCsv, ANumberReadsBackAsTheSameSingleValue) {
    CMorvekDoc doc = SmallDepletionResult();
    doc.m_XWerte[1] = 1.0f / 3.0f;
    const std::vector<std::string> lines = SplitLines(SeriesCsvText(doc).substr(3));
    const std::string cell = lines[2].substr(0, lines[2].find(';'));
    EXPECT_EQ(std::stof(cell), 1.0f / 3.0f);
}

TEST(SeriesCsv, WritesTheFile) {
    TempDir dir;
    const CMorvekDoc doc = SmallDepletionResult();
    std::string error;
    ASSERT_TRUE(WriteSeriesCsv(doc, dir.File("kurven.csv"), error)) << error;
    EXPECT_EQ(ReadBytes(dir.File("kurven.csv")), SeriesCsvText(doc));
}

TEST(SeriesCsv, AFailedWriteSaysSoAndKeepsTheEarlierFile) {
    TempDir dir;
    const std::string path = dir.File("kurven.csv");
    WriteBytes(path, "alt\n");
    std::string error;
    bool written;
    {
        ReadOnlyFolder readOnly(dir.Path());
        ASSERT_TRUE(readOnly.Effective());
        written = WriteSeriesCsv(SmallDepletionResult(), path, error);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(error.rfind("Die Datei " + path + " kann nicht geschrieben werden.", 0), 0u) << error;
    EXPECT_EQ(ReadBytes(path), "alt\n");
}

TEST(SeriesCsv, AFolderThatDoesNotExistIsAFailure) {
    TempDir dir;
    std::string error;
    const std::string path = dir.File("fehlt/kurven.csv");
    EXPECT_FALSE(WriteSeriesCsv(SmallDepletionResult(), path, error));
    EXPECT_EQ(error.rfind("Die Datei " + path + " kann nicht geschrieben werden.\n", 0), 0u)
        << error;
}

TEST(SeriesCsv, NordfeldPredictionHasItsCurveAndItsMeasuredPoints) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    doc.RunCalculation();
    const std::vector<std::string> lines = SplitLines(SeriesCsvText(doc).substr(3));
    ASSERT_EQ(lines.size(), 1u + 100u);
    EXPECT_EQ(lines[1].rfind("0;250;", 0), 0u) << lines[1];
    // Six measured pressures; the five gas-oil ratios stand in their own
    // columns without the row that has none.
    EXPECT_EQ(std::count(lines[5].begin(), lines[5].end(), ';'), 6);
    EXPECT_NE(lines[5].find(";620;137;760;445"), std::string::npos) << lines[5];
    EXPECT_EQ(lines[6].substr(lines[6].size() - 10), ";760;112;;") << lines[6];
    EXPECT_EQ(lines[7].substr(lines[7].size() - 4), ";;;;");
}
