#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

// "Daten ändern" with the dialog driven as the user would.
TEST(DataEntry, DeletingEveryRowInTheDialogEmptiesTheCaseRows) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    doc.m_Messwerte = {"100 240", "200 230"};
    doc.m_bGrafikNeu = 0;
    ScriptedMessageSink sink;
    sink.Answers({Answer::Yes, Answer::Yes});
    FakeControls controls;
    ScriptedDataEntry deleteAll([&](DlgInput& d) {
        d.SetPorts(&sink, &controls, nullptr);
        d.OnInitDialog();
        d.SetRowMode(3);  // the click on "Zeile löschen"
        controls.radios[1035] = 3;
        for (int i = 0; i < 2; ++i) {
            d.m_MesswertListe.SetSelection(0);
            d.SelectRow();
            d.ApplyRowEdit();
        }
        EXPECT_EQ(d.m_MesswertListe.Count(), 0);
        return d.Validate();
    });
    doc.SetDataEntryRunner(&deleteAll);
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_TRUE(doc.m_Messwerte.empty());
    EXPECT_EQ(doc.m_Max2Werte, 0);
    // The rows changed, so the case did.
    EXPECT_EQ(doc.m_bGeaendert, 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST(DataEntry, RowsReadFromAFileReachTheCaseOnOk) {
    TempDir dir;
    const std::string path = dir.File("m.txt");
    WriteBytes(path, "Kopf\n100 240 90\n200 230\n");
    CMorvekDoc doc;
    FillNordfeld(doc);
    ScriptedMessageSink sink;
    FakeControls controls;
    ScriptedFileChooser chooser(path);
    ScriptedDataEntry readFile([&](DlgInput& d) {
        d.SetPorts(&sink, &controls, &chooser);
        d.OnInitDialog();
        d.FileOpen();
        return d.Validate();
    });
    doc.SetDataEntryRunner(&readFile);
    ASSERT_TRUE(doc.OnDataChange());
    EXPECT_EQ(doc.m_Messwerte,
              (std::vector<std::string>{"   100.000                240.0                90.0",
                                        "   200.000                230.0   * "}));
    EXPECT_EQ(doc.m_Max2Werte, 2);
}
