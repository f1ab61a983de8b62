// PNG files of every colour type and bit depth open with the pixels their samples say, and JPEG
// files keep coloured edges.
#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <QPainter>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "imaging/CodecBridge.h"
#include "imaging/Pictures.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

constexpr Colour kPaper = rgb(0, 200, 0);
constexpr int kWidth = 37;
constexpr int kHeight = 13;

// One PNG to make: its colour type, bit depth, whether a colour key is present, interlacing.
struct PngCase {
    int colourType;
    int bitDepth;
    bool colourKey;
    bool interlaced;
};

std::string describe(const PngCase& c) {
    char text[80];
    std::snprintf(text, sizeof text, "type %d, %d bits%s%s", c.colourType, c.bitDepth,
                  c.colourKey ? ", colour key" : "", c.interlaced ? ", interlaced" : "");
    return text;
}

int channelsOf(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY: return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        default: return 1;  // palette index
    }
}

// The raw sample of channel c at (x, y): spread over the whole range of the depth. Alpha is only
// ever fully transparent or fully opaque, so compositing needs no rounding rule.
unsigned sampleAt(const PngCase& pc, int x, int y, int c) {
    const unsigned max = (1u << pc.bitDepth) - 1;
    const bool alphaChannel = (pc.colourType == PNG_COLOR_TYPE_GRAY_ALPHA && c == 1) ||
                              (pc.colourType == PNG_COLOR_TYPE_RGB_ALPHA && c == 3);
    if (alphaChannel) return (x + y) % 5 == 0 ? 0 : max;
    if (pc.colourType == PNG_COLOR_TYPE_PALETTE) return unsigned(x * 3 + y * 5) % (max + 1);
    return unsigned(x * 7919 + y * 104729 + c * 12347) % (max + 1);
}

// The palette: entry i gets a colour of its own, entry 1 is the transparent one when keyed.
png_color paletteEntry(int i) {
    return png_color{png_byte(i * 37 % 256), png_byte(255 - i * 11 % 256), png_byte(i * 89 % 256)};
}

// The colour key of a grey or RGB picture: the samples of pixel (3, 2), so that some pixels match.
bool keyed(const PngCase& pc, int x, int y) {
    if (!pc.colourKey) return false;
    if (pc.colourType == PNG_COLOR_TYPE_PALETTE) return sampleAt(pc, x, y, 0) == 1;
    for (int c = 0; c < channelsOf(pc.colourType); ++c) {
        if (sampleAt(pc, x, y, c) != sampleAt(pc, 3, 2, c)) return false;
    }
    return true;
}

// A sample of any depth as 8 bits, to the nearest value.
int to8(unsigned v, int depth) {
    const unsigned max = (1u << depth) - 1;
    return int((v * 255 * 2 + max) / (2 * max));
}

// What the loaded canvas must show at (x, y): the sample's colour, or the paper where the pixel is
// transparent.
Colour expectedAt(const PngCase& pc, int x, int y) {
    if (keyed(pc, x, y)) return kPaper;
    const int d = pc.bitDepth;
    switch (pc.colourType) {
        case PNG_COLOR_TYPE_PALETTE: {
            const png_color e = paletteEntry(int(sampleAt(pc, x, y, 0)));
            return rgb(e.red, e.green, e.blue);
        }
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA: {
            if (pc.colourType == PNG_COLOR_TYPE_GRAY_ALPHA && sampleAt(pc, x, y, 1) == 0) return kPaper;
            const int g = to8(sampleAt(pc, x, y, 0), d);
            return rgb(g, g, g);
        }
        default:
            if (pc.colourType == PNG_COLOR_TYPE_RGB_ALPHA && sampleAt(pc, x, y, 3) == 0) return kPaper;
            return rgb(to8(sampleAt(pc, x, y, 0), d), to8(sampleAt(pc, x, y, 1), d),
                       to8(sampleAt(pc, x, y, 2), d));
    }
}

// Packs the samples of one row at the case's depth, most significant bits first, 16-bit samples
// big-endian, as the format stores them.
std::vector<png_byte> packedRow(const PngCase& pc, int y) {
    const int channels = channelsOf(pc.colourType);
    std::vector<png_byte> row((size_t(kWidth) * channels * pc.bitDepth + 7) / 8, 0);
    size_t bit = 0;
    for (int x = 0; x < kWidth; ++x) {
        for (int c = 0; c < channels; ++c) {
            const unsigned v = sampleAt(pc, x, y, c);
            if (pc.bitDepth == 16) {
                row[bit / 8] = png_byte(v >> 8);
                row[bit / 8 + 1] = png_byte(v & 0xFF);
            } else if (pc.bitDepth == 8) {
                row[bit / 8] = png_byte(v);
            } else {
                row[bit / 8] |= png_byte(v << (8 - pc.bitDepth - bit % 8));
            }
            bit += size_t(pc.bitDepth);
        }
    }
    return row;
}

bool writePng(const PngCase& pc, const QString& path) {
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, pc.bitDepth, pc.colourType,
                 pc.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    png_byte paletteAlpha[256];
    if (pc.colourType == PNG_COLOR_TYPE_PALETTE) {
        const int entries = 1 << pc.bitDepth;
        for (int i = 0; i < entries; ++i) {
            palette[i] = paletteEntry(i);
            paletteAlpha[i] = i == 1 ? 0 : 255;
        }
        png_set_PLTE(png, info, palette, entries);
        if (pc.colourKey) png_set_tRNS(png, info, paletteAlpha, 2, nullptr);
    } else if (pc.colourKey) {
        png_color_16 key{};
        key.gray = png_uint_16(sampleAt(pc, 3, 2, 0));
        key.red = png_uint_16(sampleAt(pc, 3, 2, 0));
        key.green = png_uint_16(sampleAt(pc, 3, 2, 1));
        key.blue = png_uint_16(sampleAt(pc, 3, 2, 2));
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < kHeight; ++y) rows.push_back(packedRow(pc, y));
    for (auto& row : rows) pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

std::vector<PngCase> everyPngKind() {
    std::vector<PngCase> cases;
    const auto add = [&](int type, std::initializer_list<int> depths, bool keyAllowed) {
        for (int depth : depths) {
            for (bool key : {false, true}) {
                if (key && !keyAllowed) continue;
                for (bool interlaced : {false, true}) cases.push_back({type, depth, key, interlaced});
            }
        }
    };
    add(PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}, true);
    add(PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}, true);
    add(PNG_COLOR_TYPE_RGB, {8, 16}, true);
    add(PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}, false);
    add(PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}, false);
    return cases;
}

TEST(PngFidelity, EveryColourTypeAndDepthOpensWithItsSamples) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const PngCase& pc : everyPngKind()) {
        SCOPED_TRACE(describe(pc));
        const QString file = dir.filePath(QString::fromStdString(describe(pc)) + ".png");
        ASSERT_TRUE(writePng(pc, file));
        ScriptedServices services;
        const std::optional<Surface> canvas = GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper);
        ASSERT_TRUE(canvas);
        EXPECT_TRUE(services.messages.isEmpty());
        ASSERT_EQ(canvas->width(), kWidth);
        ASSERT_EQ(canvas->height(), kHeight);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (canvas->pixel(x, y) != expectedAt(pc, x, y) && wrong++ < 3) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << canvas->pixel(x, y) << ", expected " << expectedAt(pc, x, y);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(PngFidelity, ADamagedSixteenBitKeyedPictureIsRefused) {
    QTemporaryDir dir;
    const PngCase pc{PNG_COLOR_TYPE_RGB, 16, true, false};
    const QString whole = dir.filePath("entera.png");
    ASSERT_TRUE(writePng(pc, whole));
    const QByteArray bytes = testing::readBytes(whole);
    // Cut inside the image data, and a flipped byte inside it (its checksum no longer matches).
    const int idat = int(bytes.indexOf("IDAT"));
    ASSERT_GT(idat, 0);
    QByteArray flipped = bytes;
    flipped[idat + 20] = char(flipped[idat + 20] ^ 0x40);
    for (const QByteArray& damaged : {bytes.left(idat + 30), flipped}) {
        const QString file = dir.filePath("rota.png");
        ASSERT_TRUE(testing::writeBytes(file, damaged));
        ScriptedServices services;
        EXPECT_FALSE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper));
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_TRUE(services.messages[0].text.contains("read error"));
    }
}

// Red, blue and green text, lines and boxes on white: the content this program makes most.
QImage colouredEdges() {
    QImage picture(600, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(32);
    painter.setFont(font);
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(10, 50, QStringLiteral("Texto rojo sobre blanco"));
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(10, 110, QStringLiteral("Azul y verde"));
    painter.setPen(QPen(QColor(0, 160, 0), 3));
    painter.drawLine(300, 80, 580, 190);
    painter.fillRect(QRect(420, 20, 60, 40), QColor(255, 200, 0));
    painter.end();
    return picture;
}

int largestError(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

TEST(JpegFidelity, ColouredEdgesComeBackWithinFourLevels) {
    QTemporaryDir dir;
    const Surface canvas(colouredEdges());
    const QString file = dir.filePath("bordes.jpg");
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(canvas, file));
    const QImage back(file);
    ASSERT_EQ(back.size(), canvas.image().size());
    EXPECT_LE(largestError(back, canvas.image()), 4);
}

TEST(JpegFidelity, APhotographComesBackCloseAndTheFileIsAJfif) {
    QTemporaryDir dir;
    const Surface photo(testing::photoLike(320, 240));
    const QString file = dir.filePath("foto.jpg");
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(photo, file));
    const QByteArray bytes = testing::readBytes(file);
    ASSERT_GT(bytes.size(), 11);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xD8", 2));
    EXPECT_EQ(bytes.mid(6, 5), QByteArray("JFIF\0", 5));
    const QImage back(file);
    ASSERT_EQ(back.size(), photo.image().size());
    // Quality 100 keeps even sensor-like noise (sigma 6 per channel) within about half a level.
    EXPECT_LT(testing::meanError(back, photo.image()), 0.6);
}

}  // namespace
}  // namespace tessel

namespace tessel {
namespace {

// A smooth photograph-like picture: gradients and soft light.
QImage smoothPhoto(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            const double v = double(y) / height;
            const double light = std::exp(-((u - 0.6) * (u - 0.6) + (v - 0.3) * (v - 0.3)) * 6);
            picture.setPixel(x, y, qRgb(int(40 + 150 * u + 60 * light), int(70 + 120 * v),
                                        int(200 - 100 * u * v + 50 * light) % 256));
        }
    }
    return picture;
}

TEST(TiffFiles, ArePredictedLzwRgbAndLossless) {
    QTemporaryDir dir;
    const Surface photo(smoothPhoto(400, 300));
    const QString file = dir.filePath("foto.tif");
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(photo, file));
    TIFF* tiff = TIFFOpen(QFile::encodeName(file).constData(), "r");
    ASSERT_NE(tiff, nullptr);
    uint16_t compression = 0, predictor = 0, samples = 0, bits = 0;
    TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tiff, TIFFTAG_PREDICTOR, &predictor);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFClose(tiff);
    EXPECT_EQ(compression, COMPRESSION_LZW);
    EXPECT_EQ(predictor, PREDICTOR_HORIZONTAL);
    EXPECT_EQ(samples, 3);
    EXPECT_EQ(bits, 8);
    EXPECT_LT(QFileInfo(file).size(), 400 * 300 * 3 / 2);
    const QImage back(file);
    ASSERT_EQ(back.size(), photo.image().size());
    EXPECT_EQ(testing::meanError(back, photo.image()), 0.0);
}

}  // namespace
}  // namespace tessel

#include <QBuffer>
#include <QImageWriter>

#include "imaging/JpegReader.h"

namespace tessel {
namespace {

QByteArray qtJpeg(const QImage& picture, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(picture));
    return bytes;
}

QImage qtDecoded(const QByteArray& bytes) {
    QImage picture;
    picture.loadFromData(bytes, "jpeg");
    return picture;
}

TEST(JpegReading, GivesQtsPixelsForColourGreyProgressiveAndFullColourFiles) {
    const QImage photo = testing::photoLike(123, 77);
    QTemporaryDir dir;
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(Surface(photo), dir.filePath("completa.jpg")));
    const QList<std::pair<const char*, QByteArray>> files = {
        {"colour, chroma halved", qtJpeg(photo, false)},
        {"progressive", qtJpeg(photo, true)},
        {"grey", qtJpeg(photo.convertToFormat(QImage::Format_Grayscale8), false)},
        {"full colour", testing::readBytes(dir.filePath("completa.jpg"))},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const JpegResult ours = readJpeg(bytes, kMaxPicturePixels);
        ASSERT_EQ(ours.outcome, JpegDecode::Decoded);
        const QImage theirs = qtDecoded(bytes);
        ASSERT_EQ(ours.picture.size(), theirs.size());
        EXPECT_EQ(ours.picture.format(), theirs.format());
        EXPECT_EQ(ours.picture, theirs);
    }
}

TEST(JpegReading, RefusesDamagedAndHugeFiles) {
    const QByteArray bytes = qtJpeg(testing::photoLike(64, 48), false);
    EXPECT_EQ(readJpeg(bytes.left(bytes.size() / 2), kMaxPicturePixels).outcome, JpegDecode::Refused);
    EXPECT_EQ(readJpeg(QByteArray("not a picture"), kMaxPicturePixels).outcome, JpegDecode::Refused);
    EXPECT_EQ(readJpeg(bytes, 64 * 48 - 1).outcome, JpegDecode::Refused);
    EXPECT_EQ(readJpeg(bytes, 64 * 48).outcome, JpegDecode::Decoded);
}

}  // namespace
}  // namespace tessel
