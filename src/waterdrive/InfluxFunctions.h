#pragma once
// The dimensionless functions of a radial aquifer around a circular reservoir
// (van Everdingen & Hurst 1949): with tD = k t / (phi mu ct r^2) and
// reD = aquifer radius / reservoir radius,
//
//   WD(tD)  cumulative influx after a unit pressure drop held at the
//           reservoir boundary (the constant-terminal-pressure case),
//   PD(tD)  boundary pressure drop under a unit influx rate (the
//           constant-terminal-rate case), and its derivative PD'(tD),
//
// for an infinite aquifer or one closed at reD. They are the inverse Laplace
// transforms of
//
//   infinite:  WD(s) = K1(a) / (s a K0(a)),      PD(s) = K0(a) / (s a K1(a)),     a = sqrt(s)
//   closed:    WD(s) = [I1(R)K1(a) - K1(R)I1(a)] / (s a [I0(a)K1(R) + K0(a)I1(R)]),
//              PD(s) = [K1(R)I0(a) + I1(R)K0(a)] / (s a [I1(R)K1(a) - K1(R)I1(a)]),  R = reD a
//
// inverted numerically by Stehfest's algorithm (Stehfest 1970, 14 terms in
// double precision) with Boost.Math's Bessel functions, and tabulated in
// ln tD (16 points a decade, cubic interpolation) so that the superposition
// of many pressure steps costs a table look-up per term. Below tD = 1e-4 the
// short-time series of the infinite aquifer hold (the boundary is not felt).
//
// An object is cheap to make; its table fills a decade at a time as the
// times asked for need it, once for all objects of the same reD (the last
// few reD are kept), and may be used from any number of threads.

#include <memory>

namespace morvek {

class RadialInfluxFunctions {
public:
    // reD 0 (or infinity): an infinite aquifer; otherwise reD > 1.
    explicit RadialInfluxFunctions(double reD = 0);

    double Wd(double tD) const;
    double Pd(double tD) const;
    double PdDerivative(double tD) const;

    bool Infinite() const { return reD_ == 0; }
    double Red() const { return reD_; }

    // The values by Stehfest's inversion itself, without the table (for
    // tests and for building the table).
    static double WdExact(double tD, double reD);
    static double PdExact(double tD, double reD);
    static double PdDerivativeExact(double tD, double reD);

    struct Tables;

private:
    double Value(int function, double tD) const;

    double reD_;
    std::shared_ptr<Tables> tables_;
};

}  // namespace morvek
