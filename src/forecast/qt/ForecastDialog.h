#pragma once
// "Bearbeiten" > "Prognose über die Zeit…": the forecast's inputs of the case
// (start, period, step, the wells' plateau rate, productivity index and
// bottom-hole pressure, the gas limits, abandonment rate and pressure, the
// water-cut table read from a file); "Berechnen" runs the forecast, which
// shows as the graphs against time and the German report, printable and
// exportable, its steps savable as CSV; "Übernehmen" takes the inputs into
// the case (a change of the document, saved with it).

#include <QDialog>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "forecast/Forecast.h"
#include "forecast/qt/PageWidget.h"
#include "views/ForecastCharts.h"

// The forecast engine's messages name an input for the command line as well
// ("Plateaurate Öl (oil_rate_target_m3_per_day)"); the window names it by its
// caption alone, as its field shows it.
std::string WithoutCommandLineNames(const std::string& text);

class CMorvekDoc;
class MessageSink;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTabWidget;

// Where the dialog asks for file names (the tests answer themselves).
class ForecastFileChooser {
public:
    virtual ~ForecastFileChooser() = default;
    // An empty string: the user cancelled.
    virtual QString OpenWaterCut(QWidget* parent) = 0;
    virtual QString SaveCsv(QWidget* parent) = 0;
    virtual QString SaveChart(QWidget* parent) = 0;
    virtual QString SaveReport(QWidget* parent) = 0;
};

class ForecastDialog : public QDialog {
    Q_OBJECT
public:
    ForecastDialog(CMorvekDoc& doc, MessageSink& messages, QWidget* parent = nullptr);
    ~ForecastDialog() override;

    void SetFileChooser(ForecastFileChooser* chooser);

    // --- Commands (the buttons) ----------------------------------------------------------
    // Reads the fields; shows the first problem and returns false, or runs the
    // forecast and shows it.
    bool Compute();
    // Reads the fields and takes them (and the water-cut table) into the case.
    bool Apply();
    bool ReadWaterCut();
    void RemoveWaterCut();
    bool SaveCsv();
    bool SaveChart();
    bool SaveReport();
    void Print();
    // Prints the graphs (the graph tab) or the report (the report tab) on a
    // printer that is set up already; false without a forecast.
    bool PrintTo(QPrinter& printer);

    // --- What the dialog holds (the tests look) -------------------------------------------
    // The field's edit, by its English name ("forecast_start").
    QLineEdit* Edit(const char* name) const;
    QLabel* WaterCutSource() const { return m_pWaterCut; }
    QTabWidget* Tabs() const { return m_pTabs; }
    QPlainTextEdit* Report() const { return m_pReport; }
    PageWidget* Graphs() const { return m_pGraphs; }
    const std::optional<morvek::ForecastResult>& Result() const { return m_Result; }
    // The inputs as the dialog holds them (after the last Compute or Apply).
    const morvek::CaseInputs& Inputs() const { return m_Inputs; }

private:
    bool ReadFields(morvek::CaseInputs& inputs);
    void ShowWaterCut();
    void UpdateButtons();
    void Warn(const std::string& text);

    CMorvekDoc& m_Doc;
    MessageSink& m_Messages;
    std::unique_ptr<ForecastFileChooser> m_pOwnChooser;
    ForecastFileChooser* m_pChooser;
    morvek::CaseInputs m_Inputs;

    std::map<std::string, QLineEdit*> m_Edits;
    QLabel* m_pWaterCut = nullptr;
    QPushButton* m_pRemoveWaterCut = nullptr;
    QTabWidget* m_pTabs = nullptr;
    PageWidget* m_pGraphs = nullptr;
    QPlainTextEdit* m_pReport = nullptr;
    QPushButton* m_pPrint = nullptr;
    QPushButton* m_pSaveChart = nullptr;
    QPushButton* m_pSaveCsv = nullptr;
    QPushButton* m_pSaveReport = nullptr;

    std::optional<morvek::ForecastResult> m_Result;
    std::vector<std::string> m_ReportLines;
    ForecastChartData m_Charts;
};
