// The main window as a user meets it: menus, toolbar, status bar, the view
// switch and the commands' enable rules, the context menu, help and about.

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>

#include <QTranslator>

#include "app/AboutDlg.h"
#include "app/MorvekApp.h"
#include "app/HelpViewer.h"
#include "app/qt/WindowFixture.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

QStringList EntriesOf(QMenu* menu) {
    QStringList entries;
    for (QAction* a : menu->actions()) {
        if (!a->isVisible()) continue;
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return entries;
}

}  // namespace

TEST(MainWindow, MenuBarHoldsEveryCommandWithItsGermanText) {
    Window w;
    const QList<QAction*> menus = w.frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    QStringList titles;
    for (QAction* m : menus) titles << m->text();
    EXPECT_EQ(titles, (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "&?"}));
    EXPECT_EQ(EntriesOf(menus[0]->menu()),
              (QStringList{"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "S&peichern\tStrg+S",
                           "Speichern &unter...", "&Exportieren…", "-", "&Drucken...\tStrg+P",
                           "Sei&tenansicht",
                           "Drucker&einrichtung...", "-", "Letzte Datei", "-", "&Beenden"}));
    EXPECT_EQ(EntriesOf(menus[1]->menu()),
              (QStringList{"&Rückgängig\tStrg+Z", "&Wiederholen\tStrg+Y", "-",
                           "Daten ändern\tF2", "Ergebnisse speichern", "Ergebnisse einlesen",
                           "Anpassung an Meßwerte...", "Unsicherheitsanalyse…",
                           "Materialbilanz mit Wasserzufluß…", "Prognose über die Zeit…"}));
    EXPECT_EQ(EntriesOf(menus[2]->menu()),
              (QStringList{"Grafik", "Text\tF4", "Übersicht", "Grafik an Fenster anpassen",
                           "Havlena-Odeh", "Antriebsindizes", "Fälle vergleichen…", "&Symbolleiste",
                           "S&tatusleiste"}));
    EXPECT_EQ(EntriesOf(menus[3]->menu()), (QStringList{"Inf&o über morvek...", "Hilfe\tF1"}));
    // Fitting the graph to the window is a setting, on from the start.
    EXPECT_TRUE(w.Command(ID_GRAFIK_EINPASSEN)->isCheckable());
    EXPECT_TRUE(w.Command(ID_GRAFIK_EINPASSEN)->isChecked());
    // The recent-file entry is greyed while the list is empty.
    EXPECT_FALSE(w.Command(ID_FILE_MRU_FILE1)->isEnabled());
    EXPECT_EQ(w.Command(ID_FILE_SAVE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

TEST(MainWindow, ToolbarHasItsTenButtonsInOrderWithToolTips) {
    Window w;
    QStringList tips;
    for (QAction* a : w.frame->ToolBar()->actions())
        tips << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
    // The "?" button opens the help; the about box stays in the menu.
    // The button for the report says "Text", as its menu entry does.
    EXPECT_EQ(tips, (QStringList{"Neu", "Öffnen", "Speichern", "|", "Grafik", "Text",
                                 "Daten ändern", "Grafik Lupe", "Drucken", "Hilfe"}));
    EXPECT_EQ(w.frame->ToolBar()->actions().back(), w.Command(ID_HILFE));
    EXPECT_EQ(w.frame->ToolBar()->iconSize(), QSize(16, 15));
    // Drawn pictures stay sharp: a high-resolution pixmap has its full pixels.
    const QPixmap sharp = w.Command(ID_GRAFIK)->icon().pixmap(QSize(16, 15), 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 30));
    EXPECT_FALSE(sharp.toImage().allGray());
}

TEST(MainWindow, StatusBarIsIdleWithBereitAndShowsTheCommandsPrompt) {
    Window w;
    QStatusBar* bar = w.frame->statusBar();
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Bereit"));
    w.Command(ID_DATEN_AENDERN)->showStatusText(w.frame.get());
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Eingabedatei aufbauen bzw. Daten ändern"));
    bar->clearMessage();
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Bereit"));
    EXPECT_EQ(w.Command(ID_ERGEBNISSE_SPEICHERN)->statusTip(),
              QStringLiteral("Speichert die Ergebnisse in einer Textdatei AUS.TXT"));
    EXPECT_EQ(w.Command(ID_HILFE)->statusTip(), QStringLiteral("Ruft die Online Hilfe auf"));
}

TEST(MainWindow, SwitchingToTheGraphCreatesItOnceAndKeepsIt) {
    Window w;
    EXPECT_EQ(w.frame->GraphView(), nullptr);
    EXPECT_EQ(w.frame->ActiveView(), w.frame->ReportView());
    w.Run(ID_GRAFIK);
    GraphViewWidget* graph = w.frame->GraphView();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(w.frame->ActiveView(), graph);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_FALSE(w.frame->ReportView()->isVisible());
    w.Run(ID_GRAFIKLUPE);
    w.Run(ID_TEXT);
    EXPECT_EQ(w.frame->ActiveView(), w.frame->ReportView());
    EXPECT_FALSE(graph->isVisible());
    w.Run(ID_GRAFIK);
    EXPECT_EQ(w.frame->GraphView(), graph);
    // The same view with its state: the magnifier is still on.
    EXPECT_EQ(graph->Logic().m_bGrafiklupe, 1);
    EXPECT_EQ(w.frame->findChildren<GraphViewWidget*>().size(), 1);
}

TEST(MainWindow, ViewCommandsAreGreyedForTheViewOnShow) {
    Window w;
    EXPECT_TRUE(w.Command(ID_GRAFIK)->isEnabled());
    EXPECT_FALSE(w.Command(ID_TEXT)->isEnabled());
    EXPECT_FALSE(w.Command(ID_GRAFIKLUPE)->isEnabled());
    w.Run(ID_GRAFIK);
    EXPECT_FALSE(w.Command(ID_GRAFIK)->isEnabled());
    EXPECT_TRUE(w.Command(ID_TEXT)->isEnabled());
    EXPECT_TRUE(w.Command(ID_GRAFIKLUPE)->isEnabled());
    EXPECT_FALSE(w.Command(ID_GRAFIKLUPE)->isChecked());
    w.Run(ID_GRAFIKLUPE);
    EXPECT_TRUE(w.Command(ID_GRAFIKLUPE)->isChecked());
    w.Run(ID_GRAFIKLUPE);
    EXPECT_FALSE(w.Command(ID_GRAFIKLUPE)->isChecked());
    w.Run(ID_TEXT);
    EXPECT_FALSE(w.Command(ID_GRAFIKLUPE)->isEnabled());
}

TEST(MainWindow, ContextMenuOffersItsSixCommandsGreyedLikeTheMenu) {
    Window w;
    QMenu* menu = w.frame->ContextMenu();
    EXPECT_EQ(EntriesOf(menu), (QStringList{"Daten ändern", "Datei neu", "Datei öffnen", "Grafik",
                                            "Text", "Speichern unter"}));
    auto item = [&](const char* text) {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(text)) return a;
        return static_cast<QAction*>(nullptr);
    };
    w.frame->UpdateCommandUI();
    EXPECT_TRUE(item("Grafik")->isEnabled());
    EXPECT_FALSE(item("Text")->isEnabled());
    item("Grafik")->trigger();
    EXPECT_EQ(w.frame->ActiveView(), w.frame->GraphView());
    EXPECT_FALSE(item("Grafik")->isEnabled());
    EXPECT_TRUE(item("Text")->isEnabled());
}

TEST(MainWindow, RightClickInAViewOpensTheContextMenu) {
    Window w;
    QWidget* viewport = w.frame->ReportView()->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20),
                            viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &click);
    EXPECT_TRUE(w.frame->ContextMenu()->isVisible());
    w.frame->ContextMenu()->close();
}

TEST(MainWindow, HelpShowsTheProgramsOwnHelpText) {
    Window w;
    w.Run(ID_HILFE);
    ASSERT_TRUE(w.sink.Log().empty()) << w.sink.Texts()[0];
    HelpViewer* help = w.frame->Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString text = help->Browser()->toPlainText();
    for (const char* part : {"Original Oil in Place", "aus.txt", ".mvk", "--batch", "Meßwertdatei"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
}

TEST(MainWindow, HelpThatCannotBeFoundIsReported) {
    Window w;
    w.frame->SetHelpFile(QString::fromStdString(w.Path("fehlt.html")));
    w.Run(ID_HILFE);
    EXPECT_EQ(w.sink.Texts(), std::vector<std::string>{"Onlinehilfe nicht gefunden!"});
    EXPECT_EQ(w.frame->Help(), nullptr);
}

TEST(MainWindow, AboutBoxNamesTheProgramAndItsVersion) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Info über morvek"));
    QStringList texts;
    for (QLabel* l : about.findChildren<QLabel*>()) texts << l->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("morvek, Version 2.0")));
}

TEST(MainWindow, FunctionKeysReachTheirCommands) {
    Window w;
    ASSERT_TRUE(Activate(w.frame.get()));
    w.Run(ID_GRAFIK);
    QTest::keyClick(w.frame.get(), Qt::Key_F4);
    EXPECT_EQ(w.frame->ActiveView(), w.frame->ReportView());
    bool dialogCame = false;
    w.NextDialog([&](DlgInputWidget&) { dialogCame = true; }, false);
    QTest::keyClick(w.frame.get(), Qt::Key_F2);
    EXPECT_TRUE(dialogCame);
    w.frame->SetHelpFile(QString());
    ASSERT_TRUE(Activate(w.frame.get()));
    QTest::keyClick(w.frame.get(), Qt::Key_F1);
    EXPECT_EQ(w.sink.Texts(), std::vector<std::string>{"Onlinehilfe nicht gefunden!"});
}

TEST(MainWindow, QtsOwnDialogsSpeakGermanUnderAGermanLocale) {
    ASSERT_TRUE(InstallQtTranslations(QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
    EXPECT_EQ(QCoreApplication::translate("QPrintPreviewDialog", "Page Setup"),
              QStringLiteral("Seite einrichten"));
    // Back to the untranslated texts for the other tests.
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}
