// Text: where ink lands, the background cell, rotation, and the move to the next line.

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "SurfaceTestHelpers.h"

using namespace tessel;
using namespace tessel::testing;

namespace {

ResolvedFont sansFont(int pixels, int escapement = 0) {
    ResolvedFont font;
    font.font = QFont(QStringLiteral("Liberation Sans"));
    font.font.setPixelSize(pixels);
    font.escapement = escapement;
    return font;
}

Surface textSurface(int width, int height) {
    Surface surface = blankSurface(width, height);
    surface.selectFont(sansFont(24));
    surface.setForeground(0x000000);
    return surface;
}

const QString kSample = QStringLiteral("Hola Año");

}  // namespace

TEST(SurfaceText, MeasuresTheCellOfTheSelectedFont) {
    Surface surface = textSurface(10, 10);
    const QSize size = surface.measure(kSample);
    EXPECT_EQ(size.height(), surface.charHeight());
    EXPECT_GT(size.width(), 4 * surface.averageCharWidth());
    EXPECT_GT(surface.averageCharWidth(), 0);
    EXPECT_EQ(surface.measure(QString()).width(), 0);
    surface.selectFont(sansFont(48));
    EXPECT_GT(surface.measure(kSample).width(), size.width() * 3 / 2);
    EXPECT_GT(surface.charHeight(), size.height() * 3 / 2);
}

TEST(SurfaceText, TransparentPrintPutsInkOnlyInsideTheMeasuredCell) {
    Surface surface = textSurface(300, 80);
    surface.setBackground(kTransparent);
    surface.moveTo(20, 15);
    surface.print(kSample);
    const QRect cell(QPoint(20, 15), surface.measure(kSample));
    const QRect ink = boundsOfPixelsOtherThan(surface, kWhite);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(cell.contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    // The ink spans most of the cell: the text really was drawn where it was measured.
    EXPECT_GT(ink.width(), cell.width() * 3 / 4);
    EXPECT_GT(ink.height(), cell.height() / 2);
}

TEST(SurfaceText, AntialiasingIsGreyScaleOnly) {
    Surface surface = textSurface(300, 80);
    surface.setBackground(kTransparent);
    surface.moveTo(5, 5);
    surface.print(kSample);
    int partial = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            const Colour c = surface.pixel(x, y);
            ASSERT_TRUE(redOf(c) == greenOf(c) && greenOf(c) == blueOf(c)) << x << "," << y;
            if (redOf(c) != 0 && redOf(c) != 255) ++partial;
        }
    EXPECT_GT(partial, 0);  // glyph edges are smoothed
}

TEST(SurfaceText, OpaqueBackgroundFillsExactlyTheCell) {
    Surface surface = textSurface(300, 80);
    surface.setBackground(kRed);
    surface.moveTo(20, 15);
    surface.print(kSample);
    const QRect cell(QPoint(20, 15), surface.measure(kSample));
    EXPECT_EQ(boundsOfPixelsOtherThan(surface, kWhite), cell);
    EXPECT_EQ(countPixels(surface, kWhite, cell), 0);
    EXPECT_GT(countPixels(surface, kRed, cell), cell.width() * cell.height() / 2);
    EXPECT_GT(countPixels(surface, 0x000000, cell), 0);
}

TEST(SurfaceText, PrintMovesDownByHeightAndLeading) {
    Surface surface = textSurface(200, 200);
    surface.moveTo(7, 11);
    surface.print(QStringLiteral("uno"));
    QFontMetrics metrics(sansFont(24).font);
    const int step = metrics.ascent() + metrics.descent() + std::max(0, metrics.leading());
    EXPECT_EQ(surface.position(), QPoint(7, 11 + step));
    surface.clearDirty();
    const std::uint64_t writes = surface.writes();
    surface.print(QString());  // an empty line moves too, and writes nothing
    EXPECT_EQ(surface.position(), QPoint(7, 11 + 2 * step));
    EXPECT_TRUE(surface.dirtyRect().isEmpty());
    EXPECT_EQ(surface.writes(), writes);
    // Lines printed one after another do not overlap.
    Surface lines = textSurface(200, 200);
    lines.setBackground(kTransparent);
    lines.moveTo(0, 0);
    lines.print(QStringLiteral("gjpq"));
    const int firstBottom = boundsOfPixelsOtherThan(lines, kWhite).bottom();
    lines.print(QStringLiteral("ÁÉÍ"));
    EXPECT_LT(firstBottom, step);
    EXPECT_GT(boundsOfPixelsOtherThan(lines, kWhite).bottom(), step);
}

TEST(SurfaceText, EscapementTurnsTheTextCounterClockwiseAroundItsCorner) {
    Surface surface = blankSurface(120, 260);
    surface.selectFont(sansFont(24, 900));
    surface.setForeground(0x000000);
    surface.setBackground(kTransparent);
    surface.moveTo(40, 220);
    surface.print(kSample);
    const QSize size = surface.measure(kSample);
    // Turned by 90 degrees the text rises from the reference point and its cell lies to the
    // right of the vertical line through it.
    const QRect ink = boundsOfPixelsOtherThan(surface, kWhite);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(40, 220 - size.width(), size.height() + 1, size.width() + 1).contains(ink));
    EXPECT_GT(ink.height(), size.width() * 3 / 4);
    EXPECT_LE(ink.width(), size.height());
}
