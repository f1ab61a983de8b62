// The JPEG writer's output held in memory: a file that outgrows its limit, however far it had
// grown, fails cleanly and leaves nothing behind.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <cstdint>

#include "imaging/JpegWriter.h"

namespace tessel {
namespace {

// Pixels without any pattern: at the highest quality they take about three bytes each.
QImage noise(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = 0xFF000000u | (state >> 8);
        }
    }
    return picture;
}

TEST(JpegWriter, AFileOverItsLimitFailsWhereverTheLimitFalls) {
    const QImage picture = noise(400, 300);
    const std::optional<QByteArray> whole = encodeJpegFullColour(picture);
    ASSERT_TRUE(whole);
    QByteArray copy = *whole;
    QBuffer buffer(&copy);
    QImageReader reader(&buffer, "jpeg");
    EXPECT_EQ(reader.read().size(), picture.size());
    // The file is many times the first 64 KiB the writer takes, so a limit between them fails
    // after its memory grew, which it must give back once.
    const auto size = std::size_t(whole->size());
    ASSERT_GT(size, std::size_t(3 * 64 * 1024));
    for (const std::size_t limit :
         {std::size_t(0), std::size_t(1), std::size_t(64 * 1024), std::size_t(64 * 1024 + 1),
          std::size_t(2 * 64 * 1024 + 7), size - 1}) {
        EXPECT_FALSE(encodeJpegFullColour(picture, limit)) << "limit " << limit;
    }
    for (const std::size_t limit : {size, size + 1}) {
        const std::optional<QByteArray> fits = encodeJpegFullColour(picture, limit);
        ASSERT_TRUE(fits) << "limit " << limit;
        EXPECT_EQ(*fits, *whole);
    }
}

}  // namespace
}  // namespace tessel
