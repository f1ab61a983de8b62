// Making only the top-left corner of a texture: the same pixels as that corner of the whole
// texture, for every family, at sizes that meet the sampling grids in different ways.

#include <gtest/gtest.h>

#include <QSet>

#include "textures/Generators.h"
#include "textures/Grid.h"
#include "textures/Recipe.h"
#include "textures/Textures.h"

namespace tessel::textures {
namespace {

// The first position of a pixel where the two pictures differ, or "" when they are equal.
std::string firstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return "";
}

QImage cornerOf(const QImage& whole, QSize extent) {
    return whole.copy(QRect(QPoint(0, 0), extent));
}

TEST(TextureCorner, GridSamplesMadeForACornerAreThoseOfTheWholeGrid) {
    auto f = [](float x, float y) { return x * 0.37f - y * y * 0.01f + 1.0f; };
    for (const QSize step : {QSize(1, 4), QSize(3, 3), QSize(8, 2), QSize(16, 16)}) {
        const Grid whole(301, 207, step.width(), step.height(), f, 301, 207);
        for (const QSize needed : {QSize(1, 1), QSize(50, 31), QSize(48, 32), QSize(300, 206)}) {
            const Grid corner(301, 207, step.width(), step.height(), f, needed.width(),
                              needed.height());
            for (int y = 0; y < needed.height(); ++y)
                for (int x = 0; x < needed.width(); ++x)
                    ASSERT_EQ(corner.at(x + 0.5f, y + 0.5f), whole.at(x + 0.5f, y + 0.5f))
                        << x << "," << y << " step " << step.width() << "x" << step.height();
        }
    }
}

// One texture of every family, made small so that the test stays quick: the corners of
// the selector's size and of odd sizes are the whole picture's corner, pixel for pixel.
TEST(TextureCorner, EveryFamilyGivesTheCornerOfItsWholePicture) {
    QSet<QString> families;
    for (int number = 1; number <= kTextureCount; ++number) {
        Recipe recipe = *builtinRecipe(number);
        if (families.contains(recipe.family)) continue;
        families.insert(recipe.family);
        recipe.size = QSize(recipe.size.width() / 2, recipe.size.height() / 2);
        const QImage whole = renderRecipe(recipe);
        ASSERT_FALSE(whole.isNull()) << number;
        for (const QSize extent : {QSize(495, 398), QSize(1, 1), QSize(33, 17),
                                   QSize(recipe.size.width() - 1, 5),
                                   QSize(7, recipe.size.height())}) {
            Recipe corner = recipe;
            corner.extent = extent;
            const QImage made = renderRecipe(corner);
            ASSERT_EQ(made.size(), extent) << number;
            ASSERT_EQ(firstDifference(made, cornerOf(whole, extent)), "")
                << "texture " << number << " (" << recipe.family.toStdString() << ") corner "
                << extent.width() << "x" << extent.height();
        }
    }
    EXPECT_EQ(families.size(), knownFamilies().size());
}

TEST(TextureCorner, TheTablesTexturesAtFullSizeAndAnExtentBeyondThePicture) {
    for (const int number : {24, 49, 97}) {
        const QImage whole = makeTexture(number);
        const QSize selector(495, 398);
        EXPECT_EQ(firstDifference(makeTextureCorner(number, selector), cornerOf(whole, selector)),
                  "")
            << number;
        // An extent larger than the texture gives the whole texture.
        EXPECT_EQ(firstDifference(makeTextureCorner(number, QSize(5000, 5000)), whole), "")
            << number;
    }
    EXPECT_TRUE(makeTextureCorner(0, QSize(10, 10)).isNull());
    EXPECT_TRUE(makeTextureCorner(24, QSize()).isNull());
}

}  // namespace
}  // namespace tessel::textures
