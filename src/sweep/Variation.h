#pragma once
// An uncertain input of a sweep: one number field of the field table with the
// distribution of its value between a low and a high value, uniform or
// triangular with the most likely value between them. The command line writes
// it as "NAME=LOW:HIGH" or "NAME=LOW:MODE:HIGH"; the window's table fills the
// same struct and checks it the same way.

#include <string>
#include <vector>

#include "model/CaseInputs.h"
#include "model/FieldTable.h"

namespace morvek {

enum class Distribution { Uniform, Triangular };

struct Variation {
    const Field* field = nullptr;  // a FieldKind::Number row of FieldTable()
    Distribution distribution = Distribution::Uniform;
    float low = 0.0f;
    float mode = 0.0f;  // the most likely value; triangular only
    float high = 0.0f;

    // The value below which the share u of the distribution lies (u in [0, 1)),
    // as the single-precision number the case stores, within [low, high].
    float Quantile(double u) const;
};

// Checks a variation as the data-entry dialog checks the field's value: low,
// high (and the mode) are numbers the field accepts, low below high, the mode
// between them, the field a number input varied once. Empty when accepted,
// else a German message naming the input.
std::string CheckVariation(const Variation& variation);
std::string CheckVariations(const std::vector<Variation>& variations);

// Why NAME cannot be varied: no number input of the case has that name; the
// message lists the names that can.
std::string NoNumberInputMessage(const std::string& name);

// Reads "NAME=LOW:HIGH" (uniform) or "NAME=LOW:MODE:HIGH" (triangular); NAME
// is the case record's name ("m_OOIP") or the field's English name
// ("ooip_1000m3"), the numbers are read as the dialog reads them. False with
// a German message in problem when the text is not such a variation or the
// range is refused.
bool ParseVariation(const std::string& text, Variation& variation, std::string& problem);

}  // namespace morvek
