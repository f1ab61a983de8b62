#pragma once
// Calendar arithmetic shared by the holiday list and the month sheet: leap years, days in a
// month, month names, the weekday of a date and the three-digit row index.

#include <QString>

namespace tessel {

// The years the month sheet accepts; the 16-bit weekday arithmetic is exact inside them.
inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 9999;

// Divisible by 400, or by 4 and not by 100.
bool isLeapYear(int year);
// 31, 30, 29 or 28; 0 for a month number outside 1..12.
int daysInMonth(int month, int year);
// "Enero" .. "Diciembre"; empty for any other number.
QString monthName(int month);
// "01 - Enero" .. "12 - Diciembre": the entries of the month lists.
QString monthEntry(int month);
// 1 (Monday) to 7 (Sunday), computed with 16-bit integers and truncating division.
int weekday(int year, int month, int day);
// "007", "042", "123"; empty outside 0..999.
QString threeDigitIndex(int n);

}  // namespace tessel
