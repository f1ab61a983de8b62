// The two ways a row is filled (eight lanes of AVX2 at a time, or one value at a time) make the
// same pixels, bit for bit, for every texture of the table.

#include <gtest/gtest.h>

#include <QSet>
#include <vector>

#include "textures/Recipe.h"
#include "textures/Rows.h"
#include "textures/Textures.h"

namespace tessel::textures {
namespace {

// Restores the processor's own choice when the test ends, whatever happens.
struct PlainRowsWhileAlive {
    PlainRowsWhileAlive() { setWideVectors(false); }
    ~PlainRowsWhileAlive() { setWideVectors(true); }
};

QImage render(const Recipe& recipe, bool wide) {
    if (wide) return renderRecipe(recipe);
    const PlainRowsWhileAlive plain;
    EXPECT_FALSE(wideVectors());
    return renderRecipe(recipe);
}

TEST(TextureRows, VectorAndPlainRowsMakeTheSamePixels) {
    if (!wideVectors()) GTEST_SKIP() << "this processor has no AVX2: only the plain rows run";
    QSet<QString> wholeDone;
    for (int number = 1; number <= kTextureCount; ++number) {
        Recipe recipe = *builtinRecipe(number);
        // A corner of every texture, and one whole texture of every family at half size, so
        // that the edges and the far side of the sampled grids are compared too.
        recipe.extent = QSize(160, 120);
        if (!wholeDone.contains(recipe.family)) {
            wholeDone.insert(recipe.family);
            recipe.extent = QSize();
            recipe.size = QSize(recipe.size.width() / 2, recipe.size.height() / 2);
        }
        const QImage wide = render(recipe, true);
        const QImage plain = render(recipe, false);
        ASSERT_FALSE(wide.isNull()) << number;
        ASSERT_EQ(wide.size(), plain.size()) << number;
        for (int y = 0; y < wide.height(); ++y)
            for (int x = 0; x < wide.width(); ++x)
                ASSERT_EQ(wide.pixel(x, y), plain.pixel(x, y))
                    << "texture " << number << " (" << recipe.family.toStdString() << ") at "
                    << x << "," << y;
    }
    EXPECT_TRUE(wideVectors());
}

TEST(TextureRows, FillRowGivesEveryStepthPixelCentre) {
    // The same row, through whichever path the processor takes and through the plain one.
    const auto f = [](float x, float y) TESSEL_ROW_INLINE { return 3.0f * x - y; };
    for (const bool wide : {true, false}) {
        std::vector<float> out(37, -1.0f);
        {
            const PlainRowsWhileAlive plain;
            if (wide) setWideVectors(true);
            fillRow(out.data(), 35, 3, 2.5f, f);
        }
        for (int i = 0; i < 35; ++i) ASSERT_EQ(out[std::size_t(i)], 3.0f * (i * 3 + 0.5f) - 2.5f);
        EXPECT_EQ(out[35], -1.0f);  // nothing beyond count
    }
}

}  // namespace
}  // namespace tessel::textures
