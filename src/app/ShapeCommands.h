#pragma once
// The insertions of rectangles and ellipses, arrows and progress bars: each opens its dialog
// and, when it was accepted, draws its element at the zero position in a new undo level.

#include "app/AppState.h"

class QWidget;

namespace tessel {

// True when a new undo level holds the element.
bool InsertShapeCommand(AppState& state, QWidget* parent);
bool InsertArrowCommand(AppState& state, QWidget* parent);
bool InsertProgressBarCommand(AppState& state, QWidget* parent);

}  // namespace tessel
