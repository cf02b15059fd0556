#include "views/GraphPage.h"

#include "case/MorvekDoc.h"

GraphPage GraphPageOf(const CMorvekDoc& doc) {
    GraphPage page;
    page.graph = doc.m_Graph;
    page.title = doc.m_Feldname;
    page.path = doc.GetPathName();
    page.kind = doc.ResultKind();
    page.measuredRows = static_cast<int>(std::min<size_t>(doc.m_Messwerte.size(), kSeriesLength));
    return page;
}

GraphPage GraphPageOf(const morvek::GraphSeries& graph, const std::string& title,
                      const std::string& path) {
    GraphPage page;
    page.graph = graph;
    page.title = title;
    page.path = path;
    page.measuredRows = graph.measuredPoints;
    return page;
}
