#include "match/qt/DiagnosticGraphWindow.h"

#include "match/DiagnosticGraphs.h"

void DiagnosticGraphWindow::ShowPages(const std::string& fieldName, const std::string& path,
                                      const std::vector<Page>& pages, const std::string& reason) {
    std::vector<Shown> shown;
    for (const Page& page : pages) {
        const std::string title = morvek::DiagnosticTitle(fieldName, page.title);
        GraphPage graphPage = GraphPageOf(page.graph, title, path);
        graphPage.titleKept =
            fieldName.empty() ? std::string(page.title) : std::string(": ") + page.title;
        shown.push_back({page.tabTitle, std::move(graphPage), title});
    }
    ShowGraphs(shown, reason);
}
