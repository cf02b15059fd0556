#pragma once
// "Bearbeiten" > "Materialbilanz mit Wasserzufluß…": the production history
// in a grid to view and edit ("Produktionshistorie lesen…" reads a file into
// it), the aquifer's model and inputs, the regression F = N Et + We
// ("Anpassen" runs on a thread of its own; the progress line shows iteration
// and RMS, "Abbrechen" stops it between two balances), the summary of the
// fit, and the diagnostic graphs (Havlena-Odeh with influx, Campbell, drive
// indices along the history) in a window with print and export. "Übernehmen"
// gives the case the history, the aquifer and the fitted values (modified,
// computed anew); "Verwerfen" closes without changing anything.

#include <QDialog>
#include <QPointer>
#include <optional>
#include <vector>

#include "match/Match.h"
#include "match/qt/FitThread.h"
#include "model/CaseInputs.h"
#include "waterdrive/MaterialBalance.h"

class CMorvekDoc;
class DiagnosticGraphWindow;
class FileChooser;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class WaterDriveDialog : public QDialog {
    Q_OBJECT
public:
    WaterDriveDialog(CMorvekDoc& doc, FileChooser& chooser, QWidget* parent = nullptr);
    ~WaterDriveDialog() override;

    // --- The buttons (the tests press them) -------------------------------------------
    // Reads a history file chosen by the chooser into the grid; false when
    // cancelled or refused (the message has been shown).
    bool ReadHistoryFile();
    void AddRow();
    void RemoveRow();
    // Reads the grid and the aquifer's fields into the working case; false with
    // the message shown when one is refused.
    bool ReadInputs();
    // Checks and starts the regression; false when refused.
    bool Start();
    void Cancel();
    // Shows the three diagnostic graphs of the working case.
    bool ShowGraphs();
    // Gives the case the history, the aquifer and the fitted values and
    // computes it; closes the dialog. False when an entry is refused.
    bool Apply();

    bool Running() const { return m_FitThread.Running(); }
    const std::optional<morvek::MatchResult>& Result() const { return m_Result; }
    const morvek::CaseInputs& Working() const { return m_Work; }

    // --- The widgets ----------------------------------------------------------------------
    QTableWidget* HistoryGrid() const { return m_pGrid; }
    QComboBox* ModelBox() const { return m_pModel; }
    QLineEdit* AquiferEdit(const std::string& name) const;
    QCheckBox* FitCheck(const std::string& name) const;
    QComboBox* ObjectiveBox() const { return m_pObjective; }
    QPushButton* StartButton() const { return m_pStart; }
    QPushButton* CancelButton() const { return m_pCancel; }
    QPushButton* ApplyButton() const { return m_pApply; }
    QLabel* ProgressLine() const { return m_pProgress; }
    QPlainTextEdit* Details() const { return m_pDetails; }
    DiagnosticGraphWindow* GraphWindow() const { return m_pGraphs; }

    void reject() override;

private:
    void ShowHistory(const std::optional<morvek::ProductionHistory>& history);
    void ShowAquifer(const morvek::CaseInputs& inputs);
    void ShowProgress(const morvek::MatchProgress& p);
    void OnFinished(std::optional<morvek::MatchResult> outcome);
    void ShowResult();
    void UpdateButtons();
    // Greys the aquifer's inputs (and their fits) the chosen model does not use.
    void EnableAquiferInputs();

    CMorvekDoc& m_Doc;
    FileChooser& m_Chooser;
    morvek::CaseInputs m_Work;  // the case with what the dialog holds
    std::string m_StartDate;    // of the history shown
    std::string m_HistoryName;

    QTableWidget* m_pGrid = nullptr;
    QLabel* m_pHistorySource = nullptr;
    QComboBox* m_pModel = nullptr;
    struct AquiferRow {
        const morvek::Field* field;
        QLineEdit* edit;
    };
    std::vector<AquiferRow> m_Aquifer;
    struct FitRow {
        const morvek::Field* field;
        QCheckBox* check;
    };
    std::vector<FitRow> m_Fit;
    QComboBox* m_pObjective = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pCancel = nullptr;
    QPushButton* m_pGraphButton = nullptr;
    QPushButton* m_pApply = nullptr;
    QPushButton* m_pDiscard = nullptr;
    QLabel* m_pProgress = nullptr;
    QPlainTextEdit* m_pDetails = nullptr;
    QPointer<DiagnosticGraphWindow> m_pGraphs;

    std::optional<morvek::MatchResult> m_Result;
    morvek::MbObjective m_RunObjective = morvek::MbObjective::F;
    morvek::CaseInputs m_RunInputs;  // the case the result was fitted from
    // Last, so that a running fit stops before anything it reports to goes.
    FitThread m_FitThread;
};
