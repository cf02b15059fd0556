// The data-entry dialog's rules that only the window's fields follow: numbers
// with a decimal comma, a measured-data file read only in part that replaces
// rows only when the user says so, the status line while the file is read,
// the hint of a new case and the fields a laboratory table replaces.

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "input/ExchangeTable.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

namespace {

using Rows = std::vector<std::string>;

// The window's fields: a decimal comma is as good as a point.
class WindowControls : public FakeControls {
public:
    bool TakesDecimalComma() const override { return true; }
};

// A sink that notes the status line at each message, as the user sees it
// behind the message box.
class StatusAtMessages : public ScriptedMessageSink {
public:
    explicit StatusAtMessages(const FakeControls& controls) : m_Controls(controls) {}
    void Show(const std::string& text) override {
        statuses.push_back(m_Controls.Text(ctl::kStatus));
        ScriptedMessageSink::Show(text);
    }
    void Warn(const std::string& text) override {
        statuses.push_back(m_Controls.Text(ctl::kStatus));
        ScriptedMessageSink::Warn(text);
    }
    bool AskYesNo(const std::string& text) override {
        statuses.push_back(m_Controls.Text(ctl::kStatus));
        return ScriptedMessageSink::AskYesNo(text);
    }
    Rows statuses;

private:
    const FakeControls& m_Controls;
};

struct WindowDialog {
    explicit WindowDialog(StartCase start = StartCase::Nordfeld) : sink(controls) {
        if (start == StartCase::New)
            doc.OnNewDocument();
        else
            FillNordfeld(doc);
        dialog = DialogFilledFrom(doc);
        dialog.SetPorts(&sink, &controls, nullptr);
        dialog.OnInitDialog();
    }
    void Type(const std::string& member, const std::string& text) {
        controls.texts[FindField(member)->controlId] = text;
    }
    CMorvekDoc doc;
    DlgInput dialog;
    WindowControls controls;
    StatusAtMessages sink;
};

}  // namespace

// "0,25" in any number field of the window reads as 0.25; what cannot be a
// number with either sign is refused with the hint at both; a measured row
// typed with commas is kept with points.
TEST(WindowFields, TakeADecimalCommaAsWellAsAPoint) {
    WindowDialog w;
    w.Type("m_Swi", "0,25");
    w.Type("m_OOIP", "4500,5");
    w.Type("m_Temperatur", "-1,5e1");
    w.Type("m_API", "34.5");
    ASSERT_TRUE(w.dialog.Validate()) << (w.sink.Texts().empty() ? "" : w.sink.Texts()[0]);
    EXPECT_EQ(w.dialog.m_Swi, 0.25f);
    EXPECT_EQ(w.dialog.m_OOIP, 4500.5f);
    EXPECT_EQ(w.dialog.m_Temperatur, -15.0f);
    EXPECT_EQ(w.dialog.m_API, 34.5f);

    for (const char* text : {"1.000,5", "0,2,5", "1,5.2", ","}) {
        WindowDialog bad;
        bad.Type("m_Swi", text);
        EXPECT_FALSE(bad.dialog.Validate()) << text;
        ASSERT_EQ(bad.sink.Texts().size(), 1u) << text;
        EXPECT_NE(bad.sink.Texts()[0].find("Haftwassersättigung"), std::string::npos);
        EXPECT_NE(bad.sink.Texts()[0].find("Dezimalkomma oder Dezimalpunkt"), std::string::npos)
            << bad.sink.Texts()[0];
    }

    // Files and the command line keep the point: the same dialog on plain
    // controls refuses the comma.
    OpenDialog plain;
    plain.Type("m_Swi", "0,25");
    EXPECT_FALSE(plain.dialog.Validate());

    WindowDialog rows;
    rows.controls.radios[ctl::kZeilenModus] = 1;  // append
    rows.sink.Answers({Answer::Yes});
    rows.controls.texts[ctl::kZeile] = "100,5  240,25 98";
    rows.dialog.ApplyRowEdit();
    ASSERT_EQ(rows.dialog.m_Messwerte.size(), 7u);
    EXPECT_NE(std::find(rows.dialog.m_Messwerte.begin(), rows.dialog.m_Messwerte.end(),
                        "100.5  240.25 98"),
              rows.dialog.m_Messwerte.end());
}

// A file whose third line is bad gives one good row: it replaces the seven
// rows entered only after a Yes; the status line says what goes on while the
// reader's message is up, and what came of it afterwards.
TEST(WindowFields, APartlyReadFileReplacesTheRowsOnlyWhenTheUserSaysSo) {
    TempDir dir;
    const std::string path = dir.File("teil.txt");
    WriteBytes(path, "Kopf\n100 240 95\nhundert 230\n300 220 99\n");
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        WindowDialog w;
        ASSERT_EQ(w.dialog.m_Messwerte.size(), 6u);
        w.dialog.m_Messwerte.push_back("760 112 445");
        w.dialog.m_MesswertListe.AddSorted("760 112 445");
        const Rows before = w.dialog.m_Messwerte;
        ScriptedFileChooser chooser(path);
        w.dialog.SetPorts(&w.sink, &w.controls, &chooser);
        w.controls.texts[ctl::kStatus] = "Keine Zeile eingelesen";  // of an earlier reading
        w.sink.Answers({answer});
        w.dialog.FileOpen();
        // " wird geöffnet", the reader's message, the question.
        ASSERT_EQ(w.sink.Log().size(), 3u);
        EXPECT_TRUE(w.sink.Log()[1].warning);
        EXPECT_EQ(w.sink.Log()[2].text,
                  "Aus der Datei teil.txt wurde vor der fehlerhaften Zeile nur 1 Zeile gelesen.\n"
                  "Die vorhandenen Meßwerte (7 Zeilen) dadurch ersetzen?");
        EXPECT_EQ(w.sink.statuses[1], "Die Datei teil.txt wird gelesen ...");
        EXPECT_EQ(w.sink.statuses[2], "Die Datei teil.txt wird gelesen ...");
        if (answer == Answer::No) {
            EXPECT_EQ(w.dialog.m_Messwerte, before);
            EXPECT_EQ(w.dialog.m_MesswertListe.Count(), 7);
            EXPECT_EQ(w.controls.texts[ctl::kStatus],
                      "Datei nicht übernommen, die Meßwerte bleiben (7 Zeilen)");
        } else {
            EXPECT_EQ(w.dialog.m_Messwerte,
                      Rows{"   100.000                240.0                95.0"});
            EXPECT_EQ(w.controls.texts[ctl::kStatus], "1 Zeile wurde eingelesen");
        }
    }
}

// A new case says what to enter first; the correlation and Corey fields a
// laboratory table replaces are named as unused, with the table's name.
TEST(WindowFields, ANewCaseSaysWhatToEnterFirstAndTablesNameTheFieldsTheyReplace) {
    WindowDialog fresh(StartCase::New);
    EXPECT_EQ(fresh.controls.texts[ctl::kStatus].rfind("Neuer Fall: zuerst Original Oil in Place", 0),
              0u)
        << fresh.controls.texts[ctl::kStatus];
    WindowDialog nordfeld;
    EXPECT_EQ(nordfeld.controls.texts[ctl::kStatus].find("Neuer Fall"), std::string::npos);

    for (const char* member : {"m_Methode", "m_NuoPb", "m_Rsi", "m_KroMax", "m_KrgMax", "m_Sgc"})
        EXPECT_EQ(nordfeld.dialog.UnusedFieldReason(member), "") << member;
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::LabRelPermTable relPerm;
    ASSERT_EQ(morvek::ReadPvtTableFile(SourcePath("examples/tabellen/nordfeld-pvt.txt"), pvt,
                                       problems),
              morvek::TableReadStatus::Read);
    nordfeld.dialog.m_Inputs.pvtTable = pvt;
    for (const char* member : {"m_Methode", "m_NuoPb", "m_Rsi"})
        EXPECT_NE(nordfeld.dialog.UnusedFieldReason(member).find("PVT-Tabelle nordfeld-pvt.txt"),
                  std::string::npos)
            << member;
    EXPECT_EQ(nordfeld.dialog.UnusedFieldReason("m_KrgMax"), "");
    ASSERT_EQ(morvek::ReadRelPermTableFile(
                  SourcePath("examples/tabellen/nordfeld-relperm.txt"), relPerm, problems),
              morvek::TableReadStatus::Read);
    nordfeld.dialog.m_Inputs.relPermTable = relPerm;
    for (const char* member : {"m_KroMax", "m_KrgMax", "m_Sgc"})
        EXPECT_NE(nordfeld.dialog.UnusedFieldReason(member).find("nordfeld-relperm.txt"),
                  std::string::npos)
            << member;
    EXPECT_EQ(nordfeld.dialog.UnusedFieldReason("m_Swi"), "");
    EXPECT_EQ(nordfeld.dialog.UnusedFieldReason("m_OOIP"), "");
}

// The oil-density warning shows the gravity as typed, not "200.000000".
TEST(WindowFields, OilDensityWarningShowsTheGravityAsTyped) {
    WindowDialog w;
    w.Type("m_API", "200");
    w.dialog.CheckOilDensity();
    EXPECT_EQ(w.sink.Texts(), Rows{"Die Öldichte von 200 Grad API bzw. 0.426 kg/l ist zu korrigieren."});
}
