#pragma once
// The clipboard: "Copiar imagen" puts the whole current picture on it; "Pegar" inserts its
// picture at the zero position as "Insertar Imagen" inserts a file; "Pegar como imagen nueva"
// (and a drop of picture data) makes its picture the canvas as "Leer Imagen" does.

#include "app/AppState.h"

class QMimeData;
class QWidget;

namespace tessel {

// The message for clipboard or dropped data whose picture cannot be read.
inline const QString kUnreadablePictureData =
    QStringLiteral("No se puede leer la imagen del portapapeles ...");

// True when the whole current picture is on the clipboard.
bool CopyPictureCommand(const AppState& state);

// The picture the data offers (a local picture file, loaded as "Insertar Imagen" loads one, or
// the picture data), fitted by the image-size setting and inserted with its top-left corner at
// the zero position as one undo level (placed first on the canvas when `window` shows
// previews). True when a level holds it; otherwise a message says why.
bool PastePicture(AppState& state, const QMimeData* data, QWidget* window);

// The picture the data offers becomes the canvas (level 0), as an opened file does; picture data
// that comes from no file is unsaved work. True when it did; otherwise a message says why and the
// canvas, its history and the picture size are untouched. The question about unsaved work is the
// caller's.
bool OpenPictureData(AppState& state, const QMimeData* data);

}  // namespace tessel
