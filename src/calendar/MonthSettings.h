#pragma once
// The settings of the month sheet, kept for the whole run; year and month are set to today's
// each time the month dialog opens.

#include <cstdint>

#include "surface/Colour.h"

namespace tessel {

// Title alignments as the dialog offers them.
enum MonthAlignment : int { kMonthLeft = 1, kMonthCentre = 2, kMonthRight = 3 };

struct MonthSettings {
    int monthYear = 0;
    int monthNumber = 0;  // 1..12
    int monthAlignment = kMonthLeft;
    int monthBoxWanted = 0;  // a box behind the month
    Colour monthBoxColour = 0xFFFFFF;
    Colour monthBorderColour = 0x000000;
    int monthBoxTransparent = 0;  // outline only
    int includeHolidays = 0;      // days of the colour map in their colour
    int monthAccepted = 0;        // 1 when the dialog closed with "Aceptar"
    std::int16_t monthRight = 0;  // extents found by the layout pass
    std::int16_t monthBottom = 0;
};

}  // namespace tessel
