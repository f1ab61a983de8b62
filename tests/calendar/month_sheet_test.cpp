// The month sheet: the grid walk and its extents, the colours of the days, the box and the
// title's alignments. Positions are worked out from the rules: column step 2 * cell + 2, row
// step 2 * cell, the weekday row at y0 + 2 * cell and the first week one row below it.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

#include "calendar/MonthSheet.h"
#include "platform/Fonts.h"
#include "text/TextProperties.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x008B00;
constexpr Colour kBlue = 0xFF0000;

ResolvedFont sheetFont(int points) {
    FontRequest request;
    request.face = QStringLiteral("Tahoma");
    request.points = points;
    request.style = kStyleBold;
    return platform::resolveFont(request);
}

MonthRender render(QPoint origin, int cell = 16) {
    MonthRender r;
    r.origin = origin;
    r.font = sheetFont(cell);
    r.cell = cell;
    r.titleColour = kBlack;
    return r;
}

MonthSettings monthOf(int year, int month) {
    MonthSettings s;
    s.monthYear = year;
    s.monthNumber = month;
    return s;
}

// Where a day stands by the rules, for a month whose first day is in column `first`.
QPoint expectedPlace(QPoint origin, int cell, int first, int day) {
    const int index = first - 1 + day - 1;
    return QPoint(origin.x() + (index % 7) * (2 * cell + 2),
                  origin.y() + 2 * cell + 2 * cell * (1 + index / 7));
}

struct Ink {
    int count = 0;
    QRect bounds;
    bool allOf = true;  // every ink pixel is a blend of white and the colour
    bool full = false;  // some pixel is the colour itself
};

// Grey-scale antialiasing blends the text colour with the white ground in equal measure on
// every channel; this reads the ink of a rectangle against one expected colour.
Ink inkIn(const Surface& s, const QRect& area, Colour colour) {
    Ink ink;
    const int c[3] = {redOf(colour), greenOf(colour), blueOf(colour)};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const Colour p = s.pixel(x, y);
            if (p == kWhite || p < 0) continue;
            ++ink.count;
            ink.bounds |= QRect(x, y, 1, 1);
            if (p == colour) ink.full = true;
            const int v[3] = {redOf(p), greenOf(p), blueOf(p)};
            int widest = 0;
            for (int k = 1; k < 3; ++k)
                if (std::abs(c[k] - 255) > std::abs(c[widest] - 255)) widest = k;
            const double t = double(v[widest] - 255) / double(c[widest] - 255);
            for (int k = 0; k < 3; ++k)
                if (std::abs(v[k] - (255 + t * (c[k] - 255))) > 3) ink.allOf = false;
        }
    }
    return ink;
}

QRect dayCell(QPoint place, int cell) {
    return QRect(place, QSize(2 * cell + 2, 2 * cell));
}

TEST(MonthGrid, FirstDayColumnFollowsTheWeekday) {
    const QPoint origin(12, 10);
    // January 2024 starts on a Monday, October 2023 on a Sunday.
    std::vector<DayPlace> january = monthGrid(origin, 2024, 1, 16);
    ASSERT_EQ(january.size(), 31u);
    EXPECT_EQ(january[0].column, 1);
    EXPECT_EQ(january[0].at, QPoint(12, 10 + 32 + 32));
    EXPECT_EQ(january[7].at, QPoint(12, 10 + 32 + 64));
    std::vector<DayPlace> october = monthGrid(origin, 2023, 10, 16);
    ASSERT_EQ(october.size(), 31u);
    EXPECT_EQ(october[0].column, 7);
    EXPECT_EQ(october[0].at, QPoint(12 + 6 * 34, 74));
    EXPECT_EQ(october[1].column, 1);
    EXPECT_EQ(october[1].at, QPoint(12, 74 + 32));
    for (const DayPlace& p : monthGrid(QPoint(100, 200), 2026, 12, 20)) {
        EXPECT_EQ(p.at, expectedPlace(QPoint(100, 200), 20, 2, p.day)) << p.day;
        EXPECT_EQ(p.column, 1 + (p.day) % 7) << p.day;  // 1 December 2026 is a Tuesday
    }
    EXPECT_TRUE(monthGrid(origin, 2024, 13, 16).empty());
}

TEST(MonthLayout, ExtentsByTheRules) {
    // February 2021: 28 days from a Monday, exactly four rows, no empty fifth one.
    MonthSettings february = monthOf(2021, 2);
    layoutMonth(render(QPoint(30, 40), 16), february);
    EXPECT_EQ(february.monthBottom, 40 + 4 * 16 + 4 * 32);
    EXPECT_EQ(february.monthRight, 30 + 7 * 34);

    // Cell 16 at x0 = 12: right edge 250.
    MonthSettings december = monthOf(2026, 12);
    layoutMonth(render(QPoint(12, 10), 16), december);
    EXPECT_EQ(december.monthRight, 250);
    // 31 days from a Tuesday take five rows.
    EXPECT_EQ(december.monthBottom, 10 + 4 * 16 + 5 * 32);
    // A 31-day month from a Saturday takes six.
    MonthSettings august = monthOf(2026, 8);
    layoutMonth(render(QPoint(12, 10), 16), august);
    EXPECT_EQ(august.monthBottom, 10 + 4 * 16 + 6 * 32);
}

class MonthDrawing : public ::testing::Test {
  protected:
    void SetUp() override { surface.clear(kWhite); }
    void draw(MonthSettings& settings, QPoint origin = QPoint(12, 10), int cell = 16) {
        ASSERT_TRUE(renderMonth(surface, render(origin, cell), settings, holidays));
    }
    Surface surface{300, 320};
    HolidayTable holidays;
};

TEST_F(MonthDrawing, SundaysRedHolidaysInTheirColourOthersBlack) {
    // October 2023: Sundays are 1, 8, 15, 22, 29. Holidays: 12th (Thursday) green, 8th
    // (a Sunday) blue, 20th with colour 0.
    ASSERT_TRUE(holidays.append({12, 10, kGreen, 0}));
    ASSERT_TRUE(holidays.append({8, 10, kBlue, 0}));
    ASSERT_TRUE(holidays.append({20, 10, 0, 0}));
    holidays.rebuildColourMap();
    MonthSettings settings = monthOf(2023, 10);
    settings.includeHolidays = 1;
    draw(settings);
    for (int day = 1; day <= 31; ++day) {
        const QPoint at = expectedPlace(QPoint(12, 10), 16, 7, day);
        const bool sunday = (day - 1) % 7 == 0;
        const Colour expected = sunday ? kRed : day == 12 ? kGreen : kBlack;
        const Ink ink = inkIn(surface, dayCell(at, 16), expected);
        EXPECT_GT(ink.count, 0) << day;
        EXPECT_TRUE(ink.allOf) << day;
        EXPECT_TRUE(ink.full) << day;
    }
}

TEST_F(MonthDrawing, WithoutHolidaysEveryWeekdayIsBlack) {
    ASSERT_TRUE(holidays.append({12, 10, kGreen, 0}));
    holidays.rebuildColourMap();
    MonthSettings settings = monthOf(2023, 10);
    draw(settings);
    const Ink ink = inkIn(surface, dayCell(expectedPlace(QPoint(12, 10), 16, 7, 12), 16), kBlack);
    EXPECT_GT(ink.count, 0);
    EXPECT_TRUE(ink.allOf);
}

TEST_F(MonthDrawing, WeekdayInitialsAllBlackInTheirColumns) {
    MonthSettings settings = monthOf(2024, 1);
    draw(settings);
    for (int k = 0; k < 7; ++k) {
        const QRect cell(12 + k * 34, 10 + 32, 34, 32);
        const Ink ink = inkIn(surface, cell, kBlack);
        EXPECT_GT(ink.count, 0) << k;
        EXPECT_TRUE(ink.allOf) << k;  // the "D" of Sunday too
    }
}

TEST_F(MonthDrawing, NothingBeyondTheExtentsWithoutABox) {
    MonthSettings settings = monthOf(2026, 8);
    draw(settings);
    const Ink all = inkIn(surface, QRect(0, 0, 300, 320), kBlack);
    EXPECT_GE(all.bounds.left(), 7);
    EXPECT_LE(all.bounds.right(), settings.monthRight);
    EXPECT_GE(all.bounds.top(), 10);
    EXPECT_LE(all.bounds.bottom(), settings.monthBottom);
}

TEST_F(MonthDrawing, BoxFromFiveBeforeTheOriginToFiveAfterTheExtents) {
    MonthSettings settings = monthOf(2026, 12);
    settings.monthBoxWanted = 1;
    settings.monthBoxColour = rgb(255, 255, 0);
    settings.monthBorderColour = kBlue;
    draw(settings);
    const int bottom = settings.monthBottom + 5;
    const int middle = 150;
    // The 4-pixel outline runs along the box's edges, x = 7 and x = 254 (the box covers
    // 7 <= x < 255); the interior is filled.
    EXPECT_EQ(surface.pixel(7, middle), kBlue);
    EXPECT_EQ(surface.pixel(254, middle), kBlue);
    EXPECT_EQ(surface.pixel(100, 5), kBlue);
    EXPECT_EQ(surface.pixel(100, bottom - 1), kBlue);
    EXPECT_EQ(surface.pixel(12, middle), rgb(255, 255, 0));
    EXPECT_EQ(surface.pixel(249, middle), rgb(255, 255, 0));
    // Outside, nothing: the pen reaches at most half its width beyond the edge.
    for (int y = 0; y < 320; ++y) {
        EXPECT_EQ(surface.pixel(3, y), kWhite) << y;
        EXPECT_EQ(surface.pixel(258, y), kWhite) << y;
    }
    EXPECT_EQ(surface.pixel(100, bottom + 3), kWhite);
}

TEST_F(MonthDrawing, TransparentBoxDrawsOnlyTheOutline) {
    surface.clear(rgb(10, 20, 30));
    MonthSettings settings = monthOf(2026, 12);
    settings.monthBoxWanted = 1;
    settings.monthBoxTransparent = 1;
    settings.monthBoxColour = rgb(255, 255, 0);
    settings.monthBorderColour = kGreen;
    draw(settings);
    EXPECT_EQ(surface.pixel(7, 150), kGreen);
    // Four pixels wide across the left edge, the ground on both sides.
    int width = 0;
    for (int x = 0; x < 20; ++x) width += surface.pixel(x, 150) == kGreen;
    EXPECT_EQ(width, 4);
    EXPECT_EQ(surface.pixel(12, 150), rgb(10, 20, 30));
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_NE(surface.pixel(x, y), rgb(255, 255, 0));
}

// The title's ink, left edge, in the title row.
int titleLeft(Surface& s, MonthSettings& settings, int alignment, Colour colour) {
    s.clear(kWhite);
    settings.monthAlignment = alignment;
    MonthRender r = render(QPoint(12, 10), 16);
    r.titleColour = colour;
    HolidayTable none;
    renderMonth(s, r, settings, none);
    return inkIn(s, QRect(0, 10, s.width(), 32), colour).bounds.left();
}

TEST_F(MonthDrawing, TitleAlignments) {
    MonthSettings settings = monthOf(2026, 12);
    const QFontMetrics metrics(sheetFont(16).font);
    const QString name = QStringLiteral("Diciembre");
    const int left = titleLeft(surface, settings, kMonthLeft, kGreen);
    EXPECT_GE(left, 7);
    EXPECT_LT(left, 7 + 6);
    // In the text colour of the text properties.
    EXPECT_TRUE(inkIn(surface, QRect(0, 10, 300, 32), kGreen).allOf);
    // Centred between x0 - 5 and monthRight + 5 = 255.
    const int centreStart = (7 + 255 - metrics.horizontalAdvance(name)) / 2;
    EXPECT_EQ(titleLeft(surface, settings, kMonthCentre, kGreen) - left, centreStart - 7);
    // Right: (20 - 9 characters) average character widths further on.
    EXPECT_EQ(titleLeft(surface, settings, kMonthRight, kGreen) - left,
              11 * metrics.averageCharWidth());
    // Any other alignment prints no title.
    surface.clear(kWhite);
    printTitle(surface, name, 730, 7, 10, sheetFont(16), kGreen, 255);
    EXPECT_EQ(inkIn(surface, QRect(0, 0, 300, 320), kGreen).count, 0);
}

TEST_F(MonthDrawing, MonthsThatCannotBeDrawnDrawNothing) {
    for (const auto& [year, month] : {std::pair{0, 5}, {10000, 5}, {2024, 0}, {2024, 13}}) {
        MonthSettings settings = monthOf(year, month);
        EXPECT_FALSE(renderMonth(surface, render(QPoint(12, 10)), settings, holidays));
    }
    EXPECT_EQ(inkIn(surface, QRect(0, 0, 300, 320), kBlack).count, 0);
}

TEST(MonthOnCanvas, FaceAndSizeOfTheTextPropertiesAlwaysBold) {
    TextProperties text;
    text.fontName = QStringLiteral("Arial");
    text.pointSize = 20;
    text.foreColour = kBlue;
    text.styles.italic = 1;
    Surface canvas(600, 500);
    canvas.clear(kWhite);
    MonthSettings settings = monthOf(2021, 2);
    HolidayTable holidays;
    ASSERT_TRUE(drawMonthOnCanvas(canvas, QPoint(40, 30), settings, holidays, text));
    // cell = 20: column step 42, row step 40.
    EXPECT_EQ(settings.monthRight, 40 + 7 * 42);
    EXPECT_EQ(settings.monthBottom, 30 + 4 * 20 + 4 * 40);
    // The 28th, a Sunday in column 7 of the fourth row, in red.
    const Ink sunday = inkIn(canvas, dayCell(expectedPlace(QPoint(40, 30), 20, 1, 28), 20), kRed);
    EXPECT_GT(sunday.count, 0);
    EXPECT_TRUE(sunday.allOf);
    // The title in the text colour.
    EXPECT_TRUE(inkIn(canvas, QRect(0, 30, 600, 40), kBlue).full);
    // Bold and upright: the same ink as a bold upright Arial 20 gives.
    Surface expected(600, 500);
    expected.clear(kWhite);
    FontRequest request;
    request.face = QStringLiteral("Arial");
    request.points = 20;
    request.style = kStyleBold;
    expected.selectFont(platform::resolveFont(request));
    expected.setForeground(kBlack);
    expected.setBackground(kTransparent);
    expected.moveTo(40, 30 + 80);
    expected.print(QStringLiteral("1"));
    for (int y = 110; y < 150; ++y)
        for (int x = 40; x < 82; ++x)
            ASSERT_EQ(canvas.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace tessel
