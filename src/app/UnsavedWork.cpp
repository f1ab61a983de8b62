#include "app/UnsavedWork.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QWidget>

#include "view/CanvasView.h"
#include "app/FileCommands.h"
#include "platform/Services.h"

namespace tessel {

bool hasUnsavedWork(const AppState& state) {
    if (!state.history.hasPicture()) return false;
    // An element still being placed is not work yet: the picture it was drawn on counts.
    const UndoHistory& history = state.history;
    return (history.inTrial() ? history.parentStateId() : history.stateId()) != state.savedStateId;
}

void markClean(AppState& state) {
    state.savedStateId = state.history.stateId();
}

bool settleUnsavedWork(AppState& state, QWidget* parent) {
    if (!hasUnsavedWork(state)) return true;
    switch (platform::services().messages->askSaveDiscardCancel(platform::kCaption,
                                                                kSaveChangesQuestion)) {
        case platform::SaveAnswer::Save:
            return SaveCanvasCommand(state, parent);
        case platform::SaveAnswer::Discard:
            return true;
        case platform::SaveAnswer::Cancel:
            break;
    }
    return false;
}

bool settleUnsavedWorkAtSessionEnd(AppState& state, QWidget* parent, bool mayAsk) {
    if (!mayAsk) return true;
    return settleUnsavedWork(state, parent);
}

void watchSessionEnd(QWidget* window, AppState& state) {
#ifndef QT_NO_SESSIONMANAGER
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application) return;
    QObject::connect(application, &QGuiApplication::commitDataRequest, window,
                     [window, &state](QSessionManager& manager) {
                         const bool mayAsk = hasUnsavedWork(state) && manager.allowsInteraction();
                         const bool goOn = settleUnsavedWorkAtSessionEnd(state, window, mayAsk);
                         manager.release();
                         if (!goOn) manager.cancel();
                     });
#else
    (void)window;
    (void)state;
#endif
}

QString windowCaption(const AppState& state) {
    const QString readOut = zeroPositionCaption(state.zero);
    return hasUnsavedWork(state) ? u'*' + readOut : readOut;
}

}  // namespace tessel
