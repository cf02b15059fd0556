#include "model/CaseInputs.h"

namespace morvek {

bool IsCorrelationIndex(int32_t index) {
    return index >= 0 && index < kOilCorrelationCount;
}

bool SameLabTables(const CaseInputs& a, const CaseInputs& b) {
    auto same = [](const auto& x, const auto& y) {
        return x.has_value() == y.has_value() && (!x || SameTable(*x, *y));
    };
    return same(a.pvtTable, b.pvtTable) && same(a.relPermTable, b.relPermTable) &&
           same(a.waterCutTable, b.waterCutTable);
}

bool SameHistories(const CaseInputs& a, const CaseInputs& b) {
    return a.history.has_value() == b.history.has_value() &&
           (!a.history || SameHistory(*a.history, *b.history));
}

float LowestTablePressureBar(const CaseInputs& inputs) {
    return inputs.pvtTable && IsValidTable(*inputs.pvtTable)
               ? inputs.pvtTable->rows.front().pressureBar
               : 0.0f;
}

OilCorrelationId CorrelationOf(int32_t index) {
    return IsCorrelationIndex(index) ? static_cast<OilCorrelationId>(index)
                                     : OilCorrelationId::VasquezBeggs;
}

}  // namespace morvek
