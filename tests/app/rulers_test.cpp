// The ruler strips: marks, lengths, colours and where the labels stand.

#include <gtest/gtest.h>

#include "app/Rulers.h"

namespace tessel {
namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kGrey = 0x808080;

// Length of the run of `colour` from the strip's edge at `at` along the strip.
int markLength(const Surface& strip, Qt::Orientation orientation, int at, Colour colour) {
    int n = 0;
    while (true) {
        const Colour c = orientation == Qt::Horizontal ? strip.pixel(at, n) : strip.pixel(n, at);
        if (c != colour) return n;
        ++n;
    }
}

// Whether anything but the ground shows in the rectangle.
bool hasInk(const Surface& strip, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const Colour c = strip.pixel(x, y);
            if (c != kRulerGround && c != -1) return true;
        }
    }
    return false;
}

TEST(MillimetreRuler, MarkPositionsFollowTheScreenResolution) {
    EXPECT_EQ(millimetreMark(96, 0), 0);
    EXPECT_EQ(millimetreMark(96, 10), 38);
    EXPECT_EQ(millimetreMark(96, 100), 378);
    EXPECT_EQ(millimetreMark(96, 5), 19);
    EXPECT_EQ(millimetreMark(120, 10), 47);
}

TEST(MillimetreRuler, HorizontalStripHasCentimetreHalfAndMillimetreMarks) {
    Surface strip(1217, 40);
    drawMillimetreRuler(strip, Qt::Horizontal, 96);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 0, kRed), 9);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 38, kRed), 9);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 378, kRed), 9);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 19, kBlack), 6);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, millimetreMark(96, 1), kGrey), 4);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, millimetreMark(96, 7), kGrey), 4);
    // Between two marks the ground shows.
    EXPECT_EQ(strip.pixel(2, 0), kRulerGround);
    // The last mark inside the strip: 32 cm at 1209.
    EXPECT_EQ(markLength(strip, Qt::Horizontal, millimetreMark(96, 320), kRed), 9);
}

TEST(MillimetreRuler, LabelsStandUnderTheirCentimetreMarks) {
    Surface strip(1217, 40);
    drawMillimetreRuler(strip, Qt::Horizontal, 96);
    // "1" at (38 - 3, 11) and "10" at (378 - 3, 11); nothing is printed at 0 cm.
    EXPECT_TRUE(hasInk(strip, QRect(35, 11, 8, 12)));
    EXPECT_TRUE(hasInk(strip, QRect(375, 11, 14, 12)));
    EXPECT_FALSE(hasInk(strip, QRect(0, 10, 30, 30)));
}

TEST(MillimetreRuler, VerticalStripRunsDownFromItsLeftEdge) {
    Surface strip(40, 907);
    drawMillimetreRuler(strip, Qt::Vertical, 96);
    EXPECT_EQ(markLength(strip, Qt::Vertical, 38, kRed), 9);
    EXPECT_EQ(markLength(strip, Qt::Vertical, 19, kBlack), 6);
    EXPECT_TRUE(hasInk(strip, QRect(11, 35, 12, 12)));
    EXPECT_TRUE(hasInk(strip, QRect(11, 375, 20, 12)));
}

TEST(PixelRuler, MarksEveryFivePixelsWithRedFifties) {
    Surface strip(1217, 40);
    drawPixelRuler(strip, Qt::Horizontal, 1200);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 0, kBlack), 10);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 5, kBlack), 5);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 10, kBlack), 10);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 50, kRed), 10);
    EXPECT_EQ(markLength(strip, Qt::Horizontal, 1200, kRed), 10);
    EXPECT_GE(markLength(strip, Qt::Horizontal, 1205, kRulerGround), 12);
}

TEST(PixelRuler, LabelsFiftyToTheEndOfEachStrip) {
    Surface across(1217, 40);
    drawPixelRuler(across, Qt::Horizontal, 1200);
    for (int p = 50; p <= 1200; p += 50) {
        EXPECT_TRUE(hasInk(across, QRect(p - 5, 12, 20, 14))) << p;
    }
    EXPECT_FALSE(hasInk(across, QRect(0, 11, 40, 29)));

    Surface down(40, 907);
    drawPixelRuler(down, Qt::Vertical, 900);
    for (int p = 50; p <= 900; p += 50) {
        EXPECT_TRUE(hasInk(down, QRect(14, p - 5, 20, 12))) << p;
        EXPECT_EQ(markLength(down, Qt::Vertical, p, kRed), 10) << p;
    }
    EXPECT_GE(markLength(down, Qt::Vertical, 905, kRulerGround), 14);
}

}  // namespace
}  // namespace tessel
