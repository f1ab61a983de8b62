// TIFF files of every sample layout: 16-bit planar and interleaved RGB with their own colours,
// and damaged ones that load the same whatever fresh memory holds, or are refused.

#include <gtest/gtest.h>
#include <malloc.h>

#include <QTemporaryDir>
#include <cmath>

#include "imaging/CodecBridge.h"
#include "imaging/TiffFiles.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

constexpr int kWidth = 7;
constexpr int kHeight = 5;

// Samples that cover the range, the rounding boundaries of 16 to 8 bits among them.
unsigned sampleAt(int x, int y, int channel) {
    static const unsigned values[] = {0, 128, 129, 385, 386, 32767, 32896, 40000, 65407, 65535};
    return values[(x * 3 + y * 5 + channel * 7) % 10];
}

// A 16-bit sample to 8 bits: the nearest of the 256 levels, 65535 / 255 = 257 apart.
int eightBits(unsigned sample) {
    return int(std::lround(sample / 257.0));
}

std::optional<Surface> loadQuietly(const QString& file, QStringList& messages) {
    ScriptedServices services;
    auto bitmap = GraphicLoadImageFileToBitmap(file, 0, 0, 0, rgb(0, 200, 0));
    messages = services.messageTexts();
    return bitmap;
}

TEST(TiffReading, SixteenBitRgbOpensWithItsColoursPlanarOrInterleaved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const bool planar : {true, false}) {
        SCOPED_TRACE(planar ? "planar" : "interleaved");
        const QString file = dir.filePath(planar ? "plano.tif" : "mezcla.tif");
        ASSERT_FALSE(testing::tiffFile(file, kWidth, kHeight, 16, 3, planar, sampleAt).isEmpty());
        QStringList messages;
        const auto bitmap = loadQuietly(file, messages);
        ASSERT_TRUE(bitmap);
        EXPECT_TRUE(messages.isEmpty());
        ASSERT_EQ(bitmap->size(), QSize(kWidth, kHeight));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(bitmap->pixel(x, y),
                          rgb(eightBits(sampleAt(x, y, 0)), eightBits(sampleAt(x, y, 1)),
                              eightBits(sampleAt(x, y, 2))))
                    << x << ", " << y;
            }
        }
    }
    // Eight-bit planar samples come through unchanged.
    const QString file = dir.filePath("plano8.tif");
    const auto byte = [](int x, int y, int c) { return unsigned(x * 31 + y * 17 + c * 80) % 256; };
    ASSERT_FALSE(testing::tiffFile(file, kWidth, kHeight, 8, 3, true, byte).isEmpty());
    QStringList messages;
    const auto bitmap = loadQuietly(file, messages);
    ASSERT_TRUE(bitmap);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(bitmap->pixel(x, y), rgb(byte(x, y, 0), byte(x, y, 1), byte(x, y, 2)));
}

// A 16-bit file whose samples per pixel or sample layout says otherwise than its data, loaded
// twice with fresh memory filled differently: the same picture both times, or the read error.
TEST(TiffReading, DamagedSixteenBitFilesNeverShowUnwrittenMemory) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int loaded = 0;
    for (const bool planar : {true, false}) {
        const QByteArray whole =
            testing::tiffFile(dir.filePath("base.tif"), kWidth, kHeight, 16, 3, planar, sampleAt);
        ASSERT_FALSE(whole.isEmpty());
        std::vector<std::pair<int, quint32>> changes = {
            {TIFFTAG_SAMPLESPERPIXEL, 1}, {TIFFTAG_SAMPLESPERPIXEL, 2},
            {TIFFTAG_SAMPLESPERPIXEL, 4}, {TIFFTAG_PLANARCONFIG, planar ? 1u : 2u},
            {TIFFTAG_BITSPERSAMPLE, 8},   {TIFFTAG_BITSPERSAMPLE, 32}};
        for (const auto& [tag, value] : changes) {
            SCOPED_TRACE(::testing::Message() << (planar ? "planar" : "interleaved") << ", tag "
                                              << tag << " := " << value);
            QByteArray damaged = whole;
            ASSERT_TRUE(testing::setTiffTag(damaged, tag, value));
            const QString file = dir.filePath("dañado.tif");
            ASSERT_TRUE(testing::writeBytes(file, damaged));
            std::optional<QByteArray> first;
            for (const int fill : {0x5A, 0xA5}) {
                mallopt(M_PERTURB, fill);
                QStringList messages;
                const auto bitmap = loadQuietly(file, messages);
                mallopt(M_PERTURB, 0);
                const QByteArray pixels = bitmap ? bitmap->pixelBlock() : QByteArray();
                if (bitmap) {
                    EXPECT_TRUE(messages.isEmpty());
                } else {
                    EXPECT_EQ(messages,
                              QStringList{"[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] "
                                          "read error on <" +
                                          file + ">"});
                }
                if (!first) {
                    first = pixels;
                    loaded += bitmap ? 1 : 0;
                } else {
                    EXPECT_EQ(pixels, *first);
                }
            }
        }
    }
    EXPECT_GT(loaded, 0);  // some of them are still pictures libtiff can read whole
}

}  // namespace
}  // namespace tessel
