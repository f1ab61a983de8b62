// Pictures come in the right way up and in sRGB: the EXIF orientation of JPEG, PNG, TIFF and
// WebP files turns and mirrors them, an embedded colour profile is converted to sRGB, CMYK
// JPEG files show their colours; a picture without either keeps its bytes.

#include <gtest/gtest.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <jpeglib.h>
#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <csetjmp>
#include <cstdio>

#include "imaging/CodecBridge.h"
#include "imaging/PictureFileTest.h"
#include "imaging/Pictures.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

constexpr Colour kPaper = testing::kTestPaper;

// A TIFF block as EXIF carries it: its header and a first directory holding only the
// orientation, in either byte order.
QByteArray exifTiff(int orientation, bool bigEndian) {
    QByteArray bytes;
    const auto put = [&](quint32 value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = bigEndian ? 8 * (size - 1 - i) : 8 * i;
            bytes.append(char((value >> shift) & 0xFF));
        }
    };
    bytes += bigEndian ? QByteArray("MM") : QByteArray("II");
    put(42, 2);
    put(8, 4);       // the first directory follows the header
    put(1, 2);       // one entry:
    put(0x0112, 2);  // Orientation,
    put(3, 2);       // SHORT,
    put(1, 4);       // one value,
    put(quint32(orientation), 2);
    put(0, 2);  // the rest of the value field
    put(0, 4);  // no further directory
    return bytes;
}

QByteArray bigEndian16(int value) {
    QByteArray bytes;
    bytes.append(char((value >> 8) & 0xFF)).append(char(value & 0xFF));
    return bytes;
}

// The same size and the same colour in every pixel (whatever colour space each names).
::testing::AssertionResult samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return ::testing::AssertionFailure() << "sizes " << a.width() << "x" << a.height()
                                             << " and " << b.width() << "x" << b.height();
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex
                                                     << a.pixel(x, y) << " and " << b.pixel(x, y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

QByteArray jpegWithExif(const QByteArray& jpeg, const QByteArray& tiff) {
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + QByteArray("\xff\xe1", 2) + bigEndian16(int(payload.size()) + 2) +
           payload + jpeg.mid(2);
}

// The eXIf chunk right after the header chunk (which ends at byte 33).
QByteArray pngWithExif(const QByteArray& png, const QByteArray& tiff) {
    return png.left(33) + testing::pngChunk("eXIf", tiff) + png.mid(33);
}

QByteArray riffChunk(const char* type, const QByteArray& data) {
    QByteArray size(4, '\0');
    qToLittleEndian(quint32(data.size()), size.data());
    QByteArray chunk = QByteArray(type, 4) + size + data;
    if (data.size() % 2) chunk.append('\0');
    return chunk;
}

// A lossless WebP in the extended layout, with an EXIF chunk after the image.
QByteArray webpWithExif(const QImage& picture, const QByteArray& tiff) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    uint8_t* out = nullptr;
    const size_t size = WebPEncodeLosslessBGRA(argb.constBits(), argb.width(), argb.height(),
                                               int(argb.bytesPerLine()), &out);
    const QByteArray simple(reinterpret_cast<const char*>(out), qsizetype(size));
    WebPFree(out);
    QByteArray header(10, '\0');
    header[0] = 0x08;  // EXIF present
    const auto put24 = [&](int at, int value) {
        for (int i = 0; i < 3; ++i) header[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    put24(4, picture.width() - 1);
    put24(7, picture.height() - 1);
    const QByteArray body =
        QByteArray("WEBP") + riffChunk("VP8X", header) + simple.mid(12) + riffChunk("EXIF", tiff);
    QByteArray size32(4, '\0');
    qToLittleEndian(quint32(body.size()), size32.data());
    return QByteArray("RIFF") + size32 + body;
}

bool writeTiff(const QString& file, const QImage& picture, int orientation) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(file).constData(), "w");
    if (!tiff) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(picture.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(picture.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(orientation));
    bool ok = true;
    std::vector<uint8_t> row(size_t(picture.width()) * 3);
    for (int y = 0; ok && y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            row[size_t(x) * 3] = uint8_t(qRed(p));
            row[size_t(x) * 3 + 1] = uint8_t(qGreen(p));
            row[size_t(x) * 3 + 2] = uint8_t(qBlue(p));
        }
        ok = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    TIFFClose(tiff);
    return ok;
}

// The picture as the EXIF table describes each orientation: which stored pixel shows at
// (x, y) of the picture the right way up.
QImage shownAs(const QImage& stored, int orientation) {
    const int w = stored.width();
    const int h = stored.height();
    const bool across = orientation >= 5 && orientation <= 8;
    QImage shown(across ? h : w, across ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            QPoint from(x, y);
            switch (orientation) {
                case 2:
                    from = {w - 1 - x, y};
                    break;
                case 3:
                    from = {w - 1 - x, h - 1 - y};
                    break;
                case 4:
                    from = {x, h - 1 - y};
                    break;
                case 5:
                    from = {y, x};
                    break;
                case 6:
                    from = {y, h - 1 - x};
                    break;
                case 7:
                    from = {w - 1 - y, h - 1 - x};
                    break;
                case 8:
                    from = {w - 1 - y, x};
                    break;
                default:
                    break;
            }
            shown.setPixel(x, y, stored.pixel(from));
        }
    }
    return shown;
}

class NormaliseTest : public testing::PictureFileTest {};

TEST_F(NormaliseTest, EveryOrientationTurnsAndMirrorsAsTheExifTableSays) {
    // Sides of different lengths, and no two pixels alike, so that any wrong move shows.
    QImage stored(7, 4, QImage::Format_RGB32);
    for (int y = 0; y < stored.height(); ++y)
        for (int x = 0; x < stored.width(); ++x) stored.setPixel(x, y, qRgb(x * 36, y * 80, 200));
    const QImage big = stored.scaled(stored.size() * 8);  // blocks that JPEG keeps
    const QByteArray jpeg = testing::qtEncoded(big, "jpeg", 100);
    QImageReader jpegReader(written("sin.jpg", jpeg));
    jpegReader.setAutoTransform(false);
    const QImage jpegStored = jpegReader.read().convertToFormat(QImage::Format_RGB32);
    const QByteArray png = testing::qtEncoded(stored, "png");

    // 0 and values beyond 8 are nonsense: the picture shows as stored.
    for (const int orientation : {1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 300}) {
        SCOPED_TRACE(orientation);
        const QByteArray tiff = exifTiff(orientation, orientation % 2 == 0);
        EXPECT_TRUE(samePixels(opened(written("o.jpg", jpegWithExif(jpeg, tiff))),
                               shownAs(jpegStored, orientation)));
        EXPECT_TRUE(samePixels(opened(written("o.png", pngWithExif(png, tiff))),
                               shownAs(stored, orientation)));
        EXPECT_TRUE(samePixels(opened(written("o.webp", webpWithExif(stored, tiff))),
                               shownAs(stored, orientation)));
        if (orientation <= 8) {  // libtiff writes no other value
            ASSERT_TRUE(writeTiff(dir.filePath("o.tif"), stored, orientation));
            EXPECT_TRUE(samePixels(opened(dir.filePath("o.tif")), shownAs(stored, orientation)));
        }
    }
}

TEST_F(NormaliseTest, ATurnedPictureIsSavedAsItShowsWithNothingToTurnItAgain) {
    const QImage stored = testing::photoLike(30, 20);
    const QImage shown = shownAs(stored, 6);
    const QString file =
        written("girada.png", pngWithExif(testing::qtEncoded(stored, "png"), exifTiff(6, true)));
    ScriptedServices services;
    const std::optional<Surface> bitmap = LoadPictureAsBitmap(file, ImageSizeSetting{}, kPaper);
    ASSERT_TRUE(bitmap);
    for (const char* extension : {".png", ".tif", ".jpg", ".bmp"}) {
        SCOPED_TRACE(extension);
        const QString saved = dir.filePath(QStringLiteral("guardada") + extension);
        ASSERT_TRUE(SaveBitmapAsImageFile(*bitmap, saved));
        const QImage again = opened(saved);
        ASSERT_EQ(again.size(), shown.size());
        if (qstrcmp(extension, ".jpg") == 0) {
            EXPECT_LT(testing::meanError(again, shown), 2.0);
        } else {
            EXPECT_TRUE(samePixels(again, shown));
        }
    }
}

// The sRGB encoding of a linear light level, in 8-bit levels.
double srgbLevel(int linear) {
    const double v = linear / 255.0;
    const double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return s * 255;
}

TEST_F(NormaliseTest, AnEmbeddedProfileIsConvertedToSrgbAndAnSrgbOneLeavesTheBytes) {
    // Every level of every channel, stored as linear light with sRGB's primaries: sRGB encodes
    // each channel alone, so the converted picture is known level by level.
    QImage linear(256, 3, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x) {
        linear.setPixel(x, 0, qRgb(x, 0, 0));
        linear.setPixel(x, 1, qRgb(0, x, 0));
        linear.setPixel(x, 2, qRgb(x, x, x));
    }
    QImage tagged = linear;
    tagged.setColorSpace(
        QColorSpace(QColorSpace::Primaries::SRgb, QColorSpace::TransferFunction::Linear));
    for (const char* format : {"png", "tiff", "jpeg"}) {
        SCOPED_TRACE(format);
        const QImage shown = opened(
            written(QStringLiteral("lineal.") + format, testing::qtEncoded(tagged, format, 100)));
        // JPEG stores the levels nearly: the levels it gives back without the profile.
        const QImage stored =
            qstrcmp(format, "jpeg") == 0
                ? opened(written("lineal_sin.jpg", testing::qtEncoded(linear, format, 100)))
                : linear;
        ASSERT_EQ(shown.size(), linear.size());
        double sum = 0;
        double worst = 0;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 256; ++x) {
                const QRgb p = shown.pixel(x, y);
                const QRgb q = stored.pixel(x, y);
                for (const int shift : {16, 8, 0}) {  // red, green, blue
                    const double error =
                        std::abs(int((p >> shift) & 0xFF) - srgbLevel(int((q >> shift) & 0xFF)));
                    sum += error;
                    worst = std::max(worst, error);
                }
            }
        }
        EXPECT_LT(sum / (3 * 3 * 256), 0.6);
        EXPECT_LE(worst, 1.5);
    }
    // The same levels tagged as sRGB open byte for byte.
    QImage srgb = linear;
    srgb.setColorSpace(QColorSpace(QColorSpace::SRgb));
    EXPECT_TRUE(samePixels(opened(written("srgb.png", testing::qtEncoded(srgb, "png"))), linear));
    EXPECT_TRUE(
        samePixels(opened(written("srgb.jpg", testing::qtEncoded(srgb, "jpeg", 100))),
                   opened(written("sin_perfil.jpg", testing::qtEncoded(linear, "jpeg", 100)))));
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// A CMYK (or YCCK) JPEG with Adobe's marker, its inks stored inverted as Adobe programs do.
QByteArray cmykJpeg(const std::vector<std::array<int, 4>>& inks, int block, bool ycck) {
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = [](j_common_ptr i) {
        std::longjmp(reinterpret_cast<JpegError*>(i->err)->jump, 1);
    };
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(block * int(inks.size()));
    info.image_height = JDIMENSION(block);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(info.image_width) * 4);
    for (size_t i = 0; i < row.size(); ++i)
        row[i] = uchar(255 - inks[i / 4 / size_t(block)][i % 4]);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

TEST_F(NormaliseTest, CmykAndYcckJpegFilesOpenWithTheirColours) {
    const std::vector<std::array<int, 4>> inks = {
        {0, 0, 0, 0}, {255, 0, 0, 0}, {0, 200, 100, 0}, {30, 60, 90, 120}, {0, 0, 0, 255}};
    constexpr int kBlock = 16;
    for (const bool ycck : {false, true}) {
        SCOPED_TRACE(ycck ? "YCCK" : "CMYK");
        const QByteArray bytes = cmykJpeg(inks, kBlock, ycck);
        ASSERT_FALSE(bytes.isEmpty());
        const QImage shown = opened(written("cmyk.jpg", bytes));
        ASSERT_EQ(shown.size(), QSize(kBlock * int(inks.size()), kBlock));
        for (size_t i = 0; i < inks.size(); ++i) {
            // Each ink takes its share of the light away.
            const auto light = [&](int c) {
                return (255.0 - inks[i][size_t(c)]) * (255.0 - inks[i][3]) / 255.0;
            };
            const QRgb p = shown.pixel(int(i) * kBlock + kBlock / 2, kBlock / 2);
            EXPECT_NEAR(qRed(p), light(0), 2.0) << i;
            EXPECT_NEAR(qGreen(p), light(1), 2.0) << i;
            EXPECT_NEAR(qBlue(p), light(2), 2.0) << i;
        }
    }
}

TEST(NormalisePicture, APastedPictureInAnotherColourSpaceComesInSrgb) {
    QImage linear(256, 1, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x) linear.setPixel(x, 0, qRgb(x, x, x));
    EXPECT_TRUE(samePixels(normalisePicture(linear), linear));  // no colour space: as it is
    QImage tagged = linear;
    tagged.setColorSpace(QColorSpace(QColorSpace::SRgb));
    EXPECT_TRUE(samePixels(normalisePicture(tagged), linear));
    tagged.setColorSpace(
        QColorSpace(QColorSpace::Primaries::SRgb, QColorSpace::TransferFunction::Linear));
    const QImage shown = normalisePicture(tagged);
    for (const int x : {0, 1, 10, 64, 128, 200, 255}) {
        EXPECT_NEAR(qGreen(shown.pixel(x, 0)), srgbLevel(x), 1.5) << x;
    }
}

}  // namespace
}  // namespace tessel
