#include "depletion/RelativePermeability.h"

#include <cmath>
#include <limits>

namespace morvek {

TabulatedRelPerm::TabulatedRelPerm(const LabRelPermTable& table) : fileName_(table.fileName) {
    for (const LabRelPermRow& r : table.rows) {
        sg_.push_back(r.gasSaturation);
        krg_.push_back(r.krg);
        kro_.push_back(r.kro);
    }
}

RelPermModel::RelPermModel(float swi, float sgc, float kroMax, float krgMax)
    : swi_(swi), sgc_(sgc), kroMax_(kroMax), krgMax_(krgMax) {}

RelPermModel::RelPermModel(const CaseInputs& inputs)
    : RelPermModel(inputs.connateWaterSaturation, inputs.criticalGasSaturation, inputs.kroMax,
                   inputs.krgMax) {
    if (inputs.relPermTable && IsValidTable(*inputs.relPermTable))
        table_ = std::make_shared<const TabulatedRelPerm>(*inputs.relPermTable);
}

double RelPermModel::TableKrgKro(double sl) const {
    const double sg = 1.0 - sl;
    const double krg = table_->Krg(sg);
    const double kro = table_->Kro(sg);
    if (kro > 0.0) return krg / kro;
    return krg > 0.0 ? std::numeric_limits<double>::infinity() : 0.0;
}

double RelPermModel::CoreyKrgKro(double sl, BelowConnateWater* below) const {
    const double swi = swi_;
    const double sgc = sgc_;
    const double so = sl - swi;
    const double s = swi < 1.0 ? so / (1.0 - swi) : 0.0;
    const double s2 = s * s;
    const double kro = static_cast<double>(kroMax_) * (s2 * s2);

    double krg = 0.0;
    if (swi + sgc < 1.0) {
        const double sGas = (so - sgc) / (1.0 - swi - sgc);
        if (sl < 1.0 - sgc)
            krg =
                static_cast<double>(krgMax_) * ((1.0 - sGas) * (1.0 - sGas)) * (1.0 - sGas * sGas);
        if (so < 0.0 && below != nullptr) *below = {so, krg, s};
        if (std::fabs(krg) < kKrgCutOff) krg = 0.0;
    }
    return kro > 0.0 ? krg / kro : 0.0;
}

}  // namespace morvek
