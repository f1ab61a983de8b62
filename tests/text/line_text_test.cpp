// Level, slanted, hollow and textured lines of text on a canvas.

#include <gtest/gtest.h>

#include <QImage>

#include "platform/Fonts.h"
#include "text/InkMask.h"
#include "text/LineText.h"

namespace tessel {
namespace {

constexpr Colour kGround = 0x00FF00;  // green
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;

Surface ground(int width, int height) {
    Surface canvas(width, height);
    canvas.clear(kGround);
    return canvas;
}

// The text cell of a line in a font: width and height in pixels.
QSize cellOf(const QString& text, const FontRequest& request) {
    Surface probe(1, 1);
    probe.selectFont(platform::resolveFont(request));
    return probe.measure(text);
}

QRect changedBox(const Surface& canvas, Colour ground) {
    QRect box;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != ground) box |= QRect(x, y, 1, 1);
    return box;
}

int count(const Surface& canvas, Colour colour) {
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) n += canvas.pixel(x, y) == colour;
    return n;
}

TEST(LevelText, OpaqueCellHasItsTopLeftAtTheInsertionPoint) {
    const QString text = QStringLiteral("Prueba");
    const QSize cell = cellOf(text, {QStringLiteral("Times New Roman"), 20, 0, 0, 0});
    Surface canvas = ground(400, 120);
    drawLevelText(canvas, 50, 20, kBlack, kWhite, text, QStringLiteral("Times New Roman"), 20, 0);
    EXPECT_EQ(changedBox(canvas, kGround), QRect(QPoint(50, 20), cell));
    // The cell's corners show the background, its middle holds ink.
    EXPECT_EQ(canvas.pixel(50, 20), kWhite);
    EXPECT_EQ(canvas.pixel(50 + cell.width() - 1, 20 + cell.height() - 1), kWhite);
    EXPECT_GT(count(canvas, kBlack), 20);
}

TEST(LevelText, TransparentBackgroundPaintsNoBox) {
    Surface canvas = ground(400, 120);
    drawLevelText(canvas, 50, 20, kRed, kTransparent, QStringLiteral("Prueba"),
                  QStringLiteral("Times New Roman"), 20, 0);
    EXPECT_EQ(count(canvas, kWhite), 0);
    EXPECT_GT(count(canvas, kRed), 20);
    EXPECT_EQ(canvas.pixel(50, 20), kGround);
}

TEST(LevelText, LineBreaksPrintAsBlanks) {
    EXPECT_EQ(singleLine(QStringLiteral("a\r\nb\nc\rd")), QStringLiteral("a b c d"));
    Surface broken = ground(400, 120), blank = ground(400, 120);
    drawLevelText(broken, 10, 10, kBlack, kWhite, QStringLiteral("uno\r\ndos"),
                  QStringLiteral("Arial"), 20, 0);
    drawLevelText(blank, 10, 10, kBlack, kWhite, QStringLiteral("uno dos"), QStringLiteral("Arial"),
                  20, 0);
    EXPECT_EQ(broken.image(), blank.image());
}

TEST(SlantedText, NinetyDegreesRunsUpwardsFromTheInsertionPoint) {
    const QString text = QStringLiteral("Arriba");
    const QSize cell = cellOf(text, {QStringLiteral("Arial"), 20, 0, 1, 900});
    Surface canvas = ground(300, 300);
    drawSlantedText(canvas, 100, 250, kBlack, kWhite, text, QStringLiteral("Arial"), 20, 0, 90);
    // Turned counter-clockwise about its top-left corner, the cell stands on the insertion
    // point: its width goes up, its height to the right.
    const QRect box = changedBox(canvas, kGround);
    EXPECT_NEAR(box.left(), 100, 1);
    EXPECT_NEAR(box.bottom(), 249, 1);
    EXPECT_NEAR(box.width(), cell.height(), 1);
    EXPECT_NEAR(box.height(), cell.width(), 1);
}

TEST(SlantedText, ThirtyDegreesRisesToTheRight) {
    const QString text = QString(10, QLatin1Char('M'));
    Surface canvas = ground(600, 400);
    drawSlantedText(canvas, 50, 300, kBlack, kTransparent, text, QStringLiteral("Arial"), 20, 0,
                    30);
    const QRect box = changedBox(canvas, kGround);
    const QSize cell = cellOf(text, {QStringLiteral("Arial"), 20, 0, 1, 300});
    // The far top corner of the cell rises by width * sin 30 = width / 2; the capitals' ink
    // starts a little below the cell's top.
    EXPECT_LE(box.top(), 300 - cell.width() / 2 + cell.height() / 3);
    EXPECT_GE(box.top(), 300 - cell.width() / 2 - 2);
    // Nothing lies left of the insertion point or below the turned cell's lower corner.
    EXPECT_GE(box.left(), 50 - cell.height() / 2 - 1);
    EXPECT_LE(box.bottom(), 300 + cell.height() + 1);
}

class MaskedTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        properties.fontName = QStringLiteral("Arial");
        properties.pointSize = 40;
        properties.styles.bold = 1;
        properties.foreColour = kRed;
        properties.backColour = kBlue;  // never painted by these variants
    }

    InkMask outlinedMask(const QString& text) const {
        InkMask mask = buildInkMask(text, levelFont(properties));
        markOutline(mask);
        return mask;
    }

    TextProperties properties;
};

TEST_F(MaskedTextTest, HollowTextPaintsOnlyTheOutlineCells) {
    const QString text = QStringLiteral("HOLA");
    const InkMask mask = outlinedMask(text);
    Surface canvas = ground(400, 150);
    const int x = 20, y = 10;
    drawHollowText(canvas, text, x, y, properties);
    int inside = 0;
    for (int row = 1; row <= mask.rows(); ++row) {
        for (int column = 1; column <= mask.columns(); ++column) {
            const Colour pixel = canvas.pixel(x + column, y + row);
            if (pixel == -1) continue;  // beyond the canvas
            const Colour expected = mask.at(column, row) == InkMask::kOutline ? kRed : kGround;
            ASSERT_EQ(pixel, expected) << column << "," << row;
            inside += mask.at(column, row) == InkMask::kInk;
        }
    }
    EXPECT_GT(inside, 50);  // the letters are hollow
    EXPECT_EQ(count(canvas, kBlue), 0);
}

TEST_F(MaskedTextTest, TexturedTextTakesTheTexturePixelOfEachCell) {
    const QString text = QStringLiteral("Textura");
    QImage texture(1600, 140, QImage::Format_RGB32);
    for (int r = 0; r < texture.height(); ++r)
        for (int c = 0; c < texture.width(); ++c) texture.setPixel(c, r, qRgb(c % 251, r, 77));
    const InkMask mask = outlinedMask(text);
    Surface canvas = ground(500, 200);
    const int x = 7, y = 30;
    drawTexturedText(canvas, text, x, y, properties, texture);
    int inked = 0;
    for (int row = 1; row <= 150; ++row) {
        for (int column = 1; column <= 480; ++column) {
            const Colour expected =
                mask.at(column, row) != InkMask::kPaper ? rgb(column % 251, row, 77) : kGround;
            ASSERT_EQ(canvas.pixel(x + column, y + row), expected) << column << "," << row;
            inked += expected != kGround;
        }
    }
    EXPECT_GT(inked, 200);
    EXPECT_EQ(count(canvas, kBlue), 0);
}

TEST_F(MaskedTextTest, ASmallPictureRepeatsAcrossTheWholeText) {
    // 200 x 40 under 40-point text (the picture is shorter than the letters), and a tiny one.
    const QString text = QStringLiteral("Textura");
    const InkMask mask = outlinedMask(text);
    for (const QSize size : {QSize(200, 40), QSize(30, 20)}) {
        QImage picture(size, QImage::Format_RGB32);
        for (int r = 0; r < picture.height(); ++r)
            for (int c = 0; c < picture.width(); ++c) picture.setPixel(c, r, qRgb(c, r * 5, 9));
        Surface canvas = ground(500, 200);
        drawTexturedText(canvas, text, 0, 0, properties, picture);
        int beyond = 0;
        for (int row = 1; row <= 130; ++row) {
            for (int column = 1; column <= 490; ++column) {
                const bool ink = mask.at(column, row) != InkMask::kPaper;
                const int c = column % size.width(), r = row % size.height();
                ASSERT_EQ(canvas.pixel(column, row), ink ? rgb(c, r * 5, 9) : kGround)
                    << column << "," << row << " under " << size.width() << "x" << size.height();
                beyond += ink && (column >= size.width() || row >= size.height());
            }
        }
        EXPECT_GT(beyond, 500);  // the letters past the picture's edges got their colours
    }
}

TEST_F(MaskedTextTest, TextWiderThanTheStripIsCutWhileLevelTextIsWhole) {
    properties.pointSize = 20;
    const QString text = QString(120, QLatin1Char('W'));
    Surface hollow = ground(2400, 60), level = ground(2400, 60);
    drawHollowText(hollow, text, 0, 0, properties);
    drawLevelText(level, 0, 0, kRed, kTransparent, text, properties.fontName, properties.pointSize,
                  0);
    EXPECT_LT(changedBox(hollow, kGround).right(), 1500);
    EXPECT_GT(changedBox(hollow, kGround).right(), 1450);
    EXPECT_GT(changedBox(level, kGround).right(), 1800);
}

}  // namespace
}  // namespace tessel
