#include <gtest/gtest.h>

#include <string>

#include "base/Cp1252.h"
#include "base/NumberText.h"

namespace {

TEST(Cp1252, ConvertsGermanTextBothWays) {
    const std::string utf8 = "Ölsättigung Größe €";
    std::string bytes;
    ASSERT_TRUE(Utf8ToCp1252(utf8, bytes));
    EXPECT_EQ(bytes, "\xD6ls\xE4ttigung Gr\xF6\xDF" "e \x80");
    EXPECT_EQ(Cp1252ToUtf8(bytes), utf8);
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1252, RefusesWhatItCannotHold) {
    std::string out;
    EXPECT_FALSE(Utf8ToCp1252("Feld \xE2\x88\x9E", out)) << "U+221E infinity has no byte";
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x9B\xA2", out)) << "an emoji has no byte";
    EXPECT_FALSE(Utf8ToCp1252("abc\xC3", out)) << "a truncated sequence is not text";
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", out)) << "an overlong form is not text";
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80", out)) << "a surrogate is not text";
    EXPECT_TRUE(FitsCp1252("Nordfeld Süd"));
    EXPECT_FALSE(FitsCp1252("Поле"));
}

TEST(ParseFloatStrict, AcceptsPlainDecimalNumbers) {
    float v = 0;
    EXPECT_TRUE(ParseFloatStrict("0.1", v));
    EXPECT_EQ(v, 0.1f);
    EXPECT_TRUE(ParseFloatStrict("  -12.5e2 ", v));
    EXPECT_EQ(v, -1250.0f);
    EXPECT_TRUE(ParseFloatStrict("5.", v));
    EXPECT_EQ(v, 5.0f);
    EXPECT_TRUE(ParseFloatStrict(".5", v));
    EXPECT_EQ(v, 0.5f);
    EXPECT_TRUE(ParseFloatStrict("+99000", v));
    EXPECT_EQ(v, 99000.0f);
}

TEST(ParseFloatStrict, RefusesWhatIsNotANumberAndKeepsTheValue) {
    for (const char* text : {"", " ", "nan", "NaN", "inf", "-Infinity", "1e999", "1e39", "0x10",
                             "0x1p3", "12abc", "1,5", "1.5.2", "e5", "-", ".", "1e", "1 2"}) {
        float v = 42.0f;
        EXPECT_FALSE(ParseFloatStrict(text, v)) << '"' << text << '"';
        EXPECT_EQ(v, 42.0f) << '"' << text << '"';
    }
}

TEST(FloatForDisplay, ShowsSixSignificantDigits) {
    EXPECT_EQ(FloatForDisplay(0.1f), "0.1");
    EXPECT_EQ(FloatForDisplay(34.99123f), "34.9912");
    EXPECT_EQ(FloatForDisplay(5000.0f), "5000");
    EXPECT_EQ(FloatForDisplay(1234567.0f), "1.23457e+06");
}

}  // namespace
