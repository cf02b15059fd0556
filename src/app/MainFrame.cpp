#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSettings>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QToolBar>
#include <QUndoStack>

#include "app/AboutDlg.h"
#include "app/CaseFileDialogs.h"
#include "app/Commands.h"
#include "app/HelpViewer.h"
#include "base/qt/ScreenRoom.h"
#include "app/RecentFileList.h"
#include "app/OverviewWidget.h"
#include "app/ToolbarIcons.h"
#include "case/MorvekDoc.h"
#include "match/qt/MatchWindows.h"
#include "input/qt/QtFileChooser.h"
#include "waterdrive/qt/WaterDriveDialog.h"
#include "forecast/qt/ForecastDialog.h"
#include "results/ResultsFile.h"
#include "sweep/qt/SweepDialog.h"
#include "views/GraphPage.h"
#include "views/qt/GraphViewWidget.h"
#include "views/qt/ReportViewWidget.h"

namespace {

constexpr const char* kIdleText = "Bereit";
constexpr const char* kAppTitle = "morvek";

const std::map<int, ToolIcon>& ToolIcons() {
    static const std::map<int, ToolIcon> icons = {
        {ID_FILE_NEW, ToolIcon::New},    {ID_FILE_OPEN, ToolIcon::Open},
        {ID_FILE_SAVE, ToolIcon::Save},  {ID_GRAFIK, ToolIcon::Grafik},
        {ID_TEXT, ToolIcon::Text},       {ID_DATEN_AENDERN, ToolIcon::DatenAendern},
        {ID_GRAFIKLUPE, ToolIcon::Lupe}, {ID_FILE_PRINT, ToolIcon::Print},
        {ID_APP_ABOUT, ToolIcon::About}, {ID_HILFE, ToolIcon::About},
    };
    return icons;
}

}  // namespace

CMainFrame::CMainFrame(CMorvekDoc& doc, QSettings& profile, QWidget* parent)
    : QMainWindow(parent),
      m_Doc(doc),
      m_OwnMessages(this),
      m_pMessages(&m_OwnMessages),
      m_pOwnFileDialogs(std::make_unique<QtCaseFileDialogs>()),
      m_pFileDialogs(m_pOwnFileDialogs.get()),
      m_DataEntry(this),
      m_pRecent(std::make_unique<RecentFileList>(profile)),
      m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    // The report view exists from the start; the graph view joins on demand.
    m_pViews = new QStackedWidget(this);
    m_pReportView = new ReportViewWidget(
        m_Doc.m_Text, [this] { return m_Doc.GetPathName(); }, m_pViews);
    m_pViews->addWidget(m_pReportView);
    m_pActiveView = m_pReportView;
    m_pOverview = new OverviewWidget(
        [this](float abandonmentBar) { return OverviewLines(abandonmentBar); },
        [this]() -> MessageSink& { return Messages(); }, m_pViews);
    m_pViews->addWidget(m_pOverview);
    setCentralWidget(m_pViews);
    m_pReportView->OnInitialUpdate();

    m_Doc.SetMessageSink(m_pMessages);
    m_DataEntry.SetMessageSink(m_pMessages);
    m_Doc.SetDataEntryRunner(&m_DataEntry);
    QPointer<CMainFrame> self(this);
    m_Doc.SetSaveHandler([self] { return self ? self->OnFileSave() : false; });
    m_Doc.AddViewListener([self] {
        if (self) self->OnDocumentChanged();
    });
    m_Doc.SetChangeListener(
        [self](const CaseState& before, const CaseState& after, const std::string& what) {
            if (self) self->OnCaseChanged(before, after, what);
        });

    // Within the screen's room: on a 1280x720 screen the status bar stays on it.
    ResizeWithinScreen(*this, {980, 760});
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    // The case outlives the window: it must not call into a frame that is gone.
    m_Doc.SetDataEntryRunner(nullptr);
    m_Doc.SetMessageSink(nullptr);
    m_Doc.SetSaveHandler(nullptr);
    m_Doc.SetChangeListener(nullptr);
    if (m_pHelp) delete m_pHelp;
}

// --- Construction ------------------------------------------------------------------------

QAction* CMainFrame::NewAction(int commandId, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("cmd%1").arg(commandId));
    const CommandPrompt prompt = PromptOf(commandId);
    action->setStatusTip(prompt.status);
    action->setToolTip(prompt.toolTip.isEmpty() ? prompt.status : prompt.toolTip);
    auto icon = ToolIcons().find(commandId);
    if (icon != ToolIcons().end()) action->setIcon(MakeToolIcon(icon->second));
    // The menus show their icons only in the toolbar, as they always did.
    action->setIconVisibleInMenu(false);
    return action;
}

void CMainFrame::Connect(int commandId, void (CMainFrame::*handler)()) {
    Connect(commandId, [this, handler] { (this->*handler)(); });
}

void CMainFrame::Connect(int commandId, std::function<void()> command) {
    connect(m_Actions.at(commandId), &QAction::triggered, this, [this, command] {
        command();
        UpdateCommandUI();
    });
}

void CMainFrame::CreateActions() {
    for (const MenuDefinition& menu : MenuBarDefinition())
        for (const MenuEntry& entry : menu.entries)
            if (entry.id != 0)
                m_Actions[entry.id] = NewAction(entry.id, QString::fromUtf8(entry.text));
    m_Actions[ID_GRAFIKLUPE] = NewAction(ID_GRAFIKLUPE, QStringLiteral("Grafik Lupe"));
    m_Actions[ID_GRAFIKLUPE]->setCheckable(true);
    m_Actions[ID_GRAFIK_EINPASSEN]->setCheckable(true);
    m_Actions[ID_GRAFIK_EINPASSEN]->setChecked(true);
    connect(m_Actions[ID_GRAFIK_EINPASSEN], &QAction::toggled, this, [this](bool fit) {
        if (m_pGraphView != nullptr) m_pGraphView->SetFitToWindow(fit);
        UpdateCommandUI();
    });

    m_Actions[ID_FILE_NEW]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_Actions[ID_FILE_OPEN]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_Actions[ID_FILE_SAVE]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_Actions[ID_FILE_PRINT]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_Actions[ID_EDIT_UNDO]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_Actions[ID_EDIT_REDO]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    // The function keys are window shortcuts (they reach the command from
    // anywhere in the window); the menus show them in their texts.
    for (auto [key, id] : {std::pair{Qt::Key_F1, ID_HILFE}, std::pair{Qt::Key_F2, ID_DATEN_AENDERN},
                           std::pair{Qt::Key_F4, ID_TEXT}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        QAction* action = m_Actions.at(id);
        connect(shortcut, &QShortcut::activated, action, [action] {
            if (action->isEnabled()) action->trigger();
        });
    }

    Connect(ID_FILE_NEW, &CMainFrame::OnFileNew);
    Connect(ID_FILE_OPEN, &CMainFrame::OnFileOpen);
    connect(m_Actions[ID_FILE_SAVE], &QAction::triggered, this, [this] {
        OnFileSave();
        UpdateCommandUI();
    });
    connect(m_Actions[ID_FILE_SAVE_AS], &QAction::triggered, this, [this] {
        OnFileSaveAs();
        UpdateCommandUI();
    });
    Connect(ID_FILE_PRINT, &CMainFrame::OnFilePrint);
    Connect(ID_FILE_PRINT_PREVIEW, &CMainFrame::OnFilePrintPreview);
    Connect(ID_FILE_PRINT_SETUP, &CMainFrame::OnFilePrintSetup);
    connect(m_Actions[ID_APP_EXIT], &QAction::triggered, this, &QWidget::close);
    Connect(ID_DATEN_AENDERN, &CMainFrame::OnDataChange);
    Connect(ID_ERGEBNISSE_SPEICHERN, &CMainFrame::OnErgebnisseSpeichern);
    Connect(ID_ERGEBNISSE_EINLESEN, &CMainFrame::OnErgebnisseEinlesen);
    Connect(ID_UNSICHERHEITSANALYSE, &CMainFrame::OnUnsicherheitsanalyse);
    Connect(ID_PROGNOSE, &CMainFrame::OnPrognose);
    Connect(ID_UEBERSICHT, &CMainFrame::OnUebersicht);
    Connect(ID_EDIT_UNDO, &CMainFrame::OnUndo);
    Connect(ID_EDIT_REDO, &CMainFrame::OnRedo);
    Connect(ID_FILE_EXPORT, [this] { OnFileExport(); });
    Connect(ID_FAELLE_VERGLEICHEN, &CMainFrame::OnFaelleVergleichen);
    m_pUndo = new QUndoStack(this);
    Connect(ID_GRAFIK, &CMainFrame::OnGrafik);
    Connect(ID_TEXT, &CMainFrame::OnText);
    Connect(ID_GRAFIKLUPE, &CMainFrame::OnGrafiklupe);
    Connect(ID_APP_ABOUT, &CMainFrame::OnAppAbout);
    Connect(ID_HILFE, &CMainFrame::OnHilfe);
    m_Actions[ID_FILE_MRU_FILE1]->setEnabled(false);
    m_pMatch = new MatchWindows(m_Doc, this);
    Connect(ID_ANPASSUNG, [this] {
        m_pMatch->OnAnpassung();
        m_pOverview->Refresh();
    });
    Connect(ID_HAVLENA_ODEH, [this] { m_pMatch->OnHavlenaOdeh(); });
    Connect(ID_ANTRIEBSINDIZES, [this] { m_pMatch->OnAntriebsindizes(); });
    Connect(ID_WASSERZUFLUSS, [this] {
        QtFileChooser chooser;
        WaterDriveDialog dialog(m_Doc, chooser, this);
        dialog.exec();
        m_pOverview->Refresh();
        UpdateCommandUI();
    });

    m_Actions[ID_VIEW_TOOLBAR]->setCheckable(true);
    m_Actions[ID_VIEW_STATUS_BAR]->setCheckable(true);
}

void CMainFrame::CreateMenus() {
    for (const MenuDefinition& definition : MenuBarDefinition()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(definition.title));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        for (const MenuEntry& entry : definition.entries) {
            if (entry.id == 0)
                menu->addSeparator();
            else
                menu->addAction(m_Actions.at(entry.id));
        }
        if (definition.entries.begin()->id == ID_FILE_NEW) m_pFileMenu = menu;
    }
    m_pRecentAnchor = m_Actions.at(ID_FILE_MRU_FILE1);
    RebuildRecentFileMenu();

    m_pContextMenu = new QMenu(QStringLiteral("Kontextmenü"), this);
    for (const MenuEntry& entry : ContextMenuDefinition()) {
        QAction* command = m_Actions.at(entry.id);
        auto* item = NewAction(entry.id, QString::fromUtf8(entry.text));
        item->setObjectName(QStringLiteral("ctx%1").arg(entry.id));
        connect(item, &QAction::triggered, command, &QAction::trigger);
        m_ContextActions[entry.id] = item;
        m_pContextMenu->addAction(item);
    }
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = addToolBar(QStringLiteral("Symbolleiste"));
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    // The bitmap buttons' size; Qt scales the drawn pictures for the screen.
    m_pToolBar->setIconSize(QSize(16, 15));
    for (int id : ToolbarDefinition()) {
        if (id == 0)
            m_pToolBar->addSeparator();
        else
            m_pToolBar->addAction(m_Actions.at(id));
    }
    QAction* toggle = m_Actions.at(ID_VIEW_TOOLBAR);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, m_pToolBar, &QWidget::setVisible);
    connect(m_pToolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage(QString::fromLatin1(kIdleText));
    // When a prompt goes, the idle text comes back.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& text) {
        if (text.isEmpty()) bar->showMessage(QString::fromLatin1(kIdleText));
    });
    QAction* toggle = m_Actions.at(ID_VIEW_STATUS_BAR);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::RebuildRecentFileMenu() {
    for (QAction* action : m_RecentActions) {
        m_pFileMenu->removeAction(action);
        action->deleteLater();
    }
    m_RecentActions.clear();
    const QStringList& files = m_pRecent->Files();
    // "Letzte Datei" stands greyed while the list is empty and gives way to the
    // files once there are any.
    m_pRecentAnchor->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(m_pRecent->MenuText(i), this);
        action->setObjectName(QStringLiteral("cmd%1").arg(ID_FILE_MRU_FILE1 + i));
        action->setStatusTip(PromptOf(ID_FILE_MRU_FILE1).status);
        connect(action, &QAction::triggered, this, [this, i] {
            OnOpenRecentFile(i);
            UpdateCommandUI();
        });
        m_pFileMenu->insertAction(m_pRecentAnchor, action);
        m_RecentActions.append(action);
    }
}

QAction* CMainFrame::Action(int commandId) const {
    // The recent files stand in for "Letzte Datei" once there are any.
    for (QAction* action : m_RecentActions)
        if (action->objectName() == QStringLiteral("cmd%1").arg(commandId)) return action;
    auto it = m_Actions.find(commandId);
    return it != m_Actions.end() ? it->second : nullptr;
}

// --- Ports ----------------------------------------------------------------------------------

void CMainFrame::SetMessageSink(MessageSink* sink) {
    m_pMessages = sink != nullptr ? sink : &m_OwnMessages;
    m_Doc.SetMessageSink(m_pMessages);
    m_DataEntry.SetMessageSink(m_pMessages);
}

MessageSink& CMainFrame::Messages() {
    return *m_pMessages;
}

void CMainFrame::SetCaseFileDialogs(CaseFileDialogs* dialogs) {
    m_pFileDialogs = dialogs != nullptr ? dialogs : m_pOwnFileDialogs.get();
}

// --- Views ------------------------------------------------------------------------------------

void CMainFrame::SwitchToView(ViewKind target) {
    if (target == ViewKind::Overview) {
        m_pOverview->Refresh();
        m_pViews->setCurrentWidget(m_pOverview);
        m_pActiveView = nullptr;
        m_pOverview->Table()->setFocus();
        UpdateCommandUI();
        return;
    }
    CaseScrollView* view =
        target == ViewKind::Graph ? static_cast<CaseScrollView*>(m_pGraphView) : m_pReportView;
    if (view == nullptr) {
        m_pGraphView = new GraphViewWidget(m_pViews);
        m_pGraphView->SetFitToWindow(m_Actions.at(ID_GRAFIK_EINPASSEN)->isChecked());
        m_pViews->addWidget(m_pGraphView);
        m_pGraphView->OnInitialUpdate();
        HandGraphOver();
        // The values under the mouse go to the status bar.
        connect(m_pGraphView, &GraphViewWidget::ReadingChanged, this, [this](const QString& text) {
            if (text.isEmpty())
                statusBar()->clearMessage();
            else
                statusBar()->showMessage(text);
        });
        view = m_pGraphView;
    }
    m_pViews->setCurrentWidget(view);
    m_pActiveView = view;
    view->setFocus();
    UpdateCommandUI();
}

bool CMainFrame::OverviewShown() const {
    return m_pViews->currentWidget() == m_pOverview;
}

void CMainFrame::OnUebersicht() {
    SwitchToView(ViewKind::Overview);
}

void CMainFrame::OnGrafik() {
    SwitchToView(ViewKind::Graph);
}

void CMainFrame::OnText() {
    SwitchToView(ViewKind::Report);
}

void CMainFrame::OnGrafiklupe() {
    if (m_pGraphView != nullptr && m_pActiveView == m_pGraphView) m_pGraphView->OnGrafiklupe();
}

void CMainFrame::HandGraphOver() {
    // The case asks for its graph to be drawn anew (a run, a case opened or
    // dropped): the view takes the page of its last run.
    if (m_pGraphView == nullptr || m_Doc.m_bGrafikNeu != 1) return;
    m_pGraphView->SetPage(GraphPageOf(m_Doc));
    m_Doc.m_bGrafikNeu = 0;
}

void CMainFrame::OnDocumentChanged() {
    m_pReportView->OnUpdate();
    HandGraphOver();
    if (m_pGraphView != nullptr) m_pGraphView->OnUpdate();
    m_pOverview->Refresh();
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    const bool graphActive = m_pGraphView != nullptr && m_pActiveView == m_pGraphView;
    m_Actions.at(ID_GRAFIK)->setEnabled(!graphActive);
    m_Actions.at(ID_TEXT)->setEnabled(m_pActiveView != m_pReportView);
    m_Actions.at(ID_UEBERSICHT)->setEnabled(!OverviewShown());
    // The overview is copied or exported, not printed.
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        m_Actions.at(id)->setEnabled(m_pActiveView != nullptr);
    if (m_pUndo != nullptr) {
        m_Actions.at(ID_EDIT_UNDO)->setEnabled(m_pUndo->canUndo());
        m_Actions.at(ID_EDIT_REDO)->setEnabled(m_pUndo->canRedo());
        const QString undo = m_pUndo->undoText(), redo = m_pUndo->redoText();
        m_Actions.at(ID_EDIT_UNDO)->setText(undo.isEmpty() ? QStringLiteral("&Rückgängig\tStrg+Z")
                                                           : QStringLiteral("&Rückgängig: %1\tStrg+Z").arg(undo));
        m_Actions.at(ID_EDIT_REDO)->setText(redo.isEmpty() ? QStringLiteral("&Wiederholen\tStrg+Y")
                                                           : QStringLiteral("&Wiederholen: %1\tStrg+Y").arg(redo));
    }
    QAction* lupe = m_Actions.at(ID_GRAFIKLUPE);
    if (graphActive) {
        const CGrafik::CommandState state = m_pGraphView->OnUpdateGrafiklupe();
        lupe->setEnabled(state.enabled);
        lupe->setChecked(state.checked);
    } else {
        lupe->setEnabled(false);
        lupe->setChecked(m_pGraphView != nullptr && m_pGraphView->Logic().m_bGrafiklupe != 0);
    }
    for (auto& [id, item] : m_ContextActions) item->setEnabled(m_Actions.at(id)->isEnabled());

    QString title = QFile::decodeName(QByteArray::fromStdString(m_Doc.GetTitle()));
    title.replace(QStringLiteral("[*]"), QStringLiteral("[**]"));
    setWindowTitle(title + QStringLiteral("[*] - ") + QString::fromLatin1(kAppTitle));
    setWindowModified(m_Doc.IsModified());
}

void CMainFrame::ShowContextMenu(const QPoint& globalPos) {
    UpdateCommandUI();
    m_pContextMenu->popup(globalPos);
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event) {
    // Only over the views; the toolbar keeps its own menu.
    if (m_pViews->geometry().contains(m_pViews->parentWidget()->mapFrom(this, event->pos()))) {
        ShowContextMenu(event->globalPos());
        event->accept();
        return;
    }
    QMainWindow::contextMenuEvent(event);
}

// --- Help and about box ----------------------------------------------------------------

void CMainFrame::OnHilfe() {
    const QString path = m_HelpFile ? *m_HelpFile : FindHelpFile();
    if (path.isEmpty() || !QFile::exists(path)) {
        Messages().Show("Onlinehilfe nicht gefunden!");
        return;
    }
    if (!m_pHelp) m_pHelp = new HelpViewer(nullptr);
    m_pHelp->ShowFile(path);
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.exec();
}

// --- Commands of the case -----------------------------------------------------------------

void CMainFrame::OnDataChange() {
    m_Doc.OnDataChange();
}

void CMainFrame::OnErgebnisseSpeichern() {
    SaveResultsFile(m_Doc.GetTitle(), m_Doc.m_Text, Messages());
}

void CMainFrame::OnErgebnisseEinlesen() {
    if (LoadResultsFile(m_Doc.m_Text, Messages())) m_Doc.UpdateAllViews();
}

void CMainFrame::OnUnsicherheitsanalyse() {
    SweepDialog dialog(m_Doc, Messages(), this);
    dialog.exec();
    // Its figures stay for the overview and its samples for the export.
    if (dialog.LastResult()) {
        m_LastSweep = SummaryOf(*dialog.LastResult(), dialog.RunAbandonmentBar());
        m_pSweepSamples = dialog.TakeSamples();
        m_pOverview->Refresh();
    }
}

void CMainFrame::OnPrognose() {
    ForecastDialog dialog(m_Doc, Messages(), this);
    dialog.exec();
    UpdateCommandUI();
}
