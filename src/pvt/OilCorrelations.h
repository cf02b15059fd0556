#pragma once
// The four oil PVT correlations a case chooses from, as free functions of
// plain parameters, and the unit conventions they share with the oil viscosity
// and the oil-gravity check.
//
//   Glasoe, JPT May 1980, p. 785;
//   Vasquez and Beggs, JPT June 1980, p. 968 (also the compressibility of every
//   method);
//   Standing, Drilling and Production Practice, API 1947, p. 275;
//   Kartoatmodjo and Schmidt, Oil & Gas Journal, July 1994, p. 51.
//
// The equations work in psia, deg F, deg R and scf/STB; the functions take
// pressures in bar and give sm3/m3 and m3/sm3. Pressures are single precision,
// as the case and the prediction's pressure steps hold them.

#include "model/CaseInputs.h"

namespace morvek {

// Everything the correlations take besides the pressure, with the terms that
// depend on these alone computed once (MakeOilParameters).
struct OilParameters {
    OilCorrelationId correlation = OilCorrelationId::Glasoe;
    double apiGravity = 0;          // deg API
    double gasRelativeDensity = 0;  // air = 1
    double temperatureC = 0;        // deg C
    float bubblePointPressureBar = 0;
    double temperatureF = 0;       // derived: deg F
    double temperatureR = 0;       // derived: deg R (F + 460 as 492 - 32)
    double glasoeApiTerm = 0;      // derived: API^0.989 / T_F^0.172
    double glasoeGravityTerm = 0;  // derived: (gamma_g / gamma_o)^0.526
};

OilParameters MakeOilParameters(OilCorrelationId correlation, float apiGravity,
                                double gasRelativeDensity, float temperatureC,
                                float bubblePointPressureBar);

// Solution gas-oil ratio in sm3/m3; above the bubble point the value at pb.
double RsGlasoe(float pressureBar, const OilParameters& oil);
double RsVasquezBeggs(float pressureBar, const OilParameters& oil);
double RsStanding(float pressureBar, const OilParameters& oil);
double RsKartoatmodjo(float pressureBar, const OilParameters& oil);
// The correlation of oil.correlation.
double Rs(float pressureBar, const OilParameters& oil);

// Oil compressibility in 1/bar (Vasquez & Beggs, for every correlation), with
// Rs(p) and the gas gravity given.
double OilCompressibility(float pressureBar, double rs, const OilParameters& oil);

// Oil formation volume factor in m3/sm3 with rs = Rs(p): saturated by the
// correlation, above the bubble point expanded linearly with the compressibility.
double BoGlasoe(float pressureBar, double rs, const OilParameters& oil);
double BoVasquezBeggs(float pressureBar, double rs, const OilParameters& oil);
double BoStanding(float pressureBar, double rs, const OilParameters& oil);
double BoKartoatmodjo(float pressureBar, double rs, const OilParameters& oil);
double Bo(float pressureBar, double rs, const OilParameters& oil);

// The literature line of the PVT table: "Glasoe JPT Mai 1980 S.785".
const char* CorrelationLiterature(OilCorrelationId correlation);
// The name in the report head, exactly 15 characters; empty for an index
// outside 0..3.
const char* CorrelationReportName(int32_t index);

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

}  // namespace morvek
