#include "model/StudySettings.h"

#include <bit>

namespace morvek {
namespace {

bool Same(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

bool SameInput(const MatchSettings::Input& a, const MatchSettings::Input& b) {
    return a.name == b.name && Same(a.start, b.start) && Same(a.lower, b.lower) &&
           Same(a.upper, b.upper);
}

bool SameRange(const SweepSettings::Range& a, const SweepSettings::Range& b) {
    return a.name == b.name && a.triangular == b.triangular && Same(a.low, b.low) &&
           Same(a.mode, b.mode) && Same(a.high, b.high);
}

template <class T, class Equal>
bool SameList(const std::vector<T>& a, const std::vector<T>& b, Equal equal) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!equal(a[i], b[i])) return false;
    return true;
}

}  // namespace

bool SameSettings(const std::optional<MatchSettings>& a, const std::optional<MatchSettings>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return SameList(a->inputs, b->inputs, SameInput) && Same(a->pressureWeight, b->pressureWeight) &&
           Same(a->gorWeight, b->gorWeight);
}

bool SameSettings(const std::optional<SweepSettings>& a, const std::optional<SweepSettings>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return SameList(a->ranges, b->ranges, SameRange) && a->samples == b->samples &&
           a->sampling == b->sampling && a->seed == b->seed &&
           Same(a->abandonmentPressureBar, b->abandonmentPressureBar);
}

}  // namespace morvek
