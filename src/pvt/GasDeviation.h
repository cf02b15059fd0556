#pragma once
// Gas deviation factor, gas formation volume factor and gas viscosity at
// reservoir temperature.
// z factor: Hall and Yarborough, Oil & Gas Journal, 18 June 1973, p. 82: a
// Newton iteration on the reduced density of the Starling-Carnahan equation
// of state.
// Viscosity: Lee, Gonzalez and Eakin, JPT August 1966, p. 997, from the gas
// density that Bg implies.

namespace morvek {

// The temperature-dependent coefficients of the Hall-Yarborough equation; t
// is the reciprocal pseudo-reduced temperature.
struct HallYarborough {
    double a, b, c, d;
    explicit HallYarborough(double t);
    // Deviation factor z at the pseudo-reduced pressure.
    double Z(double ppr) const;
};

// The gas at reservoir temperature: everything that does not depend on the
// pressure is computed once.
class GasAtTemperature {
public:
    // Temperature in deg C; corrected pseudo-critical values in psia and
    // deg R; molecular weight in kg/kmol; density at standard conditions in
    // kg/m3.
    GasAtTemperature(float temperatureC, double ppcCorrectedPsia, double tpcCorrectedRankine,
                     double molecularWeight, double standardDensityKgM3);

    double Z(float pressureBar) const;
    // Reservoir m3 per standard m3 at 1.0134 bar and 273 K.
    double Bg(float pressureBar) const;
    // Gas viscosity in cP from Bg at the same pressure.
    double ViscosityFromBg(double bg) const;
    double Viscosity(float pressureBar) const { return ViscosityFromBg(Bg(pressureBar)); }

    // The Lee constants K (1e-4 cP), X and Y.
    double LeeK() const { return leeK_; }
    double LeeX() const { return leeX_; }
    double LeeY() const { return leeY_; }

private:
    double Ppr(float pressureBar) const;

    double temperatureC_;
    double ppcCorrectedPsia_;
    HallYarborough coefficients_;
    double standardDensityKgM3_;
    double leeK_, leeX_, leeY_;
};

}  // namespace morvek
