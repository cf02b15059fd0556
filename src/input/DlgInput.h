#pragma once
// The data-entry dialog without its widgets: the members that mirror the case,
// the exchange with the controls and every check and row edit. The window's
// dialog widget and batch mode drive the same operations.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "case/CaseLimits.h"
#include "input/RowList.h"

class MessageSink;
class Controls;
class FileChooser;
struct ExchangeField;

class DlgInput {
public:
    DlgInput();

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

    // Copies between the fifteen gas members and m_Gas (case order).
    void GasMembersFromArray();
    void GasArrayFromMembers();

    // --- Members, in declaration order -------------------------------------------
    std::array<float, kGasComponents> m_Gas{};
    int32_t m_nAuswahl = 0;
    int32_t m_bMesswerteGeaendert = 0;
    std::vector<std::string> m_Messwerte;
    RowList m_MesswertListe;
    float m_Gaskappe = 0;
    float m_API = 0;
    std::string m_Feldname;
    float m_KrgMax = 0;
    float m_KroMax = 0;
    int32_t m_Methode = -1;
    float m_OOIP = 0;
    float m_Entloesungsdruck = 0;
    float m_Initialdruck = 0;
    float m_Sgc = 0;
    float m_Swi = 0;
    float m_Temperatur = 0;
    float m_H2S = 0;
    float m_CO2 = 0;
    float m_C6 = 0;
    float m_C7 = 0;
    float m_C8 = 0;
    float m_C9 = 0;
    float m_C10 = 0;
    float m_N2 = 0;
    float m_C1 = 0;
    float m_C2 = 0;
    float m_C3 = 0;
    float m_iC4 = 0;
    float m_nC4 = 0;
    float m_iC5 = 0;
    float m_nC5 = 0;
    std::string m_strSumme;
    int32_t m_nZeilenModus = -1;
    std::string m_strZeile;
    std::string m_strStatus;
    int32_t m_bPVTAusgabe = 0;
    float m_NuoPb = 0;
    float m_Rsi = 0;
    int32_t m_bRelPermAusgabe = 0;

private:
    // Reading and showing only some fields: an operation reads the fields it
    // needs and shows the members it changed, so that a message about one
    // field never throws away what was typed in another.
    bool ReadFields(bool (*which)(const ExchangeField&));
    void ShowFields(std::initializer_list<const char*> members);

    MessageSink* m_pMessages = nullptr;
    Controls* m_pControls = nullptr;
    FileChooser* m_pFileChooser = nullptr;
    // The control at which the last reading of the controls stopped, 0 when
    // it read them all.
    int m_nFailedControl = 0;
};
