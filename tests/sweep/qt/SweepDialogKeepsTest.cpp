// The uncertainty dialog keeps what a user would lose: closing asks first
// (during a run and with results shown), the summary prints and saves like
// the pictures and shows every column, the footer of the pictures stays on
// the page however long the case's path, a decimal comma is as good as a
// point, and what a run was started with stays with the case.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "sweep/qt/SweepDialog.h"

namespace {

class Chooser : public SweepFileChooser {
public:
    QString SaveCsv(QWidget*) override { return {}; }
    QString SaveChart(QWidget*) override { return chart; }
    QString SaveText(QWidget*) override { return text; }
    QString chart, text;
};

struct Ran {
    explicit Ran(const std::string& path = {}) {
        doc.SetMessageSink(&sink);
        FillNordfeld(doc);
        if (!path.empty()) doc.SetPathName(path);
        dialog = std::make_unique<SweepDialog>(doc, sink);
        dialog->SetFileChooser(&chooser);
        dialog->SetRow("m_OOIP", "4000", "", "6000");
        dialog->SetRow("m_Sgc", "0,02", "0,05", "0,1");
        dialog->SamplesBox()->setValue(60);
        dialog->AbandonEdit()->setText("60,5");
    }
    bool Run() {
        QSignalSpy ended(dialog.get(), &SweepDialog::RunEnded);
        return dialog->Start() && ended.wait(120000);
    }
    ScriptedMessageSink sink;
    CMorvekDoc doc;
    Chooser chooser;
    std::unique_ptr<SweepDialog> dialog;
    TempDir dir;
};

}  // namespace

TEST(SweepDialogKeeps, ClosingAsksBeforeTheResultsGoAndDuringARun) {
    Ran r;
    ASSERT_TRUE(r.Run()) << (r.sink.Log().empty() ? "" : r.sink.Log()[0].text);
    EXPECT_TRUE(r.sink.Log().empty());
    // A decimal comma is as good as a point.
    ASSERT_TRUE(r.dialog->LastResult());
    EXPECT_EQ(r.dialog->RunAbandonmentBar(), 60.5f);
    r.dialog->show();
    r.sink.Answers({Answer::No});
    QTest::keyClick(r.dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(r.dialog->isVisible());
    ASSERT_EQ(r.sink.Log().size(), 1u);
    EXPECT_EQ(r.sink.Log()[0].kind, ScriptedMessageSink::Entry::YesNo);
    EXPECT_NE(r.sink.Log()[0].text.find("Ansicht > Übersicht"), std::string::npos);
    r.sink.Answers({Answer::No});
    r.dialog->close();
    EXPECT_TRUE(r.dialog->isVisible());
    r.sink.Answers({Answer::Yes});
    r.dialog->close();
    EXPECT_FALSE(r.dialog->isVisible());

    // During a run: No goes on, Yes stops and closes.
    Ran running;
    running.dialog->SamplesBox()->setValue(2000000);
    running.dialog->show();
    ASSERT_TRUE(running.dialog->Start());
    running.sink.Answers({Answer::No});
    running.dialog->close();
    EXPECT_TRUE(running.dialog->Running());
    EXPECT_NE(running.sink.Log().back().text.find("läuft noch"), std::string::npos);
    running.sink.Answers({Answer::Yes});
    running.dialog->close();
    EXPECT_FALSE(running.dialog->Running());
    EXPECT_FALSE(running.dialog->isVisible());
}

TEST(SweepDialogKeeps, TheSummarySavesAndShowsEveryColumnAt1280Pixels) {
    Ran r;
    ASSERT_TRUE(r.Run());
    r.dialog->Results()->setCurrentIndex(2);
    r.chooser.text = QString::fromStdString(r.dir.File("kennwerte.txt"));
    ASSERT_TRUE(r.dialog->SaveChart());
    EXPECT_EQ(ReadBytes(r.dir.File("kennwerte.txt")), r.dialog->SummaryText());
    EXPECT_NE(r.dialog->SummaryText().find("P10"), std::string::npos);

    // On a 1280x720 screen no column of the summary lies beyond its tab.
    ResizeWithin(*r.dialog, QSize(1240, 780), QSize(1280 - 16, 720 - 48));
    r.dialog->show();
    QTest::qWait(50);
    QPlainTextEdit* summary = r.dialog->SummaryView();
    EXPECT_EQ(summary->horizontalScrollBar()->maximum(), 0);
    EXPECT_GE(summary->font().pointSizeF(), 6.0);
}

TEST(SweepDialogKeeps, APictureOfACaseWithALongPathKeepsItsSize) {
    Ran r("/home/ingenieur/" + std::string(300, 'v') + "/Varianten/nordfeld-mit-gaskappe.mvk");
    ASSERT_TRUE(r.Run());
    r.dialog->Results()->setCurrentIndex(0);
    r.chooser.chart = QString::fromStdString(r.dir.File("tornado.png"));
    ASSERT_TRUE(r.dialog->SaveChart());
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(r.dir.File("tornado.png")), "PNG"));
    // 210 mm at 150 dpi and a little: the page, not the path, sets the width.
    EXPECT_LE(image.width(), 1300);
    EXPECT_GE(image.width(), 1240);
}

TEST(SweepDialogKeeps, TheCaseKeepsWhatTheRunWasStartedWith) {
    Ran r;
    r.dialog->SeedEdit()->setText("42");
    r.dialog->SamplingBox()->setCurrentIndex(1);
    ASSERT_TRUE(r.Run());
    ASSERT_TRUE(r.doc.m_Inputs.sweepSettings);
    const morvek::SweepSettings& kept = *r.doc.m_Inputs.sweepSettings;
    ASSERT_EQ(kept.ranges.size(), 2u);
    EXPECT_EQ(kept.ranges[0].name, "m_OOIP");
    EXPECT_FALSE(kept.ranges[0].triangular);
    EXPECT_EQ(kept.ranges[1].name, "m_Sgc");
    EXPECT_TRUE(kept.ranges[1].triangular);
    EXPECT_EQ(kept.ranges[1].mode, 0.05f);
    EXPECT_EQ(kept.samples, 60u);
    EXPECT_EQ(kept.sampling, 1);
    EXPECT_EQ(kept.seed, 42u);
    EXPECT_EQ(kept.abandonmentPressureBar, 60.5f);
    EXPECT_TRUE(r.doc.IsModified());

    SweepDialog again(r.doc, r.sink);
    const int row = again.RowOf("m_Sgc");
    ASSERT_GE(row, 0);
    EXPECT_EQ(again.Table()->item(row, SweepDialog::kInput)->checkState(), Qt::Checked);
    EXPECT_EQ(again.Table()->item(row, SweepDialog::kMode)->text(), QStringLiteral("0.05"));
    EXPECT_EQ(again.SamplesBox()->value(), 60);
    EXPECT_EQ(again.SamplingBox()->currentIndex(), 1);
    EXPECT_EQ(again.SeedEdit()->text(), QStringLiteral("42"));
    EXPECT_EQ(again.AbandonEdit()->text(), QStringLiteral("60.5"));

    // A cell that is no number names its column, with the hint at both signs.
    Ran bad;
    bad.dialog->SetRow("m_OOIP", "4000", "", "1.000,5");
    EXPECT_FALSE(bad.dialog->Start());
    ASSERT_EQ(bad.sink.Log().size(), 1u);
    EXPECT_TRUE(bad.sink.Log()[0].warning);
    EXPECT_EQ(bad.sink.Log()[0].text.rfind("Spalte \"Oben\": Bitte eine Zahl eingeben", 0), 0u)
        << bad.sink.Log()[0].text;
    EXPECT_NE(bad.sink.Log()[0].text.find("Dezimalkomma"), std::string::npos);
}
