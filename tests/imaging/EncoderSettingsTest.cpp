// Saving runs on a thread of its own while the window's thread goes on: an encoder must leave
// every setting another thread could see (a library's message handlers, the number of threads
// its parallel parts may use) as it found it.

#include <gtest/gtest.h>
#include <omp.h>
#include <tiffio.h>

#include <QImage>
#include <cstdarg>

#include "imaging/GifWriter.h"
#include "imaging/TiffWriter.h"

namespace tessel {
namespace {

void ownHandler(const char*, const char*, va_list) {}

QImage stripes(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 7, y * 5, (x ^ y) & 0xFF));
    }
    return picture;
}

TEST(EncoderSettings, TiffLeavesLibtiffsHandlersAsTheyWere) {
    const TIFFErrorHandler errors = TIFFSetErrorHandler(ownHandler);
    const TIFFErrorHandler warnings = TIFFSetWarningHandler(ownHandler);
    EXPECT_TRUE(encodeTiff(stripes(40, 30)));
    EXPECT_EQ(TIFFSetErrorHandler(errors), &ownHandler);
    EXPECT_EQ(TIFFSetWarningHandler(warnings), &ownHandler);
}

TEST(EncoderSettings, GifLeavesTheNumberOfThreadsAsItWas) {
    const int before = omp_get_max_threads();
    omp_set_num_threads(3);
    EXPECT_TRUE(encodeGif(stripes(200, 150)));
    EXPECT_EQ(omp_get_max_threads(), 3);
    omp_set_num_threads(before);
}

}  // namespace
}  // namespace tessel
