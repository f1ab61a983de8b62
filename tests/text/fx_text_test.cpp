// Three-colour bands and raised and sunk relief.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "text/FxText.h"
#include "text/LineText.h"

namespace tessel {
namespace {

constexpr Colour kGround = 0x404040;
constexpr Colour kOne = 0x0000FF, kTwo = 0x00FF00, kThree = 0xFF0000;

Surface ground(int width, int height) {
    Surface canvas(width, height);
    canvas.clear(kGround);
    return canvas;
}

FontRequest times(int points) {
    return FontRequest{QStringLiteral("Times New Roman"), points, 0, 0, 0};
}

// The colours of the changed pixels of each canvas row.
std::map<int, std::set<Colour>> coloursByRow(const Surface& canvas) {
    std::map<int, std::set<Colour>> rows;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != kGround) rows[y].insert(canvas.pixel(x, y));
    return rows;
}

TEST(ThreeColourText, NinePointsGiveBandsOfFourThreeAndTheRest) {
    Surface canvas = ground(300, 80);
    const int y = 10;
    drawThreeColourText(canvas, QStringLiteral("Hgjp"), 5, y, times(9), kOne, kTwo, kThree);
    const auto rows = coloursByRow(canvas);
    ASSERT_FALSE(rows.empty());
    const int top = rows.begin()->first;  // the first ink row on the canvas
    // s = 9 / 3 = 3: rows top..top+3 colour 1, top+4..top+6 colour 2, the rest colour 3.
    for (const auto& [row, colours] : rows) {
        const Colour expected = row <= top + 3 ? kOne : row <= top + 6 ? kTwo : kThree;
        EXPECT_EQ(colours, std::set<Colour>{expected}) << "row " << row - top;
    }
    EXPECT_TRUE(rows.count(top + 4) && rows.count(top + 7));
}

TEST(ThreeColourText, TwoPointsGiveTheTopRowColourOneAndTheRestColourThree) {
    Surface canvas = ground(200, 40);
    FontRequest font = times(2);
    font.style = 1;
    drawThreeColourText(canvas, QStringLiteral("HHHH"), 5, 5, font, kOne, kTwo, kThree);
    const auto rows = coloursByRow(canvas);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows.begin()->second, std::set<Colour>{kOne});
    for (auto it = std::next(rows.begin()); it != rows.end(); ++it) {
        EXPECT_EQ(it->second, std::set<Colour>{kThree});
    }
}

TEST(ThreeColourText, WiderThanTheStripIsCut) {
    Surface canvas = ground(2000, 40);
    drawThreeColourText(canvas, QString(120, QLatin1Char('W')), 0, 0, times(20), kOne, kTwo,
                        kThree);
    int right = -1;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != kGround) right = std::max(right, x);
    EXPECT_GT(right, 1450);
    EXPECT_LT(right, 1500);
}

// One printing of the text in a colour on the ground, as reference for the relief layers.
Surface single(const QString& text, int x, int y, Colour colour) {
    Surface canvas = ground(300, 80);
    drawLevelText(canvas, x, y, colour, kTransparent, text, QStringLiteral("Times New Roman"), 30,
                  0);
    return canvas;
}

void expectRelief(int kind, Colour first, Colour second) {
    const QString text = QStringLiteral("Relieve");
    const Colour colour = 0x00FFFF;
    const int x = 20, y = 20;
    Surface relief = ground(300, 80);
    drawReliefText(relief, text, kind, times(30), colour, x, y);
    const Surface before = single(text, x - 1, y - 1, colour);
    const Surface after = single(text, x + 1, y + 1, colour);
    const Surface top = single(text, x, y, colour);
    int firstSeen = 0, secondSeen = 0;
    for (int py = 0; py < relief.height(); ++py) {
        for (int px = 0; px < relief.width(); ++px) {
            const bool inTop = top.pixel(px, py) != kGround;
            const bool inAfter = after.pixel(px, py) != kGround;
            const bool inBefore = before.pixel(px, py) != kGround;
            if (top.pixel(px, py) == colour) {
                ASSERT_EQ(relief.pixel(px, py), colour);  // the last printing covers all
            } else if (!inTop && after.pixel(px, py) == colour) {
                ASSERT_EQ(relief.pixel(px, py), second);  // shifted by (+1, +1)
                ++secondSeen;
            } else if (!inTop && !inAfter && before.pixel(px, py) == colour) {
                ASSERT_EQ(relief.pixel(px, py), first);  // shifted by (-1, -1)
                ++firstSeen;
            } else if (!inTop && !inAfter && !inBefore) {
                ASSERT_EQ(relief.pixel(px, py), kGround);  // no background box
            }
        }
    }
    EXPECT_GT(firstSeen, 10);
    EXPECT_GT(secondSeen, 10);
}

TEST(ReliefText, RaisedPrintsWhiteAboveLeftAndTheShadowBelowRight) {
    expectRelief(kReliefRaised, 0xFFFFFF, rgb(128, 0, 0));
}

TEST(ReliefText, SunkPrintsTheShadowAboveLeftAndWhiteBelowRight) {
    expectRelief(kReliefSunk, rgb(128, 0, 0), 0xFFFFFF);
}

TEST(ReliefText, WiderThanTheStripIsDrawnWhole) {
    Surface canvas = ground(2400, 40);
    drawReliefText(canvas, QString(120, QLatin1Char('W')), kReliefRaised, times(20), 0x00FFFF, 0,
                   0);
    bool beyond = false;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 1800; x < canvas.width(); ++x)
            beyond = beyond || canvas.pixel(x, y) != kGround;
    EXPECT_TRUE(beyond);
}

}  // namespace
}  // namespace tessel
