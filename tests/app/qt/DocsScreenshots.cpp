// The pictures of docs/ and the README, taken of the real window on a
// 1280x720 screen. Not a test: it runs only when asked for, under a virtual
// X server, and writes into the folder MORVEK_SCREENSHOT_DIR names:
//
//   MORVEK_SCREENSHOT_DIR=docs QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1280x720x24" build/tests/test_app_qt
//       --gtest_also_run_disabled_tests --gtest_filter='DocsScreenshots.*'

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <cstdlib>

#include "app/ExportDialog.h"
#include "app/OverviewWidget.h"
#include "app/qt/WindowFixture.h"
#include "match/qt/MatchDialog.h"
#include "match/qt/MatchWindows.h"
#include "sweep/qt/SweepDialog.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/GraphWindow.h"
#include "views/qt/ReportViewWidget.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string Folder() {
    const char* dir = std::getenv("MORVEK_SCREENSHOT_DIR");
    return dir != nullptr ? dir : "";
}

void Settle() {
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(30);
    }
}

// The whole screen as it is now.
void Shoot(const std::string& name) {
    Settle();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    ASSERT_TRUE(shot.save(Q(Folder() + "/" + name), "PNG")) << name;
}

// The main window on the whole screen with a bundled case opened and computed.
void OpenFullScreen(Window& w, const std::string& name) {
    w.frame->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    w.NextDialogOk();
    ASSERT_TRUE(w.frame->OpenCase(Q(SourcePath("examples/" + name))));
    Settle();
}

}  // namespace

TEST(DocsScreenshots, DISABLED_TakesThePicturesOfTheWindow) {
    if (Folder().empty()) GTEST_SKIP() << "MORVEK_SCREENSHOT_DIR names no folder";

    // The decimal comma in the data-entry dialog.
    {
        Window w;
        w.frame->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        w.NextDialog(
            [](DlgInputWidget& d) {
                TypeInto(d, 1023, QStringLiteral("0,22"));
                TypeInto(d, 1019, QStringLiteral("5250,5"));
                TypeInto(d, 1045, QStringLiteral("4,5e-5"));
                TypeInto(d, 1034, QStringLiteral("820,5  205,3  131,2"));
                d.Edit(1034)->setFocus();
                Shoot("window-decimal-comma.png");
            },
            false);
        w.frame->OpenCase(Q(SourcePath("examples/nordfeld.mvk")));
    }

    // The overview after a match and an uncertainty run, and the export.
    {
        Window w;
        OpenFullScreen(w, "nordfeld.mvk");
        WhenModal([](QWidget* modal) {
            auto* match = qobject_cast<MatchDialog*>(modal);
            ASSERT_NE(match, nullptr);
            ASSERT_TRUE(match->Start());
            ASSERT_TRUE(QTest::qWaitFor([match] { return !match->Running(); }, 120000));
            match->Apply();
        });
        w.Run(ID_ANPASSUNG);
        WhenModal([](QWidget* modal) {
            auto* sweep = qobject_cast<SweepDialog*>(modal);
            ASSERT_NE(sweep, nullptr);
            sweep->SetRow("m_OOIP", "4000", "", "6000");
            sweep->SetRow("m_KrgMax", "0,4", "0,6", "0,8");
            sweep->SamplesBox()->setValue(500);
            sweep->AbandonEdit()->setText("60");
            QSignalSpy ended(sweep, &SweepDialog::RunEnded);
            ASSERT_TRUE(sweep->Start());
            ASSERT_TRUE(ended.wait(300000));
            sweep->accept();
        });
        w.Run(ID_UNSICHERHEITSANALYSE);
        w.Run(ID_UEBERSICHT);
        OverviewWidget* o = w.frame->Overview();
        o->AbandonmentEdit()->setText(QStringLiteral("100,5"));
        emit o->AbandonmentEdit()->editingFinished();
        Shoot("window-overview.png");

        WhenModal([](QWidget* modal) {
            auto* d = qobject_cast<ExportDialog*>(modal);
            ASSERT_NE(d, nullptr);
            d->Button(ExportDialog::What::Steps)->setChecked(true);
            Shoot("window-export.png");
            d->reject();
        });
        w.frame->OnFileExport();

        // Undo after the match's "Übernehmen": the Bearbeiten menu.
        w.frame->UpdateCommandUI();
        QMenu* edit = w.frame->menuBar()->actions().at(1)->menu();
        w.frame->menuBar()->setActiveAction(w.frame->menuBar()->actions().at(1));
        Settle();
        Shoot("window-undo.png");
        edit->hide();
    }

    // The graph read off and zoomed.
    {
        Window w;
        OpenFullScreen(w, "nordfeld.mvk");
        w.Run(ID_GRAFIK);
        GraphViewWidget* view = w.frame->GraphView();
        Settle();
        // The frame's extent on the screen: where the graph gives readings.
        const int width = view->viewport()->width(), h = view->viewport()->height();
        int left = -1, right = -1, top = -1, bottom = -1;
        for (int x = 0; x < width; ++x)
            if (!view->ReadingText({x, h / 2}).isEmpty()) {
                if (left < 0) left = x;
                right = x;
            }
        ASSERT_GE(left, 0);
        for (int y = 0; y < h; ++y)
            if (!view->ReadingText({(left + right) / 2, y}).isEmpty()) {
                if (top < 0) top = y;
                bottom = y;
            }
        // The later half of the production, where the pressure falls and the
        // gas-oil ratio climbs: both curves and the last measured rows.
        view->ZoomToRectangle({left + (right - left) * 3 / 10, top},
                              {right, bottom - (bottom - top) / 10});
        Settle();
        const QPoint inside(left + (right - left) * 2 / 3, top + (bottom - top) / 2);
        QTest::mouseMove(view->viewport(), inside);
        Shoot("window-graph-zoom.png");
    }

    // The three bundled cases compared.
    {
        Window w;
        w.frame->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        w.files.compared = {Q(SourcePath("examples/nordfeld.mvk")),
                            Q(SourcePath("examples/gaskappe.mvk")),
                            Q(SourcePath("examples/sauergas.mvk"))};
        w.Run(ID_FAELLE_VERGLEICHEN);
        GraphWindow* compare = w.frame->Comparison();
        ASSERT_NE(compare, nullptr);
        compare->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        Shoot("window-compare.png");
    }

    // The match dialog opens with what the case last ran with.
    {
        Window w;
        OpenFullScreen(w, "nordfeld.mvk");
        {
            MatchDialog first(w.doc);
            first.Check("m_KrgMax")->setChecked(true);
            first.StartEdit("m_OOIP")->setText(QStringLiteral("4500"));
            first.UpperEdit("m_OOIP")->setText(QStringLiteral("8000"));
            first.GorWeightEdit()->setText(QStringLiteral("0,5"));
            ASSERT_TRUE(first.Start());
            first.Cancel();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !first.Running(); }, 60000));
        }
        const std::string path = w.Path("nordfeld-einstellungen.mvk");
        w.files.Answer(Q(path));
        w.Run(ID_FILE_SAVE_AS);
        Window again;
        OpenFullScreen(again, "nordfeld.mvk");
        again.sink.Answers({Answer::No});
        again.NextDialogOk();
        ASSERT_TRUE(again.frame->OpenCase(Q(path)));
        WhenModal([](QWidget*) { Shoot("window-settings-kept.png"); }, 10000);
        QTimer::singleShot(3000, [] {
            if (QWidget* m = QApplication::activeModalWidget()) m->close();
        });
        again.frame->Match()->OnAnpassung();
    }

    // The printed report with its footer, in the print preview.
    {
        Window w;
        OpenFullScreen(w, "nordfeld.mvk");
        w.frame->ReportView()->SetPrintDate("12.03.2026");
        WhenModal([](QWidget* modal) {
            modal->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
            Settle();
            Shoot("window-print-footer.png");
            modal->close();
        });
        w.Run(ID_FILE_PRINT_PREVIEW);
    }
}
