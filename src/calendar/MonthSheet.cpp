#include "calendar/MonthSheet.h"

#include <array>

#include "calendar/CalendarDates.h"
#include "platform/Fonts.h"
#include "text/TextProperties.h"

namespace tessel {

namespace {

constexpr int kBoxMargin = 5;
constexpr int kBoxPenWidth = 4;
constexpr int kTitleColumns = 20;
constexpr int kDefaultCharset = 1;
constexpr Colour kBlack = 0x000000;

}  // namespace

std::vector<DayPlace> monthGrid(QPoint origin, int year, int month, int cell) {
    std::vector<DayPlace> places;
    const int days = daysInMonth(month, year);
    if (days == 0) return places;
    const int step = columnStep(cell);
    int column = weekday(year, month, 1);
    int x = origin.x() + (column - 1) * step;
    int y = origin.y() + 2 * cell + rowStep(cell);
    for (int day = 1; day <= days; ++day) {
        places.push_back(DayPlace{day, column, QPoint(x, y)});
        if (++column > 7) {
            column = 1;
            x = origin.x();
            y += rowStep(cell);
        } else {
            x += step;
        }
    }
    return places;
}

void layoutMonth(const MonthRender& render, MonthSettings& settings) {
    const std::vector<DayPlace> places =
        monthGrid(render.origin, settings.monthYear, settings.monthNumber, render.cell);
    if (places.empty()) return;
    settings.monthRight = std::int16_t(render.origin.x() + 7 * columnStep(render.cell));
    settings.monthBottom = std::int16_t(places.back().at.y() + rowStep(render.cell));
}

int titleCode(int alignment) {
    switch (alignment) {
        case kMonthLeft:
            return kTitleLeft;
        case kMonthCentre:
            return kTitleCentre;
        case kMonthRight:
            return kTitleRight;
        default:
            return 0;
    }
}

void printTitle(Surface& surface, const QString& text, int code, int x, int y,
                const ResolvedFont& font, Colour colour, int right) {
    surface.selectFont(font);
    surface.setForeground(colour);
    surface.setBackground(kTransparent);
    switch (code) {
        case kTitleLeft:
            surface.moveTo(x, y);
            break;
        case kTitleCentre:
            surface.moveTo((x + right - surface.measure(text).width()) / 2, y);
            break;
        case kTitleRight:
            surface.moveTo(x + (kTitleColumns - int(text.size())) * surface.averageCharWidth(), y);
            break;
        default:
            return;
    }
    surface.print(text);
}

void drawMonth(Surface& surface, const MonthRender& render, const MonthSettings& settings,
               const HolidayTable& holidays) {
    const int x0 = render.origin.x();
    const int y0 = render.origin.y();
    surface.setPenWidth(kBoxPenWidth);
    if (settings.monthBoxWanted) {
        const Colour fill = settings.monthBoxTransparent ? kTransparent : settings.monthBoxColour;
        surface.box(x0 - kBoxMargin, y0 - kBoxMargin, settings.monthRight + kBoxMargin,
                    settings.monthBottom + kBoxMargin, 0, settings.monthBorderColour, fill,
                    kFillSolid);
    }
    surface.selectFont(render.font);
    printTitle(surface, monthName(settings.monthNumber), titleCode(settings.monthAlignment),
               x0 - kBoxMargin, y0, render.font, render.titleColour,
               settings.monthRight + kBoxMargin);

    static const std::array<QString, 7> initials = {
        QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("X"), QStringLiteral("J"),
        QStringLiteral("V"), QStringLiteral("S"), QStringLiteral("D")};
    surface.setForeground(kBlack);
    surface.setBackground(kTransparent);
    for (int k = 0; k < 7; ++k) {
        surface.moveTo(x0 + k * columnStep(render.cell), y0 + 2 * render.cell);
        surface.print(initials[std::size_t(k)]);
    }

    for (const DayPlace& place :
         monthGrid(render.origin, settings.monthYear, settings.monthNumber, render.cell)) {
        Colour ink = kBlack;
        const Colour holiday = holidays.mapColour(place.day, settings.monthNumber);
        if (place.column == 7) {
            ink = kSundayColour;
        } else if (settings.includeHolidays && holiday > 0) {
            ink = holiday;
        }
        surface.setForeground(ink);
        surface.moveTo(place.at.x(), place.at.y());
        surface.print(QString::number(place.day));
    }
}

bool drawableMonth(const MonthSettings& settings) {
    return settings.monthYear >= kFirstYear && settings.monthYear <= kLastYear &&
           settings.monthNumber >= 1 && settings.monthNumber <= 12;
}

bool renderMonth(Surface& surface, const MonthRender& render, MonthSettings& settings,
                 const HolidayTable& holidays) {
    if (!drawableMonth(settings)) return false;
    layoutMonth(render, settings);
    drawMonth(surface, render, settings, holidays);
    return true;
}

bool drawMonthOnCanvas(Surface& canvas, QPoint zero, MonthSettings& settings,
                       const HolidayTable& holidays, const TextProperties& text) {
    FontRequest request;
    request.face = text.fontName;
    request.points = text.pointSize;
    request.style = kStyleBold;
    request.charset = kDefaultCharset;
    MonthRender render;
    render.origin = zero;
    render.font = platform::resolveFont(request);
    render.cell = text.pointSize;
    render.titleColour = text.foreColour;
    return renderMonth(canvas, render, settings, holidays);
}

}  // namespace tessel
