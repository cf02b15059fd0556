#include "views/GraphDocument.h"

CMorvekDoc GraphDocument(const CMorvekDoc& caseDoc, const morvek::GraphSeries& graph,
                         const std::string& title) {
    CMorvekDoc doc;
    doc.SetPathName(caseDoc.GetPathName());  // the page's footer names the case's file
    doc.SetTitle(caseDoc.GetTitle());
    doc.m_Feldname = title;
    doc.m_Graph = graph;
    // The page scales the markers of series 3 by the number of measured rows
    // the case holds (as the prediction's graph has one marker per row): one
    // row per marker here, their text is never read.
    doc.m_Messwerte.assign(static_cast<size_t>(graph.measuredPoints), std::string());
    doc.m_bGrafikNeu = 1;
    return doc;
}
