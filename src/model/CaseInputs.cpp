#include "model/CaseInputs.h"

namespace morvek {

bool IsCorrelationIndex(int32_t index) {
    return index >= 0 && index < kOilCorrelationCount;
}

OilCorrelationId CorrelationOf(int32_t index) {
    return IsCorrelationIndex(index) ? static_cast<OilCorrelationId>(index)
                                     : OilCorrelationId::VasquezBeggs;
}

}  // namespace morvek
