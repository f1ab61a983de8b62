// The "Bocaditos" dialog: layout, opening state, the live preview, the size buttons, the colour
// chooser with its own custom colours, and changes that stay even when cancelled.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "text/BubbleDialog.h"
#include "text/BubbleShapes.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;

// Remembers which custom colours the chooser was given.
class SlotSpy : public testing::ScriptedServices {
  public:
    platform::CustomColours* given = nullptr;
    std::optional<Colour> choose(QWidget* parent, platform::CustomColours& colours) override {
        given = &colours;
        return ScriptedServices::choose(parent, colours);
    }
};

class BubbleDialogTest : public ::testing::Test {
  protected:
    SlotSpy scripted;
    BubbleSettings settings;
};

bool filledWith(const Surface& s, Colour colour) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != colour) return false;
    return true;
}

// The preview as the bubble of the settings drawn at (4, 4) on white.
bool previewShows(BubbleDialog& dialog, const BubbleSettings& settings) {
    Surface expected(600, 600);
    expected.clear(kWhite);
    drawBubble(expected, 4, 4, settings);
    return dialog.preview()->surface().image() == expected.image();
}

TEST_F(BubbleDialogTest, LaidOutAtItsPlaces) {
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 900, 700);
    mainWindow.show();
    BubbleDialog dialog(&mainWindow, settings);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bocaditos"));
    EXPECT_EQ(dialog.size(), QSize(698, 653));
    EXPECT_EQ(dialog.geometry().topLeft(), mainWindow.mapToGlobal(QPoint(105, 114)));
    EXPECT_EQ(dialog.shapeOption(0)->geometry(), QRect(8, 8, 74, 49));
    EXPECT_EQ(dialog.shapeOption(2)->geometry(), QRect(8, 106, 74, 48));
    EXPECT_EQ(dialog.shapeOption(9)->geometry(), QRect(8, 447, 74, 49));
    EXPECT_EQ(dialog.preview()->geometry(), QRect(90, 7, 600, 600));
    EXPECT_EQ(dialog.colourButton()->geometry(), QRect(8, 527, 72, 32));
    EXPECT_EQ(dialog.swatch()->geometry(), QRect(8, 575, 72, 32));
    EXPECT_EQ(dialog.smallerButton()->geometry(), QRect(296, 616, 40, 24));
    EXPECT_EQ(dialog.largerButton()->geometry(), QRect(376, 616, 40, 24));
    EXPECT_EQ(dialog.sizeLabel()->geometry(), QRect(336, 619, 40, 24));
    EXPECT_EQ(dialog.shadowBox()->geometry(), QRect(90, 616, 120, 24));
    EXPECT_EQ(dialog.shadowBox()->text(), QStringLiteral("Poner sombra"));
    EXPECT_EQ(dialog.acceptButton()->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("Cancelar"));
    // Each option shows a drawing of its shape.
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(dialog.shapeOption(i)->icon().isNull());
}

TEST_F(BubbleDialogTest, OpensOnTheSettings) {
    settings.glyph = QStringLiteral("Y");
    settings.shadow = 1;
    settings.size = 120;
    settings.colour = rgb(10, 200, 30);
    BubbleDialog dialog(nullptr, settings);
    dialog.show();
    EXPECT_TRUE(dialog.shapeOption(9)->isChecked());
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(dialog.shapeOption(i)->isChecked());
    EXPECT_TRUE(dialog.shadowBox()->isChecked());
    EXPECT_EQ(dialog.sizeLabel()->text(), QStringLiteral("120"));
    EXPECT_TRUE(filledWith(dialog.swatch()->surface(), settings.colour));
    EXPECT_TRUE(previewShows(dialog, settings));
}

TEST_F(BubbleDialogTest, StartUpBubbleStandsAtFourFourInThePreview) {
    BubbleDialog dialog(nullptr, settings);
    const Surface& preview = dialog.preview()->surface();
    int top = -1, left = 600, bottom = -1;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x)
            if (preview.pixel(x, y) != kWhite) {
                if (top < 0) top = y;
                bottom = y;
                left = std::min(left, x);
            }
    EXPECT_EQ(top, 4);
    EXPECT_EQ(left, 4);
    EXPECT_GE(bottom - top + 1, 266);  // 200 points: 267 pixels
    EXPECT_LE(bottom - top + 1, 267);
}

TEST_F(BubbleDialogTest, EveryChangeTakesEffectAtOnceAndSurvivesCancel) {
    BubbleDialog dialog(nullptr, settings);
    dialog.show();
    QTest::mouseClick(dialog.shapeOption(6), Qt::LeftButton);
    EXPECT_EQ(settings.glyph, QStringLiteral("_"));
    EXPECT_TRUE(previewShows(dialog, settings));
    QTest::mouseClick(dialog.shadowBox(), Qt::LeftButton);
    EXPECT_EQ(settings.shadow, 1);
    EXPECT_TRUE(previewShows(dialog, settings));
    QTest::mouseClick(dialog.largerButton(), Qt::LeftButton);
    EXPECT_EQ(settings.size, 201);
    EXPECT_EQ(dialog.sizeLabel()->text(), QStringLiteral("201"));
    EXPECT_TRUE(previewShows(dialog, settings));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(settings.accepted, 0);
    EXPECT_EQ(settings.glyph, QStringLiteral("_"));
    EXPECT_EQ(settings.shadow, 1);
    EXPECT_EQ(settings.size, 201);

    // Reopened, it shows them.
    BubbleDialog again(nullptr, settings);
    EXPECT_TRUE(again.shapeOption(6)->isChecked());
    EXPECT_TRUE(again.shadowBox()->isChecked());
    QTest::mouseClick(again.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(settings.accepted, 1);
}

TEST_F(BubbleDialogTest, SizeButtonsStopAtSixAndFourHundredFifty) {
    settings.size = 7;
    BubbleDialog dialog(nullptr, settings);
    dialog.show();
    QTest::mouseClick(dialog.smallerButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.smallerButton(), Qt::LeftButton);
    EXPECT_EQ(settings.size, 6);
    EXPECT_EQ(dialog.sizeLabel()->text(), QStringLiteral("6"));

    settings.size = 449;
    BubbleDialog large(nullptr, settings);
    large.show();
    QTest::mouseClick(large.largerButton(), Qt::LeftButton);
    QTest::mouseClick(large.largerButton(), Qt::LeftButton);
    EXPECT_EQ(settings.size, 450);
    EXPECT_EQ(large.sizeLabel()->text(), QStringLiteral("450"));
    QTest::mouseClick(large.smallerButton(), Qt::LeftButton);
    EXPECT_EQ(settings.size, 449);
}

TEST_F(BubbleDialogTest, ColourChooserUsesTheBubbleSlotsAndCancelKeepsTheColour) {
    const Colour before = settings.colour;
    BubbleDialog dialog(nullptr, settings);
    dialog.show();
    scripted.colourAnswers.push_back(std::nullopt);
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    EXPECT_EQ(scripted.colourChooserOpenings, 1);
    EXPECT_EQ(scripted.given, &settings.colourSlots);
    EXPECT_NE(scripted.given, &platform::programColours());
    EXPECT_EQ(settings.colour, before);
    EXPECT_TRUE(filledWith(dialog.swatch()->surface(), before));

    const Colour blue = rgb(20, 40, 220);
    scripted.colourAnswers.push_back(blue);
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    EXPECT_EQ(settings.colour, blue);
    EXPECT_TRUE(filledWith(dialog.swatch()->surface(), blue));
    EXPECT_TRUE(previewShows(dialog, settings));
}

TEST_F(BubbleDialogTest, EnterAcceptsAndEscapeCancels) {
    BubbleDialog dialog(nullptr, settings);
    dialog.show();
    testing::expectEnterPresses(dialog, dialog.shadowBox(), dialog.acceptButton());
    BubbleDialog again(nullptr, settings);
    again.show();
    testing::expectEscapeCancels(again, again.shadowBox());
}

}  // namespace
}  // namespace tessel
