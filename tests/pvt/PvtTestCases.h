#pragma once
// The reference cases of the fluid-property tests and a matcher that checks a
// value at the tolerance of the digits its reference is printed with.

#include <gmock/gmock.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "model/CaseInputs.h"
#include "pvt/GasDeviation.h"
#include "pvt/OilCorrelations.h"

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

// Methane at a temperature, as the fluid model derives it, optionally with
// other corrected pseudo-critical values.
inline morvek::GasAtTemperature MethaneGas(float celsius, double tpcCorrectedRankine = 343.5,
                                           double ppcCorrectedPsia = 673.1) {
    return morvek::GasAtTemperature(celsius, ppcCorrectedPsia, tpcCorrectedRankine, 16.042,
                                    16.042 * 10330.0 / 231504.0);
}

// The oil of the correlation references: 35 API at 80 deg C, bubble point
// 200 bar, gas gravity 0.7.
inline morvek::OilParameters ReferenceOil(int methode = 0, float api = 35.0f) {
    return morvek::MakeOilParameters(morvek::CorrelationOf(methode), api, 0.7, 80.0f, 200.0f);
}

// The same oil as a case (initial pressure 250 bar) for what takes a case.
inline morvek::CaseInputs ReferenceOilCase(int methode = 0) {
    morvek::CaseInputs c;
    c.temperatureC = 80.0f;
    c.apiGravity = 35.0f;
    c.bubblePointPressureBar = 200.0f;
    c.initialPressureBar = 250.0f;
    c.correlation = methode;
    return c;
}

// The gas-deviation factor behind a Bg value: Bg = z (T + 273) 1.0134 / (273 p).
inline double ZFromBg(double bg, double celsius, double bar) {
    return bg * 273.0 * bar / ((celsius + 273.0) * 1.0134);
}
