#include "imaging/CodecBridge.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>

#include "imaging/BmpIntegrity.h"
#include "imaging/DeclaredSize.h"
#include "imaging/DecodedPicture.h"
#include "imaging/FileNames.h"
#include "imaging/GifReader.h"
#include "imaging/GifWriter.h"
#include "imaging/HeifReader.h"
#include "imaging/JpegIntegrity.h"
#include "imaging/JpegReader.h"
#include "imaging/JpegWriter.h"
#include "imaging/Orientation.h"
#include "imaging/PictureMetadata.h"
#include "imaging/PngReader.h"
#include "imaging/PngWriter.h"
#include "imaging/TiffReader.h"
#include "imaging/TiffWriter.h"
#include "imaging/WebpReader.h"
#include "platform/LongWork.h"
#include "platform/RegularFile.h"
#include "platform/SafeFile.h"
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

bool tooLarge(qint64 width, qint64 height) {
    return width * height > kMaxPicturePixels;
}

// The formats the program reads, by the names Qt's readers give them.
bool readableFormat(const QByteArray& format) {
    return format == "png" || format == "jpeg" || format == "gif" || format == "tiff" ||
           format == "bmp";
}

// The first step of a read: the stored pixels of a PNG, JPEG, GIF, TIFF or BMP file, with
// the name of its format.
std::optional<QImage> decodeStoredPixels(const QByteArray& encoded, QByteArray& format,
                                         JpegResult& jpeg) {
    // Qt draws some valid PNG files wrongly; those are read with libpng.
    if (declaredPixels(encoded) > kMaxPicturePixels) return std::nullopt;
    if (pngNeedsOwnReader(encoded)) {
        format = "png";
        return readPngWithLibpng(encoded, kMaxPicturePixels);
    }
    if (looksLikeTiff(encoded)) {
        format = "tiff";
        return decodeTiff(encoded, kMaxPicturePixels);
    }
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);  // the orientation is applied once, by the normalise step
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    format = reader.format();
    if (!readableFormat(format)) return std::nullopt;
    const QSize declared = reader.size();
    if (declared.isValid() && tooLarge(declared.width(), declared.height())) return std::nullopt;
    if (format == "gif") return decodeGif(encoded, kMaxPicturePixels);
    if (format == "jpeg") {
        if (!jpegIsComplete(encoded)) return std::nullopt;
        // Decoded straight into the picture's memory, so a large photograph is never held twice.
        jpeg = readJpeg(encoded, kMaxPicturePixels);
        if (jpeg.outcome == JpegDecode::Decoded) return std::move(jpeg.picture);
        if (jpeg.outcome == JpegDecode::Refused) return std::nullopt;
    }
    QImage picture;
    if (format == "bmp") {
        const BmpCheck bmp = checkBmp(encoded);
        if (!bmp.complete) return std::nullopt;
        if (bmp.runLength) {
            std::optional<QImage> runs = readRunLengthBmp(encoded, bmp);
            if (!runs) return std::nullopt;
            picture = std::move(*runs);
        }
    }
    if (picture.isNull()) picture = reader.read();
    if (picture.isNull() || tooLarge(picture.width(), picture.height())) return std::nullopt;
    return picture;
}

// The first step of a read in every format: the stored pixels with what the file says about
// showing them.
std::optional<DecodedPicture> decodeStored(const QByteArray& encoded) {
    if (looksLikeWebp(encoded)) return decodeWebp(encoded, kMaxPicturePixels);
    if (looksLikeHeif(encoded)) return decodeHeif(encoded, kMaxPicturePixels);
    QByteArray format;
    JpegResult jpeg;
    std::optional<QImage> pixels = decodeStoredPixels(encoded, format, jpeg);
    if (!pixels) return std::nullopt;
    DecodedPicture decoded;
    decoded.image = std::move(*pixels);
    if (format == "jpeg") {
        decoded.iccProfile = std::move(jpeg.iccProfile);
        decoded.orientation = exifOrientation(jpeg.exif);
    } else if (format == "png") {
        readPngMetadata(encoded, decoded);
    } else if (format == "tiff") {
        readTiffMetadata(encoded, decoded);
    }
    return decoded;
}

}  // namespace

std::optional<QImage> decodePicture(const QByteArray& encoded) {
    std::optional<DecodedPicture> decoded = decodeStored(encoded);
    if (!decoded) return std::nullopt;
    return normaliseDecoded(std::move(*decoded));
}

namespace {

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

// Files and pictures from these sizes on may take a noticeable time to read and decode, so their
// reading shows progress.
constexpr qint64 kLongReadBytes = 1024 * 1024;
constexpr qint64 kLongReadPixels = 2'000'000;

// The file read and decoded: on the long-work thread when the file is large or its header
// declares a large picture. The work holds only its own bytes and picture.
std::optional<QImage> readPicture(const QString& fileName) {
    const QString label = QStringLiteral("Leyendo imagen ...");
    std::optional<QImage> picture;
    if (QFileInfo(fileName).size() >= kLongReadBytes) {
        platform::runLongWork(label, [&picture, fileName] {
            const std::optional<QByteArray> bytes = platform::readRegularFile(fileName);
            if (bytes) picture = decodePicture(*bytes);
        });
        return picture;
    }
    const std::optional<QByteArray> bytes = platform::readRegularFile(fileName);
    if (!bytes) return std::nullopt;
    return decodePictureShowingProgress(*bytes);
}

}  // namespace

std::optional<QImage> decodePictureShowingProgress(const QByteArray& bytes) {
    if (bytes.size() < kLongReadBytes && declaredPixels(bytes) < kLongReadPixels) {
        return decodePicture(bytes);
    }
    std::optional<QImage> picture;
    platform::runLongWork(QStringLiteral("Leyendo imagen ..."),
                          [&picture, &bytes] { picture = decodePicture(bytes); });
    return picture;
}

void showPictureReadError(const QString& fileName) {
    showLoaderMessage(
        QStringLiteral("[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <") +
        fileName + QStringLiteral(">"));
}

std::optional<Surface> GraphicLoadImageFileToBitmap(const QString& fileName, int width, int height,
                                                    int keepAspect, Colour paperColour) {
    if (keepAspect != 0 && (width == 0 || height == 0)) return std::nullopt;
    if (!FileIsPresent(fileName)) {
        showMissingFile(fileName);
        return std::nullopt;
    }
    if (!platform::isRegularFile(fileName)) {  // a folder, a pipe or a device
        showPictureReadError(fileName);
        return std::nullopt;
    }
    std::optional<QImage> picture = readPicture(fileName);
    if (!picture) {
        showPictureReadError(fileName);
        return std::nullopt;
    }
    return BitmapFromPicture(std::move(*picture), width, height, keepAspect, paperColour);
}

std::optional<Surface> BitmapFromPicture(QImage picture, int width, int height, int keepAspect,
                                         Colour paperColour) {
    if (keepAspect != 0 && (width == 0 || height == 0)) return std::nullopt;
    const int pictureWidth = picture.width();
    const int pictureHeight = picture.height();
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
    if (width == pictureWidth && height == pictureHeight && !picture.hasAlphaChannel()) {
        // An opaque picture at its own size covers the paper exactly: the surface takes the
        // decoded pixels over instead of drawing a copy of them.
        Surface bitmap(picture);
        picture = QImage();  // the surface now holds the only reference to the pixels
        if (bitmap.isNull()) {
            cannotCreate();
            return std::nullopt;
        }
        return bitmap;
    }
    Surface bitmap(width, height);
    if (bitmap.isNull()) {
        cannotCreate();
        return std::nullopt;
    }
    const auto draw = [&bitmap, &picture, paperColour, width, height] {
        bitmap.clear(paperColour);
        bitmap.drawPicture(picture, QRect(0, 0, width, height));
    };
    if (qint64(pictureWidth) * pictureHeight >= kLongReadPixels ||
        qint64(width) * height >= kLongReadPixels) {
        platform::runLongWork(QStringLiteral("Leyendo imagen ..."), draw);
    } else {
        draw();
    }
    return bitmap;
}

std::optional<Surface> PictureAsBitmap(QImage picture, const ImageSizeSetting& setting,
                                       Colour paperColour) {
    return BitmapFromPicture(std::move(picture), setting.boxWidth, setting.boxHeight,
                             1 - setting.trueSize, paperColour);
}

std::optional<Surface> LoadPictureAsBitmap(const QString& fileName, const ImageSizeSetting& setting,
                                           Colour paperColour) {
    return GraphicLoadImageFileToBitmap(fileName, setting.boxWidth, setting.boxHeight,
                                        1 - setting.trueSize, paperColour);
}

namespace {

// The Qt format name for the extensions the program writes (PNG, JPEG, GIF and TIFF by writers
// of its own, BMP through Qt); empty for ".gif" and for every extension it does not write.
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
    if (extension == QLatin1String(".png")) return encodePng(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormatFor(extension));
    if (!writer.write(image)) return std::nullopt;
    return bytes;
}

}  // namespace

// Pictures from this size on take a noticeable time to encode, so their save shows progress.
constexpr qint64 kLongSavePixels = 2'000'000;

bool SaveBitmapAsImageFile(const Surface& bitmap, const QString& fileName) {
    const QString extension = ExtensionOf(fileName).toLower();
    const bool known = extension == QLatin1String(".gif") || !qtFormatFor(extension).isEmpty();
    if (!known) return false;

    bool written = false;
    // The work reads a picture of its own: a copy that shares the pixels, which nothing on the
    // window's thread can free or change while the file is written (a change there would copy
    // the pixels first).
    const QImage picture = bitmap.image();
    const auto save = [&written, picture, extension, fileName] {
        const std::optional<QByteArray> bytes =
            picture.isNull() ? std::nullopt : encode(picture, extension);
        written = bytes && platform::writeFileSafely(fileName, *bytes);
    };
    if (qint64(bitmap.width()) * bitmap.height() >= kLongSavePixels) {
        platform::runLongWork(QStringLiteral("Grabando imagen ..."), save);
    } else {
        save();
    }
    if (!written) {
        platform::inform(QStringLiteral("No se ha podido grabar el fichero ...\r\n") + fileName);
        return false;
    }
    platform::inform(QStringLiteral("Grabado con exito ..."));
    return true;
}

}  // namespace tessel
