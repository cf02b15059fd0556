#pragma once
// The reference cases of the fluid-property tests and a matcher that checks a
// value at the tolerance of the digits its reference is printed with.

#include <gmock/gmock.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "case/MorvekDoc.h"

// Half a unit of the last printed digit: "0.913" gives 0.0005, "2.040e-4"
// gives 0.0005e-4.
inline double HalfLastDigit(const std::string& printed) {
    const size_t e = printed.find_first_of("eE");
    const std::string mantissa = printed.substr(0, e);
    const size_t dot = mantissa.find('.');
    const int decimals = dot == std::string::npos ? 0 : int(mantissa.size() - dot - 1);
    const int exponent = e == std::string::npos ? 0 : std::atoi(printed.c_str() + e + 1);
    return 0.5 * std::pow(10.0, exponent - decimals);
}

// EXPECT_THAT(z, RoundsTo("0.913")): the value prints as the reference.
MATCHER_P(RoundsTo, printed, std::string("rounds to ") + printed) {
    const double expected = std::strtod(printed, nullptr);
    const double difference = double(arg) - expected;
    *result_listener << "differs by " << difference << " (allowed " << HalfLastDigit(printed)
                     << ")";
    return std::fabs(difference) <= HalfLastDigit(printed);
}

// Gas of methane alone, as Gasprop derives it, without the report head.
inline void SetMethaneGas(CMorvekDoc& doc) {
    doc.m_TpcKorr = 343.5;
    doc.m_PpcKorr = 673.1;
    doc.m_Molgewicht = 16.042;
    doc.m_GasNormDichte = 16.042 * 10330.0 / 231504.0;
}

// The oil of the correlation references: 35 API at 80 deg C, bubble point
// 200 bar, gas gravity 0.7.
inline void SetReferenceOil(CMorvekDoc& doc, int methode = 0) {
    doc.ResetCase();
    doc.m_Temperatur = 80.0f;
    doc.m_API = 35.0f;
    doc.m_Entloesungsdruck = 200.0f;
    doc.m_Initialdruck = 250.0f;
    doc.m_GasRelDichte = 0.7;
    doc.m_Methode = methode;
}

// The gas-deviation factor behind a Bg value: Bg = z (T + 273) 1.0134 / (273 p).
inline double ZFromBg(double bg, double celsius, double bar) {
    return bg * 273.0 * bar / ((celsius + 273.0) * 1.0134);
}
