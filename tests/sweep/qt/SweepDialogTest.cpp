// The uncertainty dialog of the window: a run off the GUI thread whose saved
// CSV is the engine's for the same inputs, the picture export, a run stopped
// with "Abbrechen", and the table's refusals.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "input/CaseRefusal.h"
#include "sweep/SweepText.h"
#include "sweep/qt/SweepDialog.h"

namespace {

class ScriptedChooser : public SweepFileChooser {
public:
    QString SaveCsv(QWidget*) override { return csv; }
    QString SaveChart(QWidget*) override { return chart; }
    QString csv, chart;
};

struct Fixture {
    Fixture() {
        doc.SetMessageSink(&sink);
        FillNordfeld(doc);
        dialog = std::make_unique<SweepDialog>(doc, sink);
        dialog->SetFileChooser(&chooser);
    }
    bool RunToEnd() {
        QSignalSpy ended(dialog.get(), &SweepDialog::RunEnded);
        if (!dialog->Start()) return false;
        return ended.wait(120000);
    }
    ScriptedMessageSink sink;
    CMorvekDoc doc;
    ScriptedChooser chooser;
    std::unique_ptr<SweepDialog> dialog;
    TempDir dir;
};

TEST(SweepDialog, RunsOffTheGuiThreadAndSavesTheEnginesCsvAndPictures) {
    Fixture f;
    // On a 1280x720 screen the dialog fits, every button in view.
    ResizeWithin(*f.dialog, QSize(1240, 780), QSize(1280 - 16, 720 - 48));
    f.dialog->show();
    QTest::qWait(10);
    EXPECT_LE(f.dialog->height(), 720 - 48);
    for (const QPushButton* b : f.dialog->findChildren<QPushButton*>()) {
        if (!b->isVisible()) continue;  // on a tab not shown
        EXPECT_TRUE(f.dialog->rect().contains(QRect(b->mapTo(f.dialog.get(), QPoint()), b->size())))
            << b->text().toStdString();
    }
    f.dialog->hide();
    f.dialog->SetRow("m_OOIP", "4000", "", "6000");
    f.dialog->SetRow("m_Sgc", "0.02", "0.05", "0.1");
    f.dialog->SamplesBox()->setValue(400);
    f.dialog->SeedEdit()->setText("3");
    f.dialog->SamplingBox()->setCurrentIndex(1);  // Monte Carlo
    f.dialog->AbandonEdit()->setText("60");
    QSignalSpy ended(f.dialog.get(), &SweepDialog::RunEnded);
    ASSERT_TRUE(f.dialog->Start());
    // The GUI thread is free while the samples run: the buttons already show it.
    EXPECT_TRUE(f.dialog->Running());
    EXPECT_FALSE(f.dialog->StartButton()->isEnabled());
    EXPECT_TRUE(f.dialog->CancelButton()->isEnabled());
    ASSERT_TRUE(ended.wait(120000));
    EXPECT_FALSE(f.dialog->Running());
    EXPECT_EQ(f.dialog->Progress()->value(), f.dialog->Progress()->maximum());
    ASSERT_TRUE(f.dialog->LastResult());
    EXPECT_EQ(f.dialog->LastResult()->completed, 400u);
    EXPECT_NE(f.dialog->SummaryText().find("Entölungsgrad bei 60 bar (%)"), std::string::npos);
    EXPECT_TRUE(f.sink.Log().empty()) << f.sink.Log().front().text;

    // The same sweep through the engine.
    morvek::Variation ooip, sgc;
    std::string problem;
    ASSERT_TRUE(morvek::ParseVariation("m_OOIP=4000:6000", ooip, problem));
    ASSERT_TRUE(morvek::ParseVariation("m_Sgc=0.02:0.05:0.1", sgc, problem));
    morvek::SweepOptions options;
    options.plan = {morvek::Sampling::MonteCarlo, 3, 400};
    options.abandonmentPressureBar = 60;
    options.check = RefusalOfCase;
    std::string expected = morvek::SweepCsvHeader({ooip, sgc}, true);
    morvek::Sweep(f.doc.m_Inputs, {ooip, sgc}, options, [&](const morvek::SweepRow& row) {
        expected += morvek::SweepCsvLine(row, true);
    });
    f.chooser.csv = QString::fromStdString(f.dir.File("fenster.csv"));
    ASSERT_TRUE(f.dialog->SaveCsv());
    EXPECT_TRUE(ReadBytes(f.dir.File("fenster.csv")) == expected);

    f.dialog->Results()->setCurrentIndex(0);
    f.chooser.chart = QString::fromStdString(f.dir.File("tornado.png"));
    ASSERT_TRUE(f.dialog->SaveChart());
    EXPECT_EQ(ReadBytes(f.dir.File("tornado.png")).substr(1, 3), "PNG");
    f.dialog->Results()->setCurrentIndex(1);
    f.chooser.chart = QString::fromStdString(f.dir.File("s-kurve.pdf"));
    ASSERT_TRUE(f.dialog->SaveChart());
    EXPECT_EQ(ReadBytes(f.dir.File("s-kurve.pdf")).substr(0, 5), "%PDF-");

    // Printed on A4, upright: the page of the tab shown.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(f.dir.File("druck.pdf")));
    ASSERT_TRUE(f.dialog->PrintTo(printer));
    EXPECT_GT(ReadBytes(f.dir.File("druck.pdf")).size(), 2000u);
    // The summary prints as pages of text.
    f.dialog->Results()->setCurrentIndex(2);
    printer.setOutputFileName(QString::fromStdString(f.dir.File("kennwerte.pdf")));
    ASSERT_TRUE(f.dialog->PrintTo(printer));
    EXPECT_EQ(ReadBytes(f.dir.File("kennwerte.pdf")).substr(0, 5), "%PDF-");
}

TEST(SweepDialog, AbbrechenStopsTheRunWithTheSamplesDoneSoFar) {
    Fixture f;
    f.dialog->SetRow("m_KrgMax", "0.4", "", "0.8");
    f.dialog->SamplesBox()->setValue(2000000);
    QSignalSpy ended(f.dialog.get(), &SweepDialog::RunEnded);
    ASSERT_TRUE(f.dialog->Start());
    QTest::mouseClick(f.dialog->CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000));
    const morvek::SweepResult& r = *f.dialog->LastResult();
    EXPECT_TRUE(r.cancelled);
    EXPECT_LT(r.completed, 2000000u);
    EXPECT_NE(f.dialog->Status()->text().indexOf("Abgebrochen nach"), -1);
    // What was done is kept: the CSV holds exactly those samples.
    f.chooser.csv = QString::fromStdString(f.dir.File("teil.csv"));
    ASSERT_TRUE(f.dialog->SaveCsv());
    EXPECT_EQ(SplitLines(ReadBytes(f.dir.File("teil.csv"))).size(), r.completed + 1);
}

TEST(SweepDialog, RefusesWhatTheCommandLineRefuses) {
    Fixture f;
    struct Row {
        const char* name;
        const char *low, *mode, *high;
        const char* message;
    };
    const std::vector<Row> rows = {
        {"m_OOIP", "6000", "", "4000",
         "\"Original Oil in Place(1000 m3)\": der untere Wert 6000 muß kleiner als der obere "
         "Wert 4000 sein."},
        {"m_Sgc", "0.1", "", "1.5", "\"Krit.Gassättigung ( - )\": "},
        {"m_Sgc", "0.02", "0.3", "0.1",
         "\"Krit.Gassättigung ( - )\": der wahrscheinlichste Wert 0.3 muß zwischen 0.02 und 0.1 "
         "liegen."},
        {"m_OOIP", "viel", "", "6000", "Original Oil in Place"},
    };
    for (const Row& row : rows) {
        Fixture g;
        g.dialog->SetRow(row.name, row.low, row.mode, row.high);
        EXPECT_FALSE(g.dialog->Start()) << row.name;
        EXPECT_FALSE(g.dialog->Running());
        ASSERT_EQ(g.sink.Log().size(), 1u);
        EXPECT_NE(g.sink.Log()[0].text.find(row.message), std::string::npos)
            << g.sink.Log()[0].text;
        // Named by the caption, as the row shows it, with the warning icon.
        EXPECT_EQ(g.sink.Log()[0].text.find("m_"), std::string::npos) << g.sink.Log()[0].text;
        EXPECT_TRUE(g.sink.Log()[0].warning);
    }
    // A study of the forecast over time on a case without its inputs: the
    // forecast's refusal, naming the inputs as the window does.
    {
        Fixture g;
        g.dialog->SetRow("m_OOIP", "4000", "", "6000");
        g.dialog->AbandonEdit()->clear();
        g.dialog->ForecastBox()->setChecked(true);
        EXPECT_FALSE(g.dialog->Start());
        ASSERT_EQ(g.sink.Log().size(), 1u);
        const std::string& text = g.sink.Log()[0].text;
        EXPECT_EQ(text.rfind("Die Prognose über die Zeit des Falls kann nicht rechnen:\n", 0), 0u)
            << text;
        EXPECT_EQ(text.find("forecast_"), std::string::npos) << text;
    }
    EXPECT_FALSE(f.dialog->Start());  // nothing ticked
    ASSERT_EQ(f.sink.Log().size(), 1u);
    EXPECT_NE(f.sink.Log()[0].text.find("mindestens eine Eingabe"), std::string::npos);

    // A prediction on a PVT table ends at its lowest pressure (10 bar): an
    // abandonment pressure below it would never be reached.
    Fixture t;
    std::vector<std::string> problems;
    morvek::LabPvtTable table;
    ASSERT_EQ(morvek::ReadPvtTableFile(SourcePath("examples/tabellen/nordfeld-pvt.txt"), table,
                                       problems),
              morvek::TableReadStatus::Read);
    t.doc.m_Inputs.pvtTable = table;
    const morvek::CaseInputs before = t.doc.m_Inputs;
    t.dialog->SetRow("m_OOIP", "4000", "", "6000");
    t.dialog->AbandonEdit()->setText("5");
    EXPECT_FALSE(t.dialog->Start());
    EXPECT_FALSE(t.dialog->Running());
    ASSERT_EQ(t.sink.Log().size(), 1u);
    EXPECT_EQ(t.sink.Log()[0].text,
              "Der Aufgabedruck 5 bar liegt unter dem niedrigsten Druck der PVT-Tabelle (10 bar); "
              "die Vorhersage endet dort und erreicht ihn nie.");
    EXPECT_TRUE(t.doc.m_Inputs == before);
}

}  // namespace
