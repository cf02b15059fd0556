#include "case/MorvekDoc.h"

#include <cstdio>

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/PrintableText.h"
#include "case/DataEntryRunner.h"
#include "case/OilGravityQuestion.h"
#include "model/CaseFile.h"
#include "model/FieldTable.h"
#include "pvt/GasMixture.h"

namespace {

// The title of a case that was never saved or opened.
constexpr const char* kUntitled = "Morvek";

}  // namespace

CMorvekDoc::CMorvekDoc() : CaseRecordNames(m_Inputs) {
    m_strTitle = kUntitled;
}

bool CMorvekDoc::OnNewDocument() {
    ResetCase();
    return true;
}

void CMorvekDoc::ResetCase() {
    // The inputs of a new case are CaseInputs' own defaults.
    m_Inputs = morvek::CaseInputs{};
    for (Series* s :
         {&m_XWerte, &m_Y1Werte, &m_X2Werte, &m_Mess1XWerte, &m_Y2Werte, &m_Mess1YWerte})
        s->fill(0.0f);
    // The reset keeps the heading of the last run.
    m_TitelX = "Kum.Reinölförderung in 1000 m3";
    m_TitelY1 = "Druck(Bar)";
    m_TitelY2 = "GOEV(sm3/m3)";
    m_Legende1 = "Druck (Bar)";
    m_Legende2 = "GOEV (sm3/m3)";
    m_Legende3 = "Druckmeßwerte (Bar)";
    m_bGeaendert = 1;
    m_bGrafikNeu = 1;
    m_bPVTAusgabe = 0;
    m_bRelPermAusgabe = 0;
}

DataEntryValues CMorvekDoc::ForDialog() const {
    DataEntryValues d;
    d.inputs = m_Inputs;
    d.pvtOutput = m_bPVTAusgabe;
    d.relPermOutput = m_bRelPermAusgabe;
    d.rowsChanged = m_bGrafikNeu;
    return d;
}

void CMorvekDoc::TakeFromDialog(const DataEntryValues& d) {
    // Change detection on the stored single-precision values.
    // Rows read or edited in the dialog change the case even while the graph
    // has not yet taken the last change (the flag comparison misses them then).
    const bool changed =
        !morvek::SameFieldValues(d.inputs, m_Inputs) ||
        d.inputs.measuredRows != m_Inputs.measuredRows || d.rowsChanged != m_bGrafikNeu ||
        d.pvtOutput != m_bPVTAusgabe || d.relPermOutput != m_bRelPermAusgabe ||
        !morvek::SameLabTables(d.inputs, m_Inputs);
    m_bGeaendert = changed ? 1 : 0;
    if (m_bGeaendert) SetModifiedFlag(true);

    // The dialog's rows are the case's rows, an emptied list included: a user
    // who deletes every row means it.
    m_Inputs = d.inputs;
    m_bPVTAusgabe = d.pvtOutput;
    m_bRelPermAusgabe = d.relPermOutput;
    m_Max2Werte = m_bPVTAusgabe ? 0 : static_cast<int32_t>(m_Messwerte.size());
    if (m_bGeaendert) m_bGrafikNeu = 1;
}

bool CMorvekDoc::OnDataChange() {
    DataEntryValues values = ForDialog();
    // A case without a title, an oil in place or a path: the dialog of "Neu".
    values.newCase = m_strPathName.empty() && m_OOIP == 0.0f;
    if (m_pDataEntry == nullptr || !m_pDataEntry->RunModal(values)) return false;
    const CaseState before = State();
    TakeFromDialog(values);
    TellChange(before, "Daten ändern");
    RunCalculation();
    return true;
}

CaseState CMorvekDoc::State() const {
    return {m_Inputs, m_bPVTAusgabe, m_bRelPermAusgabe};
}

void CMorvekDoc::TellChange(const CaseState& before, const std::string& what) {
    if (!m_ChangeListener) return;
    CaseState after = State();
    if (after == before) return;
    m_ChangeListener(before, after, what);
}

void CMorvekDoc::ChangeInputs(const morvek::CaseInputs& inputs, const std::string& what,
                              bool run) {
    if (inputs == m_Inputs) {
        if (run) RunCalculation();
        return;
    }
    const CaseState before = State();
    m_Inputs = inputs;
    m_bGeaendert = 1;
    m_bGrafikNeu = 1;
    SetModifiedFlag(true);
    TellChange(before, what);
    if (run) RunCalculation();
}

void CMorvekDoc::RestoreState(const CaseState& state) {
    m_Inputs = state.inputs;
    m_bPVTAusgabe = state.pvtOutput;
    m_bRelPermAusgabe = state.relPermOutput;
    m_bGeaendert = 1;
    m_bGrafikNeu = 1;
    SetModifiedFlag(true);
    if (m_LastRun)
        RunCalculation(false);
    else
        UpdateAllViews();
}

morvek::ResultKind CMorvekDoc::ResultKind() const {
    // With both flags the table of relative permeabilities replaces the PVT table.
    if (m_bRelPermAusgabe) return morvek::ResultKind::RelPermTable;
    if (m_bPVTAusgabe) return morvek::ResultKind::PvtTable;
    return morvek::ResultKind::Prediction;
}

void CMorvekDoc::RunCalculation(bool ask) {
    morvek::RunOptions options;
    options.useApiFromInitialGor = ask && CheckOilGravity();
    morvek::CaseRun run = morvek::RunCase(m_Inputs, ResultKind(), options);
    // The case keeps the gravity the user accepted: every later run, and a
    // save, goes on with it.
    m_API = run.apiGravity;
    if (ask && run.kind != morvek::ResultKind::RelPermTable && run.calibration.applied)
        Messages().Show(morvek::ViscosityCalibrationNote(run.calibration));
    // A liquid saturation below Swi only occurs in a broken prediction; the
    // note is for the developer, once per run, and stays off stdout, which
    // carries the batch report.
    if (run.prediction && run.prediction->liquidBelowConnateWaterCount > 0) {
        for (const morvek::PredictionEvent& e : run.prediction->events) {
            if (e.kind != morvek::PredictionEventKind::LiquidBelowConnateWater) continue;
            const std::string note = morvek::BelowConnateWaterNote(
                e, m_Swi, m_Sgc, run.prediction->liquidBelowConnateWaterCount);
            std::fputs(note.c_str(), stderr);
            break;
        }
    }
    TakeRun(std::move(run));
    UpdateAllViews();
}

void CMorvekDoc::TakeRun(morvek::CaseRun run) {
    m_Text = run.report;
    m_Graph = run.graph;
    m_LastRun = std::move(run);
}

bool CMorvekDoc::CheckOilGravity() {
    // A PVT table's properties do not depend on the API gravity.
    if (m_Rsi == 0.0f || m_Inputs.pvtTable) return false;
    return AskForApiFromInitialGor(m_Inputs, morvek::MixGas(m_Gas).relativeDensity, Messages());
}

bool CMorvekDoc::HasResultTable() const {
    return m_LastRun && m_LastRun->HasResultTable();
}

bool CMorvekDoc::OnFileNew() {
    if (!SaveModified()) return false;
    ResetCase();
    if (m_ChangeListener) m_ChangeListener(State(), State(), std::string());
    // A new case is untitled and unmodified until its dialog ends with OK, and
    // shows nothing of the case before it, even when the dialog is cancelled.
    SetPathName(std::string());
    SetModifiedFlag(false);
    DropResults();
    OnDataChange();
    return true;
}

void CMorvekDoc::DropResults() {
    m_Text.clear();
    // Empty series with the axis titles and legends kept, and no heading.
    morvek::GraphLabels labels = std::move(m_Graph.labels);
    m_Graph = morvek::GraphSeries{};
    m_Graph.labels = std::move(labels);
    m_Ueberschrift.clear();
    m_LastRun.reset();
    m_bGrafikNeu = 1;
    UpdateAllViews();
}

bool CMorvekDoc::SaveModified() {
    if (!IsModified()) return true;
    switch (Messages().AskYesNoCancel(Format("Änderungen in %s speichern?", GetTitle().c_str()))) {
        case Answer::Yes:
            if (m_SaveHandler) return m_SaveHandler();
            return !GetPathName().empty() && OnSaveDocument(GetPathName());
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

bool CMorvekDoc::Serialize(CaseArchive& ar) {
    if (ar.IsStoring()) return EncodeCaseFile(m_Inputs, ar.Bytes(), ar.Problem());
    return DecodeCaseFile(ar.Bytes(), m_Inputs);
}

bool CMorvekDoc::OnOpenDocument(const std::string& path) {
    if (!ReadCaseFile(path)) return false;
    // The case before is gone, with its modified mark (a "Nein" to saving it
    // must not show it on the opened case) and its changes.
    SetModifiedFlag(false);
    if (m_ChangeListener) m_ChangeListener(State(), State(), std::string());
    const morvek::CaseInputs held = m_Inputs;
    // The results of the case before are not this case's: the views show the
    // opened case without results until its dialog ends with OK.
    DropResults();
    OnDataChange();
    m_bGeaendert = 1;
    m_bGrafikNeu = 1;
    // The case is modified exactly when an input now differs from what the
    // file holds: edits in the dialog after opening count, a dialog that only
    // looked does not.
    SetModifiedFlag(!(m_Inputs == held));
    return true;
}

bool CMorvekDoc::ReadCaseFile(const std::string& path) {
    std::string bytes, error;
    if (!ReadWholeFile(path, bytes, error)) {
        Messages().Show(Format("Die Datei %s kann nicht gelesen werden.\n%s",
                               DisplayPath(path).c_str(), error.c_str()));
        return false;
    }
    CaseArchive ar = CaseArchive::ForLoading(std::move(bytes));
    if (!Serialize(ar)) {
        Messages().Show(
            Format("Die Datei %s ist keine gültige Morvek-Datei.", DisplayPath(path).c_str()));
        return false;
    }
    SetPathName(path);
    return true;
}

bool CMorvekDoc::OnSaveDocument(const std::string& path) {
    CaseArchive ar = CaseArchive::ForStoring();
    std::string error;
    if (!Serialize(ar)) {
        error = ar.Problem();
    } else if (WriteFileAtomically(path, ar.Bytes(), error)) {
        SetPathName(path);
        SetModifiedFlag(false);
        return true;
    }
    Messages().Show(Format("Die Datei %s konnte nicht gespeichert werden.\n%s",
                           DisplayPath(path).c_str(), error.c_str()));
    return false;
}

void CMorvekDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    m_strTitle = path.empty() ? std::string(kUntitled) : FileNameOf(path);
}

void CMorvekDoc::SetMessageSink(MessageSink* sink) {
    m_pMessages = sink;
}

MessageSink& CMorvekDoc::Messages() const {
    return m_pMessages != nullptr ? *m_pMessages : SilentMessages();
}

void CMorvekDoc::AddViewListener(std::function<void()> listener) {
    m_ViewListeners.push_back(std::move(listener));
}

void CMorvekDoc::UpdateAllViews() {
    for (auto& listener : m_ViewListeners) listener();
}
