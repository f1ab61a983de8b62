#include "app/ClipboardCommands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/FileCommands.h"
#include "app/PictureData.h"
#include "app/UnsavedWork.h"
#include "imaging/CodecBridge.h"
#include "platform/LongWork.h"
#include "platform/Services.h"

namespace tessel {
namespace {

// The picture data the clipboard or a drop holds, as a canvas at the image-size setting's size.
std::optional<Surface> surfaceFromData(const AppState& state, const QMimeData* data) {
    std::optional<QImage> picture = pictureIn(data);
    if (!picture) {
        platform::inform(kUnreadablePictureData);
        return std::nullopt;
    }
    return PictureAsBitmap(std::move(*picture), state.imageSize, state.paper.paperColour);
}

}  // namespace

bool CopyPictureCommand(const AppState& state) {
    if (!state.history.hasPicture()) return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    // A copy of its own: the clipboard may be read long after the canvas has changed again.
    clipboard->setImage(state.history.current().image().copy());
    return true;
}

bool PastePicture(AppState& state, const QMimeData* data, QWidget* window) {
    if (!state.history.hasPicture()) return false;
    const QString file = localFileIn(data);
    const std::optional<Surface> picture = [&] {
        const platform::BusyCursor busy;
        return file.isEmpty() ? surfaceFromData(state, data)
                              : LoadPictureAsBitmap(file, state.imageSize, state.paper.paperColour);
    }();
    if (!picture) return false;
    return InsertLoadedPicture(state, *picture, window, QStringLiteral("Pegar"));
}

bool OpenPictureData(AppState& state, const QMimeData* data) {
    const QString file = localFileIn(data);
    if (!file.isEmpty()) return OpenPictureFile(state, file);
    const platform::BusyCursor busy;
    std::optional<Surface> picture = surfaceFromData(state, data);
    if (!picture) return false;
    state.history.start(picture->image());
    // On no disk yet: closing or replacing it asks first.
    state.savedStateId = 0;
    return true;
}

}  // namespace tessel
