// The recovery copy file: what goes in comes back, description and pixels; a damaged or foreign
// file is refused; the date of the offer is written the Spanish way.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "platform/SafeFile.h"
#include "recovery/RecoveryCopy.h"
#include "support/NoisePicture.h"

namespace tessel::recovery {
namespace {

const auto noise = testing::noisePicture;

CopyDescription sample(QSize size) {
    CopyDescription d;
    d.fileName = QStringLiteral("/home/usuaria/Imágenes/cumpleaños ñandú.jpg");
    d.zero = QPoint(1199, 3);
    d.paper.widthMm = 297;
    d.paper.heightMm = -210;
    d.paper.paperColour = 0x12AB34;
    d.paper.useTexture = 1;
    d.paper.textureNumber = 87;
    d.openedPicture = true;
    d.pid = 4194304;
    d.time = QDateTime(QDate(2026, 12, 9), QTime(21, 40, 5, 123), Qt::UTC);
    d.size = size;
    return d;
}

class RecoveryCopyTest : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(platform::writeFileSafely(path, bytes));
        return path;
    }
    QTemporaryDir folder;
};

TEST_F(RecoveryCopyTest, PictureAndDescriptionComeBackAsWritten) {
    for (const QSize size : {QSize(1, 1), QSize(2, 2), QSize(33, 1), QSize(301, 207)}) {
        const QImage picture = noise(size.width(), size.height(), quint32(size.width()));
        const std::optional<QByteArray> bytes = encodeCopy(picture, sample(size));
        ASSERT_TRUE(bytes);
        const QString path = write(QStringLiteral("copy.png"), *bytes);

        const std::optional<CopyDescription> header = readCopyDescription(path);
        ASSERT_TRUE(header);
        const std::optional<Copy> copy = readCopy(path);
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->picture, picture);
        for (const CopyDescription& d : {*header, copy->description}) {
            const CopyDescription expected = sample(size);
            EXPECT_EQ(d.fileName, expected.fileName);
            EXPECT_EQ(d.zero, expected.zero);
            EXPECT_EQ(d.paper.widthMm, 297);
            EXPECT_EQ(d.paper.heightMm, -210);
            EXPECT_EQ(d.paper.paperColour, Colour(0x12AB34));
            EXPECT_EQ(d.paper.useTexture, 1);
            EXPECT_EQ(d.paper.textureNumber, 87);
            EXPECT_TRUE(d.openedPicture);
            EXPECT_EQ(d.pid, 4194304);
            EXPECT_EQ(d.time, expected.time);
            EXPECT_EQ(d.size, size);
        }
    }
}

TEST_F(RecoveryCopyTest, DamagedOrForeignFilesAreRefused) {
    const QImage picture = noise(120, 90, 9);
    const QByteArray good = *encodeCopy(picture, sample(picture.size()));
    ASSERT_TRUE(readCopy(write(QStringLiteral("good.png"), good)));

    // Cut short anywhere: in the header, in the description, in the pixels, before the end.
    for (const qsizetype length : {qsizetype(0), qsizetype(8), qsizetype(40), good.size() / 2,
                                   good.size() - 13, good.size() - 1}) {
        SCOPED_TRACE(length);
        const QString path = write(QStringLiteral("short.png"), good.left(length));
        EXPECT_FALSE(readCopy(path));
    }
    // One byte changed in the middle of the pixels' data.
    QByteArray flipped = good;
    flipped[flipped.size() * 2 / 3] = char(flipped[flipped.size() * 2 / 3] ^ 0x5A);
    EXPECT_FALSE(readCopy(write(QStringLiteral("flipped.png"), flipped)));
    // Random bytes.
    QByteArray random(5000, '\0');
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    EXPECT_FALSE(readCopy(write(QStringLiteral("random.png"), random)));
    EXPECT_FALSE(readCopyDescription(folder.filePath(QStringLiteral("random.png"))));
    // A picture without a description, and one whose description gives another size.
    QImage plain = picture;
    EXPECT_TRUE(plain.save(folder.filePath(QStringLiteral("plain.png"))));
    EXPECT_FALSE(readCopy(folder.filePath(QStringLiteral("plain.png"))));
    EXPECT_FALSE(readCopyDescription(folder.filePath(QStringLiteral("plain.png"))));
    const QByteArray wrongSize = *encodeCopy(picture, sample(QSize(121, 90)));
    EXPECT_FALSE(readCopy(write(QStringLiteral("size.png"), wrongSize)));
    // A description that is no JSON object, or misses a field.
    QImage described = picture;
    described.setText(kDescriptionKey, QStringLiteral("{\"fileName\": \"x\"}"));
    EXPECT_TRUE(described.save(folder.filePath(QStringLiteral("partial.png"))));
    EXPECT_FALSE(readCopyDescription(folder.filePath(QStringLiteral("partial.png"))));
    // A folder and a missing file.
    EXPECT_FALSE(readCopy(folder.path()));
    EXPECT_FALSE(readCopy(folder.filePath(QStringLiteral("missing.png"))));
}

TEST(RecoveryQuestion, NamesTheDayMonthYearAndTimeTheSpanishWay) {
    static const char* const months[] = {"enero",      "febrero", "marzo",     "abril",
                                         "mayo",       "junio",   "julio",     "agosto",
                                         "septiembre", "octubre", "noviembre", "diciembre"};
    for (int month = 1; month <= 12; ++month) {
        const int day = month == 2 ? 28 : 1 + (month * 5) % 30;
        const QDateTime local(QDate(2026, month, day), QTime(month + 8, 5 * month % 60));
        const QString expected = QStringLiteral("%1 de %2 de 2026, %3:%4")
                                     .arg(day)
                                     .arg(QString::fromLatin1(months[month - 1]))
                                     .arg(month + 8, 2, 10, QLatin1Char('0'))
                                     .arg(5 * month % 60, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(spokenTime(local.toUTC()), expected);
    }
    const QDateTime evening(QDate(2026, 12, 9), QTime(21, 40));
    EXPECT_EQ(recoveryQuestion(evening.toUTC()),
              QStringLiteral("Se ha encontrado una imagen que no se llegó a guardar "
                             "(9 de diciembre de 2026, 21:40). ¿Recuperarla?"));
    const QDateTime morning(QDate(2027, 1, 2), QTime(7, 3));
    EXPECT_EQ(spokenTime(morning), QStringLiteral("2 de enero de 2027, 07:03"));
}

}  // namespace
}  // namespace tessel::recovery
