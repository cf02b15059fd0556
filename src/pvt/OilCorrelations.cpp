#include "pvt/OilCorrelations.h"

#include <algorithm>
#include <cmath>

namespace morvek {
namespace {

constexpr VasquezBeggsRsSet kVasquezBeggsRsHeavy{0.0362, 1.0937, 25.724};
constexpr VasquezBeggsRsSet kVasquezBeggsRsLight{0.0178, 1.187, 23.931};

// The light set's gas-gravity exponent is 0.7567, not 0.7587: earlier results
// of the program rest on this value.
constexpr KartoatmodjoRsSet kKartoatmodjoRsHeavy{0.05958, 0.7972, 1.0014, 13.1405};
constexpr KartoatmodjoRsSet kKartoatmodjoRsLight{0.0315, 0.7567, 1.0937, 11.2895};

struct VasquezBeggsBoSet {
    double c1, c2, c3;
};
// The third coefficient of the heavy set is positive; the third term carries
// no factor Rs.
constexpr VasquezBeggsBoSet kVasquezBeggsBoHeavy{0.0004677, 1.751e-5, 1.18106e-8};
constexpr VasquezBeggsBoSet kVasquezBeggsBoLight{0.000467, 1.1e-5, 1.337e-9};

constexpr const char* kLiterature[kOilCorrelationCount] = {
    "Glasoe JPT Mai 1980 S.785",
    "Vasquez U.Beggs JPT Juni 1980 S.968",
    "Standing DRILL. und PROD.PRAC.,API 1947 S.275",
    "Kartoatmodjo und Schmidt OGJ Juli 1994 S.51",
};
constexpr const char* kReportNames[kOilCorrelationCount] = {"         Glasoe", "Vasquez & Beggs",
                                                            "       Standing", "   Kartoatmodjo"};

// Above the bubble point the oil expands linearly with the pressure drop
// (not exponentially): the saturated value is that of the bubble point,
// because the caller passes Rs(pb) there.
double Undersaturated(float druck, float pb, double boSaturated, double co) {
    if (druck > pb) return boSaturated * (1.0 - (double(druck) - double(pb)) * co);
    return boSaturated;
}

// Pressure of the saturated oil in psia: above the bubble point the gas-oil
// ratio stays at its bubble-point value.
double SaturatedPsi(float druck, float pb) {
    return OilPsiFromBar(std::min(druck, pb));
}

}  // namespace

OilParameters MakeOilParameters(OilCorrelationId correlation, float apiGravity,
                                double gasRelativeDensity, float temperatureC,
                                float bubblePointPressureBar) {
    OilParameters o;
    o.correlation = correlation;
    o.apiGravity = apiGravity;
    o.gasRelativeDensity = gasRelativeDensity;
    o.temperatureC = temperatureC;
    o.bubblePointPressureBar = bubblePointPressureBar;
    o.temperatureF = FahrenheitFromCelsius(o.temperatureC);
    o.temperatureR = RankineFromCelsius(o.temperatureC);
    o.glasoeApiTerm = std::pow(o.apiGravity, kGlasoeApiExponent) /
                      std::pow(o.temperatureF, kGlasoeTemperatureExponent);
    o.glasoeGravityTerm = std::pow(o.gasRelativeDensity / OilSpecificGravity(o.apiGravity), 0.526);
    return o;
}

double GlasoeLogPStar(double psia) {
    return kGlasoeArgMax - std::sqrt(14.1811 - 3.3093 * std::log10(psia));
}

const VasquezBeggsRsSet& VasquezBeggsRsCoefficients(double api) {
    return IsLightOil(api) ? kVasquezBeggsRsLight : kVasquezBeggsRsHeavy;
}

const KartoatmodjoRsSet& KartoatmodjoRsCoefficients(double api) {
    return IsLightOil(api) ? kKartoatmodjoRsLight : kKartoatmodjoRsHeavy;
}

const char* CorrelationLiterature(OilCorrelationId correlation) {
    return kLiterature[static_cast<int>(correlation)];
}

const char* CorrelationReportName(int32_t index) {
    return IsCorrelationIndex(index) ? kReportNames[index] : "";
}

// --- Solution gas-oil ratio ------------------------------------------------------------

double RsGlasoe(float druck, const OilParameters& o) {
    const double pPsi = SaturatedPsi(druck, o.bubblePointPressureBar);
    const double pStar = std::pow(10.0, GlasoeLogPStar(pPsi));
    const double rsScf =
        o.gasRelativeDensity * std::pow(pStar * o.glasoeApiTerm, kGlasoeRsExponent);
    return rsScf / kScfPerStbPerSm3PerM3;
}

double RsVasquezBeggs(float druck, const OilParameters& o) {
    const double pPsi = SaturatedPsi(druck, o.bubblePointPressureBar);
    const VasquezBeggsRsSet& c = VasquezBeggsRsCoefficients(o.apiGravity);
    const double rsScf = c.c1 * o.gasRelativeDensity * std::pow(pPsi, c.c2) *
                         std::exp(c.c3 * o.apiGravity / o.temperatureR);
    return rsScf / kScfPerStbPerSm3PerM3;
}

double RsStanding(float druck, const OilParameters& o) {
    const double pPsi = SaturatedPsi(druck, o.bubblePointPressureBar);
    const double exponent =
        kStandingApiFactor * o.apiGravity - kStandingTemperatureFactor * o.temperatureF;
    const double rsScf = o.gasRelativeDensity *
                         std::pow((pPsi / kStandingPressureDivisor + kStandingPressureOffset) *
                                      std::pow(10.0, exponent),
                                  kStandingRsExponent);
    return rsScf / kScfPerStbPerSm3PerM3;
}

double RsKartoatmodjo(float druck, const OilParameters& o) {
    const double pPsi = SaturatedPsi(druck, o.bubblePointPressureBar);
    const KartoatmodjoRsSet& c = KartoatmodjoRsCoefficients(o.apiGravity);
    const double rsScf = c.a * std::pow(o.gasRelativeDensity, c.gasExponent) *
                         std::pow(pPsi, c.pressureExponent) *
                         std::pow(10.0, c.apiFactor * o.apiGravity / o.temperatureR);
    return rsScf / kScfPerStbPerSm3PerM3;
}

double Rs(float pressureBar, const OilParameters& o) {
    switch (o.correlation) {
        case OilCorrelationId::Glasoe:
            return RsGlasoe(pressureBar, o);
        case OilCorrelationId::VasquezBeggs:
            return RsVasquezBeggs(pressureBar, o);
        case OilCorrelationId::Standing:
            return RsStanding(pressureBar, o);
        case OilCorrelationId::Kartoatmodjo:
            return RsKartoatmodjo(pressureBar, o);
    }
    return RsVasquezBeggs(pressureBar, o);
}

// --- Oil compressibility (Vasquez & Beggs, for every correlation) ------------------------

double OilCompressibility(float druck, double rs, const OilParameters& o) {
    const double pPsi = OilPsiFromBar(druck);  // not clamped to the bubble point
    const double perPsi = (5.0 * kScfPerStbPerSm3PerM3 * rs - 1433.0 + 17.2 * o.temperatureF -
                           1180.0 * o.gasRelativeDensity + 12.61 * o.apiGravity) /
                          (1.0e5 * pPsi);
    return perPsi * kOilPsiPerBar;
}

// --- Oil formation volume factor ----------------------------------------------------------

double BoGlasoe(float druck, double rs, const OilParameters& o) {
    const double co = OilCompressibility(druck, rs, o);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double bobStar = rsScf * o.glasoeGravityTerm + 0.968 * o.temperatureF;
    double boS = 1.0;  // no correlating number, no expansion
    if (bobStar > 0.0) {
        const double lg = std::log10(bobStar);
        boS = 1.0 + std::pow(10.0, -6.58511 + 2.91329 * lg - 0.27683 * lg * lg);
    }
    return Undersaturated(druck, o.bubblePointPressureBar, boS, co);
}

double BoVasquezBeggs(float druck, double rs, const OilParameters& o) {
    const double co = OilCompressibility(druck, rs, o);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double api = o.apiGravity;
    const VasquezBeggsBoSet& c = IsLightOil(api) ? kVasquezBeggsBoLight : kVasquezBeggsBoHeavy;
    const double tempF = o.temperatureF;
    const double boS = 1.0 + c.c1 * rsScf + (tempF - 60.0) * c.c2 * api / o.gasRelativeDensity +
                       (tempF - 60.0) * c.c3 * api / o.gasRelativeDensity;
    return Undersaturated(druck, o.bubblePointPressureBar, boS, co);
}

double BoStanding(float druck, double rs, const OilParameters& o) {
    const double co = OilCompressibility(druck, rs, o);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double gammaO = OilSpecificGravity(o.apiGravity);
    const double f = rsScf * std::pow(o.gasRelativeDensity / gammaO, 0.5) + 1.25 * o.temperatureF;
    const double boS = 0.972 + 0.000147 * std::pow(f, 1.175);
    return Undersaturated(druck, o.bubblePointPressureBar, boS, co);
}

double BoKartoatmodjo(float druck, double rs, const OilParameters& o) {
    const double co = OilCompressibility(druck, rs, o);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double gammaO = OilSpecificGravity(o.apiGravity);
    const double f =
        std::pow(rsScf, 0.755) * std::pow(o.gasRelativeDensity, 0.25) * std::pow(gammaO, -1.5) +
        0.45 * o.temperatureF;
    const double boS = 0.98496 + 0.0001 * std::pow(f, 1.5);
    return Undersaturated(druck, o.bubblePointPressureBar, boS, co);
}

double Bo(float pressureBar, double rs, const OilParameters& o) {
    switch (o.correlation) {
        case OilCorrelationId::Glasoe:
            return BoGlasoe(pressureBar, rs, o);
        case OilCorrelationId::VasquezBeggs:
            return BoVasquezBeggs(pressureBar, rs, o);
        case OilCorrelationId::Standing:
            return BoStanding(pressureBar, rs, o);
        case OilCorrelationId::Kartoatmodjo:
            return BoKartoatmodjo(pressureBar, rs, o);
    }
    return BoVasquezBeggs(pressureBar, rs, o);
}

}  // namespace morvek
