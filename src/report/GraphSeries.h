#pragma once
// The graph of a run: eight single-precision series and the texts of the page
// (axis titles, heading, three legends), rendered from the results.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "depletion/Prediction.h"
#include "depletion/RelPermTable.h"
#include "pvt/PvtTable.h"

namespace morvek {

using Series = std::array<float, kSeriesLength>;

struct GraphLabels {
    std::string titleX, titleY1, titleY2, heading, legend1, legend2, legend3;
};

struct GraphSeries {
    // The computed curves: y1 (left axis) and y2 (right axis) against x.
    Series x{}, x2{}, y1{}, y2{};
    // The measured points: pressures (measuredX/Y) and gas-oil ratios
    // (measuredGorX/Y); the PVT table draws Bo in measuredY.
    Series measuredX{}, measuredY{}, measuredGorX{}, measuredGorY{};
    int32_t curvePoints = 0;
    int32_t measuredPoints = 0;
    int32_t measuredGorPoints = 0;
    GraphLabels labels;
    // Both y axes on the scale of the left one: the diagnostic graphs draw
    // two curves of one quantity, which only one scale lets the eye compare.
    bool sharedYScale = false;
};

// Pressure and gas-oil ratio against cumulative oil, with the measured rows.
GraphSeries PredictionGraph(const PredictionResult& result, float initialPressureBar,
                            const std::vector<std::string>& measuredRows);
// Oil viscosity, Rs and Bo against pressure.
GraphSeries PvtTableGraph(const PvtTableResult& table);
// krg and kro against the oil saturation.
GraphSeries RelPermTableGraph(const RelPermTableResult& table);

}  // namespace morvek
