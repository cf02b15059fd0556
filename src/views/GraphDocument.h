#pragma once
// A document that only carries a graph for the graph page to draw: the
// diagnostic graphs of the history match (Havlena-Odeh, drive indices) are
// drawn, printed and exported by the same page as the case's own graph, from
// a document that holds the case's path and those series; title takes the
// place of the field's name at the top of the page.

#include <string>

#include "case/MorvekDoc.h"

CMorvekDoc GraphDocument(const CMorvekDoc& caseDoc, const morvek::GraphSeries& graph,
                         const std::string& title);
