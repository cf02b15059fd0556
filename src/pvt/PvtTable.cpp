#include "pvt/PvtTable.h"

#include "base/RunValues.h"

namespace morvek {
namespace {

// Grid step in bar: finer for low-pressure reservoirs.
constexpr float kStepBelow200Bar = 5.0f;
constexpr float kStepFrom200Bar = 10.0f;
constexpr int kMaxRows = 300;

}  // namespace

PvtTableResult ComputePvtTable(const FluidModel& fluid, float initialPressureBar) {
    PvtTableResult out;
    out.correlation = fluid.Oil().correlation;
    const float step = initialPressureBar < 200.0f ? kStepBelow200Bar : kStepFrom200Bar;
    out.gridStepBar = step;
    const TabulatedPvt* table = fluid.Table();
    if (table != nullptr) {
        out.fromLabTable = true;
        out.labTableName = table->FileName();
        out.labTableRows = table->RowCount();
    }

    float p = step;
    for (int i = 0; i < kMaxRows && p < initialPressureBar + step; ++i, p += step) {
        if (p > initialPressureBar) p = initialPressureBar;  // the last row lies at pi
        // A laboratory table is never extrapolated.
        if (table != nullptr && (p < table->LowestPressureBar() || p > table->HighestPressureBar()))
            continue;
        PvtTableRow& row = out.rows.emplace_back();
        row.pressureBar = p;
        row.rs = fluid.Rs(p);
        row.bo = fluid.Bo(p, row.rs);
        row.co = fluid.Co(p, row.rs);
        row.oilViscosityCp = fluid.OilViscosity(p, row.rs);
        row.bg = fluid.Bg(p);
        row.gasViscosityCp = fluid.GasViscosity(p, row.bg);
        // A pressure at which a correlation gives no usable number keeps its
        // place with the name of that quantity; the other pressures are
        // independent of it.
        row.failedQuantity = FirstMeaningless({{RunQuantity::Rs, row.rs},
                                               {RunQuantity::Bo, row.bo},
                                               {RunQuantity::Co, row.co},
                                               {RunQuantity::OilViscosity, row.oilViscosityCp},
                                               {RunQuantity::Bg, row.bg, true},
                                               {RunQuantity::GasViscosity, row.gasViscosityCp}});
    }
    return out;
}

}  // namespace morvek
