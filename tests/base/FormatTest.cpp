#include "base/Format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// Switches the whole process to the German locale for one test, as a German
// desktop session does, and back afterwards.
class GermanLocale {
public:
    GermanLocale() {
        const char* old = std::setlocale(LC_ALL, nullptr);
        previous_ = old != nullptr ? old : "C";
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~GermanLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

TEST(Format, WritesPrintfFormatsUnchanged) {
    EXPECT_EQ(Format("     TEMPERATUR  (GRAD C): %6.1f", 80.0), "     TEMPERATUR  (GRAD C):   80.0");
    EXPECT_EQ(Format("%10.3e|%5g|%-4d|%s", 0.000204, 0.2, 7, "x"), " 2.040e-04|  0.2|7   |x");
}

TEST(Format, HandlesTextsLongerThanItsFirstBuffer) {
    std::string name(70000, 'N');
    std::string out = Format("FELD: %s.", name.c_str());
    EXPECT_EQ(out.size(), 70000u + 7u);
    EXPECT_EQ(out.substr(0, 6), "FELD: ");
    EXPECT_EQ(out.back(), '.');
}

TEST(Format, KeepsTheDecimalPointUnderAGermanLocale) {
    GermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the German locale should use a decimal comma";
    EXPECT_EQ(Format("%7.3f", 2.5), "  2.500");
    EXPECT_EQ(Format("%g", 0.125), "0.125");
}

TEST(ScanRow, CountsTheNumbersConverted) {
    float a = -1, b = -1, c = -1;
    EXPECT_EQ(ScanRow("  1.5 120 33.25 und mehr", a, b, c), 3);
    EXPECT_FLOAT_EQ(a, 1.5f);
    EXPECT_FLOAT_EQ(b, 120.0f);
    EXPECT_FLOAT_EQ(c, 33.25f);

    c = -1;
    EXPECT_EQ(ScanRow("   250.000                200.0   * ", a, b, c), 2);
    EXPECT_FLOAT_EQ(a, 250.0f);
    EXPECT_FLOAT_EQ(c, -1.0f) << "a value that was not converted stays as it was";

    EXPECT_EQ(ScanRow("1.5", a, b, c), 1);
    EXPECT_EQ(ScanRow("", a, b, c), 0);
    EXPECT_EQ(ScanRow("Kum.Oel Druck GOEV", a, b, c), 0);
}

TEST(ScanRow, ReadsADecimalPointUnderAGermanLocale) {
    GermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    float a = 0, b = 0, c = 0;
    EXPECT_EQ(ScanRow("1.5 120.25", a, b, c), 2);
    EXPECT_FLOAT_EQ(a, 1.5f);
    EXPECT_FLOAT_EQ(b, 120.25f);
    // A decimal comma does not work in a row, German desktop or not.
    EXPECT_EQ(ScanRow("1,5 120", a, b, c), 1);
}

}  // namespace
