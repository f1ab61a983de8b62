#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <csignal>

#include "imaging/CodecBridge.h"
#include "imaging/Pictures.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

class SaveTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    static QImage decoded(const QString& file) {
        QImageReader reader(file);
        reader.setDecideFormatFromContent(true);
        return reader.read();
    }

    static QString failureText(const QString& file) {
        return "No se ha podido grabar el fichero ...\r\n" + file;
    }

    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dir;
    const Surface photo{testing::photoLike(160, 120)};
};

TEST_F(SaveTest, TheLowerCasedExtensionChoosesTheFormat) {
    const QList<std::pair<const char*, QByteArray>> cases = {
        {"a.png", "\x89PNG"}, {"b.PNG", "\x89PNG"},    {"c.Jpg", "\xFF\xD8\xFF"},
        {"d.gif", "GIF8"},    {"e.TIF", QByteArray()}, {"f.bmp", "BM"}};
    for (const auto& [name, magic] : cases) {
        ScriptedServices services;
        EXPECT_TRUE(SaveBitmapAsImageFile(photo, path(name))) << name;
        const QByteArray bytes = testing::readBytes(path(name));
        if (magic.isEmpty()) {
            EXPECT_TRUE(bytes.startsWith("II*\0") || bytes.startsWith("MM\0*")) << name;
        } else {
            EXPECT_TRUE(bytes.startsWith(magic)) << name;
        }
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0].caption, "Programador");
        EXPECT_EQ(services.messages[0].text, "Grabado con exito ...");
    }
}

TEST_F(SaveTest, OtherExtensionsWriteNothingAndSayNothing) {
    ScriptedServices services;
    for (const char* name : {"foto.jpeg", "foto.tiff", "foto", "foto.webp", "foto."}) {
        EXPECT_FALSE(SaveBitmapAsImageFile(photo, path(name))) << name;
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("album.png"));
    EXPECT_FALSE(SaveBitmapAsImageFile(photo, path("album.png/foto")));
    EXPECT_EQ(entries(), QStringList{"album.png"});
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(SaveTest, LosslessFormatsRoundTripPixelForPixel) {
    ScriptedServices services;
    for (const char* name : {"foto.png", "foto.bmp", "foto.tif"}) {
        ASSERT_TRUE(SaveBitmapAsImageFile(photo, path(name)));
        const QImage back = decoded(path(name));
        EXPECT_EQ(back.size(), photo.size()) << name;
        EXPECT_EQ(testing::meanError(back, photo.image()), 0.0) << name;
    }
}

TEST_F(SaveTest, JpegIsWrittenAtHighestQuality) {
    // Grey keeps the colour subsampling out of the measure: what is left is the quantization.
    const Surface grey(photo.image().convertToFormat(QImage::Format_Grayscale8));
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(grey, path("gris.jpg")));
    EXPECT_LT(testing::meanError(decoded(path("gris.jpg")), grey.image()), 1.0);
    ASSERT_TRUE(SaveBitmapAsImageFile(photo, path("foto.jpg")));
    const QImage back = decoded(path("foto.jpg"));
    ASSERT_EQ(back.size(), photo.size());
    EXPECT_LT(testing::meanError(back, photo.image()), 5.0);
}

TEST_F(SaveTest, GifKeepsAPhotographClose) {
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(photo, path("foto.gif")));
    const QImage back = decoded(path("foto.gif"));
    ASSERT_EQ(back.size(), photo.size());
    // ImageMagick's dithered GIF of this picture is 4.87 off on average.
    EXPECT_LT(testing::meanError(back, photo.image()), 4.5);
}

TEST_F(SaveTest, GifOfFewColoursIsExact) {
    Surface flags(30, 20);
    flags.clear(rgb(200, 30, 40));
    for (int y = 0; y < 20; ++y) {
        for (int x = 10; x < 20; ++x) flags.setPixel(x, y, rgb(250, 250, 250));
        for (int x = 20; x < 30; ++x) flags.setPixel(x, y, y < 10 ? rgb(0, 60, 160) : rgb(3, 4, 5));
    }
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(flags, path("banderas.gif")));
    EXPECT_EQ(testing::meanError(decoded(path("banderas.gif")), flags.image()), 0.0);
}

TEST_F(SaveTest, OnePixelPicturesAreValidFiles) {
    Surface dot(1, 1);
    dot.clear(rgb(12, 200, 99));
    ScriptedServices services;
    for (const char* name : {"p.png", "p.jpg", "p.gif", "p.tif", "p.bmp"}) {
        ASSERT_TRUE(SaveBitmapAsImageFile(dot, path(name))) << name;
        const QImage back = decoded(path(name));
        ASSERT_EQ(back.size(), QSize(1, 1)) << name;
        EXPECT_LE(testing::meanError(back, dot.image()), 2.0) << name;
    }
}

TEST_F(SaveTest, SavedFilesHoldNothingButThePicture) {
    // An odd width gives every BMP row padding: saved twice with fresh memory filled
    // differently, every format must give the same bytes, so no byte comes from memory.
    const Surface odd(testing::photoLike(37, 23));
    ScriptedServices services;
    for (const char* name : {"p.png", "p.jpg", "p.gif", "p.tif", "p.bmp"}) {
        QByteArray first;
        for (const int fill : {0x5A, 0xA5}) {
            mallopt(M_PERTURB, fill);
            const bool saved = SaveBitmapAsImageFile(odd, path(name));
            mallopt(M_PERTURB, 0);
            ASSERT_TRUE(saved) << name;
            if (first.isEmpty()) {
                first = testing::readBytes(path(name));
            } else {
                EXPECT_EQ(testing::readBytes(path(name)), first) << name;
            }
        }
    }
}

TEST_F(SaveTest, UnicodePathsSave) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Imágenes")));
    const QString file = path(QStringLiteral("Imágenes/Fotografía 1.png"));
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(photo, file));
    EXPECT_EQ(testing::meanError(decoded(file), photo.image()), 0.0);
}

TEST_F(SaveTest, AnExistingFileIsReplacedWhole) {
    ASSERT_TRUE(testing::writeBytes(path("foto.png"), QByteArray(100000, 'x')));
    ScriptedServices services;
    ASSERT_TRUE(SaveBitmapAsImageFile(photo, path("foto.png")));
    EXPECT_EQ(testing::meanError(decoded(path("foto.png")), photo.image()), 0.0);
    EXPECT_EQ(entries(), QStringList{"foto.png"});
}

TEST_F(SaveTest, AFolderThatCannotBeWrittenIsReported) {
    ASSERT_TRUE(testing::writeBytes(path("fichero"), "x"));
    for (const QString& file : {path("no/existe/foto.png"), path("fichero/foto.jpg")}) {
        ScriptedServices services;
        EXPECT_FALSE(SaveBitmapAsImageFile(photo, file));
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0].caption, "Programador");
        EXPECT_EQ(services.messages[0].text, failureText(file));
    }
    EXPECT_EQ(entries(), QStringList{"fichero"});
    EXPECT_EQ(testing::readBytes(path("fichero")), "x");
}

TEST_F(SaveTest, AReadOnlyPictureIsNotReplacedNorThroughALink) {
    const QByteArray old(5000, 'v');
    ASSERT_TRUE(testing::writeBytes(path("vieja.jpg"), old));
    ASSERT_TRUE(QFile::setPermissions(path("vieja.jpg"), QFileDevice::ReadOwner |
                                                             QFileDevice::ReadGroup |
                                                             QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::link(path("vieja.jpg"), path("enlace.jpg")));
    for (const QString& file : {path("vieja.jpg"), path("enlace.jpg")}) {
        ScriptedServices services;
        EXPECT_FALSE(SaveBitmapAsImageFile(photo, file));
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0].text, failureText(file));
        EXPECT_EQ(testing::readBytes(path("vieja.jpg")), old);
    }
    EXPECT_EQ(entries(), (QStringList{"enlace.jpg", "vieja.jpg"}));
}

TEST_F(SaveTest, AnEncoderFailureLeavesTheExistingFile) {
    ASSERT_TRUE(testing::writeBytes(path("ancha.gif"), "antes"));
    const Surface tooWide(70000, 1);  // wider than a GIF can record
    ScriptedServices services;
    EXPECT_FALSE(SaveBitmapAsImageFile(tooWide, path("ancha.gif")));
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0].text, failureText(path("ancha.gif")));
    EXPECT_EQ(testing::readBytes(path("ancha.gif")), "antes");
}

// The disk filling up half-way: the process may not write files past a few kilobytes.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(SaveTest, AWriteThatFailsHalfWayLeavesTheExistingFile) {
    // A white paper of 1202 x 900 encodes to a few kilobytes, less than any write buffer: the
    // failure must still be seen before the old file is replaced.
    Surface paper(1202, 900);
    paper.clear(0xFFFFFF);
    const QList<std::pair<const Surface*, const char*>> cases = {{&photo, "foto.bmp"},
                                                                 {&paper, "papel.png"}};
    for (const auto& [bitmap, name] : cases) {
        SCOPED_TRACE(name);
        const QByteArray before(3000, 'v');
        ASSERT_TRUE(testing::writeBytes(path(name), before));
        ScriptedServices services;
        bool saved = true;
        {
            FileSizeLimit limit(1024);
            saved = SaveBitmapAsImageFile(*bitmap, path(name));
        }
        EXPECT_FALSE(saved);
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0].text, failureText(path(name)));
        EXPECT_EQ(testing::readBytes(path(name)), before);
        EXPECT_EQ(entries().filter(QString::fromLatin1(name).left(4)), QStringList{name});
    }
    EXPECT_EQ(entries().size(), 2);  // no temporary file left behind
}

TEST_F(SaveTest, AFullDiskLeavesTheExistingFileAndSaysSo) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    ASSERT_TRUE(QDir(dir.path()).mkdir("disco"));
    const QByteArray point = QFile::encodeName(path("disco"));
    if (::mount("tmpfs", point.constData(), "tmpfs", 0, "size=128k") != 0) {
        GTEST_SKIP() << "this system does not allow mounting a tmpfs here";
    }
    const struct Unmount {
        QByteArray point;
        ~Unmount() { ::umount(point.constData()); }
    } unmount{point};
    const QString target = path("disco/papel.png");
    const QByteArray before(2500, 'p');
    ASSERT_TRUE(testing::writeBytes(target, before));
    {
        QFile filler(path("disco/relleno"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(1024, 'f')) == 1024) {
        }
        while (filler.write("f", 1) == 1) {
        }
    }
    Surface paper(1202, 900);
    paper.clear(0xFFFFFF);
    ScriptedServices services;
    EXPECT_FALSE(SaveBitmapAsImageFile(paper, target));
    EXPECT_EQ(services.messageTexts(), QStringList{failureText(target)});
    EXPECT_EQ(testing::readBytes(target), before);
    EXPECT_EQ(QDir(path("disco")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"papel.png", "relleno"}));
}

}  // namespace
}  // namespace tessel
