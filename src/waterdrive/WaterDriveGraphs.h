#pragma once
// The diagnostic graphs of a production history with water influx, as graph
// series for the program's graph page (both y axes on one scale):
//
//   Havlena-Odeh with influx  F/Et against We/Et: with the right aquifer the
//                             rows lie on a line of slope 1 whose intercept is N;
//   Campbell                  F/Et against F: rows that rise reveal influx the
//                             balance leaves out, a level row of points is N;
//   drive indices             along the history's days: DDI, DDI + GDI + CDI (the
//                             expansion of the reservoir, N Et / F), WDI = We/F
//                             and the raw sum of all four, not normalised.
//
// Labels are German.

#include <string>

#include "report/GraphSeries.h"
#include "waterdrive/MaterialBalance.h"

namespace morvek {

GraphSeries HavlenaOdehInfluxGraph(const HistoryBalance& balance);
GraphSeries CampbellGraph(const HistoryBalance& balance);
GraphSeries HistoryDriveIndexGraph(const HistoryBalance& balance);

inline constexpr const char* kHavlenaOdehInfluxTitle = "Havlena-Odeh mit Wasserzufluß";
inline constexpr const char* kCampbellTitle = "Campbell";
inline constexpr const char* kHistoryDriveIndexTitle = "Antriebsindizes der Historie";

// The file names of --mb-plots PREFIX: PREFIX-havlena-odeh.EXT,
// PREFIX-campbell.EXT, PREFIX-antriebsindizes.EXT, EXT that of PREFIX when it
// names one (png, svg, pdf), else png.
struct WaterDrivePlotNames {
    std::string havlenaOdeh, campbell, driveIndices;
};
WaterDrivePlotNames WaterDrivePlotFiles(const std::string& prefix);

}  // namespace morvek
