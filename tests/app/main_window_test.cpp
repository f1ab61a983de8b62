// The main window: start-up state, controls, the zero position and the main handler.

#include <gtest/gtest.h>

#include <QImage>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "view/CanvasView.h"
#include "app/MainWindow.h"
#include "app/StartupChecks.h"
#include "platform/DrawingArea.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

constexpr Colour kRed = 0x0000FF;

const int kInsertItems[] = {1055, 1081, 1082, 1086, 1087, 1063, 1056,
                            1057, 1058, 1060, 1061, 1084, 1088};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.initialise()); }

    ItemState stateOf(int id) const { return window.menu()->state(id); }
    const Surface& view() const { return window.canvasControl()->surface(); }
    // Whether the vertical axis runs down column x (the horizontal axis's row does not count).
    bool columnHasAxis(int x) const {
        for (int y = 0; y < kViewHeight; ++y) {
            if (y != window.state().zero.y() && view().pixel(x, y) == kRed) return true;
        }
        return false;
    }
    bool rowHasAxis(int y) const {
        for (int x = 0; x < kViewWidth; ++x) {
            if (x != window.state().zero.x() && view().pixel(x, y) == kRed) return true;
        }
        return false;
    }

    testing::ScriptedServices services;
    MainWindow window;
};

TEST(ScreenCheck, AcceptsEightHundredBySixHundredAndNamesASmallerScreen) {
    EXPECT_FALSE(screenSizeMessage(QSize(800, 600)));
    EXPECT_FALSE(screenSizeMessage(QSize(1366, 768)));
    EXPECT_FALSE(screenSizeMessage(QSize(1200, 900)));
    const auto narrow = screenSizeMessage(QSize(799, 600));
    ASSERT_TRUE(narrow);
    EXPECT_EQ(*narrow,
              QStringLiteral("Este programa necesita una resolucion de pantalla de : 800x600 o "
                             "superior \r\nTu pantalla tiene una resolucion de : 799x600\r\n"
                             "Sintiendolo mucho me veo obligado a cerrar el programa ..."));
    const auto low = screenSizeMessage(QSize(800, 599));
    ASSERT_TRUE(low);
    EXPECT_TRUE(low->contains(QStringLiteral("resolucion de : 800x599\r\n")));
}

TEST(StartupCheck, TheFiveImageFormatsAreAvailable) {
    EXPECT_TRUE(missingImageFormats().isEmpty()) << missingImageFormats().join(u',').toStdString();
    EXPECT_TRUE(codecFailureMessage({QStringLiteral("TIFF")}).startsWith(u"Error inicializando"));
    EXPECT_TRUE(codecFailureMessage({QStringLiteral("TIFF")}).contains(u"TIFF"));
}

TEST_F(MainWindowTest, StartsWithCaptionControlsAndMenuOfTheNoPicturePhase) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 0 y : 0"));
    EXPECT_EQ(window.centralWidget()->size(), QSize(1257, 977));
    EXPECT_EQ(window.horizontalTrackbar()->geometry(), QRect(9, 1, 1210, 14));
    EXPECT_EQ(window.verticalTrackbar()->geometry(), QRect(1, 9, 14, 910));
    EXPECT_EQ(window.canvasControl()->geometry(), QRect(15, 15, 1200, 900));
    EXPECT_EQ(window.horizontalRuler()->geometry(), QRect(15, 916, 1217, 40));
    EXPECT_EQ(window.verticalRuler()->geometry(), QRect(1216, 15, 40, 907));
    EXPECT_EQ(window.horizontalTrackbar()->minimum(), 1);
    EXPECT_EQ(window.horizontalTrackbar()->maximum(), 1200);
    EXPECT_EQ(window.verticalTrackbar()->maximum(), 900);
    // A close box, which asks about unsaved work as "Salir" does.
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);

    for (int id : {1046, 1089, 1044, 1049, 1048, 1047, 1050, 1051, 1064, 1083, 1085, 1065}) {
        EXPECT_EQ(stateOf(id), ItemState::Enabled) << id;
    }
    EXPECT_EQ(stateOf(1066), ItemState::Checked);
    for (int id : {1045, 1059, 1068, 1090, 1121, 1054, 1111, 1112, 1113, 1114, 1115}) {
        EXPECT_EQ(stateOf(id), ItemState::Grayed) << id;
    }
    for (int id : kInsertItems) EXPECT_EQ(stateOf(id), ItemState::Grayed) << id;
    EXPECT_EQ(window.menu()->commandIds().size(), 43);
}

TEST_F(MainWindowTest, ViewIsGreyWithRedAxesOnTheTopAndLeftEdges) {
    EXPECT_EQ(view().pixel(600, 450), kViewGround);
    EXPECT_TRUE(columnHasAxis(0));
    EXPECT_TRUE(rowHasAxis(0));
    EXPECT_FALSE(columnHasAxis(1));
    // The axes are dotted: grey shows between the dots.
    int grey = 0;
    for (int y = 1; y < 60; ++y) grey += view().pixel(0, y) == kViewGround;
    EXPECT_GT(grey, 10);
}

TEST_F(MainWindowTest, TrackbarsMoveTheZeroPositionAndTheAxes) {
    QTest::keyClick(window.horizontalTrackbar(), Qt::Key_End);
    EXPECT_EQ(window.state().zero, QPoint(1199, 0));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 1199 y : 0"));
    EXPECT_TRUE(columnHasAxis(1199));
    EXPECT_FALSE(columnHasAxis(0));

    for (int step = 0; step < 450; ++step) QTest::keyClick(window.verticalTrackbar(), Qt::Key_Down);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 1199 y : 450"));
    EXPECT_TRUE(rowHasAxis(450));
}

TEST_F(MainWindowTest, KeysStepTheTrackbarsLikeDragging) {
    QSlider* across = window.horizontalTrackbar();
    QSlider* down = window.verticalTrackbar();
    QTest::keyClick(across, Qt::Key_Right);
    EXPECT_EQ(window.state().zero.x(), 1);
    QTest::keyClick(across, Qt::Key_End);
    EXPECT_EQ(window.state().zero.x(), 1199);
    QTest::keyClick(across, Qt::Key_Home);
    EXPECT_EQ(window.state().zero.x(), 0);
    QTest::keyClick(across, Qt::Key_PageDown);
    EXPECT_GT(window.state().zero.x(), 1);

    // The first position of the vertical trackbar is at the top: Down moves the axis down.
    QTest::keyClick(down, Qt::Key_Down);
    EXPECT_EQ(window.state().zero.y(), 1);
    QTest::keyClick(down, Qt::Key_End);
    EXPECT_EQ(window.state().zero.y(), 899);
    QTest::keyClick(down, Qt::Key_Up);
    EXPECT_EQ(window.state().zero.y(), 898);
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("x : %1 y : 898").arg(window.state().zero.x()));
}

TEST_F(MainWindowTest, ZeroPositionCommandPutsBothThumbsBackAtTheirFirstPosition) {
    window.horizontalTrackbar()->setValue(300);
    window.verticalTrackbar()->setValue(200);
    window.command(command::ZeroPosition);
    EXPECT_EQ(window.state().zero, QPoint(0, 0));
    EXPECT_EQ(window.horizontalTrackbar()->value(), 1);
    EXPECT_EQ(window.verticalTrackbar()->value(), 1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 0 y : 0"));
    EXPECT_TRUE(columnHasAxis(0));
    EXPECT_FALSE(columnHasAxis(299));
    EXPECT_EQ(stateOf(command::ZeroPosition), ItemState::Enabled);
}

TEST_F(MainWindowTest, RulerCommandsMoveTheCheckMarkAndRedrawTheStrips) {
    const Surface& strip = window.horizontalRuler()->surface();
    EXPECT_EQ(strip.pixel(38, 0), kRed);  // 1 cm
    window.command(command::RulerPixels);
    EXPECT_EQ(stateOf(command::RulerPixels), ItemState::Checked);
    EXPECT_EQ(stateOf(command::RulerMillimetres), ItemState::Enabled);
    EXPECT_EQ(strip.pixel(50, 0), kRed);
    EXPECT_NE(strip.pixel(38, 0), kRed);
    window.command(command::RulerMillimetres);
    EXPECT_EQ(stateOf(command::RulerMillimetres), ItemState::Checked);
    EXPECT_EQ(stateOf(command::RulerPixels), ItemState::Enabled);
    EXPECT_EQ(strip.pixel(38, 0), kRed);
}

TEST_F(MainWindowTest, RulersEndWithAnOpenedPicture) {
    // A picture of 300 x 200 at actual size: nothing on either strip beyond its far edges.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("small.png"));
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(path));
    window.openPicture(path);
    ASSERT_EQ(window.state().pictureSize().width(), 300);
    for (const auto unit : {command::RulerPixels, command::RulerMillimetres}) {
        window.command(unit);
        const Surface& across = window.horizontalRuler()->surface();
        const Surface& down = window.verticalRuler()->surface();
        EXPECT_NE(across.pixel(0, 0), kRulerGround);
        for (int x = 301; x < across.width(); ++x) {
            for (int y = 0; y < across.height(); ++y) {
                ASSERT_EQ(across.pixel(x, y), kRulerGround) << x << " " << y;
            }
        }
        for (int y = 201; y < down.height(); ++y) {
            for (int x = 0; x < down.width(); ++x) {
                ASSERT_EQ(down.pixel(x, y), kRulerGround) << x << " " << y;
            }
        }
    }
}

TEST_F(MainWindowTest, AuthorMessageAndQuit) {
    window.show();
    window.command(command::Author);
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_EQ(services.messages[0].caption, QStringLiteral("Programador ..."));
    EXPECT_TRUE(services.messages[0].text.startsWith(u"Programa realizado por Varona ...\r\n"));
    EXPECT_TRUE(services.messages[0].text.endsWith(u"\r\nVisitame ...\r\nGracias !!"));
    window.command(command::Quit);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, WindowManagerCloseActsLikeQuit) {
    window.show();
    window.state().history.start(QImage(20, 20, QImage::Format_RGB32));
    window.state().history.push();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.state().history.hasPicture());
}

// The icon is read once the first frame is painted, so start-up does not wait for it; it must
// still arrive, with its large sizes.
TEST_F(MainWindowTest, WindowGetsItsIconOnceShown) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!window.windowIcon().isNull());
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(256, 256)));
}

}  // namespace
}  // namespace tessel
