// The recipe table: reading a line, refusing bad ones, and the program's own table of 100.

#include <gtest/gtest.h>

#include <QSet>
#include <map>

#include "textures/Generators.h"
#include "textures/Recipe.h"
#include "textures/Textures.h"

namespace tessel::textures {
namespace {

TEST(RecipeTest, ReadsALineWithPlacesValuesAndSeed) {
    QString error;
    const auto recipe =
        parseRecipe(QStringLiteral("007  brick 1200x800 seed=99 width=110 relief=1.5 "
                                   "palette=101010,c05a3c@0.35,ffffff"),
                    &error);
    ASSERT_TRUE(recipe) << qPrintable(error);
    EXPECT_EQ(recipe->number, 7);
    EXPECT_EQ(recipe->family, QStringLiteral("brick"));
    EXPECT_EQ(recipe->size, QSize(1200, 800));
    EXPECT_EQ(recipe->seed, 99u);
    EXPECT_FLOAT_EQ(recipe->value(QStringLiteral("width"), 0.0f), 110.0f);
    EXPECT_FLOAT_EQ(recipe->value(QStringLiteral("missing"), 3.0f), 3.0f);
    ASSERT_EQ(recipe->palette.size(), 3);
    EXPECT_EQ(recipe->palette[1], qRgb(0xC0, 0x5A, 0x3C));
    EXPECT_FLOAT_EQ(recipe->stops[0], 0.0f);
    EXPECT_FLOAT_EQ(recipe->stops[1], 0.35f);
    EXPECT_FLOAT_EQ(recipe->stops[2], 1.0f);
}

TEST(RecipeTest, RefusesUnsoundLines) {
    const char* bad[] = {
        "101 wood 1333x1000 palette=000000,ffffff",          // number out of range
        "5 velvet 1333x1000 palette=000000,ffffff",          // unknown family
        "5 wood 1000x1000 palette=000000,ffffff",            // narrower than 1024
        "5 wood 1333x1001 palette=000000,ffffff",            // taller than 1000
        "5 wood 1333 palette=000000,ffffff",                 // no height
        "5 wood 1333x1000",                                  // no palette
        "5 wood 1333x1000 palette=000000",                   // one colour only
        "5 wood 1333x1000 palette=00000g,ffffff",            // not a colour
        "5 wood 1333x1000 palette=000000@0.6,ffffff@0.4",    // places falling
        "5 wood 1333x1000 seed=-4 palette=000000,ffffff",    // seed not a whole number
        "5 wood 1333x1000 scale palette=000000,ffffff",      // no value
        "5 wood 1333x1000 scale=big palette=000000,ffffff",  // not a number
    };
    for (const char* line : bad) {
        QString error;
        EXPECT_FALSE(parseRecipe(QString::fromLatin1(line), &error)) << line;
        EXPECT_FALSE(error.isEmpty()) << line;
    }
}

TEST(RecipeTest, TableSkipsCommentsAndReportsBadLines) {
    QStringList errors;
    const auto recipes = parseRecipeTable(QStringLiteral("# heading\n\n"
                                                         "1 wood 1333x1000 palette=000000,ffffff\n"
                                                         "2 wood 10x10 palette=000000,ffffff\n"),
                                          &errors);
    ASSERT_EQ(recipes.size(), 1u);
    EXPECT_EQ(recipes[0].number, 1);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("line 4"))) << qPrintable(errors[0]);
}

TEST(BuiltinTableTest, HoldsEveryNumberWithASoundRecipe) {
    for (int n = 1; n <= kTextureCount; ++n) {
        const Recipe* recipe = builtinRecipe(n);
        ASSERT_NE(recipe, nullptr) << "texture " << n;
        EXPECT_EQ(recipe->number, n);
        EXPECT_TRUE(knownFamilies().contains(recipe->family)) << "texture " << n;
    }
    EXPECT_EQ(builtinRecipe(0), nullptr);
    EXPECT_EQ(builtinRecipe(101), nullptr);
}

TEST(BuiltinTableTest, SizesStayWithinTheLimitsAndAboveThePreview) {
    std::map<std::pair<int, int>, int> sizes;
    for (int n = 1; n <= kTextureCount; ++n) {
        const QSize size = textureSize(n);
        EXPECT_GE(size.width(), 1024) << n;
        EXPECT_LE(size.width(), 1582) << n;
        EXPECT_GE(size.height(), 680) << n;
        EXPECT_LE(size.height(), 1000) << n;
        EXPECT_GT(size.width(), 495) << n;
        EXPECT_GT(size.height(), 398) << n;
        ++sizes[{size.width(), size.height()}];
    }
    const int usual =
        sizes[{1333, 1000}] + sizes[{1200, 799}] + sizes[{1200, 900}] + sizes[{1200, 800}];
    EXPECT_GT(usual, kTextureCount / 2);
    EXPECT_FALSE(textureSize(0).isValid());
}

TEST(BuiltinTableTest, ManyFamiliesEachInSeveralColourings) {
    std::map<QString, QSet<QList<QRgb>>> colourings;
    for (int n = 1; n <= kTextureCount; ++n)
        colourings[textureFamily(n)].insert(builtinRecipe(n)->palette);
    EXPECT_GE(colourings.size(), 20u);
    for (const auto& [family, palettes] : colourings)
        EXPECT_GE(palettes.size(), 2) << qPrintable(family);
    EXPECT_EQ(textureFamily(24), QStringLiteral("paper"));
}

}  // namespace
}  // namespace tessel::textures
