#pragma once
// The text commands of the main handler: the text properties, the four text-line insertions
// and FX text.

#include "app/AppState.h"

class QWidget;

namespace tessel {

void TextPropertiesCommand(AppState& state, QWidget* parent);

// Each is true when a new undo level holds the text.
bool AngularTextCommand(AppState& state, QWidget* parent);
bool HollowTextCommand(AppState& state, QWidget* parent);
bool TextureTextCommand(AppState& state, QWidget* parent);
bool FileTextureTextCommand(AppState& state, QWidget* parent);
bool FxTextCommand(AppState& state, QWidget* parent);

}  // namespace tessel
