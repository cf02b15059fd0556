#include "base/CalendarDate.h"

#include <chrono>

#include "base/Format.h"

namespace morvek {
namespace {

namespace ch = std::chrono;

// 1899-12-30 is day 0 of the serial dates; 1970-01-01 is day 25569.
constexpr int32_t kUnixEpochSerial = 25569;

bool AllDigits(const std::string& text, size_t from, size_t count) {
    for (size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

int Number(const std::string& text, size_t from, size_t count) {
    int v = 0;
    for (size_t i = from; i < from + count; ++i) v = v * 10 + (text[i] - '0');
    return v;
}

bool SerialOfParts(int year, int month, int day, int32_t& serial) {
    if (year < kFirstDateYear || year > kLastDateYear) return false;
    const ch::year_month_day ymd{ch::year{year}, ch::month{static_cast<unsigned>(month)},
                                 ch::day{static_cast<unsigned>(day)}};
    if (!ymd.ok()) return false;
    serial = SerialOf({year, month, day});
    return true;
}

}  // namespace

int32_t SerialOf(const CalendarDay& d) {
    const ch::sys_days days{ch::year{d.year} / ch::month{static_cast<unsigned>(d.month)} /
                            ch::day{static_cast<unsigned>(d.day)}};
    return static_cast<int32_t>(days.time_since_epoch().count()) + kUnixEpochSerial;
}

CalendarDay DayOfSerial(int32_t serial) {
    const ch::sys_days days{ch::days{serial - kUnixEpochSerial}};
    const ch::year_month_day ymd{days};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

int32_t AddMonths(int32_t serial, int months) {
    const CalendarDay d = DayOfSerial(serial);
    const int index = d.year * 12 + (d.month - 1) + months;
    const int year = index / 12, month = index % 12 + 1;
    const ch::year_month_day_last last{ch::year{year},
                                       ch::month_day_last{ch::month{static_cast<unsigned>(month)}}};
    const int lastDay = static_cast<int>(static_cast<unsigned>(last.day()));
    return SerialOf({year, month, d.day < lastDay ? d.day : lastDay});
}

bool ParseIsoDate(const std::string& text, int32_t& serial) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !AllDigits(text, 0, 4) ||
        !AllDigits(text, 5, 2) || !AllDigits(text, 8, 2))
        return false;
    return SerialOfParts(Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2), serial);
}

bool ParseDate(const std::string& text, int32_t& serial) {
    if (ParseIsoDate(text, serial)) return true;
    if (text.size() != 10 || text[2] != '.' || text[5] != '.' || !AllDigits(text, 0, 2) ||
        !AllDigits(text, 3, 2) || !AllDigits(text, 6, 4))
        return false;
    return SerialOfParts(Number(text, 6, 4), Number(text, 3, 2), Number(text, 0, 2), serial);
}

std::string IsoDate(int32_t serial) {
    const CalendarDay d = DayOfSerial(serial);
    return Format("%04d-%02d-%02d", d.year, d.month, d.day);
}

std::string GermanDate(int32_t serial) {
    const CalendarDay d = DayOfSerial(serial);
    return Format("%02d.%02d.%04d", d.day, d.month, d.year);
}

int YearOf(int32_t serial) {
    return DayOfSerial(serial).year;
}

}  // namespace morvek
