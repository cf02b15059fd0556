#include "input/DlgInput.h"

#include <array>
#include <optional>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "input/Controls.h"
#include "input/ExchangeTable.h"
#include "input/FileChooser.h"
#include "input/InputChecks.h"
#include "input/MeasuredDataFile.h"

namespace {

// Oil density in kg/l from the API gravity; 141.34435 rather than the
// textbook 141.5, as everywhere in the program.
constexpr double kOilDensityNumerator = 141.34435;
constexpr double kApiOffset = 131.5;
// Densities outside this band (kg/l) are taken for a typing error.
constexpr double kMinPlausibleDensity = 0.6;
constexpr double kMaxPlausibleDensity = 1.4;

// The file dialog of "Meßwertdatei lesen" starts with these.
constexpr const char* kMeasuredDataExtension = "Alle Dateien";
constexpr const char* kMeasuredDataPattern = "*.TXT";

int ControlOf(const char* member) {
    const ExchangeField* field = FindField(member);
    return field != nullptr ? field->controlId : 0;
}

// The sum of the composition in single precision, as the sum field shows it.
std::string GasSumText(const std::array<float, kGasComponents>& gas) {
    float sum = 0.0f;
    for (float g : gas) sum += g;
    return Format("%6.2f", double(sum));
}

}  // namespace

DlgInput::DlgInput() {
    // Until the case fills it the dialog holds nothing: no number, no gas, no
    // correlation chosen.
    for (const morvek::Field& f : morvek::FieldTable())
        if (f.kind == morvek::FieldKind::Number) f.Number(m_Inputs) = 0.0f;
    m_Inputs.correlation = -1;
}

void DlgInput::SetPorts(MessageSink* sink, Controls* controls, FileChooser* chooser) {
    m_pMessages = sink;
    m_pControls = controls;
    m_pFileChooser = chooser;
}

MessageSink& DlgInput::Messages() const {
    return m_pMessages != nullptr ? *m_pMessages : SilentMessages();
}

bool DlgInput::UpdateData(bool saveAndValidate) {
    if (m_pControls == nullptr) return true;
    Controls& controls = *m_pControls;

    if (!saveAndValidate) {
        for (const ExchangeField& f : ExchangeTable()) {
            switch (f.kind) {
                case FieldKind::Float:
                    controls.SetText(f.controlId, FloatForDisplay(f.Float(*this)));
                    break;
                case FieldKind::Text:
                case FieldKind::Static:
                    controls.SetText(f.controlId, f.Text(*this));
                    break;
                case FieldKind::Radio:
                    controls.SetCheckedRadio(f.controlId, f.Int(*this));
                    break;
                case FieldKind::Check:
                    controls.SetChecked(f.controlId, f.Int(*this) != 0);
                    break;
            }
        }
        return true;
    }

    m_nFailedControl = 0;
    for (const ExchangeField& f : ExchangeTable()) {
        bool ok = true;
        switch (f.kind) {
            case FieldKind::Float: {
                float value = 0;
                ok = ParseFieldValue(f, controls.Text(f.controlId), value, Messages());
                if (ok) f.Float(*this) = value;
                break;
            }
            case FieldKind::Text: {
                std::string value;
                ok = ParseFieldText(f, controls.Text(f.controlId), value, Messages());
                if (ok) f.Text(*this) = std::move(value);
                break;
            }
            case FieldKind::Static:
                // Static fields only show what the dialog computed.
                break;
            case FieldKind::Radio:
                f.Int(*this) = controls.CheckedRadio(f.controlId);
                break;
            case FieldKind::Check:
                f.Int(*this) = controls.IsChecked(f.controlId) ? 1 : 0;
                break;
        }
        if (!ok) {
            controls.SetFocus(f.controlId);
            m_nFailedControl = f.controlId;
            return false;
        }
    }
    return true;
}

void DlgInput::OnInitDialog() {
    ShowTableSources();
    UpdateData(false);
    m_strSumme = GasSumText(m_Gas);
    // The list widget draws its rows two pixels taller than its default.
    m_nZeilenModus = 0;
    UpdateData(false);
    m_MesswertListe.Clear();
    for (const std::string& row : m_Messwerte) m_MesswertListe.AddSorted(row);
}

void DlgInput::RecomputeGasSum() {
    // The sum follows what was read, even when the reading stopped early.
    UpdateData(true);
    m_strSumme = GasSumText(m_Gas);
    UpdateData(false);
}

void DlgInput::CheckOilDensity() {
    UpdateData(true);
    const double density = kOilDensityNumerator / (double(m_API) + kApiOffset);
    if (!(density >= kMinPlausibleDensity && density <= kMaxPlausibleDensity)) {
        Messages().Show(Format("Die Öldichte von %f Grad API bzw. %f kg/l ist zu korrigieren",
                               double(m_API), density));
    }
}

void DlgInput::TogglePVTAusgabe() {
    m_bPVTAusgabe = m_bPVTAusgabe == 1 ? 0 : 1;
    if (m_bPVTAusgabe == 1 && m_bRelPermAusgabe == 1) m_bRelPermAusgabe = 0;
    UpdateData(false);
}

void DlgInput::ToggleRelPermAusgabe() {
    m_bRelPermAusgabe = m_bRelPermAusgabe == 1 ? 0 : 1;
    if (m_bPVTAusgabe == 1 && m_bRelPermAusgabe == 1) m_bPVTAusgabe = 0;
    UpdateData(false);
}

bool DlgInput::Validate() {
    // A failed reading has shown its message; the checks still run on the
    // members as they now stand.
    UpdateData(true);
    if (!CheckDialogInputs(*this, Messages())) return false;
    return UpdateData(true);
}

void DlgInput::SetRowMode(int mode) {
    m_nZeilenModus = mode;
}

void DlgInput::SelectRow() {
    m_strStatus = " ";
    m_strZeile = " ";
    m_nAuswahl = m_MesswertListe.Selection();
    if (m_nAuswahl < 0) {
        // A double click on an empty list: nothing to take over.
        UpdateData(false);
        return;
    }
    m_strZeile = m_MesswertListe.Text(m_nAuswahl);
    m_strStatus = Format("%d.Zeile ausgewählt", m_nAuswahl + 1);
    UpdateData(false);
    if (m_pControls != nullptr) m_pControls->FocusNextControl();
}

void DlgInput::ApplyRowEdit() {
    m_strStatus = " ";
    UpdateData(true);
    // A row that the files cannot store has been refused where it was typed.
    static const int rowLine = ControlOf("m_strZeile");
    if (m_nFailedControl != 0 && m_nFailedControl == rowLine) return;
    m_nAuswahl = m_MesswertListe.Selection();

    float oil = 0, pressure = 0, gor = 0;
    if (ScanMeasuredRow(m_strZeile, oil, pressure, gor) < 2) {
        Messages().Show("Die Zeile enthält keine 2 Werte");
        return;
    }
    const bool needsSelection = m_nZeilenModus == 2 || m_nZeilenModus == 3;
    if (needsSelection && m_nAuswahl < 0) {
        Messages().Show("Bitte zuerst eine Zeile auswählen.");
        return;
    }

    switch (m_nZeilenModus) {
        case 0:
            if (m_nAuswahl >= 0) {
                m_bMesswerteGeaendert = 1;
                m_MesswertListe.RemoveAt(m_nAuswahl);
                m_MesswertListe.InsertAt(m_nAuswahl, m_strZeile);
                m_strStatus = Format("%d.Zeile wurde geändert", m_nAuswahl + 1);
                UpdateData(false);
            }
            break;
        case 1:
            if (Messages().AskYesNo("Soll diese Zeile angehängt werden?\n" + m_strZeile)) {
                m_MesswertListe.AddSorted(m_strZeile);
                m_strStatus = Format("%d.Zeile angehängt", m_MesswertListe.Count());
                m_bMesswerteGeaendert = 1;
                UpdateData(false);
            }
            break;
        case 2:
            if (Messages().AskYesNo("Soll diese Zeile vor der markarkierten eingefügt werden?\n" +
                                    m_strZeile)) {
                m_MesswertListe.InsertAt(m_nAuswahl, m_strZeile);
                m_strStatus = Format("%d.Zeile eingefügt", m_nAuswahl + 1);
                m_bMesswerteGeaendert = 1;
                UpdateData(false);
            }
            break;
        case 3:
            if (Messages().AskYesNo("Soll diese Zeile wirklich gelöscht werden?\n" + m_strZeile)) {
                m_MesswertListe.RemoveAt(m_nAuswahl);
                m_strStatus = Format("%d.Zeile gelöscht", m_nAuswahl + 1);
                m_bMesswerteGeaendert = 1;
                UpdateData(false);
            }
            break;
        default:
            break;
    }
    m_Messwerte = m_MesswertListe.Rows();
}

void DlgInput::FileOpen() {
    if (m_pFileChooser == nullptr) return;
    const std::optional<std::string> path =
        m_pFileChooser->ChooseFileToOpen(kMeasuredDataExtension, kMeasuredDataPattern);
    if (!path) return;
    Messages().Show(*path + " wird geöffnet");
    std::vector<std::string> rows;
    // A file that cannot be opened keeps the rows already entered.
    if (!ReadMeasuredDataFile(*path, m_OOIP, m_Initialdruck, Messages(), rows)) return;

    m_Messwerte.clear();
    m_MesswertListe.Clear();
    for (const std::string& row : rows) {
        m_Messwerte.push_back(row);
        m_MesswertListe.AddSorted(row);
        m_bMesswerteGeaendert = 1;
    }
    m_strStatus = Format("%d Zeilen wurden eingelesen", static_cast<int>(m_Messwerte.size()));
    m_strZeile = " ";
    UpdateData(false);
}
