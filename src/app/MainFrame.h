#pragma once
// The main window: menu bar, toolbar and status bar, the report view and the
// graph view over the one case (the graph view made on the first "Grafik" and
// kept), the context menu, the file, print and help commands and the question
// before a modified case is closed or replaced.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/HelpViewer.h"
#include "app/ResultsOverview.h"
#include "base/qt/QtMessageSink.h"
#include "input/qt/QtDataEntryRunner.h"

class CMorvekDoc;
struct CaseState;
#include "views/qt/GraphWindow.h"
class OverviewWidget;
class QTemporaryFile;
class QUndoStack;
class CaseFileDialogs;
class CaseScrollView;
class GraphViewWidget;
class MatchWindows;
class QAction;
class QMenu;
class QPrinter;
class QSettings;
class QStackedWidget;
class QToolBar;
class RecentFileList;
class ReportViewWidget;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CMorvekDoc& doc, QSettings& profile, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // --- Ports (the tests script them) -------------------------------------------
    // nullptr gives back the frame's message boxes.
    void SetMessageSink(MessageSink* sink);
    MessageSink& Messages();
    void SetCaseFileDialogs(CaseFileDialogs* dialogs);
    QtDataEntryRunner& DataEntry() { return m_DataEntry; }
    // A help file other than the installed one; an empty path means "none".
    void SetHelpFile(std::optional<QString> path) { m_HelpFile = std::move(path); }

    // --- What the window holds ---------------------------------------------------------
    CMorvekDoc& Document() { return m_Doc; }
    CaseScrollView* ActiveView() const { return m_pActiveView; }
    ReportViewWidget* ReportView() const { return m_pReportView; }
    // nullptr until the first "Grafik" command.
    GraphViewWidget* GraphView() const { return m_pGraphView; }
    // The results overview ("Ansicht" > "Übersicht").
    OverviewWidget* Overview() const { return m_pOverview; }
    bool OverviewShown() const;
    QUndoStack* UndoStack() const { return m_pUndo; }
    MatchWindows* Match() const { return m_pMatch; }
    // The window of "Fälle vergleichen…", nullptr until it was used.
    GraphWindow* Comparison() const { return m_pComparison; }
    // What the window keeps of the last uncertainty run.
    const std::optional<SweepSummary>& LastSweep() const { return m_LastSweep; }
    QAction* Action(int commandId) const;
    QMenu* ContextMenu() const { return m_pContextMenu; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    HelpViewer* Help() const { return m_pHelp; }
    RecentFileList& RecentFiles() { return *m_pRecent; }

    // --- Commands ---------------------------------------------------------------------
    void OnGrafik();
    void OnText();
    void OnGrafiklupe();
    void OnHilfe();
    void OnAppAbout();
    void OnDataChange();
    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Opens a case (command line, recent list, a dropped file) after asking
    // about a modified one; true when it was opened.
    bool OpenCase(const QString& path);
    // The same for a path as the file system names it (the command line's
    // bytes, which need not be UTF-8).
    bool OpenCase(const std::string& fileSystemPath);
    void OnErgebnisseSpeichern();
    void OnErgebnisseEinlesen();
    void OnUnsicherheitsanalyse();
    void OnPrognose();
    void OnUebersicht();
    void OnUndo();
    void OnRedo();
    // "Datei" > "Exportieren…": the choice, then the file; true when written.
    bool OnFileExport();
    // "Ansicht" > "Fälle vergleichen…": up to eight case files, computed and
    // drawn over one another in one graph.
    void OnFaelleVergleichen();
    // The comparison of these case files (the command after the files are chosen).
    bool CompareCases(const QStringList& paths);
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    // Prints the active view on a printer that is set up already.
    void PrintActiveView(QPrinter& printer);

    // Enable and check states of the commands, the caption with the case's
    // name and modified mark; run after every command, as the window idles.
    void UpdateCommandUI();
    void ShowContextMenu(const QPoint& globalPos);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class ViewKind { Report, Graph, Overview };

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void RebuildRecentFileMenu();
    QAction* NewAction(int commandId, const QString& text);
    void Connect(int commandId, void (CMainFrame::*handler)());
    void Connect(int commandId, std::function<void()> command);
    void SwitchToView(ViewKind target);
    void OnDocumentChanged();
    void HandGraphOver();
    // Every change of the case becomes an undo step; a case replaced (new,
    // opened) starts without steps; a case saved is the clean state.
    void OnCaseChanged(const CaseState& before, const CaseState& after, const std::string& what);
    void AfterUndoStep();
    // The overview's lines for an abandonment pressure.
    std::vector<OverviewLine> OverviewLines(float abandonmentBar) const;
    // Writes the samples of the last uncertainty run into path, line by
    // line, with a decimal comma where asked.
    bool WriteSamples(const std::string& path, bool decimalComma, std::string& error) const;
    void OnOpenRecentFile(int index);
    bool OpenCaseFile(const QString& path);
    bool OpenCaseFile(const std::string& absolutePath);

    CMorvekDoc& m_Doc;
    QtMessageSink m_OwnMessages;
    MessageSink* m_pMessages;
    std::unique_ptr<CaseFileDialogs> m_pOwnFileDialogs;
    CaseFileDialogs* m_pFileDialogs;
    QtDataEntryRunner m_DataEntry;
    std::unique_ptr<RecentFileList> m_pRecent;
    std::unique_ptr<QPrinter> m_pPrinter;
    std::optional<QString> m_HelpFile;

    std::map<int, QAction*> m_Actions;
    std::map<int, QAction*> m_ContextActions;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentAnchor = nullptr;
    QList<QAction*> m_RecentActions;
    QMenu* m_pContextMenu = nullptr;
    QToolBar* m_pToolBar = nullptr;

    QStackedWidget* m_pViews = nullptr;
    ReportViewWidget* m_pReportView = nullptr;
    GraphViewWidget* m_pGraphView = nullptr;
    CaseScrollView* m_pActiveView = nullptr;
    OverviewWidget* m_pOverview = nullptr;
    QUndoStack* m_pUndo = nullptr;
    bool m_bUndoing = false;
    QPointer<GraphWindow> m_pComparison;
    std::optional<SweepSummary> m_LastSweep;
    std::unique_ptr<QTemporaryFile> m_pSweepSamples;
    QPointer<HelpViewer> m_pHelp;
    MatchWindows* m_pMatch = nullptr;  // the history match's dialog and graphs
};
