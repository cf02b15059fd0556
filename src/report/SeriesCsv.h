#pragma once
// The graph series of a run as CSV: one header row naming each column by its
// label and unit, then the valid points, semicolon-separated, with a decimal
// point, UTF-8. Columns of different length (curve points, measured points)
// stand side by side; a column that has run out of points continues with empty
// cells.

#include <string>

#include "report/CaseRun.h"
#include "report/GraphSeries.h"

namespace morvek {

// The whole file: a UTF-8 byte-order mark (so that spreadsheets read the
// umlauts of the labels), the header row and one line per row, each ended by
// a line feed.
std::string SeriesCsvText(const GraphSeries& graph, ResultKind kind);

}  // namespace morvek
