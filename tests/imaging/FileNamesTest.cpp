#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "imaging/FileNames.h"
#include "imaging/Pictures.h"

namespace tessel {
namespace {

TEST(TrimExtension, CutsTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(TrimExtension("/fotos/playa.jpg"), "/fotos/playa");
    EXPECT_EQ(TrimExtension("/fotos/playa.tar.gz"), "/fotos/playa.tar");
    EXPECT_EQ(TrimExtension("foto.PNG"), "foto");
    EXPECT_EQ(TrimExtension("/fotos/vacaciones.2024/playa"), "/fotos/vacaciones.2024/playa");
    EXPECT_EQ(TrimExtension("/fotos/vacaciones.2024/playa.bmp"), "/fotos/vacaciones.2024/playa");
    EXPECT_EQ(TrimExtension("sin_extension"), "sin_extension");
    EXPECT_EQ(TrimExtension(""), "");
    EXPECT_EQ(TrimExtension(QStringLiteral("/Imágenes/Fotografía 1.jpg")),
              QStringLiteral("/Imágenes/Fotografía 1"));
}

TEST(ExtensionOf, IsTheTailOfTheFileNameFromItsLastDot) {
    EXPECT_EQ(ExtensionOf("/fotos/playa.Jpg"), ".Jpg");
    EXPECT_EQ(ExtensionOf("/fotos/playa.tar.gz"), ".gz");
    EXPECT_EQ(ExtensionOf("/fotos.2024/playa"), "");
    EXPECT_EQ(ExtensionOf("playa."), ".");
}

TEST(FileIsPresent, SeesFilesAndFoldersButNotMissingOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Fotografía 1.jpg"));
    EXPECT_FALSE(FileIsPresent(file));
    ASSERT_TRUE(testing::writeBytes(file, "x"));
    EXPECT_TRUE(FileIsPresent(file));
    EXPECT_TRUE(FileIsPresent(dir.path()));
    EXPECT_FALSE(FileIsPresent(QString()));
}

}  // namespace
}  // namespace tessel
