#pragma once
// "Ansicht" > "Übersicht": the key numbers of the case's last run, of the
// last history match and of the last uncertainty run, as lines of a table,
// and that table as text for the clipboard (tab-separated, with a decimal
// comma, as a German spreadsheet reads it) or as CSV.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "match/Match.h"
#include "sweep/Sweep.h"

class CMorvekDoc;

struct OverviewLine {
    std::string section;   // "Vorhersage", "Anpassung", "Unsicherheitsanalyse"
    std::string quantity;  // "Entölungsgrad am Ende"
    std::string value;     // as shown, with a decimal point: "28.47", or a text
    std::string unit;      // "%", "bar", or empty
    bool number = true;    // the value is a number (the clipboard writes a comma)
};

// What the overview keeps of an uncertainty run.
struct SweepSummary {
    std::array<morvek::OutcomeStatistics, morvek::kOutcomeCount> statistics;
    float abandonmentPressureBar = 0;
    uint64_t completed = 0;
    uint64_t failed = 0;
    bool cancelled = false;
};
SweepSummary SummaryOf(const morvek::SweepResult& result, float abandonmentPressureBar);

// The lines: the last run of the case (recovery and cumulative oil at the
// end and, with abandonmentBar above 0, at that pressure, cumulative gas,
// final pressure, highest gas-oil ratio, balance ratio, why it stopped), the
// fitted values with their intervals of the last match, P90/P50/P10 of the
// last uncertainty run.
std::vector<OverviewLine> Overview(const CMorvekDoc& doc, float abandonmentBar,
                                   const morvek::MatchResult* match, const SweepSummary* sweep);

// A head line and one line per overview line, columns separated by tabs,
// numbers with a decimal comma, lines ended by CR LF (what a spreadsheet
// pasting from the clipboard expects).
std::string OverviewClipboardText(const std::vector<OverviewLine>& lines);

// The same as CSV: semicolons, numbers with a decimal comma or point, UTF-8
// with a byte-order mark and a head line.
std::string OverviewCsvText(const std::vector<OverviewLine>& lines, bool decimalComma);

// Why the prediction stopped, in a few German words.
std::string StopReasonText(const morvek::PredictionResult& prediction);
