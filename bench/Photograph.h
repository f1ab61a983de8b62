#pragma once
// The large photograph the undo benchmarks work on: the file given as TESSEL_PHOTO, else the
// Debian background of 5640 x 3172, else a synthetic picture of that size.

#include <QFile>
#include <QImage>
#include <QString>
#include <QtGlobal>

namespace bench {

inline QImage photograph() {
    QString file = qEnvironmentVariable("TESSEL_PHOTO");
    if (file.isEmpty()) {
        file = QStringLiteral("/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg");
    }
    if (QFile::exists(file)) {
        const QImage photo(file);
        if (!photo.isNull()) return photo.convertToFormat(QImage::Format_RGB32);
    }
    // Smooth colours with some grain, like a photograph.
    QImage picture(5640, 3172, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const quint32 grain = quint32((x * 2654435761u) ^ (y * 40503u)) >> 29;
            row[x] = qRgb(int(x * 255 / 5640), int(y * 255 / 3172), int(128 + grain * 8));
        }
    }
    return picture;
}

}  // namespace bench
