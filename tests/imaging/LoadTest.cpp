#include <gtest/gtest.h>

#include <QImageWriter>
#include <QTemporaryDir>

#include "imaging/CodecBridge.h"
#include "imaging/Pictures.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

constexpr Colour kPaper = rgb(0, 200, 0);

class LoadTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    QString savedPicture(const QString& name, const QImage& picture, const char* format,
                         bool progressive = false) const {
        QImageWriter writer(path(name), format);
        writer.setProgressiveScanWrite(progressive);
        if (qstrcmp(format, "jpeg") == 0) writer.setQuality(95);
        EXPECT_TRUE(writer.write(picture)) << writer.errorString().toStdString();
        return path(name);
    }

    QString solidPicture(int width, int height) const {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(qRgb(10, 20, 30));
        return savedPicture(QStringLiteral("solid_%1x%2.png").arg(width).arg(height), picture,
                            "png");
    }

    QString readError(const QString& file) const {
        return "[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <" + file +
               ">";
    }

    // Loading fails with exactly the read-error message, and nothing else is shown.
    void expectReadError(const QString& file) {
        ScriptedServices services;
        EXPECT_FALSE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper));
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0].caption, "Error");
        EXPECT_EQ(services.messages[0].text, readError(file));
    }

    QTemporaryDir dir;
};

TEST_F(LoadTest, LoadsAPictureAtItsOwnSizeWithItsPixels) {
    const QImage picture = testing::photoLike(37, 23);
    const QString file = savedPicture("foto.png", picture, "png");
    ScriptedServices services;
    const auto bitmap = LoadPictureAsBitmap(file, ImageSizeSetting{}, kPaper);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->size(), QSize(37, 23));
    EXPECT_EQ(testing::meanError(bitmap->image(), picture), 0.0);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LoadTest, FitsIntoTheBoxKeepingProportionsOrFillsIt) {
    ScriptedServices services;
    const auto sizeIn = [&](int pw, int ph, std::int16_t bw, std::int16_t bh) {
        const auto bitmap = LoadPictureAsBitmap(solidPicture(pw, ph), {0, bw, bh}, kPaper);
        return bitmap ? bitmap->size() : QSize();
    };
    EXPECT_EQ(sizeIn(2400, 1200, 1200, 900), QSize(1200, 600));
    EXPECT_EQ(sizeIn(400, 100, 1200, 900), QSize(1200, 900));  // fits already: stretched
    EXPECT_EQ(sizeIn(1280, 720, 640, 480), QSize(640, 360));
    EXPECT_EQ(sizeIn(300, 900, 640, 480), QSize(160, 480));  // taller than the box
    EXPECT_EQ(sizeIn(3000, 2, 300, 300), QSize(300, 1));     // never thinner than a pixel
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LoadTest, WithoutKeepingProportionsAZeroSideIsThePicturesOwn) {
    ScriptedServices services;
    const QString file = solidPicture(80, 60);
    auto bitmap = GraphicLoadImageFileToBitmap(file, 200, 0, 0, kPaper);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->size(), QSize(200, 60));
    bitmap = GraphicLoadImageFileToBitmap(file, 20, 300, 0, kPaper);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->size(), QSize(20, 300));
}

TEST_F(LoadTest, KeepingProportionsWithAZeroBoxSideGivesNothingSilently) {
    ScriptedServices services;
    EXPECT_FALSE(GraphicLoadImageFileToBitmap(solidPicture(8, 8), 0, 100, 1, kPaper));
    EXPECT_FALSE(GraphicLoadImageFileToBitmap(path("missing.png"), 100, 0, 1, kPaper));
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LoadTest, ScalesSmoothly) {
    QImage checkers(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) checkers.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    }
    ScriptedServices services;
    const auto bitmap =
        GraphicLoadImageFileToBitmap(savedPicture("checkers.png", checkers, "png"), 32, 32, 0, 0);
    ASSERT_TRUE(bitmap);
    const int grey = redOf(bitmap->pixel(16, 16));
    EXPECT_GT(grey, 60);
    EXPECT_LT(grey, 195);
}

TEST_F(LoadTest, TransparentAreasShowThePaperColour) {
    QImage picture(20, 10, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x) picture.setPixel(x, y, qRgba(255, 0, 0, 255));
        picture.setPixel(5, y, qRgba(255, 0, 0, 128));
    }
    ScriptedServices services;
    const auto bitmap =
        GraphicLoadImageFileToBitmap(savedPicture("alpha.png", picture, "png"), 0, 0, 0, kPaper);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(2, 5), kPaper);
    EXPECT_EQ(bitmap->pixel(15, 5), rgb(255, 0, 0));
    const Colour half = bitmap->pixel(5, 5);  // half red over the green paper
    EXPECT_NEAR(redOf(half), 128, 2);
    EXPECT_NEAR(greenOf(half), 100, 2);
}

TEST_F(LoadTest, MissingFileShowsItsMessage) {
    ScriptedServices services;
    const QString file = path(QStringLiteral("no_existe.png"));
    EXPECT_FALSE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper));
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0].caption, "Error");
    EXPECT_EQ(services.messages[0].text,
              "[GraphicLoadImageFileToBitmap] called on <" + file + "> Missing file");
}

TEST_F(LoadTest, UndecodableFilesShowTheReadError) {
    ASSERT_TRUE(testing::writeBytes(path("vacio.png"), QByteArray()));
    expectReadError(path("vacio.png"));

    std::mt19937 random(3);
    QByteArray noise(5000, '\0');
    for (char& c : noise) c = char(random());
    ASSERT_TRUE(testing::writeBytes(path("ruido.png"), noise));
    expectReadError(path("ruido.png"));

    expectReadError(dir.path());  // a folder is no picture
}

TEST_F(LoadTest, TruncatedPngAndJpegShowTheReadError) {
    const QImage picture = testing::photoLike(120, 90);
    for (const auto& [name, format, progressive] :
         {std::tuple{"foto.png", "png", false}, std::tuple{"foto.jpg", "jpeg", false},
          std::tuple{"progresiva.jpg", "jpeg", true}}) {
        const QString file = savedPicture(name, picture, format, progressive);
        {
            ScriptedServices services;
            EXPECT_TRUE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper)) << name;
            EXPECT_TRUE(services.messages.isEmpty()) << name;
        }
        const QByteArray whole = testing::readBytes(file);
        // A JPEG that lacks only its end marker may have lost the end of its last scan.
        const qsizetype last = qstrcmp(format, "jpeg") == 0 ? whole.size() - 2 : whole.size() / 2;
        for (const qsizetype length : {whole.size() / 2, whole.size() * 3 / 4, last}) {
            const QString cut = path(QStringLiteral("cortado_%1_").arg(length) + name);
            ASSERT_TRUE(testing::writeBytes(cut, whole.left(length)));
            SCOPED_TRACE(cut.toStdString());
            expectReadError(cut);
        }
    }
}

TEST_F(LoadTest, JpegWithBytesAfterItsEndStillLoads) {
    const QString file = savedPicture("foto.jpg", testing::photoLike(50, 40), "jpeg");
    ASSERT_TRUE(testing::writeBytes(file, testing::readBytes(file) + QByteArray(100, '\x55')));
    ScriptedServices services;
    EXPECT_TRUE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper));
    EXPECT_TRUE(services.messages.isEmpty());
}

QByteArray pngDeclaring(quint32 width, quint32 height) {
    using testing::pngChunk;
    QByteArray header = testing::bigEndian32(width) + testing::bigEndian32(height);
    header += QByteArray("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
           pngChunk("IEND", QByteArray());
}

QByteArray gifDeclaring(quint16 width, quint16 height) {
    QByteArray bytes("GIF89a");
    const auto little16 = [](quint16 v) { return QByteArray{char(v & 0xFF), char(v >> 8)}; };
    bytes += little16(width) + little16(height) + QByteArray("\x80\x00\x00", 3);
    bytes += QByteArray("\x00\x00\x00\xff\xff\xff", 6);  // two-colour table
    bytes += QByteArray(1, '\x2c') + little16(0) + little16(0) + little16(width) +
             little16(height) + QByteArray(1, '\0');
    bytes += QByteArray("\x02\x02\x44\x01\x00\x3b", 6);  // a tiny LZW block, then the trailer
    return bytes;
}

TEST_F(LoadTest, PicturesDeclaringHugeSizesAreRefused) {
    ASSERT_TRUE(testing::writeBytes(path("enorme.png"), pngDeclaring(100000, 100000)));
    expectReadError(path("enorme.png"));
    ASSERT_TRUE(testing::writeBytes(path("grande.png"), pngDeclaring(9000, 8000)));
    expectReadError(path("grande.png"));
    ASSERT_TRUE(testing::writeBytes(path("enorme.gif"), gifDeclaring(65535, 65535)));
    expectReadError(path("enorme.gif"));
}

TEST_F(LoadTest, ATargetBeyondTheBoundIsRefusedWithAMessage) {
    ScriptedServices services;
    EXPECT_FALSE(GraphicLoadImageFileToBitmap(solidPicture(4, 4), 32000, 32000, 1, kPaper));
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0].caption, "Programador");
    EXPECT_EQ(services.messages[0].text,
              "No se puede crear una imagen de 32000 x 32000 pixeles ...");
}

TEST_F(LoadTest, UnicodePathsOpen) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Imágenes")));
    const QImage picture = testing::photoLike(30, 20);
    const QString file = savedPicture(QStringLiteral("Imágenes/Fotografía 1.jpg"), picture, "jpeg");
    ScriptedServices services;
    const auto bitmap = LoadPictureAsBitmap(file, ImageSizeSetting{}, kPaper);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->size(), QSize(30, 20));
    EXPECT_TRUE(services.messages.isEmpty());
}

}  // namespace
}  // namespace tessel
