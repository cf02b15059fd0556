#pragma once
// "Bearbeiten" > "Unsicherheitsanalyse…": the number inputs of the case in a
// table (base value, low, most likely and high value, a check box to vary
// each), samples, seed and sampling; "Start" runs the sweep and the tornado
// on a worker thread with a progress bar and "Abbrechen"; the results show as
// the tornado, the S-curve with P90/P50/P10 and the summary, printable and
// exportable like the graph, and the CSV of every sample can be saved.

#include <QDialog>
#include <QThread>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forecast/ForecastSweep.h"
#include "sweep/Sweep.h"
#include "sweep/Tornado.h"
#include "sweep/Variation.h"
#include "views/ForecastCharts.h"
#include "views/SweepCharts.h"

class CMorvekDoc;
class MessageSink;
class PageWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTemporaryFile;
class SweepChartWidget;

// Where the dialog asks for file names (the tests answer themselves).
class SweepFileChooser {
public:
    virtual ~SweepFileChooser() = default;
    // An empty string: the user cancelled.
    virtual QString SaveCsv(QWidget* parent) = 0;
    virtual QString SaveChart(QWidget* parent) = 0;
    // The summary ("Kennwerte") as a text file.
    virtual QString SaveText(QWidget*) { return {}; }
};

class SweepDialog : public QDialog {
    Q_OBJECT
public:
    // The table's columns.
    enum Column { kInput, kUnit, kBase, kLow, kMode, kHigh, kColumnCount };

    SweepDialog(CMorvekDoc& doc, MessageSink& messages, QWidget* parent = nullptr);
    ~SweepDialog() override;

    void SetFileChooser(SweepFileChooser* chooser);

    // --- Commands (the buttons) ----------------------------------------------------------
    // Reads the table; shows the first problem and returns false, or starts the
    // run on a worker thread.
    bool Start();
    void Cancel();
    bool SaveCsv();
    // The picture of the tab shown, or the summary as text on "Kennwerte".
    bool SaveChart();
    // Asks for the printer, then prints the tab shown.
    void Print();
    // Prints the tab shown on a printer that is set up already: a picture
    // with the frame size of the paper's shape, the summary as pages with the
    // case's path, the date and the page numbers; false before a run.
    bool PrintTo(QPrinter& printer);

    // --- What the window keeps after the dialog -----------------------------------------
    // The abandonment pressure of the last run (0: none).
    float RunAbandonmentBar() const { return m_RunOptions.abandonmentPressureBar; }
    // The file of the last run's samples (header and one line per sample), for
    // "Datei" > "Exportieren…"; nullptr when there is none or its writing failed.
    std::unique_ptr<QTemporaryFile> TakeSamples();
    // The summary's font fits its widest line into the tab (no column cut off).
    QPlainTextEdit* SummaryView() const { return m_pSummary; }

    // --- What the dialog holds (the tests look) -------------------------------------------
    QTableWidget* Table() const { return m_pTable; }
    QSpinBox* SamplesBox() const { return m_pSamples; }
    QLineEdit* SeedEdit() const { return m_pSeed; }
    QComboBox* SamplingBox() const { return m_pSampling; }
    QLineEdit* AbandonEdit() const { return m_pAbandon; }
    // The forecast against time as each sample's run, and the years of
    // cumulative oil "by the end of".
    QCheckBox* ForecastBox() const { return m_pForecastRun; }
    QLineEdit* NpByEdit() const { return m_pNpBy; }
    PageWidget* FanChart() const { return m_pFan; }
    const std::optional<morvek::ForecastSweepResult>& LastForecastResult() const {
        return m_ForecastResult;
    }
    QPushButton* StartButton() const { return m_pStart; }
    QPushButton* CancelButton() const { return m_pCancel; }
    QProgressBar* Progress() const { return m_pProgress; }
    QTabWidget* Results() const { return m_pTabs; }
    QLabel* Status() const { return m_pStatus; }
    bool Running() const { return m_pWorker != nullptr; }
    // Set once a run has ended (finished or cancelled).
    const std::optional<morvek::SweepResult>& LastResult() const { return m_Result; }
    const std::string& SummaryText() const { return m_Summary; }
    // The row of a field in the table, -1 when it has none.
    int RowOf(const char* recordName) const;
    // Ticks the row's box and types its values (empty mode: uniform).
    void SetRow(const char* recordName, const QString& low, const QString& mode,
                const QString& high);

signals:
    // The run has ended and its results are shown.
    void RunEnded();

protected:
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildTable();
    bool ReadVariations(std::vector<morvek::Variation>& variations);
    bool ReadOptions(morvek::SweepOptions& options);
    bool ReadForecastOptions(const morvek::CaseInputs& base, morvek::ForecastSweepOptions& options);
    bool HasResults() const { return m_Result.has_value() || m_ForecastResult.has_value(); }
    bool FanShown() const;
    void OnProgress(uint64_t done, uint64_t total);
    void OnWorkerDone();
    void UpdateButtons();
    SweepChartWidget* ActiveChart() const;
    bool SummaryShown() const;
    void Warn(const std::string& text);
    // The dialog opens with what it last ran with for the case.
    void RestoreSettings();
    // The case keeps what this run is started with.
    void KeepSettings(const std::vector<morvek::Variation>& variations,
                      const morvek::SweepOptions& options);
    // The summary's font as large as lets its widest line fit.
    void FitSummaryFont();

    CMorvekDoc& m_Doc;
    MessageSink& m_Messages;
    std::unique_ptr<SweepFileChooser> m_pOwnChooser;
    SweepFileChooser* m_pChooser;

    QTableWidget* m_pTable = nullptr;
    std::vector<const morvek::Field*> m_RowFields;
    QSpinBox* m_pSamples = nullptr;
    QLineEdit* m_pSeed = nullptr;
    QComboBox* m_pSampling = nullptr;
    QLineEdit* m_pAbandon = nullptr;
    QCheckBox* m_pForecastRun = nullptr;
    QLineEdit* m_pNpBy = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pCancel = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pStatus = nullptr;
    QTabWidget* m_pTabs = nullptr;
    SweepChartWidget* m_pTornado = nullptr;
    SweepChartWidget* m_pDistribution = nullptr;
    QPlainTextEdit* m_pSummary = nullptr;
    PageWidget* m_pFan = nullptr;
    QPushButton* m_pPrint = nullptr;
    QPushButton* m_pSaveChart = nullptr;
    QPushButton* m_pSaveCsv = nullptr;

    // The run on the worker thread and what it hands back.
    QThread* m_pWorker = nullptr;
    std::atomic<bool> m_bCancel{false};
    std::unique_ptr<QTemporaryFile> m_pCsv;
    std::vector<morvek::Variation> m_RunVariations;
    morvek::SweepOptions m_RunOptions;
    morvek::SweepResult m_WorkerResult;
    morvek::TornadoResult m_WorkerTornado;
    // A run of the forecast against time.
    bool m_bForecastRun = false;
    morvek::ForecastSweepOptions m_RunForecastOptions;
    morvek::ForecastSweepResult m_WorkerForecast;
    bool m_bCsvWritten = false;

    std::optional<morvek::SweepResult> m_Result;
    std::optional<morvek::ForecastSweepResult> m_ForecastResult;
    FanChartData m_Fan;
    double m_fSummaryPoints = 10;
    SweepChartData m_Charts;
    std::string m_Summary;
};
