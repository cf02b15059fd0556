#pragma once
// The graph series of the last run as a CSV file for engineers who continue
// in a spreadsheet: one header row naming each column by its label and unit,
// then the valid points, semicolon-separated, with a decimal point, UTF-8.
// Columns of different length (curve points, measured points) stand side by
// side; a column that has run out of points continues with empty cells.

#include <string>

class CMorvekDoc;

// Which result the series of the case hold, from the case's output flags as
// the run sequence reads them (the relative-permeability table replaces a PVT
// table run before it).
enum class SeriesRunKind { Depletion, PvtTable, RelPerm };
SeriesRunKind RunKindOf(const CMorvekDoc& doc);

// The whole file: a UTF-8 byte-order mark (so that spreadsheets read the
// umlauts of the labels), the header row and one line per row, each ended by
// a line feed.
std::string SeriesCsvText(const CMorvekDoc& doc);

// Writes SeriesCsvText atomically: a failed write leaves an earlier file as
// it was. On failure returns false with a German text in error.
bool WriteSeriesCsv(const CMorvekDoc& doc, const std::string& path, std::string& error);
