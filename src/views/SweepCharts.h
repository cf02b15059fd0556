#pragma once
// The two pictures of an uncertainty run, drawn on a Surface like the graph
// page and with its conventions (frame 40 mm from the left and 30 mm from the
// top of the drawing area, field name and heading above, axis titles, tick
// labels in the graph's formats, legends below, the document's path in the
// footer, dotted grid drawn last):
//   - the tornado: the recovery factor with each varied input alone at its
//     low and at its high value, one pair of bars per input, the largest
//     swing on top, about a line at the base case;
//   - the S-curve: the share of samples at or below each recovery factor,
//     with P90, P50 and P10 marked.

#include <cstdint>
#include <string>
#include <vector>

#include "sweep/Sweep.h"
#include "sweep/Tornado.h"
#include "views/LogicalGeometry.h"

class Surface;

struct SweepChartData {
    std::string fieldName;
    std::string documentPath;  // the footer's "Dokument ..."
    morvek::TornadoResult tornado;
    std::vector<morvek::CurvePoint> rfCurve;
    morvek::OutcomeStatistics rf;  // of the recovery factor at the end; count: samples with results
    uint64_t failed = 0;
};

// The pictures of a finished run of the case.
SweepChartData SweepChartDataOf(const std::string& fieldName, const std::string& documentPath,
                                morvek::TornadoResult tornado, const morvek::SweepResult& result);

// The titles an exported SVG or PDF carries.
inline constexpr const char* kTornadoTitle = "Tornado";
inline constexpr const char* kDistributionTitle = "Verteilung des Entölungsgrads";

// Frame width and height in 0.1 mm, as the graph page sizes its frame, and
// the width of the drawing area the frame stands in (0: the screen page's,
// 210 mm or the frame with 40 mm either side): the footer is shortened to it.
struct ChartFrame {
    int32_t width = 1300;
    int32_t height = 750;
    int32_t areaWidth = 0;
};

// The frame on screen and in an exported picture (a tornado with many inputs
// grows taller so that every bar keeps its room).
ChartFrame ScreenFrame(size_t tornadoBars = 0);
// The frame on a printed page: 130 x 210 mm upright, 220 x 130 mm across;
// the footer keeps to the page's width.
ChartFrame PrintFrame(const LogicalRect& page, size_t tornadoBars = 0);

void DrawTornadoPage(Surface& dc, const SweepChartData& data, ChartFrame frame);
void DrawDistributionPage(Surface& dc, const SweepChartData& data, ChartFrame frame);
