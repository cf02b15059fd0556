#include "case/MorvekDoc.h"

#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/PrintableText.h"
#include "case/CaseFile.h"
#include "case/DataEntryRunner.h"
#include "input/DlgInput.h"

namespace {

// The title of a case that was never saved or opened.
constexpr const char* kUntitled = "Morvek";

}  // namespace

CMorvekDoc::CMorvekDoc() : m_strTitle(kUntitled) {}

bool CMorvekDoc::OnNewDocument() {
    ResetCase();
    return true;
}

void CMorvekDoc::ResetCase() {
    m_Gas.fill(0.0f);
    m_Gas[kMethaneIndex] = 100.0f;
    m_Temperatur = 0;
    m_OOIP = 0;
    m_Initialdruck = 1.0f;
    m_Entloesungsdruck = 0;
    m_API = 10.0f;
    m_Swi = 0;
    m_Sgc = 0;
    m_KroMax = 1.0f;
    m_KrgMax = 1.0f;
    m_Gaskappe = 0;
    m_Methode = 0;
    m_NuoPb = 0;
    m_Rsi = 0;
    m_Feldname.clear();
    for (Series* s :
         {&m_XWerte, &m_Y1Werte, &m_X2Werte, &m_Mess1XWerte, &m_Y2Werte, &m_Mess1YWerte})
        s->fill(0.0f);
    // The reset keeps the heading of the last run.
    SetGraphLabels({"Kum.Reinölförderung in 1000 m3", "Druck(Bar)", "GOEV(sm3/m3)", nullptr,
                    "Druck (Bar)", "GOEV (sm3/m3)", "Druckmeßwerte (Bar)"});
    m_Messwerte.clear();
    m_bGeaendert = 1;
    m_bGrafikNeu = 1;
    m_bPVTAusgabe = 0;
    m_bRelPermAusgabe = 0;
}

void CMorvekDoc::ClearSeries() {
    for (Series* s : {&m_XWerte, &m_X2Werte, &m_Y1Werte, &m_Y2Werte, &m_Mess1XWerte, &m_Mess1YWerte,
                      &m_Mess2XWerte, &m_Mess2YWerte})
        s->fill(0.0f);
    m_MaxWerte = 0;
    m_Max2Werte = 0;
    m_Max3Werte = 0;
}

void CMorvekDoc::SetGraphLabels(const GraphLabels& labels) {
    m_TitelX = labels.titelX;
    m_TitelY1 = labels.titelY1;
    m_TitelY2 = labels.titelY2;
    if (labels.ueberschrift != nullptr) m_Ueberschrift = labels.ueberschrift;
    m_Legende1 = labels.legende1;
    m_Legende2 = labels.legende2;
    m_Legende3 = labels.legende3;
}

void CMorvekDoc::FillDialog(DlgInput& d) const {
    d.m_Gas = m_Gas;
    d.m_Messwerte = m_Messwerte;
    d.m_Feldname = m_Feldname;
    d.m_OOIP = m_OOIP;
    d.m_Initialdruck = m_Initialdruck;
    d.m_Temperatur = m_Temperatur;
    d.m_Entloesungsdruck = m_Entloesungsdruck;
    d.m_API = m_API;
    d.m_Swi = m_Swi;
    d.m_Sgc = m_Sgc;
    d.m_KroMax = m_KroMax;
    d.m_KrgMax = m_KrgMax;
    d.m_Gaskappe = m_Gaskappe;
    d.m_Methode = m_Methode;
    d.m_NuoPb = m_NuoPb;
    d.m_Rsi = m_Rsi;
    d.m_bPVTAusgabe = m_bPVTAusgabe;
    d.m_bRelPermAusgabe = m_bRelPermAusgabe;
    d.m_bMesswerteGeaendert = m_bGrafikNeu;
}

void CMorvekDoc::TakeFromDialog(const DlgInput& d) {
    // Change detection on the stored single-precision values.
    bool changed =
        d.m_Feldname != m_Feldname || d.m_OOIP != m_OOIP || d.m_Initialdruck != m_Initialdruck ||
        d.m_Temperatur != m_Temperatur || d.m_Entloesungsdruck != m_Entloesungsdruck ||
        d.m_API != m_API || d.m_Swi != m_Swi || d.m_Sgc != m_Sgc || d.m_KroMax != m_KroMax ||
        d.m_KrgMax != m_KrgMax || d.m_Gaskappe != m_Gaskappe || d.m_Methode != m_Methode ||
        d.m_bMesswerteGeaendert != m_bGrafikNeu || d.m_bPVTAusgabe != m_bPVTAusgabe ||
        d.m_NuoPb != m_NuoPb || d.m_Rsi != m_Rsi || d.m_bRelPermAusgabe != m_bRelPermAusgabe;
    for (int i = 0; i < kGasComponents; ++i) changed = changed || d.m_Gas[i] != m_Gas[i];
    m_bGeaendert = changed ? 1 : 0;

    m_Gas = d.m_Gas;
    if (m_bGeaendert) SetModifiedFlag(true);
    m_Feldname = d.m_Feldname;
    m_OOIP = d.m_OOIP;
    m_Initialdruck = d.m_Initialdruck;
    m_Temperatur = d.m_Temperatur;
    m_Entloesungsdruck = d.m_Entloesungsdruck;
    m_API = d.m_API;
    m_Swi = d.m_Swi;
    m_Sgc = d.m_Sgc;
    m_KroMax = d.m_KroMax;
    m_KrgMax = d.m_KrgMax;
    m_Gaskappe = d.m_Gaskappe;
    m_NuoPb = d.m_NuoPb;
    m_Rsi = d.m_Rsi;
    m_Methode = d.m_Methode;
    m_bPVTAusgabe = d.m_bPVTAusgabe;
    m_bRelPermAusgabe = d.m_bRelPermAusgabe;

    // The dialog's rows are the case's rows, an emptied list included: a user
    // who deletes every row means it.
    m_Messwerte = d.m_Messwerte;
    m_Max2Werte = m_bPVTAusgabe ? 0 : static_cast<int32_t>(m_Messwerte.size());
    if (m_bGeaendert) m_bGrafikNeu = 1;
}

bool CMorvekDoc::OnDataChange() {
    DlgInput dialog;
    FillDialog(dialog);
    if (m_pDataEntry == nullptr || !m_pDataEntry->RunModal(dialog)) return false;
    TakeFromDialog(dialog);
    RunCalculation();
    return true;
}

void CMorvekDoc::RunCalculation() {
    m_nPrognoseZeilen = 0;
    Gasprop();
    // May replace m_API: every result of the run then uses the accepted value.
    CheckOilGravity();
    if (m_bPVTAusgabe) PvtTable();
    // With both flags the table of relative permeabilities replaces the PVT table.
    if (m_bRelPermAusgabe) ComputeRelPerm();
    if (!m_bPVTAusgabe && !m_bRelPermAusgabe) ComputeDepletion();
    UpdateAllViews();
}

bool CMorvekDoc::HasResultTable() const {
    // The PVT and relative-permeability tables give one graph point for each
    // row with its numbers; the prediction's first point comes before its
    // first row, so it counts its rows.
    if (m_bPVTAusgabe || m_bRelPermAusgabe) return m_MaxWerte > 0;
    return m_nPrognoseZeilen > 0;
}

bool CMorvekDoc::OnFileNew() {
    if (!SaveModified()) return false;
    ResetCase();
    OnDataChange();
    return true;
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

CaseFileRecord CMorvekDoc::ToRecord() const {
    CaseFileRecord r;
    r.OOIP = m_OOIP;
    r.Initialdruck = m_Initialdruck;
    r.Temperatur = m_Temperatur;
    r.Entloesungsdruck = m_Entloesungsdruck;
    r.API = m_API;
    r.Swi = m_Swi;
    r.Sgc = m_Sgc;
    r.KroMax = m_KroMax;
    r.KrgMax = m_KrgMax;
    r.Gaskappe = m_Gaskappe;
    r.Methode = m_Methode;
    r.Feldname = m_Feldname;
    r.NuoPb = m_NuoPb;
    r.Rsi = m_Rsi;
    r.Gas = m_Gas;
    r.Messwerte = m_Messwerte;
    return r;
}

void CMorvekDoc::FromRecord(CaseFileRecord r) {
    m_OOIP = r.OOIP;
    m_Initialdruck = r.Initialdruck;
    m_Temperatur = r.Temperatur;
    m_Entloesungsdruck = r.Entloesungsdruck;
    m_API = r.API;
    m_Swi = r.Swi;
    m_Sgc = r.Sgc;
    m_KroMax = r.KroMax;
    m_KrgMax = r.KrgMax;
    m_Gaskappe = r.Gaskappe;
    m_Methode = r.Methode;
    m_Feldname = std::move(r.Feldname);
    m_NuoPb = r.NuoPb;
    m_Rsi = r.Rsi;
    m_Gas = r.Gas;
    m_Messwerte = std::move(r.Messwerte);
}

bool CMorvekDoc::Serialize(CaseArchive& ar) {
    if (ar.IsStoring()) return EncodeCaseFile(ToRecord(), ar.Bytes(), ar.Problem());
    CaseFileRecord record;
    if (!DecodeCaseFile(ar.Bytes(), record)) return false;
    // Moved, not copied: the texts of a large file are held once.
    FromRecord(std::move(record));
    return true;
}

bool CMorvekDoc::OnOpenDocument(const std::string& path) {
    if (!ReadCaseFile(path)) return false;
    OnDataChange();
    m_bGeaendert = 1;
    m_bGrafikNeu = 1;
    // A case just opened carries no modified mark, whatever the dialog found.
    SetModifiedFlag(false);
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
