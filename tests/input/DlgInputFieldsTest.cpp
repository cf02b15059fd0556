#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "input/ExchangeTable.h"
#include "support/ScriptedMessageSink.h"

TEST(DialogOpening, ShowsTheCompositionAndItsSumAndChecksZeileAendern) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    doc.m_Gas[3] = 80.5f;  // the composition now adds up to 98.5
    doc.m_Messwerte = {"300 220", "100 240", "200 230"};
    DlgInput dialog = DialogFilledFrom(doc);
    FakeControls controls;
    dialog.SetPorts(nullptr, &controls, nullptr);
    dialog.OnInitDialog();

    EXPECT_EQ(dialog.m_strSumme, " 98.50");
    EXPECT_EQ(controls.texts[ctl::kSumme], " 98.50");
    EXPECT_EQ(dialog.m_C1, 80.5f);
    EXPECT_EQ(dialog.m_CO2, 1.7f);
    EXPECT_EQ(controls.texts[FindField("m_Gas[3]")->controlId], "80.5");
    EXPECT_EQ(controls.radios[ctl::kZeilenModus], 0);
    EXPECT_EQ(dialog.m_MesswertListe.Rows(),
              (std::vector<std::string>{"100 240", "200 230", "300 220"}));
    // The rows themselves keep the case's order until the first row edit.
    EXPECT_EQ(dialog.m_Messwerte, doc.m_Messwerte);
}

TEST(DialogGasSum, TakesTheTypedCompositionIntoTheSum) {
    OpenDialog o;
    o.controls.texts[ctl::kH2S] = "1.5";
    o.dialog.RecomputeGasSum();
    EXPECT_EQ(o.dialog.m_Gas[0], 1.5f);
    EXPECT_EQ(o.dialog.m_strSumme, "101.50");
    EXPECT_EQ(o.controls.texts[ctl::kSumme], "101.50");
}

TEST(DialogGasSum, NewCaseTakesTheCompositionWhileOilInPlaceIsStillInvalid) {
    OpenDialog o(StartCase::New);
    EXPECT_EQ(o.dialog.m_strSumme, "100.00");
    o.controls.texts[ctl::kH2S] = "10";
    o.controls.texts[ctl::kOOIP] = "abc";
    o.dialog.RecomputeGasSum();
    // The sum reads the composition only: no word about the oil in place, and
    // nothing typed anywhere is put back.
    EXPECT_TRUE(o.sink.Log().empty());
    EXPECT_EQ(o.dialog.m_Gas[0], 10.0f);
    EXPECT_EQ(o.controls.texts[ctl::kSumme], "110.00");
    EXPECT_EQ(o.controls.texts[ctl::kH2S], "10");
    EXPECT_EQ(o.controls.texts[ctl::kOOIP], "abc");
}

TEST(DialogGasSum, ABadGasFieldIsReportedOnceAndKeepsItsText) {
    OpenDialog o;
    o.controls.texts[ctl::kH2S] = "1,5";
    o.controls.texts[1003] = "2";
    o.dialog.RecomputeGasSum();
    ASSERT_EQ(o.sink.Log().size(), 1u);
    EXPECT_NE(o.sink.Texts()[0].find("H2S"), std::string::npos);
    EXPECT_NE(o.sink.Texts()[0].find("Dezimalpunkt"), std::string::npos);
    EXPECT_EQ(o.controls.texts[ctl::kH2S], "1,5");
    EXPECT_EQ(o.controls.focus, std::vector<int>{ctl::kH2S});
    EXPECT_EQ(o.dialog.m_Gas[1], 2.0f);
    EXPECT_EQ(o.controls.texts[ctl::kSumme], "100.30");
}

TEST(DialogOilDensity, WarnsOnlyOutsideZeroPointSixToOnePointFourKgPerLitre) {
    OpenDialog o;
    o.controls.texts[ctl::kAPI] = "10";
    o.dialog.CheckOilDensity();
    EXPECT_TRUE(o.sink.Log().empty());

    o.controls.texts[ctl::kAPI] = "105";
    o.dialog.CheckOilDensity();
    EXPECT_EQ(o.sink.Texts(),
              std::vector<std::string>{
                  "Die Öldichte von 105 Grad API bzw. 0.598 kg/l ist zu korrigieren."});
    EXPECT_EQ(o.dialog.m_API, 105.0f);

    o.sink.Clear();
    o.controls.texts[ctl::kAPI] = "-131.5";  // a division by zero
    o.dialog.CheckOilDensity();
    EXPECT_EQ(o.sink.Log().size(), 1u);
}

TEST(DialogOutputBoxes, ExcludeEachOtherAndClearOnASecondClick) {
    OpenDialog o;
    o.dialog.TogglePVTAusgabe();
    EXPECT_EQ(o.dialog.m_bPVTAusgabe, 1);
    EXPECT_TRUE(o.controls.checks[ctl::kPVT]);

    o.dialog.ToggleRelPermAusgabe();
    EXPECT_EQ(o.dialog.m_bRelPermAusgabe, 1);
    EXPECT_EQ(o.dialog.m_bPVTAusgabe, 0);
    EXPECT_FALSE(o.controls.checks[ctl::kPVT]);
    EXPECT_TRUE(o.controls.checks[ctl::kRelPerm]);

    o.dialog.TogglePVTAusgabe();
    EXPECT_EQ(o.dialog.m_bPVTAusgabe, 1);
    EXPECT_EQ(o.dialog.m_bRelPermAusgabe, 0);

    o.dialog.TogglePVTAusgabe();
    EXPECT_EQ(o.dialog.m_bPVTAusgabe, 0);
    EXPECT_EQ(o.dialog.m_bRelPermAusgabe, 0);
    EXPECT_FALSE(o.controls.checks[ctl::kPVT]);
}

TEST(DialogOutputBoxes, ToggleNeitherReadsNorOverwritesTheOtherFields) {
    OpenDialog o;
    o.controls.texts[ctl::kOOIP] = "17";
    o.dialog.ToggleRelPermAusgabe();
    EXPECT_EQ(o.dialog.m_OOIP, 5000.0f);
    EXPECT_EQ(o.controls.texts[ctl::kOOIP], "17");
}

// The dialog knows each gas component by its own name (m_H2S) and by the case
// record's (m_Gas[0]); both name the component the field table puts at that
// place of the composition, and the dialog's member of that name.
TEST(DialogGasFields, TheDialogsNamesAndTheRecordsNameTheSameComponent) {
    DlgInput d;
    const std::pair<const char*, float*> members[kGasComponents] = {
        {"m_H2S", &d.m_H2S}, {"m_CO2", &d.m_CO2}, {"m_N2", &d.m_N2},   {"m_C1", &d.m_C1},
        {"m_C2", &d.m_C2},   {"m_C3", &d.m_C3},   {"m_iC4", &d.m_iC4}, {"m_nC4", &d.m_nC4},
        {"m_iC5", &d.m_iC5}, {"m_nC5", &d.m_nC5}, {"m_C6", &d.m_C6},   {"m_C7", &d.m_C7},
        {"m_C8", &d.m_C8},   {"m_C9", &d.m_C9},   {"m_C10", &d.m_C10}};
    for (int i = 0; i < kGasComponents; ++i) {
        const auto [name, member] = members[i];
        SCOPED_TRACE(name);
        const ExchangeField* byDialog = FindField(name);
        const ExchangeField* byRecord = FindField("m_Gas[" + std::to_string(i) + "]");
        ASSERT_NE(byDialog, nullptr);
        EXPECT_EQ(byDialog, byRecord);
        EXPECT_EQ(member, &d.m_Gas[i]);
        EXPECT_EQ(&byDialog->Float(d), &d.m_Gas[i]);
        EXPECT_EQ(byDialog->field->gasIndex, i);
    }
}
