// The main window's commands on the case's results and changes: undo and
// redo of every change, the results overview, the export for spreadsheets
// and the comparison of saved cases in one graph.

#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QUndoStack>
#include <algorithm>
#include <fstream>

#include "app/CaseFileDialogs.h"
#include "app/ExportDialog.h"
#include "app/MainFrame.h"
#include "app/OverviewWidget.h"
#include "base/AtomicFileWriter.h"
#include "base/FileIO.h"
#include "base/Format.h"
#include "base/MessageSink.h"
#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "input/CaseRefusal.h"
#include "match/qt/MatchWindows.h"
#include "model/CaseFile.h"
#include "report/SeriesCsv.h"
#include "results/ExportCsv.h"
#include "views/Grafik.h"
#include "views/GraphPage.h"
#include "views/qt/GraphWindow.h"

namespace {

// Cases a comparison draws at most: as many colours as the page has.
constexpr int kMostComparedCases = kOverlayColours;

// One change of the case: undoing it puts the state before back, redoing it
// the state after. Pushed once the change is made, so its first redo does
// nothing.
class CaseChangeCommand : public QUndoCommand {
public:
    CaseChangeCommand(CMorvekDoc& doc, CaseState before, CaseState after, const QString& text)
        : QUndoCommand(text), m_Doc(doc), m_Before(std::move(before)), m_After(std::move(after)) {}
    void undo() override { m_Doc.RestoreState(m_Before); }
    void redo() override {
        if (m_bDone) {
            m_bDone = false;
            return;
        }
        m_Doc.RestoreState(m_After);
    }

private:
    CMorvekDoc& m_Doc;
    CaseState m_Before;
    CaseState m_After;
    bool m_bDone = true;
};

QString Q(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

std::string ToFileSystem(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

// --- Undo -----------------------------------------------------------------------------------

void CMainFrame::OnCaseChanged(const CaseState& before, const CaseState& after,
                               const std::string& what) {
    if (m_bUndoing) return;
    if (what.empty()) {
        // A case replaced: nothing of the case before can be undone.
        m_pUndo->clear();
    } else {
        m_pUndo->push(new CaseChangeCommand(m_Doc, before, after, Q(what)));
    }
    UpdateCommandUI();
}

void CMainFrame::AfterUndoStep() {
    // Back at the state last saved (or opened), the case is no longer
    // modified; any other step modifies it.
    m_Doc.SetModifiedFlag(!m_pUndo->isClean());
    UpdateCommandUI();
}

void CMainFrame::OnUndo() {
    if (!m_pUndo->canUndo()) return;
    m_bUndoing = true;
    m_pUndo->undo();
    m_bUndoing = false;
    AfterUndoStep();
}

void CMainFrame::OnRedo() {
    if (!m_pUndo->canRedo()) return;
    m_bUndoing = true;
    m_pUndo->redo();
    m_bUndoing = false;
    AfterUndoStep();
}

// --- Overview -------------------------------------------------------------------------------

std::vector<OverviewLine> CMainFrame::OverviewLines(float abandonmentBar) const {
    const auto& match = m_pMatch->LastResult();
    return ::Overview(m_Doc, abandonmentBar, match ? &*match : nullptr,
                      m_LastSweep ? &*m_LastSweep : nullptr);
}

// --- Export ---------------------------------------------------------------------------------

bool CMainFrame::WriteSamples(const std::string& path, bool decimalComma,
                              std::string& error) const {
    std::ifstream in(ToFileSystem(m_pSweepSamples->fileName()), std::ios::binary);
    AtomicFileWriter out;
    if (!in || !out.Open(path, error)) {
        if (error.empty()) error = "Die Stichproben sind nicht mehr lesbar.";
        return false;
    }
    // Line by line: a run of millions of samples is never held whole.
    std::string line;
    while (std::getline(in, line)) {
        out.Append((decimalComma ? CsvWithDecimalComma(line) : line) + '\n');
    }
    if (in.bad()) {
        error = "Lesefehler der Zwischendatei";
        return false;
    }
    return out.Commit(error);
}

bool CMainFrame::OnFileExport() {
    const auto& run = m_Doc.LastRun();
    const bool steps = run && run->prediction && !run->prediction->steps.empty();
    const bool samples = m_pSweepSamples != nullptr;
    ExportDialog choice(steps, samples, this);
    if (choice.exec() != QDialog::Accepted) return false;
    const ExportDialog::What what = choice.Choice();
    const bool comma = choice.DecimalComma();

    static const std::map<ExportDialog::What, const char*> kSuffix = {
        {ExportDialog::What::Curves, "kurven"},
        {ExportDialog::What::Steps, "schritte"},
        {ExportDialog::What::Overview, "uebersicht"},
        {ExportDialog::What::Samples, "stichproben"},
    };
    QString base = QFileInfo(QFile::decodeName(QByteArray::fromStdString(m_Doc.GetTitle())))
                       .completeBaseName();
    if (base.isEmpty()) base = QStringLiteral("morvek");
    const std::optional<QString> chosen = m_pFileDialogs->ChooseExportFile(
        this, base + QLatin1Char('-') + QString::fromLatin1(kSuffix.at(what)) +
                  QStringLiteral(".csv"));
    if (!chosen) return false;
    std::string path = ToFileSystem(QFileInfo(*chosen).absoluteFilePath());
    if (FileNameOf(path).find('.') == std::string::npos) path += ".csv";

    std::string error;
    bool written = false;
    switch (what) {
        case ExportDialog::What::Samples:
            written = samples && WriteSamples(path, comma, error);
            if (!samples) error = "Es gibt keine Stichproben einer Unsicherheitsanalyse.";
            break;
        case ExportDialog::What::Curves:
        case ExportDialog::What::Steps:
        case ExportDialog::What::Overview: {
            std::string text;
            if (what == ExportDialog::What::Curves)
                text = morvek::SeriesCsvText(m_Doc.m_Graph, m_Doc.ResultKind());
            else if (what == ExportDialog::What::Steps && steps)
                text = StepTableCsvText(*run->prediction);
            else if (what == ExportDialog::What::Overview)
                text = OverviewCsvText(OverviewLines(m_pOverview->AbandonmentBar()), false);
            if (comma) text = CsvWithDecimalComma(text);
            written = WriteExportFile(path, text, error);
            break;
        }
    }
    if (!written) {
        Messages().Warn(error.rfind("Die Datei ", 0) == 0
                            ? error
                            : Format("Die Datei %s kann nicht geschrieben werden.\n%s",
                                     DisplayPath(path).c_str(), error.c_str()));
        return false;
    }
    statusBar()->showMessage(Q(Format("%s ist geschrieben.", DisplayPath(path).c_str())), 5000);
    return true;
}

// --- Comparison of cases ----------------------------------------------------------------------

void CMainFrame::OnFaelleVergleichen() {
    const QStringList paths = m_pFileDialogs->ChooseCasesToCompare(this);
    if (!paths.isEmpty()) CompareCases(paths);
}

bool CMainFrame::CompareCases(const QStringList& paths) {
    if (paths.size() > kMostComparedCases) {
        Messages().Warn(Format("Bis zu %d Fälle lassen sich in einer Grafik vergleichen; "
                               "gewählt sind %d.",
                               kMostComparedCases, static_cast<int>(paths.size())));
        return false;
    }
    GraphPage page;
    std::vector<std::string> names, skipped, fileNames;
    for (const QString& chosen : paths) {
        const std::string path = ToFileSystem(QFileInfo(chosen).absoluteFilePath());
        const std::string name = FileNameOf(path);
        std::string bytes, error;
        morvek::CaseInputs inputs;
        if (!ReadWholeFile(path, bytes, error)) {
            skipped.push_back(DisplayPath(name) + ": " + error);
            continue;
        }
        if (!DecodeCaseFile(bytes, inputs)) {
            skipped.push_back(DisplayPath(name) + ": keine gültige Morvek-Datei");
            continue;
        }
        if (const std::string refused = RefusalOfCase(inputs); !refused.empty()) {
            skipped.push_back(DisplayPath(name) + ": " + OneLineText(refused));
            continue;
        }
        // The case as it is saved: its own gravity, no question asked.
        const morvek::CaseRun run = morvek::RunCase(inputs, morvek::ResultKind::Prediction);
        if (!run.HasResultTable()) {
            skipped.push_back(DisplayPath(name) + ": keine sinnvolle Berechnung möglich");
            continue;
        }
        const morvek::GraphSeries& g = run.graph;
        if (page.overlays.empty()) {
            page.graph.labels = g.labels;
            page.graph.labels.heading = "Druck und GOEV (gestrichelt)";
            page.graph.labels.legend1.clear();
            page.graph.labels.legend2.clear();
            page.graph.labels.legend3.clear();
        }
        OverlayCurve curve;
        curve.name = inputs.fieldName;
        fileNames.push_back(name);
        for (int i = 0; i < std::min(g.curvePoints, morvek::kSeriesLength); ++i) {
            curve.x.push_back(g.x[i]);
            curve.y1.push_back(g.y1[i]);
            curve.y2.push_back(g.y2[i]);
        }
        page.overlays.push_back(std::move(curve));
        names.push_back(DisplayPath(name));
    }
    if (!skipped.empty()) {
        std::string text = "Nicht im Vergleich:";
        for (const std::string& s : skipped) text += "\n" + s;
        Messages().Warn(text);
    }
    if (page.overlays.empty()) return false;
    // The legend names a case by its field, short enough for three a line;
    // by its file too where the field has no name or another case has it.
    std::vector<std::string> fields;
    for (const OverlayCurve& o : page.overlays) fields.push_back(o.name);
    for (size_t i = 0; i < page.overlays.size(); ++i) {
        const std::string& field = fields[i];
        if (field.empty())
            page.overlays[i].name = fileNames[i];
        else if (std::count(fields.begin(), fields.end(), field) > 1)
            page.overlays[i].name = fileNames[i] + " (" + field + ")";
    }
    page.title = "Fallvergleich";
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
    page.footer = "Fälle: " + list;
    page.path = ToFileSystem(QFileInfo(paths.front()).absolutePath());
    if (!m_pComparison) m_pComparison = new GraphWindow(QStringLiteral("Fälle vergleichen"),
                                                         Messages(), this);
    m_pComparison->ShowGraphs({{QStringLiteral("Vergleich"), page, "Fallvergleich"}});
    m_pComparison->show();
    m_pComparison->raise();
    return true;
}
