#pragma once
// The data-entry dialog without its widgets: the members that mirror the case,
// the exchange with the controls and every check and row edit. The window's
// dialog widget and batch mode drive the same operations.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "case/CaseLimits.h"
#include "case/CaseRecordNames.h"
#include "input/RowList.h"
#include "model/CaseInputs.h"

class MessageSink;
class Controls;
class FileChooser;
struct ExchangeField;
struct DataEntryValues;

// The dialog's values; DlgInput adds the names of its fields.
struct DlgInputValues {
    // The case's inputs as the dialog edits them.
    morvek::CaseInputs m_Inputs;
    int32_t m_nAuswahl = 0;
    int32_t m_bMesswerteGeaendert = 0;
    RowList m_MesswertListe;
    std::string m_strSumme;
    int32_t m_nZeilenModus = -1;
    std::string m_strZeile;
    std::string m_strStatus;
    int32_t m_bPVTAusgabe = 0;
    int32_t m_bRelPermAusgabe = 0;
    // Which source the fluid properties and the relative permeabilities come
    // from: the correlation, or the laboratory table with its name.
    std::string m_strPvtQuelle;
    std::string m_strRelPermQuelle;
    // A new case: the status line says what to enter first.
    bool m_bNeuerFall = false;
};

// The dialog's fields by the case record's names.
class DlgInput : public DlgInputValues, public CaseRecordNames {
public:
    DlgInput();
    // A copy holds its own values; the names refer to its own storage.
    DlgInput(const DlgInput& o)
        : DlgInputValues(o),
          CaseRecordNames(m_Inputs),
          m_pMessages(o.m_pMessages),
          m_pControls(o.m_pControls),
          m_pFileChooser(o.m_pFileChooser),
          m_nFailedControl(o.m_nFailedControl) {}
    DlgInput& operator=(const DlgInput& o) {
        DlgInputValues::operator=(o);
        m_pMessages = o.m_pMessages;
        m_pControls = o.m_pControls;
        m_pFileChooser = o.m_pFileChooser;
        m_nFailedControl = o.m_nFailedControl;
        return *this;
    }

    // The dialog talks to the user through the sink, to its widgets through
    // the controls (none in batch mode) and asks for files through the chooser.
    void SetPorts(MessageSink* sink, Controls* controls, FileChooser* chooser);
    MessageSink& Messages() const;

    // Reading the controls (true) walks the exchange table in order and takes
    // every field that reads well; of those that do not (not a number, out of
    // range, a character the files cannot store) only the first is reported,
    // once, and gets the focus, and their members keep their values. Showing
    // (false) writes every member into its control.
    bool UpdateData(bool saveAndValidate = true);

    void OnInitDialog();
    void RecomputeGasSum();
    void CheckOilDensity();
    void TogglePVTAusgabe();
    void ToggleRelPermAusgabe();
    // The OK button: true when the dialog ends with OK.
    bool Validate();
    // The Enter key: does nothing, so that Enter never closes the dialog.
    void OnOK() {}

    void SetRowMode(int mode);
    void SelectRow();
    void ApplyRowEdit();
    void FileOpen();

    // The laboratory tables (LabTableEntry.cpp): "PVT-Tabelle lesen…",
    // "Relperm-Tabelle lesen…" and the two "Tabelle entfernen". A refused
    // file changes nothing; the source lines show what is active.
    void ReadPvtTable();
    void ReadRelPermTable();
    void RemovePvtTable();
    void RemoveRelPermTable();
    // Sets the two source lines from the inputs and shows them.
    void ShowTableSources();
    // Why a field takes no part in the case as it stands (its tables replace
    // the correlation or the Corey model), for the dialog to grey it; empty
    // when it does.
    std::string UnusedFieldReason(const std::string& member) const;

    // --- The gas fields by their names ---------------------------------------------------
    float& m_H2S = m_Gas[0];
    float& m_CO2 = m_Gas[1];
    float& m_N2 = m_Gas[2];
    float& m_C1 = m_Gas[3];
    float& m_C2 = m_Gas[4];
    float& m_C3 = m_Gas[5];
    float& m_iC4 = m_Gas[6];
    float& m_nC4 = m_Gas[7];
    float& m_iC5 = m_Gas[8];
    float& m_nC5 = m_Gas[9];
    float& m_C6 = m_Gas[10];
    float& m_C7 = m_Gas[11];
    float& m_C8 = m_Gas[12];
    float& m_C9 = m_Gas[13];
    float& m_C10 = m_Gas[14];

private:
    // Reading and showing only some fields: an operation reads the fields it
    // needs and shows the members it changed, so that a message about one
    // field never throws away what was typed in another.
    bool ReadFields(bool (*which)(const ExchangeField&));
    void ShowFields(std::initializer_list<const char*> members);
    // Writes one member into its control (there are controls).
    void ShowField(const ExchangeField& field);

    MessageSink* m_pMessages = nullptr;
    Controls* m_pControls = nullptr;
    FileChooser* m_pFileChooser = nullptr;
    // The control at which the last reading of the controls stopped, 0 when
    // it read them all.
    int m_nFailedControl = 0;
};

// The dialog over what the case hands its data-entry port, and what the
// dialog gives back on OK.
void FillDialog(DlgInput& dialog, const DataEntryValues& values);
void TakeFromDialog(const DlgInput& dialog, DataEntryValues& values);
