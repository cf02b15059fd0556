#pragma once
// The graph series of a run as a CSV file for engineers who continue in a
// spreadsheet (the text itself: report/SeriesCsv.h). It writes the series it
// is given; it knows no document.

#include <string>

#include "report/CaseRun.h"
#include "report/GraphSeries.h"

// Writes the CSV text of the series for a result of that kind atomically: a
// failed write leaves an earlier file as it was. On failure returns false
// with a German text in error.
bool WriteSeriesCsv(const morvek::GraphSeries& graph, morvek::ResultKind kind,
                    const std::string& path, std::string& error);
