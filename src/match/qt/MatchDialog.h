#pragma once
// "Bearbeiten" > "Anpassung an Meßwerte...": the history match in the window.
// One row per input that can be fitted (check box, start value, bounds), the
// two weights, "Start" (the match runs on a thread of its own; the progress
// line shows iteration and RMS, "Abbrechen" stops it between two
// predictions), the fitted values with their standard errors and 95 %
// intervals, the correlation warning and each row measured against computed;
// "Übernehmen" gives the case the fitted values (modified, computed anew),
// "Verwerfen" closes without changing anything.

#include <QDialog>
#include <optional>
#include <vector>

#include "match/Match.h"
#include "match/qt/FitThread.h"

class CMorvekDoc;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class MatchDialog : public QDialog {
    Q_OBJECT
public:
    MatchDialog(CMorvekDoc& doc, QWidget* parent = nullptr);
    // Stops a running match and waits for its thread.
    ~MatchDialog() override;

    // --- The buttons (the tests press them) -------------------------------------------
    // Checks the entries and the case and starts the match; false when refused
    // (the message has been shown).
    bool Start();
    void Cancel();
    // Gives the case the fitted values and computes it; closes the dialog.
    void Apply();

    bool Running() const { return m_FitThread.Running(); }
    const std::optional<morvek::MatchResult>& Result() const { return m_Result; }

    // --- The widgets ----------------------------------------------------------------------
    QCheckBox* Check(const std::string& recordName) const;
    QLineEdit* StartEdit(const std::string& recordName) const;
    QLineEdit* LowerEdit(const std::string& recordName) const;
    QLineEdit* UpperEdit(const std::string& recordName) const;
    QLineEdit* PressureWeightEdit() const { return m_pPressureWeight; }
    QLineEdit* GorWeightEdit() const { return m_pGorWeight; }
    QPushButton* StartButton() const { return m_pStart; }
    QPushButton* CancelButton() const { return m_pCancel; }
    QPushButton* ApplyButton() const { return m_pApply; }
    QPushButton* DiscardButton() const { return m_pDiscard; }
    QLabel* ProgressLine() const { return m_pProgress; }
    QTableWidget* ResultTable() const { return m_pTable; }
    QLabel* WarningLine() const { return m_pWarning; }
    QPlainTextEdit* Details() const { return m_pDetails; }

protected:
    void reject() override;

private:
    struct InputRow {
        const morvek::Field* field;
        QCheckBox* check;
        QLineEdit* start;
        QLineEdit* lower;
        QLineEdit* upper;
        // Why the input takes no part in this case (UnusedMatchInput); empty when it does.
        QString unused;
    };

    void BuildInputRows(class QGridLayout* grid);
    const InputRow* RowOf(const std::string& recordName) const;
    std::vector<std::string> CheckedNames() const;
    // The bounds of Swi and Sgc depend on whether the other is fitted too.
    void ShowDefaultBounds(bool onlySaturations);
    // Reads the entries; false after showing what is wrong.
    bool ReadOptions(morvek::MatchOptions& options);
    // The dialog opens with what the case's last match ran with; the case
    // keeps what this match is started with.
    void RestoreSettings();
    void KeepSettings(const morvek::MatchOptions& options);
    void ShowProgress(const morvek::MatchProgress& progress);
    void OnFinished(std::optional<morvek::MatchResult> outcome);
    void ShowResult(const morvek::MatchResult& result);
    void UpdateButtons();

    CMorvekDoc& m_Doc;
    std::vector<InputRow> m_Rows;
    QLineEdit* m_pPressureWeight = nullptr;
    QLineEdit* m_pGorWeight = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pCancel = nullptr;
    QPushButton* m_pApply = nullptr;
    QPushButton* m_pDiscard = nullptr;
    QLabel* m_pProgress = nullptr;
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pRms = nullptr;
    QLabel* m_pWarning = nullptr;
    QPlainTextEdit* m_pDetails = nullptr;

    std::optional<morvek::MatchResult> m_Result;
    // Last, so that a running match stops before anything it reports to goes.
    FitThread m_FitThread;
};
