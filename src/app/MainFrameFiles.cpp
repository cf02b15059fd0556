// The main window's file and print commands: New, Open, Save, Save As, the
// recent-file list, a file dropped on the window, closing, printing and the
// print preview of the active view.

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QUndoStack>

#include "app/CaseFileDialogs.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "case/MorvekDoc.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

std::string ToFileSystem(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromFileSystem(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The local file of a drop, if the drop carries exactly that.
QString DroppedFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) return QString();
    const QUrl url = mime->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void CMainFrame::OnFileNew() {
    m_Doc.OnFileNew();
}

void CMainFrame::OnFileOpen() {
    if (!m_Doc.SaveModified()) return;
    const std::optional<QString> path = m_pFileDialogs->ChooseCaseToOpen(this);
    if (path) OpenCaseFile(*path);
}

bool CMainFrame::OpenCase(const QString& path) {
    if (!m_Doc.SaveModified()) return false;
    return OpenCaseFile(path);
}

bool CMainFrame::OpenCase(const std::string& fileSystemPath) {
    if (!m_Doc.SaveModified()) return false;
    // Made absolute by its bytes: a name that is no UTF-8 would not survive
    // the way through a QString.
    std::string absolute = fileSystemPath;
    if (!absolute.starts_with('/'))
        absolute = ToFileSystem(QDir::currentPath()) + "/" + fileSystemPath;
    return OpenCaseFile(absolute);
}

bool CMainFrame::OpenCaseFile(const QString& path) {
    return OpenCaseFile(ToFileSystem(QFileInfo(path).absoluteFilePath()));
}

bool CMainFrame::OpenCaseFile(const std::string& absolute) {
    if (!m_Doc.OnOpenDocument(absolute)) return false;
    m_pRecent->Add(FromFileSystem(absolute));
    RebuildRecentFileMenu();
    // Opening a case repeats every view's initial update: the graph waits for
    // the case's recompute request before it draws again.
    m_pReportView->OnInitialUpdate();
    if (m_pGraphView != nullptr) {
        m_pGraphView->OnInitialUpdate();
        HandGraphOver();
    }
    UpdateCommandUI();
    return true;
}

void CMainFrame::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_pRecent->Files().size()) return;
    const QString path = m_pRecent->Files().at(index);
    if (!m_Doc.SaveModified()) return;
    if (!QFileInfo::exists(path)) {
        Messages().Show(QStringLiteral("Die Datei %1 ist nicht mehr vorhanden.")
                            .arg(QDir::toNativeSeparators(path))
                            .toStdString());
        m_pRecent->Remove(path);
        RebuildRecentFileMenu();
        return;
    }
    OpenCaseFile(path);
}

bool CMainFrame::OnFileSave() {
    if (m_Doc.GetPathName().empty()) return OnFileSaveAs();
    if (!m_Doc.OnSaveDocument(m_Doc.GetPathName())) return false;
    m_pUndo->setClean();
    m_pRecent->Add(FromFileSystem(m_Doc.GetPathName()));
    RebuildRecentFileMenu();
    UpdateCommandUI();
    return true;
}

bool CMainFrame::OnFileSaveAs() {
    QString suggestion = FromFileSystem(m_Doc.GetPathName());
    if (suggestion.isEmpty())
        suggestion = QDir::current().filePath(FromFileSystem(m_Doc.GetTitle()) +
                                              QStringLiteral(".") + kCaseFileExtension);
    const std::optional<QString> path = m_pFileDialogs->ChooseCaseToSave(this, suggestion);
    if (!path) return false;
    const QString absolute = QFileInfo(*path).absoluteFilePath();
    if (!m_Doc.OnSaveDocument(ToFileSystem(absolute))) return false;
    m_pUndo->setClean();
    m_pRecent->Add(absolute);
    RebuildRecentFileMenu();
    // The graph's footer names the file: it shows the new path at once.
    if (m_pGraphView != nullptr) m_pGraphView->SetPath(m_Doc.GetPathName());
    UpdateCommandUI();
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_Doc.SaveModified()) {
        event->ignore();
        return;
    }
    if (m_pHelp) m_pHelp->close();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    activateWindow();
    OpenCase(path);
    UpdateCommandUI();
}

// --- Printing ---------------------------------------------------------------------------------

void CMainFrame::PrintActiveView(QPrinter& printer) {
    if (m_pActiveView != nullptr) m_pActiveView->PrintTo(printer);
}

void CMainFrame::OnFilePrint() {
    // A PDF printed from here carries the case's title as its title.
    m_pPrinter->setDocName(QFile::decodeName(QByteArray::fromStdString(m_Doc.GetTitle())));
    QPrintDialog dialog(m_pPrinter.get(), this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted) PrintActiveView(*m_pPrinter);
}

void CMainFrame::OnFilePrintPreview() {
    m_pPrinter->setDocName(QFile::decodeName(QByteArray::fromStdString(m_Doc.GetTitle())));
    QPrintPreviewDialog preview(m_pPrinter.get(), this);
    preview.setWindowTitle(QStringLiteral("Seitenansicht"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintActiveView(*printer); });
    preview.exec();
}

void CMainFrame::OnFilePrintSetup() {
    QPageSetupDialog dialog(m_pPrinter.get(), this);
    dialog.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    dialog.exec();
}
