#include "app/PictureData.h"

#include <QMimeData>
#include <QUrl>

#include "imaging/CodecBridge.h"

namespace tessel {
namespace {

// Encoded picture types, the most faithful first: lossless before lossy, so that a program
// offering several gives its best.
const char* const kPictureTypes[] = {"image/png",  "image/webp", "image/tiff",
                                     "image/bmp",  "image/avif", "image/heic",
                                     "image/heif", "image/jpeg", "image/gif"};

// GNOME's and other file managers' list of copied files: "copy" or "cut", then one address a
// line.
const char* const kCopiedFiles = "x-special/gnome-copied-files";

QString firstLocal(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

QString localFileIn(const QMimeData* data) {
    if (!data) return {};
    if (data->hasUrls()) {
        const QString file = firstLocal(data->urls());
        if (!file.isEmpty()) return file;
    }
    if (data->hasFormat(QLatin1String(kCopiedFiles))) {
        const QList<QByteArray> lines = data->data(QLatin1String(kCopiedFiles)).split('\n');
        QList<QUrl> urls;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            urls.append(QUrl::fromEncoded(lines[i].trimmed()));
        }
        return firstLocal(urls);
    }
    return {};
}

bool offersPicture(const QMimeData* data) {
    if (!data) return false;
    if (!localFileIn(data).isEmpty() || data->hasImage()) return true;
    for (const char* type : kPictureTypes) {
        if (data->hasFormat(QLatin1String(type))) return true;
    }
    return false;
}

std::optional<QImage> pictureIn(const QMimeData* data) {
    if (!data) return std::nullopt;
    for (const char* type : kPictureTypes) {
        if (!data->hasFormat(QLatin1String(type))) continue;
        const QByteArray bytes = data->data(QLatin1String(type));
        if (bytes.isEmpty()) continue;
        if (std::optional<QImage> picture = decodePictureShowingProgress(bytes)) return picture;
    }
    if (data->hasImage()) {
        QImage picture = qvariant_cast<QImage>(data->imageData());
        if (!picture.isNull() && qint64(picture.width()) * picture.height() <= kMaxPicturePixels) {
            return normalisePicture(std::move(picture));
        }
    }
    return std::nullopt;
}

std::unique_ptr<QMimeData> pictureDataCopy(const QMimeData* data) {
    auto copy = std::make_unique<QMimeData>();
    if (!data) return copy;
    const QString file = localFileIn(data);
    if (!file.isEmpty()) {
        copy->setUrls({QUrl::fromLocalFile(file)});
        return copy;
    }
    bool encoded = false;
    for (const char* type : kPictureTypes) {
        if (!data->hasFormat(QLatin1String(type))) continue;
        copy->setData(QLatin1String(type), data->data(QLatin1String(type)));
        encoded = true;
    }
    if (!encoded && data->hasImage()) copy->setImageData(data->imageData());
    return copy;
}

}  // namespace tessel
