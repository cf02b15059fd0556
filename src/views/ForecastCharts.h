#pragma once
// The pictures of a forecast against time, drawn on a Surface with the graph
// page's conventions (field name and heading above, axis titles, tick labels
// in the graph's formats, legends below each frame, the document's path in
// the footer, dotted grid):
//   - the forecast page: three frames over the same years, the rates of oil,
//     water (left axis) and gas (right axis); the pressure (left) and the
//     producing gas-oil ratio (right); the cumulative oil, water and water
//     influx (left) and gas (right); with the production history's points
//     where the case has one;
//   - the fan chart of an uncertainty run: P90, P50 and P10 of oil rate and
//     of cumulative oil against time.

#include <cstdint>
#include <string>
#include <vector>

#include "forecast/ForecastSweep.h"
#include "model/ProductionHistory.h"
#include "views/LogicalGeometry.h"
#include "views/SweepCharts.h"

class Surface;

// A curve against time: decimal years and values.
struct TimeCurve {
    std::vector<double> years;
    std::vector<double> values;
};

struct ForecastChartData {
    std::string fieldName;
    std::string documentPath;
    double firstYear = 0, lastYear = 0;  // the period drawn
    // Rates as steps (two points a step), m3/d and 1000 m3/d.
    TimeCurve oilRate, waterRate, gasRate;
    TimeCurve pressure, gor;            // bar, sm3/m3
    TimeCurve np, wp, we, gp;           // 1000 m3 (gp million sm3)
    // The production history's rows, where the case has one.
    TimeCurve historyOilRate, historyPressure, historyNp, historyWp, historyGp;
};

// Decimal year of a serial date plus days (2025.0 is 1 January 2025).
double DecimalYear(int32_t serialDate, double days = 0);

ForecastChartData ForecastChartDataOf(const std::string& fieldName,
                                      const std::string& documentPath,
                                      const morvek::ForecastResult& forecast,
                                      const morvek::ProductionHistory* history);

struct FanChartData {
    std::string fieldName;
    std::string documentPath;
    morvek::ForecastFan fan;
};

// The titles an exported SVG or PDF carries.
inline constexpr const char* kForecastTitle = "Prognose über die Zeit";
inline constexpr const char* kFanTitle = "Fächer der Prognose";

// Frame width and the height of each of the page's frames, 0.1 mm.
ChartFrame ForecastScreenFrame();
ChartFrame ForecastPrintFrame(const LogicalRect& page);

void DrawForecastPage(Surface& dc, const ForecastChartData& data, ChartFrame frame);
void DrawFanPage(Surface& dc, const FanChartData& data, ChartFrame frame);
