// The "Configurador de mes" dialog: opening with today's month, the holidays check and the
// file, the enabling rule of the box controls, the live preview and the accepted flag.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include "calendar/CalendarTestHelpers.h"
#include "calendar/MonthDialog.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kGreen = 0x008B00;

class MonthDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        calendar.holidayFile = folder.filePath(QStringLiteral("Fiestas.log"));
    }

    std::unique_ptr<MonthDialog> open(QDate today = QDate(2026, 12, 8)) {
        auto dialog = std::make_unique<MonthDialog>(nullptr, calendar, 0, colours, today);
        dialog->show();
        return dialog;
    }

    // On the box's indicator, where a user clicks it.
    static void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 12)); }

    static int previewInk(const MonthDialog& dialog, const QRect& area, Colour colour) {
        const Surface& s = dialog.preview()->surface();
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) count += s.pixel(x, y) == colour;
        return count;
    }

    QTemporaryDir folder;
    testing::ScriptedServices scripted;
    CalendarRecords calendar;
    platform::CustomColours colours{};
};

TEST_F(MonthDialogTest, OpensOnTodaysMonthWithTheRightOptionDisabled) {
    calendar.month.monthYear = 1999;
    calendar.month.monthNumber = 3;
    calendar.month.monthAlignment = kMonthCentre;
    auto dialog = open(QDate(2026, 12, 8));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Configurador de mes"));
    EXPECT_EQ(dialog->size(), QSize(746, 419));
    EXPECT_EQ(dialog->preview()->surface().size(), QSize(262, 282));
    EXPECT_EQ(calendar.month.monthYear, 2026);
    EXPECT_EQ(calendar.month.monthNumber, 12);
    EXPECT_EQ(dialog->yearBox()->text(), QStringLiteral("2026"));
    EXPECT_EQ(dialog->monthList()->currentText(), QStringLiteral("12 - Diciembre"));
    EXPECT_FALSE(dialog->rightOption()->isEnabled());
    EXPECT_TRUE(dialog->centreOption()->isChecked());
    // Every control inside the dialog.
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(QRect(QPoint(0, 0), dialog->size()).contains(child->geometry()))
            << child->metaObject()->className();
    }
}

TEST_F(MonthDialogTest, WithoutTheFileHolidaysAreOffAndDisabled) {
    calendar.month.includeHolidays = 1;
    ASSERT_TRUE(calendar.holidays.append({25, 12, kGreen, 0}));
    calendar.holidays.rebuildColourMap();
    auto dialog = open();
    EXPECT_FALSE(dialog->holidaysCheck()->isEnabled());
    EXPECT_FALSE(dialog->holidaysCheck()->isChecked());
    EXPECT_EQ(calendar.month.includeHolidays, 0);
    EXPECT_EQ(calendar.holidays.mapColour(25, 12), 0);
}

TEST_F(MonthDialogTest, WithTheFileHolidaysShowInThePreview) {
    ASSERT_TRUE(
        testing::writeBytes(calendar.holidayFile, testing::recordBytes({{25, 12, kGreen, 0}})));
    auto dialog = open();
    EXPECT_TRUE(dialog->holidaysCheck()->isEnabled());
    EXPECT_FALSE(dialog->holidaysCheck()->isChecked());
    EXPECT_EQ(calendar.holidays.mapColour(25, 12), kGreen);
    // 25 December 2026, a Friday: column 5 of the fourth week, x0 = 12, y0 = 10, cell 16.
    const QRect cell(12 + 4 * 34, 10 + 32 + 4 * 32, 34, 32);
    EXPECT_EQ(previewInk(*dialog, cell, kGreen), 0);
    tick(dialog->holidaysCheck());
    EXPECT_EQ(calendar.month.includeHolidays, 1);
    EXPECT_GT(previewInk(*dialog, cell, kGreen), 0);
}

TEST_F(MonthDialogTest, BoxControlsFollowTheEnablingRule) {
    auto dialog = open();
    EXPECT_FALSE(dialog->boxColourButton()->isEnabled());
    EXPECT_FALSE(dialog->borderColourButton()->isEnabled());
    EXPECT_FALSE(dialog->transparentCheck()->isEnabled());
    tick(dialog->boxCheck());
    EXPECT_EQ(calendar.month.monthBoxWanted, 1);
    EXPECT_TRUE(dialog->boxColourButton()->isEnabled());
    EXPECT_TRUE(dialog->borderColourButton()->isEnabled());
    EXPECT_TRUE(dialog->transparentCheck()->isEnabled());
    tick(dialog->transparentCheck());
    EXPECT_EQ(calendar.month.monthBoxTransparent, 1);
    EXPECT_FALSE(dialog->boxColourButton()->isEnabled());
    EXPECT_TRUE(dialog->borderColourButton()->isEnabled());
    tick(dialog->boxCheck());
    EXPECT_FALSE(dialog->transparentCheck()->isEnabled());
    EXPECT_FALSE(dialog->borderColourButton()->isEnabled());
    dialog.reset();

    // Reopened with box and transparency wanted: the box colour stays off.
    calendar.month.monthBoxWanted = 1;
    dialog = open();
    EXPECT_TRUE(dialog->boxCheck()->isChecked());
    EXPECT_TRUE(dialog->transparentCheck()->isChecked());
    EXPECT_FALSE(dialog->boxColourButton()->isEnabled());
    EXPECT_TRUE(dialog->borderColourButton()->isEnabled());
}

TEST_F(MonthDialogTest, ColoursGoToTheirSwatchesAndThePreview) {
    auto dialog = open();
    tick(dialog->boxCheck());
    scripted.colourAnswers = {rgb(255, 255, 0), rgb(0, 0, 200)};
    QTest::mouseClick(dialog->boxColourButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->borderColourButton(), Qt::LeftButton);
    EXPECT_EQ(calendar.month.monthBoxColour, rgb(255, 255, 0));
    EXPECT_EQ(calendar.month.monthBorderColour, rgb(0, 0, 200));
    EXPECT_EQ(dialog->boxSwatch()->surface().pixel(5, 5), rgb(255, 255, 0));
    EXPECT_EQ(dialog->borderSwatch()->surface().pixel(5, 5), rgb(0, 0, 200));
    // The box spans 7 to 255 in the preview: its left edge and its fill.
    const Surface& preview = dialog->preview()->surface();
    EXPECT_EQ(preview.pixel(7, 150), rgb(0, 0, 200));
    EXPECT_EQ(preview.pixel(254, 150), rgb(0, 0, 200));
    EXPECT_EQ(preview.pixel(250, 150), rgb(255, 255, 0));
    EXPECT_EQ(preview.pixel(259, 150), kWhite);
    // A cancelled chooser changes nothing.
    QTest::mouseClick(dialog->boxColourButton(), Qt::LeftButton);
    EXPECT_EQ(calendar.month.monthBoxColour, rgb(255, 255, 0));
}

TEST_F(MonthDialogTest, YearMonthAndAlignmentChangeAtOnce) {
    auto dialog = open();
    const QImage december = dialog->preview()->surface().image().copy();
    dialog->monthList()->setCurrentIndex(1);
    EXPECT_EQ(calendar.month.monthNumber, 2);
    dialog->yearBox()->clear();
    QTest::keyClicks(dialog->yearBox(), QStringLiteral("2021"));
    EXPECT_EQ(calendar.month.monthYear, 2021);
    // February 2021 fills four rows: nothing in a fifth.
    const int bottom = 10 + 4 * 16 + 4 * 32;
    EXPECT_EQ(calendar.month.monthBottom, bottom);
    int below = 0;
    const Surface& s = dialog->preview()->surface();
    for (int y = bottom; y < 282; ++y)
        for (int x = 0; x < 262; ++x) below += s.pixel(x, y) != kWhite;
    EXPECT_EQ(below, 0);
    EXPECT_NE(s.image(), december);
    QTest::mouseClick(dialog->centreOption(), Qt::LeftButton);
    EXPECT_EQ(calendar.month.monthAlignment, kMonthCentre);
    QTest::mouseClick(dialog->leftOption(), Qt::LeftButton);
    EXPECT_EQ(calendar.month.monthAlignment, kMonthLeft);
}

TEST_F(MonthDialogTest, AcceptSetsTheFlagAndRefusesAnImpossibleYear) {
    auto dialog = open();
    dialog->yearBox()->clear();
    QTest::keyClicks(dialog->yearBox(), QStringLiteral("0"));
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(scripted.messageTexts(),
              QStringList{QStringLiteral("El año tiene que estar entre 1 y 9999 ...")});
    QTest::keyClicks(dialog->yearBox(), QStringLiteral("99999"));
    EXPECT_EQ(dialog->yearBox()->text(), QStringLiteral("0999"));
    // The fifth digit is not taken, and the box says why.
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Aquí caben como mucho 4 cifras."));
    QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(calendar.month.monthAccepted, 1);
    EXPECT_EQ(calendar.month.monthYear, 999);

    dialog = open();
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(calendar.month.monthAccepted, 0);
}

TEST_F(MonthDialogTest, EnterAcceptsAndEscapeCancels) {
    auto dialog = open();
    testing::expectEnterPresses(*dialog, dialog->yearBox(), dialog->acceptButton());
    auto again = open();
    testing::expectEscapeCancels(*again, again->yearBox());
}

}  // namespace
}  // namespace tessel
