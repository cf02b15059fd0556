// The data-entry dialog on screen: its controls and labels, the leave events
// that start the engine's operations, Enter, OK and the refusal of bad input.

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "input/qt/DialogWidgetFixture.h"
#include "input/qt/QtDataEntryRunner.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

namespace {

constexpr int kGasC1 = 1005;
constexpr int kFileButton = 1043;

QStringList LabelTexts(const QWidget& widget) {
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* b : widget.findChildren<QAbstractButton*>()) texts << b->text();
    for (const QGroupBox* g : widget.findChildren<QGroupBox*>()) texts << g->title();
    return texts;
}

}  // namespace

TEST(DataEntryDialogWidget, ShowsEveryLabelAndCaptionOfTheForm) {
    ShownDialog shown;
    const QStringList texts = LabelTexts(*shown.widget);
    for (const ExchangeField& f : ExchangeTable()) {
        const bool labelled = f.kind == FieldKind::Float || f.kind == FieldKind::Check ||
                              f.controlId == ctl::kFeldname || f.controlId == ctl::kSumme;
        if (labelled) {
            EXPECT_TRUE(texts.contains(QString::fromUtf8(f.label))) << f.label;
        }
    }
    for (const char* text :
         {"Gaszusammensetzung in Prozent", "Korrelationsmethode", "Glasoe ", "Vasquez und Beggs",
          "Standing", "Kartoatmodjo u.Schmidt", "Meßwerte", "Zeile ändern", "Zeile anhängen",
          "Zeile einfügen", "Zeile löschen", "Meßwertdatei lesen", "OK", "Abbrechen",
          "Kum.Ölproduktion   Schließdruck     GOEV\n(1000 m3)               (Bar)           "
          "(m3/m3)"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(shown.widget->windowTitle(), QStringLiteral("Dialogfeld zur Dateneingabe"));
}

TEST(DataEntryDialogWidget, OpensWithTheCaseValuesTheSumAndRowModeChange) {
    ShownDialog shown;
    EXPECT_EQ(shown.Shown(ctl::kFeldname), QStringLiteral("Nordfeld"));
    EXPECT_EQ(shown.Shown(ctl::kOOIP), QStringLiteral("5000"));
    EXPECT_EQ(shown.Shown(kGasC1), QStringLiteral("82"));
    EXPECT_EQ(shown.Shown(ctl::kSumme), QStringLiteral("100.00"));
    EXPECT_TRUE(shown.widget->Button(ctl::kZeilenModus)->isChecked());
    EXPECT_TRUE(shown.widget->Button(ctl::kMethode)->isChecked());  // Glasoe
}

TEST(DataEntryDialogWidget, LeavingAGasFieldUpdatesTheSum) {
    ShownDialog shown;
    shown.Type(kGasC1, QStringLiteral("80.5"));
    EXPECT_EQ(shown.Shown(ctl::kSumme), QStringLiteral("100.00"));  // not yet left
    shown.Leave(kGasC1);
    EXPECT_EQ(shown.Shown(ctl::kSumme), QStringLiteral(" 98.50"));
    EXPECT_TRUE(shown.sink.Log().empty());
}

TEST(DataEntryDialogWidget, LeavingTheApiFieldWarnsOfAnImplausibleDensityOnly) {
    ShownDialog shown;
    shown.Type(ctl::kAPI, QStringLiteral("10"));
    shown.Leave(ctl::kAPI);
    EXPECT_TRUE(shown.sink.Log().empty());
    shown.Type(ctl::kAPI, QStringLiteral("105"));
    shown.Leave(ctl::kAPI);
    ASSERT_EQ(shown.sink.Log().size(), 1u);
    EXPECT_EQ(shown.sink.Log()[0].text,
              "Die Öldichte von 105 Grad API bzw. 0.598 kg/l ist zu korrigieren.");
    EXPECT_TRUE(shown.sink.Log()[0].warning);
    EXPECT_EQ(shown.Shown(ctl::kAPI), QStringLiteral("105"));
}

TEST(DataEntryDialogWidget, EnterNeverClosesTheDialog) {
    ShownDialog shown;
    for (int id : {ctl::kFeldname, ctl::kOOIP, ctl::kZeile}) {
        shown.Edit(id)->setFocus();
        QTest::keyClick(shown.Edit(id), Qt::Key_Return);
        QTest::keyClick(shown.Edit(id), Qt::Key_Enter);
    }
    shown.widget->Button(DlgInputWidget::kOkButton)->setFocus();
    QTest::keyClick(shown.widget->Button(DlgInputWidget::kOkButton), Qt::Key_Return);
    EXPECT_TRUE(shown.widget->isVisible());
    EXPECT_EQ(shown.widget->result(), 0);
}

TEST(DataEntryDialogWidget, OkTakesTheTypedValuesAndCloses) {
    ShownDialog shown;
    shown.Type(ctl::kOOIP, QStringLiteral("6200"));
    shown.Type(ctl::kFeldname, QStringLiteral("Südfeld"));
    shown.Click(DlgInputWidget::kOkButton);
    EXPECT_FALSE(shown.widget->isVisible());
    EXPECT_EQ(shown.widget->result(), QDialog::Accepted);
    EXPECT_EQ(shown.dialog.m_OOIP, 6200.0f);
    EXPECT_EQ(shown.dialog.m_Feldname, "Südfeld");
}

TEST(DataEntryDialogWidget, OkRefusesAFieldThatIsNotANumberAndPutsTheCursorThere) {
    ShownDialog shown;
    shown.Type(ctl::kOOIP, QStringLiteral("50O0"));
    shown.Click(DlgInputWidget::kOkButton);
    EXPECT_TRUE(shown.widget->isVisible());
    ASSERT_FALSE(shown.sink.Log().empty());
    EXPECT_NE(shown.sink.Log()[0].text.find("Original Oil in Place"), std::string::npos)
        << shown.sink.Log()[0].text;
    EXPECT_TRUE(shown.Edit(ctl::kOOIP)->hasFocus());
    EXPECT_EQ(shown.Shown(ctl::kOOIP), QStringLiteral("50O0"));
}

TEST(DataEntryDialogWidget, OkRefusesAnInconsistentCaseAndStaysOpen) {
    ShownDialog shown;
    shown.Type(1021, QStringLiteral("260"));  // bubble point above the initial pressure
    shown.Click(DlgInputWidget::kOkButton);
    EXPECT_TRUE(shown.widget->isVisible());
    ASSERT_EQ(shown.sink.Texts().size(), 1u);
    EXPECT_EQ(shown.sink.Texts()[0], "FEHLER!!\nEntlösungsdruck 260.0 > Initialdruck 250.0");
}

TEST(DataEntryDialogWidget, FieldNameRefusesCharactersTheCaseFileCannotHold) {
    ShownDialog shown;
    QLineEdit* name = shown.Edit(ctl::kFeldname);
    name->setFocus();
    name->clear();
    TypeText(name, QStringLiteral("Ölfeld Ω€"));
    EXPECT_EQ(name->text(), QStringLiteral("Ölfeld €"));
    name->insert(QStringLiteral("Ж"));
    EXPECT_EQ(name->text(), QStringLiteral("Ölfeld €"));
    // Not silently: each refusal names the character, once the key is handled.
    QTest::qWait(20);
    const ExchangeField& field = *FindField("m_Feldname");
    EXPECT_EQ(shown.sink.Texts(), (std::vector<std::string>{UnstorableTextMessage(field, "Ω"),
                                                            UnstorableTextMessage(field, "Ж")}));
}

TEST(DataEntryDialogWidget, AFieldNameFromOutsideTheCodePageIsRefusedWithTheCharacterNamed) {
    ShownDialog shown;
    QLineEdit* name = shown.Edit(ctl::kFeldname);
    name->setFocus();
    name->clear();
    TypeText(name, QStringLiteral("Łódź Feld"));
    QTest::qWait(20);
    const std::vector<std::string> said = shown.sink.Texts();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_NE(said[0].find("\"Ł\""), std::string::npos) << said[0];
    EXPECT_NE(said[1].find("\"ź\""), std::string::npos) << said[1];
    EXPECT_EQ(shown.sink.Log()[0].kind, ScriptedMessageSink::Entry::Shown);
}

TEST(DataEntryDialogWidget, FitsASmallScreenWithEveryFieldReachableAndEveryNumberWhole) {
    ShownDialog shown;
    const QRect screen = shown.widget->screen()->availableGeometry();
    EXPECT_LE(shown.widget->height(), screen.height());
    EXPECT_LE(shown.widget->width(), screen.width());
    // A screen smaller than the whole form.
    shown.widget->FitInto(QSize(700, 420));
    EXPECT_LE(shown.widget->height(), 420);
    EXPECT_LE(shown.widget->width(), 700);
    QTest::qWait(10);
    QScrollArea* scroll = shown.widget->ScrollArea();
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0)
        << "the form scrolls: screen " << screen.width() << "x" << screen.height() << ", dialog "
        << shown.widget->width() << "x" << shown.widget->height() << ", form "
        << scroll->widget()->sizeHint().height();
    // OK and Abbrechen stay in view above the scrolling part.
    for (int id : {DlgInputWidget::kOkButton, DlgInputWidget::kCancelButton}) {
        QAbstractButton* b = shown.widget->Button(id);
        EXPECT_FALSE(scroll->isAncestorOf(b));
        EXPECT_TRUE(shown.widget->rect().contains(
            QRect(b->mapTo(shown.widget.get(), QPoint(0, 0)), b->size())));
    }
    // Every number field shows its number in full.
    shown.Type(ctl::kOOIP, QStringLiteral("98765.4"));
    shown.Type(1018, QStringLiteral("-273.149"));
    for (QLineEdit* edit : shown.widget->findChildren<QLineEdit*>()) {
        if (edit->alignment() != Qt::AlignRight) continue;
        const int text = edit->fontMetrics().horizontalAdvance(edit->text());
        EXPECT_GT(edit->width(), text + 4) << edit->objectName().toStdString();
    }
    // The row list at the bottom can be scrolled into view.
    scroll->ensureWidgetVisible(shown.widget->RowListWidget());
    QListWidget* list = shown.widget->RowListWidget();
    const QRect inView(list->mapTo(scroll->viewport(), QPoint(0, 0)), list->size());
    EXPECT_TRUE(scroll->viewport()->rect().intersects(inView));
}

TEST(DataEntryDialogWidget, TabThroughAnEmptyRowLineSaysNothing) {
    ShownDialog shown;
    QLineEdit* line = shown.Edit(ctl::kZeile);
    line->setFocus(Qt::TabFocusReason);
    line->clear();
    QTest::keyClick(line, Qt::Key_Tab);
    EXPECT_TRUE(shown.sink.Log().empty()) << shown.sink.Texts()[0];
}

TEST(DataEntryDialogWidget, TheTwoOutputBoxesExcludeEachOther) {
    ShownDialog shown;
    auto* pvt = static_cast<QCheckBox*>(shown.widget->Button(ctl::kPVT));
    auto* relPerm = static_cast<QCheckBox*>(shown.widget->Button(ctl::kRelPerm));
    QTest::mouseClick(pvt, Qt::LeftButton);
    EXPECT_TRUE(pvt->isChecked());
    QTest::mouseClick(relPerm, Qt::LeftButton);
    EXPECT_TRUE(relPerm->isChecked());
    EXPECT_FALSE(pvt->isChecked());
    EXPECT_EQ(shown.dialog.m_bPVTAusgabe, 0);
    EXPECT_EQ(shown.dialog.m_bRelPermAusgabe, 1);
}

TEST(DataEntryDialogWidget, LeavingTheRowLineAppendsTheRowAtItsSortedPlace) {
    ShownDialog shown(StartCase::New);
    shown.Type(ctl::kOOIP, QStringLiteral("5000"));
    shown.Type(1021, QStringLiteral("200"));
    QTest::mouseClick(shown.widget->Button(1036), Qt::LeftButton);  // "Zeile anhängen"
    shown.sink.Answers({Answer::Yes, Answer::Yes});
    shown.Type(ctl::kZeile, QStringLiteral("300.0 192.0"));
    shown.Leave(ctl::kZeile);
    shown.Type(ctl::kZeile, QStringLiteral("120.0 222.5 95"));
    shown.Leave(ctl::kZeile);
    QListWidget* list = shown.widget->RowListWidget();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("120.0 222.5 95"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("300.0 192.0"));
    EXPECT_EQ(shown.Shown(ctl::kStatus), QStringLiteral("2.Zeile angehängt"));
    EXPECT_EQ(shown.dialog.m_Messwerte,
              (std::vector<std::string>{"120.0 222.5 95", "300.0 192.0"}));
}

TEST(DataEntryDialogWidget, DoubleClickTakesTheRowIntoTheEditLine) {
    ShownDialog shown;
    shown.dialog.m_MesswertListe.Clear();
    shown.dialog.m_MesswertListe.AddSorted("50.0 238.0 95.0");
    shown.dialog.m_MesswertListe.AddSorted("120.0 222.5 95.0");
    QListWidget* list = shown.widget->RowListWidget();
    ASSERT_EQ(list->count(), 2);
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(shown.Shown(ctl::kZeile), QStringLiteral("50.0 238.0 95.0"));
    EXPECT_EQ(shown.Shown(ctl::kStatus), QStringLiteral("2.Zeile ausgewählt"));
    // The edit line is next, ready for a change.
    EXPECT_TRUE(shown.Edit(ctl::kZeile)->hasFocus());
}

TEST(DataEntryDialogWidget, ReadingAMeasuredDataFileStartsOnTxtFilesAndFillsTheList) {
    const std::string file = SourcePath("examples/nordfeld-messwerte.txt");
    ShownDialog shown(StartCase::Nordfeld, file);
    shown.Click(kFileButton);
    ASSERT_EQ(shown.chooser.asked.size(), 1u);
    EXPECT_EQ(shown.chooser.asked[0], "Alle Dateien|*.TXT");
    // The file's rows replace the case's, in the layout of rows read from files.
    EXPECT_EQ(shown.widget->RowListWidget()->count(), 8);
    EXPECT_EQ(shown.Shown(ctl::kStatus), QStringLiteral("8 Zeilen wurden eingelesen"));
    EXPECT_EQ(shown.widget->RowListWidget()->item(0)->text(),
              QStringLiteral("    20.000                226.0                99.0"));
    EXPECT_EQ(shown.widget->RowListWidget()->item(7)->text(),
              QStringLiteral("   786.000                108.0   * "));
}

TEST(DataEntryDialogWidget, RunnerEndsWithCancelOnEscapeAndLeavesTheCaseAlone) {
    CMorvekDoc doc;
    FillNordfeld(doc);
    ScriptedMessageSink sink;
    QtDataEntryRunner runner(nullptr);
    runner.SetMessageSink(&sink);
    doc.SetDataEntryRunner(&runner);
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, runner.Current());
        QTest::keyClicks(runner.Current()->Edit(ctl::kOOIP), QStringLiteral("1"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_FALSE(doc.OnDataChange());
    EXPECT_EQ(doc.m_OOIP, 5000.0f);
    EXPECT_TRUE(doc.m_Text.empty());
    EXPECT_EQ(runner.Current(), nullptr);
}

TEST(DataEntryDialogWidget, AValueTypedIntoAGasFieldStaysWhileTheOilInPlaceIsStillInvalid) {
    ShownDialog shown(StartCase::New);
    shown.Type(1003, QStringLiteral("1.5"));  // CO2
    QLineEdit* n2 = shown.Edit(1004);
    n2->setFocus(Qt::MouseFocusReason);  // click into N2
    EXPECT_EQ(shown.Shown(1003), QStringLiteral("1.5"));
    EXPECT_EQ(shown.Shown(ctl::kSumme), QStringLiteral("101.50"));
    shown.Type(1004, QStringLiteral("2"));
    shown.Leave(1004);
    EXPECT_EQ(shown.Shown(1003), QStringLiteral("1.5"));
    EXPECT_EQ(shown.Shown(1004), QStringLiteral("2"));
    EXPECT_EQ(shown.Shown(ctl::kSumme), QStringLiteral("103.50"));
    // No word about the oil in place, which nobody has touched yet.
    for (const std::string& text : shown.sink.Texts())
        EXPECT_EQ(text.find("Original Oil in Place"), std::string::npos) << text;
}

TEST(DataEntryDialogWidget, ReadingAMeasuredDataFileKeepsEveryTypedField) {
    const std::string file = SourcePath("examples/nordfeld-messwerte.txt");
    ShownDialog shown(StartCase::Nordfeld, file);
    shown.Type(ctl::kOOIP, QStringLiteral("6000"));
    shown.Type(ctl::kFeldname, QStringLiteral("Nordfeld Ost"));
    shown.Type(1018, QStringLiteral("85.5"));
    shown.Click(kFileButton);
    EXPECT_EQ(shown.widget->RowListWidget()->count(), 8);
    EXPECT_EQ(shown.Shown(ctl::kOOIP), QStringLiteral("6000"));
    EXPECT_EQ(shown.Shown(ctl::kFeldname), QStringLiteral("Nordfeld Ost"));
    EXPECT_EQ(shown.Shown(1018), QStringLiteral("85.5"));
    shown.Click(DlgInputWidget::kOkButton);
    EXPECT_EQ(shown.widget->result(), QDialog::Accepted);
    EXPECT_EQ(shown.dialog.m_OOIP, 6000.0f);
    EXPECT_EQ(shown.dialog.m_Feldname, "Nordfeld Ost");
    EXPECT_EQ(shown.dialog.m_Temperatur, 85.5f);
}

TEST(DataEntryDialogWidget, DeleteAsksWithTheRowTheClickSelectedNotTheEditLine) {
    ShownDialog shown;
    QTest::mouseClick(shown.widget->Button(1038), Qt::LeftButton);  // "Zeile löschen"
    shown.Type(ctl::kZeile, QStringLiteral("850 100 520"));
    QListWidget* list = shown.widget->RowListWidget();
    ASSERT_GT(list->count(), 1);
    const QString first = list->item(0)->text();
    const QRect row = list->visualItemRect(list->item(0));
    shown.sink.Answers({Answer::Yes});
    // A single click on row 1 leaves the edit line.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    shown.Edit(ctl::kZeile)->setFocus(Qt::MouseFocusReason);
    shown.Leave(ctl::kZeile);
    std::vector<std::string> asked;
    for (const auto& e : shown.sink.Log())
        if (e.kind == ScriptedMessageSink::Entry::YesNo) asked.push_back(e.text);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Soll diese Zeile wirklich gelöscht werden?\n" + first.toStdString());
    ASSERT_GT(list->count(), 0);
    EXPECT_NE(list->item(0)->text(), first);
}

// The laboratory tables on screen: "PVT-Tabelle lesen…" takes the file and
// the source line names it whole where the screen has room (a dialog of
// 1280×720), "Tabelle entfernen" is enabled only for an active table and
// drops it; both buttons are reached with the Tab key.
TEST(DataEntryDialogWidget, TableButtonsReadShowAndDropATableWhoseNameStandsWhole) {
    ShownDialog shown(StartCase::Nordfeld, SourcePath("examples/tabellen/nordfeld-pvt.txt"));
    constexpr int kPvtSource = 1047;
    QAbstractButton* read = shown.widget->Button(DlgInputWidget::kReadPvtTableButton);
    QAbstractButton* remove = shown.widget->Button(DlgInputWidget::kRemovePvtTableButton);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(shown.Shown(kPvtSource), QStringLiteral("PVT: Korrelation"));

    // Tab from the second output box leads to the read button.
    shown.widget->Button(1044)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), read);
    QTest::keyClick(read, Qt::Key_Space);
    ASSERT_TRUE(shown.dialog.m_Inputs.pvtTable);
    EXPECT_TRUE(remove->isEnabled());
    const QString source = QStringLiteral("PVT: nordfeld-pvt.txt (25 Zeilen)");
    EXPECT_EQ(shown.Shown(kPvtSource), source);

    shown.widget->FitInto(QSize(1280 - 16, 720 - 48));
    QTest::qWait(10);
    const QLabel* label = shown.widget->Static(kPvtSource);
    EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(source))
        << "the source line is cut at 1280x720: " << label->contentsRect().width() << " px";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), remove);
    QTest::keyClick(remove, Qt::Key_Space);
    EXPECT_FALSE(shown.dialog.m_Inputs.pvtTable);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(shown.Shown(kPvtSource), QStringLiteral("PVT: Korrelation"));
    EXPECT_TRUE(shown.sink.Texts().empty());
}
