#include "match/qt/MatchWindows.h"

#include "base/MessageSink.h"
#include "case/MorvekDoc.h"
#include "input/CaseRefusal.h"
#include "match/DiagnosticGraphs.h"
#include "match/qt/DiagnosticGraphWindow.h"
#include "match/qt/MatchDialog.h"

namespace {

constexpr const char* kNoPrediction =
    "Die Diagnosen gehören zu einer Vorhersage: bitte den Fall zuerst berechnen "
    "(Bearbeiten > Daten ändern, OK).";

// Why the drive indices have no prediction to show: the case was not
// computed, or its last run was one of the tables.
std::string NoPredictionReason(const CMorvekDoc& doc) {
    const auto& run = doc.LastRun();
    if (run && run->kind == morvek::ResultKind::PvtTable)
        return "Die Antriebsindizes gehören zu einer Vorhersage; die letzte Rechnung war die "
               "PVT-Tabelle. Bitte \"PVT-Daten ausgeben\" abwählen und neu rechnen "
               "(Bearbeiten > Daten ändern, OK).";
    if (run && run->kind == morvek::ResultKind::RelPermTable)
        return "Die Antriebsindizes gehören zu einer Vorhersage; die letzte Rechnung war die "
               "Tabelle der relativen Permeabilitäten. Bitte \"Relative Permeabilitäten "
               "ausgeben\" abwählen und neu rechnen (Bearbeiten > Daten ändern, OK).";
    return kNoPrediction;
}

std::string WithoutErrorMark(const std::string& text) {
    const std::string mark = "FEHLER!!\n";
    return text.rfind(mark, 0) == 0 ? text.substr(mark.size()) : text;
}

// The prediction of the case's last run, if that run was one.
const morvek::PredictionResult* LastPrediction(const CMorvekDoc& doc) {
    const auto& run = doc.LastRun();
    if (!run || !run->prediction || run->prediction->steps.empty()) return nullptr;
    return &*run->prediction;
}

}  // namespace

MatchWindows::MatchWindows(CMorvekDoc& doc, QWidget* frame)
    : QObject(frame), m_Doc(doc), m_pFrame(frame) {
    QPointer<MatchWindows> self(this);
    // Open graph windows follow every new run of the case.
    m_Doc.AddViewListener([self] {
        if (!self) return;
        if (self->m_pHavlenaOdeh) self->FillHavlenaOdeh(false);
        if (self->m_pDriveIndices) self->FillDriveIndices(false);
    });
}

void MatchWindows::OnAnpassung() {
    MatchDialog dialog(m_Doc, m_pFrame);
    m_pDialog = &dialog;
    dialog.exec();
    if (dialog.Result()) m_LastResult = *dialog.Result();
}

bool MatchWindows::FillHavlenaOdeh(bool tell) {
    std::string problem;
    morvek::HavlenaOdehResult h;
    // Havlena-Odeh needs the case's fluids and its rows, not a prediction:
    // a case the data-entry dialog accepts.
    if (const std::string refused = RefusalOfCase(m_Doc.m_Inputs); !refused.empty()) {
        problem = "Havlena-Odeh braucht einen Fall, den die Dateneingabe annimmt:\n" +
                  WithoutErrorMark(refused);
    } else {
        h = morvek::HavlenaOdeh(m_Doc.m_Inputs);
        if (h.points.empty())
            problem = h.rowsBelowTable > 0
                          ? "Havlena-Odeh: Alle Meßwerte mit Gas-Öl-Verhältnis liegen unter der "
                            "PVT-Tabelle, die nicht extrapoliert wird."
                          : "Havlena-Odeh braucht Meßwerte mit Gas-Öl-Verhältnis; der Fall hat "
                            "keine.";
    }
    if (!problem.empty()) {
        if (tell) m_Doc.Messages().Warn(problem);
        if (m_pHavlenaOdeh)
            m_pHavlenaOdeh->ShowPages(m_Doc.m_Feldname, m_Doc.GetPathName(), {}, problem);
        return false;
    }
    std::vector<DiagnosticGraphWindow::Page> pages = {
        {QStringLiteral("F gegen Et"), morvek::HavlenaOdehGraph(h), morvek::kHavlenaOdehTitle}};
    if (m_Doc.m_Gaskappe > 0.0f)
        pages.push_back({QStringLiteral("F/Eo gegen (Bg-Bgi)/Eo"),
                         morvek::GasCapHavlenaOdehGraph(h), morvek::kGasCapHavlenaOdehTitle});
    m_pHavlenaOdeh->ShowPages(m_Doc.m_Feldname, m_Doc.GetPathName(), pages);
    return true;
}

bool MatchWindows::FillDriveIndices(bool tell) {
    const morvek::PredictionResult* prediction = LastPrediction(m_Doc);
    if (prediction == nullptr) {
        const std::string problem = NoPredictionReason(m_Doc);
        if (tell) m_Doc.Messages().Warn(problem);
        if (m_pDriveIndices)
            m_pDriveIndices->ShowPages(m_Doc.m_Feldname, m_Doc.GetPathName(), {}, problem);
        return false;
    }
    const auto steps = morvek::DriveIndices(*prediction, morvek::Reservoir::Of(m_Doc.m_Inputs));
    m_pDriveIndices->ShowPages(m_Doc.m_Feldname, m_Doc.GetPathName(),
                               {{QStringLiteral("Antriebsindizes"), morvek::DriveIndexGraph(steps),
                                 morvek::kDriveIndexTitle}});
    return true;
}

void MatchWindows::OnHavlenaOdeh() {
    const bool created = !m_pHavlenaOdeh;
    if (created)
        m_pHavlenaOdeh =
            new DiagnosticGraphWindow(QStringLiteral("Havlena-Odeh"), m_Doc.Messages(), m_pFrame);
    if (!FillHavlenaOdeh(true)) {
        if (created) delete m_pHavlenaOdeh;
        return;
    }
    m_pHavlenaOdeh->show();
    m_pHavlenaOdeh->raise();
}

void MatchWindows::OnAntriebsindizes() {
    const bool created = !m_pDriveIndices;
    if (created)
        m_pDriveIndices = new DiagnosticGraphWindow(QStringLiteral("Antriebsindizes"),
                                                    m_Doc.Messages(), m_pFrame);
    if (!FillDriveIndices(true)) {
        if (created) delete m_pDriveIndices;
        return;
    }
    m_pDriveIndices->show();
    m_pDriveIndices->raise();
}
