#pragma once
// What the window's history match and uncertainty analysis were last run
// with, kept with the case (the case file's optional block) so that the
// dialogs open with them again. They take no part in any calculation of the
// case.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvek {

struct MatchSettings {
    // A fitted input by its record name ("m_OOIP"): start value and bounds.
    struct Input {
        std::string name;
        float start = 0;
        float lower = 0;
        float upper = 0;
    };
    std::vector<Input> inputs;  // in the dialog's order
    float pressureWeight = 1;
    float gorWeight = 1;
};

struct SweepSettings {
    // A varied input by its record name: uniform between low and high, or
    // triangular with the most likely value mode.
    struct Range {
        std::string name;
        bool triangular = false;
        float low = 0;
        float mode = 0;
        float high = 0;
    };
    std::vector<Range> ranges;  // in the dialog's order
    uint32_t samples = 1000;
    uint8_t sampling = 0;  // 0 Latin hypercube, 1 Monte Carlo
    uint64_t seed = 1;
    float abandonmentPressureBar = 0;  // 0: none
};

// Bit for bit, as the case file holds them.
bool SameSettings(const std::optional<MatchSettings>& a, const std::optional<MatchSettings>& b);
bool SameSettings(const std::optional<SweepSettings>& a, const std::optional<SweepSettings>& b);

}  // namespace morvek
