#include "app/ShapeCommands.h"

#include "app/Insertion.h"
#include "platform/Services.h"
#include "progress/ProgressBar.h"
#include "progress/ProgressDialog.h"
#include "shapes/ArrowDialog.h"
#include "shapes/ShapeDialog.h"
#include "shapes/Shapes.h"

namespace tessel {

bool InsertShapeCommand(AppState& state, QWidget* parent) {
    Insertion insertion;
    insertion.accepted = ShowShapeDialog(parent, state.shapes) == 1;
    const ShapeSettings& shapes = state.shapes;
    insertion.draw = [&shapes](Surface& canvas, QPoint zero) {
        drawShape(canvas, zero.x(), zero.y(), shapes);
        return true;
    };
    return runInsertion(state, insertion);
}

bool InsertArrowCommand(AppState& state, QWidget* parent) {
    Insertion insertion;
    insertion.accepted = ShowArrowDialog(parent, state.arrows, platform::programColours()) == 1;
    const ArrowSettings& arrows = state.arrows;
    insertion.draw = [&arrows](Surface& canvas, QPoint zero) {
        drawArrow(canvas, zero.x(), zero.y(), arrows);
        return true;
    };
    return runInsertion(state, insertion);
}

bool InsertProgressBarCommand(AppState& state, QWidget* parent) {
    Insertion insertion;
    insertion.accepted =
        ShowProgressDialog(parent, state.progress, state.text, platform::programColours()) == 1;
    const ProgressSettings& bar = state.progress;
    const TextProperties& text = state.text;
    insertion.draw = [&bar, &text](Surface& canvas, QPoint zero) {
        drawProgressBar(canvas, zero.x(), zero.y(), barText(bar.barPercent), bar, text);
        return true;
    };
    return runInsertion(state, insertion);
}

}  // namespace tessel
