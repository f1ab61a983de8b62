#pragma once
// The commands that take a file name from the user: open a picture as the canvas, save the
// canvas, insert a picture, insert an icon; and the three file choosers they use.

#include <QString>

#include "app/AppState.h"
#include "surface/Surface.h"

class QWidget;

namespace tessel {

// Each chooser starts in the folder of lastFileName with its name proposed and leaves the chosen
// full path in it, or an empty text when cancelled.
void ChoosePictureToOpen(QWidget* parent, QString& lastFileName);
void ChooseIconToOpen(QWidget* parent, QString& lastFileName);
// The save chooser proposes the name as it will be written, in the format chosen in the cutting
// settings (formatChoice), so that the name the user accepts is the file that is written.
void ChoosePictureToSave(QWidget* parent, QString& lastFileName, int formatChoice);

// The file a save writes for a chosen name: the extension of formatChoice in place of the
// name's own ("foto.png" saved as JPEG is "foto.jpg"; "foto" is "foto.jpg").
QString SavedFileName(const QString& chosen, int formatChoice);

// Opens the picture at path as the canvas: the one step shared by "Leer Imagen", a picture given
// on the command line and a dropped one. True when it became the canvas (level 0, clean) and the
// picture size was recorded; otherwise the loader has shown its message and the canvas, its
// history and the picture size are untouched.
bool OpenPictureFile(AppState& state, const QString& path);
// "Leer Imagen": the chooser, then OpenPictureFile with the chosen path.
bool OpenPictureCommand(AppState& state, QWidget* parent);
// True when the file was written; the canvas is then clean.
bool SaveCanvasCommand(AppState& state, QWidget* parent);
// True when a new undo level holds the picture / the icon.
bool InsertPictureCommand(AppState& state, QWidget* parent);
bool InsertIconCommand(AppState& state, QWidget* parent);
// The step "Insertar Imagen" and "Pegar" share: the picture copied one to one with its top-left
// corner at the zero position (clipped at the canvas edge), as one new undo level. When `window`
// shows previews, the picture is first placed on the canvas in a window captioned `title`, and
// cancelling that leaves nothing.
bool InsertLoadedPicture(AppState& state, const Surface& picture, QWidget* window,
                         const QString& title);

}  // namespace tessel
