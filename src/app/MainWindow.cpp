#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "app/AlignedBubbleCommands.h"
#include "app/CalendarCommands.h"
#include "app/CanvasView.h"
#include "app/DropOpen.h"
#include "app/FileCommands.h"
#include "app/GreyScale.h"
#include "app/ShapeCommands.h"
#include "app/StartupChecks.h"
#include "app/TextCommands.h"
#include "app/UnsavedWork.h"
#include "cutting/Cut.h"
#include "cutting/CutSettingsDialog.h"
#include "page/ImageSizeDialog.h"
#include "page/Paper.h"
#include "page/PaperDialog.h"
#include "page/TextureDialog.h"
#include "platform/BuiltinPictures.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/LongWork.h"
#include "platform/Fonts.h"
#include "platform/Services.h"
#include "platform/Trackbar.h"

namespace tessel {
namespace {

constexpr int kTrackbarWidthRange = 1200;
constexpr int kTrackbarHeightRange = 900;
constexpr Colour kBlack = 0x000000;
}  // namespace

MainWindow::MainWindow() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint);
    setWindowTitle(QString());

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    horizontal_ = new platform::Trackbar(Qt::Horizontal, client, QRect(9, 1, 1210, 14), 1,
                                         kTrackbarWidthRange);
    setWindowIcon(platform::windowIcon());
    vertical_ = new platform::Trackbar(Qt::Vertical, client, QRect(1, 9, 14, 910), 1,
                                       kTrackbarHeightRange);

    canvas_ = new platform::DrawingArea(client, QRect(15, 15, kViewWidth, kViewHeight));
    canvas_->fill(0xFFFFFF);
    horizontalRuler_ = new platform::DrawingArea(client, QRect(15, 916, 1217, 40));
    horizontalRuler_->fill(kBlack);
    verticalRuler_ = new platform::DrawingArea(client, QRect(1216, 15, 40, 907));
    verticalRuler_->fill(kBlack);

    menu_ = new MenuBar(this);
    setMenuBar(menu_);
    connect(menu_, &MenuBar::command, this, &MainWindow::command);

    connect(horizontal_, &QSlider::valueChanged, this, &MainWindow::setZeroX);
    connect(vertical_, &QSlider::valueChanged, this, &MainWindow::setZeroY);

    new DropOpen(this, [this](const QString& path) { openPicture(path); });
    watchSessionEnd(this, state_);

    platform::FocusMemory::install(this);
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

bool MainWindow::initialise() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();
    if (const auto message = screenSizeMessage(screenSize)) {
        platform::inform(*message);
        return false;
    }
    drawRulers(RulerUnit::Millimetres);
    setWindowTitle(windowCaption(state_));
    menu_->applyPhase(MenuPhase::NoPicture);
    redisplay();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    return true;
}

void MainWindow::command(int commandId) {
    switch (commandId) {
        case command::New:
            if (settleUnsavedWork(state_, this)) newCanvas();
            break;
        case command::ZeroPosition: resetZeroPosition(); break;
        case command::ReadPicture:
            if (settleUnsavedWork(state_, this)) afterOpening(OpenPictureCommand(state_, this));
            break;
        case command::SavePicture: SaveCanvasCommand(state_, this); break;
        case command::PaperFormat:
            ShowPaperDialog(this, state_.paper, platform::programColours());
            if (state_.paper.accepted == 1) createPaper();
            break;
        case command::Cut:
            if (state_.history.hasPicture()) {
                CutCanvas(state_.history.current(), state_.pictureWidth, state_.pictureHeight,
                          state_.zero.x(), state_.zero.y(), state_.cut);
            }
            break;
        case command::Author: showAuthor(); break;
        case command::Quit: close(); break;
        case command::CutSettings:
            ShowCutSettingsDialog(this, state_.cut, platform::programColours(),
                                  [this] { redisplay(); });
            break;
        case command::TextProperties: TextPropertiesCommand(state_, this); break;
        case command::ImageSize: ShowImageSizeDialog(this, state_.imageSize); break;
        case command::Holidays: HolidaysCommand(state_, this); break;
        case command::TextureSelector: ShowTextureDialog(this, state_.paper); break;
        case command::RulerPixels: drawRulers(RulerUnit::Pixels); break;
        case command::RulerMillimetres: drawRulers(RulerUnit::Millimetres); break;
        case command::Undo:
            if (state_.history.undo()) redisplay();
            break;
        case command::GreyScale:
            if (state_.history.hasPicture()) {
                state_.history.push();
                toGreyScale(state_.history.current());
                redisplay();
            }
            break;
        case command::InsertPicture: afterInsertion(InsertPictureCommand(state_, this)); break;
        case command::InsertIcon: afterInsertion(InsertIconCommand(state_, this)); break;
        case command::InsertAlignedText:
            afterInsertion(InsertAlignedTextCommand(state_, this));
            break;
        case command::InsertBubble: afterInsertion(InsertBubbleCommand(state_, this)); break;
        case command::InsertMonth: afterInsertion(InsertMonthCommand(state_, this)); break;
        case command::InsertAngularText: afterInsertion(AngularTextCommand(state_, this)); break;
        case command::InsertHollowText: afterInsertion(HollowTextCommand(state_, this)); break;
        case command::InsertTextureText: afterInsertion(TextureTextCommand(state_, this)); break;
        case command::InsertFileTextureText:
            afterInsertion(FileTextureTextCommand(state_, this));
            break;
        case command::InsertFxText: afterInsertion(FxTextCommand(state_, this)); break;
        case command::InsertShapes: afterInsertion(InsertShapeCommand(state_, this)); break;
        case command::InsertArrows: afterInsertion(InsertArrowCommand(state_, this)); break;
        case command::InsertProgressBar:
            afterInsertion(InsertProgressBarCommand(state_, this));
            break;
        default:
            // The trackbars' notifications and the commands of tools still to come.
            break;
    }
    setWindowTitle(windowCaption(state_));
}

void MainWindow::openPicture(const QString& path) {
    if (settleUnsavedWork(state_, this)) afterOpening(OpenPictureFile(state_, path));
    setWindowTitle(windowCaption(state_));
}

void MainWindow::openPictureWhenShown(const QString& path) {
    QTimer::singleShot(0, this, [this, path] { openPicture(path); });
}

void MainWindow::afterOpening(bool opened) {
    if (opened) menu_->applyPhase(MenuPhase::PictureLoaded);
    redisplay();
}

void MainWindow::afterInsertion(bool inserted) {
    if (inserted) redisplay();
}

void MainWindow::redisplay() {
    const Surface* picture = state_.history.hasPicture() ? &state_.history.current() : nullptr;
    renderView(canvas_->surface(), picture, state_.zero, state_.cut);
    canvas_->update();
}

void MainWindow::createPaper() {
    const platform::BusyCursor busy;
    std::optional<Surface> paper = CreatePaper(state_.paper);
    if (!paper) return;
    state_.pictureWidth = paper->width();
    state_.pictureHeight = paper->height();
    state_.history.start(paper->image());
    markClean(state_);
    redisplay();
    menu_->applyPhase(MenuPhase::PaperCreated);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // "Salir" and leaving through the window manager: after the question about unsaved work.
    if (!settleUnsavedWork(state_, this)) {
        event->ignore();
        return;
    }
    state_.history.clear();
    event->accept();
}

void MainWindow::setZeroX(int trackbarPosition) {
    state_.zero.setX(zeroFromTrackbar(trackbarPosition));
    zeroPositionChanged();
}

void MainWindow::setZeroY(int trackbarPosition) {
    state_.zero.setY(zeroFromTrackbar(trackbarPosition));
    zeroPositionChanged();
}

void MainWindow::zeroPositionChanged() {
    setWindowTitle(windowCaption(state_));
    redisplay();
}

void MainWindow::resetZeroPosition() {
    state_.zero = QPoint(0, 0);
    const QSignalBlocker blockHorizontal(horizontal_);
    const QSignalBlocker blockVertical(vertical_);
    horizontal_->setValue(1);
    vertical_->setValue(1);
    zeroPositionChanged();
}

void MainWindow::drawRulers(RulerUnit unit) {
    const bool pixels = unit == RulerUnit::Pixels;
    menu_->setState(command::RulerPixels, pixels ? ItemState::Checked : ItemState::Enabled);
    menu_->setState(command::RulerMillimetres, pixels ? ItemState::Enabled : ItemState::Checked);
    if (pixels) {
        drawPixelRuler(horizontalRuler_->surface(), Qt::Horizontal, kViewWidth);
        drawPixelRuler(verticalRuler_->surface(), Qt::Vertical, kViewHeight);
    } else {
        drawMillimetreRuler(horizontalRuler_->surface(), Qt::Horizontal, platform::logicalDpiY());
        drawMillimetreRuler(verticalRuler_->surface(), Qt::Vertical, platform::logicalDpiX());
    }
    horizontalRuler_->update();
    verticalRuler_->update();
}

void MainWindow::newCanvas() {
    state_.history.clear();
    redisplay();
    menu_->applyPhase(MenuPhase::NoPicture);
}

void MainWindow::showAuthor() {
    platform::services().messages->inform(
        QStringLiteral("Programador ..."),
        QStringLiteral("Programa realizado por Varona ...\r\n"
                       "https://tessel-editor.org\r\n"
                       "Visitame ...\r\n"
                       "Gracias !!"));
}

}  // namespace tessel
