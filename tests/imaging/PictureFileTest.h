#pragma once
// A test with a folder of its own for picture files, and the canvas a file opens as.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <optional>

#include "imaging/CodecBridge.h"
#include "support/FileBytes.h"
#include "support/ScriptedServices.h"

namespace tessel::testing {

// The paper colour the files are opened on: green, which no test picture uses for transparency.
inline constexpr Colour kTestPaper = rgb(0, 200, 0);

class PictureFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString written(const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(writeBytes(dir.filePath(name), bytes));
        return dir.filePath(name);
    }

    // The canvas a file opens as, with no message shown.
    QImage opened(const QString& file) {
        ScriptedServices services;
        const std::optional<Surface> bitmap =
            GraphicLoadImageFileToBitmap(file, 0, 0, 0, kTestPaper);
        EXPECT_TRUE(services.messages.isEmpty()) << file.toStdString();
        return bitmap ? bitmap->image().convertToFormat(QImage::Format_RGB32) : QImage();
    }

    QTemporaryDir dir;
};

}  // namespace tessel::testing
