// Flood fill: border and surface modes, sentinels, hatching, and large regions.

#include <gtest/gtest.h>

#include "SurfaceTestHelpers.h"

using namespace tessel;
using namespace tessel::testing;

TEST(SurfaceFloodFill, BorderModeFillsInsideAClosedOutlineOnly) {
    Surface surface = blankSurface(20, 16);
    surface.box(3, 3, 15, 12, 0, kRed, kTransparent, 0);
    surface.floodFill(8, 7, kBlue, kRed, kFillSolid, FloodMode::Border);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(4, 4, 10, 7)), 70);
    EXPECT_EQ(countPixels(surface, kRed, QRect(3, 3, 12, 9)), 2 * 12 + 2 * 7);
    EXPECT_EQ(countPixels(surface, kWhite, surface.image().rect()), 20 * 16 - 12 * 9);

    // Starting on the boundary colour itself fills nothing.
    const QImage before = surface.image().copy();
    surface.floodFill(3, 3, kGreen, kRed, kFillSolid, FloodMode::Border);
    EXPECT_EQ(surface.image(), before);
}

TEST(SurfaceFloodFill, DoesNotEscapeThroughTheDiagonalStepsOfAnEllipse) {
    Surface surface = blankSurface(60, 44);
    surface.ellipse(5, 4, 55, 40, kRed, kTransparent, 0);
    surface.floodFill(30, 22, kBlue, kRed, kFillSolid, FloodMode::Border);
    EXPECT_GT(countPixels(surface, kBlue, surface.image().rect()), 1000);
    EXPECT_EQ(surface.pixel(0, 0), kWhite);
    EXPECT_EQ(surface.pixel(6, 5), kWhite);  // inside the box, outside the ellipse
    EXPECT_EQ(surface.pixel(59, 43), kWhite);
    // Outside the box nothing is blue.
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 0, 60, 4)), 0);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 40, 60, 4)), 0);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(0, 0, 5, 44)), 0);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(55, 0, 5, 44)), 0);
}

TEST(SurfaceFloodFill, SurfaceModeSpreadsOverConnectedPixelsOfTheGivenColour) {
    Surface surface = blankSurface(20, 10);
    surface.box(1, 1, 8, 8, 0, kGreen, kGreen, 0);    // the region to fill
    surface.box(12, 1, 19, 8, 0, kGreen, kGreen, 0);  // same colour, not connected
    surface.setPixel(4, 4, kRed);                     // a hole that stays
    surface.floodFill(2, 2, kBlue, kGreen, kFillSolid, FloodMode::Surface);
    EXPECT_EQ(countPixels(surface, kBlue, QRect(1, 1, 7, 7)), 48);
    EXPECT_EQ(surface.pixel(4, 4), kRed);
    EXPECT_EQ(countPixels(surface, kGreen, QRect(12, 1, 7, 7)), 49);
    EXPECT_EQ(countPixels(surface, kWhite, QRect(0, 0, 20, 10)), 200 - 98);

    // Starting on another colour does nothing.
    const QImage before = surface.image().copy();
    surface.floodFill(0, 0, kBlue, kGreen, kFillSolid, FloodMode::Surface);
    EXPECT_EQ(surface.image(), before);
}

TEST(SurfaceFloodFill, ColourSentinels) {
    Surface surface = blankSurface(10, 10);
    surface.box(2, 2, 8, 8, 0, kRed, kTransparent, 0);
    const QImage before = surface.image().copy();
    surface.floodFill(4, 4, kTransparent, kRed, kFillSolid, FloodMode::Border);
    EXPECT_EQ(surface.image(), before);
    surface.floodFill(-1, 4, kBlue, kRed, kFillSolid, FloodMode::Border);  // outside
    EXPECT_EQ(surface.image(), before);

    // Fill -1 is the foreground.
    surface.setForeground(kGreen);
    surface.floodFill(4, 4, kDefaultColour, kRed, kFillSolid, FloodMode::Border);
    EXPECT_EQ(countPixels(surface, kGreen, surface.image().rect()), 16);

    // Boundary -1 is the fill colour: a blue fill stops at a blue outline ...
    Surface walled = blankSurface(10, 10);
    walled.box(2, 2, 8, 8, 0, kBlue, kTransparent, 0);
    walled.floodFill(4, 4, kBlue, kDefaultColour, kFillSolid, FloodMode::Border);
    EXPECT_EQ(countPixels(walled, kBlue, walled.image().rect()), 36);
    EXPECT_EQ(countPixels(walled, kWhite, walled.image().rect()), 64);
    // ... and runs straight through an outline of another colour.
    surface.floodFill(0, 0, kBlue, kDefaultColour, kFillSolid, FloodMode::Border);
    EXPECT_EQ(countPixels(surface, kBlue, surface.image().rect()), 100);
}

TEST(SurfaceFloodFill, HatchedFillKeepsThePatternInsideTheRegion) {
    Surface surface = blankSurface(32, 32);
    surface.box(0, 0, 32, 32, 0, kRed, kTransparent, 0);
    surface.setBackground(kTransparent);
    surface.floodFill(10, 10, kBlue, kRed, 5, FloodMode::Border);
    const QRect inside(1, 1, 30, 30);
    const int hatch = countPixels(surface, kBlue, inside);
    EXPECT_GT(hatch, 30 * 2);
    EXPECT_LT(hatch, 30 * 30 / 2);
    EXPECT_EQ(hatch + countPixels(surface, kWhite, inside), 30 * 30);
    EXPECT_EQ(countPixels(surface, kRed, surface.image().rect()), 4 * 31);

    // The same fill with an opaque background leaves no white gap.
    Surface opaque = blankSurface(32, 32);
    opaque.box(0, 0, 32, 32, 0, kRed, kTransparent, 0);
    opaque.setBackground(kGreen);
    opaque.floodFill(10, 10, kBlue, kRed, 5, FloodMode::Border);
    EXPECT_EQ(countPixels(opaque, kBlue, inside), hatch);
    EXPECT_EQ(countPixels(opaque, kGreen, inside), 30 * 30 - hatch);
}

TEST(SurfaceFloodFill, LargeWindingRegionFillsWithoutRecursion) {
    // A comb of one-pixel walls makes a single long serpentine region over the whole canvas.
    Surface surface = blankSurface(1200, 900);
    for (int x = 2; x < 1200; x += 2) {
        const bool fromTop = (x / 2) % 2 == 0;
        surface.line(x, fromTop ? 0 : 1, x, fromTop ? 899 : 900, kRed);
    }
    surface.floodFill(0, 0, kBlue, kRed, kFillSolid, FloodMode::Border);
    EXPECT_EQ(countPixels(surface, kWhite, surface.image().rect()), 0);
    EXPECT_EQ(surface.pixel(1199, 899), kBlue);
    EXPECT_EQ(surface.pixel(3, 0), kBlue);
}
