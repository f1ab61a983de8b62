// The ten bubble shapes and the shadow, judged pixel by pixel on white surfaces.

#include <gtest/gtest.h>

#include <QRect>
#include <utility>
#include <vector>

#include "surface/Surface.h"
#include "text/BubbleShapes.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kFill = rgb(250, 250, 156);

QString key(int index) {
    return QString(QChar::fromLatin1(kBubbleGlyphs[index]));
}

// The bounding box of every pixel that is not white.
QRect inkBox(const Surface& s) {
    QRect box;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

int count(const Surface& s, Colour colour) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == colour;
    return n;
}

Surface white(int width = 800, int height = 450) {
    Surface s(width, height);
    s.clear(kWhite);
    return s;
}

// A P-point em at 96 DPI is P * 96 / 72 pixels, rounded to the nearest.
int emPixels(int points) {
    return int(std::lrint(points * 96.0L / 72.0L));
}

TEST(BubbleShapes, EachShapeIsAsHighAsItsEmWithItsTopLeftAtThePoint) {
    ASSERT_EQ(emPixels(200), 267);
    for (int i = 0; i < 10; ++i) {
        Surface s = white();
        drawBubbleGlyph(s, kFill, key(i), 200, 30, 40);
        const QRect box = inkBox(s);
        SCOPED_TRACE(key(i).toStdString());
        EXPECT_EQ(box.top(), 40);
        EXPECT_EQ(box.left(), 30);
        EXPECT_GE(box.height(), 266);
        EXPECT_LE(box.height(), 267);
        // A solid region: most of the box is the fill colour itself.
        EXPECT_GT(count(s, kFill), box.width() * box.height() * 35 / 100);
        // Wide enough to read as a bubble, not wider than twice its height.
        EXPECT_GE(box.width(), box.height());
        EXPECT_LE(box.width(), 2 * box.height());
    }
}

TEST(BubbleShapes, HeightFollowsThePointsAcrossTheSizeRange) {
    for (int points : {6, 37, 450}) {
        Surface s = white(1500, 700);
        drawBubbleGlyph(s, kFill, QStringLiteral("["), points, 5, 5);
        const QRect box = inkBox(s);
        EXPECT_GE(box.height(), emPixels(points) - 1) << points;
        EXPECT_LE(box.height(), emPixels(points)) << points;
    }
}

TEST(BubbleShapes, TheTenShapesAreClearlyDifferent) {
    std::vector<std::vector<bool>> masks;
    for (int i = 0; i < 10; ++i) {
        Surface s = white(500, 300);
        drawBubbleGlyph(s, kFill, key(i), 150, 0, 0);
        std::vector<bool> mask;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) mask.push_back(s.pixel(x, y) != kWhite);
        masks.push_back(mask);
    }
    for (int a = 0; a < 10; ++a) {
        for (int b = a + 1; b < 10; ++b) {
            int differ = 0, either = 0;
            for (size_t p = 0; p < masks[a].size(); ++p) {
                differ += masks[a][p] != masks[b][p];
                either += masks[a][p] || masks[b][p];
            }
            EXPECT_GT(differ * 100, either * 4)
                << key(a).toStdString() << " vs " << key(b).toStdString();
        }
    }
}

TEST(BubbleShapes, ShadowLiesRightOfAndBelowTheBubbleOnly) {
    BubbleSettings settings;
    settings.glyph = QStringLiteral(")");
    const int x = 50, y = 60;

    Surface plain = white();
    drawBubble(plain, x, y, settings);
    const QRect bubble = inkBox(plain);
    EXPECT_EQ(count(plain, 0x000000), 0) << "no shadow without the flag";

    settings.shadow = 1;
    for (int i = 0; i < 10; ++i) {
        settings.glyph = key(i);
        SCOPED_TRACE(settings.glyph.toStdString());
        Surface bubbleOnly = white();
        settings.shadow = 0;
        drawBubble(bubbleOnly, x, y, settings);
        const QRect own = inkBox(bubbleOnly);
        settings.shadow = 1;
        Surface shadowed = white();
        drawBubble(shadowed, x, y, settings);
        // The shadow is the shape 5 points larger: 205 points, 273 pixels high.
        const QRect all = inkBox(shadowed);
        EXPECT_EQ(all.topLeft(), QPoint(x, y));
        EXPECT_GE(all.height(), emPixels(205) - 1);
        EXPECT_LE(all.height(), emPixels(205));
        bool rightOf = false, below = false;
        for (int py = 0; py < shadowed.height(); ++py) {
            for (int px = 0; px < shadowed.width(); ++px) {
                if (shadowed.pixel(px, py) != 0x000000) continue;
                ASSERT_GE(px, x);
                ASSERT_GE(py, y);
                rightOf |= px > own.right();
                below |= py > own.bottom();
            }
        }
        EXPECT_TRUE(rightOf);
        EXPECT_TRUE(below);
        // The bubble itself is drawn over the shadow.
        EXPECT_GT(count(shadowed, settings.colour), count(bubbleOnly, settings.colour) * 9 / 10);
    }
    EXPECT_EQ(bubble.topLeft(), QPoint(x, y));
}

TEST(BubbleShapes, OnlyTheBubblesBoxCountsAsChanged) {
    // Every shape, with and without its shadow, inside the surface and hanging over its edges,
    // on a surface of many colours so that any written pixel shows.
    QImage noisy(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, (x * y) & 255));
    const QPoint places[] = {{60, 40}, {-50, -30}, {330, 250}};
    for (int i = 0; i < 10; ++i) {
        for (const QPoint at : places) {
            for (const bool shadow : {false, true}) {
                Surface s(noisy);
                s.clearDirty();
                BubbleSettings settings;
                settings.glyph = key(i);
                settings.size = 60;
                settings.shadow = shadow;
                drawBubble(s, at.x(), at.y(), settings);
                QRect changed;
                const QImage& after = std::as_const(s).image();
                for (int y = 0; y < s.height(); ++y)
                    for (int x = 0; x < s.width(); ++x)
                        if (after.pixel(x, y) != noisy.pixel(x, y)) changed |= QRect(x, y, 1, 1);
                SCOPED_TRACE(key(i).toStdString() + (shadow ? " with shadow" : ""));
                ASSERT_FALSE(changed.isEmpty());
                const QRect dirty = s.dirtyRect();
                EXPECT_TRUE(dirty.contains(changed));
                // The box starts at the point and is one em high (the shadow's em when there
                // is one), clipped to the surface.
                const int em = emPixels(shadow ? 65 : 60);
                const QRect tall = QRect(at.x(), at.y(), 10000, em + 1) & after.rect();
                EXPECT_TRUE(tall.contains(dirty));
                EXPECT_LT(dirty.width() * dirty.height(), s.width() * s.height() / 2);
            }
        }
    }
}

}  // namespace
}  // namespace tessel
