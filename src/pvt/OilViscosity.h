#pragma once
// Oil viscosity: dead and saturated oil by Beggs and Robinson, JPT September
// 1975, p. 1140; undersaturated oil by Vasquez and Beggs, JPT June 1980,
// p. 968. The same equations serve every PVT correlation; the choice enters
// only through Rs. A measured viscosity at the bubble point calibrates the
// dead-oil equation by shifting the API gravity it is evaluated at.

#include <cstdint>
#include <limits>

namespace morvek {

// Viscosity in cP of gas-free oil of the API gravity at the temperature in deg F.
double DeadOilViscosity(double api, double tempF);

class OilViscosityModel {
public:
    // The API gravity the dead-oil equation takes (the case's plus the
    // calibration's shift), the temperature in deg F, the bubble point in bar.
    // rsAtBubblePoint, when given, is the Rs that every pressure above the
    // bubble point has: the saturated viscosity of that oil is computed once.
    OilViscosityModel(double apiForViscosity, double temperatureF, float bubblePointPressureBar,
                      double rsAtBubblePoint = std::numeric_limits<double>::quiet_NaN());
    // Viscosity in cP at the pressure, with rs = Rs(p) in sm3/m3.
    double Viscosity(float pressureBar, double rs) const;

private:
    double Saturated(double rs) const;

    double deadOilCp_;
    double pbPsi_;
    double rsAtBubblePoint_;
    double saturatedAtBubblePoint_;
};

// What the calibration found: the API gravity at which the dead-oil equation
// reproduces the measured viscosity at the bubble point.
struct ViscosityCalibration {
    bool applied = false;  // a viscosity was given and the temperature allows it
    float measuredCp = 0;  // as entered
    float bubblePointPressureBar = 0;
    float apiGravity = 0;       // the case's
    float apiForViscosity = 0;  // the one the viscosity is computed with
    float apiShift = 0;         // apiForViscosity - apiGravity, in single precision
};

// rsAtBubblePoint in sm3/m3 (0 when the case has no correlation).
ViscosityCalibration CalibrateViscosity(float measuredCp, double rsAtBubblePoint, float apiGravity,
                                        float bubblePointPressureBar, float temperatureC);

}  // namespace morvek
