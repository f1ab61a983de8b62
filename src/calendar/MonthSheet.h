#pragma once
// The month sheet: the month's name, the weekday initials from Monday and the days in a
// seven-column grid, Sundays in red and, on request, holidays in their colours. A layout pass
// finds the extents (monthRight, monthBottom); the draw pass then draws with them.

#include <QPoint>
#include <QString>
#include <vector>

#include "calendar/HolidayTable.h"
#include "calendar/MonthSettings.h"
#include "surface/Surface.h"

namespace tessel {

struct TextProperties;

inline constexpr Colour kSundayColour = 0x0000FF;

// Title alignment codes of the title printer.
inline constexpr int kTitleLeft = 731;
inline constexpr int kTitleRight = 732;
inline constexpr int kTitleCentre = 733;

// Everything both passes are given besides the settings.
struct MonthRender {
    QPoint origin;           // x0, y0: the top-left point
    ResolvedFont font;       // the font of every text of the sheet
    int cell = 16;           // the preview's 16, or the point size of the text properties
    Colour titleColour = 0;  // the text colour of the text properties
};

// Column step 2 * cell + 2, row step 2 * cell.
inline int columnStep(int cell) {
    return 2 * cell + 2;
}
inline int rowStep(int cell) {
    return 2 * cell;
}

struct DayPlace {
    int day = 0;
    int column = 0;  // 1 (Monday) to 7 (Sunday)
    QPoint at;       // top-left point of the number
};

// The grid walk: where each day of the month stands. Empty for a month outside 1..12.
std::vector<DayPlace> monthGrid(QPoint origin, int year, int month, int cell);

// The layout pass: sets monthRight and monthBottom of the settings' year and month.
void layoutMonth(const MonthRender& render, MonthSettings& settings);
// The draw pass; needs the extents of a layout pass with the same parameters.
void drawMonth(Surface& surface, const MonthRender& render, const MonthSettings& settings,
               const HolidayTable& holidays);
// Prints a title at (x, y) in the font and colour with a transparent background: 731 as it is,
// 733 centred between x and `right`, 732 from x + (20 - length) average character widths.
// Any other code prints nothing.
void printTitle(Surface& surface, const QString& text, int code, int x, int y,
                const ResolvedFont& font, Colour colour, int right);
// The code of an alignment (1, 2, 3); 0 for anything else.
int titleCode(int alignment);

// True when the year (kFirstYear..kLastYear) and month (1..12) can be drawn.
bool drawableMonth(const MonthSettings& settings);
// Both passes; false, with nothing drawn, for a month that cannot be drawn.
bool renderMonth(Surface& surface, const MonthRender& render, MonthSettings& settings,
                 const HolidayTable& holidays);
// The month on the canvas at the zero position, in the face and size of the text properties,
// always bold, with cell = the point size.
bool drawMonthOnCanvas(Surface& canvas, QPoint zero, MonthSettings& settings,
                       const HolidayTable& holidays, const TextProperties& text);

}  // namespace tessel
