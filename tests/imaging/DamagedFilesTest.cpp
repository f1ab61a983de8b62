// Damaged pictures: a file whose data ends before its pixels do is refused with the read-error
// message; where the file itself leaves pixels out (run-length moves, GIF frames smaller than
// their screen) the paper shows there; a pipe is refused at once.

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>

#include "imaging/CodecBridge.h"
#include "imaging/GifWriter.h"
#include "imaging/Pictures.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

constexpr Colour kPaper = rgb(0, 200, 0);

void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

// An 8-bit run-length BMP of width x height with the palette blue (0) and red (1).
QByteArray rle8Bmp(int width, int height, const QByteArray& runs) {
    QByteArray info;
    appendLe(info, 40, 4);
    appendLe(info, quint32(width), 4);
    appendLe(info, quint32(height), 4);
    appendLe(info, 1, 2);
    appendLe(info, 8, 2);
    appendLe(info, 1, 4);  // run-length, 8 bits
    appendLe(info, quint32(runs.size()), 4);
    appendLe(info, 2835, 4);
    appendLe(info, 2835, 4);
    appendLe(info, 2, 4);  // two colours used
    appendLe(info, 0, 4);
    const QByteArray palette("\xff\x00\x00\x00\x00\x00\xff\x00", 8);  // blue, red (B, G, R, 0)
    QByteArray file("BM");
    const quint32 offset = 14 + quint32(info.size() + palette.size());
    appendLe(file, offset + quint32(runs.size()), 4);
    appendLe(file, 0, 4);
    appendLe(file, offset, 4);
    return file + info + palette + runs;
}

// A BMP file: the file header with the data offset, then the info header and the rest.
QByteArray bmpFile(const QByteArray& afterFileHeader, quint32 dataOffset) {
    QByteArray file("BM");
    appendLe(file, 14 + quint32(afterFileHeader.size()), 4);
    appendLe(file, 0, 4);
    appendLe(file, dataOffset, 4);
    return file + afterFileHeader;
}

// The 40-byte info header.
QByteArray infoHeader(int width, int height, int bits, quint32 compression, quint32 coloursUsed) {
    QByteArray info;
    for (const quint32 v : {40u, quint32(width), quint32(height)}) appendLe(info, v, 4);
    appendLe(info, 1, 2);
    appendLe(info, quint32(bits), 2);
    for (const quint32 v : {compression, 0u, 2835u, 2835u, coloursUsed, 0u}) appendLe(info, v, 4);
    return info;
}

// Bytes that differ from place to place: (i * step + row) & mask for each byte i of each row.
QByteArray rows(int rowBytes, int rowCount, int step, int mask) {
    QByteArray bytes;
    for (int row = 0; row < rowCount; ++row)
        for (int i = 0; i < rowBytes; ++i) bytes.append(char((i * step + row) & mask));
    return bytes;
}

// A GIF written with giflib: a four-colour table (black, white, red, blue), one frame at
// (left, top) of frameWidth x rows.size(), optionally interlaced and with a transparent index.
QByteArray gifFile(int screenWidth, int screenHeight, int left, int top,
                   const std::vector<std::vector<GifPixelType>>& rows, bool interlaced,
                   int transparent = -1) {
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(
        &out,
        [](GifFileType* g, const GifByteType* b, int n) {
            static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(b), n);
            return n;
        },
        &error);
    GifColorType colours[4] = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 2, 0, map);
    if (transparent >= 0) {
        GraphicsControlBlock control{};
        control.TransparentColor = transparent;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension);
    }
    const int width = int(rows[0].size());
    const int height = int(rows.size());
    EGifPutImageDesc(gif, left, top, width, height, interlaced, nullptr);
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
        const int start = interlaced ? starts[pass] : 0;
        const int step = interlaced ? steps[pass] : 1;
        for (int y = start; y < height; y += step) {
            std::vector<GifPixelType> row = rows[size_t(y)];
            EGifPutLine(gif, row.data(), width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

class DamagedFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    QString written(const QString& name, const QByteArray& bytes) const {
        EXPECT_TRUE(testing::writeBytes(path(name), bytes));
        return path(name);
    }

    QByteArray encoded(const QImage& picture, const char* format) const {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        EXPECT_TRUE(writer.write(picture)) << format;
        return bytes;
    }

    void expectReadError(const QString& file) {
        ScriptedServices services;
        EXPECT_FALSE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper)) << file.toStdString();
        ASSERT_EQ(services.messages.size(), 1) << file.toStdString();
        EXPECT_EQ(
            services.messages[0].text,
            "[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <" + file + ">");
    }

    std::optional<Surface> load(const QString& file) {
        ScriptedServices services;
        auto bitmap = GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper);
        EXPECT_TRUE(services.messages.isEmpty())
            << services.messageTexts().join(u'|').toStdString();
        return bitmap;
    }

    QTemporaryDir dir;
};

TEST_F(DamagedFilesTest, BmpCutShortOrDeclaringMoreRowsIsRefused) {
    const QImage photo = testing::photoLike(37, 23);
    const QImage indexed = photo.convertToFormat(QImage::Format_Indexed8);
    for (const auto& [name, picture] :
         {std::pair{"color.bmp", photo}, std::pair{"paleta.bmp", indexed}}) {
        const QByteArray whole = encoded(picture, "bmp");
        ASSERT_TRUE(load(written(name, whole))) << name;
        // Cut in the header, in the palette or the first rows, half-way, and one byte short.
        for (const qsizetype length :
             {qsizetype(20), qsizetype(60), whole.size() / 2, whole.size() - 1}) {
            expectReadError(
                written(QStringLiteral("cortado_%1_").arg(length) + name, whole.left(length)));
        }
        // The header promising twice the rows the data holds.
        QByteArray taller = whole;
        taller[22] = char(46);
        expectReadError(written(QStringLiteral("alto_") + name, taller));
    }
}

// Where Qt's reader finds the pixels: after a palette of as many entries as the header declares
// (three bytes each after the old core header), after the colour masks, and never before the
// point it has read to, whatever the data offset says. Each file is first cut where the data
// would end if it started at its declared offset (refused: the reader would run out of data and
// leave rows unwritten), then given all its data (loaded, pixels from the file).
TEST_F(DamagedFilesTest, BmpDataIsLookedForWhereTheReaderReadsIt) {
    struct Case {
        const char* name;
        QByteArray cut, whole;
        Colour topLeft;  // the first pixel of the last row of the file
    };
    std::vector<Case> cases;
    {  // 64 x 64, 8 bits, 256 colours, data offset 54 (inside the palette)
        QByteArray palette;
        for (int i = 0; i < 256; ++i)
            appendLe(palette, quint32(i | (255 - i) << 8 | i / 2 << 16), 4);
        const QByteArray data = rows(64, 64, 3, 255);
        const QByteArray head = infoHeader(64, 64, 8, 0, 0) + palette;
        // Row 63, pixel 0: index 63, blue 63, green 192, red 31.
        cases.push_back({"pal8_54", bmpFile(head + data.left(4096 - 1024), 54),
                         bmpFile(head + data, 54), rgb(31, 192, 63)});
    }
    {  // 16 x 16, 32 bits with colour masks, data offset 54 (on the masks)
        QByteArray masks;
        for (const quint32 m : {0xFF0000u, 0xFF00u, 0xFFu}) appendLe(masks, m, 4);
        const QByteArray data = rows(64, 16, 1, 255);
        const QByteArray head = infoHeader(16, 16, 32, 3, 0) + masks;
        // Row 15, pixel 0: bytes 15, 16, 17 are blue, green and red.
        cases.push_back({"bf32_54", bmpFile(head + data.left(1024 - 12), 54),
                         bmpFile(head + data, 54), rgb(17, 16, 15)});
    }
    {  // 32 x 16, 1 bit, colours used 255: the reader takes 255 entries of four bytes
        QByteArray palette;
        appendLe(palette, 0xFF0000, 4);                // red (blue, green, red, 0 in the file)
        appendLe(palette, 0x0000FF, 4);                // blue
        const QByteArray data = rows(4, 16, 37, 255);  // row 15 starts 15: bit 7 is 0
        const QByteArray head = infoHeader(32, 16, 1, 0, 255);
        cases.push_back({"mono_255", bmpFile(head + palette + data + QByteArray(960, '\0'), 62),
                         bmpFile(head + palette + QByteArray(253 * 4, '\0') + data, 62),
                         rgb(255, 0, 0)});
    }
    {  // OS/2 1.x, 64 x 32, 8 bits: 256 entries of three bytes, whatever the offset says
        QByteArray core;
        appendLe(core, 12, 4);
        for (const quint32 v : {64u, 32u, 1u, 8u}) appendLe(core, v, 2);
        QByteArray palette;
        for (int i = 0; i < 256; ++i) {
            for (const int value : {i * 16, i * 8, 255 - i * 16})
                palette.append(char(value & 0xFF));
        }
        const QByteArray data = rows(64, 32, 1, 15);
        // Row 31, pixel 0: index 15, blue 240, green 120, red 15.
        cases.push_back({"os2_short", bmpFile(core + palette.left(16 * 3) + data, 26 + 16 * 3),
                         bmpFile(core + palette + data, 26 + 256 * 3), rgb(15, 120, 240)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectReadError(written(QStringLiteral("corto_") + c.name + ".bmp", c.cut));
        const auto bitmap = load(written(QStringLiteral("entero_") + c.name + ".bmp", c.whole));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->pixel(0, 0), c.topLeft);
    }
}

TEST_F(DamagedFilesTest, RunLengthBmpShowsThePaperWhereNoRunReaches) {
    // Bottom row: four red. Second row: two red, then the end of the line. Then the end.
    const QByteArray runs("\x04\x01\x00\x00\x02\x01\x00\x00\x00\x01", 10);
    const auto bitmap = load(written("rle.bmp", rle8Bmp(4, 3, runs)));
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->size(), QSize(4, 3));
    constexpr Colour kRed = rgb(255, 0, 0);
    const Colour expected[3][4] = {
        {kPaper, kPaper, kPaper, kPaper}, {kRed, kRed, kPaper, kPaper}, {kRed, kRed, kRed, kRed}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(bitmap->pixel(x, y), expected[y][x]) << x << "," << y;
    }
    // The same runs without their end: the data ends before the top row.
    expectReadError(written("rle_cortado.bmp", rle8Bmp(4, 3, runs.left(8))));
    // A literal run longer than the data that follows.
    expectReadError(written("rle_literal.bmp", rle8Bmp(4, 1, QByteArray("\x00\x04\x01\x01", 4))));
}

TEST_F(DamagedFilesTest, GifCutAnywhereBeforeItsPixelsEndIsRefused) {
    const auto whole = encodeGif(testing::photoLike(40, 30));
    ASSERT_TRUE(whole);
    ASSERT_TRUE(load(written("foto.gif", *whole)));
    // The last two bytes are the end of the data and the trailer.
    for (int k = 1; k <= 13; ++k) {
        const qsizetype length = (whole->size() - 2) * k / 14;
        expectReadError(written(QStringLiteral("cortado_%1.gif").arg(k), whole->left(length)));
    }
    // Only the trailer missing: every pixel is there.
    EXPECT_TRUE(load(written("sin_final.gif", whole->left(whole->size() - 1))));
}

TEST_F(DamagedFilesTest, GifFramesAreReadInTheirRowsWithTransparencyAndOffset) {
    // Row y of a 3-wide frame has colour index y % 4 in every column.
    std::vector<std::vector<GifPixelType>> rows;
    for (int y = 0; y < 11; ++y) rows.push_back(std::vector<GifPixelType>(3, GifPixelType(y % 4)));
    const Colour table[4] = {rgb(0, 0, 0), rgb(255, 255, 255), rgb(255, 0, 0), rgb(0, 0, 255)};

    const auto interlaced = load(written("entrelazado.gif", gifFile(3, 11, 0, 0, rows, true)));
    ASSERT_TRUE(interlaced);
    for (int y = 0; y < 11; ++y) EXPECT_EQ(interlaced->pixel(1, y), table[y % 4]) << y;

    // Index 1 transparent; the frame at (2, 1) on a 6 x 13 screen.
    const auto placed = load(written("desplazado.gif", gifFile(6, 13, 2, 1, rows, false, 1)));
    ASSERT_TRUE(placed);
    ASSERT_EQ(placed->size(), QSize(6, 13));
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inFrame = x >= 2 && x < 5 && y >= 1 && y < 12;
            const int index = (y - 1) % 4;
            const Colour want = !inFrame || index == 1 ? kPaper : table[index];
            EXPECT_EQ(placed->pixel(x, y), want) << x << "," << y;
        }
    }
}

TEST_F(DamagedFilesTest, JpegHeaderDeclaringMorePixelsThanItsDataIsRefused) {
    const QByteArray whole = encoded(testing::photoLike(64, 48), "jpeg");
    ASSERT_TRUE(load(written("foto.jpg", whole)));
    const qsizetype frame = whole.indexOf(QByteArray("\xff\xc0", 2));
    ASSERT_GT(frame, 0);
    QByteArray patched = whole;
    patched[frame + 5] = char(8000 >> 8);  // height
    patched[frame + 6] = char(8000 & 0xFF);
    patched[frame + 7] = char(8000 >> 8);  // width
    patched[frame + 8] = char(8000 & 0xFF);
    expectReadError(written("8000.jpg", patched));
}

TEST_F(DamagedFilesTest, PngAndTiffCutShortAreRefused) {
    const QImage photo = testing::photoLike(60, 40);
    for (const auto& [name, format] :
         {std::pair{"foto.png", "png"}, std::pair{"foto.tif", "tiff"}}) {
        const QByteArray whole = encoded(photo, format);
        ASSERT_TRUE(load(written(name, whole))) << name;
        for (const qsizetype length : {whole.size() / 3, whole.size() * 2 / 3}) {
            expectReadError(
                written(QStringLiteral("cortado_%1_").arg(length) + name, whole.left(length)));
        }
    }
}

TEST_F(DamagedFilesTest, OtherFormatsAreNotRead) {
    QImage photo = testing::photoLike(10, 10);
    expectReadError(written("foto.ppm", encoded(photo, "ppm")));
    expectReadError(written("foto.xpm", encoded(photo, "xpm")));
}

TEST_F(DamagedFilesTest, APipeIsRefusedAtOnce) {
    const QString pipe = path("tubo.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    expectReadError(pipe);
    EXPECT_LT(clock.elapsed(), 2000);
}

// The same damaged file loaded twice, with fresh memory filled differently each time, gives the
// same pixels: no pixel comes from memory the decoder did not write.
TEST_F(DamagedFilesTest, NoPixelComesFromUnwrittenMemory) {
    const QByteArray gif = gifFile(
        40, 30, 5, 3, std::vector<std::vector<GifPixelType>>(20, std::vector<GifPixelType>(20, 2)),
        false);
    const QByteArray rle =
        rle8Bmp(30, 20, QByteArray("\x05\x01\x00\x02\x03\x04\x05\x01\x00\x01", 10));
    for (const auto& [name, bytes] : {std::pair{"gif", gif}, std::pair{"rle", rle}}) {
        const QString file = written(name, bytes);
        QByteArray first;
        for (const int fill : {0x5A, 0xA5}) {
            mallopt(M_PERTURB, fill);
            const auto bitmap = load(file);
            mallopt(M_PERTURB, 0);
            ASSERT_TRUE(bitmap) << name;
            if (first.isEmpty()) {
                first = bitmap->pixelBlock();
            } else {
                EXPECT_EQ(bitmap->pixelBlock(), first) << name;
            }
        }
    }
}

}  // namespace
}  // namespace tessel
