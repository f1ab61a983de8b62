#include "calendar/CalendarDates.h"

#include <array>
#include <cstdint>

namespace tessel {

bool isLeapYear(int year) {
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int daysInMonth(int month, int year) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return isLeapYear(year) ? 29 : 28;
        default:
            return 0;
    }
}

QString monthName(int month) {
    static const std::array<const char*, 12> names = {
        "Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
        "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    if (month < 1 || month > 12) return {};
    return QString::fromLatin1(names[std::size_t(month - 1)]);
}

QString monthEntry(int month) {
    return QStringLiteral("%1 - %2").arg(month, 2, 10, QLatin1Char('0')).arg(monthName(month));
}

int weekday(int year, int month, int day) {
    using Short = std::int16_t;
    Short m = Short(month - 2);
    Short y = Short(year);
    if (m <= 0) {
        m = Short(m + 12);
        y = Short(y - 1);
    }
    const Short k = Short(y % 100);
    const Short j = Short(y / 100);
    Short w = Short((26 * m - 2) / 10 + day + k + k / 4 + j / 4 - 2 * j);
    while (w < 0) w = Short(w + 7);
    const Short r = Short(w % 7);
    return r == 0 ? 7 : r;
}

QString threeDigitIndex(int n) {
    if (n < 0 || n > 999) return {};
    if (n <= 9) return QStringLiteral("00") + QString::number(n);
    if (n <= 99) return QStringLiteral("0") + QString::number(n);
    return QString::number(n);
}

}  // namespace tessel
