#pragma once
// A window with one or two diagnostic graphs of the case (Havlena-Odeh, the
// drive indices), drawn by the program's graph page from their series, with
// the field's name above and the case's path below, printable, previewable
// and exportable (views/qt/GraphWindow.h).

#include <string>
#include <vector>

#include "report/GraphSeries.h"
#include "views/qt/GraphWindow.h"

class DiagnosticGraphWindow : public GraphWindow {
    Q_OBJECT
public:
    struct Page {
        QString tabTitle;
        morvek::GraphSeries graph;
        const char* title;  // the graph's kind, after the field's name on the page
    };

    using GraphWindow::GraphWindow;

    // Shows these graphs of the case (its field name on each page, its path in
    // the footers), replacing what the window showed. Without pages the window
    // shows why (reason) instead.
    void ShowPages(const std::string& fieldName, const std::string& path,
                   const std::vector<Page>& pages, const std::string& reason = {});
};
