// The "Papel Formato" dialog: its layout, the live pixel labels, the colour chooser, the texture
// check box and the accepted flag.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "page/Paper.h"
#include "page/PaperDialog.h"
#include "platform/BuiltinPictures.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

class PaperDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
    PaperSettings paper;
    platform::CustomColours colours{};
};

// The dialog shown by a modal call, found once its event loop runs.
PaperDialog* shownDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<PaperDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

bool swatchIs(platform::DrawingArea* swatch, Colour colour) {
    const Surface& s = swatch->surface();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != colour) return false;
    return true;
}

TEST_F(PaperDialogTest, LaidOutAtItsPlaceOverTheMainWindow) {
    QWidget mainWindow;
    mainWindow.setGeometry(200, 150, 800, 600);
    mainWindow.show();
    PaperDialog dialog(&mainWindow, paper, colours);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Papel Formato"));
    EXPECT_EQ(dialog.size(), QSize(238, 179));
    EXPECT_EQ(dialog.geometry().topLeft(), mainWindow.mapToGlobal(QPoint(105, 114)));
    EXPECT_EQ(dialog.widthBox()->geometry(), QRect(8, 56, 48, 24));
    EXPECT_EQ(dialog.heightPixels()->geometry(), QRect(72, 81, 48, 15));
    EXPECT_EQ(dialog.textureBox()->geometry(), QRect(6, 122, 150, 17));
    EXPECT_EQ(dialog.acceptButton()->geometry(), QRect(160, 146, 72, 24));
    EXPECT_EQ(dialog.textureBox()->text(), QStringLiteral("Poner Textura"));
    EXPECT_TRUE(dialog.acceptButton()->font().bold());
    EXPECT_GT(dialog.colourButton()->font().pixelSize(), dialog.acceptButton()->font().pixelSize());
}

TEST_F(PaperDialogTest, OpensEmptyUntickedWithThePaperColour) {
    paper.widthMm = 210;
    paper.heightMm = 297;
    paper.useTexture = 1;
    paper.paperColour = rgb(200, 100, 50);
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    EXPECT_TRUE(dialog.widthBox()->text().isEmpty());
    EXPECT_TRUE(dialog.heightBox()->text().isEmpty());
    EXPECT_FALSE(dialog.textureBox()->isChecked());
    EXPECT_EQ(paper.useTexture, 1);  // kept until the box is clicked
    EXPECT_TRUE(swatchIs(dialog.swatch(), paper.paperColour));
}

TEST_F(PaperDialogTest, TypingShowsPixelsAtOnce) {
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    QTest::keyClicks(dialog.widthBox(), QStringLiteral("100"));
    EXPECT_EQ(dialog.widthPixels()->text(), QStringLiteral("378px"));
    EXPECT_EQ(paper.widthMm, 100);
    QTest::keyClicks(dialog.heightBox(), QStringLiteral("238"));
    EXPECT_EQ(dialog.heightPixels()->text(), QStringLiteral("900px"));
    EXPECT_EQ(paper.heightMm, 238);

    dialog.widthBox()->clear();
    EXPECT_EQ(paper.widthMm, 0);
    EXPECT_TRUE(dialog.widthPixels()->text().isEmpty());
}

TEST_F(PaperDialogTest, BoxesTakeOnlyFewDigitsAndNeverJoinDigitsAroundOtherCharacters) {
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    // "12,5" and "1e9" are not sizes in whole millimetres: the box keeps what was typed, shows
    // no pixels and reads no size (never 125 or 19), which the paper's limits then refuse.
    for (const QString& typed :
         {QStringLiteral("12,5"), QStringLiteral("1e9"), QStringLiteral("3a-1")}) {
        dialog.widthBox()->clear();
        QTest::keyClicks(dialog.widthBox(), typed);
        EXPECT_EQ(dialog.widthBox()->text(), typed);
        EXPECT_EQ(paper.widthMm, 0) << typed.toStdString();
        EXPECT_TRUE(dialog.widthPixels()->text().isEmpty()) << typed.toStdString();
    }
    dialog.widthBox()->clear();
    QTest::keyClicks(dialog.widthBox(), QStringLiteral(" 318"));
    EXPECT_EQ(paper.widthMm, 318);
    // "Aceptar" with a decimal comma: the limits' message, and no paper.
    QTest::keyClicks(dialog.heightBox(), QStringLiteral("12,5"));
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(paper.accepted, 1);
    EXPECT_FALSE(CreatePaper(paper).has_value());
    EXPECT_EQ(scripted.messageTexts(), QStringList{paperSizeMessage()});
    dialog.show();
    dialog.heightBox()->clear();
    QTest::keyClicks(dialog.heightBox(), QStringLiteral("6553700"));
    EXPECT_LE(dialog.heightBox()->text().size(), 4);
    EXPECT_GT(paper.heightMm, 238);  // too large, never wrapped into the allowed range
}

TEST_F(PaperDialogTest, AcceptReadsTheSizesAndSetsTheFlag) {
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    QTest::keyClicks(dialog.widthBox(), QStringLiteral("297"));
    QTest::keyClicks(dialog.heightBox(), QStringLiteral("210"));
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(paper.accepted, 1);
    EXPECT_EQ(paper.widthMm, 297);
    EXPECT_EQ(paper.heightMm, 210);
}

TEST_F(PaperDialogTest, CancelClearsTheFlagAndKeepsAChosenColour) {
    paper.accepted = 1;
    scripted.colourAnswers.push_back(rgb(0, 128, 255));
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(paper.accepted, 0);
    EXPECT_EQ(paper.paperColour, rgb(0, 128, 255));
}

TEST_F(PaperDialogTest, ColourChooserChangesThePaperAtOnceAndCancelChangesNothing) {
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    scripted.colourAnswers.push_back(rgb(12, 34, 56));
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    EXPECT_EQ(paper.paperColour, rgb(12, 34, 56));
    EXPECT_TRUE(swatchIs(dialog.swatch(), rgb(12, 34, 56)));

    scripted.colourAnswers.push_back(std::nullopt);
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    EXPECT_EQ(scripted.colourChooserOpenings, 2);
    EXPECT_EQ(paper.paperColour, rgb(12, 34, 56));
    EXPECT_TRUE(swatchIs(dialog.swatch(), rgb(12, 34, 56)));
}

TEST_F(PaperDialogTest, TextureBoxShowsTheTextureCornerAndUntickingRestoresTheColour) {
    paper.textureNumber = 24;
    paper.paperColour = rgb(255, 255, 255);
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();

    QTest::mouseClick(dialog.textureBox(), Qt::LeftButton);
    ASSERT_TRUE(dialog.textureBox()->isChecked());
    EXPECT_EQ(paper.useTexture, 1);
    EXPECT_FALSE(dialog.colourButton()->isEnabled());
    const Surface texture(platform::texturePicture(24));
    const Surface& swatch = dialog.swatch()->surface();
    ASSERT_FALSE(swatch.isNull());
    for (int y = 0; y < swatch.height(); ++y)
        for (int x = 0; x < swatch.width(); ++x)
            ASSERT_EQ(swatch.pixel(x, y), texture.pixel(x, y)) << x << "," << y;

    QTest::mouseClick(dialog.textureBox(), Qt::LeftButton);
    EXPECT_EQ(paper.useTexture, 0);
    EXPECT_TRUE(dialog.colourButton()->isEnabled());
    EXPECT_TRUE(swatchIs(dialog.swatch(), paper.paperColour));
}

TEST_F(PaperDialogTest, ShowPaperDialogRunsModallyUntilAccepted) {
    QTimer::singleShot(0, [] {
        PaperDialog* dialog = shownDialog();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->widthBox(), QStringLiteral("10"));
        QTest::keyClicks(dialog->heightBox(), QStringLiteral("10"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    ShowPaperDialog(nullptr, paper, colours);
    EXPECT_EQ(paper.accepted, 1);
    EXPECT_EQ(paper.widthMm, 10);
    EXPECT_EQ(paper.heightMm, 10);
}

TEST_F(PaperDialogTest, CloseBoxCountsAsCancel) {
    paper.accepted = 1;
    QTimer::singleShot(0, [] {
        if (PaperDialog* dialog = shownDialog()) dialog->close();
    });
    ShowPaperDialog(nullptr, paper, colours);
    EXPECT_EQ(paper.accepted, 0);
}

TEST_F(PaperDialogTest, EnterAcceptsAndEscapeCancels) {
    PaperDialog dialog(nullptr, paper, colours);
    dialog.show();
    testing::expectEnterPresses(dialog, dialog.widthBox(), dialog.acceptButton());
    PaperDialog again(nullptr, paper, colours);
    again.show();
    testing::expectEscapeCancels(again, again.heightBox());
}

}  // namespace
}  // namespace tessel
