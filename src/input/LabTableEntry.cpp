#include "input/LabTableEntry.h"

#include <optional>
#include <vector>

#include "base/Cp1252.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/PrintableText.h"
#include "base/MessageSink.h"
#include "base/NumberText.h"
#include "input/DlgInput.h"
#include "input/FileChooser.h"
#include "waterdrive/HistoryFile.h"

namespace {

// The file dialog of the two table buttons starts with these.
constexpr const char* kTableExtension = "Alle Dateien";
constexpr const char* kTablePattern = "*.TXT *.CSV";

template <class Table, class Reader>
TableEntry ReadInto(const std::string& path, std::optional<Table>& target, const char* kind,
                    Reader read, MessageSink& sink) {
    Table table;
    std::vector<std::string> problems;
    switch (read(path, table, problems)) {
        case morvek::TableReadStatus::Read:
            // The case keeps the name as the report shows it; the user learns
            // when that is not the file's own.
            if (const std::string own = Utf8FromUtf8OrCp1252(FileNameOf(path));
                table.fileName != own)
                sink.Show(Format("Der Name der Datei %s enthält Zeichen, die der Fall nicht "
                                 "speichern oder der Bericht nicht zeigen kann; die %s heißt im "
                                 "Fall %s.",
                                 DisplayPath(FileNameOf(path)).c_str(), kind,
                                 table.fileName.c_str()));
            target = std::move(table);
            return TableEntry::Taken;
        case morvek::TableReadStatus::Refused:
            sink.Warn(morvek::TableProblemMessage(kind, path, problems));
            return TableEntry::Refused;
        case morvek::TableReadStatus::Unreadable:
            break;
    }
    sink.Warn(morvek::TableProblemMessage(kind, path, problems));
    return TableEntry::Unreadable;
}

template <class Table>
std::string TableText(const Table& table) {
    return Format("%s (%zu Zeilen)", OneLineText(table.fileName).c_str(), table.rows.size());
}

}  // namespace

TableEntry ReadPvtTableInto(const std::string& path, morvek::CaseInputs& inputs,
                            MessageSink& sink) {
    return ReadInto(path, inputs.pvtTable, kPvtTableKind, morvek::ReadPvtTableFile, sink);
}

TableEntry ReadHistoryInto(const std::string& path, morvek::CaseInputs& inputs,
                           MessageSink& sink) {
    return ReadInto(path, inputs.history, kHistoryKind, morvek::ReadHistoryFile, sink);
}

TableEntry ReadRelPermTableInto(const std::string& path, morvek::CaseInputs& inputs,
                                MessageSink& sink) {
    return ReadInto(path, inputs.relPermTable, kRelPermTableKind, morvek::ReadRelPermTableFile,
                    sink);
}

TableEntry ReadWaterCutTableInto(const std::string& path, morvek::CaseInputs& inputs,
                                 MessageSink& sink) {
    return ReadInto(path, inputs.waterCutTable, kWaterCutTableKind, morvek::ReadWaterCutTableFile,
                    sink);
}

std::string PvtSourceText(const morvek::CaseInputs& in) {
    return "PVT: " + (in.pvtTable ? TableText(*in.pvtTable) : std::string("Korrelation"));
}

std::string RelPermSourceText(const morvek::CaseInputs& in) {
    return "Relperm: " +
           (in.relPermTable ? TableText(*in.relPermTable) : std::string("Corey-Ansatz"));
}

bool CheckPvtTableOfCase(const morvek::CaseInputs& in, MessageSink& sink) {
    if (!in.pvtTable || in.pvtTable->rows.empty()) return true;
    const std::vector<morvek::LabPvtRow>& rows = in.pvtTable->rows;
    const float lowest = rows.front().pressureBar;
    const float highest = rows.back().pressureBar;
    if (in.initialPressureBar < lowest || in.initialPressureBar > highest) {
        // One decimal, as everywhere, unless the pressure and the bound it
        // crosses would then read the same ("349.6 ... bis 349.6 bar").
        const int d = DecimalsApart(in.initialPressureBar,
                                    in.initialPressureBar < lowest ? lowest : highest);
        sink.Warn(
            Format("FEHLER!!\nInitialdruck %5.*f liegt außerhalb der PVT-Tabelle "
                   "(%5.*f bis %5.*f bar)",
                   d, double(in.initialPressureBar), d, double(lowest), d, double(highest)));
        return false;
    }
    if (lowest > in.bubblePointPressureBar) {
        const int d = DecimalsApart(lowest, in.bubblePointPressureBar);
        sink.Warn(
            Format("FEHLER!!\nDie PVT-Tabelle beginnt bei %5.*f bar, über dem "
                   "Gasentlösungsdruck von %5.*f bar",
                   d, double(lowest), d, double(in.bubblePointPressureBar)));
        return false;
    }
    for (const morvek::LabPvtRow& r : rows) {
        if (r.pressureBar > in.bubblePointPressureBar) break;
        if (!(r.bg > 0.0f) || !(r.gasViscosityCp > 0.0f)) {
            sink.Warn(
                Format("FEHLER!!\nPVT-Tabelle bei %5.1f bar: Bg und Gasviskosität müssen "
                       "bis zum Gasentlösungsdruck größer als 0 sein",
                       double(r.pressureBar)));
            return false;
        }
        // The gas carries less oil than the oil holds gas: else the two
        // phases are one.
        if (in.pvtTable->hasRv && !(double(r.rv) * double(r.rs) < 1.0)) {
            sink.Show(
                Format("FEHLER!!\nPVT-Tabelle bei %5.1f bar: Rv·Rs muß bis zum "
                       "Gasentlösungsdruck unter 1 liegen (Rv %g, Rs %g)",
                       double(r.pressureBar), double(r.rv), double(r.rs)));
            return false;
        }
    }
    return true;
}

// --- The dialog's buttons -----------------------------------------------------------

void DlgInput::ShowTableSources() {
    m_strPvtQuelle = PvtSourceText(m_Inputs);
    m_strRelPermQuelle = RelPermSourceText(m_Inputs);
    // Only the two source lines: what the user typed elsewhere and has not
    // left yet stays in its field.
    ShowFields({"m_strPvtQuelle", "m_strRelPermQuelle"});
}

void DlgInput::ReadPvtTable() {
    if (m_pFileChooser == nullptr) return;
    const std::optional<std::string> path =
        m_pFileChooser->ChooseFileToOpen(kTableExtension, kTablePattern);
    if (path && ReadPvtTableInto(*path, m_Inputs, Messages()) == TableEntry::Taken)
        ShowTableSources();
}

void DlgInput::ReadRelPermTable() {
    if (m_pFileChooser == nullptr) return;
    const std::optional<std::string> path =
        m_pFileChooser->ChooseFileToOpen(kTableExtension, kTablePattern);
    if (path && ReadRelPermTableInto(*path, m_Inputs, Messages()) == TableEntry::Taken)
        ShowTableSources();
}

void DlgInput::RemovePvtTable() {
    m_Inputs.pvtTable.reset();
    ShowTableSources();
}

void DlgInput::RemoveRelPermTable() {
    m_Inputs.relPermTable.reset();
    ShowTableSources();
}
