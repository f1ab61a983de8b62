#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "app/GreyScale.h"

namespace tessel {
namespace {

TEST(GreyScale, WorkedValues) {
    EXPECT_EQ(greyOf(255, 255, 255), 255);
    EXPECT_EQ(greyOf(255, 0, 0), 77);
    EXPECT_EQ(greyOf(0, 255, 0), 150);
    EXPECT_EQ(greyOf(0, 0, 255), 28);
    EXPECT_EQ(greyOf(0, 0, 0), 0);
    EXPECT_EQ(greyOf(128, 128, 128), 128);
    // Single-precision weights: 0.3f * 15 = 4.50000018 gives 5, where an exact 4.5 would go to
    // the even 4.
    EXPECT_EQ(greyOf(15, 0, 0), 5);
    // 0.59f * 50 = 29.4999988 rounds down, where 0.59 * 50 would be the tie 29.5 -> 30.
    EXPECT_EQ(greyOf(0, 50, 0), 29);
}

// The weights add up to just under 1 and each step rounds, so a grey comes back as itself or
// as a neighbour: 128 and 255 stay, 250 becomes 249 and 252 becomes 253.
TEST(GreyScale, GreysStayOrMoveByOne) {
    int unchanged = 0;
    for (int v = 0; v < 256; ++v) {
        EXPECT_LE(std::abs(greyOf(v, v, v) - v), 1) << v;
        unchanged += greyOf(v, v, v) == v;
    }
    EXPECT_GT(unchanged, 128);
    EXPECT_EQ(greyOf(250, 250, 250), 249);
    EXPECT_EQ(greyOf(252, 252, 252), 253);
}

TEST(GreyScale, PassTurnsAreasIntoTheirGreyAndKeepsTheSize) {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    picture.setPixel(3, 2, qRgb(0, 0, 255));
    picture.setPixel(0, 0, qRgb(128, 128, 128));
    toGreyScale(picture);
    EXPECT_EQ(picture.size(), QSize(4, 3));
    EXPECT_EQ(picture.pixel(1, 1), qRgb(77, 77, 77));
    EXPECT_EQ(picture.pixel(3, 2), qRgb(28, 28, 28));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(128, 128, 128));

    QImage empty;
    toGreyScale(empty);
    EXPECT_TRUE(empty.isNull());
}

// How many pixels of the picture (taken from the colours) differ from the formula's grey with
// the reserved byte kept; the first few are reported.
int mismatchesWithFormula(const QImage& colours, const QImage& greys) {
    int mismatches = 0;
    for (int y = 0; y < colours.height(); ++y) {
        const auto* before = reinterpret_cast<const quint32*>(colours.constScanLine(y));
        const auto* after = reinterpret_cast<const quint32*>(greys.constScanLine(y));
        for (int x = 0; x < colours.width(); ++x) {
            const quint32 c = before[x];
            const quint32 grey =
                quint32(greyOf(int(c >> 16) & 0xFF, int(c >> 8) & 0xFF, int(c & 0xFF)));
            const quint32 expected = (c & 0xFF000000u) | grey * 0x010101u;
            if (after[x] != expected && ++mismatches <= 5) {
                ADD_FAILURE() << "colour " << std::hex << c << " gave " << after[x] << " not "
                              << expected;
            }
        }
    }
    return mismatches;
}

// One 4096 x 4096 picture holds every colour once; both passes must agree with the formula on
// all of them.
TEST(GreyScale, PassesAgreeWithTheFormulaForEveryColour) {
    QImage colours(4096, 4096, QImage::Format_RGB32);
    ASSERT_FALSE(colours.isNull());
    for (int y = 0; y < 4096; ++y) {
        auto* row = reinterpret_cast<quint32*>(colours.scanLine(y));
        for (int x = 0; x < 4096; ++x) {
            row[x] = 0xFF000000u | quint32(y * 4096 + x);
        }
    }
    QImage greys = colours.copy();
    toGreyScale(greys);
    EXPECT_EQ(mismatchesWithFormula(colours, greys), 0);
    greys = colours.copy();
    toGreyScaleByTables(greys);
    EXPECT_EQ(mismatchesWithFormula(colours, greys), 0);
}

// Rows whose width is no multiple of eight end in pixels the wide pass leaves to the tables;
// the reserved byte of a picture with transparency stays as it was.
TEST(GreyScale, RowEndsAndTransparencyAreKept) {
    for (int width : {1, 7, 9, 13, 31}) {
        QImage colours(width, 5, QImage::Format_ARGB32);
        quint32 state = quint32(width);
        for (int y = 0; y < colours.height(); ++y) {
            auto* row = reinterpret_cast<quint32*>(colours.scanLine(y));
            for (int x = 0; x < width; ++x) {
                state = state * 1664525u + 1013904223u;
                row[x] = state;
            }
        }
        QImage greys = colours.copy();
        toGreyScale(greys);
        EXPECT_EQ(greys.format(), QImage::Format_ARGB32);
        EXPECT_EQ(mismatchesWithFormula(colours, greys), 0) << "width " << width;
    }
}

}  // namespace
}  // namespace tessel
