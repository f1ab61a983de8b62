// Progress bars: the frame, the fill against the gap, the shadow, the percentage text and its
// placement, pixel by pixel where the rule fixes pixels and by its box where it is text.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/Fonts.h"
#include "progress/ProgressBar.h"

namespace tessel {
namespace {

constexpr Colour kGrey = 0x808080;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kRedText = 0x0000FF;

bool isBarColour(Colour c) {
    return c == kGrey || c == kWhite || c == kBlack || c == kGreen;
}

class ProgressBarTest : public ::testing::Test {
  protected:
    ProgressBarTest() : surface(320, 80) {
        surface.clear(kGrey);
        text.foreColour = kRedText;
    }
    void draw(int x, int y) { drawProgressBar(surface, x, y, barText(bar.barPercent), bar, text); }
    Colour at(int x, int y) const { return surface.pixel(x, y); }

    Surface surface;
    ProgressSettings bar;
    TextProperties text;
};

TEST(BarText, BlankNumberAndPercentSign) {
    EXPECT_EQ(barText(88.89f), QStringLiteral(" 88.89% "));
    EXPECT_EQ(barText(10.0f), QStringLiteral(" 10% "));
    EXPECT_EQ(barText(50.0f), QStringLiteral(" 50% "));
    EXPECT_EQ(barText(0.0f), QStringLiteral(" 0% "));
    EXPECT_EQ(barText(12.5f), QStringLiteral(" 12.5% "));
    EXPECT_EQ(barText(150.0f), QStringLiteral(" 150% "));
    // Any accepted percentage prints in plain decimal: the single-precision number of
    // 999999999999 is 999999995904 exactly, and tiny ones keep their leading zeros.
    EXPECT_EQ(barText(*parseBarPercent(QStringLiteral("999999999999"))),
              QStringLiteral(" ") + QString::number(double(999999999999.0f), 'f', 0) +
                  QStringLiteral("% "));
    EXPECT_EQ(barText(0.00001f), QStringLiteral(" 0.00001% "));
}

TEST(BarPercent, OnlyDigitsAndAPoint) {
    EXPECT_EQ(parseBarPercent(QStringLiteral("88.89")), 88.89f);
    EXPECT_EQ(parseBarPercent(QStringLiteral("50")), 50.0f);
    EXPECT_EQ(parseBarPercent(QStringLiteral(".5")), 0.5f);
    EXPECT_EQ(parseBarPercent(QStringLiteral("12.5.3")), 12.5f);  // the leading number
    EXPECT_EQ(parseBarPercent(QString()), 0.0f);
    EXPECT_EQ(parseBarPercent(QStringLiteral(".")), 0.0f);
    EXPECT_EQ(parseBarPercent(QStringLiteral("88,89")), std::nullopt);
    EXPECT_EQ(parseBarPercent(QStringLiteral(" 50")), std::nullopt);
    EXPECT_EQ(parseBarPercent(QStringLiteral("-5")), std::nullopt);
    EXPECT_EQ(parseBarPercent(QStringLiteral("5%")), std::nullopt);
    EXPECT_EQ(parseBarPercent(QStringLiteral("1e5")), std::nullopt);
}

TEST_F(ProgressBarTest, StartValuesFrameFillAndShadow) {
    const int x = 10, y = 20;
    draw(x, y);
    // Frame 256 x 35: its outline in the border colour on the box's outer pixels, white within.
    EXPECT_EQ(at(x, y), kBlack);
    EXPECT_EQ(at(x + 255, y + 34), kBlack);
    EXPECT_EQ(at(x + 100, y), kBlack);
    EXPECT_EQ(at(x + 2, y + 2), kWhite);
    EXPECT_EQ(at(x + 253, y + 32), kWhite);
    EXPECT_EQ(at(x + 258, y + 17), kGrey);
    EXPECT_EQ(at(x + 100, y + 37), kGrey);

    // p = 88.89 / 100 x 256 = 227.5584; 88.89 > 5, so the fill runs from x + 5 to
    // x + 227.5584 - 5 = x + 222.5584, which the box rounds to x + 223 (its last pixel x + 222),
    // and from y + 5 to y + 30 (last row y + 29). Rows y + 6..y + 10 are above the text.
    for (int px = x + 5; px <= x + 222; ++px) ASSERT_EQ(at(px, y + 8), kGreen) << px;
    for (int py = y + 5; py <= y + 29; ++py) ASSERT_EQ(at(x + 30, py), kGreen) << py;
    // The shadow: one pixel right of and below the fill, black.
    for (int py = y + 6; py <= y + 30; ++py) ASSERT_EQ(at(x + 223, py), kBlack) << py;
    for (int px = x + 6; px <= x + 223; ++px) ASSERT_EQ(at(px, y + 30), kBlack) << px;
    EXPECT_EQ(at(x + 224, y + 8), kWhite);
    EXPECT_EQ(at(x + 30, y + 31), kWhite);
}

TEST_F(ProgressBarTest, TextInTheTextColourWhereThePrinterPutsIt) {
    const int x = 10, y = 20;
    draw(x, y);
    // The printer: x' = x + G + BW, y' = y + 5 + BW; y = y' + G + H / 2 - th and, centred,
    // x = x' + (W - tw) / 2.
    Surface probe(10, 10);
    probe.selectFont(platform::resolveFont(levelFont(text)));
    const QSize size = probe.measure(QStringLiteral(" 88.89% "));
    const double left = (x + 5 + 2) + (256 - size.width()) / 2.0;
    const double top = (y + 5 + 2) + 5 + 35 / 2.0 - size.height();
    int ink = 0;
    for (int py = 0; py < surface.height(); ++py) {
        for (int px = 0; px < surface.width(); ++px) {
            if (isBarColour(at(px, py))) continue;
            ++ink;
            ASSERT_GE(px, std::floor(left)) << px << ", " << py;
            ASSERT_LE(px, std::ceil(left + size.width())) << px << ", " << py;
            ASSERT_GE(py, std::floor(top)) << px << ", " << py;
            ASSERT_LE(py, std::ceil(top + size.height())) << px << ", " << py;
        }
    }
    EXPECT_GT(ink, 20);
}

TEST_F(ProgressBarTest, PercentNotAboveTheGapFillsUpToPWithoutTheGap) {
    const int x = 10, y = 20;
    bar.barPercent = 0;
    draw(x, y);
    // 0 is not above 5: the fill box runs from x + 5 back to x + 0, ordered into x..x + 5.
    EXPECT_EQ(at(x + 2, y + 8), kGreen);
    EXPECT_EQ(at(x + 4, y + 29), kGreen);
    EXPECT_EQ(at(x + 5, y + 8), kBlack);  // the shadow, one pixel to the right
    for (int px = x + 7; px < x + 250; ++px) ASSERT_EQ(at(px, y + 8), kWhite) << px;
}

TEST_F(ProgressBarTest, PercentAboveOneHundredStopsAtTheFrame) {
    const int x = 10, y = 20;
    bar.barPercent = 150;
    draw(x, y);
    // Drawn as 100: the fill ends at x + 256 - 5 (last pixel x + 250), the shadow next to it.
    EXPECT_EQ(at(x + 250, y + 8), kGreen);
    EXPECT_EQ(at(x + 251, y + 8), kBlack);
    EXPECT_EQ(at(x + 252, y + 8), kWhite);
    for (int px = x + 257; px < surface.width(); ++px) {
        for (int py = 0; py < surface.height(); ++py)
            ASSERT_EQ(at(px, py), kGrey) << px << ", " << py;
    }
}

}  // namespace
}  // namespace tessel
