#pragma once
// The four oil PVT correlations the case chooses by m_Methode, and the unit
// conventions they share with the oil viscosity and the oil-gravity check.
// Every caller picks the Rs and Bo functions through this one table.

#include "case/MorvekDoc.h"

enum class OilCorrelationId { Glasoe, VasquezBeggs, Standing, Kartoatmodjo };

struct OilCorrelation {
    OilCorrelationId id;
    double (CMorvekDoc::*rs)(float druck) const;             // sm3/m3 at p in bar
    double (CMorvekDoc::*bo)(float druck, double rs) const;  // m3/sm3 at p with Rs(p)
    const char* literature;                                  // heading of the PVT table

    double Rs(const CMorvekDoc& doc, float druck) const { return (doc.*rs)(druck); }
    double Bo(const CMorvekDoc& doc, float druck, double rsValue) const {
        return (doc.*bo)(druck, rsValue);
    }
};

// The correlation of the index 0..3, or nullptr for any other index.
const OilCorrelation* FindOilCorrelation(int methode);

// The correlation of the index; Vasquez & Beggs for an index outside 0..3,
// which only a damaged or foreign case file can hold.
const OilCorrelation& OilCorrelationOrVasquezBeggs(int methode);

// --- Units of the oil correlations and the oil viscosity ------------------------
inline constexpr double kOilPsiPerBar = 14.5038;
inline constexpr double kScfPerStbPerSm3PerM3 = 5.9207;
inline constexpr double kOilGravityNumerator = 141.34435;  // gamma_o from API, not 141.5

// Pressure in psia as the correlations take it: the product is rounded to
// single precision, so that the tables agree with earlier results to the last
// printed digit.
inline float OilPsiFromBar(float bar) {
    return static_cast<float>(double(bar) * kOilPsiPerBar);
}
inline double FahrenheitFromCelsius(double celsius) {
    return celsius * 1.8 + 32.0;
}
inline double RankineFromCelsius(double celsius) {
    return celsius * 1.8 + 492.0;
}
inline double OilSpecificGravity(double api) {
    return kOilGravityNumerator / (api + 131.5);
}
// Which coefficient set: an oil of exactly 30 API counts as heavy.
inline bool IsLightOil(double api) {
    return api > 30.0;
}

// --- Coefficients the oil-gravity check inverts ------------------------------------

// Glasoe: log10 of the correlating number p* at p in psia.
inline constexpr double kGlasoeArgMax = 2.8869;
double GlasoeLogPStar(double psia);
// Exponents of Rs = gamma_g * (p* API^0.989 / T_F^0.172)^1.22549.
inline constexpr double kGlasoeApiExponent = 0.989;
inline constexpr double kGlasoeTemperatureExponent = 0.172;
inline constexpr double kGlasoeRsExponent = 1.22549;

// Vasquez & Beggs: Rs = C1 * gamma_g * p^C2 * exp(C3 * API / T_R).
struct VasquezBeggsRsSet {
    double c1, c2, c3;
};
const VasquezBeggsRsSet& VasquezBeggsRsCoefficients(double api);

// Standing: Rs = gamma_g * ((p / 18.2 + 1.4) * 10^(0.0125 API - 0.00091 T_F))^1.2048.
inline constexpr double kStandingPressureDivisor = 18.2;
inline constexpr double kStandingPressureOffset = 1.4;
inline constexpr double kStandingApiFactor = 0.0125;
inline constexpr double kStandingTemperatureFactor = 0.00091;
inline constexpr double kStandingRsExponent = 1.2048;

// Kartoatmodjo & Schmidt: Rs = a * gamma_g^b * p^c * 10^(d * API / T_R).
struct KartoatmodjoRsSet {
    double a, gasExponent, pressureExponent, apiFactor;
};
const KartoatmodjoRsSet& KartoatmodjoRsCoefficients(double api);
