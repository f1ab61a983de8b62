// The "Tamaño Imagenes" dialog: the true-size check box, the box sizes, the invariant on
// "Aceptar", the refusal message and the restoring "Cancelar".

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "page/ImageSizeDialog.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

const QString kMissingSize =
    QStringLiteral("Tienes que poner un tamaño de imagen en esta opcion ...");

ImageSizeSetting boxSetting(int width, int height) {
    ImageSizeSetting setting;
    setting.trueSize = 0;
    setting.boxWidth = std::int16_t(width);
    setting.boxHeight = std::int16_t(height);
    return setting;
}

class ImageSizeDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
};

TEST_F(ImageSizeDialogTest, TrueSizeOpensTickedWithTheBoxesDisabled) {
    ImageSizeSetting setting;
    ImageSizeDialog dialog(nullptr, setting);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tamaño Imagenes"));
    EXPECT_EQ(dialog.size(), QSize(335, 190));
    EXPECT_EQ(dialog.trueSizeBox()->text(),
              QStringLiteral("Quiero la imagen en su tamaño verdadero "));
    EXPECT_EQ(dialog.heightBox()->geometry(), QRect(104, 72, 56, 24));
    EXPECT_EQ(dialog.acceptButton()->geometry(), QRect(256, 152, 72, 24));
    EXPECT_TRUE(dialog.trueSizeBox()->isChecked());
    EXPECT_FALSE(dialog.widthBox()->isEnabled());
    EXPECT_FALSE(dialog.heightBox()->isEnabled());

    QTest::mouseClick(dialog.trueSizeBox(), Qt::LeftButton);
    EXPECT_EQ(setting.trueSize, 0);
    EXPECT_TRUE(dialog.widthBox()->isEnabled());
    EXPECT_TRUE(dialog.heightBox()->isEnabled());
}

TEST_F(ImageSizeDialogTest, AcceptingTickedClearsTheBoxWhateverTheTextBoxesHold) {
    ImageSizeSetting setting = boxSetting(640, 480);
    ImageSizeDialog dialog(nullptr, setting);
    dialog.show();
    QTest::mouseClick(dialog.trueSizeBox(), Qt::LeftButton);
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(setting.trueSize, 1);
    EXPECT_EQ(setting.boxWidth, 0);
    EXPECT_EQ(setting.boxHeight, 0);
    EXPECT_TRUE(scripted.messages.isEmpty());
}

TEST_F(ImageSizeDialogTest, AcceptingAnIncompleteBoxIsRefusedAndStaysOpen) {
    const struct {
        const char* width;
        const char* height;
    } incomplete[] = {{"0", "480"},
                      {"640", ""},
                      {"", ""},
                      {"000", "0"},
                      // Not whole numbers: never read as 645 or 19.
                      {"64,5", "480"},
                      {"640", "1e9"}};
    for (const auto& sizes : incomplete) {
        SCOPED_TRACE(std::string(sizes.width) + " x " + sizes.height);
        testing::ScriptedServices local;
        ImageSizeSetting setting = boxSetting(800, 600);
        ImageSizeDialog dialog(nullptr, setting);
        dialog.show();
        dialog.widthBox()->clear();
        dialog.heightBox()->clear();
        QTest::keyClicks(dialog.widthBox(), QString::fromLatin1(sizes.width));
        QTest::keyClicks(dialog.heightBox(), QString::fromLatin1(sizes.height));
        QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(local.messages.size(), 1);
        EXPECT_EQ(local.messages[0].caption, QStringLiteral("Programador"));
        EXPECT_EQ(local.messages[0].text, kMissingSize);
        EXPECT_EQ(setting.trueSize, 0);
        EXPECT_EQ(setting.boxWidth, 800);
        EXPECT_EQ(setting.boxHeight, 600);
    }
}

TEST_F(ImageSizeDialogTest, AcceptedBoxIsShownAgainOnReopening) {
    ImageSizeSetting setting;
    {
        ImageSizeDialog dialog(nullptr, setting);
        dialog.show();
        QTest::mouseClick(dialog.trueSizeBox(), Qt::LeftButton);
        QTest::keyClicks(dialog.widthBox(), QStringLiteral("640"));
        QTest::keyClicks(dialog.heightBox(), QStringLiteral("480"));
        QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(setting.trueSize, 0);
    EXPECT_EQ(setting.boxWidth, 640);
    EXPECT_EQ(setting.boxHeight, 480);

    ImageSizeDialog again(nullptr, setting);
    again.show();
    EXPECT_FALSE(again.trueSizeBox()->isChecked());
    EXPECT_EQ(again.widthBox()->text(), QStringLiteral("640"));
    EXPECT_EQ(again.heightBox()->text(), QStringLiteral("480"));
    EXPECT_TRUE(again.widthBox()->isEnabled());
}

TEST_F(ImageSizeDialogTest, CancelAndTheCloseBoxRestoreTheSetting) {
    ImageSizeSetting setting = boxSetting(640, 480);
    {
        ImageSizeDialog dialog(nullptr, setting);
        dialog.show();
        QTest::mouseClick(dialog.trueSizeBox(), Qt::LeftButton);
        EXPECT_EQ(setting.trueSize, 1);
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(setting.trueSize, 0);
    EXPECT_EQ(setting.boxWidth, 640);
    EXPECT_EQ(setting.boxHeight, 480);

    ImageSizeSetting trueSize;
    ImageSizeDialog dialog(nullptr, trueSize);
    dialog.show();
    QTest::mouseClick(dialog.trueSizeBox(), Qt::LeftButton);
    EXPECT_EQ(trueSize.trueSize, 0);
    dialog.close();
    EXPECT_EQ(trueSize.trueSize, 1);
    EXPECT_EQ(trueSize.boxWidth, 0);
}

TEST_F(ImageSizeDialogTest, ShowImageSizeDialogRunsModally) {
    ImageSizeSetting setting = boxSetting(320, 200);
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<ImageSizeDialog*>(widget);
                dialog && dialog->isVisible())
                QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    ShowImageSizeDialog(nullptr, setting);
    EXPECT_EQ(setting.trueSize, 0);
    EXPECT_EQ(setting.boxWidth, 320);
    EXPECT_EQ(setting.boxHeight, 200);
}

TEST_F(ImageSizeDialogTest, EnterAcceptsAndEscapeCancels) {
    ImageSizeSetting setting = boxSetting(640, 480);
    ImageSizeDialog dialog(nullptr, setting);
    dialog.show();
    testing::expectEnterPresses(dialog, dialog.widthBox(), dialog.acceptButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ImageSizeDialog again(nullptr, setting);
    again.show();
    testing::expectEscapeCancels(again, again.widthBox());
}

}  // namespace
}  // namespace tessel
