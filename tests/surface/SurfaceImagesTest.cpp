// Copies, stretches, pictures, icons and pixel blocks.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "SurfaceTestHelpers.h"

using namespace tessel;
using namespace tessel::testing;

TEST(SurfacePixelBlock, TwoByOneIsHeaderThenLeftThenRightPixel) {
    Surface surface(2, 1);
    surface.setPixel(0, 0, rgb(0x11, 0x22, 0x33));
    surface.setPixel(1, 0, rgb(0xA1, 0xB2, 0xC3));
    const QByteArray block = surface.pixelBlock();
    ASSERT_EQ(block.size(), 16);
    const QByteArray expected(
        "\x02\x00\x00\x00\x01\x00\x00\x00"
        "\x33\x22\x11\x00"
        "\xC3\xB2\xA1\x00",
        16);
    EXPECT_EQ(block, expected);
}

TEST(SurfacePixelBlock, RoundTripsRowsTopDownAndIgnoresTheReservedByte) {
    Surface source(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) source.setPixel(x, y, rgb(x * 40, y * 90, 7));
    QByteArray block = source.pixelBlock();
    EXPECT_EQ(block.size(), 8 + 4 * 6);
    for (int i = 8 + 3; i < block.size(); i += 4) block[i] = char(0x5A);
    Surface target = blankSurface(3, 2);
    ASSERT_TRUE(target.setPixelBlock(block));
    EXPECT_EQ(target.image(), source.image());
    EXPECT_EQ(target.pixel(2, 1), rgb(80, 90, 7));
}

TEST(SurfacePixelBlock, MismatchedBlocksAreRefusedAndChangeNothing) {
    Surface surface = blankSurface(3, 2, kGreen);
    const QImage before = surface.image().copy();
    const QByteArray good = Surface(3, 2).pixelBlock();
    EXPECT_FALSE(surface.setPixelBlock(Surface(2, 3).pixelBlock()));  // same length, other shape
    EXPECT_FALSE(surface.setPixelBlock(good.left(good.size() - 1)));  // truncated
    EXPECT_FALSE(surface.setPixelBlock(good + QByteArray(4, '\0')));  // too long
    EXPECT_FALSE(surface.setPixelBlock(good.left(5)));                // not even a header
    QByteArray negative = good;
    negative[3] = char(0x80);  // a negative width
    EXPECT_FALSE(surface.setPixelBlock(negative));
    EXPECT_EQ(surface.image(), before);
    EXPECT_TRUE(surface.setPixelBlock(good));
}

TEST(SurfaceCopies, OneToOneCopyIsClippedOnBothSides) {
    Surface source(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) source.setPixel(x, y, rgb(x, y, 100));
    Surface target = blankSurface(5, 5);
    // Part of the source rectangle lies left of and above the source.
    target.copyFrom(source, QRect(-1, -1, 3, 3), QPoint(1, 1));
    EXPECT_EQ(target.pixel(1, 1), kWhite);
    EXPECT_EQ(target.pixel(2, 2), rgb(0, 0, 100));
    EXPECT_EQ(target.pixel(3, 3), rgb(1, 1, 100));
    EXPECT_EQ(countPixels(target, kWhite, target.image().rect()), 25 - 4);
    // Part of the destination lies beyond the target.
    target.copyFrom(source, QRect(0, 0, 4, 4), QPoint(3, -2));
    EXPECT_EQ(target.pixel(3, 0), rgb(0, 2, 100));
    EXPECT_EQ(target.pixel(4, 1), rgb(1, 3, 100));
}

TEST(SurfaceCopies, OverlappingCopyOntoItselfUsesTheOriginalPixels) {
    Surface surface(6, 1);
    for (int x = 0; x < 6; ++x) surface.setPixel(x, 0, rgb(x * 10, 0, 0));
    surface.copyFrom(surface, QRect(0, 0, 4, 1), QPoint(2, 0));
    for (int x = 2; x < 6; ++x) EXPECT_EQ(surface.pixel(x, 0), rgb((x - 2) * 10, 0, 0));
}

TEST(SurfaceCopies, StretchScalesIntoTheTargetRectangleOnly) {
    Surface source = blankSurface(2, 2, kBlue);
    source.setPixel(1, 1, kRed);
    Surface target = blankSurface(20, 20);
    target.stretchFrom(source, QRect(0, 0, 1, 1), QRect(4, 6, 10, 8));
    EXPECT_EQ(boundsOfPixelsOtherThan(target, kWhite), QRect(4, 6, 10, 8));
    EXPECT_EQ(countPixels(target, kBlue, QRect(4, 6, 10, 8)), 80);
    // The whole source, enlarged: its corners keep their colours.
    target.stretchFrom(source, QRect(0, 0, 2, 2), QRect(0, 0, 20, 20));
    EXPECT_EQ(target.pixel(0, 0), kBlue);
    EXPECT_EQ(target.pixel(19, 19), kRed);
}

TEST(SurfacePictures, TransparencyShowsWhatLiesBeneath) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(0, 0, 255, 0));
    Surface surface = blankSurface(10, 4, kGreen);
    surface.drawPicture(picture, QRect(1, 1, 2, 1));
    EXPECT_EQ(surface.pixel(1, 1), kRed);
    EXPECT_EQ(surface.pixel(2, 1), kGreen);
    EXPECT_EQ(boundsOfPixelsOtherThan(surface, kGreen), QRect(1, 1, 1, 1));

    QImage half(1, 1, QImage::Format_ARGB32);
    half.fill(qRgba(0, 0, 0, 128));
    surface = blankSurface(4, 4, kWhite);
    surface.drawPicture(half, QRect(0, 0, 4, 4));
    const int grey = redOf(surface.pixel(2, 2));
    EXPECT_GT(grey, 100);
    EXPECT_LT(grey, 155);
    EXPECT_EQ(boundsOfPixelsOtherThan(surface, surface.pixel(2, 2)), QRect());
}
