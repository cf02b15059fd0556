// Oil viscosity: dead and saturated oil by Beggs and Robinson (JPT September
// 1975), undersaturated oil by Vasquez and Beggs (JPT June 1980). The same
// equations serve every PVT correlation; the choice enters only through Rs.
// A measured viscosity at the bubble point calibrates the dead-oil equation by
// shifting the API gravity it is evaluated at.

#include "pvt/OilViscosity.h"

#include <cmath>

#include "base/Format.h"
#include "base/MessageSink.h"
#include "pvt/CaseConstant.h"
#include "pvt/OilCorrelations.h"

namespace {

// Dead oil: log10(log10(mu_od + 1)) = 3.0324 - 0.02023 API - 1.163 log10(T_F).
constexpr double kDeadOilIntercept = 3.0324;
constexpr double kDeadOilApiSlope = 0.02023;
constexpr double kDeadOilTemperatureExponent = -1.163;

// Saturated oil: mu_ob = A mu_od^B. The viscosity uses 10.751, the calibration
// 10.715; so a calibrated viscosity comes out 0.34 % above the measured one.
constexpr double kLiveOilFactorViscosity = 10.751;
constexpr double kLiveOilFactorCalibration = 10.715;

double LiveOilA(double factor, double rsScf) {
    return factor * std::pow(rsScf + 100.0, -0.515);
}
double LiveOilB(double rsScf) {
    return 5.44 * std::pow(rsScf + 150.0, -0.338);
}

// Below this the temperature term of the dead-oil equation is not usable.
constexpr double kCalibrationMinTempF = -10.0;

}  // namespace

double DeadOilViscosity(double api, double tempF) {
    const double z = kDeadOilIntercept - kDeadOilApiSlope * api;
    const double x = std::pow(10.0, z) * std::pow(tempF, kDeadOilTemperatureExponent);
    return std::pow(10.0, x) - 1.0;
}

double CMorvekDoc::OilViscosity(float druck, double rs) const {
    const double pPsi = OilPsiFromBar(druck);
    const double pbPsi = OilPsiFromBar(m_Entloesungsdruck);
    const double rsScf = kScfPerStbPerSm3PerM3 * rs;
    const double tempF = FahrenheitFromCelsius(m_Temperatur);

    const double api = double(m_API) + double(m_dAPI);
    const double deadOil =
        CaseConstant(api, tempF, [api, tempF] { return DeadOilViscosity(api, tempF); });

    const double saturated =
        LiveOilA(kLiveOilFactorViscosity, rsScf) * std::pow(deadOil, LiveOilB(rsScf));
    if (pPsi > pbPsi) {
        const double m = 2.6 * std::pow(pPsi, 1.187) * std::exp(-11.513 - 8.98e-5 * pPsi);
        return saturated * std::pow(pPsi / pbPsi, m);
    }
    return saturated;
}

float CMorvekDoc::CalibrateViscosityAPI() {
    // A case without a correlation has no Rs to calibrate with: the live-oil
    // factors are then those of gas-free oil.
    const OilCorrelation* correlation = FindOilCorrelation(m_Methode);
    const double rsPb = correlation != nullptr ? correlation->Rs(*this, m_Entloesungsdruck) : 0.0;
    const double rsScf = kScfPerStbPerSm3PerM3 * rsPb;
    const double tempF = FahrenheitFromCelsius(m_Temperatur);
    const double a = LiveOilA(kLiveOilFactorCalibration, rsScf);
    const double b = LiveOilB(rsScf);

    if (m_NuoPb <= 0.0f) return 0.0f;
    const double deadOil = std::pow(double(m_NuoPb) / a, 1.0 / b);
    if (tempF <= kCalibrationMinTempF) return 0.0f;

    const double y = std::log10(deadOil + 1.0) / std::pow(tempF, kDeadOilTemperatureExponent);
    float apiViscosity = m_API;
    if (y > 0.0)
        apiViscosity = static_cast<float>((kDeadOilIntercept - std::log10(y)) / kDeadOilApiSlope);

    Messages().Show(
        Format("\n"
               "\tVorgegeben:\n"
               "\tViskositaet(cp):%g bei %g bar\n"
               "\tOeldichte API:  %g\n"
               "\tOeldichte API:  %g fuer die Viskositaetsberechnung\n",
               double(m_NuoPb), double(m_Entloesungsdruck), double(m_API), double(apiViscosity)));
    return apiViscosity - m_API;
}
