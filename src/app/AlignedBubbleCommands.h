#pragma once
// The aligned-text and speech-bubble insertions: their dialog, then the shared insertion
// transaction with their drawing at the zero position.

#include "app/AppState.h"

class QWidget;

namespace tessel {

// True when a new undo level holds the block / the bubble.
bool InsertAlignedTextCommand(AppState& state, QWidget* parent);
bool InsertBubbleCommand(AppState& state, QWidget* parent);

}  // namespace tessel
