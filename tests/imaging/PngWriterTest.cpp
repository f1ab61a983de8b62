#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <random>

#include "imaging/CodecBridge.h"
#include "imaging/DeflateBands.h"
#include "imaging/Pictures.h"
#include "imaging/PngWriter.h"

namespace tessel {
namespace {

QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(11);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = random() | 0xFF000000u;
    }
    return image;
}

QImage flat(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 7));
    return image;
}

// The file's pixels as libpng's simplified reader gives them, red, green and blue.
std::vector<png_byte> libpngPixels(const QByteArray& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.constData(), std::size_t(file.size()))) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = int(image.width);
    height = int(image.height);
    return pixels;
}

// The image data of a file: its IDAT chunks joined and inflated.
QByteArray imageData(const QByteArray& file, std::size_t size) {
    QByteArray deflated;
    for (qsizetype at = 8; at + 12 <= file.size();) {
        const auto* b = reinterpret_cast<const uchar*>(file.constData() + at);
        const qsizetype length = qsizetype(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3];
        if (file.mid(at + 4, 4) == "IDAT") deflated += file.mid(at + 8, length);
        at += 12 + length;
    }
    QByteArray data(qsizetype(size) + 1, '\0');  // one byte more shows data beyond the rows
    uLongf written = uLongf(data.size());
    if (uncompress(reinterpret_cast<Bytef*>(data.data()), &written,
                   reinterpret_cast<const Bytef*>(deflated.constData()),
                   uLong(deflated.size())) != Z_OK) {
        return {};
    }
    data.resize(qsizetype(written));
    return data;
}

// Whether a file's rows, unfiltered by the PNG rules, are `size` pixels of the colour.
bool everyPixelIs(const QByteArray& file, QSize size, QRgb colour) {
    const std::size_t n = std::size_t(size.width()) * 3;
    const QByteArray data = imageData(file, (n + 1) * std::size_t(size.height()));
    if (std::size_t(data.size()) != (n + 1) * std::size_t(size.height())) return false;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    std::vector<uchar> above(n + 3, 0), row(n + 3, 0);  // three zeros left of each row
    const uchar want[3] = {uchar(qRed(colour)), uchar(qGreen(colour)), uchar(qBlue(colour))};
    for (int y = 0; y < size.height(); ++y) {
        const uchar type = *bytes++;
        if (type > 4) return false;
        for (std::size_t i = 3; i < n + 3; ++i) {
            const int a = row[i - 3], b = above[i], c = above[i - 3];
            int predicted = 0;
            if (type == 1) predicted = a;
            if (type == 2) predicted = b;
            if (type == 3) predicted = (a + b) / 2;
            if (type == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b);
                const int pc = std::abs(p - c);
                predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            row[i] = uchar(*bytes++ + predicted);
            if (row[i] != want[(i - 3) % 3]) return false;
        }
        std::swap(row, above);
    }
    return true;
}

// Both libpng and Qt decode the file to exactly the picture's pixels.
void expectExactPixels(const QByteArray& file, const QImage& picture, const char* what) {
    int width = 0, height = 0;
    const std::vector<png_byte> pixels = libpngPixels(file, width, height);
    ASSERT_EQ(QSize(width, height), picture.size()) << what << ": libpng cannot read the file";
    const QImage qt = QImage::fromData(file, "PNG");
    ASSERT_EQ(qt.size(), picture.size()) << what << ": Qt cannot read the file";
    ASSERT_EQ(qt.format(), QImage::Format_RGB32) << what;
    std::size_t at = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* back = reinterpret_cast<const QRgb*>(qt.constScanLine(y));
        for (int x = 0; x < width; ++x, at += 3) {
            const QRgb p = row[x];
            ASSERT_EQ(qRgb(pixels[at], pixels[at + 1], pixels[at + 2]), p | 0xFF000000u)
                << what << ": libpng at " << x << ", " << y;
            ASSERT_EQ(back[x], p | 0xFF000000u) << what << ": Qt at " << x << ", " << y;
        }
    }
}

// Chunks in file order: type and data.
QList<std::pair<QByteArray, QByteArray>> chunksOf(const QByteArray& file) {
    QList<std::pair<QByteArray, QByteArray>> chunks;
    for (qsizetype at = 8; at + 12 <= file.size();) {
        const auto* b = reinterpret_cast<const uchar*>(file.constData() + at);
        const qsizetype length = qsizetype(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3];
        const QByteArray typeAndData = file.mid(at + 4, length + 4);
        const auto* c = reinterpret_cast<const uchar*>(file.constData() + at + 8 + length);
        const quint32 stored = quint32(c[0]) << 24 | c[1] << 16 | c[2] << 8 | c[3];
        EXPECT_EQ(stored, crc32(0, reinterpret_cast<const Bytef*>(typeAndData.constData()),
                                uInt(typeAndData.size())))
            << typeAndData.left(4).constData() << " chunk's CRC";
        chunks.append({typeAndData.left(4), typeAndData.mid(4)});
        at += 12 + length;
    }
    return chunks;
}

QByteArray qtPng(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(picture);
    return bytes;
}

TEST(PngWriterTest, EverySizeAndContentDecodesToThePicturePixelForPixel) {
    struct Case {
        const char* what;
        QImage picture;
    };
    const Case cases[] = {
        {"1 x 1", testing::photoLike(1, 1)},         {"2 x 2", testing::photoLike(2, 2)},
        {"1 x 40", testing::photoLike(1, 40)},       {"40 x 1", testing::photoLike(40, 1)},
        {"odd 37 x 23", testing::photoLike(37, 23)}, {"odd 333 x 3", testing::photoLike(333, 3)},
        {"noise 301 x 211", noise(301, 211)},        {"flat 257 x 129", flat(257, 129)},
    };
    for (const Case& c : cases) {
        const std::optional<QByteArray> file = encodePng(c.picture);
        ASSERT_TRUE(file) << c.what;
        expectExactPixels(*file, c.picture, c.what);
    }
}

TEST(PngWriterTest, BandsJoinIntoOneStreamForAnyCountAndContent) {
    // Every count from one band to more bands than rows (which gives one row a band), on
    // pictures whose streams end in compressed blocks (photograph, flat) or stored ones (noise).
    const QImage pictures[] = {testing::photoLike(97, 61), noise(97, 61), flat(97, 61)};
    for (const QImage& picture : pictures) {
        for (const int bands : {1, 2, 3, 7, 60, 61, 62, 1000}) {
            const std::optional<QByteArray> file = encodePng(picture, bands);
            ASSERT_TRUE(file) << bands;
            expectExactPixels(*file, picture, "banded");
        }
        const QImage twoRows = picture.copy(0, 0, 97, 2);
        expectExactPixels(*encodePng(twoRows, 2), twoRows, "two rows, two bands");
    }
}

TEST(PngWriterTest, APictureOfSeveralMegabytesIsSplitAndStaysExact) {
    // Over a mebibyte a band: as many bands as cores; noise makes stored blocks of the maximum
    // length and IDAT chunks of the maximum size.
    const QImage photo = testing::photoLike(1500, 1100, 3);
    const std::optional<QByteArray> file = encodePng(photo);
    ASSERT_TRUE(file);
    expectExactPixels(*file, photo, "photograph");
    const QImage random = noise(1200, 900);
    const std::optional<QByteArray> stored = encodePng(random, 4);
    ASSERT_TRUE(stored);
    expectExactPixels(*stored, random, "noise");
    // Incompressible rows cost little more than their raw bytes.
    EXPECT_LT(stored->size(), qsizetype(1200 * 3 + 1) * 900 * 101 / 100);
}

TEST(PngWriterTest, TheChunksBesideTheImageAreThoseQtWrites) {
    QImage plain = testing::photoLike(31, 9);
    QImage described = plain;
    described.setDotsPerMeterX(2835);
    described.setDotsPerMeterY(5669);
    described.setOffset(QPoint(-4, 17));
    described.setColorSpace(QColorSpace(QColorSpace::SRgb));
    described.setText("Title", "Elefantes");
    described.setText("Comment", QString(60, QLatin1Char('x')));               // compressed text
    described.setText("Author", QStringLiteral("Ñandú \u20AC"));               // international
    described.setText("Description", QStringLiteral("línea\tcon tabulador"));  // control char
    QImage custom = plain;
    custom.setColorSpace(QColorSpace(QPointF(0.3127, 0.329), QPointF(0.64, 0.33),
                                     QPointF(0.21, 0.71), QPointF(0.15, 0.06),
                                     QColorSpace::TransferFunction::Gamma, 2.2f));
    QImage none = plain;
    none.setDotsPerMeterX(0);
    none.setDotsPerMeterY(0);
    // Qt writes no file at all for a key libpng refuses; ours leaves that text out.
    QImage refusedKey = described;
    refusedKey.setText("  \t", "a key without a printable character");
    const std::pair<QImage, QImage> cases[] = {{plain, plain},
                                               {described, described},
                                               {custom, custom},
                                               {none, none},
                                               {refusedKey, described}};
    for (const auto& [picture, asQtWrites] : cases) {
        const std::optional<QByteArray> ours = encodePng(picture);
        ASSERT_TRUE(ours);
        auto expected = chunksOf(qtPng(asQtWrites));
        auto written = chunksOf(*ours);
        const auto isData = [](const auto& chunk) { return chunk.first == "IDAT"; };
        expected.removeIf(isData);
        written.removeIf(isData);
        ASSERT_EQ(written.size(), expected.size());
        for (qsizetype i = 0; i < written.size(); ++i) {
            EXPECT_EQ(written[i].first, expected[i].first) << i;
            EXPECT_EQ(written[i].second, expected[i].second) << written[i].first.constData();
        }
        EXPECT_EQ(written.front().first, "IHDR");
        EXPECT_EQ(written.back().first, "IEND");
        // What Qt reads back: the same resolution, offset, colour space and texts.
        const QImage back = QImage::fromData(*ours, "PNG");
        EXPECT_EQ(back.dotsPerMeterX(), picture.dotsPerMeterX());
        EXPECT_EQ(back.offset(), picture.offset());
        EXPECT_EQ(back.colorSpace(), picture.colorSpace());
        EXPECT_EQ(back.textKeys(), asQtWrites.textKeys());
        for (const QString& key : asQtWrites.textKeys()) {
            EXPECT_EQ(back.text(key), picture.text(key)) << key.toStdString();
        }
    }
}

TEST(PngWriterTest, AnEmptyPictureHasNoFile) {
    EXPECT_FALSE(encodePng(QImage()));
}

TEST(PngWriterTest, TheWidestAndTallestPicturesAllowedAreWritten) {
    // One column of the most pixels a picture may have, and one row as wide as a QImage row
    // can be (one pixel less: its bits must be counted in an int), each in two bands. libpng
    // reads no side over a million pixels unless told to: the rows are inflated and
    // unfiltered here.
    const QRgb colour = qRgb(3, 250, 77);
    for (const QSize size :
         {QSize(1, int(kMaxPicturePixels)), QSize(int(kMaxPicturePixels) - 1, 1)}) {
        QImage picture(size, QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull());
        picture.fill(colour);
        const std::optional<QByteArray> file = encodePng(picture, 2);
        picture = QImage();
        ASSERT_TRUE(file);
        EXPECT_TRUE(everyPixelIs(*file, size, colour)) << size.width() << " x " << size.height();
    }
}

// A raw deflate stream made by zlib, ending in the block type the strategy gives.
ByteBuffer zlibDeflated(const QByteArray& data, int level, int strategy) {
    z_stream s{};
    deflateInit2(&s, level, Z_DEFLATED, -MAX_WBITS, 8, strategy);
    ByteBuffer out(deflateBound(&s, uLong(data.size())) + 16);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    s.avail_in = uInt(data.size());
    s.next_out = out.data();
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    out.resize(out.size() - s.avail_out);
    deflateEnd(&s);
    return out;
}

QByteArray inflated(const ByteBuffer& stream) {
    z_stream s{};
    inflateInit2(&s, -MAX_WBITS);
    QByteArray out(1 << 20, '\0');
    s.next_in = const_cast<Bytef*>(stream.data());
    s.avail_in = uInt(stream.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    const int result = inflate(&s, Z_FINISH);
    out.resize(out.size() - s.avail_out);
    inflateEnd(&s);
    return result == Z_STREAM_END && s.avail_in == 0 ? out : QByteArray("not one stream");
}

TEST(PngWriterTest, ContinuableStreamsJoinWhateverTheirLastBlockAndBitPosition) {
    // Streams whose last block is stored, fixed or dynamic, of lengths that leave every
    // number of bits used in their last byte; each joined before a final one.
    std::mt19937 random(5);
    const ByteBuffer tail = zlibDeflated("end", 6, Z_DEFAULT_STRATEGY);
    int positions = 0;
    for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY}) {
        for (const int level : {0, 1, 9}) {
            for (int length = 0; length < 40; ++length) {
                QByteArray data;
                for (int i = 0; i < length; ++i) data.append(char('a' + random() % 3));
                ByteBuffer stream = zlibDeflated(data, level, strategy);
                const std::size_t bits = stream.size();
                ASSERT_TRUE(makeContinuable(stream)) << strategy << " " << level << " " << length;
                positions += stream.size() - bits == 5 ? 1 : 0;
                stream.insert(stream.end(), tail.begin(), tail.end());
                EXPECT_EQ(inflated(stream), data + "end")
                    << strategy << " " << level << " " << length;
            }
        }
    }
    EXPECT_GT(positions, 0);  // some streams had no room for the stored block's header
    // A stream cut short or followed by stray bytes is refused and left as it was.
    const ByteBuffer whole = zlibDeflated(QByteArray(5000, 'q'), 6, Z_DEFAULT_STRATEGY);
    for (ByteBuffer bad : {ByteBuffer(whole.begin(), whole.end() - 1), [&] {
                               ByteBuffer longer = whole;
                               longer.push_back(0);
                               return longer;
                           }()}) {
        const ByteBuffer before = bad;
        EXPECT_FALSE(makeContinuable(bad));
        EXPECT_EQ(bad, before);
    }
}

}  // namespace
}  // namespace tessel
