// Arrows: the shaft and heads of every direction, pixel by pixel, from the point table of
// directions 1 and 2 and the quarter turns that carry them to the other six.

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "shapes/Shapes.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;

using Pixel = std::pair<int, int>;
using Segment = std::pair<QPoint, QPoint>;

// The pixels of a horizontal, vertical or 45-degree segment, both ends included.
void addSegment(std::set<Pixel>& pixels, QPoint a, QPoint b) {
    const int dx = (b.x() > a.x()) - (b.x() < a.x());
    const int dy = (b.y() > a.y()) - (b.y() < a.y());
    const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    ASSERT_TRUE(dx == 0 || dy == 0 || std::abs(b.x() - a.x()) == std::abs(b.y() - a.y()));
    for (int k = 0; k <= steps; ++k) pixels.insert({a.x() + k * dx, a.y() + k * dy});
}

std::set<Pixel> pixelsOf(const std::vector<Segment>& segments) {
    std::set<Pixel> pixels;
    for (const auto& [a, b] : segments) addSegment(pixels, a, b);
    return pixels;
}

// Every pixel of the surface is red exactly when it is one of the expected pixels.
void expectExactly(const Surface& s, const std::set<Pixel>& expected) {
    int wrong = 0;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const bool want = expected.count({x, y}) != 0;
            const Colour got = s.pixel(x, y);
            if (got != (want ? kRed : kWhite) && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got
                              << (want ? ", expected the arrow colour" : ", expected untouched");
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

Surface whiteSurface(int w, int h) {
    Surface s(w, h);
    s.clear(kWhite);
    return s;
}

TEST(Arrow, PointingRightWithOneOpenHead) {
    Surface s = whiteSurface(200, 120);
    drawArrow(s, 50, 50, 100, 10, kRed, 1, false, 1, 3);
    expectExactly(
        s, pixelsOf({{{50, 50}, {150, 50}}, {{150, 50}, {140, 40}}, {{150, 50}, {140, 60}}}));
}

TEST(Arrow, ClosedAndTwoHeadedVariantsAddTheirSegments) {
    const std::vector<Segment> tipHead = {
        {{50, 50}, {150, 50}}, {{150, 50}, {140, 40}}, {{150, 50}, {140, 60}}};
    const Segment tipBase = {{140, 40}, {140, 60}};
    const std::vector<Segment> tailHead = {{{50, 50}, {60, 40}}, {{50, 50}, {60, 60}}};
    const Segment tailBase = {{60, 40}, {60, 60}};

    Surface closed = whiteSurface(200, 120);
    drawArrow(closed, 50, 50, 100, 10, kRed, 1, true, 1, 3);
    std::vector<Segment> expected = tipHead;
    expected.push_back(tipBase);
    expectExactly(closed, pixelsOf(expected));

    Surface twoOpen = whiteSurface(200, 120);
    drawArrow(twoOpen, 50, 50, 100, 10, kRed, 1, false, 2, 3);
    expected = tipHead;
    expected.insert(expected.end(), tailHead.begin(), tailHead.end());
    expectExactly(twoOpen, pixelsOf(expected));

    Surface twoClosed = whiteSurface(200, 120);
    drawArrow(twoClosed, 50, 50, 100, 10, kRed, 1, true, 2, 3);
    expected.push_back(tipBase);
    expected.push_back(tailBase);
    expectExactly(twoClosed, pixelsOf(expected));
}

TEST(Arrow, NoHeadsDrawsOnlyTheShaftWhateverTheClosedFlag) {
    Surface s = whiteSurface(200, 120);
    drawArrow(s, 50, 50, 100, 10, kRed, 1, true, 0, 3);
    expectExactly(s, pixelsOf({{{50, 50}, {150, 50}}}));
}

// The documented offsets of tip, barbs A and B and tail barbs C and D for directions 1 and 2;
// each further pair of directions is a quarter turn clockwise, (dx, dy) -> (-dy, dx).
struct Offsets {
    QPoint tip, a, b, c, d;
};
Offsets documentedOffsets(int direction, int L, int H) {
    Offsets o = direction % 2 == 1 ? Offsets{{0, -L}, {-H, -L + H}, {H, -L + H}, {H, -H}, {-H, -H}}
                                   : Offsets{{L, -L}, {L - H, -L}, {L, -L + H}, {0, -H}, {H, 0}};
    const int turns = (direction - 1) / 2;
    for (int t = 0; t < turns; ++t) {
        for (QPoint* p : {&o.tip, &o.a, &o.b, &o.c, &o.d}) *p = QPoint(-p->y(), p->x());
    }
    return o;
}

TEST(Arrow, EveryDirectionMatchesItsQuarterTurnOfTheTable) {
    const int x = 100, y = 100, L = 60, H = 12;
    for (int direction = 1; direction <= 8; ++direction) {
        SCOPED_TRACE(direction);
        const Offsets o = documentedOffsets(direction, L, H);
        const QPoint tail(x, y);
        const ArrowPoints p = arrowPoints(direction, x, y, L, H);
        EXPECT_EQ(p.tip, tail + o.tip);
        Surface s = whiteSurface(200, 200);
        drawArrow(s, x, y, L, H, kRed, 1, true, 2, direction);
        expectExactly(s, pixelsOf({{tail, tail + o.tip},
                                   {tail + o.tip, tail + o.a},
                                   {tail + o.tip, tail + o.b},
                                   {tail + o.a, tail + o.b},
                                   {tail, tail + o.c},
                                   {tail, tail + o.d},
                                   {tail + o.c, tail + o.d}}));
    }
}

TEST(Arrow, SettingsDrawTheirLengthAndPreviewUsesOneHundred) {
    ArrowSettings settings;
    settings.arrowColour = kRed;
    settings.arrowLength = 30;
    settings.arrowHeads = 0;
    settings.arrowDirection = 7;
    Surface canvas = whiteSurface(100, 60);
    drawArrow(canvas, 80, 20, settings);
    expectExactly(canvas, pixelsOf({{{80, 20}, {50, 20}}}));

    Surface preview(300, 300);
    drawArrowPreview(preview, settings, kWhite);
    expectExactly(preview, pixelsOf({{{150, 150}, {50, 150}}}));
}

}  // namespace
}  // namespace tessel
