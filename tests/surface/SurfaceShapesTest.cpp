// Lines, boxes and ellipses: the pixel conventions, sentinels and styles.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <cstdlib>
#include <utility>
#include <vector>

#include "SurfaceTestHelpers.h"

using namespace tessel;
using namespace tessel::testing;

TEST(SurfaceBasics, NewSurfaceIsBlackAndPixelsOutsideAreIgnored) {
    Surface surface(4, 3);
    EXPECT_EQ(boundsOfPixelsOtherThan(surface, 0x000000), QRect());
    EXPECT_EQ(surface.pixel(-1, 0), -1);
    EXPECT_EQ(surface.pixel(4, 0), -1);
    EXPECT_EQ(surface.pixel(0, 3), -1);
    surface.setPixel(4, 0, kRed);
    surface.setPixel(-1, -1, kRed);
    EXPECT_EQ(countPixels(surface, kRed, QRect(0, 0, 4, 3)), 0);
    surface.setPixel(3, 2, 0x12345678);  // the top byte is not part of the colour
    EXPECT_EQ(surface.pixel(3, 2), 0x345678);
}

TEST(SurfaceBasics, ConvertsPicturesWithAnyFormat) {
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 255));
    const Surface surface(picture);
    EXPECT_EQ(surface.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(surface.pixel(2, 1), rgb(10, 20, 30));
}

TEST(SurfaceBasics, EmptySurfacesTakeEveryOperationWithoutHarm) {
    for (Surface surface : {Surface(0, 0), Surface(-5, 3), Surface(QImage())}) {
        EXPECT_TRUE(surface.isNull());
        surface.clear(kRed, 3);
        surface.line(0, 0, 5, 5);
        surface.box(0, 0, 4, 4, 50, kRed, kBlue, 1);
        surface.ellipse(0, 0, 4, 4, kRed, kBlue, 0);
        surface.floodFill(0, 0, kRed, -1, 0, FloodMode::Border);
        surface.print(QStringLiteral("x"));
        surface.copyFrom(Surface(2, 2), QRect(0, 0, 2, 2), QPoint(0, 0));
        surface.stretchFrom(Surface(2, 2), QRect(0, 0, 2, 2), QRect(0, 0, 4, 4));
        surface.drawPicture(QImage(2, 2, QImage::Format_ARGB32), QRect(0, 0, 2, 2));
        EXPECT_EQ(surface.pixel(0, 0), -1);
        EXPECT_EQ(surface.pixelBlock().size(), 8);
        EXPECT_FALSE(surface.setPixelBlock(QByteArray(8, '\0')));
    }
}

TEST(SurfaceColours, SentinelsResolveAsDocumented) {
    Surface surface(2, 2);
    surface.setForeground(kRed);
    surface.setForeground(kUnchanged);
    EXPECT_EQ(surface.foreground(), kRed);
    surface.setForeground(kDefaultColour);
    EXPECT_EQ(surface.foreground(),
              fromQColor(QGuiApplication::palette().color(QPalette::WindowText)));

    surface.setBackground(kGreen);
    surface.setBackground(kTransparent);
    EXPECT_EQ(surface.backgroundMode(), BackgroundMode::Transparent);
    EXPECT_EQ(surface.background(), kGreen);
    surface.setBackground(kUnchanged);
    EXPECT_EQ(surface.backgroundMode(), BackgroundMode::Transparent);
    surface.setBackground(kDefaultColour);
    EXPECT_EQ(surface.backgroundMode(), BackgroundMode::Opaque);
    EXPECT_EQ(surface.background(), fromQColor(QGuiApplication::palette().color(QPalette::Button)));
}

TEST(SurfaceColours, ClearUsesBackgroundForDefaultAndResetsThePosition) {
    Surface surface(3, 3);
    surface.setBackground(kBlue);
    surface.moveTo(2, 2);
    surface.clear(kDefaultColour);
    EXPECT_EQ(surface.position(), QPoint(0, 0));
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 0, 3, 3)), 9);
    // A transparent background only changes the mode: -1 still means the colour last set.
    surface.clear(kRed);
    surface.setBackground(kTransparent);
    surface.clear(kDefaultColour);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 0, 3, 3)), 9);
}

TEST(SurfaceLines, PaintStartPixelButNotEndPixelAndMoveThePosition) {
    Surface surface = blankSurface(12, 12);
    surface.setForeground(kRed);
    surface.line(1, 1, 6, 1);
    EXPECT_EQ(surface.position(), QPoint(6, 1));
    EXPECT_EQ(countPixels(surface, kRed, QRect(1, 1, 5, 1)), 5);
    EXPECT_EQ(surface.pixel(6, 1), kWhite);
    EXPECT_EQ(surface.pixel(0, 1), kWhite);

    surface.lineTo(6, 9, kBlue);  // from the current position, downwards
    EXPECT_EQ(surface.position(), QPoint(6, 9));
    EXPECT_EQ(countPixels(surface, kBlue, QRect(6, 1, 1, 8)), 8);
    EXPECT_EQ(surface.pixel(6, 9), kWhite);

    surface.line(10, 10, 7, 7, kGreen);  // backwards along a diagonal
    EXPECT_EQ(surface.pixel(10, 10), kGreen);
    EXPECT_EQ(surface.pixel(8, 8), kGreen);
    EXPECT_EQ(surface.pixel(7, 7), kWhite);
}

TEST(SurfaceLines, DottedPenLeavesGapsThatTakeTheOpaqueBackground) {
    Surface surface = blankSurface(40, 4);
    surface.setPenStyle(kPenDot);
    surface.setBackground(kTransparent);
    surface.line(0, 1, 40, 1, kRed);
    const int inked = countPixels(surface, kRed, QRect(0, 1, 40, 1));
    EXPECT_GT(inked, 10);
    EXPECT_EQ(countPixels(surface, kWhite, QRect(0, 1, 40, 1)), 40 - inked);

    surface.setBackground(kBlue);
    surface.line(0, 2, 40, 2, kRed);
    EXPECT_EQ(countPixels(surface, kRed, QRect(0, 2, 40, 1)), inked);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 2, 40, 1)), 40 - inked);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 0, 40, 1)), 0);
}

// The runs of one colour along row y between x = from and x = to - 1: lengths of the ink runs
// and of the gaps between them (the runs cut by the line's ends left out).
struct Runs {
    std::vector<int> ink;
    std::vector<int> gaps;
};
Runs runsAlong(const Surface& surface, int y, int from, int to, Colour ink) {
    std::vector<std::pair<bool, int>> runs;
    for (int x = from; x < to; ++x) {
        const bool on = surface.pixel(x, y) == ink;
        if (runs.empty() || runs.back().first != on) runs.push_back({on, 0});
        ++runs.back().second;
    }
    Runs result;
    for (std::size_t i = 1; i + 1 < runs.size(); ++i)
        (runs[i].first ? result.ink : result.gaps).push_back(runs[i].second);
    // The last dash may be cut short where the line ends.
    if (!result.ink.empty()) result.ink.pop_back();
    return result;
}

TEST(SurfaceLines, WideDottedPensDrawDotsAsLongAsThePenIsWide) {
    for (const int width : {3, 5, 8, 15}) {
        // "2 - Punto": dots as long as the pen is wide, gaps as long again.
        Surface surface = blankSurface(420, 40);
        surface.setBackground(kTransparent);
        surface.setPenWidth(width);
        surface.setPenStyle(kPenDot);
        surface.line(20, 20, 400, 20, kRed);
        Runs runs = runsAlong(surface, 20, 0, 420, kRed);
        ASSERT_GE(runs.ink.size(), 5u) << width;
        for (const int length : runs.ink) EXPECT_NEAR(length, width, 1) << "dot at " << width;
        for (const int length : runs.gaps) EXPECT_NEAR(length, width, 1) << "gap at " << width;
        // The first dot is centred on the start point, as a solid pen's round cap would be.
        EXPECT_EQ(surface.pixel(20, 20), kRed);
        EXPECT_EQ(surface.pixel(20 - (width + 1) / 2 - 1, 20), kWhite);
        // A line from far outside to far outside is dotted where it crosses the surface, at once.
        surface.line(-1000000000, 30, 1000000000, 30, kRed);
        runs = runsAlong(surface, 30, 0, 420, kRed);
        ASSERT_GE(runs.ink.size(), 5u) << width;
        for (const int length : runs.ink) EXPECT_NEAR(length, width, 1) << "far dot at " << width;

        // "3 - RayaPunto": dash, gap, dot, gap as 3 : 2 : 1 : 2 pen widths.
        surface = blankSurface(420, 40);
        surface.setPenWidth(width);
        surface.setPenStyle(3);
        surface.setBackground(kBlue);  // opaque: the gaps take the background colour
        surface.line(20, 20, 400, 20, kRed);
        runs = runsAlong(surface, 20, 20, 400, kRed);
        ASSERT_GE(runs.ink.size(), 4u) << width;
        for (std::size_t i = 0; i < runs.ink.size(); ++i) {
            const int expected = (i % 2 == 0) == (runs.ink[0] < 2 * width) ? width : 3 * width;
            EXPECT_NEAR(runs.ink[i], expected, 1) << "dash-dot run " << i << " at " << width;
        }
        for (const int length : runs.gaps) EXPECT_NEAR(length, 2 * width, 1) << width;
        EXPECT_EQ(countPixels(surface, kWhite, QRect(20, 20, 381, 1)), 0);

        // "4 - RayaPuntoPunto": dash, gap, dot, gap, dot, gap as 3 : 1 : 1 : 1 : 1 : 1.
        surface = blankSurface(420, 40);
        surface.setBackground(kTransparent);
        surface.setPenWidth(width);
        surface.setPenStyle(4);
        surface.line(20, 20, 400, 20, kRed);
        runs = runsAlong(surface, 20, 0, 420, kRed);
        ASSERT_GE(runs.ink.size(), 4u) << width;
        int dashes = 0, dots = 0;
        for (const int length : runs.ink) {
            dashes += std::abs(length - 3 * width) <= 1;
            dots += std::abs(length - width) <= 1;
        }
        EXPECT_EQ(dashes + dots, int(runs.ink.size())) << width;
        EXPECT_NEAR(dots, 2 * dashes, 2) << width;
        for (const int length : runs.gaps) EXPECT_NEAR(length, width, 1) << width;
    }
}

TEST(SurfaceShapes, WideDottedBoxesHaveInkOnEveryCorner) {
    for (const int style : {2, 3, 4}) {
        for (const int width : {2, 5, 9, 15}) {
            for (const QSize size :
                 {QSize(91, 67), QSize(120, 120), QSize(33, 200), QSize(17, 13)}) {
                Surface surface = blankSurface(300, 300);
                surface.setBackground(kTransparent);
                surface.setPenWidth(width);
                surface.setPenStyle(style);
                const int x1 = 40, y1 = 50, x2 = x1 + size.width(), y2 = y1 + size.height();
                surface.box(x1, y1, x2, y2, 0, kRed, kTransparent, 0);
                // The outline runs through the centres of the box's outer pixels.
                for (const QPoint corner : {QPoint(x1, y1), QPoint(x2 - 1, y1),
                                            QPoint(x2 - 1, y2 - 1), QPoint(x1, y2 - 1)}) {
                    EXPECT_EQ(surface.pixel(corner.x(), corner.y()), kRed)
                        << "style " << style << " width " << width << " box " << size.width() << "x"
                        << size.height() << " corner " << corner.x() << "," << corner.y();
                }
                // Gaps are left along the sides, and nothing is drawn far from the outline.
                if (size.width() >= 6 * width) {
                    EXPECT_GT(countPixels(surface, kWhite, QRect(x1, y1, size.width(), 1)), 0);
                }
                EXPECT_TRUE(QRect(x1, y1, size.width(), size.height())
                                .adjusted(-width, -width, width, width)
                                .contains(boundsOfPixelsOtherThan(surface, kWhite)));
            }
        }
    }
}

TEST(SurfaceLines, WidePenHasRoundEnds) {
    Surface surface = blankSurface(30, 21);
    surface.setPenWidth(7);
    surface.line(10, 10, 20, 10, kRed);
    // The pen reaches half its width beyond both ends on the axis ...
    EXPECT_EQ(surface.pixel(8, 10), kRed);
    EXPECT_EQ(surface.pixel(22, 10), kRed);
    EXPECT_EQ(surface.pixel(15, 7), kRed);
    EXPECT_EQ(surface.pixel(15, 13), kRed);
    // ... but the corners of a square cap stay clear, and nothing lies further out.
    EXPECT_EQ(surface.pixel(7, 7), kWhite);
    EXPECT_EQ(surface.pixel(23, 13), kWhite);
    EXPECT_TRUE(QRect(6, 6, 19, 9).contains(boundsOfPixelsOtherThan(surface, kWhite)));
}

TEST(SurfaceBoxes, CoverTheHalfOpenRectangleWithOutlineOnTheOuterPixels) {
    Surface surface = blankSurface(12, 10);
    surface.box(2, 3, 9, 8, 0, kRed, kBlue, kFillSolid);
    EXPECT_EQ(boundsOfPixelsOtherThan(surface, kWhite), QRect(QPoint(2, 3), QPoint(8, 7)));
    for (const QPoint corner : {QPoint(2, 3), QPoint(8, 3), QPoint(2, 7), QPoint(8, 7)})
        EXPECT_EQ(surface.pixel(corner.x(), corner.y()), kRed) << corner.x() << "," << corner.y();
    EXPECT_EQ(countPixels(surface, kRed, QRect(2, 3, 7, 5)), 2 * 7 + 2 * 3);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(3, 4, 5, 3)), 15);
}

TEST(SurfaceBoxes, ReversedCornersDrawTheSameBox) {
    Surface ordered = blankSurface(40, 30);
    Surface reversed = blankSurface(40, 30);
    ordered.box(5, 4, 33, 25, 40, kRed, kBlue, 5);
    reversed.box(33, 25, 5, 4, 40, kRed, kBlue, 5);
    EXPECT_EQ(ordered.image(), reversed.image());
    Surface mixed = blankSurface(40, 30);
    mixed.box(33, 4, 5, 25, 40, kRed, kBlue, 5);
    EXPECT_EQ(ordered.image(), mixed.image());
}

TEST(SurfaceBoxes, CornerPercentIsClampedAndZeroGivesSquareCorners) {
    auto draw = [](int percent) {
        Surface surface = blankSurface(40, 30);
        surface.box(5, 5, 35, 25, percent, kRed, kBlue, kFillSolid);
        return surface;
    };
    EXPECT_EQ(draw(250).image(), draw(100).image());
    EXPECT_EQ(draw(-20).image(), draw(0).image());
    EXPECT_EQ(draw(0).pixel(5, 5), kRed);
    EXPECT_EQ(draw(100).pixel(5, 5), kWhite);
    EXPECT_EQ(draw(100).pixel(6, 6), kWhite);
    EXPECT_NE(draw(100).image(), draw(50).image());
    // The rounded box still spans the whole rectangle along its middle lines.
    EXPECT_EQ(boundsOfPixelsOtherThan(draw(100), kWhite), QRect(QPoint(5, 5), QPoint(34, 24)));
}

TEST(SurfaceBoxes, FillSentinelsAndStyles) {
    // Fill style 7 and beyond fill solid.
    Surface solid = blankSurface(20, 20);
    Surface seven = blankSurface(20, 20);
    solid.box(2, 2, 18, 18, 0, kRed, kBlue, 0);
    seven.box(2, 2, 18, 18, 0, kRed, kBlue, 7);
    EXPECT_EQ(solid.image(), seven.image());

    // Fill -1 is the line colour; line -1 the foreground.
    Surface same = blankSurface(20, 20);
    same.setForeground(kGreen);
    same.box(2, 2, 18, 18, 0, kDefaultColour, kDefaultColour, 0);
    EXPECT_EQ(countPixels(same, kGreen, QRect(2, 2, 16, 16)), 256);

    // Fill -2 leaves every interior pixel exactly as it was.
    Surface hollow(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) hollow.setPixel(x, y, rgb(x * 12, y * 12, (x ^ y) * 8));
    const QImage before = hollow.image().copy();
    hollow.box(2, 2, 18, 18, 30, kRed, kTransparent, 0);
    for (int y = 4; y < 16; ++y)
        for (int x = 4; x < 16; ++x) ASSERT_EQ(hollow.image().pixel(x, y), before.pixel(x, y));
}

TEST(SurfaceBoxes, HatchGapsFollowTheBackgroundMode) {
    Surface opaque = blankSurface(24, 24);
    opaque.setBackground(kGreen);
    opaque.box(0, 0, 24, 24, 0, kRed, kBlue, 1);
    const QRect inside(1, 1, 22, 22);
    EXPECT_GT(countPixels(opaque, kBlue, inside), 0);
    EXPECT_EQ(countPixels(opaque, kBlue, inside) + countPixels(opaque, kGreen, inside), 22 * 22);
    // Horizontal lines: every row is either all hatch or all gap.
    for (int y = 1; y < 23; ++y) {
        const int inRow = countPixels(opaque, kBlue, QRect(1, y, 22, 1));
        EXPECT_TRUE(inRow == 0 || inRow == 22) << "row " << y;
    }

    Surface transparent = blankSurface(24, 24);
    transparent.setBackground(kTransparent);
    transparent.box(0, 0, 24, 24, 0, kRed, kBlue, 6);
    EXPECT_GT(countPixels(transparent, kBlue, inside), 0);
    EXPECT_EQ(countPixels(transparent, kBlue, inside) + countPixels(transparent, kWhite, inside),
              22 * 22);
}

TEST(SurfaceEllipses, InscribedInTheBoxWithTheFillInsideTheOutline) {
    Surface surface = blankSurface(40, 30);
    surface.ellipse(35, 26, 4, 3, kRed, kBlue, kFillSolid);
    EXPECT_EQ(boundsOfPixelsOtherThan(surface, kWhite), QRect(QPoint(4, 3), QPoint(34, 25)));
    EXPECT_EQ(surface.pixel(4, 3), kWhite);  // the box's corner is outside the ellipse
    EXPECT_EQ(surface.pixel(19, 14), kBlue);
    for (int y = 3; y <= 25; ++y) {
        int firstOutline = -1, lastOutline = -1;
        for (int x = 0; x < 40; ++x)
            if (surface.pixel(x, y) == kRed) {
                if (firstOutline < 0) firstOutline = x;
                lastOutline = x;
            }
        ASSERT_GE(firstOutline, 0) << "row " << y;
        for (int x = 0; x < 40; ++x)
            if (surface.pixel(x, y) == kBlue) {
                EXPECT_GT(x, firstOutline);
                EXPECT_LT(x, lastOutline);
            }
    }
}

TEST(SurfaceEllipses, WideOutlinesStayRoughlyCentredOnTheBoxEdge) {
    Surface surface = blankSurface(50, 50);
    surface.setPenWidth(5);
    surface.ellipse(10, 10, 40, 40, kRed, kTransparent, 0);
    EXPECT_TRUE(QRect(7, 7, 36, 36).contains(boundsOfPixelsOtherThan(surface, kWhite)));
    EXPECT_EQ(surface.pixel(25, 25), kWhite);
    EXPECT_EQ(surface.pixel(10, 25), kRed);
    EXPECT_EQ(surface.pixel(25, 12), kRed);
}
