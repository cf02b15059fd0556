#pragma once
// printf-style formatting and scanf-style row scanning that always use the
// decimal point, whatever locale the process runs in. Report lines, file rows
// and measured rows are read and written by engineers on German desktops too,
// and a decimal comma would break every file the program reads back.

#include <cstdarg>
#include <string>

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string VFormat(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));

// Converts a measured-value row with "%f %f %f" and returns how many numbers
// were converted (0 to 3). Values not converted are left as they were.
int ScanRow(const std::string& row, float& oil, float& pressure, float& gor);

// The same conversion with an arbitrary scanf format of float pointers only;
// returns the number of conversions, 0 for an empty input.
int ScanFloats(const std::string& text, const char* fmt, float* a, float* b, float* c)
    __attribute__((format(scanf, 2, 0)));
