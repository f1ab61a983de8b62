// Calendar arithmetic: the weekday formula against the C++ calendar, leap years, month lengths,
// month names and the three-digit row index.

#include <gtest/gtest.h>

#include <chrono>

#include "calendar/CalendarDates.h"

namespace tessel {
namespace {

TEST(Weekday, KnownDates) {
    EXPECT_EQ(weekday(2024, 1, 1), 1);   // a Monday
    EXPECT_EQ(weekday(2023, 10, 1), 7);  // a Sunday
    EXPECT_EQ(weekday(2000, 2, 29), 2);  // a Tuesday
    EXPECT_EQ(weekday(2021, 2, 1), 1);
    EXPECT_EQ(weekday(2026, 12, 1), 2);
    EXPECT_EQ(weekday(2026, 12, 25), 5);  // a Friday
}

// Every day of every year the month sheet accepts (1900 to 2100 among them), against the
// proleptic Gregorian calendar of the standard library, where Monday is ISO day 1.
TEST(Weekday, AgreesWithTheStandardCalendarOverEveryAcceptedYear) {
    using namespace std::chrono;
    int mismatches = 0;
    for (int y = kFirstYear; y <= kLastYear; ++y) {
        for (unsigned m = 1; m <= 12; ++m) {
            const unsigned last =
                unsigned(year_month_day_last(year(y), month_day_last(month(m))).day());
            for (unsigned d = 1; d <= last; ++d) {
                const unsigned expected =
                    std::chrono::weekday(sys_days(year(y) / month(m) / day(d))).iso_encoding();
                if (tessel::weekday(y, int(m), int(d)) != int(expected) && ++mismatches <= 5) {
                    ADD_FAILURE() << y << "-" << m << "-" << d;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Calendar, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2100));
    EXPECT_FALSE(isLeapYear(2023));
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(2, 2024), 29);
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 2100), 28);
    const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(daysInMonth(m, 2023), lengths[m - 1]) << m;
    EXPECT_EQ(daysInMonth(0, 2023), 0);
    EXPECT_EQ(daysInMonth(13, 2023), 0);
    EXPECT_EQ(daysInMonth(-1, 2023), 0);
}

TEST(Calendar, MonthNamesAndListEntries) {
    EXPECT_EQ(monthName(1), QStringLiteral("Enero"));
    EXPECT_EQ(monthName(9), QStringLiteral("Septiembre"));
    EXPECT_EQ(monthName(12), QStringLiteral("Diciembre"));
    EXPECT_TRUE(monthName(0).isEmpty());
    EXPECT_TRUE(monthName(13).isEmpty());
    EXPECT_EQ(monthEntry(1), QStringLiteral("01 - Enero"));
    EXPECT_EQ(monthEntry(5), QStringLiteral("05 - Mayo"));
    EXPECT_EQ(monthEntry(12), QStringLiteral("12 - Diciembre"));
}

TEST(Calendar, ThreeDigitIndex) {
    EXPECT_EQ(threeDigitIndex(0), QStringLiteral("000"));
    EXPECT_EQ(threeDigitIndex(9), QStringLiteral("009"));
    EXPECT_EQ(threeDigitIndex(10), QStringLiteral("010"));
    EXPECT_EQ(threeDigitIndex(99), QStringLiteral("099"));
    EXPECT_EQ(threeDigitIndex(100), QStringLiteral("100"));
    EXPECT_EQ(threeDigitIndex(999), QStringLiteral("999"));
    EXPECT_TRUE(threeDigitIndex(1000).isEmpty());
    EXPECT_TRUE(threeDigitIndex(-1).isEmpty());
}

}  // namespace
}  // namespace tessel
