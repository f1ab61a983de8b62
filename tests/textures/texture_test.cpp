// Making textures: the same number gives the same pixels, different numbers differ, every
// texture has visible structure, and the default paper is light and calm.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QSet>
#include <cmath>

#include "textures/Recipe.h"
#include "textures/Textures.h"

namespace tessel::textures {
namespace {

QByteArray digest(const QImage& image) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)),
                                    qsizetype(image.width()) * 4));
    return hash.result();
}

// The table's recipe at a small size: the same generators and palettes, quick to make.
QImage smallTexture(int number) {
    Recipe recipe = *builtinRecipe(number);
    recipe.size = QSize(192, 144);
    return renderRecipe(recipe);
}

struct Lightness {
    double mean = 0;
    double deviation = 0;
};

Lightness lightnessOf(const QImage& image) {
    double sum = 0, squares = 0;
    const double count = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double l = 0.299 * qRed(row[x]) + 0.587 * qGreen(row[x]) + 0.114 * qBlue(row[x]);
            sum += l;
            squares += l * l;
        }
    }
    const double mean = sum / count;
    return {mean, std::sqrt(std::max(0.0, squares / count - mean * mean))};
}

TEST(TextureTest, FullTextureHasItsTableSizeAndIsTheSameEachTime) {
    const QImage first = makeTexture(24);
    const QImage second = makeTexture(24);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), textureSize(24));
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    EXPECT_EQ(digest(first), digest(second));
}

TEST(TextureTest, NumbersOutsideTheTableGiveNothing) {
    EXPECT_TRUE(makeTexture(0).isNull());
    EXPECT_TRUE(makeTexture(101).isNull());
    EXPECT_TRUE(makeTexture(-24).isNull());
}

TEST(TextureTest, EveryRecipeIsRepeatableDistinctAndNotFlat) {
    QSet<QByteArray> seen;
    for (int n = 1; n <= kTextureCount; ++n) {
        const QImage picture = smallTexture(n);
        ASSERT_EQ(picture.size(), QSize(192, 144)) << n;
        const QByteArray hash = digest(picture);
        EXPECT_EQ(hash, digest(smallTexture(n))) << "texture " << n << " changed between runs";
        EXPECT_FALSE(seen.contains(hash)) << "texture " << n << " repeats an earlier one";
        seen.insert(hash);
        EXPECT_GT(lightnessOf(picture).deviation, 1.0) << "texture " << n << " is flat";
    }
}

TEST(TextureTest, TheDefaultPaperIsLightAndCalm) {
    const Lightness paper = lightnessOf(makeTexture(24));
    EXPECT_GT(paper.mean, 220.0);
    EXPECT_LT(paper.deviation, 8.0);
    EXPECT_GT(paper.deviation, 0.5);
}

TEST(TextureTest, ThePaletteColoursTheValueRange) {
    // A gradient along x from pure black to pure white, without cloudiness: the left edge is
    // black, the right edge white, and the middle column grey (dither is at most one step).
    Recipe recipe =
        *parseRecipe(QStringLiteral("1 gradient 1024x680 dx=1 dy=0 cloud=0 palette=000000,ffffff"));
    const QImage picture = renderRecipe(recipe);
    ASSERT_FALSE(picture.isNull());
    EXPECT_LE(qGreen(picture.pixel(0, 300)), 1);
    EXPECT_GE(qGreen(picture.pixel(1023, 300)), 254);
    EXPECT_NEAR(qGreen(picture.pixel(512, 300)), 128, 2);
}

TEST(TextureTest, GradientsShowNoBands) {
    // A long, gentle gradient spans fewer levels than pixels; dithering mixes neighbouring
    // levels so no column is one flat colour across the whole picture.
    Recipe recipe =
        *parseRecipe(QStringLiteral("1 gradient 1024x680 dx=1 dy=0 cloud=0 palette=405060,486070"));
    const QImage picture = renderRecipe(recipe);
    int flatColumns = 0;
    for (int x = 0; x < picture.width(); ++x) {
        bool flat = true;
        for (int y = 1; y < picture.height() && flat; ++y)
            flat = picture.pixel(x, y) == picture.pixel(x, 0);
        flatColumns += flat;
    }
    EXPECT_EQ(flatColumns, 0);
}

}  // namespace
}  // namespace tessel::textures
