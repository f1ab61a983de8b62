#include "app/FileCommands.h"

#include "app/PlaceDialog.h"
#include "app/UnsavedWork.h"
#include "imaging/CodecBridge.h"
#include "imaging/FileNames.h"
#include "imaging/IconFile.h"
#include "platform/LongWork.h"
#include "platform/Services.h"

namespace tessel {
namespace {

// The chooser for a picture to open lists every format the program reads; the one for saving
// only the five it writes.
platform::FileRequest pictureRequest(const QString& lastFileName, bool opening) {
    const QString written = QStringLiteral("*.jpg;*.jpeg;*.png;*.gif;*.bmp;*.tif;*.tiff");
    return {QStringLiteral("Navegador de ficheros para imagen o foto"),
            {{QStringLiteral("Images"),
              opening ? written + QStringLiteral(";*.webp;*.heic;*.heif;*.avif") : written},
             {QStringLiteral("All Files"), QStringLiteral("*.*")}},
            QStringLiteral("jpg"),
            lastFileName};
}

// A chosen path must be longer than three characters to be taken for a file.
bool plausiblePath(const QString& path) {
    return path.size() > 3;
}

}  // namespace

void ChoosePictureToOpen(QWidget* parent, QString& lastFileName) {
    lastFileName = platform::services().files->openFile(parent, pictureRequest(lastFileName, true));
}

void ChoosePictureToSave(QWidget* parent, QString& lastFileName, int formatChoice) {
    const QString proposed =
        lastFileName.isEmpty() ? QString() : SavedFileName(lastFileName, formatChoice);
    lastFileName = platform::services().files->saveFile(parent, pictureRequest(proposed, false));
}

QString SavedFileName(const QString& chosen, int formatChoice) {
    return TrimExtension(chosen) + extensionOf(formatChoice);
}

void ChooseIconToOpen(QWidget* parent, QString& lastFileName) {
    const platform::FileRequest request{
        QStringLiteral("Navegador de ficheros para icono"),
        {{QStringLiteral("Iconos"), QStringLiteral("*.ico")},
         {QStringLiteral("Todos los Ficheros"), QStringLiteral("*.*")}},
        QStringLiteral("ico"),
        lastFileName};
    lastFileName = platform::services().files->openFile(parent, request);
}

bool OpenPictureFile(AppState& state, const QString& path) {
    state.lastFileName = path;
    const platform::BusyCursor busy;
    std::optional<Surface> picture =
        LoadPictureAsBitmap(path, state.imageSize, state.paper.paperColour);
    if (!picture) return false;
    state.history.start(picture->image());
    markClean(state);
    return true;
}

bool OpenPictureCommand(AppState& state, QWidget* parent) {
    ChoosePictureToOpen(parent, state.lastFileName);
    if (state.lastFileName.isEmpty()) return false;
    return OpenPictureFile(state, state.lastFileName);
}

bool SaveCanvasCommand(AppState& state, QWidget* parent) {
    if (!state.history.hasPicture()) return false;
    ChoosePictureToSave(parent, state.lastFileName, state.cut.formatChoice);
    if (state.lastFileName.isEmpty()) return false;
    const QString target = SavedFileName(state.lastFileName, state.cut.formatChoice);
    if (FileIsPresent(target) &&
        !platform::askYesNo(QStringLiteral("El fichero existe ...\r\nSobreescribir?"))) {
        return false;
    }
    if (!SaveBitmapAsImageFile(state.history.current(), target)) return false;
    markClean(state);
    return true;
}

bool InsertPictureCommand(AppState& state, QWidget* parent) {
    ChoosePictureToOpen(parent, state.lastFileName);
    if (!plausiblePath(state.lastFileName)) return false;
    const std::optional<Surface> picture = [&] {
        const platform::BusyCursor busy;
        return LoadPictureAsBitmap(state.lastFileName, state.imageSize, state.paper.paperColour);
    }();
    if (!picture) return false;
    return InsertLoadedPicture(state, *picture, parent, QStringLiteral("Insertar Imagen"));
}

bool InsertLoadedPicture(AppState& state, const Surface& picture, QWidget* window,
                         const QString& title) {
    return placeAndInsert(state, window, title, [&picture](Surface& canvas, QPoint zero) {
        canvas.copyFrom(picture, QRect(QPoint(0, 0), picture.size()), zero);
        return true;
    });
}

bool InsertIconCommand(AppState& state, QWidget* parent) {
    ChooseIconToOpen(parent, state.lastFileName);
    if (!plausiblePath(state.lastFileName)) return false;
    if (!state.history.hasPicture()) return false;
    const std::optional<QImage> icon = readIconFile(state.lastFileName);
    if (!icon) {
        showPictureReadError(state.lastFileName);
        return false;
    }
    return placeAndInsert(state, parent, QStringLiteral("Insertar Icono"),
                          [&icon](Surface& canvas, QPoint zero) {
                              canvas.drawPicture(*icon, QRect(zero, icon->size()));
                              return true;
                          });
}

}  // namespace tessel
