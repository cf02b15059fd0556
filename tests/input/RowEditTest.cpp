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

TEST(RowEdit, ChangeWithNoRowSelectedOnlyTakesOverTheListOrder) {
    RowDialog d;
    d.Edit(kChange, "900 100");
    EXPECT_TRUE(d.sink.Log().empty());
    EXPECT_EQ(d.List(), kSorted);
    EXPECT_EQ(d.dialog.m_Messwerte, kSorted);
    EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 0);
    EXPECT_EQ(d.dialog.m_strStatus, " ");
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

TEST(RowEdit, AnInvalidFieldElsewhereDoesNotStopTheRowEdit) {
    OpenDialog o(StartCase::New);  // oil in place 0: not yet valid
    o.controls.texts[ctl::kZeile] = "100 200";
    o.controls.radios[ctl::kZeilenModus] = kAppend;
    o.sink.Answers({Answer::Yes});
    o.dialog.ApplyRowEdit();
    EXPECT_EQ(o.sink.Texts(), Rows{"Soll diese Zeile angehängt werden?\n100 200"});
    EXPECT_EQ(o.dialog.m_MesswertListe.Count(), 1);
}

// An edit the user confirms: the question it asks (none for a change), the
// list afterwards (also the case's rows), the status line and where the
// selection stands. A row is selected by a double click (which copies it
// into the edit line) or a single click (which does not).
TEST(RowEdit, EachModeChangesTheListAsItSays) {
    enum class Pick { None, Click, DoubleClick };
    struct Case {
        const char* what;
        Pick pick;
        int row;  // the row picked
        Mode mode;
        const char* typed;
        Rows asked;
        Rows list;
        const char* status;
        int selection;  // afterwards; -2: not checked
    };
    const std::vector<Case> cases = {
        {"change replaces the selected row in place without asking", Pick::DoubleClick, 0,
         kChange, "900 100", {}, {"900 100", "200 230", "300 220"}, "1.Zeile wurde geändert", -2},
        // The status counts the rows; it is not the new row's place.
        {"append puts the row at its sorted place", Pick::None, 0, kAppend, "150 235 80",
         {"Soll diese Zeile angehängt werden?\n150 235 80"},
         {"100 240", "150 235 80", "200 230", "300 220"}, "4.Zeile angehängt", -2},
        {"append stores the row whole as typed", Pick::None, 0, kAppend, "1.5 120 30 Bemerkung",
         {"Soll diese Zeile angehängt werden?\n1.5 120 30 Bemerkung"},
         {"1.5 120 30 Bemerkung", "100 240", "200 230", "300 220"}, "4.Zeile angehängt", -2},
        {"append takes zeros", Pick::None, 0, kAppend, "0 200 0",
         {"Soll diese Zeile angehängt werden?\n0 200 0"},
         {"0 200 0", "100 240", "200 230", "300 220"}, "4.Zeile angehängt", -2},
        // The selection stays on the row it was on.
        {"insert puts the row before the selected one, unsorted", Pick::DoubleClick, 1, kInsert,
         "999 100", {"Soll diese Zeile vor der markierten eingefügt werden?\n999 100"},
         {"100 240", "999 100", "200 230", "300 220"}, "2.Zeile eingefügt", 2},
        {"delete removes the selected row whatever the edit line holds", Pick::DoubleClick, 2,
         kDelete, "100 240", {"Soll diese Zeile wirklich gelöscht werden?\n300 220"},
         {"100 240", "200 230"}, "3.Zeile gelöscht", -1},
        {"delete asks with the row a single click selected", Pick::Click, 0, kDelete,
         "850 100 520", {"Soll diese Zeile wirklich gelöscht werden?\n100 240"},
         {"200 230", "300 220"}, "1.Zeile gelöscht", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RowDialog d;
        if (c.pick == Pick::DoubleClick) d.Select(c.row);
        if (c.pick == Pick::Click) d.dialog.m_MesswertListe.SetSelection(c.row);
        d.sink.Answers({Answer::Yes});
        d.Edit(c.mode, c.typed);
        EXPECT_EQ(d.sink.Texts(), c.asked);
        EXPECT_EQ(d.List(), c.list);
        EXPECT_EQ(d.dialog.m_Messwerte, c.list);
        EXPECT_EQ(d.controls.texts[ctl::kStatus], c.status);
        EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 1);
        if (c.selection != -2) {
            EXPECT_EQ(d.dialog.m_MesswertListe.Selection(), c.selection);
        }
    }
}

// A refused edit says why and changes nothing: the list stays sorted, the
// case keeps its rows as handed in, the edit line keeps what was typed.
TEST(RowEdit, RefusedRowsChangeNothing) {
    struct Case {
        Mode mode;
        bool selected;  // the first row double-clicked
        std::string typed;
        std::string said;
    };
    std::vector<Case> cases;
    for (Mode mode : {kChange, kAppend, kInsert, kDelete})
        for (const char* row : {"1.5", "nan 120", "abc 1 2"})
            cases.push_back({mode, true, row, "Die Zeile enthält keine 2 Werte"});
    cases.push_back({kChange, true, "2,5 120",
                     "Die Zeile enthält keine 2 Werte\nZahlen werden mit Dezimalpunkt "
                     "geschrieben, zum Beispiel 10.5 statt 10,5."});
    const std::string rangeOf = "Bitte einen Wert ab 0 eingeben: ";
    for (auto [row, field] : {std::pair{"-50 200 -7", "Kum.Ölproduktion (1000 m3)"},
                              std::pair{"50 -200", "Schließdruck (Bar)"},
                              std::pair{"50 200 -7", "GOEV (m3/m3)"},
                              std::pair{"-0.001 100", "Kum.Ölproduktion (1000 m3)"}})
        cases.push_back({kAppend, false, row, rangeOf + "\"" + field + "\"."});
    for (Mode mode : {kInsert, kDelete})
        cases.push_back({mode, false, "150 235", "Bitte zuerst eine Zeile auswählen."});
    cases.push_back(
        {kChange, true, "100 240 北", UnstorableTextMessage(*FindField("m_strZeile"), "北")});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ": " << c.typed);
        RowDialog d;
        if (c.selected) d.Select(0);
        d.sink.Answers({Answer::Yes});
        d.Edit(c.mode, c.typed);
        ASSERT_EQ(d.sink.Log().size(), 1u);
        EXPECT_EQ(d.sink.Log()[0].kind, ScriptedMessageSink::Entry::Shown);
        EXPECT_EQ(d.sink.Texts()[0], c.said);
        EXPECT_EQ(d.List(), kSorted);
        EXPECT_EQ(d.dialog.m_Messwerte, kHandedIn);
        EXPECT_EQ(d.dialog.m_bMesswerteGeaendert, 0);
        EXPECT_EQ(d.controls.texts[ctl::kZeile], c.typed);
    }
}

// A row that code page 1252 cannot hold puts the focus back on the edit line.
TEST(RowEdit, RowThatCodePage1252CannotHoldKeepsTheFocusWhereTyped) {
    RowDialog d;
    d.Select(0);
    d.Edit(kChange, "100 240 北");
    EXPECT_EQ(d.controls.focus, std::vector<int>{ctl::kZeile});
}
