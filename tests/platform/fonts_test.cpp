// Fonts: face substitution, points to pixels at 96 DPI, the style word and the "Leading" rule.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "platform/Fonts.h"

namespace tessel::platform {
namespace {

int cellHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

TEST(Fonts, WindowsFacesMapToInstalledOnes) {
    EXPECT_EQ(substituteFace(QStringLiteral("Times New Roman")), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(substituteFace(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFace(QStringLiteral("MS Sans Serif")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(substituteFace(QStringLiteral("Courier New")), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(substituteFace(QStringLiteral("tahoma")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(substituteFace(QStringLiteral("DejaVu Serif")), QStringLiteral("DejaVu Serif"));
    // The substitutes are really installed.
    const ResolvedFont serif = resolveFont({QStringLiteral("Times New Roman"), 12, 0, 0, 0});
    EXPECT_EQ(QFontInfo(serif.font).family(), QStringLiteral("Liberation Serif"));
}

TEST(Fonts, PointsBecomePixelsAtTheScreenResolution) {
    EXPECT_EQ(logicalDpiY(), 96);
    EXPECT_EQ(resolveFont({QStringLiteral("Arial"), 10, 0, 0, 0}).font.pixelSize(), 13);
    EXPECT_EQ(resolveFont({QStringLiteral("Arial"), 12, 0, 0, 0}).font.pixelSize(), 16);
    EXPECT_EQ(resolveFont({QStringLiteral("Arial"), 0, 0, 0, 0}).font.pixelSize(), 11);  // 8 pt
    // Dialog fonts use integer arithmetic: 10 points are 13 pixels, 8 points 10.
    EXPECT_EQ(dialogFont(10).pixelSize(), 13);
    EXPECT_EQ(dialogFont(8).pixelSize(), 10);
    EXPECT_TRUE(dialogFont(8).bold());
    EXPECT_TRUE(dialogFont(8, true).underline());
}

TEST(Fonts, StyleWordSetsWeightSlantAndLines) {
    const QFont plain = resolveFont({QStringLiteral("Arial"), 20, 0, 0, 0}).font;
    EXPECT_FALSE(plain.bold() || plain.italic() || plain.underline() || plain.strikeOut());
    const QFont all =
        resolveFont({QStringLiteral("Arial"), 20, kStyleBold | kStyleItalic | kStyleUnderline |
                                                   kStyleStrikeOut, 0, 0})
            .font;
    EXPECT_EQ(all.weight(), QFont::Bold);
    EXPECT_TRUE(all.italic());
    EXPECT_TRUE(all.underline());
    EXPECT_TRUE(all.strikeOut());
    EXPECT_EQ(resolveFont({QStringLiteral("Arial"), 20, 0, 0, 450}).escapement, 450);
}

TEST(Fonts, LeadingMakesTheWholeCellThePointSize) {
    const QFont em = resolveFont({QStringLiteral("Times New Roman"), 20, 0, 0, 0}).font;
    const QFont cell = resolveFont({QStringLiteral("Times New Roman"), 20, kStyleLeading, 0, 0}).font;
    EXPECT_EQ(em.pixelSize(), 27);
    EXPECT_GT(cellHeight(em), 27);
    // The largest em whose cell fits 27 pixels: one pixel more would overflow it.
    EXPECT_LE(cellHeight(cell), 27);
    QFont larger = cell;
    larger.setPixelSize(cell.pixelSize() + 1);
    EXPECT_GT(cellHeight(larger), 27);
    EXPECT_LT(cell.pixelSize(), em.pixelSize());
}

TEST(Fonts, LongFaceNamesAreCutToThirtyOneCharacters) {
    const QString longName = QStringLiteral("A Face Name That Is Much Longer Than Allowed");
    EXPECT_EQ(resolveFont({longName, 10, 0, 0, 0}).font.family(), longName.left(31));
}

}  // namespace
}  // namespace tessel::platform
