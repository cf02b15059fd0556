#include "input/DlgInput.h"

#include <array>
#include <optional>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "case/DataEntryRunner.h"
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

// The sum of the composition in single precision, as the sum field shows it.
std::string GasSumText(const std::array<float, kGasComponents>& gas) {
    float sum = 0.0f;
    for (float g : gas) sum += g;
    return Format("%6.2f", double(sum));
}

}  // namespace

DlgInput::DlgInput() : CaseRecordNames(m_Inputs) {
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

void DlgInput::ShowField(const ExchangeField& f) {
    Controls& controls = *m_pControls;
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

bool DlgInput::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        if (m_pControls == nullptr) return true;
        for (const ExchangeField& f : ExchangeTable()) ShowField(f);
        return true;
    }
    return ReadFields([](const ExchangeField&) { return true; });
}

namespace {

bool IsGasField(const ExchangeField& f) {
    return f.field != nullptr && f.field->gasIndex >= 0;
}

bool IsMember(const ExchangeField& f, const char* name) {
    return std::string(f.member) == name;
}

}  // namespace

bool DlgInput::ReadFields(bool (*which)(const ExchangeField&)) {
    if (m_pControls == nullptr) return true;
    Controls& controls = *m_pControls;
    m_nFailedControl = 0;
    FirstMessageSink first;
    for (const ExchangeField& f : ExchangeTable()) {
        if (!which(f)) continue;
        bool ok = true;
        switch (f.kind) {
            case FieldKind::Float: {
                // A field shows six significant digits. One left as shown
                // keeps the value it stands for (a fitted oil in place of
                // 4974.7812 shows 4974.78): OK without an edit changes nothing.
                const std::string text = controls.Text(f.controlId);
                float value = 0;
                ok = ParseFieldValue(f, text, value, first, controls.TakesDecimalComma());
                if (ok && text != FloatForDisplay(f.Float(*this))) f.Float(*this) = value;
                break;
            }
            case FieldKind::Text: {
                std::string value;
                ok = ParseFieldText(f, controls.Text(f.controlId), value, first);
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
        if (!ok && m_nFailedControl == 0) m_nFailedControl = f.controlId;
    }
    if (m_nFailedControl == 0) return true;
    Messages().Warn(first.Text());
    controls.SetFocus(m_nFailedControl);
    return false;
}

void DlgInput::ShowFields(std::initializer_list<const char*> members) {
    if (m_pControls == nullptr) return;
    for (const char* name : members)
        if (const ExchangeField* f = FindField(name)) ShowField(*f);
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
    if (m_bNeuerFall) {
        // Every reading of the form stops at an oil in place of 0: say what a
        // new case needs before OK can compute it.
        m_strStatus =
            "Neuer Fall: zuerst Original Oil in Place, Initial- und Gasentlösungsdruck, "
            "Lagerstättentemperatur, Öldichte, Haftwassersättigung und die Gaszusammensetzung "
            "eingeben; OK rechnet.";
        ShowFields({"m_strStatus"});
    }
}

std::string DlgInput::UnusedFieldReason(const std::string& member) const {
    const bool pvtTable = m_Inputs.pvtTable && morvek::IsValidTable(*m_Inputs.pvtTable);
    const bool relPermTable =
        m_Inputs.relPermTable && morvek::IsValidTable(*m_Inputs.relPermTable);
    if (pvtTable && (member == "m_Methode" || member == "m_NuoPb" || member == "m_Rsi"))
        return Format(
            "Wird nicht verwendet: die Fluideigenschaften kommen aus der PVT-Tabelle %s "
            "(Tabelle entfernen, um die Korrelation zu nutzen).",
            m_Inputs.pvtTable->fileName.c_str());
    if (relPermTable && (member == "m_KroMax" || member == "m_KrgMax" || member == "m_Sgc"))
        return Format(
            "Wird nicht verwendet: krg und kro kommen aus der Tabelle der relativen "
            "Permeabilitäten %s (Tabelle entfernen, um den Corey-Ansatz zu nutzen).",
            m_Inputs.relPermTable->fileName.c_str());
    return {};
}

void DlgInput::RecomputeGasSum() {
    // Only the composition is read: a field elsewhere that is not yet valid
    // (the oil in place of a new case) is no concern of the sum. The sum
    // follows what was read, even when a gas field was refused.
    ReadFields(IsGasField);
    m_strSumme = GasSumText(m_Gas);
    ShowFields({"m_strSumme"});
}

void DlgInput::CheckOilDensity() {
    // A value that could not be read has had its message; the warning would
    // quote a value that is no longer in the field.
    if (!ReadFields([](const ExchangeField& f) { return IsMember(f, "m_API"); })) return;
    const double density = kOilDensityNumerator / (double(m_API) + kApiOffset);
    if (!(density >= kMinPlausibleDensity && density <= kMaxPlausibleDensity)) {
        Messages().Warn(Format("Die Öldichte von %s Grad API bzw. %.3f kg/l ist zu korrigieren.",
                               FloatForDisplay(m_API).c_str(), density));
    }
}

void DlgInput::TogglePVTAusgabe() {
    m_bPVTAusgabe = m_bPVTAusgabe == 1 ? 0 : 1;
    if (m_bPVTAusgabe == 1 && m_bRelPermAusgabe == 1) m_bRelPermAusgabe = 0;
    ShowFields({"m_bPVTAusgabe", "m_bRelPermAusgabe"});
}

void DlgInput::ToggleRelPermAusgabe() {
    m_bRelPermAusgabe = m_bRelPermAusgabe == 1 ? 0 : 1;
    if (m_bPVTAusgabe == 1 && m_bRelPermAusgabe == 1) m_bPVTAusgabe = 0;
    ShowFields({"m_bPVTAusgabe", "m_bRelPermAusgabe"});
}

bool DlgInput::Validate() {
    // A field that cannot be read has been reported once; the checks would
    // only quote values that are no longer in the fields.
    if (!UpdateData(true)) return false;
    // The composition as the fields hold it, even when the last gas field
    // typed into was not left before OK.
    m_strSumme = GasSumText(m_Gas);
    ShowFields({"m_strSumme"});
    int failed = 0;
    if (CheckDialogInputs(*this, Messages(), &failed)) return true;
    // The value to correct gets the focus, not the OK button.
    if (failed != 0 && m_pControls != nullptr) m_pControls->SetFocus(failed);
    return false;
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
        ShowFields({"m_strZeile", "m_strStatus"});
        return;
    }
    m_strZeile = m_MesswertListe.Text(m_nAuswahl);
    m_strStatus = Format("%d.Zeile ausgewählt", m_nAuswahl + 1);
    ShowFields({"m_strZeile", "m_strStatus"});
    if (m_pControls != nullptr) m_pControls->FocusNextControl();
}

void DlgInput::ApplyRowEdit() {
    m_strStatus = " ";
    // The edit line and the mode button checked on screen; a row that the
    // files cannot store is refused where it was typed.
    if (!ReadFields([](const ExchangeField& f) {
            return IsMember(f, "m_strZeile") || IsMember(f, "m_nZeilenModus");
        }))
        return;
    m_nAuswahl = m_MesswertListe.Selection();

    // Passing through an empty edit line (Tab) is no edit.
    if (m_strZeile.find_first_not_of(" \t") == std::string::npos) {
        ShowFields({"m_strStatus"});
        return;
    }
    // The window takes numbers with a decimal comma; the row keeps them
    // with a point, as the files and every reader of the rows have them.
    const bool decimalComma = m_pControls != nullptr && m_pControls->TakesDecimalComma();
    const std::string typed = m_strZeile;
    if (decimalComma) m_strZeile = NumbersWithDecimalPoint(m_strZeile);
    float oil = 0, pressure = 0, gor = 0;
    const int count = ScanMeasuredRow(m_strZeile, oil, pressure, gor);
    if (count < 2) {
        m_strZeile = typed;
        Messages().Warn("Die Zeile enthält keine 2 Werte" +
                        (decimalComma ? DecimalSignHint(typed) : DecimalPointHint(typed)));
        return;
    }
    const std::string negative = NegativeMeasuredValueMessage(count, oil, pressure, gor);
    if (!negative.empty()) {
        Messages().Warn(negative);
        return;
    }
    const bool needsSelection = m_nZeilenModus == 2 || m_nZeilenModus == 3;
    if (needsSelection && m_nAuswahl < 0) {
        Messages().Warn("Bitte zuerst eine Zeile auswählen.");
        return;
    }

    switch (m_nZeilenModus) {
        case 0:
            if (m_nAuswahl >= 0) {
                m_bMesswerteGeaendert = 1;
                m_MesswertListe.RemoveAt(m_nAuswahl);
                m_MesswertListe.InsertAt(m_nAuswahl, m_strZeile);
                m_strStatus = Format("%d.Zeile wurde geändert", m_nAuswahl + 1);
            }
            break;
        case 1:
            if (Messages().AskYesNo("Soll diese Zeile angehängt werden?\n" + m_strZeile)) {
                m_MesswertListe.AddSorted(m_strZeile);
                m_strStatus = Format("%d.Zeile angehängt", m_MesswertListe.Count());
                m_bMesswerteGeaendert = 1;
            }
            break;
        case 2:
            if (Messages().AskYesNo("Soll diese Zeile vor der markierten eingefügt werden?\n" +
                                    m_strZeile)) {
                m_MesswertListe.InsertAt(m_nAuswahl, m_strZeile);
                m_strStatus = Format("%d.Zeile eingefügt", m_nAuswahl + 1);
                m_bMesswerteGeaendert = 1;
            }
            break;
        case 3:
            // The question names the row that Yes deletes: the selected one,
            // whatever the edit line holds.
            if (Messages().AskYesNo("Soll diese Zeile wirklich gelöscht werden?\n" +
                                    m_MesswertListe.Text(m_nAuswahl))) {
                m_MesswertListe.RemoveAt(m_nAuswahl);
                m_strStatus = Format("%d.Zeile gelöscht", m_nAuswahl + 1);
                m_bMesswerteGeaendert = 1;
            }
            break;
        default:
            break;
    }
    ShowFields({"m_strStatus"});
    m_Messwerte = m_MesswertListe.Rows();
}

namespace {

// "1 Zeile", "7 Zeilen".
std::string RowCountText(size_t count) {
    return Format("%zu Zeile%s", count, count == 1 ? "" : "n");
}

// Passes messages on and notes whether there was any.
class NotingSink : public MessageSink {
public:
    explicit NotingSink(MessageSink& sink) : m_Sink(sink) {}
    void Show(const std::string& text) override {
        m_bSaid = true;
        m_Sink.Show(text);
    }
    void Warn(const std::string& text) override {
        m_bSaid = true;
        m_Sink.Warn(text);
    }
    bool AskYesNo(const std::string& text) override { return m_Sink.AskYesNo(text); }
    Answer AskYesNoCancel(const std::string& text) override { return m_Sink.AskYesNoCancel(text); }
    bool Said() const { return m_bSaid; }

private:
    MessageSink& m_Sink;
    bool m_bSaid = false;
};

}  // namespace

void DlgInput::FileOpen() {
    if (m_pFileChooser == nullptr) return;
    // The rows of the file are checked against the oil in place and the
    // initial pressure now in their fields.
    if (!ReadFields([](const ExchangeField& f) {
            return IsMember(f, "m_OOIP") || IsMember(f, "m_Initialdruck");
        }))
        return;
    const std::optional<std::string> path =
        m_pFileChooser->ChooseFileToOpen(kMeasuredDataExtension, kMeasuredDataPattern);
    if (!path) return;
    Messages().Show(*path + " wird geöffnet");
    // While the reader's messages are up the status says what goes on, not
    // what the last reading ended with.
    const std::string statusBefore = m_strStatus;
    m_strStatus = Format("Die Datei %s wird gelesen ...", FileNameOf(*path).c_str());
    ShowFields({"m_strStatus"});
    std::vector<std::string> rows;
    NotingSink reading(Messages());
    // A file that cannot be opened changes nothing, its status line neither.
    if (!ReadMeasuredDataFile(*path, m_OOIP, m_Initialdruck, reading, rows)) {
        m_strStatus = statusBefore;
        ShowFields({"m_strStatus"});
        return;
    }
    if (rows.empty()) {
        // Nothing readable: the rows there are stay.
        if (!reading.Said())
            Messages().Warn(Format("Die Datei %s enthält keine Meßwertzeile.", path->c_str()));
        m_strStatus = "Keine Zeile eingelesen";
        ShowFields({"m_strStatus"});
        return;
    }
    // A file read only up to a bad line replaces rows already entered only
    // when the user says so: its good rows may be far fewer.
    if (reading.Said() && !m_Messwerte.empty() &&
        !Messages().AskYesNo(Format("Aus der Datei %s wurde vor der fehlerhaften Zeile nur %s "
                                    "gelesen.\nDie vorhandenen Meßwerte (%s) dadurch ersetzen?",
                                    FileNameOf(*path).c_str(), RowCountText(rows.size()).c_str(),
                                    RowCountText(m_Messwerte.size()).c_str()))) {
        m_strStatus = Format("Datei nicht übernommen, die Meßwerte bleiben (%s)",
                             RowCountText(m_Messwerte.size()).c_str());
        ShowFields({"m_strStatus"});
        return;
    }

    m_Messwerte.clear();
    m_MesswertListe.Clear();
    for (const std::string& row : rows) {
        m_Messwerte.push_back(row);
        m_MesswertListe.AddSorted(row);
        m_bMesswerteGeaendert = 1;
    }
    m_strStatus = m_Messwerte.size() == 1
                      ? std::string("1 Zeile wurde eingelesen")
                      : Format("%d Zeilen wurden eingelesen", static_cast<int>(m_Messwerte.size()));
    m_strZeile = " ";
    ShowFields({"m_strStatus", "m_strZeile"});
}

void FillDialog(DlgInput& d, const DataEntryValues& values) {
    d.m_bNeuerFall = values.newCase;
    d.m_Inputs = values.inputs;
    d.m_bPVTAusgabe = values.pvtOutput;
    d.m_bRelPermAusgabe = values.relPermOutput;
    d.m_bMesswerteGeaendert = values.rowsChanged;
}

void TakeFromDialog(const DlgInput& d, DataEntryValues& values) {
    values.inputs = d.m_Inputs;
    values.pvtOutput = d.m_bPVTAusgabe;
    values.relPermOutput = d.m_bRelPermAusgabe;
    values.rowsChanged = d.m_bMesswerteGeaendert;
}
