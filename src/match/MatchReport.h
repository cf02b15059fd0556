#pragma once
// The match and the drive indices as text: the German summary of a match
// (start and fitted values with their standard errors and 95 % intervals, the
// RMS of the relative residuals before and after, each row measured against
// computed, the correlations and the warning about strongly correlated
// inputs), and the CSV files of the fitted values and of the drive indices
// (semicolons, decimal point, shortest round-trip numbers, a header line).

#include <string>
#include <vector>

#include "match/Diagnostics.h"
#include "match/Match.h"

namespace morvek {

// fieldName: the case's name for the heading.
std::vector<std::string> MatchSummaryLines(const MatchResult& result, const std::string& fieldName);

// The table of fitted values (name, start, fitted, standard error, 95 %
// interval) and the correlation matrix, each name in a column of nameWidth;
// also parts of the summary.
void AppendFittedValues(std::vector<std::string>& lines, const MatchResult& result, int nameWidth);
void AppendCorrelations(std::vector<std::string>& lines, const MatchResult& result, int nameWidth,
                        int columnWidth);

// The warning lines about pairs with |r| > kStrongCorrelation (none when
// there are none); also part of the summary.
std::vector<std::string> CorrelationWarnings(const MatchResult& result);

// name;start;fitted;std_error;ci95_low;ci95_high, one line per fitted input.
// start and fitted are the single-precision values of the case (what a saved
// case holds); a value without statistics leaves its three fields empty.
std::string MatchCsvText(const MatchResult& result);

// step;pressure_bar;np_1000m3;f_1000m3;ddi;gdi;sum, one line per step; a
// step without withdrawal leaves its indices empty.
std::string DriveIndexCsvText(const std::vector<DriveIndexStep>& steps);

}  // namespace morvek
