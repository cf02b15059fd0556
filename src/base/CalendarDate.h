#pragma once
// Calendar dates as whole day numbers, the serial date of spreadsheets: day 1
// is 1899-12-31, day 45658 is 2025-01-01 (the Gregorian calendar throughout).
// A case keeps a date as such a number in a float (exact for every date of
// the years 1900 to 2199 the program accepts); 0 stands for "no date".
// Dates are written as ISO 8601 (YYYY-MM-DD) in files and on the command line,
// as DD.MM.YYYY in German reports.

#include <cstdint>
#include <string>

namespace morvek {

struct CalendarDay {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

inline constexpr int kFirstDateYear = 1900;
inline constexpr int kLastDateYear = 2199;
// The serial numbers of 1900-01-01 and 2199-12-31.
inline constexpr int32_t kFirstDateSerial = 2;
inline constexpr int32_t kLastDateSerial = 109574;

int32_t SerialOf(const CalendarDay& day);
CalendarDay DayOfSerial(int32_t serial);

// The serial date that lies whole months after (or before) the given one; a
// day of the month the target month lacks becomes its last day (31 January
// plus one month is 28 or 29 February).
int32_t AddMonths(int32_t serial, int months);

// "2025-01-31": exactly four digits, two, two, a valid day of the years
// kFirstDateYear..kLastDateYear. False for anything else.
bool ParseIsoDate(const std::string& text, int32_t& serial);
// Reads an ISO date or the German form "31.01.2025".
bool ParseDate(const std::string& text, int32_t& serial);

std::string IsoDate(int32_t serial);     // "2025-01-31"
std::string GermanDate(int32_t serial);  // "31.01.2025"

// Year of a serial date.
int YearOf(int32_t serial);

}  // namespace morvek
