// The match dialog as a user drives it: the match runs on its own thread and
// reports back; "Übernehmen" gives the case the fitted values, marks it
// modified and computes it; "Abbrechen" stops a running match and leaves the
// case alone; a match the case cannot take is refused with a message; the
// case's laboratory tables decide which inputs can be fitted and where.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "match/qt/MatchDialog.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

namespace {

struct Case {
    ScriptedMessageSink sink;
    CMorvekDoc doc;
    int viewUpdates = 0;
    Case() {
        FillNordfeld(doc);
        doc.SetMessageSink(&sink);
        doc.AddViewListener([this] { ++viewUpdates; });
    }
};

bool Finishes(const MatchDialog& dialog) {
    return QTest::qWaitFor([&] { return !dialog.Running(); }, 60000);
}

TEST(MatchDialog, MatchesOnItsThreadAndTheCaseTakesTheFittedValues) {
    Case c;
    MatchDialog dialog(c.doc);
    // On a 1280x720 screen the dialog fits, "Übernehmen" and "Verwerfen" in view.
    ResizeWithin(dialog, QSize(780, 800), QSize(1280 - 16, 720 - 48));
    dialog.show();
    QTest::qWait(10);
    EXPECT_LE(dialog.height(), 720 - 48);
    for (const QPushButton* b : dialog.findChildren<QPushButton*>())
        EXPECT_TRUE(dialog.rect().contains(QRect(b->mapTo(&dialog, QPoint()), b->size())))
            << b->text().toStdString();
    dialog.hide();
    EXPECT_TRUE(dialog.Check("m_OOIP")->isChecked());
    EXPECT_TRUE(dialog.Check("m_Gaskappe")->isChecked());
    EXPECT_FALSE(dialog.Check("m_Swi")->isChecked());
    EXPECT_EQ(dialog.StartEdit("m_OOIP")->text(), "5000");
    EXPECT_EQ(dialog.LowerEdit("m_OOIP")->text(), "760");  // the largest row's oil
    EXPECT_FALSE(dialog.ApplyButton()->isEnabled());

    dialog.StartEdit("m_OOIP")->setText("4000");
    dialog.StartEdit("m_Gaskappe")->setText("0.3");
    QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.Running());
    EXPECT_FALSE(dialog.StartButton()->isEnabled());
    EXPECT_TRUE(dialog.CancelButton()->isEnabled());
    EXPECT_FALSE(dialog.StartEdit("m_OOIP")->isEnabled());
    ASSERT_TRUE(Finishes(dialog));

    ASSERT_TRUE(dialog.Result());
    const morvek::MatchResult& r = *dialog.Result();
    ASSERT_TRUE(r.Converged()) << r.message;
    EXPECT_EQ(r.inputs[0].start, 4000.0);
    EXPECT_EQ(dialog.ResultTable()->rowCount(), 2);
    EXPECT_TRUE(dialog.ProgressLine()->text().startsWith("Konvergiert nach"));
    EXPECT_TRUE(dialog.Details()->toPlainText().contains("Meßwerte gegen Rechnung"));
    EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
    EXPECT_EQ(c.doc.m_OOIP, 5000.0f);  // nothing taken before "Übernehmen"

    QTest::mouseClick(dialog.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(c.doc.m_OOIP, r.inputs[0].stored);
    EXPECT_EQ(c.doc.m_Gaskappe, r.inputs[1].stored);
    EXPECT_TRUE(c.doc.IsModified());
    ASSERT_TRUE(c.doc.LastRun());
    ASSERT_TRUE(c.doc.LastRun()->prediction);
    EXPECT_EQ(c.viewUpdates, 1);
    // The report is the one of the fitted case.
    morvek::CaseInputs fitted = c.doc.m_Inputs;
    EXPECT_EQ(c.doc.m_Text, morvek::RunCase(fitted, morvek::ResultKind::Prediction).report);
}

TEST(MatchDialog, CancelStopsTheMatchAndRefusalsAreShown) {
    Case c;
    MatchDialog dialog(c.doc);
    ASSERT_TRUE(dialog.Start());
    dialog.Cancel();
    ASSERT_TRUE(Finishes(dialog));
    ASSERT_TRUE(dialog.Result());
    EXPECT_EQ(dialog.Result()->status, morvek::MatchStatus::Cancelled);
    EXPECT_TRUE(dialog.ProgressLine()->text().contains("abgebrochen"));
    EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
    EXPECT_TRUE(dialog.StartButton()->isEnabled());
    EXPECT_EQ(c.doc.m_OOIP, 5000.0f);
    // The settings the match was started with are kept with the case (a
    // change of the case); the refusals below change nothing more.
    ASSERT_TRUE(c.doc.m_Inputs.matchSettings);
    EXPECT_TRUE(c.doc.IsModified());
    const morvek::CaseInputs started = c.doc.m_Inputs;

    // Nothing to fit, a start outside its bounds, a word for a number.
    dialog.Check("m_OOIP")->setChecked(false);
    dialog.Check("m_Gaskappe")->setChecked(false);
    EXPECT_FALSE(dialog.Start());
    dialog.Check("m_Swi")->setChecked(true);
    dialog.StartEdit("m_Swi")->setText("0.99");
    EXPECT_FALSE(dialog.Start());
    dialog.StartEdit("m_Swi")->setText("viel");
    EXPECT_FALSE(dialog.Start());
    EXPECT_FALSE(dialog.Running());
    ASSERT_EQ(c.sink.Texts().size(), 3u);
    EXPECT_EQ(c.sink.Texts()[0], "Bitte mindestens eine Größe zum Anpassen wählen.");
    EXPECT_NE(c.sink.Texts()[1].find("außerhalb der Grenzen"), std::string::npos);
    EXPECT_NE(c.sink.Texts()[2].find("Bitte eine Zahl eingeben"), std::string::npos);
    for (const auto& e : c.sink.Log()) EXPECT_TRUE(e.warning) << e.text;
    EXPECT_TRUE(c.doc.m_Inputs == started);
}

// krg and kro from a table: the Corey inputs take no part and cannot be
// fitted; a PVT table must reach down to the bubble point, so a fitted
// bubble point stays at or above the table's lowest pressure (10 bar).
TEST(MatchDialog, TheCasesTablesDecideWhatCanBeFittedAndWithinWhichBounds) {
    Case c;
    std::vector<std::string> problems;
    morvek::LabPvtTable pvt;
    morvek::LabRelPermTable relPerm;
    ASSERT_EQ(morvek::ReadPvtTableFile(SourcePath("examples/tabellen/nordfeld-pvt.txt"), pvt,
                                       problems),
              morvek::TableReadStatus::Read);
    ASSERT_EQ(morvek::ReadRelPermTableFile(
                  SourcePath("examples/tabellen/nordfeld-relperm.txt"), relPerm, problems),
              morvek::TableReadStatus::Read);
    c.doc.m_Inputs.pvtTable = pvt;
    c.doc.m_Inputs.relPermTable = relPerm;
    const morvek::CaseInputs before = c.doc.m_Inputs;

    MatchDialog dialog(c.doc);
    for (const char* name : {"m_KrgMax", "m_KroMax", "m_Sgc"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(dialog.Check(name)->isEnabled());
        EXPECT_TRUE(dialog.Check(name)->toolTip().contains("nordfeld-relperm.txt"));
    }
    for (const char* name : {"m_OOIP", "m_Gaskappe", "m_Swi", "m_Entloesungsdruck"})
        EXPECT_TRUE(dialog.Check(name)->isEnabled()) << name;
    // Each input by its caption; the record name only in the tool tip.
    EXPECT_EQ(dialog.Check("m_OOIP")->text(), QStringLiteral("Original Oil in Place(1000 m3)"));
    EXPECT_EQ(dialog.Check("m_OOIP")->toolTip(),
              QStringLiteral("Original Oil in Place(1000 m3): m_OOIP (ooip_1000m3)"));
    EXPECT_EQ(dialog.LowerEdit("m_Entloesungsdruck")->text(), "10");

    // Ticked all the same (a script could): refused, with the reason.
    dialog.Check("m_Gaskappe")->setChecked(false);
    dialog.Check("m_KrgMax")->setChecked(true);
    EXPECT_FALSE(dialog.Start());
    dialog.Check("m_KrgMax")->setChecked(false);
    dialog.Check("m_Entloesungsdruck")->setChecked(true);
    dialog.LowerEdit("m_Entloesungsdruck")->setText("5");
    EXPECT_FALSE(dialog.Start());
    EXPECT_FALSE(dialog.Running());
    EXPECT_EQ(c.sink.Texts(),
              (std::vector<std::string>{
                  "\"Max.rel.Permeabilität Gas ( - )\" kann nicht angepaßt werden: der Fall "
                  "nimmt krg und kro aus der Tabelle der relativen Permeabilitäten "
                  "nordfeld-relperm.txt.",
                  "\"Gasentlösungsdruck (Bar)\": Die Grenzen müssen zwischen 10 und 250 liegen."}));
    // Refusals are errors: the warning icon, not the information one.
    for (const auto& e : c.sink.Log()) EXPECT_TRUE(e.warning) << e.text;
    EXPECT_TRUE(c.doc.m_Inputs == before);
    EXPECT_FALSE(c.doc.IsModified());
}

}  // namespace
