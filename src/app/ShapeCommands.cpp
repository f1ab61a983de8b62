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
    const auto drawWith = [](const ShapeSettings& shapes) -> LivePreview::Draw {
        return [shapes](Surface& canvas, QPoint zero) {
            drawShape(canvas, zero.x(), zero.y(), shapes);
            return true;
        };
    };
    LivePreview preview(state, parent);
    Insertion insertion;
    insertion.accepted =
        ShowShapeDialog(parent, state.shapes, preview.follow<ShapeSettings>(drawWith)) == 1;
    insertion.draw = drawWith(state.shapes);
    return runInsertion(state, insertion, &preview);
}

bool InsertArrowCommand(AppState& state, QWidget* parent) {
    const auto drawWith = [](const ArrowSettings& arrows) -> LivePreview::Draw {
        return [arrows](Surface& canvas, QPoint zero) {
            drawArrow(canvas, zero.x(), zero.y(), arrows);
            return true;
        };
    };
    LivePreview preview(state, parent);
    Insertion insertion;
    insertion.accepted = ShowArrowDialog(parent, state.arrows, platform::programColours(),
                                         preview.follow<ArrowSettings>(drawWith)) == 1;
    insertion.draw = drawWith(state.arrows);
    return runInsertion(state, insertion, &preview);
}

bool InsertProgressBarCommand(AppState& state, QWidget* parent) {
    const TextProperties& text = state.text;
    const auto drawWith = [&text](const ProgressSettings& bar) -> LivePreview::Draw {
        return [bar, &text](Surface& canvas, QPoint zero) {
            drawProgressBar(canvas, zero.x(), zero.y(), barText(bar.barPercent), bar, text);
            return true;
        };
    };
    LivePreview preview(state, parent);
    Insertion insertion;
    insertion.accepted = ShowProgressDialog(parent, state.progress, state.text,
                                            platform::programColours(),
                                            preview.follow<ProgressSettings>(drawWith)) == 1;
    insertion.draw = drawWith(state.progress);
    return runInsertion(state, insertion, &preview);
}

}  // namespace tessel
