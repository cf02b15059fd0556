// AppendFixed writes what printf's "%W.Pf" writes.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/FixedText.h"
#include "base/Format.h"

namespace {

std::string Fixed(double value, int width, int precision) {
    std::string out = "|";
    AppendFixed(out, value, width, precision);
    return out;
}

std::string Printf(double value, int width, int precision) {
    return "|" + Format("%*.*f", width, precision, value);
}

}  // namespace

TEST(AppendFixed, MatchesPrintfOnReportValues) {
    for (double v : {0.0, -0.0, 250.0, 249.5, 0.0095, 1.2345, 96.96, 1125.0, 0.09512, 6115.254,
                     -0.06, 1e-7, 123456789.125})
        for (int precision : {1, 2, 3, 4, 5})
            for (int width : {4, 6, 7, 8, 9, 11}) {
                SCOPED_TRACE(Format("%g %d %d", v, width, precision));
                EXPECT_EQ(Fixed(v, width, precision), Printf(v, width, precision));
            }
}

TEST(AppendFixed, RoundsExactTiesToEvenAsPrintfDoes) {
    // 0.125, 0.375, 2.5 are exact in binary; 0.15 is not (slightly below).
    for (double v : {0.125, 0.375, 2.5, 3.5, -0.125, 0.15, 1.005, 1000.5})
        for (int precision : {0, 1, 2})
            EXPECT_EQ(Fixed(v, 8, precision), Printf(v, 8, precision)) << v << " " << precision;
}

TEST(AppendFixed, MatchesPrintfOnRandomValuesOfEveryMagnitude) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-8, 12), precision(0, 6), width(1, 14);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        const int p = precision(random), w = width(random);
        ASSERT_EQ(Fixed(v, w, p), Printf(v, w, p)) << v << " " << w << " " << p;
    }
}

TEST(AppendFixed, WritesTheSpecialValuesAsPrintf) {
    for (double v : {INFINITY, -INFINITY, NAN}) EXPECT_EQ(Fixed(v, 8, 2), Printf(v, 8, 2)) << v;
}

TEST(AppendFixed, KeepsTheDecimalPointInAGermanLocale) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
    const std::string text = Fixed(1.5, 6, 2);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, "|  1.50");
}
