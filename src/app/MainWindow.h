#pragma once
// The main window: the canvas view with its two trackbars and two rulers, the menu, and the main
// handler that turns every menu command into work.

#include <QMainWindow>
#include <functional>
#include <optional>

#include "app/AppState.h"
#include "app/CanvasWidget.h"
#include "app/MenuBar.h"
#include "app/Rulers.h"
#include "app/Turn.h"

class QSlider;

namespace tessel {

namespace platform {
class DrawingArea;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 1257;
    static constexpr int kClientHeight = 977;

    MainWindow();
    ~MainWindow() override;

    // Checks the screen and sets everything to its start-up values; false (after the message)
    // when the screen is too small and the program must end.
    bool initialise();

    // The main handler: one menu command.
    void command(int commandId);
    // A picture given on the command line or dropped on the window: opened as "Leer Imagen" opens
    // the chosen one, after the question about unsaved work.
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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
};

}  // namespace tessel
