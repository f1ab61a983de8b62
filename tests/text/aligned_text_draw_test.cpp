// Aligned blocks drawn in a real font: judged by the structure of the ink (which rows hold text,
// where each line's ink ends), never by the shapes of the glyphs.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Fonts.h"
#include "surface/Surface.h"
#include "text/AlignedText.h"
#include "text/AlignedTextDialog.h"
#include "text/AlignedTextSettings.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kInk = 0x000000;
constexpr Colour kRed = 0x0000FF;

ResolvedFont serif16() {
    FontRequest request;
    request.face = QStringLiteral("Times New Roman");
    request.points = 12;  // 16 pixels at 96 DPI
    return platform::resolveFont(request);
}

// A band of rows that hold ink, with the ink's leftmost and rightmost columns.
struct Band {
    int top = 0;
    int bottom = 0;  // last row
    int left = 0;
    int right = 0;
};

bool isInk(Colour c) {
    return c != kWhite && c != kRed;
}

std::vector<Band> inkBands(const Surface& s) {
    std::vector<Band> bands;
    bool inBand = false;
    for (int y = 0; y < s.height(); ++y) {
        int left = -1, right = -1;
        for (int x = 0; x < s.width(); ++x) {
            if (!isInk(s.pixel(x, y))) continue;
            if (left < 0) left = x;
            right = x;
        }
        if (left < 0) {
            inBand = false;
            continue;
        }
        if (!inBand) bands.push_back({y, y, left, right});
        Band& band = bands.back();
        band.bottom = y;
        band.left = std::min(band.left, left);
        band.right = std::max(band.right, right);
        inBand = true;
    }
    return bands;
}

Surface whiteSurface(int width, int height) {
    Surface s(width, height);
    s.clear(kWhite);
    return s;
}

TEST(AlignedTextDraw, ThreeTypedLinesBecomeOneParagraph) {
    Surface s = whiteSurface(700, 200);
    const QString typed = AlignedTextDialog::blanksForLineBreaks(
        QStringLiteral("Primera linea\r\nsegunda linea\r\ntercera linea"));
    drawAlignedText(s, typed, kAlignLeft, 600, 20, 30, serif16(), kInk, kWhite);
    const auto bands = inkBands(s);
    // Wide enough for all of it: one line of text, starting at the insertion point.
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_GE(bands[0].top, 30);
    EXPECT_LE(bands[0].bottom, 30 + s.charHeight());
    EXPECT_LE(bands[0].left, 22);
    EXPECT_GE(bands[0].left, 20);

    // Narrow, the same words are broken again at the area's width.
    Surface narrow = whiteSurface(700, 200);
    drawAlignedText(narrow, typed, kAlignLeft, 120, 20, 30, serif16(), kInk, kWhite);
    const auto lines = inkBands(narrow);
    EXPECT_GE(lines.size(), 3u);
    for (const Band& band : lines) EXPECT_LT(band.right, 20 + 120);
}

TEST(AlignedTextDraw, RightAlignedLinesEndThreePixelsBeforeTheEdge) {
    // No two of the words fit in the area together, so each is a line of its own; every one
    // ends in "m", so their ink ends alike.
    Surface s = whiteSurface(400, 200);
    const int x = 40, area = 120;
    drawAlignedText(s, QStringLiteral("mmmmmmm mmmmm mmmmmm mmmmmmmm"), kAlignRight, area, x, 10,
                    serif16(), kInk, kWhite);
    const auto bands = inkBands(s);
    ASSERT_EQ(bands.size(), 4u);
    const int lastColumn = x + area - 3 - 1;  // the last column before the 3-pixel margin
    for (const Band& band : bands) {
        EXPECT_LE(band.right, lastColumn + 1);
        EXPECT_GE(band.right, lastColumn - 2);
    }
    // The short lines start further right than the long ones.
    EXPECT_GT(bands[1].left, bands[0].left);
    EXPECT_LT(bands[3].left, bands[2].left);
}

TEST(AlignedTextDraw, JustifiedLinesEndTogetherWhileTheShortLastLineStaysRagged) {
    Surface s = whiteSurface(500, 700);
    s.selectFont(serif16());
    const TextWidth measure = [&s](const QString& t) { return s.measure(t).width(); };
    const int x = 30, area = 300;
    // Enough words for a dozen lines, the last of them less than half the area wide.
    const QStringList filler =
        QStringLiteral("casa pala armada rosa ventana sala tapa").split(u' ');
    QString text;
    QStringList lines;
    for (int n = 60; n < 90; ++n) {
        QStringList words;
        for (int i = 0; i < n; ++i) words << filler[i % filler.size()];
        words << QStringLiteral("fin");
        text = words.join(u' ');
        lines = breakAlignedLines(text, area, measure);
        lines.removeAll(QString());
        if (2 * measure(lines.last()) < area) break;
    }
    ASSERT_LT(2 * measure(lines.last()), area);

    drawAlignedText(s, text, kAlignJustified, area, x, 10, serif16(), kInk, kWhite);
    const auto bands = inkBands(s);
    ASSERT_EQ(bands.size(), size_t(lines.size()));
    // Every line but the last is stretched to the longest; they all end in "a".
    int longest = 0;
    for (size_t i = 0; i + 1 < bands.size(); ++i) longest = std::max(longest, bands[i].right);
    int widest = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) widest = std::max(widest, measure(lines[i]));
    int shorter = 0;
    for (size_t i = 0; i + 1 < bands.size(); ++i) {
        EXPECT_GE(bands[i].right, longest - 1) << "line " << i + 1;
        EXPECT_LE(bands[i].left, x + 1);
        EXPECT_LT(bands[i].right, x + area);
        if (measure(lines[i]) < widest - 3) ++shorter;
    }
    EXPECT_GT(shorter, 0) << "some lines must have needed stretching";
    EXPECT_LT(bands.back().right, longest - 100);
    EXPECT_LE(bands.back().left, x + 1);
}

TEST(AlignedTextDraw, StretchedLinesKeepAnOpaqueBackgroundWithoutGaps) {
    Surface s = whiteSurface(400, 100);
    s.selectFont(serif16());
    // The first line is a little shorter than the second and is stretched to it.
    const QString first = QStringLiteral("ab abcd abcd abcd");
    const QString second = QStringLiteral("abcd abcd abcd abcd");
    const int longest = s.measure(second).width();
    const int area = longest + 2;
    ASSERT_LE(s.measure(first).width(), area - 5);
    ASSERT_GE(5 * s.measure(first).width(), 4 * longest);
    const int x = 10, y = 10;
    drawAlignedText(s, first + u' ' + second, kAlignJustified, area, x, y, serif16(), kInk, kRed);
    // The stretched line's cell is covered from x to the longest line's end: red or ink, no
    // white.
    const int height = s.charHeight();
    for (int row = y; row < y + height; ++row) {
        for (int col = x; col < x + longest; ++col) {
            ASSERT_NE(s.pixel(col, row), kWhite) << "row " << row << " column " << col;
        }
    }
    // And nothing beyond it.
    for (int row = 0; row < s.height(); ++row) EXPECT_EQ(s.pixel(x + longest + 1, row), kWhite);
}

TEST(AlignedTextDraw, ATallBlockIsDrawnWhole) {
    // Many lines: the block runs far below any small area height and below the first lines.
    QStringList words;
    for (int i = 0; i < 40; ++i) words << QStringLiteral("palabra");
    Surface s = whiteSurface(300, 900);
    drawAlignedText(s, words.join(u' '), kAlignCentre, 80, 0, 0, serif16(), kInk, kWhite);
    const auto bands = inkBands(s);
    EXPECT_EQ(bands.size(), 40u);
    // Centred: each "palabra" sits in the middle of the 80-pixel area.
    for (const Band& band : bands) EXPECT_LE(std::abs((band.left + band.right) / 2 - 40), 3);
}

}  // namespace
}  // namespace tessel
