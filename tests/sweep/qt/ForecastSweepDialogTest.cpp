// The uncertainty dialog with the forecast against time as its run: the
// saved CSV is the engine's forecast sweep of the same inputs, the fan is
// drawn, printed and exported, and what makes no forecast is refused.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "case/MorvekDoc.h"
#include "forecast/qt/PageWidget.h"
#include "input/CaseRefusal.h"
#include "sweep/qt/SweepDialog.h"

namespace {

class Chooser : public SweepFileChooser {
public:
    QString SaveCsv(QWidget*) override { return csv; }
    QString SaveChart(QWidget*) override { return chart; }
    QString csv, chart;
};

TEST(ForecastSweepDialog, RunsTheForecastAsEachSamplesRunAndDrawsTheFan) {
    ScriptedMessageSink sink;
    CMorvekDoc doc;
    doc.SetMessageSink(&sink);
    FillNordfeld(doc);
    doc.m_Inputs.forecastStartDate = 45658;
    doc.m_Inputs.forecastYears = 20;
    doc.m_Inputs.oilRateTargetM3PerDay = 400;
    doc.m_Inputs.productivityIndexM3PerDayBar = 5;
    doc.m_Inputs.minBottomholePressureBar = 50;
    doc.m_Inputs.abandonmentRateM3PerDay = 40;
    Chooser chooser;
    TempDir dir;
    SweepDialog dialog(doc, sink);
    dialog.SetFileChooser(&chooser);
    dialog.SetRow("m_Produktivitaetsindex", "3", "", "8");
    EXPECT_LT(dialog.RowOf("m_Prognosebeginn"), 0) << "a date is not varied";
    dialog.SamplesBox()->setValue(40);
    dialog.ForecastBox()->setChecked(true);
    dialog.NpByEdit()->setText("2030, 2040");
    QSignalSpy ended(&dialog, &SweepDialog::RunEnded);
    ASSERT_TRUE(dialog.Start());
    ASSERT_TRUE(ended.wait(120000));
    ASSERT_TRUE(dialog.LastForecastResult().has_value());
    EXPECT_FALSE(dialog.LastResult().has_value());
    EXPECT_TRUE(dialog.FanChart()->HasDrawing());
    EXPECT_EQ(dialog.Results()->currentWidget(), dialog.FanChart());

    // The CSV is the engine's of the same inputs.
    morvek::ForecastSweepOptions o;
    o.plan.samples = 40;
    o.check = RefusalOfCase;
    o.npByYears = {2030, 2040};
    std::vector<morvek::Variation> v(1);
    std::string problem;
    ASSERT_TRUE(morvek::ParseVariation("m_Produktivitaetsindex=3:8", v[0], problem));
    std::string expected = morvek::ForecastSweepCsvHeader(v, o);
    const std::vector<morvek::ForecastOutcomeColumn> columns = morvek::ForecastOutcomeColumns(o);
    morvek::ForecastSweep(doc.m_Inputs, v, o, [&](const morvek::ForecastSweepRow& row) {
        expected += morvek::ForecastSweepCsvLine(row, columns);
    });
    chooser.csv = QString::fromStdString(dir.File("s.csv"));
    chooser.chart = QString::fromStdString(dir.File("fan.svg"));
    ASSERT_TRUE(dialog.SaveCsv());
    EXPECT_EQ(ReadBytes(dir.File("s.csv")), expected);
    ASSERT_TRUE(dialog.SaveChart());
    EXPECT_NE(ReadBytes(dir.File("fan.svg")).find("Fächer der Prognose"), std::string::npos);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("fan.pdf")));
    EXPECT_TRUE(dialog.PrintTo(printer));
    EXPECT_TRUE(sink.Texts().empty());

    // A year outside the period, and a case whose forecast cannot run.
    dialog.NpByEdit()->setText("2090");
    EXPECT_FALSE(dialog.Start());
    EXPECT_EQ(sink.Texts().back(), "Das Jahr 2090 liegt nicht im Prognosezeitraum (2025 bis 2044).");
    dialog.NpByEdit()->clear();
    doc.m_Inputs.oilRateTargetM3PerDay = 0;
    EXPECT_FALSE(dialog.Start());
    EXPECT_NE(sink.Texts().back().find("Plateaurate"), std::string::npos);
}

}  // namespace
