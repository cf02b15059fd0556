// Solution gas-oil ratio, oil formation volume factor and oil compressibility
// by the four published correlations:
//   Glasoe, JPT May 1980, p. 785;
//   Vasquez and Beggs, JPT June 1980, p. 968 (also the compressibility of every
//   method);
//   Standing, Drilling and Production Practice, API 1947, p. 275;
//   Kartoatmodjo and Schmidt, OGJ July 1994, p. 51.
// The equations work in psia, deg F, deg R and scf/STB; the functions take and
// give bar and sm3/m3.

#include "pvt/OilCorrelations.h"

#include "pvt/CaseConstant.h"

#include <algorithm>
#include <cmath>

namespace {

const OilCorrelation kOilCorrelations[4] = {
    {OilCorrelationId::Glasoe, &CMorvekDoc::RsGlasoe, &CMorvekDoc::BoGlasoe,
     "Glasoe JPT Mai 1980 S.785"},
    {OilCorrelationId::VasquezBeggs, &CMorvekDoc::RsVasquezBeggs, &CMorvekDoc::BoVasquezBeggs,
     "Vasquez U.Beggs JPT Juni 1980 S.968"},
    {OilCorrelationId::Standing, &CMorvekDoc::RsStanding, &CMorvekDoc::BoStanding,
     "Standing DRILL. und PROD.PRAC.,API 1947 S.275"},
    {OilCorrelationId::Kartoatmodjo, &CMorvekDoc::RsKartoatmodjo, &CMorvekDoc::BoKartoatmodjo,
     "Kartoatmodjo und Schmidt OGJ Juli 1994 S.51"},
};

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

const OilCorrelation* FindOilCorrelation(int methode) {
    return (methode >= 0 && methode < 4) ? &kOilCorrelations[methode] : nullptr;
}

const OilCorrelation& OilCorrelationOrVasquezBeggs(int methode) {
    const OilCorrelation* found = FindOilCorrelation(methode);
    return found != nullptr ? *found : kOilCorrelations[1];
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

// --- Solution gas-oil ratio: above the bubble point the value at pb ----------------

double CMorvekDoc::RsGlasoe(float druck) const {
    const double pPsi = SaturatedPsi(druck, m_Entloesungsdruck);
    const double pStar = std::pow(10.0, GlasoeLogPStar(pPsi));
    const double api = m_API;
    const double tempF = FahrenheitFromCelsius(m_Temperatur);
    const double apiTerm = CaseConstant(api, tempF, [api, tempF] {
        return std::pow(api, kGlasoeApiExponent) / std::pow(tempF, kGlasoeTemperatureExponent);
    });
    const double rsScf = m_GasRelDichte * std::pow(pStar * apiTerm, kGlasoeRsExponent);
    return rsScf / kScfPerStbPerSm3PerM3;
}

double CMorvekDoc::RsVasquezBeggs(float druck) const {
    const double pPsi = SaturatedPsi(druck, m_Entloesungsdruck);
    const double api = m_API;
    const VasquezBeggsRsSet& c = VasquezBeggsRsCoefficients(api);
    const double rsScf = c.c1 * m_GasRelDichte * std::pow(pPsi, c.c2) *
                         std::exp(c.c3 * api / RankineFromCelsius(m_Temperatur));
    return rsScf / kScfPerStbPerSm3PerM3;
}

double CMorvekDoc::RsStanding(float druck) const {
    const double pPsi = SaturatedPsi(druck, m_Entloesungsdruck);
    const double exponent = kStandingApiFactor * double(m_API) -
                            kStandingTemperatureFactor * FahrenheitFromCelsius(m_Temperatur);
    const double rsScf =
        m_GasRelDichte * std::pow((pPsi / kStandingPressureDivisor + kStandingPressureOffset) *
                                      std::pow(10.0, exponent),
                                  kStandingRsExponent);
    return rsScf / kScfPerStbPerSm3PerM3;
}

double CMorvekDoc::RsKartoatmodjo(float druck) const {
    const double pPsi = SaturatedPsi(druck, m_Entloesungsdruck);
    const double api = m_API;
    const KartoatmodjoRsSet& c = KartoatmodjoRsCoefficients(api);
    const double rsScf = c.a * std::pow(m_GasRelDichte, c.gasExponent) *
                         std::pow(pPsi, c.pressureExponent) *
                         std::pow(10.0, c.apiFactor * api / RankineFromCelsius(m_Temperatur));
    return rsScf / kScfPerStbPerSm3PerM3;
}

// --- Oil compressibility (Vasquez & Beggs, for every method) ------------------------

double CMorvekDoc::OilCompressibility(float druck, double rs, double gasRelDichte) const {
    const double pPsi = OilPsiFromBar(druck);  // not clamped to the bubble point
    const double perPsi =
        (5.0 * kScfPerStbPerSm3PerM3 * rs - 1433.0 + 17.2 * FahrenheitFromCelsius(m_Temperatur) -
         1180.0 * gasRelDichte + 12.61 * double(m_API)) /
        (1.0e5 * pPsi);
    return perPsi * kOilPsiPerBar;
}

// --- Oil formation volume factor ------------------------------------------------------

double CMorvekDoc::BoGlasoe(float druck, double rs) const {
    const double co = OilCompressibility(druck, rs, m_GasRelDichte);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double gammaO = OilSpecificGravity(m_API);
    const double gravityRatio = m_GasRelDichte / gammaO;
    const double bobStar = rsScf * CaseConstant(gravityRatio, 0.0, [gravityRatio] {
                               return std::pow(gravityRatio, 0.526);
                           }) +
                           0.968 * FahrenheitFromCelsius(m_Temperatur);
    double boS = 1.0;  // no correlating number, no expansion
    if (bobStar > 0.0) {
        const double lg = std::log10(bobStar);
        boS = 1.0 + std::pow(10.0, -6.58511 + 2.91329 * lg - 0.27683 * lg * lg);
    }
    return Undersaturated(druck, m_Entloesungsdruck, boS, co);
}

double CMorvekDoc::BoVasquezBeggs(float druck, double rs) const {
    const double co = OilCompressibility(druck, rs, m_GasRelDichte);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double api = m_API;
    const VasquezBeggsBoSet& c = IsLightOil(api) ? kVasquezBeggsBoLight : kVasquezBeggsBoHeavy;
    const double tempF = FahrenheitFromCelsius(m_Temperatur);
    const double boS = 1.0 + c.c1 * rsScf + (tempF - 60.0) * c.c2 * api / m_GasRelDichte +
                       (tempF - 60.0) * c.c3 * api / m_GasRelDichte;
    return Undersaturated(druck, m_Entloesungsdruck, boS, co);
}

double CMorvekDoc::BoStanding(float druck, double rs) const {
    const double co = OilCompressibility(druck, rs, m_GasRelDichte);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double gammaO = OilSpecificGravity(m_API);
    const double f =
        rsScf * std::pow(m_GasRelDichte / gammaO, 0.5) + 1.25 * FahrenheitFromCelsius(m_Temperatur);
    const double boS = 0.972 + 0.000147 * std::pow(f, 1.175);
    return Undersaturated(druck, m_Entloesungsdruck, boS, co);
}

double CMorvekDoc::BoKartoatmodjo(float druck, double rs) const {
    const double co = OilCompressibility(druck, rs, m_GasRelDichte);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double gammaO = OilSpecificGravity(m_API);
    const double f =
        std::pow(rsScf, 0.755) * std::pow(m_GasRelDichte, 0.25) * std::pow(gammaO, -1.5) +
        0.45 * FahrenheitFromCelsius(m_Temperatur);
    const double boS = 0.98496 + 0.0001 * std::pow(f, 1.5);
    return Undersaturated(druck, m_Entloesungsdruck, boS, co);
}
