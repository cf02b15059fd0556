#pragma once
// Numbers typed by the user: plain decimal notation with a decimal point and an
// optional exponent. "nan", "inf", hexadecimal forms, trailing garbage and
// values beyond the single-precision range are not numbers.

#include <string>

bool ParseFloatStrict(const std::string& text, float& value);

// For a message about text that was not read as numbers: when the text holds
// a comma, a line that says numbers take a decimal point (a comma is never
// read as one); otherwise empty.
std::string DecimalPointHint(const std::string& text);

// The general format with six significant digits in which the data-entry
// dialog shows a single-precision value.
std::string FloatForDisplay(float value);

// The shortest decimal text that reads back to exactly this value (the CSV
// files of matches and sweeps), with a decimal point in every locale.
std::string ShortestText(double value);
std::string ShortestText(float value);
