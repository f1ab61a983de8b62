// The "Configuracion Tessel ..." dialog: opened from the record, every change written at once,
// "Aceptar" redisplays, the close box keeps what was done, layout in dialog units.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "cutting/CutSettingsDialog.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

class CutSettingsDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
    CutSettings settings;
    platform::CustomColours colours{};
    int redisplays = 0;
    std::function<void()> redisplay = [this] { ++redisplays; };
};

// A click on an option button's round indicator (its centre lies beyond the short text).
void clickOption(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

Colour swatchColour(platform::DrawingArea* swatch) {
    const Surface& s = swatch->surface();
    return s.pixel(s.width() / 2, s.height() / 2);
}

TEST(DialogUnits, ConvertWithTheBaseUnitsOfTheDialogFontRoundingTiesToEven) {
    EXPECT_EQ(dialogUnitsAcross(287), 430);  // 430.5
    EXPECT_EQ(dialogUnitsAcross(5), 8);      // 7.5
    EXPECT_EQ(dialogUnitsAcross(25), 38);    // 37.5
    EXPECT_EQ(dialogUnitsDown(238), 387);    // 386.75
    EXPECT_EQ(dialogUnitsDown(215), 349);    // 349.375
    EXPECT_EQ(dialogUnitsDown(10), 16);      // 16.25
    EXPECT_EQ(dialogUnitsDown(0), 0);
}

TEST_F(CutSettingsDialogTest, LaidOutInDialogUnits) {
    CutSettingsDialog dialog(nullptr, settings, colours, redisplay);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Configuracion Tessel ..."));
    EXPECT_EQ(dialog.size(), QSize(430, 387));
    EXPECT_EQ(dialog.pieceBox(3)->text(), QStringLiteral("Grabar trozo D"));
    EXPECT_TRUE(dialog.acceptButton()->font().underline());
    EXPECT_TRUE(dialog.pieceBox(0)->font().bold());
    EXPECT_FALSE(dialog.pieceBox(0)->font().underline());
}

// Dialog units to pixels with the dialog font's base units at 96 dpi (6 across, 13 down):
// x * 6 / 4 and y * 13 / 8, rounded to nearest with ties to even.
int across(int units) {
    return int(std::lrint(units * 6.0L / 4.0L));
}
int down(int units) {
    return int(std::lrint(units * 13.0L / 8.0L));
}

TEST_F(CutSettingsDialogTest, EveryControlStandsWhereItsTablePutsIt) {
    CutSettingsDialog dialog(nullptr, settings, colours, redisplay);
    dialog.show();
    struct Row {
        QWidget* control;
        int x, y, w, h;  // dialog units, as the table gives them
    };
    const Row table[] = {
        {dialog.horizontalColourButton(), 90, 5, 25, 15},
        {dialog.horizontalSwatch(), 120, 5, 20, 15},
        {dialog.verticalColourButton(), 90, 25, 25, 15},
        {dialog.verticalSwatch(), 120, 25, 20, 15},
        {dialog.pieceBox(0), 5, 50, 80, 10},
        {dialog.pieceBox(1), 5, 60, 80, 10},
        {dialog.pieceBox(2), 5, 70, 80, 10},
        {dialog.pieceBox(3), 5, 80, 80, 10},
        {dialog.formatButton(kFormatPng), 5, 135, 70, 10},
        {dialog.formatButton(kFormatJpg), 5, 150, 70, 10},
        {dialog.formatButton(kFormatGif), 5, 165, 70, 10},
        {dialog.formatButton(kFormatTif), 5, 180, 70, 10},
        {dialog.formatButton(kFormatBmp), 5, 195, 70, 10},
        {dialog.acceptButton(), 5, 215, 40, 15},
    };
    for (const Row& row : table) {
        ASSERT_NE(row.control, nullptr);
        EXPECT_EQ(row.control->geometry(),
                  QRect(across(row.x), down(row.y), across(row.w), down(row.h)))
            << row.x << "," << row.y;
    }
    EXPECT_EQ(dialog.size(), QSize(across(287), down(238)));
    const QStringList texts = {"PNG", "JPG", "GIF", "TIF", "BMP"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(dialog.formatButton(kFormatPng + i)->text(), texts[i]);
    EXPECT_EQ(dialog.horizontalColourButton()->text(), QStringLiteral("..."));
}

TEST_F(CutSettingsDialogTest, OpensWithTheRecordsTicksFormatAndSwatches) {
    settings.savePieceB = 1;
    settings.savePieceD = 1;
    settings.formatChoice = kFormatTif;
    settings.horizontalAxisColour = rgb(0, 255, 0);
    settings.verticalAxisColour = rgb(0, 0, 255);
    CutSettingsDialog dialog(nullptr, settings, colours, redisplay);
    dialog.show();
    EXPECT_FALSE(dialog.pieceBox(0)->isChecked());
    EXPECT_TRUE(dialog.pieceBox(1)->isChecked());
    EXPECT_FALSE(dialog.pieceBox(2)->isChecked());
    EXPECT_TRUE(dialog.pieceBox(3)->isChecked());
    EXPECT_TRUE(dialog.formatButton(kFormatTif)->isChecked());
    EXPECT_FALSE(dialog.formatButton(kFormatJpg)->isChecked());
    EXPECT_EQ(swatchColour(dialog.horizontalSwatch()), rgb(0, 255, 0));
    EXPECT_EQ(swatchColour(dialog.verticalSwatch()), rgb(0, 0, 255));
}

TEST_F(CutSettingsDialogTest, ChangesAreWrittenAtOnceAndKeptByTheCloseBox) {
    CutSettingsDialog dialog(nullptr, settings, colours, redisplay);
    dialog.show();
    QTest::mouseClick(dialog.pieceBox(2), Qt::LeftButton);
    EXPECT_EQ(settings.savePieceC, 1);
    clickOption(dialog.formatButton(kFormatBmp));
    EXPECT_EQ(settings.formatChoice, kFormatBmp);
    clickOption(dialog.formatButton(kFormatPng));
    EXPECT_EQ(settings.formatChoice, kFormatPng);
    QTest::mouseClick(dialog.pieceBox(0), Qt::LeftButton);
    QTest::mouseClick(dialog.pieceBox(0), Qt::LeftButton);
    EXPECT_EQ(settings.savePieceA, 0);

    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.savePieceC, 1);
    EXPECT_EQ(settings.formatChoice, kFormatPng);
    EXPECT_EQ(redisplays, 0);
}

TEST_F(CutSettingsDialogTest, ColourChooserSetsTheAxisAndCancelChangesNothing) {
    CutSettingsDialog dialog(nullptr, settings, colours, redisplay);
    dialog.show();
    scripted.colourAnswers.push_back(rgb(10, 20, 30));
    QTest::mouseClick(dialog.horizontalColourButton(), Qt::LeftButton);
    EXPECT_EQ(settings.horizontalAxisColour, rgb(10, 20, 30));
    EXPECT_EQ(swatchColour(dialog.horizontalSwatch()), rgb(10, 20, 30));
    EXPECT_EQ(settings.verticalAxisColour, Colour(0x0000FF));

    scripted.colourAnswers.push_back(std::nullopt);
    QTest::mouseClick(dialog.verticalColourButton(), Qt::LeftButton);
    EXPECT_EQ(scripted.colourChooserOpenings, 2);
    EXPECT_EQ(settings.verticalAxisColour, Colour(0x0000FF));
    EXPECT_EQ(swatchColour(dialog.verticalSwatch()), Colour(0x0000FF));
}

TEST_F(CutSettingsDialogTest, AcceptRedisplaysThenCloses) {
    CutSettingsDialog dialog(nullptr, settings, colours, [&] {
        ++redisplays;
        EXPECT_TRUE(dialog.isVisible());  // the view is redrawn before the dialog goes
    });
    dialog.show();
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(redisplays, 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(CutSettingsDialogTest, ShowCutSettingsDialogRunsModally) {
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<CutSettingsDialog*>(widget);
                dialog && dialog->isVisible()) {
                QTest::mouseClick(dialog->pieceBox(1), Qt::LeftButton);
                QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
            }
    });
    ShowCutSettingsDialog(nullptr, settings, colours, redisplay);
    EXPECT_EQ(settings.savePieceB, 1);
    EXPECT_EQ(redisplays, 1);
}

TEST_F(CutSettingsDialogTest, EnterAcceptsAndEscapeCloses) {
    CutSettingsDialog dialog(nullptr, settings, colours, redisplay);
    dialog.show();
    testing::expectEnterPresses(dialog, dialog.pieceBox(1), dialog.acceptButton());
    EXPECT_EQ(redisplays, 1);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    testing::expectEscapeCancels(dialog, dialog.pieceBox(1));
}

}  // namespace
}  // namespace tessel
