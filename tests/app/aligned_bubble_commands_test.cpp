// "Insertar Texto Alineado" and "Insertar Bocadito" through the main handler: an accepted
// dialog leaves one new undo level with the element at the zero position, a cancelled one
// leaves nothing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "support/ScriptedServices.h"
#include "text/AlignedTextDialog.h"
#include "text/BubbleDialog.h"

namespace tessel {
namespace {

constexpr Colour kWhite = 0xFFFFFF;

template <typename Dialog>
void whenShown(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
                return act(dialog);
    });
}

// The box of every pixel that is not white.
QRect inkBox(const Surface& s) {
    QRect box;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

class AlignedBubbleCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.initialise());
        state().paper.widthMm = 150;
        state().paper.heightMm = 100;
        window.createPaper();
        ASSERT_TRUE(state().history.hasPicture());
        state().zero = QPoint(100, 60);
    }
    AppState& state() { return window.state(); }

    testing::ScriptedServices services;
    MainWindow window;
};

TEST_F(AlignedBubbleCommandsTest, AcceptedBlockIsDrawnFromTheZeroPosition) {
    const int before = state().history.level();
    whenShown<AlignedTextDialog>([](AlignedTextDialog* dialog) {
        dialog->widthBox()->setText(QStringLiteral("200"));
        dialog->heightBox()->setText(QStringLiteral("50"));
        dialog->textBox()->setPlainText(QStringLiteral("Un bloque de texto\nen dos lineas"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    window.command(command::InsertAlignedText);
    EXPECT_EQ(state().history.level(), before + 1);
    const QRect ink = inkBox(state().history.current());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 100);
    EXPECT_GE(ink.top(), 60);
    EXPECT_LT(ink.right(), 100 + 200);
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(AlignedBubbleCommandsTest, CancelledDialogsLeaveNoLevel) {
    const int before = state().history.level();
    whenShown<AlignedTextDialog>([](AlignedTextDialog* dialog) {
        dialog->textBox()->setPlainText(QStringLiteral("nada"));
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    });
    window.command(command::InsertAlignedText);
    whenShown<BubbleDialog>(
        [](BubbleDialog* dialog) { QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton); });
    window.command(command::InsertBubble);
    EXPECT_EQ(state().history.level(), before);
    EXPECT_TRUE(inkBox(state().history.current()).isEmpty());
}

TEST_F(AlignedBubbleCommandsTest, AcceptedBubbleStandsAtTheZeroPositionAndClearsItsFlag) {
    const int before = state().history.level();
    whenShown<BubbleDialog>([](BubbleDialog* dialog) {
        QTest::mouseClick(dialog->shadowBox(), Qt::LeftButton);
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    window.command(command::InsertBubble);
    EXPECT_EQ(state().history.level(), before + 1);
    EXPECT_EQ(state().bubble.accepted, 0);
    const Surface& canvas = state().history.current();
    const QRect ink = inkBox(canvas);
    EXPECT_EQ(ink.topLeft(), QPoint(100, 60));
    // 205 points of shadow at 96 DPI: 273 pixels high.
    EXPECT_GE(ink.height(), 272);
    EXPECT_LE(ink.height(), 273);
    int filled = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            filled += canvas.pixel(x, y) == state().bubble.colour;
    EXPECT_GT(filled, ink.width() * ink.height() / 3);

    // Undo takes it away again.
    window.command(command::Undo);
    EXPECT_TRUE(inkBox(state().history.current()).isEmpty());
}

}  // namespace
}  // namespace tessel
