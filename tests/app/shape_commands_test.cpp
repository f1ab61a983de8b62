// The shape, arrow and progress-bar commands through the main handler: an accepted dialog
// draws at the zero position in a new undo level; a cancelled one changes nothing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "progress/ProgressDialog.h"
#include "shapes/ArrowDialog.h"
#include "shapes/ShapeDialog.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

template <typename Dialog>
void whenShown(const std::function<void(Dialog*)>& act) {
    QTimer::singleShot(0, [act] {
        // Insertion dialogs open beside the window, not over it.
        Dialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<Dialog*>(widget); shown && shown->isVisible()) {
                dialog = shown;
            }
        }
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

class ShapeCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.initialise());
        state().paper.widthMm = 100;
        state().paper.heightMm = 60;
        window.createPaper();
        ASSERT_TRUE(state().history.hasPicture());
        state().zero = QPoint(40, 30);
        paper = canvas().image();
    }
    AppState& state() { return window.state(); }
    Surface& canvas() { return state().history.current(); }

    testing::ScriptedServices services;
    MainWindow window;
    QImage paper;
};

TEST_F(ShapeCommandsTest, AcceptedArrowIsDrawnFromTheZeroPosition) {
    state().arrows.arrowColour = 0x0000FF;
    state().arrows.arrowDirection = 3;
    whenShown<ArrowDialog>([](ArrowDialog* dialog) {
        QTest::keyClicks(dialog->pixelLengthBox(), QStringLiteral("50"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    window.command(command::InsertArrows);
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(canvas().pixel(40, 30), 0x0000FF);
    EXPECT_EQ(canvas().pixel(90, 30), 0x0000FF);
    EXPECT_EQ(canvas().pixel(80, 20), 0x0000FF);  // barb A at tip - (H, H)
    window.command(command::Undo);
    EXPECT_EQ(canvas().image(), paper);
}

TEST_F(ShapeCommandsTest, RefusedArrowThenCloseBoxDrawsNothing) {
    whenShown<ArrowDialog>([](ArrowDialog* dialog) {
        QTest::keyClicks(dialog->pixelLengthBox(), QStringLiteral("50"));
        QTest::keyClicks(dialog->millimetreLengthBox(), QStringLiteral("20"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
        dialog->close();
    });
    window.command(command::InsertArrows);
    EXPECT_EQ(services.messages.size(), 1);
    EXPECT_EQ(state().history.level(), 0);
    EXPECT_EQ(canvas().image(), paper);
}

TEST_F(ShapeCommandsTest, CreatedProgressBarIsDrawnAtTheZeroPosition) {
    whenShown<ProgressDialog>(
        [](ProgressDialog* dialog) { QTest::mouseClick(dialog->createButton(), Qt::LeftButton); });
    window.command(command::InsertProgressBar);
    EXPECT_EQ(state().history.level(), 1);
    EXPECT_EQ(canvas().pixel(40, 30), 0x000000);           // the frame's corner
    EXPECT_EQ(canvas().pixel(40 + 30, 30 + 8), 0x00FF00);  // the fill
}

}  // namespace
}  // namespace tessel
