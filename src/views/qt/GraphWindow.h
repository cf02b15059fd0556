#pragma once
// A window with one or more graph pages (the diagnostic graphs of the history
// match, the comparison of cases), each in a graph view that reads values off
// and zooms, with "Drucken...", "Seitenansicht..." and "Exportieren..." (PNG,
// SVG or PDF) for the page shown. Without a page to show it says why, and
// its buttons rest.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "views/GraphPage.h"

class GraphViewWidget;
class MessageSink;
class QLabel;
class QPrinter;
class QPushButton;
class QStackedWidget;
class QTabWidget;

class GraphWindow : public QDialog {
    Q_OBJECT
public:
    struct Shown {
        QString tabTitle;
        GraphPage page;
        std::string title;  // of the page's PDFs and print jobs
    };
    // Asks for the file an export goes to; an empty string: the user cancelled.
    using ExportChooser = std::function<QString(QWidget*)>;

    GraphWindow(const QString& title, MessageSink& messages, QWidget* parent = nullptr);

    // Shows these pages, replacing what the window showed; without pages the
    // window shows why (reason) instead.
    void ShowGraphs(const std::vector<Shown>& pages, const std::string& reason = {});

    int PageCount() const;
    GraphViewWidget* View(int index) const;
    const GraphPage& PageData(int index) const;
    std::string PageTitle(int index) const;
    // Why nothing is shown (empty while pages are).
    QString Reason() const;
    // The values under the mouse, as the graph view reads them off.
    QLabel* ReadingLine() const { return m_pReading; }
    QPushButton* PrintButton() const { return m_pPrint; }
    QPushButton* PreviewButton() const { return m_pPreview; }
    QPushButton* ExportButton() const { return m_pExport; }
    void SetExportChooser(ExportChooser chooser) { m_Chooser = std::move(chooser); }

    void OnPrint();
    void OnPreview();
    // Exports the page shown into the file the chooser names; a name without
    // an extension becomes a PNG. False when nothing was written.
    bool OnExport();
    // Prints the page shown on a printer set up already, titled as the page.
    bool PrintTo(QPrinter& printer);

private:
    MessageSink& m_Messages;
    QStackedWidget* m_pStack = nullptr;
    QTabWidget* m_pTabs = nullptr;
    QLabel* m_pReason = nullptr;
    QLabel* m_pReading = nullptr;
    QPushButton* m_pPrint = nullptr;
    QPushButton* m_pPreview = nullptr;
    QPushButton* m_pExport = nullptr;
    std::vector<std::string> m_Titles;
    ExportChooser m_Chooser;
};

// The file name an export writes: the name given, with ".png" added when it
// has no extension of its own.
std::string WithDrawingExtension(const std::string& path);
