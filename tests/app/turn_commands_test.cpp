// The turn and mirror commands of the main window: when they are offered, the picture, its size,
// the zero position with its trackbars and caption, and "Deshacer" and "Rehacer" across them.

#include <gtest/gtest.h>

#include <QSlider>
#include <QTemporaryDir>

#include "app/MainWindow.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

constexpr int kTurnIds[] = {command::TurnRight, command::TurnLeft, command::TurnHalf,
                            command::MirrorHorizontal, command::MirrorVertical};

class TurnCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
    }

    AppState& state() { return window.state(); }
    const QImage& picture() { return std::as_const(state().history.current()).image(); }
    void openPicture(int width, int height) {
        QImage file(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) file.setPixel(x, y, qRgb(x % 256, y % 256, 7));
        }
        const QString path = folder.filePath(QStringLiteral("foto.png"));
        ASSERT_TRUE(file.save(path));
        services.fileAnswers.push_back(path);
        window.command(command::ReadPicture);
        ASSERT_TRUE(state().history.hasPicture());
    }
    void placeZero(QPoint zero) {
        window.horizontalTrackbar()->setValue(zero.x() + 1);
        window.verticalTrackbar()->setValue(zero.y() + 1);
        ASSERT_EQ(state().zero, zero);
    }
    // The zero position, both trackbars (one more than it) and their ranges, the caption and
    // the picture size all agree.
    void expectZeroAndSize(QPoint zero, QSize size) {
        EXPECT_EQ(state().zero, zero);
        EXPECT_EQ(window.horizontalTrackbar()->value(), zero.x() + 1);
        EXPECT_EQ(window.verticalTrackbar()->value(), zero.y() + 1);
        EXPECT_EQ(window.horizontalTrackbar()->maximum(), size.width());
        EXPECT_EQ(window.verticalTrackbar()->maximum(), size.height());
        EXPECT_TRUE(window.windowTitle().endsWith(
            QStringLiteral("x : %1 y : %2").arg(zero.x()).arg(zero.y())))
            << window.windowTitle().toStdString();
        EXPECT_EQ(state().pictureSize(), size);
        EXPECT_EQ(picture().size(), size);
    }

    QTemporaryDir folder;
    testing::ScriptedServices services;
    MainWindow window;
};

TEST_F(TurnCommandsTest, OfferedExactlyWhenGreyScaleIs) {
    const auto expectLikeGrey = [&](const char* phase) {
        for (int id : kTurnIds) {
            EXPECT_EQ(window.menu()->state(id), window.menu()->state(command::GreyScale))
                << phase << " " << id;
        }
    };
    expectLikeGrey("no picture");
    EXPECT_EQ(window.menu()->state(command::GreyScale), ItemState::Grayed);
    // Without a picture a turn does nothing at all.
    for (int id : kTurnIds) window.command(id);
    EXPECT_FALSE(state().history.hasPicture());
    EXPECT_EQ(state().history.level(), 0);
    state().paper.widthMm = 30;
    state().paper.heightMm = 20;
    window.createPaper();
    expectLikeGrey("paper");
    EXPECT_EQ(window.menu()->state(command::GreyScale), ItemState::Enabled);
    window.command(command::New);
    expectLikeGrey("after Nuevo");
    openPicture(50, 40);
    expectLikeGrey("picture");
}

// A 300 x 200 picture with the zero position at (250, 30): turning right moves it to
// (H-1-y, x) = (169, 250) on a 200 x 300 picture, turning left to (y, W-1-x) = (30, 49), and so
// on; each command is one level, and "Deshacer" and "Rehacer" bring picture, size and zero
// position back.
TEST_F(TurnCommandsTest, TheZeroPositionStaysOnItsSpotOfThePictureThroughTurnsUndoAndRedo) {
    openPicture(300, 200);
    placeZero(QPoint(250, 30));
    const QRgb underZero = picture().pixel(250, 30);
    struct Expected {
        int id;
        QPoint zero;
        QSize size;
    };
    // Each row starts from the picture the row before left.
    const Expected steps[] = {
        {command::TurnRight, {169, 250}, {200, 300}},        // (200-1-30, 250)
        {command::MirrorHorizontal, {30, 250}, {200, 300}},  // (200-1-169, 250)
        {command::TurnHalf, {169, 49}, {200, 300}},          // (199-30, 299-250)
        {command::MirrorVertical, {169, 250}, {200, 300}},   // (169, 299-49)
        {command::TurnLeft, {250, 30}, {300, 200}},          // (250, 199-169)
    };
    std::vector<QImage> pictures{picture().copy()};
    for (const Expected& step : steps) {
        SCOPED_TRACE(step.id);
        window.command(step.id);
        expectZeroAndSize(step.zero, step.size);
        EXPECT_EQ(picture().pixel(step.zero), underZero);
        EXPECT_EQ(state().history.level(), int(pictures.size()));
        pictures.push_back(picture().copy());
    }
    for (int k = int(std::size(steps)) - 1; k >= 0; --k) {
        SCOPED_TRACE(k);
        window.command(command::Undo);
        const QPoint zero = k == 0 ? QPoint(250, 30) : steps[k - 1].zero;
        const QSize size = k == 0 ? QSize(300, 200) : steps[k - 1].size;
        expectZeroAndSize(zero, size);
        EXPECT_EQ(picture(), pictures[std::size_t(k)]);
    }
    for (std::size_t k = 0; k < std::size(steps); ++k) {
        SCOPED_TRACE(k);
        window.command(command::Redo);
        expectZeroAndSize(steps[k].zero, steps[k].size);
        EXPECT_EQ(picture(), pictures[k + 1]);
    }
    // The cut reads the turned size.
    window.command(command::TurnRight);
    EXPECT_EQ(state().pictureSize().width(), 200);
    EXPECT_EQ(state().pictureSize().height(), 300);
}

// The view starts again on the turned picture: it shows the picture's top-left pixel at the
// view's top-left corner, and a picture now taller than the view can be scrolled down to its end.
TEST_F(TurnCommandsTest, TheViewStartsAgainOnTheTurnedPicture) {
    openPicture(1100, 400);
    window.command(command::ActualSize);
    placeZero(QPoint(1050, 10));
    window.command(command::TurnLeft);  // 400 x 1100, zero at (10, 49)
    expectZeroAndSize(QPoint(10, 49), QSize(400, 1100));
    const Surface& view = window.canvasControl()->surface();
    EXPECT_EQ(window.canvasControl()->transform().scroll(), QPoint(0, 0));
    // Pixel (1, 1) of the turned picture was (1098, 1) of the file: red 1098 % 256, green 1.
    EXPECT_EQ(picture().pixel(1, 1), qRgb(1098 % 256, 1, 7));
    EXPECT_EQ(view.pixel(1, 1), rgb(1098 % 256, 1, 7));
    window.verticalTrackbar()->setValue(1100);
    EXPECT_EQ(state().zero.y(), 1099);
    EXPECT_GT(window.canvasControl()->transform().scroll().y(), 0);
}

}  // namespace
}  // namespace tessel
