#pragma once
// The commands that take a file name from the user: open a picture as the canvas, save the
// canvas, insert a picture, insert an icon; and the three file choosers they use.

#include <QString>

#include "app/AppState.h"

class QWidget;

namespace tessel {

// Each chooser starts in the folder of lastFileName with its name proposed and leaves the chosen
// full path in it, or an empty text when cancelled.
void ChoosePictureToOpen(QWidget* parent, QString& lastFileName);
void ChoosePictureToSave(QWidget* parent, QString& lastFileName);
void ChooseIconToOpen(QWidget* parent, QString& lastFileName);

// True when the picture became the canvas (level 0) and the picture size was recorded.
bool OpenPictureCommand(AppState& state, QWidget* parent);
// True when the file was written.
bool SaveCanvasCommand(AppState& state, QWidget* parent);
// True when a new undo level holds the picture / the icon.
bool InsertPictureCommand(AppState& state, QWidget* parent);
bool InsertIconCommand(AppState& state, QWidget* parent);

}  // namespace tessel
