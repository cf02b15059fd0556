#include "depletion/RelPermTable.h"

#include <cmath>

namespace morvek {
namespace {

constexpr int kTableSteps = 50;       // 51 saturations from So = 0 to 1 - Swi
constexpr int kShortTableSteps = 10;  // 11 saturations below the PVT table

}  // namespace

RelPermTableResult ComputeRelPermTable(const RelPermModel& relPerm) {
    const float swi = relPerm.ConnateWaterSaturation();
    const float sgc = relPerm.CriticalGasSaturation();
    const float kroMax = relPerm.KroMax();
    const float krgMax = relPerm.KrgMax();
    RelPermTableResult out;
    out.connateWaterSaturation = swi;
    out.criticalGasSaturation = sgc;
    const TabulatedRelPerm* table = relPerm.Table();
    if (table != nullptr) {
        out.fromLabTable = true;
        out.labTableName = table->FileName();
        out.labTableRows = table->RowCount();
    }

    // The table works in single precision throughout, as its printed digits do.
    const float dS = (1.0f - swi) / static_cast<float>(kTableSteps);
    for (int i = 0; i <= kTableSteps; ++i) {
        const float sl = static_cast<float>(i) * dS + swi;
        float kro = 0.0f;
        float krg = 0.0f;
        if (table != nullptr) {
            kro = static_cast<float>(table->Kro(1.0 - double(sl)));
            krg = static_cast<float>(table->Krg(1.0 - double(sl)));
        } else if (swi < 1.0f) {
            const float sNorm = (sl - swi) / (1.0f - swi);
            kro = kroMax * static_cast<float>(std::pow(double(sNorm), 4.0));
        }
        if (table == nullptr && swi + sgc < 1.0f) {
            const float s = (sl - swi) / (1.0f - swi - sgc);
            if (sl < 1.0f - sgc) krg = (1.0f - s) * krgMax * (1.0f - s) * (1.0f - s * s);
            if (std::fabs(double(krg)) < kKrgCutOff) krg = 0.0f;
        }
        const float ratio = kro > 0.0f ? krg / kro : 0.0f;
        // An oil end point of 1e-40 or so leaves kro at a few of the smallest
        // floats, and the ratio overflows single precision: the table then
        // shows the quotient of the same two values in double precision.
        const double ratioShown = std::isinf(ratio) ? double(krg) / double(kro) : double(ratio);

        const float so = sl - swi;
        if (so >= 0.0f) out.rows.push_back({so, kro, krg, ratioShown, 1.0f - sl});
    }
    return out;
}

std::vector<ShortRelPermRow> ComputeShortRelPermTable(const RelPermModel& relPerm) {
    // Eleven liquid saturations; only SL is kept in single precision here.
    const double swi = relPerm.ConnateWaterSaturation();
    const double sgc = relPerm.CriticalGasSaturation();
    const float kroMax = relPerm.KroMax();
    const float krgMax = relPerm.KrgMax();
    const double deltaS = (1.0 - swi) / kShortTableSteps;
    std::vector<ShortRelPermRow> rows;
    double kro = 1.0, krg = 0.0, ratio = 0.0;
    const TabulatedRelPerm* table = relPerm.Table();
    for (int k = 0; k <= kShortTableSteps; ++k) {
        const double sl = static_cast<float>(k * deltaS + swi);
        if (table != nullptr) {
            kro = table->Kro(1.0 - sl);
            krg = table->Krg(1.0 - sl);
        } else {
            if (swi < 1.0) kro = kroMax * std::pow((sl - swi) / (1.0 - swi), 4);
            krg = 0.0;
            if (swi + sgc < 1.0) {
                const double s = (sl - swi - sgc) / (1.0 - swi - sgc);
                if (sl < 1.0 - sgc) krg = krgMax * (1.0 - s) * (1.0 - s) * (1.0 - s * s);
                if (std::fabs(krg) < kKrgCutOff) krg = 0.0;
            }
        }
        ratio = kro > 0.0 ? krg / kro : 0.0;
        if (sl - swi >= 0.0) rows.push_back({sl - swi, kro, krg, ratio});
    }
    return rows;
}

}  // namespace morvek
