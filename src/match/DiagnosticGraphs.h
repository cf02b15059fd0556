#pragma once
// The diagnostic graphs as graph series for the program's graph page: the
// Havlena-Odeh plots of the measured rows and the drive indices along the
// prediction. Both y axes share one scale (GraphSeries::sharedYScale): each
// graph compares two curves of one quantity. Labels are German.

#include <string>
#include <vector>

#include "match/Diagnostics.h"
#include "report/GraphSeries.h"

namespace morvek {

// F against Et: the measured rows as markers, the least-squares line through
// the origin (red) and the line of the case's oil in place (blue, dashed).
GraphSeries HavlenaOdehGraph(const HavlenaOdehResult& result);

// F/Eo against (Bg - Bgi)/Eo for a case with a gas cap: the rows as markers,
// the least-squares line (intercept N, slope G) and the case's line.
GraphSeries GasCapHavlenaOdehGraph(const HavlenaOdehResult& result);

// Depletion drive (red) and gas-cap drive (blue, dashed) against cumulative
// oil, the raw sum of the two as markers.
GraphSeries DriveIndexGraph(const std::vector<DriveIndexStep>& steps);

// What each graph is, for the page's title after the field's name
// ("Nordfeld: Havlena-Odeh"); the heading below it says how the graph was
// made (for Havlena-Odeh: the rows' cumulative gas by the trapezoid rule).
inline constexpr const char* kHavlenaOdehTitle = "Havlena-Odeh";
inline constexpr const char* kGasCapHavlenaOdehTitle = "Havlena-Odeh mit Gaskappe";
inline constexpr const char* kDriveIndexTitle = "Antriebsindizes";
std::string DiagnosticTitle(const std::string& fieldName, const char* graphTitle);

}  // namespace morvek
