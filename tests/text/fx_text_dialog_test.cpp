// "Texto FX": layout, the mode written at once, colours and text only on "Aceptar".

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "text/FxTextDialog.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

class FxTextDialogTest : public ::testing::Test {
  protected:
    std::unique_ptr<FxTextDialog> open() {
        auto dialog = std::make_unique<FxTextDialog>(nullptr, settings, accepted, colours);
        dialog->show();
        return dialog;
    }

    static bool filledWith(platform::DrawingArea* area, Colour colour) {
        const Surface& s = area->surface();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) != colour) return false;
        return true;
    }

    testing::ScriptedServices scripted;
    FxTextSettings settings;
    int accepted = -1;
    platform::CustomColours colours{};
};

TEST_F(FxTextDialogTest, LaidOut) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Texto FX"));
    EXPECT_EQ(dialog->size(), QSize(306, 390));
    EXPECT_EQ(dialog->threeColourOption()->geometry(), QRect(40, 40, 200, 24));
    EXPECT_EQ(dialog->colourLabel(1)->geometry(), QRect(41, 115, 88, 24));
    EXPECT_EQ(dialog->colourSwatch(2)->geometry(), QRect(133, 160, 32, 32));
    EXPECT_EQ(dialog->frame()->geometry(), QRect(24, 24, 264, 312));
    // 8, 10 and 18 points: 10, 13 and 24 pixels.
    EXPECT_EQ(dialog->frame()->font().pixelSize(), 10);
    EXPECT_EQ(dialog->acceptButton()->font().pixelSize(), 13);
    EXPECT_EQ(dialog->colourLabel(0)->font().pixelSize(), 24);
    EXPECT_FALSE(dialog->textBox()->font().bold());
    EXPECT_TRUE(dialog->threeColourOption()->isChecked());
    for (int band = 0; band < 3; ++band)
        EXPECT_TRUE(filledWith(dialog->colourSwatch(band), 0xFFFFFF));
}

TEST_F(FxTextDialogTest, ModeIsWrittenAtOnceAndDisablesTheColours) {
    auto dialog = open();
    QTest::mouseClick(dialog->raisedOption(), Qt::LeftButton);
    EXPECT_EQ(settings.mode, FxMode::Raised);
    for (int band = 0; band < 3; ++band) {
        EXPECT_FALSE(dialog->colourLabel(band)->isEnabled());
        EXPECT_FALSE(dialog->colourButton(band)->isEnabled());
        EXPECT_FALSE(dialog->colourSwatch(band)->isEnabled());
    }
    QTest::mouseClick(dialog->sunkOption(), Qt::LeftButton);
    EXPECT_EQ(settings.mode, FxMode::Sunk);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(settings.mode, FxMode::Sunk);

    dialog = open();
    EXPECT_TRUE(dialog->sunkOption()->isChecked());
    EXPECT_FALSE(dialog->colourButton(0)->isEnabled());
    QTest::mouseClick(dialog->threeColourOption(), Qt::LeftButton);
    EXPECT_EQ(settings.mode, FxMode::ThreeColour);
    EXPECT_TRUE(dialog->colourButton(2)->isEnabled());
}

TEST_F(FxTextDialogTest, ColoursAndTextOnlyOnAccept) {
    scripted.colourAnswers = {0x0000FF, std::nullopt, 0xFF0000};
    auto dialog = open();
    QTest::mouseClick(dialog->colourButton(0), Qt::LeftButton);
    QTest::mouseClick(dialog->colourButton(1), Qt::LeftButton);  // cancelled
    QTest::mouseClick(dialog->colourButton(2), Qt::LeftButton);
    EXPECT_TRUE(filledWith(dialog->colourSwatch(0), 0x0000FF));
    EXPECT_TRUE(filledWith(dialog->colourSwatch(1), 0xFFFFFF));
    EXPECT_TRUE(filledWith(dialog->colourSwatch(2), 0xFF0000));
    QTest::keyClicks(dialog->textBox(), QStringLiteral("efecto"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(settings.colour1, 0xFFFFFF);
    EXPECT_EQ(settings.colour3, 0xFFFFFF);
    EXPECT_TRUE(settings.fxText.isEmpty());

    scripted.colourAnswers = {0x00FF00};
    dialog = open();
    EXPECT_TRUE(filledWith(dialog->colourSwatch(0), 0xFFFFFF));
    QTest::mouseClick(dialog->colourButton(1), Qt::LeftButton);
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);  // empty text: refused
    EXPECT_EQ(scripted.messageTexts(),
              QStringList{QStringLiteral("Tienes que escribir un texto ...")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.colour2, 0xFFFFFF);
    QTest::keyClicks(dialog->textBox(), QStringLiteral("efecto"));
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(settings.fxText, QStringLiteral("efecto"));
    EXPECT_EQ(settings.colour2, 0x00FF00);
    EXPECT_EQ(settings.colour1, 0xFFFFFF);

    dialog = open();
    EXPECT_EQ(dialog->textBox()->text(), QStringLiteral("efecto"));
    EXPECT_TRUE(filledWith(dialog->colourSwatch(1), 0x00FF00));
}

TEST_F(FxTextDialogTest, EnterAcceptsAndEscapeCancels) {
    auto dialog = open();
    QTest::keyClicks(dialog->textBox(), QStringLiteral("Hola"));
    testing::expectEnterPresses(*dialog, dialog->textBox(), dialog->acceptButton());
    auto again = open();
    testing::expectEscapeCancels(*again, again->textBox());
}

}  // namespace
}  // namespace tessel
