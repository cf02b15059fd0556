#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "ExampleCases.h"
#include "input/ExchangeTable.h"
#include "support/ScriptedMessageSink.h"

namespace {

using Rows = std::vector<std::string>;

enum Mode { kChange = 0, kAppend = 1, kInsert = 2, kDelete = 3 };

// The Nordfeld case with three rows handed in out of order, as a case may
// hold them; the list shows them sorted.
struct RowDialog {
    RowDialog() {
        FillNordfeld(doc);
        doc.m_Messwerte = {"300 220", "100 240", "200 230"};
        dialog = DialogFilledFrom(doc);
        dialog.SetPorts(&sink, &controls, nullptr);
        dialog.OnInitDialog();
        dialog.m_bMesswerteGeaendert = 0;
    }
    void Select(int index) {
        dialog.m_MesswertListe.SetSelection(index);
        dialog.SelectRow();
    }
    // Types the row, clicks the mode button and leaves the edit line.
    void Edit(Mode mode, const std::string& row) {
        dialog.SetRowMode(mode);
        controls.radios[ctl::kZeilenModus] = mode;
        controls.texts[ctl::kZeile] = row;
        dialog.ApplyRowEdit();
    }
    Rows List() const { return dialog.m_MesswertListe.Rows(); }

    CMorvekDoc doc;
    DlgInput dialog;
    FakeControls controls;
    ScriptedMessageSink sink;
};

const Rows kSorted = {"100 240", "200 230", "300 220"};
const Rows kHandedIn = {"300 220", "100 240", "200 230"};

}  // namespace

TEST(RowSelect, CopiesTheRowIntoTheEditLineAndMovesTheFocusOn) {
    RowDialog d;
    d.Select(2);
    EXPECT_EQ(d.dialog.m_nAuswahl, 2);
    EXPECT_EQ(d.controls.texts[ctl::kZeile], "300 220");
    EXPECT_EQ(d.controls.texts[ctl::kStatus], "3.Zeile ausgewählt");
    EXPECT_EQ(d.controls.focusMovedOn, 1);
}

TEST(RowSelect, DoubleClickOnAnEmptyListLeavesTheEditLineBlankAndSaysNothing) {
    RowDialog d;
    d.dialog.m_MesswertListe.Clear();
    d.dialog.SelectRow();
    EXPECT_EQ(d.dialog.m_nAuswahl, -1);
    EXPECT_EQ(d.controls.texts[ctl::kZeile], " ");
    EXPECT_EQ(d.controls.texts[ctl::kStatus], " ");
    EXPECT_TRUE(d.sink.Log().empty());
    EXPECT_EQ(d.controls.focusMovedOn, 0);
}

TEST(RowEdit, ChangeReplacesTheSelectedRowInPlaceWithoutAsking) {
    RowDialog d;
    d.Select(0);
    d.Edit(kChange, "900 100");
    EXPECT_TRUE(d.sink.Log().empty());
    EXPECT_EQ(d.List(), (Rows{"900 100", "200 230", "300 220"}));
    EXPECT_EQ(d.dialog.m_Messwerte, d.List());
    EXPECT_EQ(d.controls.texts[ctl::kStatus], "1.Zeile wurde geändert");
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 1);
}

TEST(RowEdit, ChangeWithNoRowSelectedOnlyTakesOverTheListOrder) {
    RowDialog d;
    d.Edit(kChange, "900 100");
    EXPECT_TRUE(d.sink.Log().empty());
    EXPECT_EQ(d.List(), kSorted);
    EXPECT_EQ(d.dialog.m_Messwerte, kSorted);
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 0);
    EXPECT_EQ(d.dialog.m_strStatus, " ");
}

TEST(RowEdit, AppendAsksAndPutsTheRowAtItsSortedPlace) {
    RowDialog d;
    d.sink.Answers({Answer::Yes});
    d.Edit(kAppend, "150 235 80");
    EXPECT_EQ(d.sink.Texts(), Rows{"Soll diese Zeile angehängt werden?\n150 235 80"});
    EXPECT_EQ(d.List(), (Rows{"100 240", "150 235 80", "200 230", "300 220"}));
    EXPECT_EQ(d.dialog.m_Messwerte, d.List());
    // The status counts the rows; it is not the new row's place.
    EXPECT_EQ(d.controls.texts[ctl::kStatus], "4.Zeile angehängt");
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 1);
}

TEST(RowEdit, AnsweringNoChangesNoRowButTakesOverTheListOrder) {
    for (Mode mode : {kAppend, kInsert, kDelete}) {
        RowDialog d;
        d.Select(1);
        d.sink.Answers({Answer::No});
        d.Edit(mode, "150 235");
        EXPECT_EQ(d.sink.Log().size(), 1u) << mode;
        EXPECT_EQ(d.List(), kSorted) << mode;
        EXPECT_EQ(d.dialog.m_Messwerte, kSorted) << mode;
        EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 0) << mode;
        EXPECT_EQ(d.dialog.m_strStatus, " ") << mode;
    }
}

TEST(RowEdit, InsertPutsTheRowBeforeTheSelectedOneUnsorted) {
    RowDialog d;
    d.Select(1);
    d.sink.Answers({Answer::Yes});
    d.Edit(kInsert, "999 100");
    EXPECT_EQ(d.sink.Texts(),
              Rows{"Soll diese Zeile vor der markierten eingefügt werden?\n999 100"});
    EXPECT_EQ(d.List(), (Rows{"100 240", "999 100", "200 230", "300 220"}));
    EXPECT_EQ(d.dialog.m_Messwerte, d.List());
    EXPECT_EQ(d.controls.texts[ctl::kStatus], "2.Zeile eingefügt");
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 1);
    // The selection stays on the row it was on.
    EXPECT_EQ(d.dialog.m_MesswertListe.Selection(), 2);
}

TEST(RowEdit, DeleteRemovesTheSelectedRowWhateverTheEditLineHoldsAndNamesIt) {
    RowDialog d;
    d.Select(2);
    d.sink.Answers({Answer::Yes});
    d.Edit(kDelete, "100 240");
    EXPECT_EQ(d.sink.Texts(), Rows{"Soll diese Zeile wirklich gelöscht werden?\n300 220"});
    EXPECT_EQ(d.List(), (Rows{"100 240", "200 230"}));
    EXPECT_EQ(d.dialog.m_Messwerte, d.List());
    EXPECT_EQ(d.controls.texts[ctl::kStatus], "3.Zeile gelöscht");
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 1);
    EXPECT_EQ(d.dialog.m_MesswertListe.Selection(), -1);
}

TEST(RowEdit, InsertOrDeleteWithNoRowSelectedIsRefusedAndChangesNothing) {
    for (Mode mode : {kInsert, kDelete}) {
        RowDialog d;
        d.sink.Answers({Answer::Yes});
        d.Edit(mode, "150 235");
        EXPECT_EQ(d.sink.Log().size(), 1u);
        EXPECT_EQ(d.sink.Log()[0].kind, ScriptedMessageSink::Entry::Shown);
        EXPECT_EQ(d.sink.Texts(), Rows{"Bitte zuerst eine Zeile auswählen."});
        EXPECT_EQ(d.List(), kSorted);
        EXPECT_EQ(d.dialog.m_Messwerte, kHandedIn);
        EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 0);
    }
}

TEST(RowEdit, RowWithoutTwoNumbersIsRefusedInEveryMode) {
    for (Mode mode : {kChange, kAppend, kInsert, kDelete}) {
        for (const char* row : {"1.5", "nan 120", "abc 1 2"}) {
            RowDialog d;
            d.Select(0);
            d.sink.Answers({Answer::Yes});
            d.Edit(mode, row);
            EXPECT_EQ(d.sink.Texts(), Rows{"Die Zeile enthält keine 2 Werte"}) << row;
            EXPECT_EQ(d.List(), kSorted);
            EXPECT_EQ(d.dialog.m_Messwerte, kHandedIn);
            EXPECT_EQ(d.controls.texts[ctl::kZeile], row);
        }
    }
}

TEST(RowEdit, RowWithACommaGetsTheDecimalPointHint) {
    RowDialog d;
    d.Select(0);
    d.Edit(kChange, "2,5 120");
    EXPECT_EQ(d.sink.Texts(), Rows{"Die Zeile enthält keine 2 Werte\nZahlen werden mit "
                                   "Dezimalpunkt geschrieben, zum Beispiel 10.5 statt 10,5."});
    EXPECT_EQ(d.List(), kSorted);
}

TEST(RowEdit, PassingThroughAnEmptyEditLineSaysNothingAndChangesNothing) {
    for (Mode mode : {kChange, kAppend, kInsert, kDelete}) {
        for (const char* row : {"", " ", "  \t"}) {
            RowDialog d;
            d.Select(0);
            d.sink.Answers({Answer::Yes});
            d.Edit(mode, row);
            EXPECT_TRUE(d.sink.Log().empty()) << mode << " '" << row << "'";
            EXPECT_EQ(d.List(), kSorted);
            EXPECT_EQ(d.dialog.m_Messwerte, kHandedIn);
            EXPECT_EQ(d.controls.texts[ctl::kStatus], " ");
        }
    }
}

TEST(RowEdit, StoresTheRowWholeAsTyped) {
    RowDialog d;
    d.sink.Answers({Answer::Yes});
    d.Edit(kAppend, "1.5 120 30 Bemerkung");
    EXPECT_EQ(d.List().front(), "1.5 120 30 Bemerkung");
}

TEST(RowEdit, RowThatCodePage1252CannotHoldIsRefusedWhereTyped) {
    RowDialog d;
    d.Select(0);
    d.Edit(kChange, "100 240 北");
    EXPECT_EQ(d.sink.Texts(), Rows{UnstorableTextMessage(*FindField("m_strZeile"), "北")});
    EXPECT_EQ(d.controls.focus, std::vector<int>{ctl::kZeile});
    EXPECT_EQ(d.List(), kSorted);
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 0);
}

TEST(RowEdit, AnInvalidFieldElsewhereDoesNotStopTheRowEdit) {
    OpenDialog o(StartCase::New);  // oil in place 0: not yet valid
    o.controls.texts[ctl::kZeile] = "100 200";
    o.controls.radios[ctl::kZeilenModus] = kAppend;
    o.sink.Answers({Answer::Yes});
    o.dialog.ApplyRowEdit();
    EXPECT_EQ(o.sink.Texts(), Rows{"Soll diese Zeile angehängt werden?\n100 200"});
    EXPECT_EQ(o.dialog.m_MesswertListe.Count(), 1);
}

TEST(RowEdit, DeleteAsksWithTheSelectedRowItDeletesNotTheEditLine) {
    RowDialog d;
    d.dialog.m_MesswertListe.SetSelection(0);  // a single click on row 1
    d.sink.Answers({Answer::Yes});
    d.Edit(kDelete, "850 100 520");
    EXPECT_EQ(d.sink.Texts(), Rows{"Soll diese Zeile wirklich gelöscht werden?\n100 240"});
    EXPECT_EQ(d.List(), (Rows{"200 230", "300 220"}));
    EXPECT_EQ(d.controls.texts[ctl::kStatus], "1.Zeile gelöscht");
}

TEST(RowEdit, NegativeValuesInARowAreRefusedWithTheirRangeMessage) {
    for (const char* row : {"-50 200 -7", "50 -200", "50 200 -7", "-0.001 100"}) {
        RowDialog d;
        d.sink.Answers({Answer::Yes});
        d.Edit(kAppend, row);
        ASSERT_EQ(d.sink.Log().size(), 1u) << row;
        EXPECT_EQ(d.sink.Log()[0].kind, ScriptedMessageSink::Entry::Shown) << row;
        EXPECT_NE(d.sink.Texts()[0].find("Bitte einen Wert ab 0 eingeben"), std::string::npos)
            << d.sink.Texts()[0];
        EXPECT_EQ(d.List(), kSorted) << row;
    }
    RowDialog d;
    d.sink.Answers({Answer::Yes});
    d.Edit(kAppend, "0 200 0");
    EXPECT_EQ(d.List().front(), "0 200 0");
}
