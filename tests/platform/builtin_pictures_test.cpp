// The provider of built-in pictures: resource names, textures by name, the pieces picture and
// the window icon.

#include <gtest/gtest.h>

#include <QIcon>

#include "platform/BuiltinPictures.h"

namespace tessel::platform {
namespace {

TEST(BuiltinPicturesTest, TexturesAreNamedByTheirResourceNumber) {
    EXPECT_EQ(textureResourceName(1), QStringLiteral("#701"));
    EXPECT_EQ(textureResourceName(24), QStringLiteral("#724"));
    EXPECT_EQ(textureResourceName(100), QStringLiteral("#800"));
    const QImage byName = builtinPicture(QStringLiteral("#724"));
    ASSERT_FALSE(byName.isNull());
    EXPECT_EQ(byName, texturePicture(24));
    EXPECT_EQ(byName.format(), QImage::Format_RGB32);
}

// The selector's corner, made alone, kept, or cut from the whole texture: always the same pixels.
TEST(BuiltinPicturesTest, TextureCornersAreTheCornersOfTheWholeTextures) {
    const QSize selector(495, 398);
    const QImage alone = textureCorner(61, selector);  // nothing of texture 61 made yet
    const QImage kept = textureCorner(61, selector);
    const QImage whole = texturePicture(61);
    ASSERT_EQ(whole.size(), textureSize(61));
    const QImage expected = whole.copy(QRect(QPoint(0, 0), selector));
    EXPECT_EQ(alone, expected);
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(textureCorner(61, selector), expected);  // now cut from the whole one
    // Another extent, and one beyond the texture, which gives the whole texture.
    EXPECT_EQ(textureCorner(62, QSize(40, 30)), texturePicture(62).copy(0, 0, 40, 30));
    EXPECT_EQ(textureCorner(62, QSize(4000, 3000)), texturePicture(62));
    EXPECT_TRUE(textureCorner(0, selector).isNull());
    EXPECT_TRUE(textureCorner(101, selector).isNull());
    EXPECT_TRUE(textureSize(101).isEmpty());
}

TEST(BuiltinPicturesTest, NamesTheProgramDoesNotCarryGiveNothing) {
    for (const char* name : {"#700", "#801", "#104", "724", "#", "#7a4", " #724", "#00724x"})
        EXPECT_TRUE(builtinPicture(QString::fromLatin1(name)).isNull()) << name;
    EXPECT_TRUE(texturePicture(0).isNull());
    EXPECT_TRUE(texturePicture(101).isNull());
}

TEST(BuiltinPicturesTest, PiecesPictureIsABlackCrossOnWhiteWithALetterInEachQuarter) {
    const QImage pieces = builtinPicture(QStringLiteral("#103"));
    ASSERT_EQ(pieces.size(), QSize(330, 300));
    EXPECT_EQ(pieces, piecesPicture());
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    EXPECT_EQ(pieces.pixel(165, 5), black);  // the vertical bar
    EXPECT_EQ(pieces.pixel(165, 295), black);
    EXPECT_EQ(pieces.pixel(5, 150), black);  // the horizontal bar
    EXPECT_EQ(pieces.pixel(325, 150), black);
    EXPECT_EQ(pieces.pixel(2, 2), white);  // the corners are paper
    EXPECT_EQ(pieces.pixel(327, 297), white);
    // Each quarter holds ink (its letter) well away from the cross, around its middle.
    const QRect quarters[4] = {
        {20, 20, 120, 110}, {185, 20, 120, 110}, {20, 170, 120, 110}, {185, 170, 120, 110}};
    for (const QRect& quarter : quarters) {
        int ink = 0;
        for (int y = quarter.top(); y <= quarter.bottom(); ++y)
            for (int x = quarter.left(); x <= quarter.right(); ++x)
                ink += qGray(pieces.pixel(x, y)) < 128;
        EXPECT_GT(ink, 100) << quarter.x() << "," << quarter.y();
    }
}

TEST(BuiltinPicturesTest, WindowIconComesInEveryUsualSize) {
    const QIcon icon = windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_FALSE(builtinPicture(QStringLiteral("#200")).isNull());
}

}  // namespace
}  // namespace tessel::platform
