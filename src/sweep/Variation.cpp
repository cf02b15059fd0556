#include "sweep/Variation.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/NumberText.h"

namespace morvek {

float Variation::Quantile(double u) const {
    const double lo = low, hi = high, range = hi - lo;
    double x = lo + u * range;
    if (distribution == Distribution::Triangular) {
        // Inverse of the triangular distribution's cumulative share: below the
        // mode it grows with the square of the distance from low, above it the
        // remaining share shrinks with the square of the distance to high.
        const double m = mode;
        const double atMode = range > 0 ? (m - lo) / range : 0.0;
        x = u < atMode ? lo + std::sqrt(u * range * (m - lo))
                       : hi - std::sqrt((1.0 - u) * range * (hi - m));
    }
    // Rounding to single precision keeps a value within the float ends.
    return std::clamp(static_cast<float>(x), low, high);
}

std::string CheckVariation(const Variation& v) {
    if (v.field == nullptr) return "Unbekannte Eingabe.";
    const Field& f = *v.field;
    if (f.kind != FieldKind::Number || f.date)
        return Format("%s (%s) ist keine Zahleneingabe und kann nicht variiert werden.",
                      f.recordName, f.Caption().c_str());
    const bool triangular = v.distribution == Distribution::Triangular;
    for (float value : {v.low, triangular ? v.mode : v.low, v.high}) {
        const std::string refused = CheckNumber(f, value);
        if (!refused.empty()) return Format("%s: %s", f.recordName, refused.c_str());
    }
    if (!(v.low < v.high))
        return Format("%s: der untere Wert %s muß kleiner als der obere Wert %s sein.",
                      f.recordName, ShortestText(v.low).c_str(), ShortestText(v.high).c_str());
    if (triangular && !(v.low <= v.mode && v.mode <= v.high))
        return Format("%s: der wahrscheinlichste Wert %s muß zwischen %s und %s liegen.",
                      f.recordName, ShortestText(v.mode).c_str(), ShortestText(v.low).c_str(),
                      ShortestText(v.high).c_str());
    return "";
}

std::string CheckVariations(const std::vector<Variation>& variations) {
    for (size_t i = 0; i < variations.size(); ++i) {
        const std::string refused = CheckVariation(variations[i]);
        if (!refused.empty()) return refused;
        for (size_t j = 0; j < i; ++j)
            if (variations[j].field == variations[i].field)
                return Format("%s wird mehr als einmal variiert.", variations[i].field->recordName);
    }
    return "";
}

std::string NoNumberInputMessage(const std::string& name) {
    std::string names;
    for (const Field& f : FieldTable()) {
        if (f.kind != FieldKind::Number || f.date) continue;
        if (!names.empty()) names += ", ";
        names += f.recordName;
    }
    return Format("\"%s\" ist keine Zahleneingabe des Falls.\nMögliche Namen: %s", name.c_str(),
                  names.c_str());
}

bool ParseVariation(const std::string& text, Variation& variation, std::string& problem) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos) {
        problem = Format(
            "--vary erwartet NAME=UNTEN:OBEN oder NAME=UNTEN:WAHRSCHEINLICH:OBEN, "
            "nicht \"%s\".",
            text.c_str());
        return false;
    }
    const std::string name = text.substr(0, eq);
    const Field* field = FindField(name);
    if (field == nullptr || field->kind != FieldKind::Number) {
        problem = "--vary: " + NoNumberInputMessage(name);
        return false;
    }
    std::vector<std::string> parts;
    size_t begin = eq + 1;
    for (;;) {
        const size_t colon = text.find(':', begin);
        parts.push_back(text.substr(begin, colon - begin));
        if (colon == std::string::npos) break;
        begin = colon + 1;
    }
    if (parts.size() != 2 && parts.size() != 3) {
        problem = Format(
            "--vary %s: zwei Werte (UNTEN:OBEN) oder drei "
            "(UNTEN:WAHRSCHEINLICH:OBEN) erwartet.",
            text.c_str());
        return false;
    }
    std::vector<float> values;
    for (const std::string& part : parts) {
        float value = 0.0f;
        if (!ParseFloatStrict(part, value)) {
            problem = Format("--vary %s: %s", text.c_str(), NotANumberMessage(*field).c_str());
            return false;
        }
        values.push_back(value);
    }
    Variation v;
    v.field = field;
    v.distribution = values.size() == 3 ? Distribution::Triangular : Distribution::Uniform;
    v.low = values.front();
    v.high = values.back();
    v.mode = values.size() == 3 ? values[1] : values.front();
    const std::string refused = CheckVariation(v);
    if (!refused.empty()) {
        problem = Format("--vary %s: %s", text.c_str(), refused.c_str());
        return false;
    }
    variation = v;
    return true;
}

}  // namespace morvek
