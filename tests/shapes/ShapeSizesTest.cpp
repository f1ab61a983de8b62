// Rectangles, rounded rectangles and ellipses of the smallest and largest sizes, in every line
// style at every pen width: each drawing ends at once and stays around its box.

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shapes/Shapes.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
constexpr int kSurfaceSide = 90;
constexpr int kLeft = 12;
constexpr int kTop = 14;
constexpr int kLargestSide = 32767;  // the shape's size is a 16-bit number
constexpr int kWidestPen = 15;

struct ShapeCase {
    ShapeKind kind;
    int cornerPercent;  // rectangles only: 0 square corners
    int style;
    int penWidth;
    int width;
    int height;

    std::string name() const {
        char text[120];
        std::snprintf(text, sizeof text, "%s, style %d, pen %d, %d x %d",
                      kind == ShapeKind::Ellipse ? "ellipse"
                      : cornerPercent > 0        ? "rounded rectangle"
                                                 : "rectangle",
                      style, penWidth, width, height);
        return text;
    }
};

// Every side of 0 to 3 pixels with pens of 1 to 10 pixels and the widest; the largest sides
// with the narrowest pens and the widest.
std::vector<ShapeCase> everyCase() {
    std::vector<std::pair<int, int>> smallSizes;
    for (int w = 0; w <= 3; ++w)
        for (int h = 0; h <= 3; ++h) smallSizes.emplace_back(w, h);
    smallSizes.insert(smallSizes.end(), {{50, 1}, {1, 50}, {50, 2}});
    const std::vector<std::pair<int, int>> largeSizes = {
        {kLargestSide, 1}, {1, kLargestSide}, {kLargestSide, kLargestSide}};
    std::vector<ShapeCase> cases;
    for (const auto& [kind, percent] :
         std::vector<std::pair<ShapeKind, int>>{{ShapeKind::Rectangle, 0},
                                                {ShapeKind::Rectangle, 50},
                                                {ShapeKind::Rectangle, 100},
                                                {ShapeKind::Ellipse, 0}}) {
        for (int style = 0; style <= 4; ++style) {
            for (const int pen : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kWidestPen}) {
                for (const auto& [w, h] : smallSizes)
                    cases.push_back({kind, percent, style, pen, w, h});
                if (pen > 2 && pen < kWidestPen) continue;
                for (const auto& [w, h] : largeSizes)
                    cases.push_back({kind, percent, style, pen, w, h});
            }
        }
    }
    return cases;
}

// A shape taller than the surface is drawn with the middle of its left side in view.
int topOf(const ShapeCase& c) {
    return c.height > kSurfaceSide ? kTop - c.height / 2 : kTop;
}

Surface drawCase(const ShapeCase& c) {
    Surface surface(kSurfaceSide, kSurfaceSide);
    surface.clear(kWhite);
    ShapeSettings settings;
    settings.shapeKind = c.kind;
    settings.shapeRounded = c.cornerPercent > 0 ? 1 : 0;
    settings.shapeCornerPercent = std::int16_t(c.cornerPercent);
    settings.shapeBorderColour = kRed;
    settings.shapeFillColour = kBlue;
    settings.shapeLineStyle = c.style;
    settings.shapeLineWidth = c.penWidth;
    drawShape(surface, kLeft, topOf(c), c.width, c.height, settings);
    return surface;
}

// What the alarm reports: the case being drawn when it rang.
char currentCase[160];

void reportUnendingCase(int) {
    constexpr char prefix[] = "this drawing does not end: ";
    (void)!write(STDERR_FILENO, prefix, sizeof prefix - 1);
    (void)!write(STDERR_FILENO, currentCase, std::strlen(currentCase));
    _exit(3);
}

// Draws every case, each given a few seconds (they take well under a millisecond); exits with 0
// when all have ended, or with 3 naming the first that did not.
[[noreturn]] void drawEveryCaseAgainstTheClock() {
    std::signal(SIGALRM, reportUnendingCase);
    for (const ShapeCase& c : everyCase()) {
        std::snprintf(currentCase, sizeof currentCase, "%s", c.name().c_str());
        alarm(5);
        drawCase(c);
    }
    alarm(0);
    std::_Exit(0);
}

TEST(ShapeSizes, EveryStyleAndPenEndsOnShapesOfZeroToThreePixelsAndOfTheLargestSize) {
    // First in a process of its own, so that a drawing that never ends fails the test instead of
    // hanging it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(drawEveryCaseAgainstTheClock(), ::testing::ExitedWithCode(0), "");
    if (HasFailure()) return;

    for (const ShapeCase& c : everyCase()) {
        SCOPED_TRACE(c.name());
        const Surface surface = drawCase(c);
        // A shape with a side of no length draws nothing; any other longer than one pixel shows
        // its outline, which reaches no further from the box's outer pixels than half the pen
        // and the rounding.
        const QRect box(kLeft, topOf(c), c.width, c.height);
        const int reach = c.penWidth / 2 + 1;
        const QRect around = box.adjusted(-reach, -reach, reach, reach);
        int ink = 0;
        int outside = 0;
        for (int y = 0; y < kSurfaceSide; ++y) {
            for (int x = 0; x < kSurfaceSide; ++x) {
                const Colour p = surface.pixel(x, y);
                ink += p == kRed;
                outside += p != kWhite && !around.contains(x, y);
            }
        }
        EXPECT_EQ(outside, 0);
        if (box.isEmpty()) {
            EXPECT_EQ(ink, 0);
        } else if (c.width > 1 || c.height > 1) {
            EXPECT_GT(ink, 0);
        }
    }
}

}  // namespace
}  // namespace tessel
