#pragma once
// The measured-data text file: a header line of free text, then one line per
// measurement with cumulative oil (1000 m3), shut-in pressure (bar) and
// optionally the producing gas-oil ratio (sm3/m3). The dialog's button
// "Meßwertdatei lesen" and batch mode's --messwerte read it with this one
// reader.

#include <string>
#include <vector>

#include "model/MeasuredRows.h"

class MessageSink;

// The readers of measured rows take at most this many characters of a line.
inline constexpr size_t kMaxMeasuredLineChars = 99;

// Reads the file (code page 1252; a line ends with LF, CR LF or a lone CR)
// into rows in the fixed layouts "%10.3f   %18.1f  %18.1f" and
// "%10.3f   %18.1f   * ", in file order. The reading ends, with a message, at
// a line longer than 99 characters, a line with a NUL byte, a line with fewer
// than two numbers, a production not below ooip, a pressure above
// initialdruck, a negative value or a row beyond the most a case holds
// (kMaxMeasuredRows); the rows before it are kept. Every message names the
// line by its number. Returns false, says so and leaves rows untouched only
// when the file cannot be opened (also when it is no regular file).
bool ReadMeasuredDataFile(const std::string& path, float ooip, float initialdruck,
                          MessageSink& sink, std::vector<std::string>& rows);

// Cumulative oil, pressure and gas-oil ratio of a measurement cannot be
// negative: the range message for the first of the count numbers of a row
// that is, naming its column; empty when the row is possible.
std::string NegativeMeasuredValueMessage(int count, float oil, float pressure, float gor);
