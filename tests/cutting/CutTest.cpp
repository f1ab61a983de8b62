#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <random>

#include "cutting/Cut.h"
#include "platform/SafeFile.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

// A canvas whose every pixel differs from its neighbours, so any misplaced pixel shows.
Surface noisyCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(11);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    return Surface(image);
}

CutSettings allPieces(int format) {
    CutSettings settings;
    settings.savePieceA = settings.savePieceB = settings.savePieceC = settings.savePieceD = 1;
    settings.formatChoice = format;
    return settings;
}

class CutTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QImage piece(char letter, const char* extension = ".png") const {
        return QImage(dir.filePath(QStringLiteral("Tessel") + QChar(letter) + extension))
            .convertToFormat(QImage::Format_RGB32);
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
};

TEST(PieceRectangle, ThePiecesTileThePictureExactlyOnce) {
    const int width = 7;
    const int height = 5;
    for (const auto& [x, y] : {std::pair{3, 2}, {0, 0}, {7, 5}, {0, 4}, {6, 0}, {12, 9}, {-2, 3}}) {
        std::vector<int> covered(width * height, 0);
        for (int piece = 0; piece < 4; ++piece) {
            const QRect r = pieceRectangle(piece, width, height, x, y);
            EXPECT_TRUE(QRect(0, 0, width, height).contains(r) || r.isEmpty());
            for (int py = r.top(); py < r.top() + r.height(); ++py) {
                for (int px = r.left(); px < r.left() + r.width(); ++px) ++covered[py * width + px];
            }
        }
        EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), width * height) << x << "," << y;
    }
    EXPECT_EQ(pieceRectangle(0, 1202, 900, 601, 450), QRect(0, 0, 601, 450));
    EXPECT_EQ(pieceRectangle(1, 1202, 900, 601, 450), QRect(601, 0, 601, 450));
    EXPECT_EQ(pieceRectangle(2, 1202, 900, 601, 450), QRect(0, 450, 601, 450));
    EXPECT_EQ(pieceRectangle(3, 1202, 900, 601, 450), QRect(601, 450, 601, 450));
}

TEST_F(CutTest, FourPiecesTogetherEqualThePicture) {
    const Surface canvas = noisyCanvas(1202, 900);
    ScriptedServices services;
    CutCanvas(canvas, 1202, 900, 601, 450, allPieces(kFormatPng), dir.path());

    const QStringList expected = {"Cortado trozo A ...", "Grabado con exito ...",
                                  "Cortado trozo B ...", "Grabado con exito ...",
                                  "Cortado trozo C ...", "Grabado con exito ...",
                                  "Cortado trozo D ...", "Grabado con exito ..."};
    EXPECT_EQ(services.messageTexts(), expected);
    ASSERT_EQ(services.messages.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(services.messages[i].caption, i % 2 ? "Programador" : "Programador ...");
    }

    QImage joined(1202, 900, QImage::Format_RGB32);
    joined.fill(Qt::black);
    const std::array<QPoint, 4> corners = {QPoint(0, 0), QPoint(601, 0), QPoint(0, 450),
                                           QPoint(601, 450)};
    for (int i = 0; i < 4; ++i) {
        const QImage part = piece(char('A' + i));
        ASSERT_EQ(part.size(), QSize(601, 450)) << char('A' + i);
        for (int y = 0; y < part.height(); ++y) {
            for (int x = 0; x < part.width(); ++x) {
                joined.setPixel(corners[size_t(i)] + QPoint(x, y), part.pixel(x, y));
            }
        }
    }
    EXPECT_TRUE(joined == canvas.image());
}

TEST_F(CutTest, OnlyTickedPiecesAreCutInTheChosenFormat) {
    const Surface canvas = noisyCanvas(40, 30);
    CutSettings settings;
    settings.savePieceB = 1;
    settings.savePieceD = 1;
    settings.formatChoice = kFormatBmp;
    ScriptedServices services;
    CutCanvas(canvas, 40, 30, 10, 20, settings, dir.path());
    EXPECT_EQ(services.messageTexts(),
              (QStringList{"Cortado trozo B ...", "Grabado con exito ...", "Cortado trozo D ...",
                           "Grabado con exito ..."}));
    EXPECT_EQ(files(), (QStringList{"TesselB.bmp", "TesselD.bmp"}));
    EXPECT_EQ(piece('B', ".bmp"), canvas.image().copy(10, 0, 30, 20));
    EXPECT_EQ(piece('D', ".bmp"), canvas.image().copy(10, 20, 30, 10));

    services.messages.clear();
    CutCanvas(canvas, 40, 30, 10, 20, CutSettings{}, dir.path());
    EXPECT_TRUE(services.messages.isEmpty());
    EXPECT_EQ(files().size(), 2);
}

TEST_F(CutTest, EmptyPiecesAreAnnouncedButNotSaved) {
    const Surface canvas = noisyCanvas(40, 30);
    ScriptedServices services;
    CutCanvas(canvas, 40, 30, 0, 12, allPieces(kFormatPng), dir.path());
    EXPECT_EQ(services.messageTexts(),
              (QStringList{"Cortado trozo A ...", "El trozo A esta vacio, no se graba ...",
                           "Cortado trozo B ...", "Grabado con exito ...", "Cortado trozo C ...",
                           "El trozo C esta vacio, no se graba ...", "Cortado trozo D ...",
                           "Grabado con exito ..."}));
    EXPECT_EQ(files(), (QStringList{"TesselB.png", "TesselD.png"}));
    EXPECT_EQ(piece('B'), canvas.image().copy(0, 0, 40, 12));
}

TEST_F(CutTest, AxesBeyondThePictureKeepThePiecesInsideIt) {
    // A picture smaller than the slider range, cut at (1199, 899).
    const Surface canvas = noisyCanvas(50, 40);
    ScriptedServices services;
    CutCanvas(canvas, 50, 40, 1199, 899, allPieces(kFormatPng), dir.path());
    EXPECT_EQ(files(), QStringList{"TesselA.png"});
    EXPECT_EQ(piece('A'), canvas.image());
    EXPECT_EQ(services.messageTexts().count("Grabado con exito ..."), 1);
}

TEST_F(CutTest, PiecesGoToTheCurrentFolderAndReplaceOldOnes) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QFile old(dir.filePath("TesselA.gif"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("viejo");
    old.close();

    const Surface canvas = noisyCanvas(20, 20);
    CutSettings settings;
    settings.savePieceA = 1;
    settings.formatChoice = kFormatGif;
    ScriptedServices services;
    CutCanvas(canvas, 20, 20, 8, 6, settings);
    QDir::setCurrent(previous);

    EXPECT_EQ(services.messageTexts(),
              (QStringList{"Cortado trozo A ...", "Grabado con exito ..."}));
    EXPECT_EQ(files(), QStringList{"TesselA.gif"});
    EXPECT_EQ(piece('A', ".gif").size(), QSize(8, 6));
}

TEST_F(CutTest, AFailedPieceDoesNotStopTheOthers) {
    const Surface canvas = noisyCanvas(20, 20);
    ASSERT_TRUE(QDir(dir.path()).mkdir("TesselA.jpg"));  // a folder where piece A should go
    ScriptedServices services;
    CutCanvas(canvas, 20, 20, 10, 10, allPieces(kFormatJpg), dir.path());
    ASSERT_EQ(services.messages.size(), 8);
    EXPECT_TRUE(services.messages[1].text.startsWith("No se ha podido grabar el fichero ..."));
    EXPECT_EQ(files(), (QStringList{"TesselB.jpg", "TesselC.jpg", "TesselD.jpg"}));
}

TEST_F(CutTest, PiecesThatCannotBeWrittenLeaveTheOldPiecesByteForByte) {
    const Surface canvas = noisyCanvas(20, 20);
    for (const char letter : {'A', 'B', 'C', 'D'}) {
        QFile old(dir.filePath(QStringLiteral("Tessel%1.bmp").arg(letter)));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100, letter));
    }
    ScriptedServices services;
    // The device fails when the data is synced, as a full disk does.
    platform::setWriteFault(
        [](platform::WriteStep step) { return step == platform::WriteStep::Sync; });
    CutCanvas(canvas, 20, 20, 10, 10, allPieces(kFormatBmp), dir.path());
    platform::setWriteFault({});
    ASSERT_EQ(services.messages.size(), 8);
    for (int piece = 0; piece < 4; ++piece) {
        const QChar letter(u'A' + piece);
        const QString file = dir.filePath(QStringLiteral("Tessel%1.bmp").arg(letter));
        EXPECT_EQ(services.messages[2 * piece].text,
                  QStringLiteral("Cortado trozo %1 ...").arg(letter));
        EXPECT_EQ(services.messages[2 * piece + 1].text,
                  "No se ha podido grabar el fichero ...\r\n" + file);
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray(100, char(letter.unicode())));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(CutTest, ReadOnlyPiecesAreNotReplaced) {
    const Surface canvas = noisyCanvas(20, 20);
    const QString a = dir.filePath(QStringLiteral("TesselA.png"));
    {
        QFile old(a);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100, 'A'));
    }
    ASSERT_TRUE(QFile::setPermissions(a, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ScriptedServices services;
    CutCanvas(canvas, 20, 20, 10, 10, allPieces(kFormatPng), dir.path());
    ASSERT_EQ(services.messages.size(), 8);
    EXPECT_EQ(services.messages[1].text, "No se ha podido grabar el fichero ...\r\n" + a);
    QFile old(a);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(100, 'A'));
    // The other pieces are cut as usual.
    EXPECT_EQ(services.messages[3].text, QStringLiteral("Grabado con exito ..."));
}

}  // namespace
}  // namespace tessel
