// The forecast dialog of the window: what it computes is the engine's
// forecast of the inputs typed, refused inputs are said in German and change
// nothing, "Übernehmen" takes the inputs into the case, and the graphs, the
// CSV and the report are saved as batch mode writes them.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "ExampleCases.h"
#include "ScriptedMessageSink.h"
#include "TestSupport.h"
#include "base/qt/ScreenRoom.h"
#include "case/MorvekDoc.h"
#include "forecast/ForecastText.h"
#include "forecast/qt/ForecastDialog.h"
#include "model/FieldTable.h"

namespace {

class ScriptedChooser : public ForecastFileChooser {
public:
    QString OpenWaterCut(QWidget*) override { return waterCut; }
    QString SaveCsv(QWidget*) override { return csv; }
    QString SaveChart(QWidget*) override { return chart; }
    QString SaveReport(QWidget*) override { return report; }
    QString waterCut, csv, chart, report;
};

struct Fixture {
    Fixture() {
        doc.SetMessageSink(&sink);
        FillNordfeld(doc);
        doc.SetModifiedFlag(false);
        dialog = std::make_unique<ForecastDialog>(doc, sink);
        dialog->SetFileChooser(&chooser);
    }
    void Type(const char* name, const char* text) { dialog->Edit(name)->setText(text); }
    void TypeWells() {
        Type("forecast_start", "2025-01-01");
        Type("forecast_years", "30");
        Type("oil_rate_target_m3_per_day", "400");
        Type("productivity_index_m3_per_day_bar", "5");
        Type("min_bottomhole_pressure_bar", "50");
        Type("abandonment_rate_m3_per_day", "40");
    }
    ScriptedMessageSink sink;
    CMorvekDoc doc;
    ScriptedChooser chooser;
    std::unique_ptr<ForecastDialog> dialog;
    TempDir dir;
};

TEST(ForecastDialog, ComputesTheEnginesForecastOfTheInputsTyped) {
    Fixture f;
    ResizeWithin(*f.dialog, QSize(1240, 800), QSize(1280 - 16, 720 - 48));
    f.dialog->show();
    QTest::qWait(10);
    EXPECT_LE(f.dialog->height(), 720 - 48);
    f.dialog->hide();
    f.TypeWells();
    ASSERT_TRUE(f.dialog->Compute()) << (f.sink.Texts().empty() ? "" : f.sink.Texts().front());
    ASSERT_TRUE(f.dialog->Result().has_value());
    morvek::CaseInputs in = f.doc.m_Inputs;
    in.forecastStartDate = 45658;
    in.forecastYears = 30;
    in.oilRateTargetM3PerDay = 400;
    in.productivityIndexM3PerDayBar = 5;
    in.minBottomholePressureBar = 50;
    in.abandonmentRateM3PerDay = 40;
    const morvek::ForecastResult expected = morvek::ForecastCase(in);
    EXPECT_EQ(morvek::ForecastCsvText(*f.dialog->Result()), morvek::ForecastCsvText(expected));
    EXPECT_EQ(f.dialog->Report()->toPlainText().toStdString(), morvek::ForecastReportText(in, expected));
    EXPECT_TRUE(f.dialog->Graphs()->HasDrawing());
    EXPECT_FALSE(f.doc.IsModified()) << "computing changes nothing in the case";
    EXPECT_EQ(f.doc.m_Inputs.oilRateTargetM3PerDay, 0.0f);

    f.chooser.csv = QString::fromStdString(f.dir.File("f.csv"));
    f.chooser.chart = QString::fromStdString(f.dir.File("f.svg"));
    f.chooser.report = QString::fromStdString(f.dir.File("f.txt"));
    EXPECT_TRUE(f.dialog->SaveCsv());
    EXPECT_TRUE(f.dialog->SaveChart());
    EXPECT_TRUE(f.dialog->SaveReport());
    EXPECT_EQ(ReadBytes(f.dir.File("f.csv")), morvek::ForecastCsvText(expected));
    EXPECT_EQ(ReadBytes(f.dir.File("f.txt")), morvek::ForecastReportText(in, expected));
    EXPECT_NE(ReadBytes(f.dir.File("f.svg")).find("Prognose über die Zeit"), std::string::npos);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(f.dir.File("p.pdf")));
    EXPECT_TRUE(f.dialog->PrintTo(printer));
    EXPECT_TRUE(FileExists(f.dir.File("p.pdf")));

    // Übernehmen takes the inputs into the case, and only them, as a step
    // the window's "Rückgängig" takes back whole.
    std::vector<std::string> steps;
    morvek::CaseInputs stateBefore;
    f.doc.SetChangeListener([&](const CaseState& b, const CaseState&, const std::string& what) {
        steps.push_back(what);
        stateBefore = b.inputs;
    });
    const morvek::CaseInputs unchanged = f.doc.m_Inputs;
    ASSERT_TRUE(f.dialog->Apply());
    EXPECT_TRUE(f.doc.IsModified());
    EXPECT_TRUE(f.doc.m_Inputs == in);
    EXPECT_EQ(steps, std::vector<std::string>{"Prognose übernehmen"});
    EXPECT_TRUE(stateBefore == unchanged);
    ASSERT_TRUE(f.dialog->Apply());
    EXPECT_EQ(steps.size(), 1u) << "the same inputs again are no change";
}

TEST(ForecastDialog, RefusesInGermanAndChangesNothing) {
    Fixture f;
    f.TypeWells();
    const morvek::CaseInputs before = f.doc.m_Inputs;
    f.Type("oil_rate_target_m3_per_day", "0");
    EXPECT_FALSE(f.dialog->Compute());
    f.Type("oil_rate_target_m3_per_day", "400");
    f.Type("forecast_start", "30.02.2025");
    EXPECT_FALSE(f.dialog->Compute());
    f.Type("forecast_start", "2025-01-01");
    f.Type("min_bottomhole_pressure_bar", "260");
    EXPECT_FALSE(f.dialog->Apply());
    EXPECT_FALSE(f.dialog->Compute());
    EXPECT_TRUE(f.doc.m_Inputs == before);
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_EQ(f.sink.Texts().size(), 4u);
    EXPECT_EQ(f.sink.Texts()[0],
              "Die Plateaurate Öl muß größer als 0 sein.");
    EXPECT_NE(f.sink.Texts()[1].find("Bitte ein Datum als JJJJ-MM-TT"), std::string::npos);
    // The window names inputs by their captions, never by the command line's names.
    for (const std::string& text : f.sink.Texts())
        EXPECT_EQ(text.find("_"), std::string::npos) << text;
    EXPECT_EQ(f.sink.Texts()[2],
              "Der Mindestsohlendruck (260 bar) muß unter dem Initialdruck (250 bar) liegen.");
    EXPECT_EQ(f.sink.Texts()[3], f.sink.Texts()[2]);
    EXPECT_FALSE(f.dialog->Result().has_value());

    // A falling water-cut table is refused with its line; a good one is shown.
    const std::string falling = f.dir.File("falls.txt"), good = f.dir.File("good.txt");
    WriteBytes(falling, "RF WC\n0 0\n10 0.4\n20 0.3\n");
    WriteBytes(good, "RF WC\n0 0\n10 0.4\n20 0.5\n");
    f.chooser.waterCut = QString::fromStdString(falling);
    EXPECT_FALSE(f.dialog->ReadWaterCut());
    EXPECT_NE(f.sink.Texts().back().find("Zeile 4"), std::string::npos);
    EXPECT_EQ(f.dialog->WaterCutSource()->text(), "kein Wasser");
    f.chooser.waterCut = QString::fromStdString(good);
    EXPECT_TRUE(f.dialog->ReadWaterCut());
    EXPECT_EQ(f.dialog->WaterCutSource()->text(), "good.txt (3 Zeilen)");
    EXPECT_EQ(f.doc.m_Inputs.waterCutTable.has_value(), before.waterCutTable.has_value());
}

}  // namespace

// The forecast's number fields take a decimal comma as every field of the
// window does; a text that is no number with either sign says so.
TEST(ForecastDialog, TakesADecimalCommaAsWellAsAPoint) {
    Fixture f;
    f.TypeWells();
    f.Type("oil_rate_target_m3_per_day", "400,25");
    f.Type("productivity_index_m3_per_day_bar", "5,5");
    ASSERT_TRUE(f.dialog->Apply());
    EXPECT_TRUE(f.sink.Texts().empty());
    EXPECT_EQ(morvek::FindField("oil_rate_target_m3_per_day")->Number(f.doc.m_Inputs), 400.25f);
    EXPECT_EQ(morvek::FindField("productivity_index_m3_per_day_bar")->Number(f.doc.m_Inputs), 5.5f);
    f.Type("productivity_index_m3_per_day_bar", "5,5,5");
    EXPECT_FALSE(f.dialog->Apply());
    ASSERT_EQ(f.sink.Log().size(), 1u);
    EXPECT_TRUE(f.sink.Log()[0].warning);
    EXPECT_NE(f.sink.Texts()[0].find("Dezimalkomma oder Dezimalpunkt"), std::string::npos)
        << f.sink.Texts()[0];
}
