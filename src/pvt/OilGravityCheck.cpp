#include "pvt/OilGravityCheck.h"

#include <cmath>
#include <limits>

#include "base/Format.h"
#include "base/RunValues.h"
#include "pvt/OilCorrelations.h"

namespace morvek {
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

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

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
    if (!(b.gasGravity > 0.0)) return kNone;
    double arg = kGlasoeArgMax;
    if (b.pbPsi < kGlasoeMaxPsia) arg = GlasoeLogPStar(b.pbPsi);
    const double pStar = std::pow(10.0, arg);
    const double q = std::pow(b.tempF, kGlasoeTemperatureExponent) *
                     std::pow(b.rsiScf / b.gasGravity, kGlasoeInverseRsExponent) / pStar;
    const double api = std::pow(q, kGlasoeInverseApiExponent);
    return IsMeaningful(api) ? static_cast<float>(api) : kNone;
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

ApiFromInitialGor BackCalculateApi(const CaseInputs& in, double gasRelativeDensity) {
    ApiFromInitialGor found;
    found.given = in.initialGorSm3PerM3 != 0.0f;
    found.glasoeApi = kNone;
    found.api = kNone;
    if (!found.given) return found;
    const BubblePoint b{
        static_cast<float>(double(in.bubblePointPressureBar) * kCheckPsiPerBar),
        static_cast<float>(FahrenheitFromCelsius(in.temperatureC)),
        static_cast<float>(RankineFromCelsius(in.temperatureC)),
        double(in.initialGorSm3PerM3) * kScfPerStbPerSm3PerM3,
        gasRelativeDensity,
    };
    // Computed for every correlation: the answer for Glasoe and the starting
    // value of the iterated inverses.
    found.glasoeApi = ApiGlasoe(b);
    double api = kNone;
    switch (CorrelationOf(in.correlation)) {
        case OilCorrelationId::Glasoe:
            api = found.glasoeApi;
            break;
        case OilCorrelationId::VasquezBeggs:
            api = ApiVasquezBeggs(b, found.glasoeApi);
            break;
        case OilCorrelationId::Standing:
            api = ApiStanding(b);
            break;
        case OilCorrelationId::Kartoatmodjo:
            api = ApiKartoatmodjo(b, found.glasoeApi);
            break;
    }
    found.api = IsMeaningful(api) ? static_cast<float>(api) : kNone;
    found.inRange = double(found.api) >= kMinApiGravity && double(found.api) <= kMaxApiGravity;
    return found;
}

float ApiForRun(const CaseInputs& inputs, const ApiFromInitialGor& found, bool useBackCalculated) {
    return useBackCalculated && found.Offered() ? found.api : inputs.apiGravity;
}

std::string ApiOutOfRangeMessage(const CaseInputs& inputs, const ApiFromInitialGor& found) {
    return Format(
        "Das initiale Gas-Öl-Verhältnis von %g m3/m3 ergibt eine Öldichte von %g Grad API.\n"
        "Sie liegt außerhalb des zulässigen Bereichs von %g bis %g Grad API;\n"
        "die Berechnung verwendet die eingegebene Öldichte von %g Grad API.",
        double(inputs.initialGorSm3PerM3), double(found.api), kMinApiGravity, kMaxApiGravity,
        double(inputs.apiGravity));
}

}  // namespace morvek
