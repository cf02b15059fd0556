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

// The window's number fields take a decimal comma as well: "0,25" reads as
// 0.25. Files, the command line and Python keep to the decimal point.
bool ParseFloatWithDecimalComma(const std::string& text, float& value);
// The text with its decimal comma made a point ("0,25" -> "0.25", "-1,5e3"
// -> "-1.5e3"), when that makes it a number in the strict sense; otherwise
// the text as it is.
std::string WithDecimalPoint(const std::string& text);
// Every number of a line of numbers (a measured row typed into the window)
// with a decimal comma written with a point: "100,5  200 95,2" -> "100.5  200 95.2".
std::string NumbersWithDecimalPoint(const std::string& line);
// For a message about a number field of the window that was not read: what
// the field takes; empty when the text holds no comma.
std::string DecimalSignHint(const std::string& text);

// The fewest decimals, from fewest on, with which value and bound read apart
// in %.*f ("250.04 > 250.00" instead of "250.0 > 250.0"); at most six.
int DecimalsApart(double value, double bound, int fewest = 1);

// The general format with six significant digits in which the data-entry
// dialog shows a single-precision value.
std::string FloatForDisplay(float value);

// The shortest decimal text that reads back to exactly this value (the CSV
// files of matches and sweeps), with a decimal point in every locale.
std::string ShortestText(double value);
std::string ShortestText(float value);
