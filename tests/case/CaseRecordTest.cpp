// The case record: defaults, reset, the data-entry command with its change
// detection, and File-New.
#include <gtest/gtest.h>

#include <cmath>

#include "ExampleCases.h"
#include "ScriptedCase.h"
#include "ScriptedDataEntry.h"
#include "ScriptedMessageSink.h"
#include "case/MorvekDoc.h"

namespace {

class CaseRecord : public ScriptedCase {};

TEST_F(CaseRecord, StartsAsMethaneAtOneBarWithNothingComputed) {
    for (int i = 0; i < kGasComponents; ++i)
        EXPECT_EQ(doc.m_Gas[i], i == kMethaneIndex ? 100.0f : 0.0f) << i;
    EXPECT_EQ(doc.m_Initialdruck, 1.0f);
    EXPECT_EQ(doc.m_API, 10.0f);
    EXPECT_EQ(doc.m_KroMax, 1.0f);
    EXPECT_EQ(doc.m_KrgMax, 1.0f);
    for (float v : {doc.m_Temperatur, doc.m_OOIP, doc.m_Entloesungsdruck, doc.m_Swi, doc.m_Sgc,
                    doc.m_Gaskappe, doc.m_NuoPb, doc.m_Rsi})
        EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(doc.m_Methode, 0);
    EXPECT_TRUE(doc.m_Feldname.empty());
    EXPECT_TRUE(doc.m_Messwerte.empty());
    EXPECT_TRUE(doc.m_Text.empty());
    EXPECT_EQ(doc.m_MaxWerte, 0);
    EXPECT_EQ(doc.m_Max2Werte, 0);
    EXPECT_EQ(doc.m_Max3Werte, 0);
    EXPECT_EQ(doc.m_bGeaendert, 1);
    EXPECT_EQ(doc.m_bGrafikNeu, 1);
    EXPECT_EQ(doc.m_TitelX, "Kum.Reinölförderung in 1000 m3");
    EXPECT_EQ(doc.m_Legende3, "Druckmeßwerte (Bar)");
    EXPECT_EQ(doc.GetTitle(), "Morvek");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(CaseRecord, ResetKeepsTheReportCountsAndHeadingButClearsSixSeries) {
    doc.m_Text = {"alter Bericht"};
    doc.m_XWerte[5] = doc.m_Y1Werte[5] = doc.m_X2Werte[5] = 1.0f;
    doc.m_Mess1XWerte[5] = doc.m_Y2Werte[5] = doc.m_Mess1YWerte[5] = 1.0f;
    doc.m_Mess2XWerte[5] = doc.m_Mess2YWerte[5] = 2.0f;
    doc.m_MaxWerte = 7;
    doc.m_Ueberschrift = "PVT-Daten der Morvekberechnung";
    doc.m_TitelX = "Druck in Bar";
    doc.m_bPVTAusgabe = 1;
    doc.ResetCase();
    EXPECT_EQ(doc.m_Text, std::vector<std::string>{"alter Bericht"});
    for (const Series* s : {&doc.m_XWerte, &doc.m_Y1Werte, &doc.m_X2Werte, &doc.m_Mess1XWerte,
                            &doc.m_Y2Werte, &doc.m_Mess1YWerte})
        EXPECT_EQ((*s)[5], 0.0f);
    EXPECT_EQ(doc.m_Mess2XWerte[5], 2.0f);
    EXPECT_EQ(doc.m_MaxWerte, 7);
    EXPECT_EQ(doc.m_Ueberschrift, "PVT-Daten der Morvekberechnung");
    EXPECT_EQ(doc.m_TitelX, "Kum.Reinölförderung in 1000 m3");
    EXPECT_EQ(doc.m_bPVTAusgabe, 0);
}

// Every input goes back to what a new case starts with, the inputs added
// later (compressibilities, laboratory tables) too.
TEST_F(CaseRecord, ResetGivesEveryInputItsDefault) {
    FillGaskappe(doc);
    doc.m_Cf = 5e-5f;
    doc.m_Cw = 4e-5f;
    doc.m_Methode = 2;
    doc.m_NuoPb = 0.9f;
    doc.m_Rsi = 80.0f;
    doc.m_Inputs.pvtTable = morvek::LabPvtTable{"p.txt", {{100, 1.2f, 50, 0.01f, 1, 0.015f},
                                                          {200, 1.3f, 90, 0.005f, 0.8f, 0.02f}}};
    doc.m_Inputs.relPermTable = morvek::LabRelPermTable{"k.txt", {{0, 0, 1}, {1, 1, 0}}};
    ASSERT_FALSE(doc.m_Inputs == morvek::CaseInputs{});
    doc.ResetCase();
    EXPECT_TRUE(doc.m_Inputs == morvek::CaseInputs{});
    EXPECT_FALSE(doc.m_Inputs.pvtTable.has_value());
    EXPECT_FALSE(doc.m_Inputs.relPermTable.has_value());
    EXPECT_TRUE(doc.m_Messwerte.empty());
    EXPECT_TRUE(doc.m_Feldname.empty());
}

TEST_F(CaseRecord, CancellingTheDialogChangesNothing) {
    FillNordfeld(doc);
    doc.m_Text = {"alt"};
    doc.m_bGrafikNeu = 0;
    entry.SetScript([](DlgInput& d) {
        d.m_OOIP = 1.0f;
        return false;
    });
    EXPECT_FALSE(doc.OnDataChange());
    EXPECT_EQ(doc.m_OOIP, 5000.0f);
    EXPECT_EQ(doc.m_Text, std::vector<std::string>{"alt"});
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_bGrafikNeu, 0);
}

TEST_F(CaseRecord, OkWithoutChangesRecomputesButLeavesTheModifiedMark) {
    FillNordfeld(doc);
    doc.m_bGrafikNeu = 0;
    doc.m_Text = {"alt"};
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_EQ(doc.m_bGeaendert, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_bGrafikNeu, 0);
    ASSERT_FALSE(doc.m_Text.empty());
    EXPECT_EQ(doc.m_Text.front(), "     MORVEK BERECHNUNG FELD: Nordfeld ");
}

TEST_F(CaseRecord, AnyChangedInputMarksTheCaseAndAsksForANewGraph) {
    const std::vector<std::function<void(DlgInput&)>> edits = {
        [](DlgInput& d) { d.m_Feldname = "Nordfeld "; },
        [](DlgInput& d) { d.m_OOIP = std::nextafter(d.m_OOIP, 0.0f); },
        [](DlgInput& d) { d.m_Initialdruck = 251; },
        [](DlgInput& d) { d.m_Temperatur = 81; },
        [](DlgInput& d) { d.m_Entloesungsdruck = 199; },
        [](DlgInput& d) { d.m_API = 34.99123f; },
        [](DlgInput& d) { d.m_Swi = 0.21f; },
        [](DlgInput& d) { d.m_Sgc = 0.06f; },
        [](DlgInput& d) { d.m_KroMax = 0.7f; },
        [](DlgInput& d) { d.m_KrgMax = 0.7f; },
        [](DlgInput& d) { d.m_Gaskappe = 0.5f; },
        [](DlgInput& d) { d.m_Methode = 2; },
        [](DlgInput& d) { d.m_bMesswerteGeaendert = 1; },
        [](DlgInput& d) { d.m_bPVTAusgabe = 1; },
        [](DlgInput& d) { d.m_NuoPb = 0.9f; },
        [](DlgInput& d) { d.m_Rsi = 100; },
        [](DlgInput& d) { d.m_bRelPermAusgabe = 1; },
        [](DlgInput& d) { d.m_Gas[14] = 0.1f; },
    };
    for (size_t i = 0; i < edits.size(); ++i) {
        CMorvekDoc fresh;
        fresh.SetDataEntryRunner(&entry);
        FillNordfeld(fresh);
        fresh.m_bGrafikNeu = 0;
        entry.SetScript([&](DlgInput& d) {
            edits[i](d);
            return true;
        });
        ASSERT_TRUE(fresh.OnDataChange());
        EXPECT_EQ(fresh.m_bGeaendert, 1) << "edit " << i;
        EXPECT_TRUE(fresh.IsModified()) << "edit " << i;
        EXPECT_EQ(fresh.m_bGrafikNeu, 1) << "edit " << i;
    }
}

TEST_F(CaseRecord, RowEditsCountAsAChangeWhetherOrNotTheGraphWasUpToDate) {
    FillNordfeld(doc);
    auto editRows = [](DlgInput& d) {
        d.m_Messwerte = {"100 240 90"};
        d.m_bMesswerteGeaendert = 1;
        return true;
    };
    entry.SetScript(editRows);
    doc.m_bGrafikNeu = 1;
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_EQ(entry.SeenRowsFlag(), 1);
    // The flag was already 1 when the dialog opened; the rows differ all the same.
    EXPECT_EQ(doc.m_bGeaendert, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_Messwerte, std::vector<std::string>{"100 240 90"});

    doc.SetModifiedFlag(false);
    entry.SetScript([](DlgInput& d) {
        d.m_Messwerte = {"100 240 90", "200 230"};
        d.m_bMesswerteGeaendert = 1;
        return true;
    });
    doc.m_bGrafikNeu = 0;
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_EQ(doc.m_bGeaendert, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_bGrafikNeu, 1);
}

TEST_F(CaseRecord, DeletingEveryRowInTheDialogEmptiesTheCaseRows) {
    FillNordfeld(doc);
    doc.m_Messwerte = {"100 240 90", "200 230"};
    entry.SetScript([](DlgInput& d) {
        EXPECT_EQ(d.m_Messwerte.size(), 2u);
        d.m_Messwerte.clear();
        d.m_bMesswerteGeaendert = 1;
        return true;
    });
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_TRUE(doc.m_Messwerte.empty());
}

TEST_F(CaseRecord, FileNewAsksBeforeDroppingAModifiedCase) {
    FillNordfeld(doc);
    doc.SetModifiedFlag(true);

    sink.Answers({Answer::Cancel});
    EXPECT_FALSE(doc.OnFileNew());
    EXPECT_EQ(doc.m_Feldname, "Nordfeld") << "Abbrechen keeps the case";
    ASSERT_EQ(sink.Log().size(), 1u);
    EXPECT_EQ(sink.Log()[0].kind, ScriptedMessageSink::Entry::YesNoCancel);
    EXPECT_EQ(sink.Log()[0].text, "Änderungen in Morvek speichern?");
    EXPECT_EQ(entry.Runs(), 0);

    int saves = 0;
    doc.SetSaveHandler([&] {
        ++saves;
        doc.SetModifiedFlag(false);
        return true;
    });
    sink.Answers({Answer::Yes});
    entry.SetScript([](DlgInput& d) {
        EXPECT_EQ(d.m_Feldname, "") << "the dialog opens on the defaults";
        return false;
    });
    EXPECT_TRUE(doc.OnFileNew());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(entry.Runs(), 1);
    EXPECT_TRUE(doc.m_Feldname.empty()) << "cancelled after the reset: defaults stay";

    sink.Clear();
    EXPECT_TRUE(doc.OnFileNew());
    EXPECT_TRUE(sink.Log().empty()) << "an unmodified case is not asked about";
}

TEST_F(CaseRecord, FileNewWithNoThenCancelGivesAnUntitledUnmodifiedCaseWithoutReport) {
    FillNordfeld(doc);
    doc.SetPathName("/tmp/nordfeld.mvk");
    doc.SetModifiedFlag(true);
    doc.m_Text = {"alter Bericht"};
    sink.Answers({Answer::No});
    entry.SetScript([](DlgInput&) { return false; });
    EXPECT_TRUE(doc.OnFileNew());
    EXPECT_EQ(doc.GetTitle(), "Morvek");
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.m_Text.empty());
    EXPECT_EQ(doc.m_Initialdruck, 1.0f);
}

TEST_F(CaseRecord, EveryConfirmedDialogEndsInOneRedraw) {
    FillNordfeld(doc);
    int redraws = 0;
    doc.AddViewListener([&] { ++redraws; });
    ASSERT_TRUE(doc.OnDataChange());
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_EQ(redraws, 2);
    entry.SetScript([](DlgInput&) { return false; });
    EXPECT_FALSE(doc.OnDataChange());
    EXPECT_EQ(redraws, 2) << "a cancelled dialog does not redraw";
}

}  // namespace
