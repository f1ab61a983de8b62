// The "Creador de barras de progreso" dialog: opening values, the lists, the percentage check,
// "Render", "Crear", "Salir", alignment and the colour swatches.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/DrawingArea.h"
#include "progress/ProgressDialog.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

QStringList entriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

class ProgressDialogTest : public ::testing::Test {
  protected:
    testing::ScriptedServices scripted;
    ProgressSettings bar;
    TextProperties text;
    platform::CustomColours colours{};
};

TEST_F(ProgressDialogTest, OpensWithTheStartValues) {
    ProgressDialog dialog(nullptr, bar, text, colours);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Creador de barras de progreso"));
    EXPECT_EQ(dialog.size(), QSize(289, 513));
    EXPECT_EQ(dialog.preview()->surface().size(), QSize(272, 176));
    EXPECT_EQ(dialog.borderSwatch()->surface().size(), QSize(32, 32));
    EXPECT_EQ(dialog.heightBox()->text(), QStringLiteral("35"));
    EXPECT_EQ(dialog.widthBox()->text(), QStringLiteral("256"));
    EXPECT_EQ(dialog.percentBox()->text(), QStringLiteral("88.89"));
    EXPECT_EQ(entriesOf(dialog.borderWidthList()), QStringList({"01", "02", "03", "04"}));
    EXPECT_EQ(dialog.borderWidthList()->currentText(), QStringLiteral("02"));
    EXPECT_EQ(entriesOf(dialog.gapList()), QStringList({"02", "03", "04", "05", "06", "07"}));
    EXPECT_EQ(dialog.gapList()->currentText(), QStringLiteral("05"));
    EXPECT_TRUE(dialog.alignmentOption(kBarTextCentre)->isChecked());
    EXPECT_EQ(dialog.alignmentOption(kBarTextLeft)->text(), QStringLiteral("Izquierda"));
    EXPECT_EQ(dialog.fillSwatch()->surface().pixel(16, 16), 0x00FF00);
    // The preview: white, with the bar's frame at (5, 12).
    const Surface& preview = dialog.preview()->surface();
    EXPECT_EQ(preview.pixel(2, 2), 0xFFFFFF);
    EXPECT_EQ(preview.pixel(5, 12), 0x000000);
    EXPECT_EQ(preview.pixel(5 + 30, 12 + 8), 0x00FF00);
}

TEST_F(ProgressDialogTest, GapListNeverOffersLessThanTheBorderWidth) {
    for (int width = 1; width <= 4; ++width) {
        bar.barBorderWidth = std::int16_t(width);
        bar.barGap = 5;
        ProgressDialog dialog(nullptr, bar, text, colours);
        const QStringList gaps = entriesOf(dialog.gapList());
        ASSERT_EQ(gaps.size(), 8 - width) << width;
        EXPECT_EQ(gaps.front().toInt(), width);
        EXPECT_EQ(gaps.back(), QStringLiteral("07"));
        EXPECT_EQ(dialog.gapList()->currentText(), QStringLiteral("05"));
    }
}

TEST_F(ProgressDialogTest, DecimalCommaIsRefusedAndChangesNothing) {
    ProgressDialog dialog(nullptr, bar, text, colours);
    dialog.show();
    const QImage previewBefore = dialog.preview()->surface().image();
    dialog.heightBox()->clear();
    QTest::keyClicks(dialog.heightBox(), QStringLiteral("50"));
    dialog.percentBox()->clear();
    QTest::keyClicks(dialog.percentBox(), QStringLiteral("50,5"));
    dialog.gapList()->setCurrentIndex(0);
    for (QPushButton* button : {dialog.renderButton(), dialog.createButton()}) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(scripted.messageTexts(),
              QStringList({QStringLiteral("Solo números y . para decimal"),
                           QStringLiteral("Solo números y . para decimal")}));
    EXPECT_EQ(scripted.messages.front().caption, QStringLiteral("Programador"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bar.barPercent, 88.89f);
    EXPECT_EQ(bar.barHeight, 35);
    EXPECT_EQ(bar.barGap, 5);
    EXPECT_EQ(bar.barAccepted, 0);
    EXPECT_EQ(dialog.preview()->surface().image(), previewBefore);
}

TEST_F(ProgressDialogTest, ASizeThatIsNotAWholeNumberIsRefusedAndChangesNothing) {
    // "1e9" never reads as 19, nor "4,5" as 45.
    for (const QString& typed : {QStringLiteral("1e9"), QStringLiteral("4,5")}) {
        scripted.messages.clear();
        ProgressDialog dialog(nullptr, bar, text, colours);
        dialog.show();
        dialog.widthBox()->clear();
        QTest::keyClicks(dialog.widthBox(), typed);
        EXPECT_EQ(dialog.widthBox()->text(), typed);
        QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.messageTexts(),
                  QStringList{QStringLiteral("Solo números y . para decimal")});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(bar.barWidth, 256);
        EXPECT_EQ(bar.barAccepted, 0);
    }
}

TEST_F(ProgressDialogTest, DecimalPointIsAcceptedAndCrearTakesEverything) {
    ProgressDialog dialog(nullptr, bar, text, colours);
    dialog.show();
    dialog.heightBox()->clear();
    QTest::keyClicks(dialog.heightBox(), QStringLiteral("40"));
    dialog.widthBox()->clear();
    QTest::keyClicks(dialog.widthBox(), QStringLiteral("200"));
    dialog.percentBox()->clear();
    QTest::keyClicks(dialog.percentBox(), QStringLiteral("50.5"));
    dialog.borderWidthList()->setCurrentIndex(3);
    dialog.gapList()->setCurrentIndex(5);
    // Changes in the boxes and lists do nothing by themselves.
    EXPECT_EQ(bar.barHeight, 35);
    EXPECT_EQ(bar.barBorderWidth, 2);
    QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
    EXPECT_TRUE(scripted.messages.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(bar.barAccepted, 1);
    EXPECT_EQ(bar.barPercent, 50.5f);
    EXPECT_EQ(bar.barHeight, 40);
    EXPECT_EQ(bar.barWidth, 200);
    EXPECT_EQ(bar.barBorderWidth, 4);
    EXPECT_EQ(bar.barGap, 7);
}

TEST_F(ProgressDialogTest, SalirAndTheCloseBoxLeaveItNotAccepted) {
    bar.barAccepted = 1;
    {
        ProgressDialog dialog(nullptr, bar, text, colours);
        dialog.show();
        QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(bar.barAccepted, 0);
    }
    bar.barAccepted = 1;
    ProgressDialog dialog(nullptr, bar, text, colours);
    dialog.show();
    dialog.close();
    EXPECT_EQ(bar.barAccepted, 0);
}

TEST_F(ProgressDialogTest, EnterCreatesAndEscapeLeaves) {
    ProgressDialog dialog(nullptr, bar, text, colours);
    dialog.show();
    testing::expectEnterPresses(dialog, dialog.heightBox(), dialog.createButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ProgressDialog again(nullptr, bar, text, colours);
    again.show();
    testing::expectEscapeCancels(again, again.widthBox());
}

}  // namespace
}  // namespace tessel
