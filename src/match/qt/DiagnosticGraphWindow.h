#pragma once
// A window with one or two diagnostic graphs of the case (Havlena-Odeh, the
// drive indices), each drawn by the program's graph page from a document of
// its own, with "Drucken..." and "Exportieren..." (PNG, SVG or PDF) for the
// graph shown.

#include <QDialog>
#include <memory>
#include <vector>

#include "report/GraphSeries.h"

class CMorvekDoc;
class GraphViewWidget;
class QTabWidget;

class DiagnosticGraphWindow : public QDialog {
    Q_OBJECT
public:
    struct Page {
        QString tabTitle;
        morvek::GraphSeries graph;
        const char* title;  // the graph's kind, after the field's name on the page
    };

    DiagnosticGraphWindow(const QString& title, QWidget* parent = nullptr);
    ~DiagnosticGraphWindow() override;

    // Shows these graphs of the case, replacing what the window showed.
    void ShowPages(const CMorvekDoc& caseDoc, const std::vector<Page>& pages);

    int PageCount() const;
    GraphViewWidget* View(int index) const;
    const CMorvekDoc& Document(int index) const;

    void OnPrint();
    void OnExport();

private:
    QTabWidget* m_pTabs = nullptr;
    const CMorvekDoc* m_pCase = nullptr;  // says what went wrong
    // One document per graph; the views draw from them.
    std::vector<std::unique_ptr<CMorvekDoc>> m_Docs;
};
