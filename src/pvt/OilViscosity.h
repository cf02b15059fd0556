#pragma once
// Dead-oil viscosity of Beggs and Robinson, the base of every oil viscosity
// the case computes (CMorvekDoc::OilViscosity adds the dissolved gas and the
// undersaturation).

// Viscosity in cP of gas-free oil of the API gravity at the temperature in
// deg F.
double DeadOilViscosity(double api, double tempF);
