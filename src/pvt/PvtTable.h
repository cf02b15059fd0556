#pragma once
// The PVT table: every fluid property of the case on a pressure grid up to the
// initial pressure (5 bar apart below 200 bar, else 10 bar). With a laboratory
// PVT table the grid keeps to the pressures the table covers.

#include <string>
#include <vector>

#include "base/RunValues.h"
#include "pvt/FluidModel.h"

namespace morvek {

struct PvtTableRow {
    float pressureBar = 0;
    double rs = 0;  // sm3/m3
    double bo = 0;  // m3/sm3
    double oilViscosityCp = 0;
    double co = 0;  // 1/bar
    double bg = 0;  // m3/sm3
    double gasViscosityCp = 0;
    // The first quantity the correlations could not give at this pressure;
    // the row then has no numbers.
    RunQuantity failedQuantity = RunQuantity::None;
};

struct PvtTableResult {
    OilCorrelationId correlation{};
    // The laboratory table the values come from (its file name and row
    // count), when the case holds one.
    bool fromLabTable = false;
    std::string labTableName;
    int labTableRows = 0;
    float gridStepBar = 0;
    std::vector<PvtTableRow> rows;
};

PvtTableResult ComputePvtTable(const FluidModel& fluid, float initialPressureBar);

}  // namespace morvek
