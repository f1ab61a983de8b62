// The "Texturas" dialog: layout, opening on the selected texture, selection by change and by
// double click, the preview showing the texture's top-left unscaled, and closing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "page/TextureDialog.h"
#include "platform/BuiltinPictures.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

class TextureDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
    PaperSettings paper;
};

// True when the preview holds exactly the texture's top-left corner, every pixel of it.
bool previewShowsTexture(const platform::DrawingArea* preview, int number) {
    const QImage& shown = preview->surface().image();
    const QImage texture = platform::texturePicture(number);
    if (shown.size() != QSize(495, 398)) return false;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != texture.pixel(x, y)) return false;
    return true;
}

QString sizeText(int number) {
    const QImage texture = platform::texturePicture(number);
    return QStringLiteral("%1x%2 píxeles ...").arg(texture.width()).arg(texture.height());
}

TextureDialog* shownDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<TextureDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

TEST_F(TextureDialogTest, LaidOutAtItsPlaceOverTheMainWindow) {
    QWidget mainWindow;
    mainWindow.setGeometry(150, 120, 900, 700);
    mainWindow.show();
    TextureDialog dialog(&mainWindow, paper);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Texturas"));
    EXPECT_EQ(dialog.size(), QSize(723, 447));
    EXPECT_EQ(dialog.geometry().topLeft(), mainWindow.mapToGlobal(QPoint(105, 114)));
    EXPECT_EQ(dialog.preview()->geometry(), QRect(0, 0, 495, 398));
    EXPECT_EQ(dialog.list()->geometry(), QRect(496, 0, 224, 400));
    EXPECT_EQ(dialog.sizeLabel()->geometry(), QRect(0, 401, 495, 20));
    EXPECT_EQ(dialog.closeButton()->geometry(), QRect(640, 416, 75, 24));
    EXPECT_EQ(dialog.closeButton()->text(), QStringLiteral("Salir"));
    EXPECT_TRUE(dialog.list()->font().bold());
    EXPECT_TRUE(dialog.sizeLabel()->font().bold());
}

TEST_F(TextureDialogTest, OpensOnTheSelectedTextureWithItsSizeAndCorner) {
    TextureDialog dialog(nullptr, paper);
    ASSERT_EQ(dialog.list()->count(), 100);
    EXPECT_EQ(dialog.list()->item(0)->text(), QStringLiteral("Textura 001"));
    EXPECT_EQ(dialog.list()->item(99)->text(), QStringLiteral("Textura 100"));
    ASSERT_NE(dialog.list()->currentItem(), nullptr);
    EXPECT_EQ(dialog.list()->currentItem()->text(), QStringLiteral("Textura 024"));
    EXPECT_EQ(dialog.sizeLabel()->text(), sizeText(24));
    EXPECT_TRUE(previewShowsTexture(dialog.preview(), 24));
    EXPECT_EQ(paper.textureNumber, 24);
}

TEST_F(TextureDialogTest, SelectingTheLastEntryChoosesTexture100) {
    TextureDialog dialog(nullptr, paper);
    dialog.show();
    dialog.list()->setFocus();
    QTest::keyClick(dialog.list(), Qt::Key_End);
    EXPECT_EQ(paper.textureNumber, 100);
    EXPECT_EQ(dialog.sizeLabel()->text(), sizeText(100));
    EXPECT_TRUE(previewShowsTexture(dialog.preview(), 100));
}

TEST_F(TextureDialogTest, ClickAndDoubleClickSelect) {
    TextureDialog dialog(nullptr, paper);
    dialog.show();
    QListWidget* list = dialog.list();
    list->scrollToItem(list->item(2));
    const QPoint third = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(paper.textureNumber, 3);
    EXPECT_TRUE(previewShowsTexture(dialog.preview(), 3));

    // A double click on the entry already selected shows it again and keeps it.
    paper.textureNumber = 50;
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(paper.textureNumber, 3);
}

TEST_F(TextureDialogTest, OpensOnAnyStoredNumberAndTheFirstForOneOutOfRange) {
    paper.textureNumber = 7;
    EXPECT_EQ(TextureDialog(nullptr, paper).list()->currentRow(), 6);
    paper.textureNumber = 0;
    TextureDialog dialog(nullptr, paper);
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    EXPECT_TRUE(previewShowsTexture(dialog.preview(), 1));
}

TEST_F(TextureDialogTest, SalirClosesKeepingTheSelection) {
    QTimer::singleShot(0, [] {
        TextureDialog* dialog = shownDialog();
        if (!dialog) return QApplication::closeAllWindows();
        dialog->list()->setCurrentRow(59);
        QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    });
    ShowTextureDialog(nullptr, paper);
    EXPECT_EQ(paper.textureNumber, 60);
}

TEST_F(TextureDialogTest, CloseBoxKeepsTheSelection) {
    QTimer::singleShot(0, [] {
        TextureDialog* dialog = shownDialog();
        if (!dialog) return QApplication::closeAllWindows();
        dialog->list()->setCurrentRow(4);
        dialog->close();
    });
    ShowTextureDialog(nullptr, paper);
    EXPECT_EQ(paper.textureNumber, 5);
    EXPECT_EQ(shownDialog(), nullptr);
}

TEST_F(TextureDialogTest, EnterClosesWithTheSelectionAndEscapeCloses) {
    TextureDialog dialog(nullptr, paper);
    dialog.show();
    testing::expectEnterPresses(dialog, &dialog, dialog.closeButton());
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    testing::expectEscapeCancels(dialog, &dialog);
}

}  // namespace
}  // namespace tessel
