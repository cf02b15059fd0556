#include <gtest/gtest.h>

#include <string>

#include "base/Cp1252.h"
#include "base/NumberText.h"
#include "base/PrintableText.h"

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

namespace {

// What a message repeats of the user's text shows every control character,
// every direction mark and every byte that is no UTF-8 as \xNN, and keeps
// every other character as it is.
TEST(PrintableText, EscapesControlsDirectionMarksAndStrayBytes) {
    EXPECT_EQ(DisplayPath("Öl/Feld Süd.mvk"), "Öl/Feld Süd.mvk");
    EXPECT_EQ(DisplayPath("a\nb\x1b[31m"), "a\\x0Ab\\x1B[31m");
    EXPECT_EQ(DisplayPath("lat\xE4"), "lat\\xE4");
    EXPECT_EQ(EscapedText("n\xC2\x85" "e"), "n\\xC2\\x85e");               // U+0085
    EXPECT_EQ(EscapedText("x\xE2\x80\xAEgpj.exe"), "x\\xE2\\x80\\xAEgpj.exe");  // U+202E
    for (char32_t cp : {0x061CU, 0x200EU, 0x200FU, 0x202AU, 0x202EU, 0x2066U, 0x2069U})
        EXPECT_TRUE(IsBidiControl(cp)) << static_cast<unsigned>(cp);
    for (char32_t cp : {0x2029U, 0x202FU, 0x2065U, 0x206AU, 0x00E4U, 0x20ACU})
        EXPECT_FALSE(IsBidiControl(cp)) << static_cast<unsigned>(cp);
    EXPECT_EQ(ShownCharacter("Ω"), "Ω");
    EXPECT_EQ(ShownCharacter("\xC2\x85"), "U+0085");
    EXPECT_EQ(ShownCharacter("\xE2\x80\xAE"), "U+202E");
    EXPECT_EQ(ShownCharacter("\xFF"), "\\xFF");
}

}  // namespace
