#pragma once
// The graph series of the case's last run as a CSV file for engineers who
// continue in a spreadsheet (the text itself: report/SeriesCsv.h).

#include <string>

class CMorvekDoc;

// The CSV text of the case's graph, for the result its output flags choose.
std::string SeriesCsvText(const CMorvekDoc& doc);

// Writes SeriesCsvText atomically: a failed write leaves an earlier file as
// it was. On failure returns false with a German text in error.
bool WriteSeriesCsv(const CMorvekDoc& doc, const std::string& path, std::string& error);
