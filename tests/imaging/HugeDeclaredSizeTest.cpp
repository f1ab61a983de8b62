// Tiny files declaring huge pictures, in every format the program reads: each is refused at
// once, without taking memory for the pixels it declares.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <ctime>

#include "imaging/AllocationProbe.h"
#include "imaging/CodecBridge.h"
#include "imaging/IconFile.h"
#include "imaging/Pictures.h"
#include "imaging/TiffFiles.h"

namespace tessel {
namespace {

// Far below the 4 GB a 65535 x 65535 picture takes, far above what reading a header needs.
constexpr std::size_t kMostMemory = 64u * 1024 * 1024;

void putLe(QByteArray& bytes, qsizetype at, quint32 value, int width) {
    for (int k = 0; k < width; ++k) bytes[at + k] = char((value >> (8 * k)) & 0xFF);
}
void putBe(QByteArray& bytes, qsizetype at, quint32 value, int width) {
    for (int k = 0; k < width; ++k) bytes[at + k] = char((value >> (8 * (width - 1 - k))) & 0xFF);
}

// A run-length BMP (8 or 4 bits) of width x height whose runs end at once.
QByteArray runLengthBmp(quint32 width, quint32 height, int bits) {
    QByteArray file(14 + 40 + 8 + 4, '\0');
    file[0] = 'B';
    file[1] = 'M';
    putLe(file, 2, quint32(file.size()), 4);
    putLe(file, 10, 14 + 40 + 8, 4);
    putLe(file, 14, 40, 4);
    putLe(file, 18, width, 4);
    putLe(file, 22, height, 4);
    putLe(file, 26, 1, 2);
    putLe(file, 28, quint32(bits), 2);
    putLe(file, 30, bits == 8 ? 1 : 2, 4);  // run-length coding
    putLe(file, 46, 2, 4);                  // two colours
    putLe(file, 62, 0x0100'0000, 4);        // one run of nothing, then the end of the picture
    return file;
}

struct HugeFile {
    const char* name;
    QByteArray bytes;
};

std::vector<HugeFile> hugeFiles(const QTemporaryDir& dir) {
    const QImage small = testing::photoLike(8, 6);
    std::vector<HugeFile> files;

    QByteArray png = testing::qtEncoded(small, "png");  // IHDR: width at 16, height at 20
    putBe(png, 16, 100000, 4);
    putBe(png, 20, 100000, 4);
    files.push_back({"PNG", png});

    QByteArray jpeg = testing::qtEncoded(small, "jpeg");
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    EXPECT_GT(frame, 0);
    putBe(jpeg, frame + 5, 65500, 2);
    putBe(jpeg, frame + 7, 65500, 2);
    files.push_back({"JPEG", jpeg});

    const QByteArray gif = QByteArray("GIF89a") + QByteArray("\xff\xff\xff\xff\x80\x00\x00", 7) +
                           QByteArray("\x00\x00\x00\xff\xff\xff", 6) +
                           QByteArray("\x2c\0\0\0\0\xff\xff\xff\xff\0", 10) +
                           QByteArray("\x02\x02\x44\x01\x00\x3b", 6);
    files.push_back({"GIF", gif});

    files.push_back({"BMP, 8-bit runs", runLengthBmp(65535, 65535, 8)});
    files.push_back({"BMP, 4-bit runs", runLengthBmp(65535, 65535, 4)});
    QByteArray bmp = testing::qtEncoded(small, "bmp");
    putLe(bmp, 18, 65535, 4);
    putLe(bmp, 22, 65535, 4);
    files.push_back({"BMP", bmp});

    for (const bool planar : {false, true}) {
        QByteArray tiff = testing::tiffFile(dir.filePath("huge.tif"), 8, 6, 16, 3, planar,
                                            [](int x, int y, int c) { return x * y * c * 999; });
        EXPECT_TRUE(testing::setTiffTag(tiff, TIFFTAG_IMAGEWIDTH, 65535));
        EXPECT_TRUE(testing::setTiffTag(tiff, TIFFTAG_IMAGELENGTH, 65535));
        EXPECT_TRUE(testing::setTiffTag(tiff, TIFFTAG_ROWSPERSTRIP, 65535));
        files.push_back({planar ? "TIFF, planar" : "TIFF", tiff});
    }
    return files;
}

// Refused, taking no memory near the declared pixels and no noticeable time.
template <typename Read>
void expectRefusedAtOnce(const char* name, Read read) {
    SCOPED_TRACE(name);
    const std::clock_t start = std::clock();
    bool refused = false;
    std::size_t largest = 0;
    {
        const testing::AllocationProbe probe(kMostMemory);
        refused = !read();
        largest = probe.largestRequest();
    }
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_TRUE(refused);
    EXPECT_LE(largest, kMostMemory);
    EXPECT_LT(seconds, 2.0);
}

TEST(HugeDeclaredSize, EveryFormatIsRefusedBeforeItsPixelsTakeMemory) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const HugeFile& file : hugeFiles(dir)) {
        expectRefusedAtOnce(file.name, [&] { return decodePicture(file.bytes).has_value(); });
    }
    // An icon whose image is a PNG declaring 100000 x 100000.
    QByteArray png = testing::qtEncoded(testing::photoLike(8, 6), "png");
    putBe(png, 16, 100000, 4);
    putBe(png, 20, 100000, 4);
    QByteArray icon(22, '\0');
    putLe(icon, 2, 1, 2);
    putLe(icon, 4, 1, 2);
    putLe(icon, 10, 1, 2);
    putLe(icon, 12, 32, 2);
    putLe(icon, 14, quint32(png.size()), 4);
    putLe(icon, 18, 22, 4);
    const QString iconPath = dir.filePath("enorme.ico");
    ASSERT_TRUE(testing::writeBytes(iconPath, icon + png));
    expectRefusedAtOnce("ICO", [&] { return readIconFile(iconPath).has_value(); });
}

// The same files at a small size load, so the refusals above come from the declared size.
TEST(HugeDeclaredSize, TheSameFilesAtTheirOwnSizeLoad) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage small = testing::photoLike(8, 6);
    EXPECT_TRUE(decodePicture(testing::qtEncoded(small, "png")));
    EXPECT_TRUE(decodePicture(testing::qtEncoded(small, "jpeg")));
    EXPECT_TRUE(decodePicture(testing::qtEncoded(small, "bmp")));
    for (const bool planar : {false, true}) {
        EXPECT_TRUE(decodePicture(testing::tiffFile(dir.filePath("small.tif"), 8, 6, 16, 3, planar,
                                                    [](int x, int y, int c) { return x * y * c; })))
            << planar;
    }
}

}  // namespace
}  // namespace tessel
