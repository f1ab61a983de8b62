// The ink mask: how the line is printed on the strip and how its outline is marked.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "text/InkMask.h"
#include "text/LineText.h"

namespace tessel {
namespace {

using Cells = std::set<std::pair<int, int>>;  // (x, y)

InkMask maskOf(int columns, int rows, const Cells& ink) {
    InkMask mask(columns, rows);
    for (const auto& [x, y] : ink) mask.set(x, y, InkMask::kInk);
    return mask;
}

Cells cellsWith(const InkMask& mask, std::int32_t value) {
    Cells cells;
    for (int y = 1; y <= mask.rows(); ++y)
        for (int x = 1; x <= mask.columns(); ++x)
            if (mask.at(x, y) == value) cells.insert({x, y});
    return cells;
}

TEST(Outline, OnePixelHighStrokeIsItsOwnOutline) {
    const Cells stroke = {{3, 2}, {4, 2}, {5, 2}, {6, 2}};
    InkMask mask = maskOf(10, 3, stroke);
    markOutline(mask);
    EXPECT_EQ(cellsWith(mask, InkMask::kOutline), stroke);
    EXPECT_TRUE(cellsWith(mask, InkMask::kInk).empty());
}

TEST(Outline, FilledRectangleKeepsItsInsideAndMarksItsBorder) {
    Cells rectangle, border, inside;
    for (int y = 2; y <= 4; ++y) {
        for (int x = 2; x <= 5; ++x) {
            rectangle.insert({x, y});
            (y == 2 || y == 4 || x == 2 || x == 5 ? border : inside).insert({x, y});
        }
    }
    InkMask mask = maskOf(8, 6, rectangle);
    markOutline(mask);
    EXPECT_EQ(cellsWith(mask, InkMask::kOutline), border);
    EXPECT_EQ(cellsWith(mask, InkMask::kInk), inside);
}

TEST(Outline, RunFlagIsCarriedOverTheEndOfARow) {
    // Row 1 ends on ink, so the flag is still set when row 2 starts: the ink cell (1, 2), with
    // ink above and below it, is not taken for the left end of a run.
    InkMask left = maskOf(4, 3, {{1, 1}, {4, 1}, {1, 2}, {2, 2}, {1, 3}});
    markOutline(left);
    EXPECT_EQ(left.at(1, 2), InkMask::kInk);
    EXPECT_EQ(left.at(2, 2), InkMask::kOutline);
    EXPECT_EQ(left.at(1, 3), InkMask::kOutline);

    // A run that reaches the last column ends at the first paper cell of the next row, which
    // marks the last cell of the row before: (4, 2) has ink above and below and is still marked.
    InkMask right = maskOf(4, 3, {{3, 1}, {4, 1}, {3, 2}, {4, 2}, {3, 3}, {4, 3}});
    markOutline(right);
    EXPECT_EQ(right.at(4, 2), InkMask::kOutline);
    EXPECT_EQ(right.at(3, 2), InkMask::kOutline);  // left end of its run
}

FontRequest font(int points, int style = 0) {
    return FontRequest{QStringLiteral("Times New Roman"), points, style, 0, 0};
}

TEST(InkMaskOfText, InkLiesInTheTextCellPrintedAtOneOne) {
    const QString text = QStringLiteral("Hola");
    const InkMask mask = buildInkMask(text, font(20));
    EXPECT_EQ(mask.columns(), 1500);
    EXPECT_EQ(mask.rows(), 130);
    const Cells ink = cellsWith(mask, InkMask::kInk);
    ASSERT_FALSE(ink.empty());
    // 20 points are 27 pixels of em; the cell of a serif face is at most about 1.3 em high and
    // four letters are narrower than 4 em.
    for (const auto& [x, y] : ink) {
        EXPECT_GE(x, 1);
        EXPECT_GE(y, 1);
        EXPECT_LE(x, 1 + 4 * 27);
        EXPECT_LE(y, 1 + 36);
    }
}

TEST(InkMaskOfText, ThinStrokesOfSmallTextAreInk) {
    // At 6 points the strokes are about one pixel wide: smoothed, they would hold no pure black.
    const InkMask mask = buildInkMask(QStringLiteral("illi"), font(6));
    int columnsWithInk = 0;
    for (int x = 1; x <= 40; ++x) {
        bool ink = false;
        for (int y = 1; y <= 20; ++y) ink = ink || mask.at(x, y) == InkMask::kInk;
        columnsWithInk += ink;
    }
    EXPECT_GE(columnsWithInk, 4);
}

TEST(InkMaskOfText, TextWiderThanTheStripIsCut) {
    const InkMask mask = buildInkMask(QString(120, QLatin1Char('W')), font(20));
    bool nearRightEdge = false;
    for (int y = 1; y <= 130; ++y) {
        for (int x = 1480; x < 1500; ++x) nearRightEdge = nearRightEdge || mask.at(x, y) != 0;
        // The last column lies beyond the strip.
        EXPECT_EQ(mask.at(1500, y), InkMask::kPaper);
    }
    EXPECT_TRUE(nearRightEdge);
}

}  // namespace
}  // namespace tessel
