// Icon files: the largest image by the directory's declared sizes, only that one decoded, a
// bounded directory, and damaged or unusual files refused.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "imaging/IconFile.h"
#include "imaging/Pictures.h"

namespace tessel {
namespace {

QByteArray pngOf(int size, QRgb colour) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));  // one transparent corner
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

struct Listed {
    int declaredSize;  // 256 is written as 0
    int image;         // index into the images
};

// An icon file whose directory lists the entries in order, each pointing at one of the images.
QByteArray iconFile(const QList<QByteArray>& images, const QList<Listed>& entries) {
    QByteArray file;
    appendLe(file, 0, 2);
    appendLe(file, 1, 2);
    appendLe(file, quint32(entries.size()), 2);
    QList<quint32> offsets;
    quint32 offset = 6 + 16 * quint32(entries.size());
    for (const QByteArray& image : images) {
        offsets.append(offset);
        offset += quint32(image.size());
    }
    for (const Listed& entry : entries) {
        file.append(char(entry.declaredSize % 256)).append(char(entry.declaredSize % 256));
        file.append('\0').append('\0');
        appendLe(file, 1, 2);
        appendLe(file, 32, 2);
        appendLe(file, quint32(images[entry.image].size()), 4);
        appendLe(file, offsets[entry.image], 4);
    }
    for (const QByteArray& image : images) file.append(image);
    return file;
}

// A 32-bit icon image as a device-independent bitmap: colour rows bottom-up, then the mask.
QByteArray dibOf(int size, QRgb colour) {
    QByteArray dib;
    appendLe(dib, 40, 4);
    appendLe(dib, quint32(size), 4);
    appendLe(dib, quint32(2 * size), 4);
    appendLe(dib, 1, 2);
    appendLe(dib, 32, 2);
    for (int i = 0; i < 6; ++i) appendLe(dib, 0, 4);
    for (int i = 0; i < size * size; ++i) appendLe(dib, colour, 4);
    const int maskRow = ((size + 31) / 32) * 4;
    dib.append(QByteArray(maskRow * size, '\0'));
    return dib;
}

class IconFileTest : public ::testing::Test {
  protected:
    QString written(const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(testing::writeBytes(dir.filePath(name), bytes));
        return dir.filePath(name);
    }
    QTemporaryDir dir;
};

TEST_F(IconFileTest, TheLargestDeclaredImageIsReadWithItsTransparency) {
    const auto icon = readIconFile(
        written("tres.ico", iconFile({pngOf(16, qRgb(255, 0, 0)), pngOf(32, qRgb(0, 0, 255)),
                                      pngOf(8, qRgb(0, 255, 0))},
                                     {{16, 0}, {32, 1}, {8, 2}})));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon->pixel(0, 0)), 0);
    EXPECT_EQ(icon->pixel(31, 31), qRgb(0, 0, 255));
}

TEST_F(IconFileTest, TheChoiceFollowsTheDirectoryNotTheDecodedImages) {
    // The entry declared 16 holds a 48 x 48 picture; the one declared 32 is chosen all the same.
    const auto icon = readIconFile(written(
        "mentira.ico",
        iconFile({pngOf(48, qRgb(255, 0, 0)), pngOf(32, qRgb(0, 0, 255))}, {{16, 0}, {32, 1}})));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixel(10, 10), qRgb(0, 0, 255));
    // A declared 0 means 256: it wins over 255.
    const auto large = readIconFile(written(
        "grande.ico",
        iconFile({pngOf(8, qRgb(255, 0, 0)), pngOf(9, qRgb(0, 255, 0))}, {{255, 0}, {256, 1}})));
    ASSERT_TRUE(large);
    EXPECT_EQ(large->size(), QSize(9, 9));
}

TEST_F(IconFileTest, BitmapImagesAreReadAndACutOneIsRefused) {
    const QByteArray dib = dibOf(24, 0xFF00FF00);
    const auto icon = readIconFile(written("dib.ico", iconFile({dib}, {{24, 0}})));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(24, 24));
    EXPECT_EQ(icon->pixel(12, 12), qRgb(0, 255, 0));

    // The entry's size shrunk with the file: the rows are not all there.
    QByteArray cut = iconFile({dib.left(dib.size() / 2)}, {{24, 0}});
    EXPECT_FALSE(readIconFile(written("dib_cortado.ico", cut)));
}

TEST_F(IconFileTest, AHugeDirectoryIsBoundedAndDecodesOneImage) {
    // 65535 entries pointing at one 256 x 256 picture: only the first entries are looked at,
    // and only one image is decoded.
    QList<Listed> entries;
    for (int i = 0; i < 65535; ++i) entries.append({256, 0});
    const QString file = written("enorme.ico", iconFile({pngOf(256, qRgb(9, 9, 9))}, entries));
    QElapsedTimer clock;
    clock.start();
    const auto icon = readIconFile(file);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(256, 256));
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(IconFileTest, DamagedAndUnusualFilesAreRefused) {
    EXPECT_FALSE(readIconFile(dir.filePath("falta.ico")));
    QByteArray noise;
    for (int i = 0; i < 300; ++i) noise.append(char((i * 73 + 11) & 0xFF));
    EXPECT_FALSE(readIconFile(written("ruido.ico", noise)));
    // The directory promises an image the file does not hold.
    const QByteArray whole = iconFile({pngOf(16, qRgb(255, 0, 0))}, {{16, 0}});
    EXPECT_FALSE(readIconFile(written("cortado.ico", whole.left(40))));
    // A cursor file is no icon; a pipe is refused at once.
    QByteArray cursor = whole;
    cursor[2] = 2;
    EXPECT_FALSE(readIconFile(written("cursor.cur", cursor)));
    const QString pipe = dir.filePath("tubo.ico");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(readIconFile(pipe));
}

}  // namespace
}  // namespace tessel
