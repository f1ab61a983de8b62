// The calendar's commands through the main handler: the holiday dialog over the holiday file,
// and the month inserted at the zero position as one undo level.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/MainWindow.h"
#include "calendar/HolidayDialog.h"
#include "calendar/MonthDialog.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

template <class Dialog>
Dialog* shown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

class CalendarCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
        window.state().calendar.holidayFile = folder.filePath(QStringLiteral("Fiestas.log"));
        window.state().paper.widthMm = 150;
        window.state().paper.heightMm = 100;
        window.createPaper();
        ASSERT_TRUE(window.state().history.hasPicture());
    }

    // Runs the month command, answering its dialog with the given button.
    void insertMonth(bool accept, int year, int month) {
        QTimer::singleShot(0, [=] {
            MonthDialog* dialog = shown<MonthDialog>();
            ASSERT_NE(dialog, nullptr);
            dialog->yearBox()->setText(QString::number(year));
            dialog->monthList()->setCurrentIndex(month - 1);
            QTest::mouseClick(accept ? dialog->acceptButton() : dialog->cancelButton(),
                              Qt::LeftButton);
        });
        window.command(command::InsertMonth);
    }

    QTemporaryDir folder;
    testing::ScriptedServices scripted;
    MainWindow window;
};

TEST_F(CalendarCommandsTest, AcceptedMonthIsOneUndoLevelAtTheZeroPosition) {
    window.state().zero = QPoint(100, 60);
    window.state().text.pointSize = 12;
    insertMonth(true, 2023, 10);
    ASSERT_EQ(window.state().history.level(), 1);
    const Surface& canvas = window.state().history.current();
    // October 2023 starts on a Sunday: the red 1 stands in column 7 of the first week, at
    // x0 + 6 * (2 * 12 + 2), y0 + 4 * 12.
    const QRect first(100 + 6 * 26, 60 + 48, 26, 24);
    int red = 0, outside = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Colour p = canvas.pixel(x, y);
            if (p == 0x0000FF) red += first.contains(x, y);
            if (p != 0xFFFFFF && (x < 95 || y < 60)) ++outside;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_EQ(outside, 0);  // nothing above or left of the month
    window.command(command::Undo);
    EXPECT_EQ(window.state().history.level(), 0);
}

TEST_F(CalendarCommandsTest, CancelledMonthChangesNothing) {
    insertMonth(false, 2023, 10);
    EXPECT_EQ(window.state().history.level(), 0);
    EXPECT_EQ(window.state().calendar.month.monthAccepted, 0);
}

TEST_F(CalendarCommandsTest, HolidaysCommandEditsTheFileOfTheRun) {
    QTimer::singleShot(0, [] {
        HolidayDialog* dialog = shown<HolidayDialog>();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->dayBox(), QStringLiteral("25"));
        dialog->monthList()->setCurrentIndex(11);
        QTest::mouseClick(dialog->insertButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
    });
    window.command(command::Holidays);
    EXPECT_EQ(QFileInfo(window.state().calendar.holidayFile).size(), 16);
    EXPECT_EQ(window.state().history.level(), 0);
}

}  // namespace
}  // namespace tessel
