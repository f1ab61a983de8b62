#include "app/MainWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QMimeData>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/AlignedBubbleCommands.h"
#include "app/CalendarCommands.h"
#include "view/CanvasView.h"
#include "view/CanvasWidget.h"
#include "app/ClipboardCommands.h"
#include "app/DropOpen.h"
#include "app/PictureData.h"
#include "app/FileCommands.h"
#include "app/GreyScale.h"
#include "app/ShapeCommands.h"
#include "app/StartupChecks.h"
#include "app/TextCommands.h"
#include "app/UnsavedWork.h"
#include "app/WindowFit.h"
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

constexpr Colour kBlack = 0x000000;

// Runs `work` once the window's first frame is painted, for what need not hold up the first
// sight of the window.
class AfterFirstPaint : public QObject {
  public:
    AfterFirstPaint(QWidget* window, std::function<void()> work)
        : QObject(window), window_(window), work_(std::move(work)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint) {
            window_->removeEventFilter(this);
            QTimer::singleShot(0, window_, std::move(work_));
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* window_;
    std::function<void()> work_;
};

// The client area: it hands its size to the window, which places the controls.
class ClientArea : public QWidget {
public:
    ClientArea(QWidget* parent, std::function<void(QSize)> resized)
        : QWidget(parent), resized_(std::move(resized)) {}

protected:
    void resizeEvent(QResizeEvent*) override { resized_(size()); }

private:
    std::function<void(QSize)> resized_;
};

int pageStepFor(int range) {
    return std::max(1, (range - 1) / 20);
}
}  // namespace

MainWindow::MainWindow() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString());

    auto* client = new ClientArea(this, [this](QSize size) { layoutControls(size); });
    client->setMinimumSize(minimumClientSize());
    client->resize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    horizontal_ = new platform::Trackbar(Qt::Horizontal, client, QRect(9, 1, 1210, 14), 1,
                                         kViewWidth);
    // Reading the icon's pictures (the large ones most) waits for the first frame.
    new AfterFirstPaint(this, [this] { setWindowIcon(platform::windowIcon()); });
    vertical_ = new platform::Trackbar(Qt::Vertical, client, QRect(1, 9, 14, 910), 1,
                                       kViewHeight);

    canvas_ = new CanvasWidget({state_.history, state_.zero, state_.cut}, client,
                               QRect(15, 15, kViewWidth, kViewHeight));
    horizontalRuler_ = new platform::DrawingArea(client, QRect(15, 916, 1217, 40));
    horizontalRuler_->fill(kBlack);
    verticalRuler_ = new platform::DrawingArea(client, QRect(1216, 15, 40, 907));
    verticalRuler_->fill(kBlack);

    menu_ = new MenuBar(this);
    setMenuBar(menu_);
    connect(menu_, &MenuBar::command, this, &MainWindow::command);

    connect(horizontal_, &QSlider::valueChanged, this, &MainWindow::setZeroX);
    connect(vertical_, &QSlider::valueChanged, this, &MainWindow::setZeroY);
    connect(canvas_, &CanvasWidget::pixelPicked, this, [this](QPoint picture) {
        setZeroPosition(picture);
        // The open dialog keeps the keyboard.
        if (!preview_) return;
        for (QDialog* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
            if (dialog->isVisible()) dialog->activateWindow();
        }
    });
    connect(canvas_, &CanvasWidget::viewChanged, this, [this] {
        // Zooming with the wheel leaves "Ajustar a la ventana" as well.
        menu_->setState(command::FitToWindow,
                        canvas_->fitsWindow() ? ItemState::Checked : ItemState::Enabled);
        redrawRulers();
    });

    new DropOpen(this, [this](std::shared_ptr<const QMimeData> data) {
        whenIdle([this, data] {
            if (settleUnsavedWork(state_, this)) afterOpening(OpenPictureData(state_, data.get()));
        });
    });
    watchClipboard();
    watchSessionEnd(this, state_);

    platform::FocusMemory::install(this);
    // The start size: the client area of 1257 x 977 under the menu bar.
    resize(kClientWidth, kClientHeight + menu_->sizeHint().height());
}

void MainWindow::layoutControls(QSize client) {
    if (!verticalRuler_) return;  // still being built
    const ControlPlaces places = controlPlaces(client);
    horizontal_->setGeometry(places.acrossTrackbar);
    vertical_->setGeometry(places.downTrackbar);
    canvas_->setGeometry(places.view);
    horizontalRuler_->setAreaGeometry(places.acrossRuler);
    verticalRuler_->setAreaGeometry(places.downRuler);
    redrawRulers();
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
        // The decorations are not known before the window is shown: a frame of the usual size
        // is allowed for, and a window too large for the work area opens maximised.
        const QSize decorations = frameGeometry().size() == size() ? QSize(8, 32)
                                                                   : frameGeometry().size() - size();
        const QRect work = screen->availableGeometry();
        const QRect frame = startFrame(size() + decorations, work);
        if (frame == work && (size() + decorations) != work.size()) {
            resize(work.size() - decorations);
            move(work.topLeft());
            setWindowState(windowState() | Qt::WindowMaximized);
        } else {
            move(frame.topLeft());
        }
    }
    return true;
}

// While an insertion dialog is open, only the view moves; every other command waits.
static bool waitsForDialog(int commandId) {
    switch (commandId) {
        case command::FitToWindow:
        case command::ActualSize:
        case command::ZoomIn:
        case command::ZoomOut: return false;
        default: return true;
    }
}

void MainWindow::command(int commandId) {
    // While an insertion dialog is open (a command that runs), the view still zooms; every other
    // command waits.
    if (preview_) {
        if (!waitsForDialog(commandId)) dispatch(commandId);
        return;
    }
    if (running_ > 0) return;
    runStep([this, commandId] { dispatch(commandId); });
}

void MainWindow::whenIdle(std::function<void()> step) {
    // Behind those that wait already: they run in the order they came.
    if (running_ > 0 || !waiting_.empty()) {
        waiting_.push_back(std::move(step));
        return;
    }
    runStep(step);
}

void MainWindow::runStep(const std::function<void()>& step) {
    {
        const QScopedValueRollback running(running_, running_ + 1);
        try {
            step();
        } catch (const std::bad_alloc&) {
            // What the command had changed when memory ran out was given back on the way out.
            platform::inform(QStringLiteral("No hay memoria suficiente para esta operación ..."));
            redisplay();
        }
    }
    setWindowTitle(windowCaption(state_));
    if (running_ == 0 && !waiting_.empty()) {
        // The next waiting step runs from the event loop, once this one has returned.
        QTimer::singleShot(0, this, [this] {
            if (running_ > 0 || waiting_.empty()) return;
            const std::function<void()> next = std::move(waiting_.front());
            waiting_.pop_front();
            runStep(next);
        });
    }
}

void MainWindow::dispatch(int commandId) {
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
                CutCanvas(state_.history.current(), state_.pictureSize().width(), state_.pictureSize().height(),
                          state_.zero.x(), state_.zero.y(), state_.cut);
            }
            break;
        case command::Author: showAuthor(); break;
        case command::Quit: {
            const QScopedValueRollback quitting(quitting_, true);
            close();
            break;
        }
        case command::CutSettings:
            ShowCutSettingsDialog(this, state_.cut, platform::programColours(),
                                  [this] {
                                      canvas_->axesChanged();
                                      redrawRulers();
                                  });
            break;
        case command::TextProperties: TextPropertiesCommand(state_, this); break;
        case command::ImageSize: ShowImageSizeDialog(this, state_.imageSize); break;
        case command::Holidays: HolidaysCommand(state_, this); break;
        case command::TextureSelector: ShowTextureDialog(this, state_.paper); break;
        case command::RulerPixels: drawRulers(RulerUnit::Pixels); break;
        case command::RulerMillimetres: drawRulers(RulerUnit::Millimetres); break;
        case command::Undo: {
            const Turn undone = state_.history.levelTurn(state_.history.level());
            const QSize before = state_.history.current().size();
            if (state_.history.undo()) afterTurn(inverse(undone), before);
            break;
        }
        case command::Redo: {
            const QSize before = state_.history.current().size();
            if (state_.history.redo()) {
                afterTurn(state_.history.levelTurn(state_.history.level()), before);
            }
            break;
        }
        case command::CopyPicture: CopyPictureCommand(state_); break;
        case command::Paste:
            if (state_.history.hasPicture()) {
                afterInsertion(
                    PastePicture(state_, QGuiApplication::clipboard()->mimeData(), this));
            } else {
                pasteAsNewPicture();
            }
            break;
        case command::PasteAsNew: pasteAsNewPicture(); break;
        case command::GreyScale:
            if (state_.history.hasPicture()) {
                state_.history.push();
                toGreyScale(state_.history.current());
                redisplay();
            }
            break;
        case command::TurnRight: turnPicture(Turn::Right); break;
        case command::TurnLeft: turnPicture(Turn::Left); break;
        case command::TurnHalf: turnPicture(Turn::Half); break;
        case command::MirrorHorizontal: turnPicture(Turn::Horizontal); break;
        case command::MirrorVertical: turnPicture(Turn::Vertical); break;
        case command::FitToWindow:
        case command::ActualSize:
        case command::ZoomIn:
        case command::ZoomOut: viewCommand(commandId); break;
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
}

void MainWindow::openPicture(const QString& path) {
    whenIdle([this, path] {
        if (settleUnsavedWork(state_, this)) afterOpening(OpenPictureFile(state_, path));
    });
}

void MainWindow::startWhenShown(const QString& picture, std::function<void()> first) {
    new AfterFirstPaint(this, [this, picture, first = std::move(first)] {
        const QStringList missing = missingImageFormats();
        if (!missing.isEmpty()) {
            platform::services().messages->inform(QStringLiteral("tessel"),
                                                  codecFailureMessage(missing));
            QCoreApplication::exit(1);
            return;
        }
        if (first) first();
        if (!picture.isEmpty()) openPicture(picture);
    });
}

void MainWindow::showReplacedPicture(MenuPhase phase) {
    afterOpening(true);
    menu_->applyPhase(phase);
    setWindowTitle(windowCaption(state_));
}

void MainWindow::pasteAsNewPicture() {
    if (!settleUnsavedWork(state_, this)) return;
    // Read after the question: the clipboard may have changed while it waited for its answer.
    afterOpening(OpenPictureData(state_, QGuiApplication::clipboard()->mimeData()));
}

void MainWindow::watchClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto follow = [this, clipboard] {
        menu_->setClipboardOffersPicture(offersPicture(clipboard->mimeData()));
    };
    connect(clipboard, &QClipboard::dataChanged, this, follow);
    // What it holds now is asked once the window is first seen: its owner may be slow to answer.
    new AfterFirstPaint(this, follow);
}

void MainWindow::afterOpening(bool opened) {
    if (!opened) return;
    menu_->applyPhase(MenuPhase::PictureLoaded);
    newPicture();
    // A picture larger than the view opens whole; one that fits at its own size.
    const QSize picture = state_.history.current().size();
    if (picture.width() > canvas_->width() || picture.height() > canvas_->height()) {
        viewCommand(command::FitToWindow);
    } else if (canvas_->fitsWindow()) {
        viewCommand(command::ActualSize);
    }
}

void MainWindow::afterInsertion(bool inserted) {
    if (inserted) redisplay();
}

void MainWindow::turnPicture(Turn turn) {
    if (!state_.history.hasPicture()) return;
    const QSize before = state_.history.current().size();
    state_.history.turn(turn);
    afterTurn(turn, before);
}

// After the picture of `before` was turned (Turn::None: any other change): the zero position
// stays on the same spot of the picture, and the picture size and the view follow a new size.
void MainWindow::afterTurn(Turn turn, QSize before) {
    if (turn == Turn::None) {
        redisplay();
        return;
    }
    const QPoint inside(std::clamp(state_.zero.x(), 0, std::max(0, before.width() - 1)),
                        std::clamp(state_.zero.y(), 0, std::max(0, before.height() - 1)));
    const QPoint zero = turnedPoint(turn, inside, before);
    const QSize size = state_.history.current().size();
    if (size == before) {
        redisplay();
        setZeroPosition(zero);
        return;
    }
    // A new size: the view starts again on it, with the zero position already moved.
    state_.zero = zero;
    newPicture();
}

void MainWindow::redisplay() {
    canvas_->pictureChanged();
}

void MainWindow::viewCommand(int commandId) {
    switch (commandId) {
        case command::FitToWindow: canvas_->fitToWindow(); break;
        case command::ActualSize: canvas_->actualSize(); break;
        case command::ZoomIn: canvas_->zoomIn(); break;
        case command::ZoomOut: canvas_->zoomOut(); break;
        default: break;
    }
    menu_->setState(command::FitToWindow,
                    canvas_->fitsWindow() ? ItemState::Checked : ItemState::Enabled);
}

void MainWindow::newPicture() {
    canvas_->newPicture();
    const QSize extent = canvas_->extent();
    // The ranges follow the picture; a zero position outside it comes inside.
    const QPoint zero(std::min(state_.zero.x(), extent.width() - 1),
                      std::min(state_.zero.y(), extent.height() - 1));
    {
        const QSignalBlocker blockHorizontal(horizontal_);
        const QSignalBlocker blockVertical(vertical_);
        horizontal_->setRange(1, extent.width());
        vertical_->setRange(1, extent.height());
        horizontal_->setPageStep(pageStepFor(extent.width()));
        vertical_->setPageStep(pageStepFor(extent.height()));
    }
    setZeroPosition(zero);
}

void MainWindow::setZeroPosition(QPoint zero) {
    {
        const QSignalBlocker blockHorizontal(horizontal_);
        const QSignalBlocker blockVertical(vertical_);
        horizontal_->setValue(zero.x() + 1);
        vertical_->setValue(zero.y() + 1);
    }
    const QPoint before = state_.zero;
    state_.zero = zero;
    setWindowTitle(windowCaption(state_));
    canvas_->zeroMoved(before);
    redrawRulers();
    if (preview_) preview_->moved();
}

void MainWindow::previewStarted(LivePreview* preview) {
    preview_ = preview;
    menu_->setWaiting(true);
}

void MainWindow::previewChanged() {
    redisplay();
}

void MainWindow::previewEnded() {
    preview_ = nullptr;
    menu_->setWaiting(false);
    redisplay();
}

void MainWindow::createPaper() {
    const platform::BusyCursor busy;
    std::optional<Surface> paper = CreatePaper(state_.paper);
    if (!paper) return;
    state_.history.start(paper->image());
    markClean(state_);
    menu_->applyPhase(MenuPhase::PaperCreated);
    newPicture();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // "Salir" and leaving through the window manager: after the question about unsaved work,
    // and never while another command runs (a save being written, say).
    bool leave = false;
    if (running_ <= (quitting_ ? 1 : 0)) {
        runStep([this, &leave] { leave = settleUnsavedWork(state_, this); });
    }
    if (!leave) {
        event->ignore();
        return;
    }
    state_.history.clear();
    event->accept();
}

void MainWindow::setZeroX(int trackbarPosition) {
    setZeroPosition(QPoint(zeroFromTrackbar(trackbarPosition), state_.zero.y()));
}

void MainWindow::setZeroY(int trackbarPosition) {
    setZeroPosition(QPoint(state_.zero.x(), zeroFromTrackbar(trackbarPosition)));
}

void MainWindow::resetZeroPosition() {
    setZeroPosition(QPoint(0, 0));
}

void MainWindow::drawRulers(RulerUnit unit) {
    const bool pixels = unit == RulerUnit::Pixels;
    menu_->setState(command::RulerPixels, pixels ? ItemState::Checked : ItemState::Enabled);
    menu_->setState(command::RulerMillimetres, pixels ? ItemState::Enabled : ItemState::Checked);
    rulerUnit_ = unit;
    redrawRulers();
}

void MainWindow::redrawRulers() {
    if (!menu_) return;  // still being built
    // On a screen of a whole pixel ratio above 1 the strips are drawn at its own resolution.
    const qreal dpr = devicePixelRatioF();
    const int scale = std::abs(dpr - std::round(dpr)) < 0.01 ? int(std::lround(dpr)) : 1;
    horizontalRuler_->setPixelRatio(scale);
    verticalRuler_->setPixelRatio(scale);
    const ViewTransform& view = canvas_->transform();
    const QSize port = canvas_->viewport();
    // Without a picture the rulers run the strips' whole length.
    const QSize picture = state_.history.hasPicture() ? canvas_->extent() : QSize();
    // The down strip lies over the corner of the across strip.
    const QRect corner = horizontalRuler_->geometry()
                             .intersected(verticalRuler_->geometry())
                             .translated(-horizontalRuler_->geometry().topLeft());
    const RulersDrawn now{
        rulerUnit_,
        {view.zoom(), view.scroll().x(), port.width(), state_.zero.x(), platform::logicalDpiY(),
         state_.cut.verticalAxisColour, scale, picture.width(), corner},
        {view.zoom(), view.scroll().y(), port.height(), state_.zero.y(), platform::logicalDpiX(),
         state_.cut.horizontalAxisColour, scale, picture.height(), QRect()},
        horizontalRuler_->surface().size(),
        verticalRuler_->surface().size()};
    // A window being set up or resized asks several times for the same strips.
    if (rulersDrawn_ == now) return;
    rulersDrawn_ = now;
    drawViewRuler(horizontalRuler_->surface(), Qt::Horizontal, rulerUnit_, now.across);
    drawViewRuler(verticalRuler_->surface(), Qt::Vertical, rulerUnit_, now.down);
    horizontalRuler_->update();
    verticalRuler_->update();
}

void MainWindow::newCanvas() {
    state_.history.clear();
    menu_->applyPhase(MenuPhase::NoPicture);
    newPicture();
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
