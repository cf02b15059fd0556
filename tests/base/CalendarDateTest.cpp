// Serial dates: the spreadsheet numbering (day 1 = 1899-12-31), the calendar's
// months and leap years, and the two written forms.

#include <gtest/gtest.h>

#include "base/CalendarDate.h"

namespace {

using morvek::CalendarDay;

TEST(CalendarDate, SerialNumbersAreTheSpreadsheetsForEveryDayOfTheYearsAccepted) {
    // Values any spreadsheet shows for these dates (after its 1900 leap-year
    // slip, which only moves the days before 1900-03-01 by one).
    EXPECT_EQ(morvek::SerialOf({1900, 3, 1}), 61);
    EXPECT_EQ(morvek::SerialOf({1970, 1, 1}), 25569);
    EXPECT_EQ(morvek::SerialOf({2000, 2, 29}), 36585);
    EXPECT_EQ(morvek::SerialOf({2025, 1, 1}), 45658);
    EXPECT_EQ(morvek::SerialOf({1900, 1, 1}), morvek::kFirstDateSerial);
    EXPECT_EQ(morvek::SerialOf({2199, 12, 31}), morvek::kLastDateSerial);
    // Every day one after the other, through every month end and leap day;
    // each serial is exact in a float.
    CalendarDay before = morvek::DayOfSerial(morvek::kFirstDateSerial);
    int leapDays = 0;
    for (int32_t s = morvek::kFirstDateSerial + 1; s <= morvek::kLastDateSerial; ++s) {
        const CalendarDay d = morvek::DayOfSerial(s);
        ASSERT_EQ(morvek::SerialOf(d), s);
        ASSERT_EQ(int32_t(float(s)), s);
        if (d.day == 1) {
            ASSERT_TRUE(d.month == before.month % 12 + 1) << s;
        } else {
            ASSERT_EQ(d.day, before.day + 1) << s;
        }
        if (d.month == 2 && d.day == 29) ++leapDays;
        before = d;
    }
    // 1904 to 2196 every fourth year but 2100 (1900 is none, 2000 is one).
    EXPECT_EQ(leapDays, 73);
}

TEST(CalendarDate, MonthsAddAsTheCalendarHasThem) {
    const int32_t jan31 = morvek::SerialOf({2024, 1, 31});
    EXPECT_EQ(morvek::IsoDate(morvek::AddMonths(jan31, 1)), "2024-02-29");
    EXPECT_EQ(morvek::IsoDate(morvek::AddMonths(jan31, 13)), "2025-02-28");
    EXPECT_EQ(morvek::IsoDate(morvek::AddMonths(jan31, 2)), "2024-03-31");
    EXPECT_EQ(morvek::IsoDate(morvek::AddMonths(jan31, -2)), "2023-11-30");
    EXPECT_EQ(morvek::AddMonths(morvek::SerialOf({2025, 1, 1}), 12 * 30),
              morvek::SerialOf({2055, 1, 1}));
}

TEST(CalendarDate, ReadsIsoAndGermanDatesAndNothingElse) {
    int32_t s = 0;
    ASSERT_TRUE(morvek::ParseDate("2024-02-29", s));
    EXPECT_EQ(morvek::GermanDate(s), "29.02.2024");
    ASSERT_TRUE(morvek::ParseDate("31.12.2199", s));
    EXPECT_EQ(morvek::IsoDate(s), "2199-12-31");
    EXPECT_EQ(morvek::YearOf(s), 2199);
    for (const char* bad : {"2025-02-29", "2025-13-01", "2025-00-10", "2025-1-01", "25-01-01",
                            "1899-12-31", "2200-01-01", "2025/01/01", " 2025-01-01", "2025-01-01x",
                            "01.01.25", "32.01.2025", "", "heute"}) {
        s = 7;
        EXPECT_FALSE(morvek::ParseDate(bad, s)) << bad;
        EXPECT_EQ(s, 7) << bad;
    }
    EXPECT_FALSE(morvek::ParseIsoDate("01.01.2025", s));
}

}  // namespace
