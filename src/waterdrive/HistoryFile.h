#pragma once
// The production-history file: a header line naming the columns, in any
// order, then one row per date.
//
//   days            days since day 0              or  date  YYYY-MM-DD (day 0: the first row's)
//   pressure_bar    average reservoir pressure
//   np_1000m3       cumulative oil
//   gp_mio_sm3      cumulative gas                or  rp_sm3_per_m3  cumulative gas-oil ratio
//   wp_1000m3       cumulative water produced     (optional, default 0)
//   wi_1000m3       cumulative water injected     (optional, default 0)
//   gi_mio_sm3      cumulative gas injected       (optional, default 0)
//
// Separators are semicolons, tabs or blanks, numbers take a decimal point,
// empty lines are skipped, line ends CR LF, LF or CR, a UTF-8 byte-order mark
// is ignored. Rows stand in time order: time strictly increases and no
// cumulative falls; at most kMaxHistoryRows rows. A file is taken whole or
// not at all: every bad line is named with its number.
//
// The first row may be the initial state (nothing produced yet); otherwise
// the case's initial pressure at day 0 is.

#include <string>
#include <string_view>
#include <vector>

#include "model/LabTables.h"
#include "model/ProductionHistory.h"

namespace morvek {

// A history file is read whole; a larger one is refused before reading
// (10,000 rows of seven long numbers take about 1 MB).
inline constexpr size_t kMaxHistoryFileBytes = 4u << 20;

// The text of a history file. On success history holds the rows and the given
// name; otherwise history is unchanged and problems holds one German message
// per bad line ("Zeile 7: ..."), or one for the whole file.
TableReadStatus ParseHistoryText(std::string_view text, const std::string& fileName,
                                 ProductionHistory& history, std::vector<std::string>& problems);

// The same from a file; the history takes the file's name (without folder).
TableReadStatus ReadHistoryFile(const std::string& path, ProductionHistory& history,
                                std::vector<std::string>& problems);

// Rows given as numbers (a script's data frame), checked as the file reader
// checks them; "Zeile n" then counts the rows from 1. startDate: "" or the
// date of day 0.
TableReadStatus HistoryFromRows(const std::vector<HistoryRow>& rows, const std::string& name,
                                const std::string& startDate, ProductionHistory& history,
                                std::vector<std::string>& problems);

// The days from 0001-01-01 to an ISO date (YYYY-MM-DD, valid), and back.
long DayNumber(const std::string& isoDate);
std::string DateOfDayNumber(long dayNumber);

}  // namespace morvek
