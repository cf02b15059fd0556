#pragma once
// The tables of the relative permeabilities against the oil saturation: the
// full table of its own result kind (51 saturations, single precision as its
// printed digits) and the short one of eleven saturations below the PVT table.
// With a laboratory table both show its krg and kro at the same saturations.

#include <string>
#include <vector>

#include "depletion/RelativePermeability.h"

namespace morvek {

struct RelPermTableRow {
    float oilSaturation = 0;  // So, fraction of the pore volume
    float kro = 0;
    float krg = 0;
    double krgKro =
        0;  // as shown: the single-precision quotient, or the double one where it overflows
    float gasSaturation = 0;  // Sg = 1 - SL
};

struct RelPermTableResult {
    float connateWaterSaturation = 0;
    float criticalGasSaturation = 0;
    // The laboratory table the values come from, when the case holds one.
    bool fromLabTable = false;
    std::string labTableName;
    int labTableRows = 0;
    std::vector<RelPermTableRow> rows;
};

RelPermTableResult ComputeRelPermTable(const RelPermModel& relPerm);

struct ShortRelPermRow {
    double oilSaturation, kro, krg, krgKro;
};
std::vector<ShortRelPermRow> ComputeShortRelPermTable(const RelPermModel& relPerm);

}  // namespace morvek
