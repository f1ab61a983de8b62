#pragma once
// Unsaved work is never lost silently. The canvas holds unsaved work while its picture differs
// from the one last saved, opened or created: a save marks the current state clean, and undoing
// back to that state is clean again. A fresh paper or a freshly opened picture is clean, since
// nothing of the user's would be lost (the paper comes back with one "Papel Formato").
//
// Before anything replaces or closes the canvas ("Nuevo", "Leer Imagen", a dropped picture or one
// from the command line, "Salir", the window's close box, the end of the desktop session) the
// question "¿Guardar los cambios de la imagen?" is asked when there is unsaved work.

#include <QString>

#include "app/AppState.h"

class QWidget;

namespace tessel {

inline const QString kSaveChangesQuestion = QStringLiteral("¿Guardar los cambios de la imagen?");

bool hasUnsavedWork(const AppState& state);
// The current state is the one on disk (after a save, an open or a new paper).
void markClean(AppState& state);

// Asks about unsaved work, if there is any; true when the caller may go on: nothing was
// unsaved, "Descartar" was chosen, or "Guardar" ran "Grabar Imagen" and the file was written.
bool settleUnsavedWork(AppState& state, QWidget* parent);

// The same question at the end of the desktop session. mayAsk: whether the session manager lets
// the program talk to the user; without it nothing can be asked and the session goes on. True
// when the session may end, false when it must be cancelled.
bool settleUnsavedWorkAtSessionEnd(AppState& state, QWidget* parent, bool mayAsk);

// Asks the question whenever the desktop session is about to end, for the window's state.
void watchSessionEnd(QWidget* window, AppState& state);

// The window's caption: the zero-position read-out, after a "*" while there is unsaved work.
QString windowCaption(const AppState& state);

}  // namespace tessel
