// Creating a blank paper: the size limits with their message, the millimetre conversion, the
// plain fill and the texture copied from its top-left corner.

#include <gtest/gtest.h>

#include "page/Paper.h"
#include "platform/BuiltinPictures.h"
#include "platform/LongWork.h"
#include "support/ProgressWatch.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

PaperSettings paperOf(int widthMm, int heightMm) {
    PaperSettings paper;
    paper.widthMm = std::int16_t(widthMm);
    paper.heightMm = std::int16_t(heightMm);
    paper.accepted = 1;
    return paper;
}

const QString kLimitsMessage = QStringLiteral(
    "El tamaño del papel no puede ser superior a : \r\n318 x 238 milimetros\r\n"
    " ni tampoco puede ser menor de 10 x 10 milimetros");

struct RefusedSize {
    int widthMm;
    int heightMm;
};

class PaperRefused : public ::testing::TestWithParam<RefusedSize> {};

TEST_P(PaperRefused, ShowsTheLimitsAndCreatesNothing) {
    testing::ScriptedServices scripted;
    const auto canvas = CreatePaper(paperOf(GetParam().widthMm, GetParam().heightMm));
    EXPECT_FALSE(canvas.has_value());
    ASSERT_EQ(scripted.messages.size(), 1);
    EXPECT_EQ(scripted.messages[0].caption, QStringLiteral("Programador"));
    EXPECT_EQ(scripted.messages[0].text, kLimitsMessage);
    EXPECT_FALSE(scripted.messages[0].yesNo);
}

INSTANTIATE_TEST_SUITE_P(OutsideTheLimits, PaperRefused,
                         ::testing::Values(RefusedSize{9, 10}, RefusedSize{10, 9},
                                           RefusedSize{319, 238}, RefusedSize{318, 239},
                                           RefusedSize{210, 297}, RefusedSize{0, 0},
                                           RefusedSize{0, 100}, RefusedSize{-20, 100},
                                           RefusedSize{32767, 32767}));

struct AcceptedSize {
    int widthMm;
    int heightMm;
    int widthPx;
    int heightPx;
};

class PaperAccepted : public ::testing::TestWithParam<AcceptedSize> {};

TEST_P(PaperAccepted, GivesTheConvertedSizeSilently) {
    testing::ScriptedServices scripted;
    const AcceptedSize size = GetParam();
    const auto canvas = CreatePaper(paperOf(size.widthMm, size.heightMm));
    ASSERT_TRUE(canvas.has_value());
    EXPECT_EQ(canvas->width(), size.widthPx);
    EXPECT_EQ(canvas->height(), size.heightPx);
    EXPECT_TRUE(scripted.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(WithinTheLimits, PaperAccepted,
                         ::testing::Values(AcceptedSize{10, 10, 38, 38},
                                           AcceptedSize{318, 238, 1202, 900},
                                           AcceptedSize{297, 210, 1123, 794},
                                           AcceptedSize{100, 10, 378, 38},
                                           AcceptedSize{10, 238, 38, 900}));

TEST(PaperCreate, PlainPaperIsThePaperColourEverywhere) {
    testing::ScriptedServices scripted;
    PaperSettings paper = paperOf(20, 15);
    paper.paperColour = rgb(10, 200, 30);
    paper.useTexture = 0;
    const auto canvas = CreatePaper(paper);
    ASSERT_TRUE(canvas.has_value());
    for (int y = 0; y < canvas->height(); ++y)
        for (int x = 0; x < canvas->width(); ++x)
            ASSERT_EQ(canvas->pixel(x, y), paper.paperColour) << x << "," << y;
}

TEST(PaperCreate, TexturedPaperCopiesTheTextureTopLeftUnscaled) {
    testing::ScriptedServices scripted;
    PaperSettings paper = paperOf(100, 100);
    paper.useTexture = 1;
    paper.textureNumber = 24;
    paper.paperColour = rgb(1, 2, 3);
    const auto canvas = CreatePaper(paper);
    ASSERT_TRUE(canvas.has_value());
    ASSERT_EQ(canvas->size(), QSize(378, 378));

    const Surface texture(platform::texturePicture(24));
    ASSERT_GE(texture.width(), 378);
    ASSERT_GE(texture.height(), 378);
    for (int y = 0; y < 378; ++y)
        for (int x = 0; x < 378; ++x)
            ASSERT_EQ(canvas->pixel(x, y), texture.pixel(x, y)) << x << "," << y;
}

TEST(PaperCreate, TextureSmallerThanThePaperLeavesThePaperColourBeyondIt) {
    testing::ScriptedServices scripted;
    // The largest paper is 1202 x 900; look for a texture that does not cover it.
    int number = 0;
    QSize textureSize;
    for (int n = 1; n <= platform::kTextureCount && number == 0; ++n) {
        const QImage picture = platform::texturePicture(n);
        if (!picture.isNull() && (picture.width() < 1202 || picture.height() < 900)) {
            number = n;
            textureSize = picture.size();
        }
    }
    if (number == 0) GTEST_SKIP() << "every texture covers the largest paper";

    PaperSettings paper = paperOf(318, 238);
    paper.useTexture = 1;
    paper.textureNumber = std::int16_t(number);
    paper.paperColour = rgb(250, 5, 120);
    const auto canvas = CreatePaper(paper);
    ASSERT_TRUE(canvas.has_value());
    const Surface texture(platform::texturePicture(number));
    const int lastX = std::min(textureSize.width(), 1202) - 1;
    const int lastY = std::min(textureSize.height(), 900) - 1;
    EXPECT_EQ(canvas->pixel(lastX, lastY), texture.pixel(lastX, lastY));
    if (textureSize.width() < 1202) {
        EXPECT_EQ(canvas->pixel(1201, 0), paper.paperColour);
    }
    if (textureSize.height() < 900) {
        EXPECT_EQ(canvas->pixel(0, 899), paper.paperColour);
    }
    EXPECT_EQ(canvas->pixel(1201, 899), paper.paperColour);
}

TEST(PaperCreate, ATextureSlowToMakeShowsProgressAndTheSamePaper) {
    // The largest paper on texture 24: made once as it is, then with the work made slower than
    // the progress window's delay. Plain paper has nothing to wait for.
    testing::ScriptedServices scripted;
    PaperSettings paper = paperOf(318, 238);
    paper.useTexture = 1;
    paper.textureNumber = 24;
    const auto direct = CreatePaper(paper);
    ASSERT_TRUE(direct.has_value());
    platform::setLongWorkDelayForTesting(3 * platform::kProgressDelayMs);
    std::optional<Surface> slow;
    {
        const testing::ProgressWatch watch(2 * platform::kProgressDelayMs);
        slow = CreatePaper(paper);
        EXPECT_TRUE(watch.shown);
        EXPECT_EQ(watch.label, QStringLiteral("Creando papel ..."));
    }
    {
        paper.useTexture = 0;
        const testing::ProgressWatch watch(2 * platform::kProgressDelayMs);
        EXPECT_TRUE(CreatePaper(paper).has_value());
        EXPECT_FALSE(watch.looked);
    }
    platform::setLongWorkDelayForTesting(0);
    ASSERT_TRUE(slow.has_value());
    EXPECT_EQ(slow->image(), direct->image());
    EXPECT_TRUE(scripted.messages.isEmpty());
}

}  // namespace
}  // namespace tessel
