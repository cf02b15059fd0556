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

// The rows as the graph and the match take them: in order, at most
// kSeriesLength, ending at the first row with fewer than two numbers.
std::vector<MeasuredPoint> MeasuredPoints(const std::vector<std::string>& rows);

}  // namespace morvek
