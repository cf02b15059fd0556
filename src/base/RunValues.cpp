#include "base/RunValues.h"

#include "base/Format.h"

std::string NoMeaningfulValueText(const char* what) {
    return Format("Keine sinnvolle Berechnung möglich: %s", what);
}

std::string NoMeaningfulResult(const char* what) {
    return " " + NoMeaningfulValueText(what);
}

std::string NoMeaningfulResult(const char* what, float druck) {
    return Format(" Keine sinnvolle Berechnung möglich: %s bei %.1f bar", what, double(druck));
}
