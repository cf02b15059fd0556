// What the window gives of a case's results beyond the report and the graph:
// the overview with its clipboard text, the export for spreadsheets, undo
// and redo of every change, the settings of match and uncertainty analysis
// kept in the case file, the comparison of saved cases, and the graph's
// values under the mouse with its zoom.

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QUndoStack>

#include "ExampleCases.h"
#include "base/Format.h"
#include "report/SeriesCsv.h"
#include "sweep/Sweep.h"
#include "app/ExportDialog.h"
#include "app/OverviewWidget.h"
#include "app/ResultsOverview.h"
#include "app/qt/WindowFixture.h"
#include "match/qt/MatchDialog.h"
#include "match/qt/MatchWindows.h"
#include "model/CaseFile.h"
#include "results/ResultsFile.h"
#include "sweep/qt/SweepDialog.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/GraphWindow.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string CopyOfExample(const Window& w, const std::string& name) {
    const std::string copy = w.Path(name);
    WriteBytes(copy, ReadBytes(SourcePath("examples/" + name)));
    return copy;
}

// The Nordfeld case opened and computed in the window.
void OpenNordfeld(Window& w, const std::string& name = "nordfeld.mvk") {
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(CopyOfExample(w, name))));
    ASSERT_TRUE(w.doc.LastRun());
}

std::string ValueOf(const std::vector<OverviewLine>& lines, const std::string& quantity) {
    for (const OverviewLine& l : lines)
        if (l.quantity == quantity) return l.value;
    return "?";
}

// The export dialog of the next "Exportieren…": a choice, a decimal sign, OK.
void NextExport(ExportDialog::What what, bool comma) {
    WhenModal([what, comma](QWidget* modal) {
        auto* d = qobject_cast<ExportDialog*>(modal);
        ASSERT_NE(d, nullptr);
        d->Button(what)->setChecked(true);
        (comma ? d->CommaButton() : d->PointButton())->setChecked(true);
        d->accept();
    });
}

}  // namespace

// "Ansicht" > "Übersicht": the key numbers of the run, the same as the
// engine's outcomes of the prediction, evaluated at an abandonment pressure
// typed with a decimal comma, and on the clipboard as tab-separated text
// with decimal commas.
TEST(Overview, ShowsTheKeyNumbersOfTheRunAndCopiesThemForAGermanSpreadsheet) {
    Window w;
    OpenNordfeld(w);
    w.Run(ID_UEBERSICHT);
    ASSERT_TRUE(w.frame->OverviewShown());
    EXPECT_FALSE(w.Command(ID_UEBERSICHT)->isEnabled());
    EXPECT_FALSE(w.Command(ID_FILE_PRINT)->isEnabled());
    EXPECT_TRUE(w.Command(ID_TEXT)->isEnabled());
    OverviewWidget* o = w.frame->Overview();

    morvek::OutcomeValues expected{};
    std::string failure;
    ASSERT_TRUE(morvek::OutcomesOf(*w.doc.LastRun()->prediction, w.doc.m_Inputs, 100.5f, expected,
                                   failure));
    auto at = [&](morvek::Outcome oc) { return expected[static_cast<size_t>(oc)]; };
    EXPECT_EQ(ValueOf(o->Lines(), "Entölungsgrad am Ende"),
              Format("%.2f", at(morvek::Outcome::RfEnd)));
    EXPECT_EQ(ValueOf(o->Lines(), "Enddruck"), Format("%.1f", at(morvek::Outcome::PressureEnd)));
    EXPECT_EQ(ValueOf(o->Lines(), "Bilanzverhältnis F/(N Et)"),
              Format("%.4f", w.doc.LastRun()->prediction->balanceRatio));
    EXPECT_EQ(ValueOf(o->Lines(), "Ende der Vorhersage"), "Druck von 1 bar erreicht");
    EXPECT_EQ(ValueOf(o->Lines(), "Entölungsgrad bei 100.5 bar"), "?");

    o->AbandonmentEdit()->setText(QStringLiteral("100,5"));
    emit o->AbandonmentEdit()->editingFinished();
    EXPECT_EQ(o->AbandonmentBar(), 100.5f);
    EXPECT_EQ(ValueOf(o->Lines(), "Entölungsgrad bei 100.5 bar"),
              Format("%.2f", at(morvek::Outcome::RfAbandon)));
    EXPECT_EQ(o->Table()->rowCount(), static_cast<int>(o->Lines().size()));

    QTest::mouseClick(o->CopyButton(), Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    const QStringList rows = copied.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), static_cast<int>(o->Lines().size()) + 1);
    EXPECT_EQ(rows[0], QStringLiteral("Bereich\tGröße\tWert\tEinheit"));
    const QString rf = Q(Format("%.2f", at(morvek::Outcome::RfEnd))).replace('.', ',');
    EXPECT_TRUE(rows.contains(QStringLiteral("Vorhersage\tEntölungsgrad am Ende\t%1\t%").arg(rf)))
        << copied.toStdString();
    EXPECT_FALSE(copied.contains(QStringLiteral("1 bar erreicht\t")) &&
                 copied.contains(QStringLiteral("Druck von 1,")));

    // A pressure that is no number: the message, and the overview as it was.
    w.sink.Clear();
    o->AbandonmentEdit()->setText(QStringLiteral("hundert"));
    emit o->AbandonmentEdit()->editingFinished();
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_TRUE(w.sink.Log()[0].warning);
    EXPECT_EQ(o->AbandonmentBar(), 100.5f);
}

// The overview's lines of the last match (each fitted input by its caption,
// with its unit in the unit column, its standard error and 95 % interval) and
// of the last uncertainty run (P90, P50, P10 and mean of each outcome, with
// the abandonment pressure's only when the run had one).
TEST(Overview, NamesTheFittedInputsByCaptionAndGivesEachOutcomesPercentiles) {
    Window w;
    OpenNordfeld(w);
    morvek::MatchResult match;
    match.status = morvek::MatchStatus::Converged;
    morvek::FittedInput ooip;
    ooip.name = "m_OOIP";
    ooip.stored = 4973.63f;
    ooip.hasStatistics = true;
    ooip.stdError = 43.64;
    ooip.ci95Low = 4874.9;
    ooip.ci95High = 5072.35;
    morvek::FittedInput cap;
    cap.name = "m_Gaskappe";
    cap.stored = 0.25f;
    match.inputs = {ooip, cap};
    match.rmsAfter = 0.0175;
    SweepSummary sweep;
    sweep.completed = 502;
    sweep.failed = 2;
    auto& rf = sweep.statistics[static_cast<size_t>(morvek::Outcome::RfEnd)];
    rf.p90 = 21.5;
    rf.p50 = 25.04;
    rf.p10 = 28.875;
    rf.mean = 25.1;

    const std::vector<OverviewLine> lines = Overview(w.doc, 0.0f, &match, &sweep);
    auto line = [&](const std::string& quantity) -> const OverviewLine* {
        for (const OverviewLine& l : lines)
            if (l.quantity == quantity) return &l;
        return nullptr;
    };
    struct Expected {
        const char* section;
        const char* quantity;
        const char* value;
        const char* unit;
    };
    const Expected expected[] = {
        {"Anpassung", "Original Oil in Place angepaßt", "4973.63", "1000 m³"},
        {"Anpassung", "Original Oil in Place Standardfehler", "43.64", "1000 m³"},
        {"Anpassung", "Original Oil in Place 95 %-Intervall von", "4874.9", "1000 m³"},
        {"Anpassung", "Original Oil in Place 95 %-Intervall bis", "5072.35", "1000 m³"},
        {"Anpassung", "Porenvol.Gaskappe/Porenvol.Öl angepaßt", "0.25", "-"},
        {"Anpassung", "Porenvol.Gaskappe/Porenvol.Öl Standardfehler", "nicht bestimmbar", ""},
        {"Anpassung", "RMS der relativen Abweichungen nachher", "1.75", "%"},
        {"Unsicherheitsanalyse", "Stichproben mit Ergebnis", "500", ""},
        {"Unsicherheitsanalyse", "Entölungsgrad am Ende P90", "21.50", "%"},
        {"Unsicherheitsanalyse", "Entölungsgrad am Ende P50", "25.04", "%"},
        {"Unsicherheitsanalyse", "Entölungsgrad am Ende P10", "28.88", "%"},
        {"Unsicherheitsanalyse", "Entölungsgrad am Ende Mittelwert", "25.10", "%"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.quantity);
        const OverviewLine* l = line(e.quantity);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->section, e.section);
        EXPECT_EQ(l->value, e.value);
        EXPECT_EQ(l->unit, e.unit);
    }
    // Without an abandonment pressure the run has no lines at it.
    EXPECT_EQ(line("Entölungsgrad beim Aufgabedruck P50"), nullptr);
    sweep.abandonmentPressureBar = 60.0f;
    const std::vector<OverviewLine> withAbandon = Overview(w.doc, 0.0f, &match, &sweep);
    EXPECT_TRUE(std::any_of(withAbandon.begin(), withAbandon.end(), [](const OverviewLine& l) {
        return l.quantity == "Entölungsgrad beim Aufgabedruck P50";
    }));
    EXPECT_EQ(withAbandon.back().quantity, "Aufgabedruck");
    EXPECT_EQ(withAbandon.back().value, "60");

    // A match that did not converge gives its message, no fitted value.
    match.status = morvek::MatchStatus::Cancelled;
    match.message = "Die Anpassung wurde abgebrochen.";
    const std::vector<OverviewLine> cancelled = Overview(w.doc, 0.0f, &match, nullptr);
    EXPECT_EQ(cancelled.back().section, "Anpassung");
    EXPECT_EQ(cancelled.back().value, "Die Anpassung wurde abgebrochen.");
    EXPECT_FALSE(cancelled.back().number);
}

// "Datei" > "Exportieren…": the graph's curves, the steps and the overview
// as CSV, with a decimal comma (the default) or point; the curves with a
// point are exactly what --csv writes.
TEST(Export, WritesCurvesStepsAndOverviewWithTheDecimalSignChosen) {
    Window w;
    OpenNordfeld(w);
    const std::string point = w.Path("kurven-punkt.csv");
    const std::string comma = w.Path("kurven-komma");
    NextExport(ExportDialog::What::Curves, false);
    w.files.Answer(Q(point));
    ASSERT_TRUE(w.frame->OnFileExport());
    EXPECT_EQ(w.files.suggestions.back(), QStringLiteral("nordfeld-kurven.csv"));
    EXPECT_EQ(ReadBytes(point), morvek::SeriesCsvText(w.doc.m_Graph, w.doc.ResultKind()));

    NextExport(ExportDialog::What::Curves, true);
    w.files.Answer(Q(comma));
    ASSERT_TRUE(w.frame->OnFileExport());
    const std::string withComma = ReadBytes(comma + ".csv");
    std::string expected = ReadBytes(point);
    // Only the numbers' points become commas; the head keeps its text.
    const size_t head = expected.find('\n');
    for (size_t i = head; i < expected.size(); ++i)
        if (expected[i] == '.') expected[i] = ',';
    EXPECT_EQ(withComma, expected);
    EXPECT_NE(withComma.find("Kum.Reinölförderung"), std::string::npos);

    NextExport(ExportDialog::What::Steps, true);
    w.files.Answer(Q(w.Path("schritte.csv")));
    ASSERT_TRUE(w.frame->OnFileExport());
    const std::vector<std::string> steps = SplitLines(ReadBytes(w.Path("schritte.csv")));
    ASSERT_EQ(steps.size(), w.doc.LastRun()->prediction->steps.size() + 1);
    EXPECT_EQ(steps[1].rfind("0;250;0;0;", 0), 0u) << steps[1];

    NextExport(ExportDialog::What::Overview, true);
    w.files.Answer(Q(w.Path("uebersicht.csv")));
    ASSERT_TRUE(w.frame->OnFileExport());
    const std::string overview = ReadBytes(w.Path("uebersicht.csv"));
    // The pressure of the last step computed, with a decimal comma.
    std::string end = Format("%.1f", w.doc.LastRun()->prediction->steps.back().pressureBar);
    end[end.find('.')] = ',';
    EXPECT_NE(overview.find("Vorhersage;Enddruck;" + end + ";bar\n"), std::string::npos)
        << overview;

    // A folder that does not exist: the message, nothing written.
    w.sink.Clear();
    NextExport(ExportDialog::What::Curves, true);
    w.files.Answer(Q(w.Path("fehlt/k.csv")));
    EXPECT_FALSE(w.frame->OnFileExport());
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_TRUE(w.sink.Log()[0].warning);
    EXPECT_NE(w.sink.Log()[0].text.find("kann nicht geschrieben werden"), std::string::npos);
}

// The samples of the last uncertainty run: with a decimal point exactly the
// CSV the uncertainty dialog saves, with a comma each number's point a comma;
// before any run the choice is greyed.
TEST(Export, WritesTheSamplesOfTheLastUncertaintyRun) {
    class SaveTo : public SweepFileChooser {
    public:
        QString SaveCsv(QWidget*) override { return csv; }
        QString SaveChart(QWidget*) override { return {}; }
        QString csv;
    };
    Window w;
    OpenNordfeld(w);
    WhenModal([](QWidget* modal) {
        auto* d = qobject_cast<ExportDialog*>(modal);
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->Button(ExportDialog::What::Samples)->isEnabled());
        d->reject();
    });
    EXPECT_FALSE(w.frame->OnFileExport());

    SaveTo chooser;
    chooser.csv = Q(w.Path("dialog.csv"));
    WhenModal([&chooser](QWidget* modal) {
        auto* sweep = qobject_cast<SweepDialog*>(modal);
        ASSERT_NE(sweep, nullptr);
        sweep->SetFileChooser(&chooser);
        sweep->SetRow("m_OOIP", "4000", "", "6000");
        sweep->SetRow("m_KrgMax", "0,4", "0,6", "0,8");
        sweep->SamplesBox()->setValue(40);
        QSignalSpy ended(sweep, &SweepDialog::RunEnded);
        ASSERT_TRUE(sweep->Start());
        ASSERT_TRUE(ended.wait(120000));
        ASSERT_TRUE(sweep->SaveCsv());
        sweep->accept();
    });
    w.Run(ID_UNSICHERHEITSANALYSE);
    ASSERT_TRUE(w.frame->LastSweep());
    EXPECT_EQ(w.frame->LastSweep()->completed, 40u);
    const std::string fromDialog = ReadBytes(w.Path("dialog.csv"));
    ASSERT_EQ(SplitLines(fromDialog).size(), 41u);

    NextExport(ExportDialog::What::Samples, false);
    w.files.Answer(Q(w.Path("punkt.csv")));
    ASSERT_TRUE(w.frame->OnFileExport());
    EXPECT_EQ(ReadBytes(w.Path("punkt.csv")), fromDialog);

    NextExport(ExportDialog::What::Samples, true);
    w.files.Answer(Q(w.Path("komma.csv")));
    ASSERT_TRUE(w.frame->OnFileExport());
    const std::vector<std::string> point = SplitLines(fromDialog);
    const std::vector<std::string> comma = SplitLines(ReadBytes(w.Path("komma.csv")));
    ASSERT_EQ(comma.size(), point.size());
    EXPECT_EQ(comma[0], point[0]);  // the head's names keep their points
    for (size_t i = 1; i < point.size(); ++i) {
        std::string expected = point[i];
        std::replace(expected.begin(), expected.end(), '.', ',');
        EXPECT_EQ(comma[i], expected);
    }
}

// "Rückgängig" and "Wiederholen" (Strg+Z, Strg+Y) for every change: the
// dialog's OK, the match's "Übernehmen"; each step computes the case anew,
// and the case is modified exactly while it differs from the file saved.
TEST(Undo, TakesBackEveryChangeOfTheCaseAndRedoesIt) {
    Window w;
    OpenNordfeld(w);
    const std::vector<std::string> report5000 = w.doc.m_Text;
    EXPECT_FALSE(w.Command(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(w.Command(ID_EDIT_UNDO)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(w.Command(ID_EDIT_REDO)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));

    w.NextDialog([](DlgInputWidget& d) { TypeInto(d, 1019, QStringLiteral("6000")); });
    w.Run(ID_DATEN_AENDERN);
    ASSERT_EQ(w.doc.m_OOIP, 6000.0f);
    const std::vector<std::string> report6000 = w.doc.m_Text;
    EXPECT_TRUE(w.doc.IsModified());
    EXPECT_TRUE(w.Command(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(w.Command(ID_EDIT_UNDO)->text(), QStringLiteral("&Rückgängig: Daten ändern\tStrg+Z"));

    // The window manager gives the window the focus again when the dialog
    // is closed; the offscreen platform does not.
    ASSERT_TRUE(Activate(w.frame.get()));
    QTest::keyClick(w.frame.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.doc.m_OOIP, 5000.0f);
    EXPECT_EQ(w.doc.m_Text, report5000);
    EXPECT_FALSE(w.doc.IsModified());  // as the file holds it
    EXPECT_FALSE(w.frame->isWindowModified());
    EXPECT_TRUE(w.Command(ID_EDIT_REDO)->isEnabled());

    QTest::keyClick(w.frame.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.doc.m_OOIP, 6000.0f);
    EXPECT_EQ(w.doc.m_Text, report6000);
    EXPECT_TRUE(w.doc.IsModified());

    // Saved: the state saved is the clean one; undoing past it modifies.
    w.Run(ID_FILE_SAVE);
    EXPECT_FALSE(w.doc.IsModified());
    w.Run(ID_EDIT_UNDO);
    EXPECT_EQ(w.doc.m_OOIP, 5000.0f);
    EXPECT_TRUE(w.doc.IsModified());
    w.Run(ID_EDIT_REDO);
    EXPECT_FALSE(w.doc.IsModified());

    // A match's "Übernehmen" is a step of its own.
    w.frame->UndoStack()->clear();
    morvek::CaseInputs fitted = w.doc.m_Inputs;
    fitted.gasCapRatio = 0.25f;
    w.doc.ChangeInputs(fitted, "Anpassung übernehmen", true);
    EXPECT_EQ(w.frame->UndoStack()->undoText(), QStringLiteral("Anpassung übernehmen"));
    const std::vector<std::string> fittedReport = w.doc.m_Text;
    w.Run(ID_EDIT_UNDO);
    EXPECT_EQ(w.doc.m_Gaskappe, 0.0f);
    EXPECT_NE(w.doc.m_Text, fittedReport);

    // A case opened starts without steps.
    w.sink.Answers({Answer::No});
    OpenNordfeld(w, "gaskappe.mvk");
    EXPECT_FALSE(w.Command(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(w.Command(ID_EDIT_REDO)->isEnabled());
}

// A measured row appended in the dialog is a step of the dialog's OK:
// "Rückgängig" takes the row away again, "Wiederholen" brings it back.
TEST(Undo, TakesBackAMeasuredRowAppendedInTheDialog) {
    Window w;
    OpenNordfeld(w);
    const std::vector<std::string> rows = w.doc.m_Messwerte;
    w.sink.Answers({Answer::Yes, Answer::Yes});
    w.NextDialog([](DlgInputWidget& d) {
        QTest::mouseClick(d.Button(1036), Qt::LeftButton);  // "Zeile anhängen"
        TypeInto(d, 1034, QStringLiteral("900,5  120  300"));
        QTest::keyClick(d.Edit(1034), Qt::Key_Tab);
    });
    w.Run(ID_DATEN_AENDERN);
    ASSERT_EQ(w.doc.m_Messwerte.size(), rows.size() + 1) << testing::PrintToString(w.sink.Texts());
    EXPECT_EQ(w.doc.m_Messwerte.back(), "900.5  120  300");
    const std::vector<std::string> withRow = w.doc.m_Messwerte;
    EXPECT_TRUE(w.doc.IsModified());
    w.Run(ID_EDIT_UNDO);
    EXPECT_EQ(w.doc.m_Messwerte, rows);
    EXPECT_FALSE(w.doc.IsModified());
    w.Run(ID_EDIT_REDO);
    EXPECT_EQ(w.doc.m_Messwerte, withRow);
    EXPECT_TRUE(w.doc.IsModified());
}

// The match's inputs, starts, bounds and weights and the uncertainty
// analysis's ranges, samples, sampling and seed are kept with the case:
// saved in the file's optional block and there again when the file is
// opened; a case that never used them saves as before.
TEST(SettingsKept, TheMatchAndUncertaintySettingsTravelWithTheCaseFile) {
    Window w;
    OpenNordfeld(w);
    const std::string path = w.doc.GetPathName();
    const std::string asBundled = ReadBytes(path);
    w.Run(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), asBundled);

    {
        MatchDialog dialog(w.doc);
        dialog.Check("m_Gaskappe")->setChecked(false);
        dialog.Check("m_Swi")->setChecked(true);
        dialog.StartEdit("m_OOIP")->setText(QStringLiteral("4500,5"));
        dialog.UpperEdit("m_OOIP")->setText(QStringLiteral("7000"));
        dialog.StartEdit("m_Swi")->setText(QStringLiteral("0,22"));
        dialog.PressureWeightEdit()->setText(QStringLiteral("2"));
        dialog.GorWeightEdit()->setText(QStringLiteral("0,5"));
        ASSERT_TRUE(dialog.Start());
        dialog.Cancel();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Running(); }, 60000));
    }
    ASSERT_TRUE(w.doc.m_Inputs.matchSettings);
    EXPECT_TRUE(w.doc.IsModified());
    EXPECT_EQ(w.frame->UndoStack()->undoText(), QStringLiteral("Einstellungen der Anpassung"));
    w.doc.m_Inputs.sweepSettings = morvek::SweepSettings{
        {{"m_KrgMax", false, 0.4f, 0.4f, 0.8f}, {"m_Sgc", true, 0.02f, 0.05f, 0.1f}},
        400,
        1,
        12345678901ull,
        60.5f};
    w.Run(ID_FILE_SAVE);
    const std::string saved = ReadBytes(path);
    EXPECT_GT(saved.size(), asBundled.size());
    EXPECT_EQ(saved.substr(0, asBundled.size()), asBundled);  // the record as before

    Window again;
    again.NextDialogOk();
    ASSERT_TRUE(again.frame->OpenCase(Q(path)));
    ASSERT_TRUE(again.doc.m_Inputs.matchSettings);
    ASSERT_TRUE(again.doc.m_Inputs.sweepSettings);
    MatchDialog reopened(again.doc);
    EXPECT_TRUE(reopened.Check("m_OOIP")->isChecked());
    EXPECT_TRUE(reopened.Check("m_Swi")->isChecked());
    EXPECT_FALSE(reopened.Check("m_Gaskappe")->isChecked());
    EXPECT_EQ(reopened.StartEdit("m_OOIP")->text(), QStringLiteral("4500.5"));
    EXPECT_EQ(reopened.UpperEdit("m_OOIP")->text(), QStringLiteral("7000"));
    EXPECT_EQ(reopened.StartEdit("m_Swi")->text(), QStringLiteral("0.22"));
    EXPECT_EQ(reopened.PressureWeightEdit()->text(), QStringLiteral("2"));
    EXPECT_EQ(reopened.GorWeightEdit()->text(), QStringLiteral("0.5"));
    const morvek::SweepSettings& s = *again.doc.m_Inputs.sweepSettings;
    EXPECT_EQ(s.ranges.size(), 2u);
    EXPECT_EQ(s.seed, 12345678901ull);
    EXPECT_EQ(s.abandonmentPressureBar, 60.5f);
    // Saved again unchanged, the file stays byte for byte.
    again.Run(ID_FILE_SAVE);
    EXPECT_EQ(ReadBytes(path), saved);
}

// "Fälle vergleichen…": the three bundled cases computed and drawn over one
// another, each in its colour with its name in the legend; more than eight
// are refused, a file that is no case is named and left out.
TEST(CompareCases, DrawsTheCurvesOfSavedCasesInOneGraph) {
    Window w;
    QStringList three;
    for (const char* name : {"nordfeld.mvk", "gaskappe.mvk", "sauergas.mvk"})
        three << Q(SourcePath(std::string("examples/") + name));
    w.files.compared = three;
    w.Run(ID_FAELLE_VERGLEICHEN);
    GraphWindow* window = w.frame->Comparison();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(window->PageCount(), 1);
    const GraphPage& page = window->PageData(0);
    ASSERT_EQ(page.overlays.size(), 3u);
    // The legend names each case by its field; the footer by its file.
    EXPECT_EQ(page.overlays[0].name, "Nordfeld");
    EXPECT_EQ(page.overlays[1].name, "Gaskappe");
    EXPECT_EQ(page.overlays[2].name, "Sauergas");
    EXPECT_EQ(page.footer, "Fälle: nordfeld.mvk, gaskappe.mvk, sauergas.mvk");
    // Each curve is its case's own prediction.
    morvek::CaseInputs gaskappe;
    ASSERT_TRUE(DecodeCaseFile(ReadBytes(SourcePath("examples/gaskappe.mvk")), gaskappe));
    const morvek::CaseRun run = morvek::RunCase(gaskappe, morvek::ResultKind::Prediction);
    ASSERT_EQ(page.overlays[1].x.size(), static_cast<size_t>(run.graph.curvePoints));
    EXPECT_EQ(page.overlays[1].y1.back(), run.graph.y1[run.graph.curvePoints - 1]);
    EXPECT_TRUE(window->PrintButton()->isEnabled());
    EXPECT_TRUE(window->ExportButton()->isEnabled());
    const std::string png = w.Path("vergleich");
    window->SetExportChooser([&](QWidget*) { return Q(png); });
    ASSERT_TRUE(window->OnExport());
    EXPECT_EQ(ReadBytes(png + ".png").substr(1, 3), "PNG");

    QStringList nine;
    for (int i = 0; i < 9; ++i) nine << three[i % 3];
    w.sink.Clear();
    EXPECT_FALSE(w.frame->CompareCases(nine));
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_NE(w.sink.Log()[0].text.find("Bis zu 8 Fälle"), std::string::npos);

    const std::string notACase = w.Path("kein-fall.mvk");
    WriteBytes(notACase, "kein Fall");
    w.sink.Clear();
    EXPECT_TRUE(w.frame->CompareCases({three[0], Q(notACase)}));
    ASSERT_EQ(w.sink.Log().size(), 1u);
    EXPECT_EQ(w.sink.Log()[0].text,
              "Nicht im Vergleich:\nkein-fall.mvk: keine gültige Morvek-Datei");
    EXPECT_EQ(w.frame->Comparison()->PageData(0).overlays.size(), 1u);

    // Two variants of one field: each named by its file as well.
    const std::string variant = w.Path("nordfeld-variante.mvk");
    WriteBytes(variant, ReadBytes(SourcePath("examples/nordfeld.mvk")));
    ASSERT_TRUE(w.frame->CompareCases({three[0], Q(variant), three[2]}));
    const GraphPage& variants = w.frame->Comparison()->PageData(0);
    ASSERT_EQ(variants.overlays.size(), 3u);
    EXPECT_EQ(variants.overlays[0].name, "nordfeld.mvk (Nordfeld)");
    EXPECT_EQ(variants.overlays[1].name, "nordfeld-variante.mvk (Nordfeld)");
    EXPECT_EQ(variants.overlays[2].name, "Sauergas");
}

// The graph reads values off under the mouse (both axes and the nearest
// step's p, Np and GOR) into the status bar, zooms into a rectangle drawn
// with the mouse or with the wheel, and goes back with Esc.
TEST(GraphReading, ShowsTheValuesUnderTheMouseAndZoomsAndGoesBack) {
    Window w;
    OpenNordfeld(w);
    w.Run(ID_GRAFIK);
    GraphViewWidget* view = w.frame->GraphView();
    view->resize(900, 600);
    for (int i = 0; i < 3; ++i) {
        view->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    const CGrafik& g = view->Logic();
    // Find the frame's middle on screen: the point whose reading is the
    // middle of both axes.
    QPoint middle;
    bool found = false;
    for (int y = 0; y < view->viewport()->height() && !found; y += 2)
        for (int x = 0; x < view->viewport()->width() && !found; x += 2) {
            const QString text = view->ReadingText({x, y});
            if (!text.isEmpty()) {
                middle = {x, y};
                found = true;
            }
        }
    ASSERT_TRUE(found) << "no point of the frame on screen";
    const QString outside = view->ReadingText({1, 1});
    EXPECT_TRUE(outside.isEmpty());

    const QPoint inside = middle + QPoint(120, 80);
    QTest::mouseMove(view->viewport(), inside);
    const QString shown = w.frame->statusBar()->currentMessage();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Kum.Reinölförderung in 1000 m3: "))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Druck(Bar): ")));
    EXPECT_TRUE(shown.contains(QStringLiteral("nächster Schritt: p ")));

    const CGrafik::Window whole = g.Shown();
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseMove(view->viewport(), inside + QPoint(150, 100));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                        inside + QPoint(150, 100));
    ASSERT_TRUE(g.Zoomed());
    const CGrafik::Window part = g.Shown();
    EXPECT_GT(part.xLow, whole.xLow);
    EXPECT_LT(part.xHigh, whole.xHigh);
    EXPECT_LT(part.leftHigh, whole.leftHigh);
    EXPECT_LT(part.xHigh - part.xLow, 0.5 * (whole.xHigh - whole.xLow));

    // The wheel zooms in further around the mouse; Esc goes back step by step.
    const QPoint centre = inside + QPoint(75, 50);
    view->viewport()->repaint();
    QWheelEvent wheel(centre, view->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_NEAR(g.Shown().xHigh - g.Shown().xLow, (part.xHigh - part.xLow) / 1.25,
                1e-6 * (part.xHigh - part.xLow));
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(g.Shown(), part);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(g.Zoomed());
    EXPECT_EQ(g.Shown(), whole);
}
