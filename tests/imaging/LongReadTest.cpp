// Reading a large picture runs as long work: a read that takes long shows the progress window,
// and the canvas is the picture a direct decode of the same bytes gives.

#include <gtest/gtest.h>

#include "imaging/PictureFileTest.h"
#include "imaging/Pictures.h"
#include "platform/LongWork.h"
#include "support/ProgressWatch.h"

namespace tessel {
namespace {

class LongReadTest : public testing::PictureFileTest {
  protected:
    void TearDown() override { platform::setLongWorkDelayForTesting(0); }
};

TEST_F(LongReadTest, ASlowReadShowsProgressAndGivesTheSamePicture) {
    // A photograph of two megapixels in a PNG file of megabytes, a plain JPEG of the same size in
    // a file of a few kilobytes (large by what its header declares), and a small picture.
    QImage plain(2000, 1000, QImage::Format_RGB32);
    plain.fill(qRgb(200, 120, 40));
    struct Case {
        QString file;
        bool large;
    };
    const Case cases[] = {
        {written(QStringLiteral("photo.png"),
                 testing::qtEncoded(testing::photoLike(2000, 1000), "png")),
         true},
        {written(QStringLiteral("plain.jpg"), testing::qtEncoded(plain, "jpeg", 90)), true},
        {written(QStringLiteral("small.png"),
                 testing::qtEncoded(testing::photoLike(300, 200), "png")),
         false},
    };
    ASSERT_GE(testing::readBytes(cases[0].file).size(), 1024 * 1024);
    ASSERT_LT(testing::readBytes(cases[1].file).size(), 1024 * 1024);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const std::optional<QImage> direct = decodePicture(testing::readBytes(c.file));
        ASSERT_TRUE(direct);
        // Read at once, and read with the work made slower than the progress window's delay.
        for (const int delay : {0, 3 * platform::kProgressDelayMs}) {
            platform::setLongWorkDelayForTesting(delay);
            const testing::ProgressWatch watch(2 * platform::kProgressDelayMs);
            const QImage canvas = opened(c.file);
            EXPECT_EQ(canvas, direct->convertToFormat(QImage::Format_RGB32));
            if (delay > 0) {
                EXPECT_EQ(watch.shown, c.large);
                if (c.large) {
                    EXPECT_EQ(watch.label, QStringLiteral("Leyendo imagen ..."));
                }
            }
        }
    }
}

}  // namespace
}  // namespace tessel
