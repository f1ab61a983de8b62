#include "imaging/CodecBridge.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>

#include "imaging/FileNames.h"
#include "imaging/GifWriter.h"
#include "imaging/JpegIntegrity.h"
#include "imaging/JpegWriter.h"
#include "imaging/PngReader.h"
#include "imaging/TiffWriter.h"
#include "platform/Services.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

const QString kLoaderCaption = QStringLiteral("Error");

void showLoaderMessage(const QString& text) {
    platform::services().messages->inform(kLoaderCaption, text);
}

void showMissingFile(const QString& fileName) {
    showLoaderMessage(QStringLiteral("[GraphicLoadImageFileToBitmap] called on <") + fileName +
                      QStringLiteral("> Missing file"));
}

void showReadError(const QString& fileName) {
    showLoaderMessage(
        QStringLiteral("[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <") +
        fileName + QStringLiteral(">"));
}

bool tooLarge(qint64 width, qint64 height) {
    return width * height > kMaxPicturePixels;
}

// Decodes the whole picture, refusing one whose declared size is too large before any pixel
// memory is taken, and a JPEG file that ends before its last scan is complete.
std::optional<QImage> decode(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.peek(8) == QByteArray("\x89PNG\r\n\x1A\n", 8)) {
        // Qt draws some valid PNG files wrongly; those are read with libpng.
        const QByteArray bytes = file.readAll();
        if (pngNeedsOwnReader(bytes)) return readPngWithLibpng(bytes, kMaxPicturePixels);
        if (!file.seek(0)) return std::nullopt;
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    const QSize declared = reader.size();
    if (declared.isValid() && tooLarge(declared.width(), declared.height())) return std::nullopt;
    if (reader.format() == "jpeg") {
        QFile whole(fileName);
        if (!whole.open(QIODevice::ReadOnly) || !jpegIsComplete(whole.readAll())) {
            return std::nullopt;
        }
    }
    QImage picture = reader.read();
    if (picture.isNull() || tooLarge(picture.width(), picture.height())) return std::nullopt;
    return picture;
}

// Step 6 of the load: a picture larger than the box in its limiting direction shrinks to fit
// with its proportions kept; otherwise it fills the whole box. A side never drops below one
// pixel.
void fitIntoBox(int pictureWidth, int pictureHeight, int& width, int& height) {
    const long double pw = pictureWidth;
    const long double ph = pictureHeight;
    if (pw / width > ph / height) {
        if (width < pictureWidth) height = int(std::max(1L, roundToInt(ph / (pw / width))));
    } else {
        if (height < pictureHeight) width = int(std::max(1L, roundToInt(pw / (ph / height))));
    }
}

}  // namespace

std::optional<Surface> GraphicLoadImageFileToBitmap(const QString& fileName, int width, int height,
                                                    int keepAspect, Colour paperColour) {
    if (keepAspect != 0 && (width == 0 || height == 0)) return std::nullopt;
    if (!FileIsPresent(fileName)) {
        showMissingFile(fileName);
        return std::nullopt;
    }
    const std::optional<QImage> picture = decode(fileName);
    if (!picture) {
        showReadError(fileName);
        return std::nullopt;
    }
    const int pictureWidth = picture->width();
    const int pictureHeight = picture->height();
    if (pictureWidth == 0 || pictureHeight == 0) return std::nullopt;

    if (width == 0) width = pictureWidth;
    if (height == 0) height = pictureHeight;
    if (keepAspect != 0 && width > 0 && height > 0) {
        fitIntoBox(pictureWidth, pictureHeight, width, height);
    }
    const auto cannotCreate = [&] {
        platform::inform(QStringLiteral("No se puede crear una imagen de %1 x %2 pixeles ...")
                             .arg(width)
                             .arg(height));
    };
    if (width <= 0 || height <= 0 || tooLarge(width, height)) {
        cannotCreate();
        return std::nullopt;
    }
    Surface bitmap(width, height);
    if (bitmap.isNull()) {
        cannotCreate();
        return std::nullopt;
    }
    bitmap.clear(paperColour);
    bitmap.drawPicture(*picture, QRect(0, 0, width, height));
    return bitmap;
}

std::optional<Surface> LoadPictureAsBitmap(const QString& fileName, const ImageSizeSetting& setting,
                                           Colour paperColour) {
    return GraphicLoadImageFileToBitmap(fileName, setting.boxWidth, setting.boxHeight,
                                        1 - setting.trueSize, paperColour);
}

namespace {

// The Qt format name for the extensions the program writes through Qt; empty for ".gif"
// (written by our own encoder) and for every extension the program does not write.
QByteArray qtFormatFor(const QString& extension) {
    if (extension == QLatin1String(".png")) return "png";
    if (extension == QLatin1String(".jpg")) return "jpeg";
    if (extension == QLatin1String(".tif")) return "tiff";
    if (extension == QLatin1String(".bmp")) return "bmp";
    return {};
}

// The encoded file, or nothing when the encoder fails.
std::optional<QByteArray> encode(const QImage& image, const QString& extension) {
    if (extension == QLatin1String(".gif")) return encodeGif(image);
    if (extension == QLatin1String(".jpg")) return encodeJpegFullColour(image);
    if (extension == QLatin1String(".tif")) return encodeTiff(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormatFor(extension));
    if (!writer.write(image)) return std::nullopt;
    return bytes;
}

bool writeWhole(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // An unfinished QSaveFile removes its temporary file and leaves the target untouched.
    if (file.write(bytes) != bytes.size()) return false;
    return file.commit();
}

}  // namespace

bool SaveBitmapAsImageFile(const Surface& bitmap, const QString& fileName) {
    const QString extension = ExtensionOf(fileName).toLower();
    const bool known = extension == QLatin1String(".gif") || !qtFormatFor(extension).isEmpty();
    if (!known) return false;

    const std::optional<QByteArray> bytes =
        bitmap.isNull() ? std::nullopt : encode(bitmap.image(), extension);
    if (!bytes || !writeWhole(fileName, *bytes)) {
        platform::inform(QStringLiteral("No se ha podido grabar el fichero ...\r\n") + fileName);
        return false;
    }
    platform::inform(QStringLiteral("Grabado con exito ..."));
    return true;
}

}  // namespace tessel
