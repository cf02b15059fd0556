// The laboratory tables in the data-entry dialog: read with "PVT-Tabelle
// lesen…" and "Relperm-Tabelle lesen…", a refused file changing nothing,
// dropped again with "Tabelle entfernen", the source lines saying which is
// active, the checks of OK, and the case taking it all as a change.

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "input/LabTableEntry.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

namespace {

constexpr int kPvtSource = 1047;
constexpr int kRelPermSource = 1048;

TEST(LabTableEntry, TablesAreReadShownDroppedAndCheckedInTheDialog) {
    TempDir dir;
    const std::string good = dir.File("pvt.txt");
    WriteBytes(good,
               "Kopf\n50 1.1 20 0.02 1.5 0.012\n200 1.3 90 0.005 0.8 0.02\n"
               "250 1.29 90 0 0.85 0\n");
    const std::string bad = dir.File("kaputt.txt");
    WriteBytes(bad, "Kopf\n50 1.1 20 0.02 1.5 0.012\n100;1,2;40;0.01;1.2;0.015\n");
    const std::string relPerm = dir.File("kr.txt");
    WriteBytes(relPerm, "Sg krg kro\r\n0 0 1\r\n0.05 0 0.8\r\n0.6 0.7 0\r\n");

    CMorvekDoc doc;
    FillNordfeld(doc);  // pi 250 bar, pb 200 bar
    doc.SetModifiedFlag(false);
    ScriptedMessageSink sink;
    FakeControls controls;
    std::optional<std::string> chosen;
    struct Chooser : FileChooser {
        std::optional<std::string>* answer;
        std::optional<std::string> ChooseFileToOpen(const std::string&,
                                                    const std::string&) override {
            return *answer;
        }
    } chooser;
    chooser.answer = &chosen;

    ScriptedDataEntry steps([&](DlgInput& d) {
        d.SetPorts(&sink, &controls, &chooser);
        d.OnInitDialog();
        EXPECT_EQ(controls.texts[kPvtSource], "PVT: Korrelation");
        EXPECT_EQ(controls.texts[kRelPermSource], "Relperm: Corey-Ansatz");

        // A refused file: its bad line named, nothing taken.
        chosen = bad;
        d.ReadPvtTable();
        EXPECT_FALSE(d.m_Inputs.pvtTable);
        EXPECT_EQ(sink.Texts(),
                  std::vector<std::string>{
                      "Die PVT-Tabelle " + bad +
                      " wurde nicht übernommen:\nZeile 3: \"1,2\" ist keine Zahl (bitte mit "
                      "Dezimalpunkt statt Komma schreiben)."});
        EXPECT_EQ(controls.texts[kPvtSource], "PVT: Korrelation");

        // Cancelling the file dialog changes nothing either.
        chosen.reset();
        d.ReadRelPermTable();
        EXPECT_FALSE(d.m_Inputs.relPermTable);

        chosen = good;
        d.ReadPvtTable();
        chosen = relPerm;
        d.ReadRelPermTable();
        EXPECT_EQ(controls.texts[kPvtSource], "PVT: pvt.txt (3 Zeilen)");
        EXPECT_EQ(controls.texts[kRelPermSource], "Relperm: kr.txt (3 Zeilen)");

        // OK: the initial pressure must lie within the table.
        sink.Clear();
        controls.texts[FindField("m_Initialdruck")->controlId] = "260";
        EXPECT_FALSE(d.Validate());
        EXPECT_EQ(sink.Texts(), std::vector<std::string>{"FEHLER!!\nInitialdruck 260.0 liegt "
                                                         "außerhalb der PVT-Tabelle ( 50.0 bis "
                                                         "250.0 bar)"});
        controls.texts[FindField("m_Initialdruck")->controlId] = "250";

        // Dropped and read again: the case ends with both tables.
        d.RemovePvtTable();
        EXPECT_FALSE(d.m_Inputs.pvtTable);
        EXPECT_EQ(controls.texts[kPvtSource], "PVT: Korrelation");
        chosen = good;
        d.ReadPvtTable();
        return d.Validate();
    });
    doc.SetDataEntryRunner(&steps);
    ASSERT_TRUE(doc.OnDataChange());
    ASSERT_TRUE(doc.m_Inputs.pvtTable && doc.m_Inputs.relPermTable);
    EXPECT_EQ(doc.m_Inputs.pvtTable->rows.size(), 3u);
    EXPECT_TRUE(doc.IsModified()) << "a table read is a change of the case";
    // The report says where its numbers come from.
    const auto& text = doc.m_Text;
    EXPECT_NE(std::find(text.begin(), text.end(),
                        "     PVT-DATEN:             TABELLE pvt.txt (3 ZEILEN)"),
              text.end());
    EXPECT_NE(std::find(text.begin(), text.end(),
                        " Ende der PVT-Tabelle bei 50.0 bar: Berechnung beendet"),
              text.end());
}

TEST(LabTableEntry, OkRefusesAPvtTableThatCannotCarryThePrediction) {
    morvek::CaseInputs in;
    in.initialPressureBar = 250;
    in.bubblePointPressureBar = 200;
    in.pvtTable = morvek::LabPvtTable{
        "t.txt", {{150, 1.2f, 60, 0.01f, 1, 0.015f}, {250, 1.3f, 90, 0.005f, 0.8f, 0.02f}}};
    ScriptedMessageSink sink;
    EXPECT_TRUE(CheckPvtTableOfCase(in, sink));
    in.pvtTable->rows[0].bg = 0;
    EXPECT_FALSE(CheckPvtTableOfCase(in, sink));
    in.pvtTable->rows[0].bg = 0.01f;
    in.bubblePointPressureBar = 120;
    EXPECT_FALSE(CheckPvtTableOfCase(in, sink));
    EXPECT_EQ(sink.Texts(),
              (std::vector<std::string>{
                  "FEHLER!!\nPVT-Tabelle bei 150.0 bar: Bg und Gasviskosität müssen bis zum "
                  "Gasentlösungsdruck größer als 0 sein",
                  "FEHLER!!\nDie PVT-Tabelle beginnt bei 150.0 bar, über dem Gasentlösungsdruck "
                  "von 120.0 bar"}));

    // A pressure just beyond the table shows with the decimals that tell it
    // from the bound, not as the bound itself (Walsh's table begins at
    // 349.5642 bar, the paper's 5070 psia are 349.6 bar).
    sink.Clear();
    in.pvtTable->rows[1].pressureBar = 349.5642f;
    in.initialPressureBar = 349.6f;
    in.bubblePointPressureBar = 149.96f;
    EXPECT_FALSE(CheckPvtTableOfCase(in, sink));
    in.initialPressureBar = 349.5642f;
    EXPECT_FALSE(CheckPvtTableOfCase(in, sink));
    EXPECT_EQ(sink.Texts(),
              (std::vector<std::string>{
                  "FEHLER!!\nInitialdruck 349.60 liegt außerhalb der PVT-Tabelle (150.00 bis "
                  "349.56 bar)",
                  "FEHLER!!\nDie PVT-Tabelle beginnt bei 150.00 bar, über dem "
                  "Gasentlösungsdruck von 149.96 bar"}));
}

}  // namespace
