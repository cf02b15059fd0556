// Oil-gravity consistency check. API gravity, gas gravity, temperature and
// bubble point fix the solution gas-oil ratio at the bubble point; a measured
// initial gas-oil ratio over-determines them. The selected Rs correlation is
// solved backwards for the API gravity that reproduces the measured ratio, and
// the user decides which value the run goes on with.

#include <cmath>
#include <limits>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "case/RunValues.h"
#include "pvt/OilCorrelations.h"

namespace {

// The check converts the bubble point with its own 14.5078 psi per bar, not
// the 14.5038 of the correlations; hence the small offset of a round trip.
constexpr double kCheckPsiPerBar = 14.5078;

// From here up the Glasoe correlating number is taken at its limit: the square
// root turns negative a little above 19,280 psia.
constexpr double kGlasoeMaxPsia = 19000.0;
// Reciprocals of the Glasoe exponents 1.22549 and 0.989.
constexpr double kGlasoeInverseRsExponent = 0.816;
constexpr double kGlasoeInverseApiExponent = 1.0111223;
// Reciprocal of the Standing exponent 1.2048.
constexpr double kStandingInverseExponent = 0.8300133;
// Vasquez & Beggs and Kartoatmodjo & Schmidt switch their coefficient set at
// 30 API; two passes settle which set the result belongs to.
constexpr int kInversePasses = 2;

struct BubblePoint {
    double pbPsi;   // psia, single precision
    double tempF;   // deg F, single precision
    double tempR;   // deg R, single precision
    double rsiScf;  // measured initial gas-oil ratio, scf/STB
    double gasGravity;
};

// Not a number when the gas gravity is not positive or the gravity found lies
// beyond single precision: no back-calculation then.
float ApiGlasoe(const BubblePoint& b) {
    if (!(b.gasGravity > 0.0)) return std::numeric_limits<float>::quiet_NaN();
    double arg = kGlasoeArgMax;
    if (b.pbPsi < kGlasoeMaxPsia) arg = GlasoeLogPStar(b.pbPsi);
    const double pStar = std::pow(10.0, arg);
    const double q = std::pow(b.tempF, kGlasoeTemperatureExponent) *
                     std::pow(b.rsiScf / b.gasGravity, kGlasoeInverseRsExponent) / pStar;
    const double api = std::pow(q, kGlasoeInverseApiExponent);
    return IsMeaningful(api) ? static_cast<float>(api) : std::numeric_limits<float>::quiet_NaN();
}

double ApiVasquezBeggs(const BubblePoint& b, double start) {
    double api = start;
    for (int pass = 0; pass < kInversePasses; ++pass) {
        const VasquezBeggsRsSet& c = VasquezBeggsRsCoefficients(api);
        api = std::log(b.rsiScf / (c.c1 * b.gasGravity * std::pow(b.pbPsi, c.c2))) * b.tempR / c.c3;
    }
    return api;
}

double ApiStanding(const BubblePoint& b) {
    const double d = std::pow(b.rsiScf / b.gasGravity, kStandingInverseExponent);
    const double e = d / (b.pbPsi / kStandingPressureDivisor + kStandingPressureOffset);
    return (std::log10(e) + kStandingTemperatureFactor * b.tempF) / kStandingApiFactor;
}

double ApiKartoatmodjo(const BubblePoint& b, double start) {
    double api = start;
    for (int pass = 0; pass < kInversePasses; ++pass) {
        const KartoatmodjoRsSet& c = KartoatmodjoRsCoefficients(api);
        api = std::log10(b.rsiScf / (c.a * std::pow(b.gasGravity, c.gasExponent) *
                                     std::pow(b.pbPsi, c.pressureExponent))) *
              b.tempR / c.apiFactor;
    }
    return api;
}

}  // namespace

// The API gravity that reproduces m_Rsi at the bubble point; m_API itself when
// the user declines the Glasoe value or when no finite gravity comes out.
float CMorvekDoc::ApiFromGOR() {
    const BubblePoint b{
        static_cast<float>(double(m_Entloesungsdruck) * kCheckPsiPerBar),
        static_cast<float>(FahrenheitFromCelsius(m_Temperatur)),
        static_cast<float>(RankineFromCelsius(m_Temperatur)),
        double(m_Rsi) * kScfPerStbPerSm3PerM3,
        m_GasRelDichte,
    };
    // Computed for every correlation: the answer for Glasoe and the starting
    // value of the iterated inverses.
    const float apiGlasoe = ApiGlasoe(b);

    double api = m_API;
    switch (OilCorrelationOrVasquezBeggs(m_Methode).id) {
        case OilCorrelationId::Glasoe:
            // A measured ratio no API gravity reproduces (a negative one, say)
            // is not offered.
            if (!std::isfinite(apiGlasoe)) return m_API;
            if (Messages().AskYesNo(
                    Format("Soll der API-Wert nach GLASOE von %8.3f verwendet werden?",
                           double(apiGlasoe))))
                return apiGlasoe;
            return m_API;
        case OilCorrelationId::VasquezBeggs:
            api = ApiVasquezBeggs(b, apiGlasoe);
            break;
        case OilCorrelationId::Standing:
            api = ApiStanding(b);
            break;
        case OilCorrelationId::Kartoatmodjo:
            api = ApiKartoatmodjo(b, apiGlasoe);
            break;
    }
    return IsMeaningful(api) ? static_cast<float>(api) : m_API;
}

void CMorvekDoc::CheckOilGravity() {
    if (m_Rsi == 0.0f) return;
    const float apiNeu = ApiFromGOR();
    if (apiNeu == m_API) return;
    const std::string values = Format(
        "AENDERUNG DER OELDICHTE(GRAD API)\n"
        "\tAlter WERT                 :%6.3f\n"
        "\tNeuer WERT                 :%6.3f\n"
        "\tGasdichte(LUFT=1)          :%6.3f\n"
        "\tGasentloesungsdruck(bar)   :%6.1f\n"
        "\tInitiales Gas-Öl-Verhältnis:%6.1f\n",
        double(m_API), double(apiNeu), m_GasRelDichte, double(m_Entloesungsdruck), double(m_Rsi));
    if (Messages().AskYesNo(values + "Soll das initiale Gas-Öl-Verhältnis verwendet werden?"))
        m_API = apiNeu;
}
