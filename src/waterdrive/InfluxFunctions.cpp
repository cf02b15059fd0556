#include "waterdrive/InfluxFunctions.h"

#include <algorithm>
#include <boost/math/special_functions/bessel.hpp>
#include <array>
#include <cmath>
#include <mutex>
#include <numbers>
#include <vector>

namespace morvek {
namespace {

// Stehfest's inversion with 14 terms: in double precision its coefficients
// (up to 1e8 in size) leave about six correct digits of these smooth,
// monotone functions; more terms lose digits to cancellation.
constexpr int kStehfestTerms = 14;

// The table: 16 points a decade from 1e-4 to 1e12, each decade holding one
// point more at either end so that the cubic through four points never
// leaves it.
constexpr int kPointsPerDecade = 16;
constexpr int kFirstDecade = -4;
constexpr int kLastDecade = 11;  // the decade 1e11 ... 1e12
constexpr int kDecades = kLastDecade - kFirstDecade + 1;
constexpr double kSmallestTabulated = 1e-4;
constexpr double kLargestTabulated = 1e12;

enum Function { kWd = 0, kPd = 1, kPdDerivative = 2 };

const std::array<double, kStehfestTerms + 1>& StehfestWeights() {
    static const std::array<double, kStehfestTerms + 1> v = [] {
        std::array<double, kStehfestTerms + 1> w{};
        const int half = kStehfestTerms / 2;
        auto factorial = [](int n) {
            double f = 1;
            for (int i = 2; i <= n; ++i) f *= i;
            return f;
        };
        for (int k = 1; k <= kStehfestTerms; ++k) {
            double sum = 0;
            for (int j = (k + 1) / 2; j <= std::min(k, half); ++j)
                sum += std::pow(j, half) * factorial(2 * j) /
                       (factorial(half - j) * factorial(j) * factorial(j - 1) * factorial(k - j) *
                        factorial(2 * j - k));
            w[static_cast<size_t>(k)] = ((k + half) % 2 == 0 ? 1.0 : -1.0) * sum;
        }
        return w;
    }();
    return v;
}

// The three transforms at s, for an infinite aquifer (reD 0) or one closed
// at reD.
std::array<double, 3> Transforms(double s, double reD) {
    using boost::math::cyl_bessel_i;
    using boost::math::cyl_bessel_k;
    const double a = std::sqrt(s);
    const double k0 = cyl_bessel_k(0, a), k1 = cyl_bessel_k(1, a);
    double w = k1, p = k0;  // WD: w / (s a p); PD: p / (s a w)
    // The closed boundary adds K1(R)/I1(R) of the I terms; it is below
    // e^-60 of the K terms once 2 a (reD - 1) > 60, and then the aquifer
    // acts as an infinite one (and the I terms would overflow).
    if (reD > 0 && 2 * a * (reD - 1) <= 60) {
        const double r = reD * a;
        const double ratio = cyl_bessel_k(1, r) / cyl_bessel_i(1, r);
        w -= ratio * cyl_bessel_i(1, a);
        p += ratio * cyl_bessel_i(0, a);
    }
    return {w / (s * a * p), p / (s * a * w), p / (a * w)};
}

// The three functions at tD, from one set of Bessel functions.
std::array<double, 3> InvertAll(double tD, double reD) {
    const auto& v = StehfestWeights();
    const double ln2t = std::numbers::ln2 / tD;
    std::array<double, 3> sum{};
    for (int k = 1; k <= kStehfestTerms; ++k) {
        const std::array<double, 3> f = Transforms(k * ln2t, reD);
        for (size_t i = 0; i < 3; ++i) sum[i] += v[static_cast<size_t>(k)] * f[i];
    }
    for (double& x : sum) x *= ln2t;
    return sum;
}

double Invert(int function, double tD, double reD) {
    return InvertAll(tD, reD)[static_cast<size_t>(function)];
}

// Below the table the boundary is not felt: the short-time series of the
// Laplace transforms for large s (K1/K0 = 1 + 1/(2a) - 1/(8a^2) + ...).
double ShortTime(int function, double tD) {
    const double root = std::sqrt(tD / std::numbers::pi);
    switch (function) {
        case kWd: return 2 * root + tD / 2 - tD * root / 6 + tD * tD / 16;
        case kPd: return 2 * root - tD / 2 + tD * root / 2;
        default: return 1 / (std::numbers::pi * root) - 0.5 + 0.75 * root;
    }
}

}  // namespace

// One decade of the table: ln of each function at its 17 points and one
// more at either end, filled once by the first thread that needs it.
struct InfluxTableDecade {
    std::once_flag filled;
    std::array<std::array<double, kPointsPerDecade + 3>, 3> values{};
};

struct RadialInfluxFunctions::Tables {
    explicit Tables(double reD) : reD(reD) {}
    const InfluxTableDecade& At(int index) {
        InfluxTableDecade& d = decades[static_cast<size_t>(index)];
        std::call_once(d.filled, [&] {
            for (int j = 0; j <= kPointsPerDecade + 2; ++j) {
                const double tD =
                    std::pow(10.0, kFirstDecade + index + double(j - 1) / kPointsPerDecade);
                const std::array<double, 3> f = InvertAll(tD, reD);
                for (size_t i = 0; i < 3; ++i)
                    d.values[i][static_cast<size_t>(j)] = std::log(f[i]);
            }
        });
        return d;
    }
    double reD;
    std::array<InfluxTableDecade, kDecades> decades;
};

namespace {

// The tables of the last reD asked for: a regression that does not fit the
// aquifer's radius evaluates the same aquifer hundreds of times.
constexpr size_t kCachedTables = 8;

std::shared_ptr<RadialInfluxFunctions::Tables> TablesOf(double reD) {
    if (reD == 0) {
        // The infinite aquifer's table is kept for good.
        static const auto infinite = std::make_shared<RadialInfluxFunctions::Tables>(0.0);
        return infinite;
    }
    static std::mutex mutex;
    static std::vector<std::shared_ptr<RadialInfluxFunctions::Tables>> cache;
    const std::lock_guard<std::mutex> lock(mutex);
    for (size_t i = 0; i < cache.size(); ++i) {
        if (cache[i]->reD == reD) {
            auto found = cache[i];
            cache.erase(cache.begin() + static_cast<std::ptrdiff_t>(i));
            cache.push_back(found);
            return found;
        }
    }
    auto made = std::make_shared<RadialInfluxFunctions::Tables>(reD);
    if (cache.size() == kCachedTables) cache.erase(cache.begin());
    cache.push_back(made);
    return made;
}

}  // namespace

RadialInfluxFunctions::RadialInfluxFunctions(double reD)
    : reD_(std::isfinite(reD) && reD > 1 ? reD : 0), tables_(TablesOf(reD_)) {}

double RadialInfluxFunctions::WdExact(double tD, double reD) {
    return tD < kSmallestTabulated ? ShortTime(kWd, tD) : Invert(kWd, tD, reD);
}
double RadialInfluxFunctions::PdExact(double tD, double reD) {
    return tD < kSmallestTabulated ? ShortTime(kPd, tD) : Invert(kPd, tD, reD);
}
double RadialInfluxFunctions::PdDerivativeExact(double tD, double reD) {
    return tD < kSmallestTabulated ? ShortTime(kPdDerivative, tD) : Invert(kPdDerivative, tD, reD);
}

double RadialInfluxFunctions::Value(int function, double tD) const {
    if (!(tD > 0)) return 0;
    if (tD < kSmallestTabulated) return ShortTime(function, tD);
    double x = (std::log10(std::min(tD, kLargestTabulated)) - kFirstDecade) * kPointsPerDecade;
    int index = std::min(static_cast<int>(x) / kPointsPerDecade, kDecades - 1);
    double u = x - index * kPointsPerDecade;  // 0 ... 16 within the decade
    int j = std::min(static_cast<int>(u), kPointsPerDecade - 1);
    const std::array<double, kPointsPerDecade + 3>& y =
        tables_->At(index).values[static_cast<size_t>(function)];
    // Past the table, the last interval's line in ln-ln goes on.
    if (tD > kLargestTabulated) {
        const double slope = y[kPointsPerDecade + 1] - y[kPointsPerDecade];
        return std::exp(y[kPointsPerDecade + 1] +
                        slope * (std::log10(tD / kLargestTabulated) * kPointsPerDecade));
    }
    // Lagrange's cubic through the points j-1 ... j+2 (stored at j ... j+3).
    const double t = u - j;
    const double y0 = y[static_cast<size_t>(j)], y1 = y[static_cast<size_t>(j + 1)],
                 y2 = y[static_cast<size_t>(j + 2)], y3 = y[static_cast<size_t>(j + 3)];
    const double value = -t * (t - 1) * (t - 2) / 6 * y0 + (t + 1) * (t - 1) * (t - 2) / 2 * y1 -
                         (t + 1) * t * (t - 2) / 2 * y2 + (t + 1) * t * (t - 1) / 6 * y3;
    return std::exp(value);
}

double RadialInfluxFunctions::Wd(double tD) const {
    return Value(kWd, tD);
}
double RadialInfluxFunctions::Pd(double tD) const {
    return Value(kPd, tD);
}
double RadialInfluxFunctions::PdDerivative(double tD) const {
    return Value(kPdDerivative, tD);
}

}  // namespace morvek
