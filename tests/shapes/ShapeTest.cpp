// Rectangles and ellipses: outline and interior pixel by pixel, transparent interiors over a
// patterned canvas, hatches and styled lines at every width.

#include <gtest/gtest.h>

#include <vector>

#include "shapes/Shapes.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kYellow = 0x00FFFF;

ShapeSettings redOnBlue() {
    ShapeSettings s;
    s.shapeBorderColour = kRed;
    s.shapeFillColour = kBlue;
    return s;
}

Surface whiteSurface(int w, int h) {
    Surface s(w, h);
    s.clear(kWhite);
    return s;
}

// A canvas of green and yellow squares of 3 x 3 pixels.
Colour patternAt(int x, int y) {
    return ((x / 3 + y / 3) % 2 == 0) ? kGreen : kYellow;
}
Surface patternedSurface(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) s.setPixel(x, y, patternAt(x, y));
    }
    return s;
}

// The on and off runs of the pixels of a row between two columns (first run is on).
std::vector<int> runsOfRow(const Surface& s, int y, int from, int to, Colour ink) {
    std::vector<int> runs;
    bool on = true;
    int length = 0;
    for (int x = from; x < to; ++x) {
        const bool pixelOn = s.pixel(x, y) == ink;
        if (pixelOn == on) {
            ++length;
        } else {
            runs.push_back(length);
            on = pixelOn;
            length = 1;
        }
    }
    runs.push_back(length);
    return runs;
}

TEST(Shape, SolidRectangleCoversItsBoxWithTheTopLeftAtThePoint) {
    Surface s = whiteSurface(60, 50);
    drawShape(s, 10, 12, 20, 15, redOnBlue());
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 60; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 12 && y < 27;
            const bool edge = inside && (x == 10 || x == 29 || y == 12 || y == 26);
            const Colour expected = edge ? kRed : inside ? kBlue : kWhite;
            ASSERT_EQ(s.pixel(x, y), expected) << x << ", " << y;
        }
    }
}

TEST(Shape, BoxGivenFromTheOppositeCornerIsTheSameBox) {
    Surface forward = whiteSurface(80, 60);
    Surface backward = whiteSurface(80, 60);
    ShapeSettings settings = redOnBlue();
    settings.shapeRounded = 1;
    settings.shapeCornerPercent = 40;
    drawShape(forward, 10, 10, 50, 30, settings);
    drawShape(backward, 60, 40, -50, -30, settings);
    EXPECT_EQ(forward.image(), backward.image());
}

TEST(Shape, TransparentInteriorLeavesThePatternedCanvasUntouched) {
    for (ShapeKind kind : {ShapeKind::Rectangle, ShapeKind::Ellipse}) {
        ShapeSettings settings = redOnBlue();
        settings.shapeKind = kind;
        settings.shapeFillColour = kTransparent;
        settings.shapeLineWidth = 3;
        Surface s = patternedSurface(80, 60);
        drawShape(s, 10, 10, 60, 40, settings);
        // Well inside the outline, and outside the shape, the canvas is as it was.
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 80; ++x) {
                const bool nearOutline = x >= 7 && x <= 72 && y >= 7 && y <= 52 &&
                                         !(x >= 20 && x < 60 && y >= 18 && y < 42);
                if (!nearOutline) {
                    ASSERT_EQ(s.pixel(x, y), patternAt(x, y)) << x << ", " << y;
                }
            }
        }
        EXPECT_EQ(s.pixel(40, 10), kRed);
        EXPECT_EQ(s.pixel(10, 30), kRed);
    }
}

TEST(Shape, HatchGapsShowTheCanvas) {
    ShapeSettings settings = redOnBlue();
    settings.shapeFillStyle = 1;  // horizontal lines: each inner row is all hatch or all canvas
    Surface s = patternedSurface(80, 60);
    drawShape(s, 10, 10, 60, 40, settings);
    int hatchRows = 0;
    for (int y = 11; y < 49; ++y) {
        const bool hatch = s.pixel(11, y) == kBlue;
        hatchRows += hatch;
        for (int x = 11; x < 69; ++x) {
            ASSERT_EQ(s.pixel(x, y), hatch ? kBlue : patternAt(x, y)) << x << ", " << y;
        }
    }
    EXPECT_GT(hatchRows, 2);
    EXPECT_LT(hatchRows, 38 / 2);
}

TEST(Shape, StyledLinesKeepTheirPatternAtEveryWidth) {
    for (int style = 1; style <= 4; ++style) {
        std::vector<int> onePixelDashes;
        for (int width : {1, 2, 5, 15}) {
            SCOPED_TRACE(::testing::Message() << "style " << style << " width " << width);
            ShapeSettings settings = redOnBlue();
            settings.shapeFillColour = kTransparent;
            settings.shapeLineStyle = style;
            settings.shapeLineWidth = width;
            Surface s = whiteSurface(1400, 120);
            drawShape(s, 30, 40, 1340, 60, settings);
            // Along the middle of the top edge, away from the corners: ink and gaps.
            const std::vector<int> runs = runsOfRow(s, 40, 60, 1340, kRed);
            ASSERT_GE(runs.size(), 4u);
            int longestOn = 0, longestOff = 0, shortestOn = 1 << 20;
            for (std::size_t k = 1; k + 1 < runs.size(); ++k) {
                int& longest = k % 2 == 0 ? longestOn : longestOff;
                longest = std::max(longest, runs[k]);
                if (k % 2 == 0) shortestOn = std::min(shortestOn, runs[k]);
            }
            EXPECT_GT(longestOff, 0);
            if (width == 1) {
                onePixelDashes = {longestOn, longestOff};
            } else if (style == 1) {
                // The dashes grow with the pen: the longest dash at least `width` times the
                // one-pixel one, less the round caps' overlap of one width.
                EXPECT_GE(longestOn, onePixelDashes[0] * width - width);
                EXPECT_GE(longestOff, onePixelDashes[1] * width - width);
            } else {
                // Dots stay dots: as long as the pen is wide, a dash three times that, and the
                // gaps keep the one-pixel proportions (dot 3 : gap 3, dash-dot 9 : 6 : 3 : 6,
                // dash-dot-dot 9 : 3 : 3 : 3 : 3 : 3), each one-pixel step of 3 now a pen width.
                EXPECT_NEAR(shortestOn, width, 1);
                EXPECT_NEAR(longestOn, onePixelDashes[0] / 3 * width, 1);
                // The gaps of a side stretch a little so that its pattern ends on a corner.
                EXPECT_NEAR(longestOff, onePixelDashes[1] / 3 * width, 1 + width / 8);
            }
            // The line is as wide as its pen where the edge starts (wide pens: on the corner).
            EXPECT_EQ(s.pixel(width == 1 ? 31 : 30, 40 - (width - 1) / 2), kRed);
        }
    }
}

}  // namespace
}  // namespace tessel
