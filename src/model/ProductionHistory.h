#pragma once
// The production history of a case: one row per date with the average
// reservoir pressure and the cumulative volumes produced and injected since
// the initial state. It stands beside the measured rows (which stay as they
// are) and feeds the material balance with water influx (src/waterdrive).
//
// Values are single precision, as the case file stores them. Times are days
// since day 0, the initial state at the case's initial pressure; when the
// history was read with dates, startDate names day 0.

#include <array>
#include <string>
#include <vector>

namespace morvek {

// A history of more rows is refused: a daily history of 27 years fits.
inline constexpr int kMaxHistoryRows = 10000;

struct HistoryRow {
    float days = 0;          // since day 0
    float pressureBar = 0;   // average reservoir pressure
    float np1000m3 = 0;      // cumulative oil
    float gpMioSm3 = 0;      // cumulative gas
    float wp1000m3 = 0;      // cumulative water produced
    float wi1000m3 = 0;      // cumulative water injected
    float giMioSm3 = 0;      // cumulative gas injected

    static constexpr size_t kColumns = 7;
    std::array<float, kColumns> Numbers() const {
        return {days, pressureBar, np1000m3, gpMioSm3, wp1000m3, wi1000m3, giMioSm3};
    }
    static HistoryRow FromNumbers(const std::array<float, kColumns>& v) {
        return {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
    }
    // The initial state: nothing produced or injected yet.
    bool IsInitialState() const {
        return np1000m3 == 0 && gpMioSm3 == 0 && wp1000m3 == 0 && wi1000m3 == 0 && giMioSm3 == 0;
    }
};

struct ProductionHistory {
    std::string fileName;   // as shown (characters of code page 1252 only)
    std::string startDate;  // "YYYY-MM-DD" of day 0 when the file gave dates, else ""
    std::vector<HistoryRow> rows;
};

// The problem of a row after the row before it (nullptr for the first), as
// the reader words it ("Der Druck ..."), or "" when the row is acceptable:
// finite values, a pressure above 0, no negative volume, time strictly
// increasing from day 0 on, no cumulative falling.
std::string HistoryRowProblem(const HistoryRow& row, const HistoryRow* before);

// True when the history is one the reader could have produced (1 to
// kMaxHistoryRows acceptable rows, a start date of the form YYYY-MM-DD or
// none, a name of code page 1252); the case file stores no other.
bool IsValidHistory(const ProductionHistory& history);
bool IsValidDate(const std::string& isoDate);

// Bit for bit, names included.
bool SameHistory(const ProductionHistory& a, const ProductionHistory& b);

}  // namespace morvek
