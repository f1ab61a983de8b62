#pragma once
// The main window: the canvas view with its two trackbars and two rulers, the menu, and the main
// handler that turns every menu command into work.

#include <QMainWindow>
#include <deque>
#include <functional>
#include <optional>

#include "app/AppState.h"
#include "view/CanvasWidget.h"
#include "app/LivePreview.h"
#include "app/MenuBar.h"
#include "view/Rulers.h"
#include "history/Turn.h"

class QSlider;

namespace tessel {

namespace platform {
class DrawingArea;
}

class MainWindow : public QMainWindow, public PreviewHost {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 1257;
    static constexpr int kClientHeight = 977;

    MainWindow();
    ~MainWindow() override;

    // Checks the screen and sets everything to its start-up values; false (after the message)
    // when the screen is too small and the program must end.
    bool initialise();

    // The main handler: one menu command. A command that comes while another one runs (whose
    // long work keeps the windows painted, or whose question waits for its answer) is ignored.
    // A command that runs out of memory says so and leaves the picture and its history as they
    // were before it.
    void command(int commandId);
    // A picture given on the command line or dropped on the window: opened as "Leer Imagen" opens
    // the chosen one, after the question about unsaved work; while a command runs, once it has
    // ended.
    void openPicture(const QString& path);
    // Once the window's first frame is painted: the image codecs are checked (a missing one
    // ends the program after its message), `first` runs, then `picture`, when given, is opened.
    void startWhenShown(const QString& picture, std::function<void()> first = {});
    // A picture the history was started on outside the commands (a recovered one): shown as an
    // opened picture is, with the menu of `phase`.
    void showReplacedPicture(MenuPhase phase);

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    MenuBar* menu() const { return menu_; }
    QSlider* horizontalTrackbar() const { return horizontal_; }
    QSlider* verticalTrackbar() const { return vertical_; }
    CanvasWidget* canvasControl() const { return canvas_; }
    platform::DrawingArea* horizontalRuler() const { return horizontalRuler_; }
    platform::DrawingArea* verticalRuler() const { return verticalRuler_; }

    // The display after a change of the current picture: grey ground, the picture, the axes.
    void redisplay();
    // The rest of "Papel Formato" once the dialog was accepted.
    void createPaper();
    // After the picture was replaced (opened, new paper, "Nuevo"; any other way of opening one
    // calls it too): the view starts again on it, fitted if "Ajustar a la ventana" is on, and
    // the zero position's range follows its size (1200 x 900 without one).
    void newPicture();

    // An insertion dialog's element shown on the picture.
    void previewStarted(LivePreview* preview) override;
    void previewChanged() override;
    void previewEnded() override;
    bool previewing() const { return preview_ != nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void dispatch(int commandId);
    // Runs the step as a command runs, with its memory failure caught; while another command
    // runs, the step waits until it has ended.
    void whenIdle(std::function<void()> step);
    void runStep(const std::function<void()>& step);
    void setZeroX(int trackbarPosition);
    void setZeroY(int trackbarPosition);
    void resetZeroPosition();
    void drawRulers(RulerUnit unit);
    void redrawRulers();
    void setZeroPosition(QPoint zero);
    void viewCommand(int commandId);
    void layoutControls(QSize client);
    void newCanvas();
    void showAuthor();
    void afterInsertion(bool inserted);
    void afterOpening(bool opened);
    void pasteAsNewPicture();
    // The paste items follow what the clipboard holds.
    void watchClipboard();
    void turnPicture(Turn turn);
    void afterTurn(Turn turn, QSize before);

    AppState state_;
    LivePreview* preview_ = nullptr;
    MenuBar* menu_ = nullptr;
    QSlider* horizontal_ = nullptr;
    QSlider* vertical_ = nullptr;
    CanvasWidget* canvas_ = nullptr;
    RulerUnit rulerUnit_ = RulerUnit::Millimetres;
    // What the ruler strips show now.
    struct RulersDrawn {
        RulerUnit unit;
        RulerSpan across, down;
        QSize acrossSize, downSize;
        bool operator==(const RulersDrawn&) const = default;
    };
    std::optional<RulersDrawn> rulersDrawn_;
    platform::DrawingArea* horizontalRuler_ = nullptr;
    platform::DrawingArea* verticalRuler_ = nullptr;
    // How deep commands run now, and the openings that wait for them to end, in order.
    int running_ = 0;
    bool quitting_ = false;  // "Salir" runs: the window may close
    std::deque<std::function<void()>> waiting_;
};

}  // namespace tessel
