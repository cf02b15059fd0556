#pragma once
// The measured rows of a case as numbers: cumulative oil (1000 m3), shut-in
// pressure (bar) and, where measured, the producing gas-oil ratio (sm3/m3).

#include <string>
#include <vector>

#include "model/CaseInputs.h"

// Converts a measured row with "%f %f %f" and returns how many numbers it
// begins with. "nan" and "inf", which the conversion accepts, end the numbers
// there: a measurement must be a finite value.
int ScanMeasuredRow(const std::string& row, float& oil, float& pressure, float& gor);

namespace morvek {

struct MeasuredPoint {
    float np1000m3 = 0;
    float pressureBar = 0;
    float gorSm3PerM3 = 0;
    bool hasGor = false;  // the row held a third number
};

// The rows as the match, the diagnostics and a script take them: in order,
// every one up to the first row with fewer than two numbers (a case holds at
// most kMaxMeasuredRows).
std::vector<MeasuredPoint> MeasuredPoints(const std::vector<std::string>& rows);
// The same, at most the first `most` rows: the graph of a prediction draws
// the first kSeriesLength, as many as its series hold.
std::vector<MeasuredPoint> MeasuredPoints(const std::vector<std::string>& rows, size_t most);

}  // namespace morvek
